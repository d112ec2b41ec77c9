// TControl, TWinControl, the painted controls, the screen and the input routing from Qt.
#include "platform/gui/Controls.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QStyleHints>
#include <QTimer>
#include <QToolTip>

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

// ---- Input translation ----------------------------------------------------------------------
namespace {
bool Live(const HookBase& h) { return h.control && !h.control->Destroying(); }

unsigned MouseKeys(Qt::MouseButtons b, Qt::KeyboardModifiers m) {
    unsigned k = 0;
    if (b & Qt::LeftButton) k |= MK_LBUTTON;
    if (b & Qt::RightButton) k |= MK_RBUTTON;
    if (b & Qt::MiddleButton) k |= MK_MBUTTON;
    if (m & Qt::ShiftModifier) k |= MK_SHIFT;
    if (m & Qt::ControlModifier) k |= MK_CONTROL;
    if (m & Qt::AltModifier) k |= MK_ALT;
    return k;
}

LPARAM KeyData(const QKeyEvent* e) {
    LPARAM d = 1;
    const Qt::KeyboardModifiers m = e->modifiers();
    if (m & Qt::ShiftModifier) d |= KF_SHIFTBIT;
    if (m & Qt::ControlModifier) d |= KF_CTRLBIT;
    if (m & Qt::AltModifier) d |= KF_ALTBIT;
    if (e->isAutoRepeat()) d |= KF_REPEATBIT;
    return d;
}

unsigned ButtonMessage(Qt::MouseButton b, QEvent::Type t) {
    unsigned base;
    if (b == Qt::LeftButton) base = WM_LBUTTONDOWN;
    else if (b == Qt::RightButton) base = WM_RBUTTONDOWN;
    else if (b == Qt::MiddleButton) base = WM_MBUTTONDOWN;
    else return 0;
    if (t == QEvent::MouseButtonRelease) return base + 1;
    if (t == QEvent::MouseButtonDblClick) return base + 2;
    return base;
}

bool CountsAsFocusMove(Qt::FocusReason r) {
    return r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason;
}

// Sends a message from the window system: an exception is shown, never passed to Qt.
LRESULT Deliver(TControl* c, unsigned msg, WPARAM w, LPARAM l, bool* ok = nullptr) {
    TMessage m{msg, w, l, 0};
    const bool done = InvokeHandler(c, [&] { c->Perform(m); });
    if (ok) *ok = done;
    return m.Result;
}

// Client coordinates of a point in the widget that holds the control's children.
QPoint ToClient(TControl* c, QPoint p) {
    if (auto* wc = dynamic_cast<TWinControl*>(c)) {
        const int b = wc->BorderExtent();
        return p - QPoint(b, b);
    }
    return p;
}
}  // namespace

InputResult TranslateInput(HookBase& h, QWidget* w, QEvent* e, QString& replacement) {
    if (!Live(h)) return InputResult::Pass;
    TControl* c = h.control;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(e);
        const QPoint p = ToClient(c, me->position().toPoint());
        const LPARAM lp = MakeLParam(p.x(), p.y());
        const WPARAM keys = MouseKeys(me->buttons(), me->modifiers());
        if (e->type() == QEvent::MouseMove) {
            std::weak_ptr<void> life = c->LifeToken();
            const QPoint g = me->globalPosition().toPoint();
            const LRESULT hit = Deliver(c, WM_NCHITTEST, 0, MakeLParam(g.x(), g.y()));
            if (life.expired() || c->Destroying()) return InputResult::Pass;
            Deliver(c, WM_SETCURSOR, reinterpret_cast<WPARAM>(c), MakeLParam(static_cast<int>(hit), WM_MOUSEMOVE));
            if (!life.expired() && !c->Destroying()) Deliver(c, WM_MOUSEMOVE, keys, lp);
        } else if (const unsigned msg = ButtonMessage(me->button(), e->type())) {
            Deliver(c, msg, keys, lp);
        }
        return InputResult::Pass;
    }
    case QEvent::KeyPress: {
        if (!w->hasFocus()) return InputResult::Pass;
        auto* ke = static_cast<QKeyEvent*>(e);
        const LPARAM data = KeyData(ke);
        std::weak_ptr<void> life = c->LifeToken();
        if (unsigned short vk = VirtualKeyFromQt(ke->key())) {
            bool ok = true;
            TMessage m{WM_KEYDOWN, vk, data, 0};
            ok = InvokeHandler(c, [&] { c->Perform(m); });
            if (!ok || m.WParam == 0) return InputResult::Consumed;
            if (life.expired() || c->Destroying()) return InputResult::Consumed;
        }
        const QString t = ke->text();
        if (t.isEmpty() || t == QStringLiteral("\t")) return InputResult::Pass;
        QString out;
        bool changed = false;
        for (char32_t cp : t.toUcs4()) {
            TMessage m{WM_CHAR, cp, data, 0};
            if (!InvokeHandler(c, [&] { c->Perform(m); })) return InputResult::Consumed;
            if (life.expired() || c->Destroying()) return InputResult::Consumed;
            const auto got = static_cast<char32_t>(m.WParam);
            if (got != cp) changed = true;
            if (got != 0) out.append(QString::fromUcs4(&got, 1));
        }
        if (!changed) return InputResult::Pass;
        if (out.isEmpty()) return InputResult::Consumed;
        replacement = out;
        return InputResult::Replace;
    }
    case QEvent::KeyRelease: {
        if (!w->hasFocus()) return InputResult::Pass;
        auto* ke = static_cast<QKeyEvent*>(e);
        const unsigned short vk = VirtualKeyFromQt(ke->key());
        if (!vk) return InputResult::Pass;
        TMessage m{WM_KEYUP, vk, KeyData(ke), 0};
        if (!InvokeHandler(c, [&] { c->Perform(m); }) || m.WParam == 0) return InputResult::Consumed;
        return InputResult::Pass;
    }
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::EnabledChange:
    case QEvent::StyleChange:
        if (auto* wc = dynamic_cast<TWinControl*>(c)) ControlAccess::InvalidateSurface(wc);
        return InputResult::Pass;
    case QEvent::Enter:
        Deliver(c, CM_MOUSEENTER, 0, 0);
        return InputResult::Pass;
    case QEvent::Leave:
        if (auto* wc = dynamic_cast<TWinControl*>(c)) ControlAccess::ClearHover(wc);
        if (!c->Destroying()) Deliver(c, CM_MOUSELEAVE, 0, 0);
        return InputResult::Pass;
    case QEvent::ToolTip: {
        auto* wc = dynamic_cast<TWinControl*>(c);
        if (!wc) return InputResult::Pass;
        auto* he = static_cast<QHelpEvent*>(e);
        const QPoint p = ToClient(c, he->pos());
        if (TControl* child = wc->ControlAtPos({p.x(), p.y()})) {
            if (child->ShowHint && !child->Hint().empty()) QToolTip::showText(he->globalPos(), QS(child->Hint()), w);
            else QToolTip::hideText();
            return InputResult::Consumed;
        }
        return InputResult::Pass;
    }
    default:
        return InputResult::Pass;
    }
}

