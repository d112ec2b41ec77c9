#include "platform/gui/ToolWindows.h"

#include <QWidget>

namespace gui {

void ShowAsDesktopToolWindow(TWinControl* Control, int X, int Y, int Width, int Height) {
    if (!Control || !Control->Widget()) return;
    QWidget* w = Control->Widget();
    if (w->parentWidget() || !(w->windowFlags() & Qt::WindowStaysOnTopHint)) {
        w->setParent(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                  Qt::WindowDoesNotAcceptFocus);
        w->setAttribute(Qt::WA_ShowWithoutActivating);
        w->setFocusPolicy(Qt::NoFocus);
    }
    // The control's own size (its surface) first; the window then goes to the screen position.
    Control->SetBounds(Control->Left(), Control->Top(), Width, Height);
    w->setGeometry(X, Y, Width, Height);
    w->show();
    w->raise();
}

bool IsDesktopToolWindowShown(const TWinControl* Control) {
    if (!Control || !Control->Widget()) return false;
    const QWidget* w = Control->Widget();
    return w->isWindow() && w->isVisible();
}

}  // namespace gui
