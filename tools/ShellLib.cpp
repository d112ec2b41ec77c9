#include "tools/ShellLib.h"

#include <QCoreApplication>
#include <QTimer>

#include <memory>
#include <optional>
#include <utility>

#include "components/controls/kitstarter.h"
#include "foundation/DebugLib.h"
#include "platform/gui/Controls.h"
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

// How long at most the program shows that an opener is on its way: an opener that waits for
// the program it started (a browser started afresh) would keep the cursor for as long.
constexpr int kOpenerCursorMs = 2000;

// The app-starting cursor from the start of an opener until it has ended or the time is up.
class OpenerCursor {
public:
    OpenerCursor() : cursor_(std::make_shared<std::optional<gui::TWaitCursor>>(std::in_place, gui::crAppStart)) {
        if (QCoreApplication* app = QCoreApplication::instance())
            QTimer::singleShot(kOpenerCursorMs, app, [cursor = cursor_] { cursor->reset(); });
    }
    void End() const { cursor_->reset(); }

private:
    std::shared_ptr<std::optional<gui::TWaitCursor>> cursor_;
};

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
    const OpenerCursor cursor;
    // The starter lives until its exit poll has seen the opener end.
    starter->OnFinished = [watched, Target, cursor](rtl::TObject*) {
        cursor.End();
        const std::optional<int> code = watched->ExitCode();
        std::string failure;
        if (code && *code != 0) failure = ShellOpenFailedText(Target, sys::ShellOpenerExitText(*code));
        Later([watched, failure] {
            delete watched;
            if (!failure.empty()) msgError(failure);
        });
    };
    try {
        starter->Start();
    } catch (...) {
        cursor.End();
        throw;
    }
    if (starter->ErrorCode() != 0) {
        cursor.End();
        msgError(ShellOpenFailedText(Target, sys::ShellErrorText(starter->ErrorCode())));
        return;
    }
    starter.release();
}

void ShellOpenFile(const std::string& Path) {
    if (rtl::FileExists(Path)) ShellOpen(Path);
    else msgError("Die Datei " + Path + " konnte nicht gefunden werden!");
}