void AfterInput(HookBase& h, QWidget*, QEvent* e) {
    if (!Live(h)) return;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        if (h.acceptMouse) e->accept();
        break;
    case QEvent::FocusIn: {
        // A self-drawn window shows its caret only after WM_SETFOCUS: the focus it receives
        // when its window is first activated (shown) counts for it; switching windows back and
        // forth later does not.
        const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
        if (CountsAsFocusMove(r) ||
            (r == Qt::ActiveWindowFocusReason && !h.focusDelivered && ControlAccess::SelfDrawn(h.control))) {
            h.focusDelivered = true;
            Deliver(h.control, WM_SETFOCUS, 0, 0);
        }
        break;
    }
    case QEvent::FocusOut:
        if (CountsAsFocusMove(static_cast<QFocusEvent*>(e)->reason())) {
            h.focusDelivered = false;
            Deliver(h.control, WM_KILLFOCUS, 0, 0);
        }
        break;
    default:
        break;
    }
}

void EnsureQtApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "feldor";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives as long as the process
}

}  // namespace detail

using namespace detail;

// ---- Window surfaces ------------------------------------------------------------------------
namespace detail {

// The retained image of a window's whole rectangle. A paint event runs the paint sequence into
// it (WM_NCPAINT, WM_ERASEBKGND, the Qt look or WM_PAINT, the windowless children in z-order)
// unless only drawing done outside painting is to be shown; the widget then shows the image and
// the caret over it.
class Surface {
public:
    explicit Surface(TWinControl* owner) : owner_(owner) {
        auto changed = [this](rtl::TObject*) { ShowLater(); };
        window.OnChange = changed;
        client.OnChange = changed;
    }

    QImage image;
    gdi::TCanvas window;
    gdi::TCanvas client;
    bool painting = false;
    bool rendering = false;
    // False until the paint sequence has run for the current content: set by Invalidate, a
    // new size and changes of the widget's look; drawing outside painting keeps it.
    bool valid = false;

    void Ensure() {
        QWidget* w = owner_->ClientWidget();
        const QSize sz(std::max(1, w->width()), std::max(1, w->height()));
        const int b = owner_->BorderExtent();
        if (image.size() != sz) {
            QImage next(sz, QImage::Format_ARGB32_Premultiplied);
            // Text on the surface is measured as on the widget.
            next.setDotsPerMeterX(qRound(w->logicalDpiX() / 0.0254));
            next.setDotsPerMeterY(qRound(w->logicalDpiY() / 0.0254));
            next.fill(gdi::ColorToQColor(owner_->Color()));
            if (!image.isNull()) {
                QPainter p(&next);
                p.setCompositionMode(QPainter::CompositionMode_Source);
                p.drawImage(0, 0, image);
            }
            image = std::move(next);
            window.SetTarget(&image);
            client.SetTarget(&image);
            valid = false;
            border_ = -1;
        }
        if (b != border_ || clientSize_ != QSize(owner_->ClientWidth(), owner_->ClientHeight())) {
            border_ = b;
            clientSize_ = QSize(owner_->ClientWidth(), owner_->ClientHeight());
            client.SetOrigin({b, b});
            client.SetClipRegion(QRegion(b, b, clientSize_.width(), clientSize_.height()));
        }
    }

    // Brings the image up to date before drawing on it outside painting, so that the drawing
    // lands on what the window shows.
    void Validate() {
        Ensure();
        if (valid || painting || owner_->Destroying()) return;
        valid = true;
        PaintAll(owner_->ClientWidget());
    }

    // Shows what was drawn outside painting at the next paint event.
    void ShowLater() {
        if (painting || owner_->Destroying()) return;
        owner_->ClientWidget()->update();
    }

    static bool PaintEvent(TWinControl* c, QWidget* w, QPaintEvent* e) {
        if (c->Destroying() || w != c->ClientWidget() || !c->UsesSurface()) return false;
        Surface& s = c->SurfaceOf();
        if (s.rendering) return false;
        s.Ensure();
        // The widget's painter is opened first: rendering the widget's own look into the
        // surface ends the paint redirection a painter opened later would need.
        QPainter p(w);
        if (!s.valid) {
            s.valid = true;
            s.PaintAll(w);
        }
        p.setCompositionMode(QPainter::CompositionMode_Source);
        const QRect r = e->rect();
        p.drawImage(r, s.image, r);
        PaintCaret(c, p);
        return true;
    }

    void PaintAll(QWidget* w) {
        TWinControl* c = owner_;
        std::weak_ptr<void> life = c->LifeToken();
        painting = true;
        const bool selfDrawn = c->SelfDrawn();
        if (selfDrawn) Deliver(c, WM_NCPAINT, 1, 0);
        if (life.expired()) return;
        Deliver(c, WM_ERASEBKGND, reinterpret_cast<WPARAM>(&client), 0);
        if (life.expired()) return;
        if (!selfDrawn) {
            // The widget's own look is drawn into the surface by the widget itself; Qt refuses
            // to render a widget that is in its paint event, so the mark is lifted meanwhile.
            rendering = true;
            const bool inPaint = w->testAttribute(Qt::WA_WState_InPaintEvent);
            w->setAttribute(Qt::WA_WState_InPaintEvent, false);
            {
                QPainter rp(&image);
                w->render(&rp, QPoint(), QRegion(), QWidget::DrawWindowBackground);
            }
            w->setAttribute(Qt::WA_WState_InPaintEvent, inPaint);
            rendering = false;
        }
        Deliver(c, WM_PAINT, 0, 0);
        if (life.expired()) return;
        const QRect clientRect(border_, border_, clientSize_.width(), clientSize_.height());
        for (std::size_t i = 0; i < c->controls_.size(); ++i) {
            TControl* child = c->controls_[i];
            if (child->widget_ || !child->visible_) continue;
            const QRect r(border_ + child->left_, border_ + child->top_, child->width_, child->height_);
            if (!r.intersects(clientRect)) continue;
            auto* g = static_cast<TGraphicControl*>(child);
            g->Canvas();
            Deliver(g, WM_PAINT, 0, 0);
            if (life.expired()) return;
        }
        painting = false;
    }

