// TControl, TWinControl, the painted controls, the screen and the input routing from Qt.
#include "platform/gui/Controls.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QScreen>

#include <algorithm>

#include "platform/gui/QtSupport.h"

namespace gui {

// ---- Qt helpers -----------------------------------------------------------------------------
namespace detail {

QString DisplayText(std::string_view s) {
    QString q = QS(s);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    q.replace(QChar('\r'), QChar('\n'));
    return q;
}

QString StripAccel(std::string_view s) {
    QString in = QS(s), out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == QChar('&')) {
            if (i + 1 < in.size()) {
                ++i;
                out.append(in[i]);
            }
            continue;
        }
        out.append(in[i]);
    }
    return out;
}

TShiftState ShiftFromModifiers(Qt::KeyboardModifiers m) {
    TShiftState s = 0;
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::AltModifier) s |= ssAlt;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    return s;
}

TShiftState ShiftFromButtons(Qt::MouseButtons b) {
    TShiftState s = 0;
    if (b & Qt::LeftButton) s |= ssLeft;
    if (b & Qt::RightButton) s |= ssRight;
    if (b & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

namespace {
struct KeyPair {
    int qt;
    unsigned short vk;
};
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},          {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},     {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},         {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE},   {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT},    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},       {Qt::Key_Left, VK_LEFT},        {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},     {Qt::Key_Down, VK_DOWN},        {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},   {Qt::Key_NumLock, VK_NUMLOCK},  {Qt::Key_ScrollLock, VK_SCROLL},
};
}  // namespace

unsigned short VirtualKeyFromQt(int k) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return static_cast<unsigned short>('A' + (k - Qt::Key_A));
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return static_cast<unsigned short>('0' + (k - Qt::Key_0));
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return static_cast<unsigned short>(VK_F1 + (k - Qt::Key_F1));
    for (const KeyPair& p : kKeys)
        if (p.qt == k) return p.vk;
    return 0;
}

int QtKeyFromVirtualKey(unsigned short vk) {
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
    if (vk >= VK_F1 && vk <= VK_F1 + 23) return Qt::Key_F1 + (vk - VK_F1);
    for (const KeyPair& p : kKeys)
        if (p.vk == vk) return p.qt;
    return 0;
}

// ---- Routing --------------------------------------------------------------------------------
namespace {
bool Live(const HookBase& h) { return h.control && !h.control->Destroying(); }

TMouseButton ButtonOf(Qt::MouseButton b) {
    if (b == Qt::RightButton) return mbRight;
    if (b == Qt::MiddleButton) return mbMiddle;
    return mbLeft;
}
bool IsKnownButton(Qt::MouseButton b) {
    return b == Qt::LeftButton || b == Qt::RightButton || b == Qt::MiddleButton;
}
TShiftState MouseShift(QMouseEvent* e) {
    return ShiftFromModifiers(e->modifiers()) | ShiftFromButtons(e->buttons());
}
}  // namespace

void RouteMousePress(HookBase& h, QWidget*, QMouseEvent* e) {
    if (!Live(h) || !IsKnownButton(e->button())) return;
    TControl* c = h.control;
    const QPoint p = e->position().toPoint();
    const TMouseButton b = ButtonOf(e->button());
    const TShiftState s = MouseShift(e);
    if (b == mbLeft) h.pressedInside = true;
    InvokeHandler(c, [&] { ControlAccess::MouseDown(c, b, s, p.x(), p.y()); });
}

void RouteMouseRelease(HookBase& h, QWidget* w, QMouseEvent* e) {
    if (!Live(h) || !IsKnownButton(e->button())) return;
    TControl* c = h.control;
    const QPoint p = e->position().toPoint();
    const TMouseButton b = ButtonOf(e->button());
    const bool click = b == mbLeft && h.clickOnRelease && h.pressedInside && w->rect().contains(p);
    if (b == mbLeft) h.pressedInside = false;
    QPointer<QWidget> guard(w);
    if (click) InvokeHandler(c, [&] { c->Click(); });
    if (!guard || !Live(h)) return;
    const TShiftState s = MouseShift(e);
    InvokeHandler(c, [&] { ControlAccess::MouseUp(c, b, s, p.x(), p.y()); });
}

void RouteMouseMove(HookBase& h, QWidget*, QMouseEvent* e) {
    if (!Live(h)) return;
    TControl* c = h.control;
    const QPoint p = e->position().toPoint();
    const TShiftState s = MouseShift(e);
    InvokeHandler(c, [&] { ControlAccess::MouseMove(c, s, p.x(), p.y()); });
}

