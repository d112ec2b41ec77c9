// The starter component: starts a program or opens, explores, prints or edits a document through
// the shell, optionally at a given time and optionally waiting for the started process, and
// reports the end of the process. Its polls run on the application's timer pool.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "components/base/kitcomponent.h"
#include "components/controls/kitcpuinfo.h"
#include "platform/rtl/DateUtils.h"

namespace sys {
class TProcessHandle;
struct TShellResult;
enum class TShellVerb;
}

namespace kit {

enum TKitStarterOperation { smOpen, smPrint, smExplore, smEdit, smProperties };
enum TKitStarterOptions {
    soSW_HIDE, soSW_MAXIMIZE, soSW_MINIMIZE, soSW_RESTORE, soSW_SHOW, soSW_SHOWMAXIMIZED,
    soSW_SHOWMINIMIZED, soSW_SHOWMINNOACTIVE, soSW_SHOWNA, soSW_SHOWNORMAL
};

// The window show command of a start option.
int KitStarterShowCommand(TKitStarterOptions Option);
// The shell verb of an operation ("open", "print", "explore", "edit", "properties").
const char* KitStarterVerb(TKitStarterOperation Operation);

class TKitStarter : public TKitCustomComponent {
public:
    // Takes the automatic-start poll (1000 ms, dormant) from the application's timer pool;
    // EOutOfResources when none is free.
    explicit TKitStarter(rtl::TComponent* AOwner);
    ~TKitStarter() override;

    TKitStarterOperation StartOperation() const { return startOperation_; }
    void SetStartOperation(TKitStarterOperation Value) { startOperation_ = Value; }
    TKitStarterOptions StartOption() const { return startOption_; }
    void SetStartOption(TKitStarterOptions Value) { startOption_ = Value; }
    // 0 Command, 1 Parameters, 2 DefaultDir.
    const std::string& GetStringProp(int Index) const;
    void SetStringProp(int Index, const std::string& Value);
    const std::string& Command() const { return command_; }
    void SetCommand(const std::string& Value) { SetStringProp(0, Value); }
    const std::string& Parameters() const { return parameters_; }
    void SetParameters(const std::string& Value) { SetStringProp(1, Value); }
    const std::string& DefaultDir() const { return defaultDir_; }
    void SetDefaultDir(const std::string& Value) { SetStringProp(2, Value); }
    // The shell's error code of the last failed start.
    int ErrorCode() const { return errorCode_; }
    bool AutoStart() const { return autoStart_; }
    // Switches the automatic-start poll on or off.
    void SetAutoStart(bool Value);
    TKitDateTime* StartTime() const { return startTime_.get(); }
    void SetStartTime(const TKitDateTime* Value);
    bool Wait() const { return wait_; }
    void SetWait(bool Value) { wait_ = Value; }
    std::uint16_t ExitTimerID() const { return exitTimerID_; }
    std::uint16_t AutoStartTimerID() const { return autoStartTimerID_; }
    // The process of the last start while it is held; null otherwise.
    sys::TProcessHandle* ProcessHandle() const { return processHandle_.get(); }
    // How the watched process ended, once the exit poll found it ended and could read its exit
    // code (the opener's tells whether it found a program); empty before and otherwise.
    std::optional<int> ExitCode() const { return exitCode_; }

    rtl::TNotifyEvent OnError;  // Sender is nil
    rtl::TNotifyEvent OnFinished;
    rtl::TNotifyEvent OnBeforeStart;
    rtl::TNotifyEvent OnAfterStart;

    void Start();
    // The half-second poll of a watched process.
    void ExitPoll(rtl::TObject* Sender);
    // The one-second poll of the automatic start: starts at the first poll at or after
    // StartTime since the automatic start was switched on (or StartTime changed).
    void AutoStartPoll(rtl::TObject* Sender);

protected:
    // The clock the automatic start compares with.
    virtual rtl::TDateTime CurrentTime() const;
    // The shell's start of File.
    virtual sys::TShellResult Execute(sys::TShellVerb Verb, const std::string& File,
                                      const std::string& Params, const std::string& Directory);

private:
    void DropExitTimer();
    void Finished();

    TKitStarterOperation startOperation_ = smOpen;
    TKitStarterOptions startOption_ = soSW_SHOW;
    std::string parameters_, command_, defaultDir_;
    int errorCode_ = 0;
    bool autoStart_ = false;
    bool wait_ = false;
    std::unique_ptr<TKitDateTime> startTime_;
    std::uint16_t exitTimerID_ = 0;
    std::uint16_t autoStartTimerID_ = 0;
    std::unique_ptr<sys::TProcessHandle> processHandle_;
    std::optional<int> exitCode_;
    // The time of the last automatic-start poll, or of arming.
    rtl::TDateTime lastPoll_ = 0;
};

}  // namespace kit