    static void PaintCaret(TWinControl* c, QPainter& p);

private:
    TWinControl* owner_;
    int border_ = -1;
    QSize clientSize_;
};

}  // namespace detail

namespace detail {

// Drawing through the canvases of a control whose Qt widget paints its own look (edit, combo,
// list, grid): kept in a transparent image that a widget above the control's widget and its
// children shows, until the control is invalidated, repainted or resized.
class Overlay : public QObject {
public:
    explicit Overlay(TWinControl* owner) : host_(owner->Widget()) {
        view_ = new View(this);
        view_->setParent(host_);
        view_->setAttribute(Qt::WA_TransparentForMouseEvents);
        view_->setAttribute(Qt::WA_NoSystemBackground);
        view_->setFocusPolicy(Qt::NoFocus);
        host_->installEventFilter(this);
        auto changed = [this](rtl::TObject*) { Show(); };
        window.OnChange = changed;
        client.OnChange = changed;
        Ensure();
    }
    ~Overlay() override {
        window.OnChange = nullptr;
        client.OnChange = nullptr;
        if (host_) host_->removeEventFilter(this);
        delete view_.data();
    }

    QImage image;
    gdi::TCanvas window;
    gdi::TCanvas client;

    void Ensure() {
        if (!host_) return;
        const QSize sz(std::max(1, host_->width()), std::max(1, host_->height()));
        if (view_) view_->setGeometry(0, 0, sz.width(), sz.height());
        if (image.size() == sz) return;
        image = QImage(sz, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(qRound(host_->logicalDpiX() / 0.0254));
        image.setDotsPerMeterY(qRound(host_->logicalDpiY() / 0.0254));
        image.fill(Qt::transparent);
        window.SetTarget(&image);
        client.SetTarget(&image);
    }
    void Clear() {
        if (image.isNull()) return;
        image.fill(Qt::transparent);
        if (view_) view_->update();
    }
    // Whether anything drawn is still shown.
    bool Shown() const { return view_ && view_->isVisible(); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == host_ && e->type() == QEvent::Resize) {
            Ensure();
            Clear();
        }
        return false;
    }

private:
    class View : public QWidget {
    public:
        explicit View(Overlay* o) : overlay_(o) {}

    protected:
        void paintEvent(QPaintEvent* e) override {
            QPainter p(this);
            const QRect r = e->rect();
            p.drawImage(r, overlay_->image, r);
        }

    private:
        Overlay* overlay_;
    };

    void Show() {
        if (!view_) return;
        view_->raise();
        view_->show();
        view_->update();
    }

    QPointer<QWidget> host_;
    QPointer<View> view_;
};

}  // namespace detail

bool detail::PaintThroughSurface(HookBase& h, QWidget* w, QPaintEvent* e) {
    auto* c = dynamic_cast<TWinControl*>(h.control);
    return c && Surface::PaintEvent(c, w, e);
}

void ControlAccess::SetBoundsFromWidget(TControl* c, int l, int t, int w, int h) {
    if (c->left_ == l && c->top_ == t && c->width_ == w && c->height_ == h) return;
    const bool moved = c->left_ != l || c->top_ != t;
    const bool sized = c->width_ != w || c->height_ != h;
    c->left_ = l;
    c->top_ = t;
    c->width_ = w;
    c->height_ = h;
    c->BoundsChanged();
    if (c->Destroying()) return;
    if (moved) Deliver(c, WM_MOVE, 0, MakeLParam(l, t));
    if (sized && !c->Destroying()) Deliver(c, WM_SIZE, SIZE_RESTORED, MakeLParam(c->ClientWidth(), c->ClientHeight()));
}

void ControlAccess::ClearHover(TWinControl* c) { c->SetHover(nullptr); }
void ControlAccess::InvalidateSurface(TWinControl* c) {
    if (c->surface_) c->surface_->valid = false;
}

// ---- Posted messages ------------------------------------------------------------------------
namespace {
const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedMessage : public QEvent {
public:
    PostedMessage(TControl* c, TMessage m) : QEvent(kPostedMessage), target(c), life(c->LifeToken()), message(m) {}
    TControl* target;
    std::weak_ptr<void> life;
    TMessage message;
};

class PostReceiver : public QObject {
public:
    using QObject::QObject;

protected:
    void customEvent(QEvent* e) override {
        if (e->type() != kPostedMessage) return;
        auto* pm = static_cast<PostedMessage*>(e);
        if (pm->life.expired() || pm->target->Destroying()) return;
        Deliver(pm->target, pm->message.Msg, pm->message.WParam, pm->message.LParam);
    }
};

PostReceiver* Receiver() {
    EnsureQtApplication();
    static QPointer<PostReceiver> r;
    if (!r) r = new PostReceiver(QCoreApplication::instance());  // owned by the application
    return r;
}
}  // namespace

void PostMessage(TControl* control, unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (!control || control->Destroying()) return;
    QCoreApplication::postEvent(Receiver(), new PostedMessage(control, TMessage{msg, wParam, lParam, 0}));
}

LRESULT SendMessage(TControl* control, unsigned msg, WPARAM wParam, LPARAM lParam) {
    return control->Perform(msg, wParam, lParam);
}

// ---- Window hooks ---------------------------------------------------------------------------
struct detail::HookEntry {
    TWindowHook::Proc proc;
    bool active = true;
};

TWindowHook::TWindowHook(TControl* control, Proc proc) : control_(control), token_(control->LifeToken()) {
    entry_ = std::make_shared<HookEntry>();
    entry_->proc = std::move(proc);
    control_->hooks_.push_back(entry_);
}

TWindowHook::~TWindowHook() {
    entry_->active = false;
    if (token_.expired()) return;
    auto& v = control_->hooks_;
    v.erase(std::remove(v.begin(), v.end(), entry_), v.end());
}