void RouteMouseDouble(HookBase& h, QWidget* w, QMouseEvent* e) {
    if (!Live(h) || !IsKnownButton(e->button())) return;
    TControl* c = h.control;
    const QPoint p = e->position().toPoint();
    const TMouseButton b = ButtonOf(e->button());
    QPointer<QWidget> guard(w);
    if (b == mbLeft) InvokeHandler(c, [&] { c->DblClick(); });
    if (!guard || !Live(h)) return;
    const TShiftState s = MouseShift(e) | ssDouble;
    InvokeHandler(c, [&] { ControlAccess::MouseDown(c, b, s, p.x(), p.y()); });
}

bool RouteKeyPress(HookBase& h, QWidget* w, QKeyEvent* e, QString& replacement) {
    if (!Live(h) || !w->hasFocus()) return false;
    auto* c = dynamic_cast<TWinControl*>(h.control);
    if (!c) return false;
    const TShiftState shift = ShiftFromModifiers(e->modifiers());
    if (unsigned short vk = VirtualKeyFromQt(e->key())) {
        unsigned short key = vk;
        if (!InvokeHandler(c, [&] { ControlAccess::KeyDown(c, key, shift); }) || key == 0) return true;
        if (c->Destroying()) return true;
    }
    const QString t = e->text();
    if (t.size() == 1 && t[0].unicode() < 128 && t[0].unicode() != '\t') {
        const char orig = static_cast<char>(t[0].unicode());
        char key = orig;
        if (!InvokeHandler(c, [&] { ControlAccess::KeyPress(c, key); }) || key == 0) return true;
        if (key != orig) replacement = QString(QChar(static_cast<unsigned char>(key)));
    }
    return false;
}

bool RouteKeyRelease(HookBase& h, QWidget* w, QKeyEvent* e) {
    if (!Live(h) || !w->hasFocus()) return false;
    auto* c = dynamic_cast<TWinControl*>(h.control);
    if (!c) return false;
    unsigned short key = VirtualKeyFromQt(e->key());
    if (!key) return false;
    const TShiftState shift = ShiftFromModifiers(e->modifiers());
    return !InvokeHandler(c, [&] { ControlAccess::KeyUp(c, key, shift); }) || key == 0;
}

namespace {
bool CountsAsFocusMove(Qt::FocusReason r) {
    return r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason;
}
}  // namespace

void RouteFocusIn(HookBase& h, QFocusEvent* e) {
    if (!Live(h) || !CountsAsFocusMove(e->reason())) return;
    if (auto* c = dynamic_cast<TWinControl*>(h.control))
        InvokeHandler(c, [&] { ControlAccess::DoEnter(c); });
}

void RouteFocusOut(HookBase& h, QFocusEvent* e) {
    if (!Live(h) || !CountsAsFocusMove(e->reason())) return;
    if (auto* c = dynamic_cast<TWinControl*>(h.control))
        InvokeHandler(c, [&] { ControlAccess::DoExit(c); });
}

// ---- Retained painting ----------------------------------------------------------------------
// The retained image of a painted control: Paint draws into it when it was invalidated (or the
// size changed); drawing through the canvas at other times lands in it as well and is shown at
// the next paint event.
class PaintSupport {
public:
    explicit PaintSupport(bool opaque) : opaque_(opaque) {}

    gdi::TCanvas* Canvas(const TControl* c) {
        EnsureSize(c->Width(), c->Height());
        return &canvas_;
    }
    void EnsureSize(int width, int height) {
        const QSize sz(std::max(1, width), std::max(1, height));
        if (image_.size() == sz) return;
        QImage next(sz, opaque_ ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
        next.fill(opaque_ ? Qt::white : Qt::transparent);
        if (!image_.isNull()) {
            QPainter p(&next);
            p.drawImage(0, 0, image_);
        }
        image_ = std::move(next);
        canvas_.SetTarget(&image_);
        needsPaint = true;
    }
    template <class PaintFn>
    void PaintEvent(QWidget* w, TControl* control, PaintFn&& paint) {
        EnsureSize(control->Width(), control->Height());
        if (needsPaint && !control->Destroying()) {
            needsPaint = false;
            if (opaque_) image_.fill(gdi::ColorToQColor(control->Color()));
            else image_.fill(Qt::transparent);
            InvokeHandler(control, paint);
        }
        QPainter p(w);
        p.drawImage(0, 0, image_);
    }
    bool needsPaint = true;

private:
    bool opaque_;
    QImage image_;
    gdi::TCanvas canvas_;
};

namespace {
class PaintWidget : public Hooked<QWidget> {
public:
    std::function<void()> onPaint;

protected:
    void paintEvent(QPaintEvent*) override {
        if (onPaint) onPaint();
    }
};
}  // namespace

void EnsureQtApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "feldor";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives as long as the process
}

}  // namespace detail

