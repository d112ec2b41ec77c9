#include "tools/ShellLib.h"

#include <QCoreApplication>
#include <QTimer>

#include <memory>
#include <optional>
#include <utility>

#include "components/controls/kitstarter.h"
#include "foundation/DebugLib.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Shell.h"

namespace {

// Runs Work from the event loop, after the timer tick that found the opener ended (at once
// without an event loop).
template <class F>
void Later(F Work) {
    if (QCoreApplication* app = QCoreApplication::instance()) QTimer::singleShot(0, app, std::move(Work));
    else Work();
}

}  // namespace

std::string ShellOpenFailedText(const std::string& Target, const std::string& Reason) {
    const std::string what = sys::IsAddress(Target)         ? "Die Adresse "
                             : rtl::DirectoryExists(Target) ? "Der Ordner "
                                                            : "Die Datei ";
    return what + Target + " konnte nicht geöffnet werden.\r\n" + Reason;
}

void ShellOpen(const std::string& Target) {
    auto starter = std::make_unique<kit::TKitStarter>(nullptr);
    kit::TKitStarter* watched = starter.get();
    starter->SetCommand(Target);
    // The starter lives until its exit poll has seen the opener end.
    starter->OnFinished = [watched, Target](rtl::TObject*) {
        const std::optional<int> code = watched->ExitCode();
        std::string failure;
        if (code && *code != 0) failure = ShellOpenFailedText(Target, sys::ShellOpenerExitText(*code));
        Later([watched, failure] {
            delete watched;
            if (!failure.empty()) msgError(failure);
        });
    };
    starter->Start();
    if (starter->ErrorCode() != 0) {
        msgError(ShellOpenFailedText(Target, sys::ShellErrorText(starter->ErrorCode())));
        return;
    }
    starter.release();
}

void ShellOpenFile(const std::string& Path) {
    if (rtl::FileExists(Path)) ShellOpen(Path);
    else msgError("Die Datei " + Path + " konnte nicht gefunden werden!");
}