// ---- TControl -------------------------------------------------------------------------------

TControl::TControl(rtl::TComponent* owner, QWidget* widget) : rtl::TComponent(owner), widget_(widget) {
    colorRole_ = QPalette::Window;
    if (widget_) {
        widget_->hide();
        widget_->setMouseTracking(true);
        HookWidget(widget_, false);
        const QSize hint = widget_->sizeHint();
        width_ = hint.isValid() ? hint.width() : 0;
        height_ = hint.isValid() ? hint.height() : 0;
        widget_->resize(width_, height_);
    }
    font_.OnChange = [this](rtl::TObject*) {
        if (!applyingParentFont_) parentFont_ = false;
        ApplyFont();
        if (auto* wc = dynamic_cast<TWinControl*>(this))
            for (TControl* c : wc->controls_) c->ParentFontChanged(font_);
        Perform(CM_FONTCHANGED);
    };
}

TControl::~TControl() {
    destroying_ = true;
    if (parent_) parent_->RemoveControl(this);
    parent_ = nullptr;
    if (widget_) {
        if (HookBase* h = HookOf(widget_)) h->control = nullptr;
        // Only the control's own connections (made without a context, so the widget is their
        // receiver): Qt's own, such as the accessibility cache's destroyed() link, must stay.
        QObject::disconnect(widget_, nullptr, widget_, nullptr);
        delete widget_;
        widget_ = nullptr;
    }
    life_.reset();
}

void TControl::HookWidget(QWidget* w, bool clickOnRelease) {
    if (HookBase* h = HookOf(w)) h->control = this;
    if (clickOnRelease) clickEvents_ = true;
    w->setMouseTracking(true);
}

// ---- Messages ----

LRESULT TControl::Perform(unsigned msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    Perform(m);
    return m.Result;
}

void TControl::Perform(TMessage& m) {
    if (hooks_.empty()) {
        WndProc(m);
        return;
    }
    const auto chain = hooks_;  // newest last; a hook may remove itself or others meanwhile
    std::weak_ptr<void> life = life_;
    std::function<void(std::size_t, TMessage&)> call = [&](std::size_t i, TMessage& msg) {
        while (i > 0 && !chain[i - 1]->active) --i;
        if (i == 0) {
            if (!life.expired()) WndProc(msg);
            return;
        }
        const std::shared_ptr<HookEntry> entry = chain[i - 1];
        entry->proc(msg, [&call, i](TMessage& next) { call(i - 1, next); });
    };
    call(chain.size(), m);
}

void TControl::WndProc(TMessage& m) { Dispatch(m); }

void TControl::Dispatch(TMessage& m) {
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) {
        MouseMessage(m);
        return;
    }
    switch (m.Msg) {
    case CM_MOUSEENTER: mouseInControl_ = true; break;
    case CM_PARENTCOLORCHANGED: ApplyParentColor(); break;
    case CM_MOUSELEAVE: mouseInControl_ = false; break;
    case CM_HITTEST:
    case WM_NCHITTEST: m.Result = HTCLIENT; break;
    default: DefaultHandler(m); break;
    }
}

void TControl::DefaultHandler(TMessage&) {}

namespace {
TShiftState ShiftFromKeys(WPARAM k) {
    TShiftState s = 0;
    if (k & MK_SHIFT) s |= ssShift;
    if (k & MK_CONTROL) s |= ssCtrl;
    if (k & MK_ALT) s |= ssAlt;
    if (k & MK_LBUTTON) s |= ssLeft;
    if (k & MK_RBUTTON) s |= ssRight;
    if (k & MK_MBUTTON) s |= ssMiddle;
    return s;
}
}  // namespace

void TControl::MouseMessage(TMessage& m) {
    const TWMMouse mm{m};
    const int x = mm.XPos(), y = mm.YPos();
    const TShiftState s = ShiftFromKeys(mm.Keys());
    std::weak_ptr<void> life = life_;
    switch (m.Msg) {
    case WM_MOUSEMOVE: MouseMove(s, x, y); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const TMouseButton b = m.Msg == WM_LBUTTONDOWN ? mbLeft : m.Msg == WM_RBUTTONDOWN ? mbRight : mbMiddle;
        if (b == mbLeft && clickEvents_) clicked_ = true;
        MouseDown(b, s, x, y);
        break;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        const TMouseButton b = m.Msg == WM_LBUTTONDBLCLK ? mbLeft : m.Msg == WM_RBUTTONDBLCLK ? mbRight : mbMiddle;
        if (b == mbLeft) InvokeHandler(this, [this] { DblClick(); });
        if (life.expired() || destroying_) return;
        MouseDown(b, s | ssDouble, x, y);
        break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const TMouseButton b = m.Msg == WM_LBUTTONUP ? mbLeft : m.Msg == WM_RBUTTONUP ? mbRight : mbMiddle;
        if (b == mbLeft && clicked_) {
            clicked_ = false;
            if (x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight())
                InvokeHandler(this, [this] { Click(); });
            if (life.expired() || destroying_) return;
        }
        MouseUp(b, s, x, y);
        break;
    }
    default: DefaultHandler(m); break;
    }
}

// ---- Bounds and properties ----

void TControl::SetBounds(int left, int top, int width, int height) {
    // Qt keeps geometry in int rectangles whose right edge is left + width - 1: bounds are held
    // within its widget size limit so that no position read from a file can overflow them.
    constexpr int kLimit = QWIDGETSIZE_MAX;
    left = std::clamp(left, -kLimit, kLimit);
    top = std::clamp(top, -kLimit, kLimit);
    width = std::clamp(width, 0, kLimit);
    height = std::clamp(height, 0, kLimit);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const bool moved = left != left_ || top != top_;
    const bool sized = width != width_ || height != height_;
    if (!widget_) InvalidateInParent();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    ApplyBounds();
    if (!widget_) InvalidateInParent();
    BoundsChanged();
    if (widget_) {
        if (moved) Perform(WM_MOVE, 0, MakeLParam(left_, top_));
        if (sized) Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(ClientWidth(), ClientHeight()));
    }
    if (parent_ && align_ != alNone && !parent_->aligning_) parent_->Realign();
}

void TControl::ApplyBounds() {
    if (!widget_) return;
    const int b = parent_ ? parent_->BorderExtent() : 0;
    widget_->setGeometry(left_ + b, top_ + b, width_, height_);
}

