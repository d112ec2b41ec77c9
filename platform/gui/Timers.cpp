#include "platform/gui/Timers.h"

#include <QTimer>

#include "platform/gui/QtSupport.h"

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
    detail::EnsureQtApplication();
    auto& t = timers_[id];
    if (!t) {
        t = std::make_unique<QTimer>();
        QObject::connect(t.get(), &QTimer::timeout, [this, id] { Perform(WM_TIMER, id, 0); });
    }
    t->start(static_cast<int>(elapse == 0 ? 1 : elapse));
    return true;
}

bool TUtilityWindow::KillTimer(unsigned id) {
    auto it = timers_.find(id);
    if (it == timers_.end() || !it->second->isActive()) return false;
    it->second->stop();
    return true;
}

bool TUtilityWindow::TimerRunning(unsigned id) const {
    auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

void TUtilityWindow::SetTimersExhausted(bool exhausted) { timersExhausted = exhausted; }

}  // namespace gui
