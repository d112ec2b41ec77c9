// Internal to platform/gui: string conversion, the widget hook that routes Qt input to a
// control, the registry of running modal loops and windows, and the busy filter's state.
// Not for callers outside this folder.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QString>
#include <QWidget>

#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/Controls.h"

class QEventLoop;

namespace gui {
// The window that was active before a box or modal window opened gets the activation back
// when that window has closed, as the window system gives it back to the owner.
class ActivationReturn {
public:
    ActivationReturn() : previous_(QApplication::activeWindow()) {}
    ~ActivationReturn() {
        if (previous_ && previous_->isVisible() && !previous_->isActiveWindow()) previous_->activateWindow();
    }

private:
    QPointer<QWidget> previous_;
};

// Access to the protected parts of controls for the routing code of this folder.
struct ControlAccess {
    static void MouseDown(TControl* c, TMouseButton b, TShiftState s, int x, int y) { c->MouseDown(b, s, x, y); }
    static void MouseUp(TControl* c, TMouseButton b, TShiftState s, int x, int y) { c->MouseUp(b, s, x, y); }
    static void MouseMove(TControl* c, TShiftState s, int x, int y) { c->MouseMove(s, x, y); }
    static void KeyDown(TWinControl* c, unsigned short& k, TShiftState s) { c->KeyDown(k, s); }
    static void KeyUp(TWinControl* c, unsigned short& k, TShiftState s) { c->KeyUp(k, s); }
    static void KeyPress(TWinControl* c, TKeyChar& k) { c->KeyPress(k); }
    static void DoEnter(TWinControl* c) { c->DoEnter(); }
    static void DoExit(TWinControl* c) { c->DoExit(); }
    static void SetBoundsFromWidget(TControl* c, int l, int t, int w, int h);
    static void SetDestroying(TControl* c) { c->destroying_ = true; }
    static void ClearHover(TWinControl* c);
    static void InvalidateSurface(TWinControl* c);
    static bool SelfDrawn(const TControl* c) {
        const auto* wc = dynamic_cast<const TWinControl*>(c);
        return wc && wc->SelfDrawn();
    }
};

}  // namespace gui

namespace gui::detail {

inline QString QS(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string SS(const QString& s) { return s.toStdString(); }

// Text for Qt display: CR LF and lone CR become LF.
QString DisplayText(std::string_view s);
// Caption text with the platform's accelerator rule removed ("&&" -> "&", "&x" -> "x"), for
// widgets that show no mnemonic.
QString StripAccel(std::string_view s);

TShiftState ShiftFromModifiers(Qt::KeyboardModifiers m);
TShiftState ShiftFromButtons(Qt::MouseButtons b);
// Virtual key code of a Qt key (0 when it has none).
unsigned short VirtualKeyFromQt(int qtKey);
// Qt key for a virtual key code (0 when unknown).
int QtKeyFromVirtualKey(unsigned short vk);

// Ensures a QApplication exists (creates one with the program's arguments when needed).
void EnsureQtApplication();

// The interface a hooked widget uses to reach its control. A control may hook several widgets
// (a form hooks its client area as well as its window).
class HookBase {
public:
    TControl* control = nullptr;
    bool acceptMouse = true;       // keep mouse events from reaching the parent widget
    bool focusDelivered = false;   // WM_SETFOCUS went out and no WM_KILLFOCUS since
};

// The one place where Qt input becomes messages (Controls.cpp). Mouse buttons and moves become
// WM_* mouse messages with MK_ flags (preceded by WM_SETCURSOR), keys WM_KEYDOWN / WM_CHAR (one
// per code point) / WM_KEYUP, focus WM_SETFOCUS / WM_KILLFOCUS, entering and leaving
// CM_MOUSEENTER / CM_MOUSELEAVE, and a paint event runs the window's paint sequence on its
// surface. Returns whether the event was consumed (the widget's own handler must not see it);
// `replacement` receives a different text when a WM_CHAR handler changed the character.
enum class InputResult { Pass, Consumed, Replace };
InputResult TranslateInput(HookBase& h, QWidget* w, QEvent* e, QString& replacement);
// After the widget's own handler: focus messages, accepting mouse input.
void AfterInput(HookBase& h, QWidget* w, QEvent* e);
// Whether the caret belongs to c.
bool CaretOwnerIs(const TWinControl* c);
// True when the paint event was handled through the control's surface.
bool PaintThroughSurface(HookBase& h, QWidget* w, QPaintEvent* e);

// A Qt widget class with its input routed to the owning control first.
template <class Base>
class Hooked : public Base, public HookBase {
public:
    using Base::Base;

protected:
    bool event(QEvent* e) override {
        if (!control) return Base::event(e);
        if (e->type() == QEvent::Paint && PaintThroughSurface(*this, this, static_cast<QPaintEvent*>(e)))
            return true;
        QString replacement;
        switch (TranslateInput(*this, this, e, replacement)) {
        case InputResult::Consumed:
            e->accept();
            return true;
        case InputResult::Replace: {
            auto* k = static_cast<QKeyEvent*>(e);
            QKeyEvent changed(k->type(), Qt::Key_unknown, k->modifiers(), replacement,
                              k->isAutoRepeat(), static_cast<ushort>(k->count()));
            const bool r = Base::event(&changed);
            e->setAccepted(changed.isAccepted());
            return r;
        }
        case InputResult::Pass:
            break;
        }
        const bool r = Base::event(e);
        if (control) AfterInput(*this, this, e);
        return r;
    }
};

// Hook of a widget, or nullptr.
inline HookBase* HookOf(QWidget* w) { return dynamic_cast<HookBase*>(w); }

// ---- Modal windows and loops ----------------------------------------------------------------
// Windows opened modally by the presenter, innermost last. The busy filter lets input through to
// windows opened after the innermost busy scope began.
std::vector<QPointer<QWidget>>& ModalWindows();

class ModalWindowGuard {
public:
    explicit ModalWindowGuard(QWidget* w);
    ~ModalWindowGuard();
    ModalWindowGuard(const ModalWindowGuard&) = delete;
    ModalWindowGuard& operator=(const ModalWindowGuard&) = delete;
};

// Event loops that Terminate must end (the main loop and modal loops).
void RegisterLoop(QEventLoop* loop);
void UnregisterLoop(QEventLoop* loop);
void ExitAllLoops();

// True while a TBusyScope is alive.
bool BusyActive();
// Remembers a form's close request for delivery after the outermost busy scope.
void DeferClose(TCustomForm* form);

}  // namespace gui::detail