void TControl::InvalidateInParent() {
    if (parent_ && visible_ && !parent_->Destroying()) parent_->InvalidateRect(BoundsRect());
}

void TControl::SetClientWidth(int w) { SetWidth(w + (width_ - ClientWidth())); }
void TControl::SetClientHeight(int h) { SetHeight(h + (height_ - ClientHeight())); }

gdi::TPoint TControl::ClientToScreen(gdi::TPoint p) const {
    if (!widget_) {
        if (!parent_) return p;
        return parent_->ClientToScreen({p.X + left_, p.Y + top_});
    }
    const QWidget* w = widget_;
    int b = 0;
    if (auto* wc = dynamic_cast<const TWinControl*>(this)) {
        w = wc->ClientWidget();
        b = wc->BorderExtent();
    }
    const QPoint g = w->mapToGlobal(QPoint(p.X + b, p.Y + b));
    return {g.x(), g.y()};
}

gdi::TPoint TControl::ScreenToClient(gdi::TPoint p) const {
    if (!widget_) {
        if (!parent_) return p;
        const gdi::TPoint q = parent_->ScreenToClient(p);
        return {q.X - left_, q.Y - top_};
    }
    const QWidget* w = widget_;
    int b = 0;
    if (auto* wc = dynamic_cast<const TWinControl*>(this)) {
        w = wc->ClientWidget();
        b = wc->BorderExtent();
    }
    const QPoint l = w->mapFromGlobal(QPoint(p.X, p.Y));
    return {l.x() - b, l.y() - b};
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw rtl::EInvalidOperation("Ein Steuerelement kann nicht sein eigenes Vorfahrobjekt sein");
    if (parent_) {
        InvalidateInParent();
        parent_->RemoveControl(this);
    }
    parent_ = parent;
    if (parent_) {
        parent_->InsertControl(this);
        if (widget_) widget_->setParent(parent_->ClientWidget());
        ApplyBounds();
        if (parentFont_) ParentFontChanged(parent_->font_);
        ApplyParentColor();
        if (!widget_) InvalidateInParent();
    } else if (widget_) {
        widget_->hide();
        widget_->setParent(nullptr);
    }
    ApplyVisible();
    if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::SetVisible(bool v) {
    if (v == visible_) return;
    if (!v) InvalidateInParent();
    visible_ = v;
    ApplyVisible();
    if (v) InvalidateInParent();
    if (parent_ && align_ != alNone) parent_->Realign();
    Perform(CM_VISIBLECHANGED, v ? 1 : 0);
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
    if (widget_) widget_->setEnabled(v);
    else InvalidateInParent();
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetTextValue(const std::string& s) {
    if (s == caption_) return;
    caption_ = s;
    TextChanged();
    Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(gdi::TColor c) {
    if (c == color_) return;
    color_ = c;
    parentColor_ = false;
    ApplyColor();
    Invalidate();
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v) {
    if (v == parentColor_) return;
    parentColor_ = v;
    ApplyParentColor();
}

void TControl::ApplyParentColor() {
    if (!parentColor_ || !parent_ || parent_->color_ == color_) return;
    color_ = parent_->color_;
    ApplyColor();
    Invalidate();
    Perform(CM_COLORCHANGED);
}

void TControl::ApplyColor() {
    if (!widget_) return;
    QPalette pal = widget_->palette();
    const auto role = static_cast<QPalette::ColorRole>(colorRole_);
    pal.setColor(role, gdi::ColorToQColor(color_));
    widget_->setPalette(pal);
    if (role == QPalette::Window) widget_->setAutoFillBackground(true);
}

void TControl::ApplyFont() {
    if (!widget_) {
        Invalidate();
        return;
    }
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
    if (widget_) widget_->setToolTip(QS(s));
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
    case crAppStart: return Qt::BusyCursor;
    case crNo: return Qt::ForbiddenCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    case crDrag: return Qt::DragMoveCursor;
    default: return Qt::ArrowCursor;
    }
}

void ApplyCursor(QWidget* w, TCursor c) {
    if (c == crDefault) w->unsetCursor();
    else w->setCursor(CursorShapeOf(c));
}
}  // namespace

void TControl::SetCursor(TCursor c) {
    cursor_ = c;
    if (widget_) ApplyCursor(widget_, c);
    else if (parent_ && parent_->hover_ == this) ApplyCursor(parent_->ClientWidget(), c == crDefault ? parent_->cursor_ : c);
    Perform(CM_CURSORCHANGED);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::Invalidate() {
    if (widget_) widget_->update();
    else InvalidateInParent();
}

void TControl::Update() {
    if (widget_) widget_->repaint();
    else if (parent_) parent_->Update();
}

void TControl::Repaint() {
    if (widget_) {
        widget_->repaint();
    } else if (parent_ && visible_) {
        parent_->InvalidateRect(BoundsRect());
        parent_->Update();
    }
}

void TControl::BringToFront() {
    if (widget_) widget_->raise();
    if (parent_) {
        auto& v = parent_->controls_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        v.push_back(this);
        if (!widget_) InvalidateInParent();
    }
}

void TControl::SendToBack() {
    if (widget_) widget_->lower();
    if (parent_) {
        auto& v = parent_->controls_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        v.insert(v.begin(), this);
        if (!widget_) InvalidateInParent();
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
    capture_ = hover_ = nullptr;
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        controls_.pop_back();
        if (!c->widget_) --graphicChildren_;
        c->parent_ = nullptr;
        delete c;
    }
    if (CaretOwnerIs(this)) DestroyCaret();
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) rtl::RaiseListIndexError(index);
    return controls_[static_cast<std::size_t>(index)];
}

QWidget* TWinControl::ClientWidget() const { return Widget(); }

void TWinControl::InsertControl(TControl* c) {
    controls_.push_back(c);
    if (!c->widget_ && graphicChildren_++ == 0) {
        ClientWidget()->setMouseTracking(true);
        Invalidate();
    }
}

void TWinControl::RemoveControl(TControl* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    if (!c->widget_) --graphicChildren_;
    if (capture_ == c) capture_ = nullptr;
    if (hover_ == c) hover_ = nullptr;
    if (c->align_ != alNone && !destroying_) Realign();
}

detail::Surface& TWinControl::SurfaceOf() {
    if (!surface_) surface_ = std::make_unique<detail::Surface>(this);
    return *surface_;
}

void TWinControl::KeepSurface() {
    overlay_.reset();
    SurfaceOf();
    Invalidate();
}

void TWinControl::ClearOverlay() {
    if (overlay_) overlay_->Clear();
}

gdi::TCanvas* TWinControl::WindowCanvas() {
    if (!UsesSurface()) {
        if (!overlay_) overlay_ = std::make_unique<Overlay>(this);
        overlay_->Ensure();
        return &overlay_->window;
    }
    Surface& s = SurfaceOf();
    s.Validate();
    return &s.window;
}

gdi::TCanvas* TWinControl::ClientCanvas() {
    if (!UsesSurface()) {
        if (!overlay_) overlay_ = std::make_unique<Overlay>(this);
        overlay_->Ensure();
        return &overlay_->client;
    }
    Surface& s = SurfaceOf();
    s.Validate();
    return &s.client;
}

void TWinControl::CreateParams(TCreateParams&) {}

int TWinControl::BorderExtent() const {
    if (!selfDrawn_) return 0;
    TCreateParams p;
    const_cast<TWinControl*>(this)->CreateParams(p);
    if (p.ExStyle & WS_EX_CLIENTEDGE) return 2;
    if (p.Style & WS_BORDER) return 1;
    return 0;
}

int TWinControl::ClientWidth() const { return std::max(0, Width() - 2 * BorderExtent()); }
int TWinControl::ClientHeight() const { return std::max(0, Height() - 2 * BorderExtent()); }

void TWinControl::ApplyChildBounds() {
    for (TControl* c : controls_)
        if (c->widget_) c->ApplyBounds();
}

void TWinControl::RecreateWnd() {
    ClearOverlay();
    ApplyChildBounds();
    Realign();
    Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(ClientWidth(), ClientHeight()));
    Invalidate();
}