using namespace detail;

void ControlAccess::SetBoundsFromWidget(TControl* c, int l, int t, int w, int h) {
    if (c->left_ == l && c->top_ == t && c->width_ == w && c->height_ == h) return;
    c->left_ = l;
    c->top_ = t;
    c->width_ = w;
    c->height_ = h;
    c->BoundsChanged();
}

// ---- TControl -------------------------------------------------------------------------------

TControl::TControl(rtl::TComponent* owner, QWidget* widget) : rtl::TComponent(owner), widget_(widget) {
    colorRole_ = QPalette::Window;
    widget_->hide();
    widget_->setMouseTracking(true);
    HookWidget(widget_, false);
    const QSize hint = widget_->sizeHint();
    width_ = hint.isValid() ? hint.width() : 0;
    height_ = hint.isValid() ? hint.height() : 0;
    widget_->resize(width_, height_);
    font_.OnChange = [this](rtl::TObject*) {
        if (!applyingParentFont_) parentFont_ = false;
        ApplyFont();
        if (auto* wc = dynamic_cast<TWinControl*>(this))
            for (TControl* c : wc->controls_) c->ParentFontChanged(font_);
    };
}

TControl::~TControl() {
    destroying_ = true;
    if (parent_) parent_->RemoveControl(this);
    parent_ = nullptr;
    if (widget_) {
        if (HookBase* h = HookOf(widget_)) h->control = nullptr;
        widget_->disconnect();
        delete widget_;
        widget_ = nullptr;
    }
}

void TControl::HookWidget(QWidget* w, bool clickOnRelease) {
    if (HookBase* h = HookOf(w)) {
        h->control = this;
        h->clickOnRelease = clickOnRelease;
    }
    w->setMouseTracking(true);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    // Qt keeps geometry in int rectangles whose right edge is left + width - 1: bounds are held
    // within its widget size limit so that no position read from a file can overflow them.
    constexpr int kLimit = QWIDGETSIZE_MAX;
    left = std::clamp(left, -kLimit, kLimit);
    top = std::clamp(top, -kLimit, kLimit);
    width = std::clamp(width, 0, kLimit);
    height = std::clamp(height, 0, kLimit);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    ApplyBounds();
    BoundsChanged();
    if (parent_ && align_ != alNone && !parent_->aligning_) parent_->Realign();
}

void TControl::ApplyBounds() {
    if (widget_) widget_->setGeometry(left_, top_, width_, height_);
}

void TControl::SetClientWidth(int w) { SetWidth(w + (width_ - ClientWidth())); }
void TControl::SetClientHeight(int h) { SetHeight(h + (height_ - ClientHeight())); }

gdi::TPoint TControl::ClientToScreen(gdi::TPoint p) const {
    const QWidget* w = widget_;
    if (auto* wc = dynamic_cast<const TWinControl*>(this)) w = wc->ClientWidget();
    const QPoint g = w->mapToGlobal(QPoint(p.X, p.Y));
    return {g.x(), g.y()};
}

gdi::TPoint TControl::ScreenToClient(gdi::TPoint p) const {
    const QWidget* w = widget_;
    if (auto* wc = dynamic_cast<const TWinControl*>(this)) w = wc->ClientWidget();
    const QPoint l = w->mapFromGlobal(QPoint(p.X, p.Y));
    return {l.x(), l.y()};
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw rtl::EInvalidOperation("Ein Steuerelement kann nicht sein eigenes Vorfahrobjekt sein");
    if (parent_) parent_->RemoveControl(this);
    parent_ = parent;
    if (parent_) {
        parent_->InsertControl(this);
        widget_->setParent(parent_->ClientWidget());
        ApplyBounds();
        if (parentFont_) ParentFontChanged(parent_->font_);
    } else {
        widget_->hide();
        widget_->setParent(nullptr);
    }
    ApplyVisible();
    if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    ApplyVisible();
    if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::ApplyVisible() {
    if (widget_) widget_->setVisible(visible_ && parent_ != nullptr);
}

bool TControl::Showing() const {
    if (!visible_ || !parent_) return false;
    return parent_->Showing();
}

void TControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    widget_->setEnabled(v);
}

