// Hidden utility windows and their window timers, for non-visual components that run periodic
// work on the user-interface thread.
#pragma once

#include <map>
#include <memory>

#include "platform/gui/Controls.h"
#include "platform/gui/Messages.h"

class QTimer;

namespace gui {

// A window that is never shown: messages sent to it and the WM_TIMER messages of its timers
// (WParam the timer's ID) go to its procedure.
class TUtilityWindow {
public:
    explicit TUtilityWindow(TWndMethod proc);
    ~TUtilityWindow();
    TUtilityWindow(const TUtilityWindow&) = delete;
    TUtilityWindow& operator=(const TUtilityWindow&) = delete;

    LRESULT Perform(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // Starts (or restarts) timer id with the given period in milliseconds (0 counts as 1).
    // False when the timer cannot be made. Timers tick through the Qt application's event
    // loop; one set while there is no Qt application counts as running and ticks from the
    // next SetTimer made once there is one.
    bool SetTimer(unsigned id, unsigned elapse);
    // Stops timer id; False when it was not running.
    bool KillTimer(unsigned id);
    bool TimerRunning(unsigned id) const;

    // While set, SetTimer fails (a system out of timers); for tests.
    static void SetTimersExhausted(bool exhausted);

private:
    TWndMethod proc_;
    struct Entry {
        std::unique_ptr<QTimer> timer;
        bool running = false;
    };
    std::map<unsigned, Entry> timers_;
};

using HWND = TUtilityWindow*;

// The default procedure of a utility window: handles nothing, Result 0.
inline void DefWindowProc(TMessage& message) { message.Result = 0; }

}  // namespace gui