void TWinControl::InvalidateRect(const gdi::TRect& r) {
    if (surface_) surface_->valid = false;
    ClearOverlay();
    const int b = BorderExtent();
    ClientWidget()->update(QRect(r.Left + b, r.Top + b, r.Width(), r.Height()));
}

void TWinControl::Invalidate() {
    if (surface_) surface_->valid = false;
    ClearOverlay();
    Widget()->update();
    if (ClientWidget() != Widget()) ClientWidget()->update();
}

void TWinControl::Repaint() {
    if (surface_) surface_->valid = false;
    ClearOverlay();
    Widget()->repaint();
    if (ClientWidget() != Widget()) ClientWidget()->repaint();
}

void TWinControl::NotifyControls(unsigned msg) {
    TMessage m{msg, 0, 0, 0};
    Broadcast(m);
}

void TWinControl::Broadcast(TMessage& m) {
    const std::vector<TControl*> children = controls_;
    for (TControl* c : children) {
        if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
        c->Perform(m);
        if (m.Result != 0) return;
    }
}

TControl* TWinControl::ControlAtPos(gdi::TPoint p, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->widget_ || !c->visible_ || (!c->enabled_ && !allowDisabled)) continue;
        const int x = p.X - c->left_, y = p.Y - c->top_;
        if (x < 0 || y < 0 || x >= c->width_ || y >= c->height_) continue;
        if (c->Perform(CM_HITTEST, 0, MakeLParam(x, y)) != 0) return c;
    }
    return nullptr;
}

void TWinControl::SetHover(TControl* c) {
    if (c == hover_) return;
    TControl* old = hover_;
    hover_ = c;
    if (!destroying_) ApplyCursor(ClientWidget(), c && c->cursor_ != crDefault ? c->cursor_ : cursor_);
    if (old) {
        std::weak_ptr<void> life = life_;
        old->Perform(CM_MOUSELEAVE);
        if (life.expired() || hover_ != c) return;
    }
    if (c) c->Perform(CM_MOUSEENTER);
}

bool TWinControl::ControlMouseMessage(TMessage& m) {
    if (graphicChildren_ == 0 && !capture_) return false;
    const TWMMouse mm{m};
    const gdi::TPoint p{mm.XPos(), mm.YPos()};
    TControl* target = capture_ ? capture_ : ControlAtPos(p);
    if (m.Msg == WM_MOUSEMOVE && !capture_) {
        std::weak_ptr<void> life = life_;
        SetHover(target);
        if (life.expired() || destroying_) return true;
        target = ControlAtPos(p);
    }
    if (!target) return false;
    const bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN ||
                      m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
    if (down) capture_ = target;
    const bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
    if (up && (mm.Keys() & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) capture_ = nullptr;
    TMessage forChild{m.Msg, m.WParam, MakeLParam(p.X - target->left_, p.Y - target->top_), 0};
    target->Perform(forChild);
    m.Result = forChild.Result;
    return true;
}

void TWinControl::WndProc(TMessage& m) {
    // Ends a windowless child's mouse capture (a popup took the release).
    if (m.Msg == WM_CANCELMODE) capture_ = nullptr;
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL && ControlMouseMessage(m)) return;
    TControl::WndProc(m);
}

void TWinControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
        TWMKey k{m};
        unsigned short key = k.CharCode();
        TShiftState s = 0;
        if (m.LParam & KF_SHIFTBIT) s |= ssShift;
        if (m.LParam & KF_CTRLBIT) s |= ssCtrl;
        if (m.LParam & KF_ALTBIT) s |= ssAlt;
        if (m.Msg == WM_KEYDOWN) KeyDown(key, s);
        else KeyUp(key, s);
        k.SetCharCode(key);
        break;
    }
    case WM_CHAR: {
        TWMChar ch{m};
        TKeyChar key = ch.CharCode();
        KeyPress(key);
        ch.SetCharCode(key);
        break;
    }
    case WM_SETFOCUS: DoEnter(); break;
    case WM_KILLFOCUS: DoExit(); break;
    case WM_PAINT:
        if (selfDrawn_) PaintWindow();
        break;
    case WM_NCPAINT:
        if (selfDrawn_ && BorderExtent() > 0) PaintBorder(*WindowCanvas());
        break;
    case CM_MOUSELEAVE:
        SetHover(nullptr);
        TControl::Dispatch(m);
        break;
    case CM_COLORCHANGED:
        if (surface_ || overlay_) Invalidate();
        NotifyControls(CM_PARENTCOLORCHANGED);
        TControl::Dispatch(m);
        break;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
        if (surface_ || overlay_) Invalidate();
        TControl::Dispatch(m);
        break;
    default: TControl::Dispatch(m); break;
    }
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (m.Msg == WM_NEXTDLGCTL && m.LParam == 0) {
        // The focus moves on from the focused control of this window as a Tab key would:
        // WParam 0 to the next control, otherwise to the previous one.
        if (QWidget* f = Widget() ? Widget()->window()->focusWidget() : nullptr) {
            const bool forward = m.WParam == 0;
            QCoreApplication::postEvent(f, new QKeyEvent(QEvent::KeyPress, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                                                         forward ? Qt::NoModifier : Qt::ShiftModifier));
        }
        return;
    }
    if (m.Msg == WM_ERASEBKGND) {
        if (auto* canvas = TWMEraseBkgnd{m}.Canvas(); canvas && canvas->Target()) {
            const int b = BorderExtent();
            QPainter p(canvas->Target());
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.fillRect(QRect(b, b, ClientWidth(), ClientHeight()), gdi::ColorToQColor(color_));
        }
        m.Result = 1;
        return;
    }
    TControl::DefaultHandler(m);
}