void TControl::SetTextValue(const std::string& s) {
    if (s == caption_) return;
    caption_ = s;
    TextChanged();
}

void TControl::SetColor(gdi::TColor c) {
    if (c == color_) return;
    color_ = c;
    ApplyColor();
    Invalidate();
}

void TControl::ApplyColor() {
    QPalette pal = widget_->palette();
    const auto role = static_cast<QPalette::ColorRole>(colorRole_);
    pal.setColor(role, gdi::ColorToQColor(color_));
    widget_->setPalette(pal);
    if (role == QPalette::Window) widget_->setAutoFillBackground(true);
}

void TControl::ApplyFont() {
    widget_->setFont(gdi::FontToQFont(font_));
    QPalette pal = widget_->palette();
    const QColor q = gdi::ColorToQColor(font_.Color());
    pal.setColor(QPalette::WindowText, q);
    pal.setColor(QPalette::Text, q);
    pal.setColor(QPalette::ButtonText, q);
    widget_->setPalette(pal);
}

void TControl::ParentFontChanged(const gdi::TFont& f) {
    if (!parentFont_) return;
    applyingParentFont_ = true;
    try {
        font_.Assign(f);
    } catch (...) {
        applyingParentFont_ = false;
        throw;
    }
    applyingParentFont_ = false;
}

void TControl::SetParentFont(bool v) {
    parentFont_ = v;
    if (v && parent_) ParentFontChanged(parent_->font_);
}

void TControl::SetHint(const std::string& s) {
    hint_ = s;
    widget_->setToolTip(QS(s));
}

void TControl::SetAlign(TAlign a) {
    if (a == align_) return;
    align_ = a;
    if (parent_) parent_->Realign();
}

namespace {
Qt::CursorShape CursorShapeOf(TCursor c) {
    switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crNo: return Qt::ForbiddenCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}
}  // namespace

void TControl::SetCursor(TCursor c) {
    cursor_ = c;
    if (c == crDefault) widget_->unsetCursor();
    else widget_->setCursor(CursorShapeOf(c));
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::Invalidate() { widget_->update(); }
void TControl::Update() { widget_->repaint(); }
void TControl::Repaint() { widget_->repaint(); }

void TControl::BringToFront() {
    widget_->raise();
    if (parent_) {
        auto& v = parent_->controls_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        v.push_back(this);
    }
}

void TControl::SendToBack() {
    widget_->lower();
    if (parent_) {
        auto& v = parent_->controls_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        v.insert(v.begin(), this);
    }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

// ---- TWinControl ----------------------------------------------------------------------------

TWinControl::TWinControl(rtl::TComponent* owner, QWidget* widget) : TControl(owner, widget) {
    widget->setFocusPolicy(Qt::StrongFocus);
}

namespace {
void MarkDestroying(TControl* c) {
    ControlAccess::SetDestroying(c);
    if (auto* w = dynamic_cast<TWinControl*>(c))
        for (int i = 0; i < w->ControlCount(); ++i) MarkDestroying(w->Controls(i));
}
}  // namespace

// As on the original platform, a parent frees its child controls (they leave their owners as
// they go). No handler of the subtree runs once its destruction has begun.
TWinControl::~TWinControl() {
    MarkDestroying(this);
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        controls_.pop_back();
        c->parent_ = nullptr;
        delete c;
    }
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) rtl::RaiseListIndexError(index);
    return controls_[static_cast<std::size_t>(index)];
}

QWidget* TWinControl::ClientWidget() const { return Widget(); }

void TWinControl::InsertControl(TControl* c) { controls_.push_back(c); }

void TWinControl::RemoveControl(TControl* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    if (c->align_ != alNone && !destroying_) Realign();
}

