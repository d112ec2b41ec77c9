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
// Access to the protected parts of controls for the routing code of this folder.
struct ControlAccess {
    static void MouseDown(TControl* c, TMouseButton b, TShiftState s, int x, int y) { c->MouseDown(b, s, x, y); }
    static void MouseUp(TControl* c, TMouseButton b, TShiftState s, int x, int y) { c->MouseUp(b, s, x, y); }
    static void MouseMove(TControl* c, TShiftState s, int x, int y) { c->MouseMove(s, x, y); }
    static void KeyDown(TWinControl* c, unsigned short& k, TShiftState s) { c->KeyDown(k, s); }
    static void KeyUp(TWinControl* c, unsigned short& k, TShiftState s) { c->KeyUp(k, s); }
    static void KeyPress(TWinControl* c, char& k) { c->KeyPress(k); }
    static void DoEnter(TWinControl* c) { c->DoEnter(); }
    static void DoExit(TWinControl* c) { c->DoExit(); }
    static void SetBoundsFromWidget(TControl* c, int l, int t, int w, int h);
    static void SetDestroying(TControl* c) { c->destroying_ = true; }
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
    bool clickOnRelease = false;   // a left press and release inside run Click()
    bool acceptMouse = true;       // keep mouse events from reaching the parent widget
    bool pressedInside = false;
};

// Routing functions implemented in Controls.cpp.
void RouteMousePress(HookBase& h, QWidget* w, QMouseEvent* e);
void RouteMouseRelease(HookBase& h, QWidget* w, QMouseEvent* e);
void RouteMouseMove(HookBase& h, QWidget* w, QMouseEvent* e);
void RouteMouseDouble(HookBase& h, QWidget* w, QMouseEvent* e);
// True when the key was consumed (the base handler must not see it). `replacement` receives a
// different character when a KeyPress handler changed it.
// Keys reach a control only when its widget holds the focus (not when propagated from a child).
bool RouteKeyPress(HookBase& h, QWidget* w, QKeyEvent* e, QString& replacement);
bool RouteKeyRelease(HookBase& h, QWidget* w, QKeyEvent* e);
void RouteFocusIn(HookBase& h, QFocusEvent* e);
void RouteFocusOut(HookBase& h, QFocusEvent* e);

// A Qt widget class with its input routed to the owning control first.
template <class Base>
class Hooked : public Base, public HookBase {
public:
    using Base::Base;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (control) RouteMousePress(*this, this, e);
        Base::mousePressEvent(e);
        if (acceptMouse) e->accept();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (control) RouteMouseRelease(*this, this, e);
        Base::mouseReleaseEvent(e);
        if (acceptMouse) e->accept();
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (control) RouteMouseMove(*this, this, e);
        Base::mouseMoveEvent(e);
        if (acceptMouse) e->accept();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (control) RouteMouseDouble(*this, this, e);
        Base::mouseDoubleClickEvent(e);
        if (acceptMouse) e->accept();
    }
    void keyPressEvent(QKeyEvent* e) override {
        QString replacement;
        if (control && RouteKeyPress(*this, this, e, replacement)) {
            e->accept();
            return;
        }
        if (!replacement.isEmpty()) {
            QKeyEvent changed(e->type(), Qt::Key_unknown, e->modifiers(), replacement,
                              e->isAutoRepeat(), static_cast<ushort>(e->count()));
            Base::keyPressEvent(&changed);
            e->setAccepted(changed.isAccepted());
            return;
        }
        Base::keyPressEvent(e);
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        if (control && RouteKeyRelease(*this, this, e)) {
            e->accept();
            return;
        }
        Base::keyReleaseEvent(e);
    }
    void focusInEvent(QFocusEvent* e) override {
        Base::focusInEvent(e);
        if (control) RouteFocusIn(*this, e);
    }
    void focusOutEvent(QFocusEvent* e) override {
        Base::focusOutEvent(e);
        if (control) RouteFocusOut(*this, e);
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
