#include "platform/gui/Timers.h"

#include <QCoreApplication>
#include <QTimer>


namespace gui {

namespace {
bool timersExhausted = false;
}

TUtilityWindow::TUtilityWindow(TWndMethod proc) : proc_(std::move(proc)) {}

// Timers are only stopped while the window lives (a timer may be killed from inside its own
// WM_TIMER); they go with the window.
TUtilityWindow::~TUtilityWindow() = default;

LRESULT TUtilityWindow::Perform(unsigned msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    if (proc_) proc_(m);
    else DefWindowProc(m);
    return m.Result;
}

bool TUtilityWindow::SetTimer(unsigned id, unsigned elapse) {
    if (timersExhausted) return false;
    Entry& e = timers_[id];
    e.running = true;
    if (!QCoreApplication::instance()) return true;
    if (!e.timer) {
        e.timer = std::make_unique<QTimer>();
        QObject::connect(e.timer.get(), &QTimer::timeout, [this, id] { Perform(WM_TIMER, id, 0); });
    }
    e.timer->start(static_cast<int>(elapse == 0 ? 1 : elapse));
    return true;
}

bool TUtilityWindow::KillTimer(unsigned id) {
    auto it = timers_.find(id);
    if (it == timers_.end() || !it->second.running) return false;
    it->second.running = false;
    if (it->second.timer) it->second.timer->stop();
    return true;
}

bool TUtilityWindow::TimerRunning(unsigned id) const {
    auto it = timers_.find(id);
    return it != timers_.end() && it->second.running;
}

void TUtilityWindow::SetTimersExhausted(bool exhausted) { timersExhausted = exhausted; }

}  // namespace gui