void TWinControl::SetFocus() {
    Widget()->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const { return Widget()->hasFocus(); }

bool TWinControl::CanFocus() const {
    return Showing() && Enabled() && Widget()->focusPolicy() != Qt::NoFocus;
}

void TWinControl::SetTabStop(bool v) {
    tabStop_ = v;
    Widget()->setFocusPolicy(v ? Qt::StrongFocus : Qt::ClickFocus);
}

void TWinControl::SelectNext(bool forward) {
    auto* ev = new QKeyEvent(QEvent::KeyPress, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                             forward ? Qt::NoModifier : Qt::ShiftModifier);
    QCoreApplication::postEvent(Widget(), ev);
}

void TWinControl::BoundsChanged() { Realign(); }

void TWinControl::Realign() {
    if (aligning_ || destroying_) return;
    bool any = false;
    for (TControl* c : controls_)
        if (c->align_ != alNone) any = true;
    if (!any) return;
    aligning_ = true;
    int l = 0, t = 0, r = ClientWidth(), b = ClientHeight();
    auto place = [](TControl* c, int x, int y, int w, int h) {
        c->SetBounds(x, y, std::max(0, w), std::max(0, h));
    };
    try {
        for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
            for (TControl* c : controls_) {
                if (c->align_ != pass || !c->visible_) continue;
                switch (pass) {
                case alTop: place(c, l, t, r - l, c->height_); t += c->height_; break;
                case alBottom: place(c, l, b - c->height_, r - l, c->height_); b -= c->height_; break;
                case alLeft: place(c, l, t, c->width_, b - t); l += c->width_; break;
                case alRight: place(c, r - c->width_, t, c->width_, b - t); r -= c->width_; break;
                case alClient: place(c, l, t, r - l, b - t); break;
                default: break;
                }
            }
        }
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::KeyDown(unsigned short& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(unsigned short& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

// ---- Painted controls -----------------------------------------------------------------------

TGraphicControl::TGraphicControl(rtl::TComponent* owner) : TControl(owner, new PaintWidget) {
    paint_ = std::make_unique<PaintSupport>(false);
    auto* w = static_cast<PaintWidget*>(Widget());
    w->clickOnRelease = true;
    w->onPaint = [this, w] { paint_->PaintEvent(w, this, [this] { Paint(); }); };
    paint_->Canvas(this)->OnChange = [w](rtl::TObject*) { w->update(); };
}

TGraphicControl::TGraphicControl(rtl::TComponent* owner, QWidget* widget) : TControl(owner, widget) {
    if (HookBase* h = HookOf(widget)) h->clickOnRelease = true;
}

TGraphicControl::~TGraphicControl() {
    destroying_ = true;
    if (auto* w = dynamic_cast<PaintWidget*>(Widget())) w->onPaint = nullptr;
}

gdi::TCanvas* TGraphicControl::Canvas() { return paint_ ? paint_->Canvas(this) : nullptr; }

void TGraphicControl::Invalidate() {
    if (paint_) paint_->needsPaint = true;
    TControl::Invalidate();
}

void TGraphicControl::Repaint() {
    if (paint_) paint_->needsPaint = true;
    TControl::Repaint();
}

void TGraphicControl::Paint() {
    if (OnPaint) OnPaint(this);
}

TCustomControl::TCustomControl(rtl::TComponent* owner) : TWinControl(owner, new PaintWidget) {
    paint_ = std::make_unique<PaintSupport>(true);
    auto* w = static_cast<PaintWidget*>(Widget());
    w->clickOnRelease = true;
    w->onPaint = [this, w] { paint_->PaintEvent(w, this, [this] { Paint(); }); };
    paint_->Canvas(this)->OnChange = [w](rtl::TObject*) { w->update(); };
}

TCustomControl::~TCustomControl() {
    destroying_ = true;
    if (auto* w = dynamic_cast<PaintWidget*>(Widget())) w->onPaint = nullptr;
}

gdi::TCanvas* TCustomControl::Canvas() { return paint_->Canvas(this); }

void TCustomControl::Invalidate() {
    paint_->needsPaint = true;
    TControl::Invalidate();
}

void TCustomControl::Repaint() {
    paint_->needsPaint = true;
    TControl::Repaint();
}

void TCustomControl::Paint() {
    if (OnPaint) OnPaint(this);
}

// ---- Screen ---------------------------------------------------------------------------------

void TScreen::SetCursor(TCursor c) {
    if (c == cursor_) return;
    EnsureQtApplication();
    if (cursor_ != crDefault) QGuiApplication::restoreOverrideCursor();
    cursor_ = c;
    if (c != crDefault) QGuiApplication::setOverrideCursor(QCursor(CursorShapeOf(c)));
}

int TScreen::Width() const {
    EnsureQtApplication();
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::Height() const {
    EnsureQtApplication();
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

TScreen* Screen() {
    static TScreen screen;
    return &screen;
}

}  // namespace gui