void TWinControl::PaintBorder(gdi::TCanvas& canvas) {
    QImage* img = canvas.Target();
    if (!img) return;
    const int w = Width(), h = Height();
    QPainter p(img);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    auto col = [](gdi::TColor c) { return gdi::ColorToQColor(c); };
    if (BorderExtent() == 1) {
        const QColor c = col(gdi::clWindowFrame);
        p.fillRect(0, 0, w, 1, c);
        p.fillRect(0, h - 1, w, 1, c);
        p.fillRect(0, 0, 1, h, c);
        p.fillRect(w - 1, 0, 1, h, c);
        return;
    }
    // A sunken edge: shadow above and left of the highlight, the dark shadow inside.
    p.fillRect(0, 0, w - 1, 1, col(gdi::clBtnShadow));
    p.fillRect(0, 0, 1, h - 1, col(gdi::clBtnShadow));
    p.fillRect(0, h - 1, w, 1, col(gdi::clBtnHighlight));
    p.fillRect(w - 1, 0, 1, h, col(gdi::clBtnHighlight));
    p.fillRect(1, 1, w - 3, 1, col(gdi::cl3DDkShadow));
    p.fillRect(1, 1, 1, h - 3, col(gdi::cl3DDkShadow));
    p.fillRect(1, h - 2, w - 2, 1, col(gdi::cl3DLight));
    p.fillRect(w - 2, 1, 1, h - 2, col(gdi::cl3DLight));
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
    try {
        gdi::TRect rect = ClientRect();
        AlignControls(nullptr, rect);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AlignControls(TControl*, gdi::TRect& rect) {
    AdjustClientRect(rect);
    int l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
    auto place = [](TControl* c, int x, int y, int w, int h) {
        c->SetBounds(x, y, std::max(0, w), std::max(0, h));
    };
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
}

void TWinControl::KeyDown(unsigned short& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(unsigned short& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(TKeyChar& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

// ---- Painted controls -----------------------------------------------------------------------

TGraphicControl::TGraphicControl(rtl::TComponent* owner) : TControl(owner, nullptr) {
    SetClickEvents(true);
    canvas_ = std::make_unique<gdi::TCanvas>();
    canvas_->OnChange = [this](rtl::TObject*) {
        if (TWinControl* p = Parent(); p && !destroying_) p->SurfaceOf().ShowLater();
    };
}

TGraphicControl::~TGraphicControl() {
    canvas_->OnChange = nullptr;
    InvalidateInParent();  // the parent shows what was below
    destroying_ = true;
}

gdi::TCanvas* TGraphicControl::Canvas() {
    TWinControl* p = Parent();
    if (!p) {
        canvas_->SetTarget(nullptr);
        return canvas_.get();
    }
    Surface& s = p->SurfaceOf();
    s.Validate();
    const int b = p->BorderExtent();
    if (canvas_->Target() != &s.image) canvas_->SetTarget(&s.image);
    canvas_->SetOrigin({b + Left(), b + Top()});
    const QRect mine(b + Left(), b + Top(), Width(), Height());
    canvas_->SetClipRegion(QRegion(mine & QRect(b, b, p->ClientWidth(), p->ClientHeight())));
    return canvas_.get();
}

void TGraphicControl::DrawOnSurface(const std::function<void(QPainter&)>& f) {
    TWinControl* p = Parent();
    if (!p) return;
    Surface& s = p->SurfaceOf();
    s.Validate();
    const int b = p->BorderExtent();
    QPainter painter(&s.image);
    const QRect mine(b + Left(), b + Top(), Width(), Height());
    painter.setClipRect(mine & QRect(b, b, p->ClientWidth(), p->ClientHeight()));
    painter.translate(mine.topLeft());
    f(painter);
    painter.end();
    s.ShowLater();
}

void TGraphicControl::Invalidate() { InvalidateInParent(); }

void TGraphicControl::Repaint() { TControl::Repaint(); }

void TGraphicControl::Dispatch(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        Paint();
        return;
    }
    TControl::Dispatch(m);
}

void TGraphicControl::Paint() {
    if (OnPaint) OnPaint(this);
}

TCustomControl::TCustomControl(rtl::TComponent* owner) : TCustomControl(owner, new Hooked<QWidget>) {}

TCustomControl::TCustomControl(rtl::TComponent* owner, QWidget* widget) : TWinControl(owner, widget) {
    SetSelfDrawn(true);
    SetClickEvents(true);
}

TCustomControl::~TCustomControl() { destroying_ = true; }

void TCustomControl::Paint() {
    if (OnPaint) OnPaint(this);
}

// ---- Caret ----------------------------------------------------------------------------------
namespace {
struct CaretState {
    TWinControl* owner = nullptr;
    std::weak_ptr<void> life;
    int width = 0, height = 0, x = 0, y = 0;
    int hideCount = 1;
    bool phaseOn = true;
    bool blinkSet = false;
    unsigned blink = 0;
    QPointer<QTimer> timer;
    QImage shape;  // a bitmap caret's pixels; null for a solid caret
};

CaretState& Caret() {
    static CaretState c;
    return c;
}

TWinControl* LiveCaretOwner() {
    CaretState& c = Caret();
    if (!c.owner || c.life.expired()) return nullptr;
    return c.owner;
}

void UpdateCaretOwner() {
    if (TWinControl* o = LiveCaretOwner(); o && !o->Destroying()) {
        const int b = o->BorderExtent();
        const CaretState& c = Caret();
        o->ClientWidget()->update(QRect(b + c.x, b + c.y, c.width, c.height));
    }
}

void RestartBlink() {
    CaretState& c = Caret();
    if (!c.timer) {
        c.timer = new QTimer(QCoreApplication::instance());  // owned by the application
        QObject::connect(c.timer, &QTimer::timeout, [] {
            Caret().phaseOn = !Caret().phaseOn;
            UpdateCaretOwner();
        });
    }
    c.phaseOn = true;
    const unsigned ms = GetCaretBlinkTime();
    if (LiveCaretOwner() && c.hideCount <= 0 && ms > 0) c.timer->start(static_cast<int>(ms));
    else c.timer->stop();
}
}  // namespace

bool detail::CaretOwnerIs(const TWinControl* c) { return Caret().owner == c; }

void detail::Surface::PaintCaret(TWinControl* c, QPainter& p) {
    if (LiveCaretOwner() != c || !CaretVisible()) return;
    const CaretState& s = Caret();
    const int b = c->BorderExtent();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    if (!s.shape.isNull()) p.drawImage(QPoint(b + s.x, b + s.y), s.shape);
    else p.fillRect(QRect(b + s.x, b + s.y, s.width, s.height), Qt::white);
}

bool CreateCaret(TWinControl* owner, int width, int height) {
    if (!owner) return false;
    EnsureQtApplication();
    DestroyCaret();
    CaretState& c = Caret();
    c.owner = owner;
    c.life = owner->LifeToken();
    c.width = std::max(1, width);
    c.height = std::max(1, height);
    c.shape = QImage();
    c.x = c.y = 0;
    c.hideCount = 1;
    RestartBlink();
    return true;
}

bool DestroyCaret() {
    CaretState& c = Caret();
    if (!c.owner) return false;
    UpdateCaretOwner();
    c.owner = nullptr;
    c.life.reset();
    if (c.timer) c.timer->stop();
    return true;
}

bool ShowCaret(TWinControl* owner) {
    CaretState& c = Caret();
    if (!LiveCaretOwner() || (owner && owner != c.owner)) return false;
    if (c.hideCount > 0) --c.hideCount;
    RestartBlink();
    UpdateCaretOwner();
    return true;
}

bool HideCaret(TWinControl* owner) {
    CaretState& c = Caret();
    if (!LiveCaretOwner() || (owner && owner != c.owner)) return false;
    ++c.hideCount;
    RestartBlink();
    UpdateCaretOwner();
    return true;
}

bool SetCaretPos(int x, int y) {
    CaretState& c = Caret();
    if (!LiveCaretOwner()) return false;
    UpdateCaretOwner();
    c.x = x;
    c.y = y;
    RestartBlink();
    UpdateCaretOwner();
    return true;
}

gdi::TPoint GetCaretPos() { return {Caret().x, Caret().y}; }

bool CreateCaret(TWinControl* owner, const gdi::TBitmap* bitmap, int width, int height) {
    if (!bitmap || bitmap->Empty()) return CreateCaret(owner, width, height);
    if (!CreateCaret(owner, bitmap->Width(), bitmap->Height())) return false;
    Caret().shape = bitmap->Image().convertToFormat(QImage::Format_RGB32);
    return true;
}

TWinControl* GetCaretOwner() { return LiveCaretOwner(); }

gdi::TSize GetCaretSize() {
    const CaretState& c = Caret();
    if (!LiveCaretOwner()) return {0, 0};
    return {c.width, c.height};
}

unsigned GetCaretBlinkTime() {
    CaretState& c = Caret();
    if (!c.blinkSet) {
        EnsureQtApplication();
        const int flash = QGuiApplication::styleHints()->cursorFlashTime();
        c.blink = flash > 0 ? static_cast<unsigned>(flash / 2) : 0;
        c.blinkSet = true;
    }
    return c.blink;
}

void SetCaretBlinkTime(unsigned ms) {
    CaretState& c = Caret();
    c.blink = ms;
    c.blinkSet = true;
    if (LiveCaretOwner()) RestartBlink();
}

bool CaretVisible() {
    const CaretState& c = Caret();
    return LiveCaretOwner() && c.hideCount <= 0 && c.phaseOn;
}

// ---- Screen ---------------------------------------------------------------------------------

namespace {

struct WaitCursors {
    int hourGlass = 0, appStart = 0;
    TCursor shown = crDefault;  // the application's one override cursor
};
WaitCursors& Waits() {
    static WaitCursors w;
    return w;
}

// The screen cursor, else the wait cursor of the living scopes, as the one override cursor.
void ShowScreenCursor() {
    WaitCursors& w = Waits();
    TCursor wanted = Screen()->Cursor();
    if (wanted == crDefault) wanted = w.hourGlass > 0 ? crHourGlass : w.appStart > 0 ? crAppStart : crDefault;
    if (wanted == w.shown) return;
    EnsureQtApplication();
    if (wanted == crDefault) QGuiApplication::restoreOverrideCursor();
    else if (w.shown == crDefault) QGuiApplication::setOverrideCursor(QCursor(CursorShapeOf(wanted)));
    else QGuiApplication::changeOverrideCursor(QCursor(CursorShapeOf(wanted)));
    w.shown = wanted;
}

}  // namespace

void TScreen::SetCursor(TCursor c) {
    cursor_ = c;
    ShowScreenCursor();
}

TWaitCursor::TWaitCursor(TCursor Kind) : hourGlass_(Kind != crAppStart) {
    ++(hourGlass_ ? Waits().hourGlass : Waits().appStart);
    ShowScreenCursor();
}

TWaitCursor::~TWaitCursor() {
    --(hourGlass_ ? Waits().hourGlass : Waits().appStart);
    ShowScreenCursor();
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

gdi::TRect TScreen::WorkAreaRect() const {
    EnsureQtApplication();
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return {};
    const QRect g = s->availableGeometry();
    return gdi::Bounds(g.x(), g.y(), g.width(), g.height());
}

TScreen* Screen() {
    static TScreen screen;
    return &screen;
}

}  // namespace gui
