#include "components/controls/kitstarter.h"

#include "components/base/kitapp.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Process.h"
#include "platform/sys/Shell.h"

namespace kit {

namespace {
const char* const NoTimersText = "Nicht genügend Timer verfügbar";

bool IsShellError(int code) { return code == 2 || code == 3 || code == 5 || code == 8 || (code >= 26 && code <= 32); }

sys::TShellVerb ShellVerb(TKitStarterOperation op) {
    switch (op) {
        case smPrint: return sys::TShellVerb::Print;
        case smExplore: return sys::TShellVerb::Explore;
        case smEdit: return sys::TShellVerb::Edit;
        case smProperties: return sys::TShellVerb::Properties;
        case smOpen: break;
    }
    return sys::TShellVerb::Open;
}
}  // namespace

int KitStarterShowCommand(TKitStarterOptions Option) {
    static const int commands[] = {0, 3, 6, 9, 5, 3, 2, 7, 8, 1};
    return commands[Option];
}

const char* KitStarterVerb(TKitStarterOperation Operation) {
    static const char* const verbs[] = {"open", "print", "explore", "edit", "properties"};
    return verbs[Operation];
}

TKitStarter::TKitStarter(rtl::TComponent* AOwner)
    : TKitCustomComponent(AOwner), startTime_(std::make_unique<TKitDateTime>()) {
    autoStartTimerID_ = KitApplication->AddTimer(1000, [this](rtl::TObject* s) { AutoStartPoll(s); });
    if (autoStartTimerID_ == 0) throw rtl::EOutOfResources(NoTimersText);
    KitApplication->GetTimer(autoStartTimerID_)->SetEnabled(false);
}

TKitStarter::~TKitStarter() {
    if (TKitTimerItem* item = KitApplication->GetTimer(autoStartTimerID_)) {
        item->SetEnabled(false);
        item->OnTimer = nullptr;
    }
    KitApplication->RemoveTimer(autoStartTimerID_);
    DropExitTimer();
    processHandle_.reset();
}

const std::string& TKitStarter::GetStringProp(int Index) const {
    switch (Index) {
        case 0: return command_;
        case 1: return parameters_;
        default: return defaultDir_;
    }
}

void TKitStarter::SetStringProp(int Index, const std::string& Value) {
    std::string* target = Index == 0 ? &command_ : Index == 1 ? &parameters_ : Index == 2 ? &defaultDir_ : nullptr;
    if (target && *target != Value) *target = Value;
}

void TKitStarter::SetAutoStart(bool Value) {
    if (Value == autoStart_) return;
    autoStart_ = Value;
    TKitTimerItem* item = KitApplication->GetTimer(autoStartTimerID_);
    if (!item) return;
    item->SetInterval(1000);
    lastPoll_ = CurrentTime();
    item->SetEnabled(Value);
}

void TKitStarter::SetStartTime(const TKitDateTime* Value) {
    startTime_->Assign(Value);
    lastPoll_ = CurrentTime();
}

rtl::TDateTime TKitStarter::CurrentTime() const { return rtl::Now(); }

sys::TShellResult TKitStarter::Execute(sys::TShellVerb Verb, const std::string& File,
                                       const std::string& Params, const std::string& Directory) {
    return sys::ShellExecute(Verb, File, Params, Directory);
}

void TKitStarter::DropExitTimer() {
    if (exitTimerID_ == 0) return;
    if (TKitTimerItem* item = KitApplication->GetTimer(exitTimerID_)) {
        item->SetEnabled(false);
        item->OnTimer = nullptr;
    }
    KitApplication->RemoveTimer(exitTimerID_);
    exitTimerID_ = 0;
}

void TKitStarter::Start() {
    // One process is watched at a time: a poll still running for an earlier start ends here.
    DropExitTimer();
    processHandle_.reset();
    exitCode_.reset();
    if (OnBeforeStart) OnBeforeStart(this);

    std::string file = command_, parameters = parameters_, directory = defaultDir_;
    if (startOperation_ == smExplore) {
        file = rtl::ExtractFilePath(command_);
        if (!file.empty() && file.back() != '/') file += '/';
        parameters.clear();
        directory.clear();
    }
    const sys::TShellResult result = Execute(ShellVerb(startOperation_), file, parameters, directory);
    if (result.ErrorCode == 0) processHandle_ = sys::TProcessHandle::Open(result.ProcessId);

    if (IsShellError(result.ErrorCode)) {
        errorCode_ = result.ErrorCode;
        if (OnError) OnError(nullptr);
    } else {
        // Without a process to watch (a program that has already ended) the first poll finds
        // no handle and reports the end.
        if (OnFinished) {
            exitTimerID_ = KitApplication->AddTimer(500, [this](rtl::TObject* s) { ExitPoll(s); });
            if (exitTimerID_ == 0) throw rtl::EOutOfResources(NoTimersText);
            KitApplication->GetTimer(exitTimerID_)->SetEnabled(true);
        }
        if (wait_ && processHandle_) processHandle_->Wait();
    }
    if (OnAfterStart) OnAfterStart(this);
}

void TKitStarter::ExitPoll(rtl::TObject* /*Sender*/) {
    if (exitTimerID_ == 0) return;
    if (processHandle_ && processHandle_->Running()) return;
    if (processHandle_) exitCode_ = processHandle_->ExitCode();
    processHandle_.reset();
    DropExitTimer();
    if (OnFinished) OnFinished(this);
}

void TKitStarter::AutoStartPoll(rtl::TObject* /*Sender*/) {
    if (ComponentState().Contains(rtl::csDesigning)) return;
    const rtl::TDateTime now = CurrentTime();
    const rtl::TDateTime start = startTime_->Value;
    const bool due = lastPoll_ < start && start <= now;
    lastPoll_ = now;
    if (due) Start();
}

}  // namespace kit
