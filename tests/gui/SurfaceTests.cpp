// Windowless controls on their parent's surface, window messages and hooks, self-drawn windows
// with a border from their style, and the caret.
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QToolTip>

#include <string>
#include <vector>

#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

namespace {

QRgb Rgb(gdi::TColor c) { return gdi::ColorToQColor(c).rgb(); }

// A windowless control that logs the messages it sees and runs a paint routine.
class Probe : public TGraphicControl {
public:
    Probe(rtl::TComponent* owner, std::string name, std::vector<std::string>* log)
        : TGraphicControl(owner), name_(std::move(name)), log_(log) {}
    std::function<void(Probe*)> onPaintDo;
    std::vector<unsigned> seen;
    using TGraphicControl::Canvas;

protected:
    void WndProc(TMessage& m) override {
        seen.push_back(m.Msg);
        if (log_ && m.Msg == CM_MOUSEENTER) log_->push_back(name_ + "+");
        if (log_ && m.Msg == CM_MOUSELEAVE) log_->push_back(name_ + "-");
        if (m.Msg == WM_PAINT && log_) log_->push_back(name_ + ":paint");
        TGraphicControl::WndProc(m);
    }
    void Paint() override {
        if (onPaintDo) onPaintDo(this);
    }

private:
    std::string name_;
    std::vector<std::string>* log_;
};

// A self-drawn windowed control with a configurable style that logs its messages.
class Custom : public TCustomControl {
public:
    explicit Custom(rtl::TComponent* owner) : TCustomControl(owner) {}
    unsigned exStyle = 0, style = 0;
    std::vector<std::string>* log = nullptr;
    std::vector<char32_t> chars, pressed;
    bool eraseHandledWithoutDrawing = false;
    std::function<void(Custom*)> onPaintDo;
    std::vector<unsigned> seen;
    using TWinControl::WindowCanvas;

protected:
    void CreateParams(TCreateParams& p) override {
        TCustomControl::CreateParams(p);
        p.Style |= style;
        p.ExStyle |= exStyle;
    }
    void WndProc(TMessage& m) override {
        seen.push_back(m.Msg);
        if (log) {
            if (m.Msg == WM_NCPAINT) log->push_back("ncpaint");
            if (m.Msg == WM_ERASEBKGND) log->push_back("erase");
            if (m.Msg == WM_PAINT) log->push_back("paint");
        }
        if (m.Msg == WM_CHAR) chars.push_back(TWMChar{m}.CharCode());
        if (m.Msg == WM_ERASEBKGND && eraseHandledWithoutDrawing) {
            m.Result = 1;
            return;
        }
        if (m.Msg == WM_USER + 3) {
            m.Result = 42;
            return;
        }
        TCustomControl::WndProc(m);
    }
    void KeyPress(TKeyChar& key) override {
        pressed.push_back(key);
        TCustomControl::KeyPress(key);
    }
    void Paint() override {
        if (onPaintDo) onPaintDo(this);
    }
};

void MoveMouse(QWidget* w, QPoint p, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Press(QWidget* w, QPoint p, QEvent::Type t) {
    const Qt::MouseButtons after = t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent e(t, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton, after, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

}  // namespace

class guiSurface : public GuiFixture {
protected:
    TForm* form = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 300, 200);
        form->Show();
        ASSERT_TRUE(WaitExposed(form->Widget()));
    }
    QImage Grab() { return form->ClientWidget()->grab().toImage(); }
};

TEST_F(guiSurface, TransparentGraphicControlCombinesWithTheParentsPixels) {
    form->SetColor(static_cast<gdi::TColor>(0xA2D3F9));
    auto* p = new Probe(form, "p", nullptr);
    p->SetParent(form);
    p->SetBounds(30, 40, 20, 20);
    gdi::TColor underneath = 0;
    p->onPaintDo = [&](Probe* self) {
        gdi::TCanvas* c = self->Canvas();
        underneath = c->Pixels(5, 5);
        DrawWhiteMaskThenBlackImage(*c);
    };
    const QImage shot = Grab();
    EXPECT_EQ(underneath, static_cast<gdi::TColor>(0xA2D3F9));
    for (QPoint at : {QPoint(30, 40), QPoint(35, 45), QPoint(49, 59)})
        EXPECT_EQ(shot.pixel(at) & 0xFFFFFF, 0xF9D3A2u) << at.x() << "," << at.y();
}

TEST_F(guiSurface, CanvasIsClippedToTheControlAndDrawingOutsidePaintingIsShown) {
    form->SetColor(gdi::clWhite);
    auto* p = new Probe(form, "p", nullptr);
    p->SetParent(form);
    p->SetBounds(10, 10, 20, 20);
    Grab();
    gdi::TCanvas* c = p->Canvas();
    c->Brush()->SetColor(gdi::clRed);
    c->FillRect(gdi::Rect(-5, -5, 40, 40));  // larger than the control
    ASSERT_TRUE(ProcessUntil([&] { return (Grab().pixel(10, 10) & 0xFFFFFF) == 0xFF0000u; }));
    const QImage shot = Grab();
    EXPECT_EQ(shot.pixel(29, 29) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shot.pixel(9, 9) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(shot.pixel(30, 30) & 0xFFFFFF, 0xFFFFFFu);
    // A repaint through the parent paints the control anew (its Paint draws nothing).
    p->Invalidate();
    EXPECT_TRUE(ProcessUntil([&] { return (Grab().pixel(15, 15) & 0xFFFFFF) == 0xFFFFFFu; }));
    // Freed, its area shows the parent again.
    p->Canvas()->FillRect(gdi::Rect(0, 0, 20, 20));
    ASSERT_TRUE(ProcessUntil([&] { return (Grab().pixel(15, 15) & 0xFFFFFF) == 0xFF0000u; }));
    delete p;
    EXPECT_TRUE(ProcessUntil([&] { return (Grab().pixel(15, 15) & 0xFFFFFF) == 0xFFFFFFu; }));
}

TEST_F(guiSurface, GraphicChildrenPaintInZOrderAfterTheParentsPaintSteps) {
    std::vector<std::string> log;
    auto* host = new Custom(form);
    host->SetParent(form);
    host->SetBounds(0, 0, 100, 100);
    host->exStyle = WS_EX_CLIENTEDGE;
    host->log = &log;
    auto* a = new Probe(form, "a", &log);
    a->SetParent(host);
    a->SetBounds(0, 0, 50, 50);
    auto* b = new Probe(form, "b", &log);
    b->SetParent(host);
    b->SetBounds(20, 20, 50, 50);
    auto* hidden = new Probe(form, "hidden", &log);
    hidden->SetParent(host);
    hidden->SetVisible(false);
    a->BringToFront();
    QApplication::processEvents();
    log.clear();
    host->Repaint();
    EXPECT_EQ(log, (std::vector<std::string>{"ncpaint", "erase", "paint", "b:paint", "a:paint"}));
}

TEST_F(guiSurface, HandledEraseKeepsThePixelsAndStyleGivesTheBorder) {
    auto* c = new Custom(form);
    c->exStyle = WS_EX_CLIENTEDGE;
    c->SetParent(form);
    c->SetBounds(10, 10, 50, 20);
    c->SetColor(gdi::clWhite);
    EXPECT_EQ(c->ClientWidth(), 46);
    EXPECT_EQ(c->ClientHeight(), 16);
    TMessage sized;
    TWindowHook sizes(c, [&](TMessage& m, const TWndMethod& next) {
        if (m.Msg == WM_SIZE) sized = m;
        next(m);
    });
    c->SetBounds(10, 10, 50, 21);
    EXPECT_EQ(sized.Msg, WM_SIZE);
    EXPECT_EQ(TWMSize{sized}.Width(), 46);   // the new client size
    EXPECT_EQ(TWMSize{sized}.Height(), 17);
    c->SetBounds(10, 10, 50, 20);
    EXPECT_EQ(c->ClientRect(), gdi::Rect(0, 0, 46, 16));
    const QImage shot = c->Widget()->grab().toImage();
    struct Case {
        int x, y;
        gdi::TColor color;
    } cases[] = {
        {0, 0, gdi::clBtnShadow},     {25, 0, gdi::clBtnShadow},     {0, 10, gdi::clBtnShadow},
        {1, 1, gdi::cl3DDkShadow},    {25, 1, gdi::cl3DDkShadow},    {1, 10, gdi::cl3DDkShadow},
        {49, 19, gdi::clBtnHighlight}, {25, 19, gdi::clBtnHighlight}, {49, 10, gdi::clBtnHighlight},
        {48, 18, gdi::cl3DLight},     {25, 18, gdi::cl3DLight},      {48, 10, gdi::cl3DLight},
        {2, 2, gdi::clWhite},         {47, 17, gdi::clWhite},
    };
    for (const Case& k : cases) EXPECT_EQ(shot.pixel(k.x, k.y), Rgb(k.color)) << k.x << "," << k.y;

    // The client canvas starts inside the border; a handled erase leaves what is there.
    c->Canvas()->SetPixels(0, 0, gdi::clRed);
    ASSERT_TRUE(ProcessUntil([&] { return c->Widget()->grab().toImage().pixel(2, 2) == Rgb(gdi::clRed); }));
    c->eraseHandledWithoutDrawing = true;
    c->Repaint();
    EXPECT_EQ(c->Widget()->grab().toImage().pixel(2, 2), Rgb(gdi::clRed));
    c->eraseHandledWithoutDrawing = false;
    c->Repaint();
    EXPECT_EQ(c->Widget()->grab().toImage().pixel(2, 2), Rgb(gdi::clWhite));

    // A plain border is one pixel; RecreateWnd applies a changed style, keeping the text.
    c->SetCaption("bleibt");
    c->exStyle = 0;
    c->style = WS_BORDER;
    c->RecreateWnd();
    EXPECT_EQ(c->ClientWidth(), 48);
    EXPECT_EQ(c->Caption(), "bleibt");
    const QImage plain = c->Widget()->grab().toImage();
    EXPECT_EQ(plain.pixel(0, 0), Rgb(gdi::clWindowFrame));
    EXPECT_EQ(plain.pixel(1, 1), Rgb(gdi::clWhite));
}

TEST_F(guiSurface, TypedCharactersArriveAsCodePoints) {
    auto* c = new Custom(form);
    c->SetParent(form);
    c->SetBounds(10, 10, 50, 20);
    QApplication::setActiveWindow(form->Widget());
    c->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return c->Focused(); }));
    for (const QString& t : {QStringLiteral("a"), QStringLiteral("ä"), QStringLiteral("µ")}) {
        QKeyEvent e(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, t);
        QApplication::sendEvent(c->Widget(), &e);
    }
    EXPECT_EQ(c->chars, (std::vector<char32_t>{0x61, 0xE4, 0xB5}));
    EXPECT_EQ(c->pressed, (std::vector<char32_t>{0x61, 0xE4, 0xB5}));
    // A character beyond the 16-bit range is one message.
    c->chars.clear();
    QKeyEvent emoji(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUcs4(U"\U0001F600", 1));
    QApplication::sendEvent(c->Widget(), &emoji);
    EXPECT_EQ(c->chars, (std::vector<char32_t>{0x1F600}));
}

TEST_F(guiSurface, MouseEnterAndLeaveFollowTheTopmostGraphicControl) {
    std::vector<std::string> log;
    auto* a = new Probe(form, "A", &log);
    a->SetParent(form);
    a->SetBounds(10, 10, 50, 20);
    auto* b = new Probe(form, "B", &log);  // created later: above A
    b->SetParent(form);
    b->SetBounds(40, 10, 50, 20);
    auto* off = new Probe(form, "off", &log);  // disabled: the mouse passes to the form
    off->SetParent(form);
    off->SetBounds(120, 10, 20, 20);
    off->SetEnabled(false);
    for (int x = 0; x <= 150; x += 5) MoveMouse(form->ClientWidget(), QPoint(x, 15));
    EXPECT_EQ(log, (std::vector<std::string>{"A+", "A-", "B+", "B-"}));
    EXPECT_TRUE(!a->MouseInControl() && !b->MouseInControl());
}

TEST_F(guiSurface, ParentRoutesClicksWithCaptureToTheGraphicControl) {
    auto* a = new Probe(form, "A", nullptr);
    a->SetParent(form);
    a->SetBounds(10, 10, 50, 20);
    auto* b = new Probe(form, "B", nullptr);
    b->SetParent(form);
    b->SetBounds(100, 10, 50, 20);
    int clicks = 0, formDowns = 0, upX = -1, bUps = 0;
    a->OnClick = [&](rtl::TObject*) { ++clicks; };
    a->OnMouseUp = [&](rtl::TObject*, TMouseButton, TShiftState, int x, int) { upX = x; };
    b->OnMouseUp = [&](rtl::TObject*, TMouseButton, TShiftState, int, int) { ++bUps; };
    form->OnMouseDown = [&](rtl::TObject*, TMouseButton, TShiftState, int, int) { ++formDowns; };
    SendClick(form->ClientWidget(), QPoint(20, 15));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(formDowns, 0);
    // Pressed on A, released over B: A keeps the mouse, gets the release, and no click runs.
    Press(form->ClientWidget(), QPoint(20, 15), QEvent::MouseButtonPress);
    MoveMouse(form->ClientWidget(), QPoint(110, 15), Qt::LeftButton);
    Press(form->ClientWidget(), QPoint(110, 15), QEvent::MouseButtonRelease);
    EXPECT_EQ(upX, 100);
    EXPECT_EQ(bUps, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->CaptureControl(), nullptr);
    SendClick(form->ClientWidget(), QPoint(5, 100));
    EXPECT_EQ(formDowns, 1);
}

TEST_F(guiSurface, CursorOfTheGraphicControlUnderTheMouseIsShown) {
    auto* a = new Probe(form, "A", nullptr);
    a->SetParent(form);
    a->SetBounds(10, 10, 50, 20);
    a->SetCursor(crHandPoint);
    MoveMouse(form->ClientWidget(), QPoint(20, 15));
    EXPECT_EQ(form->ClientWidget()->cursor().shape(), Qt::PointingHandCursor);
    MoveMouse(form->ClientWidget(), QPoint(200, 150));
    EXPECT_EQ(form->ClientWidget()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(guiSurface, PerformPostMessageAndNotifyControls) {
    auto* c = new Custom(form);
    c->SetParent(form);
    EXPECT_EQ(c->Perform(WM_USER + 3), 42);
    EXPECT_EQ(SendMessage(c, WM_USER + 3), 42);
    EXPECT_EQ(c->Perform(WM_USER + 4), 0);

    // Posted inside a handler: arrives after the handler has returned.
    std::vector<std::string> order;
    TWindowHook hook(c, [&](TMessage& m, const TWndMethod& next) {
        if (m.Msg == WM_USER + 10) {
            order.push_back("begin");
            PostMessage(c, WM_USER + 11);
            order.push_back("end");
            return;
        }
        if (m.Msg == WM_USER + 11) order.push_back("posted");
        next(m);
    });
    c->Perform(WM_USER + 10);
    ASSERT_TRUE(ProcessUntil([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<std::string>{"begin", "end", "posted"}));

    // NotifyControls reaches windowed and windowless children.
    auto* host = new TPanel(form);
    host->SetParent(form);
    auto* windowed = new Custom(form);
    windowed->SetParent(host);
    auto* windowless = new Probe(form, "w", nullptr);
    windowless->SetParent(host);
    host->NotifyControls(WM_USER + 20);
    auto has = [](const std::vector<unsigned>& v, unsigned m) { return std::find(v.begin(), v.end(), m) != v.end(); };
    EXPECT_TRUE(has(windowed->seen, WM_USER + 20));
    EXPECT_TRUE(has(windowless->seen, WM_USER + 20));
}

TEST_F(guiSurface, PostedMessageNeverReachesAFreedControl) {
    static int delivered = 0;
    struct Counter : TCustomControl {
        explicit Counter(rtl::TComponent* owner) : TCustomControl(owner) {}
        void WndProc(TMessage& m) override {
            if (m.Msg == WM_USER + 1) ++delivered;
            TCustomControl::WndProc(m);
        }
    };
    delivered = 0;
    auto* kept = new Counter(form);
    auto* freed = new Counter(form);
    PostMessage(kept, WM_USER + 1);
    PostMessage(freed, WM_USER + 1);
    delete freed;
    ASSERT_TRUE(ProcessUntil([&] { return delivered >= 1; }));
    ProcessFor(30);
    EXPECT_EQ(delivered, 1);
    (void)kept;
}

TEST_F(guiSurface, SettersSendTheNotifications) {
    auto* c = new Custom(form);
    c->SetParent(form);
    struct Case {
        const char* what;
        std::function<void()> change;
        unsigned msg;
    } cases[] = {
        {"enabled", [&] { c->SetEnabled(false); }, CM_ENABLEDCHANGED},
        {"visible", [&] { c->SetVisible(false); }, CM_VISIBLECHANGED},
        {"text", [&] { c->SetCaption("neu"); }, CM_TEXTCHANGED},
        {"color", [&] { c->SetColor(gdi::clRed); }, CM_COLORCHANGED},
        {"font", [&] { c->Font()->SetSize(14); }, CM_FONTCHANGED},
        {"cursor", [&] { c->SetCursor(crCross); }, CM_CURSORCHANGED},
    };
    for (const Case& k : cases) {
        c->seen.clear();
        k.change();
        EXPECT_NE(std::find(c->seen.begin(), c->seen.end(), k.msg), c->seen.end()) << k.what;
    }
}

TEST_F(guiSurface, WindowHooksChainAndComeOffInAnyOrder) {
    auto* c = new Custom(form);
    std::vector<std::string> order;
    auto first = std::make_unique<TWindowHook>(c, [&](TMessage& m, const TWndMethod& next) {
        if (m.Msg == WM_USER + 3) order.push_back("first");
        next(m);
    });
    auto second = std::make_unique<TWindowHook>(c, [&](TMessage& m, const TWndMethod& next) {
        if (m.Msg == WM_USER + 3) order.push_back("second");
        next(m);
        if (m.Msg == WM_USER + 3) m.Result += 1;
    });
    EXPECT_EQ(c->Perform(WM_USER + 3), 43);
    EXPECT_EQ(order, (std::vector<std::string>{"second", "first"}));
    first.reset();  // the older hook leaves; the newer one still passes on to the control
    order.clear();
    EXPECT_EQ(c->Perform(WM_USER + 3), 43);
    EXPECT_EQ(order, (std::vector<std::string>{"second"}));
    second.reset();
    EXPECT_EQ(c->Perform(WM_USER + 3), 42);
    // The control dies before its hook: the hook notices and comes off safely.
    TWindowHook late(c, [](TMessage& m, const TWndMethod& next) { next(m); });
    delete c;
    EXPECT_FALSE(late.Attached());
}

TEST_F(guiSurface, CaretShowAndHideAreCountedAndTheCaretInvertsThePixels) {
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    EXPECT_EQ(GetCaretBlinkTime(), static_cast<unsigned>(flash > 0 ? flash / 2 : 0));
    SetCaretBlinkTime(0);  // no blinking: the caret stays on while shown
    auto* c = new Custom(form);
    c->SetParent(form);
    c->SetBounds(10, 10, 60, 30);
    c->SetColor(gdi::clWhite);
    ASSERT_TRUE(CreateCaret(c, 2, 10));
    EXPECT_FALSE(CaretVisible());  // created hidden
    ASSERT_TRUE(SetCaretPos(5, 4));
    ShowCaret(c);
    EXPECT_TRUE(CaretVisible());
    HideCaret(c);
    HideCaret(c);
    ShowCaret(c);
    EXPECT_FALSE(CaretVisible());
    ShowCaret(c);
    EXPECT_TRUE(CaretVisible());
    const QImage shot = c->Widget()->grab().toImage();
    EXPECT_EQ(shot.pixel(5, 4), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(6, 13), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(7, 4), qRgb(255, 255, 255));
    EXPECT_EQ(GetCaretPos(), (gdi::TPoint{5, 4}));
    SetCaretBlinkTime(20);  // blinking: off and on again by itself
    EXPECT_TRUE(ProcessUntil([] { return !CaretVisible(); }));
    EXPECT_TRUE(ProcessUntil([] { return CaretVisible(); }));
    SetCaretBlinkTime(0);
    EXPECT_TRUE(DestroyCaret());
    EXPECT_FALSE(CaretVisible());
    EXPECT_FALSE(ShowCaret(c));
    // A caret whose window is freed goes with it.
    ASSERT_TRUE(CreateCaret(c, 1, 1));
    ShowCaret(c);
    delete c;
    EXPECT_FALSE(CaretVisible());
    SetCaretBlinkTime(static_cast<unsigned>(flash > 0 ? flash / 2 : 0));
}

TEST_F(guiSurface, FormCanvasDrawsOnTheClientArea) {
    form->SetColor(gdi::clWhite);
    Grab();
    form->Canvas()->Brush()->SetColor(gdi::clBlue);
    form->Canvas()->FillRect(gdi::Rect(5, 5, 10, 10));
    EXPECT_TRUE(ProcessUntil([&] { return (Grab().pixel(7, 7) & 0xFFFFFF) == 0x0000FFu; }));
}

TEST_F(guiSurface, GaugeAndImageDrawOnTheirParentsSurface) {
    form->SetColor(gdi::clWhite);
    auto* g = new TGauge(form);
    g->SetParent(form);
    g->SetBounds(10, 10, 100, 20);
    g->SetShowText(false);
    g->SetProgress(0);
    const QImage empty = Grab();
    g->SetProgress(100);
    ASSERT_TRUE(ProcessUntil([&] { return Grab().pixel(60, 20) != empty.pixel(60, 20); }));
    EXPECT_NE(Grab().pixel(60, 20) & 0xFFFFFF, 0xFFFFFFu);  // the bar is drawn
    EXPECT_EQ(g->Widget(), nullptr);                        // without a window of its own
    EXPECT_EQ(Grab().pixel(150, 20) & 0xFFFFFF, 0xFFFFFFu); // and nowhere else
}

TEST_F(guiSurface, HintOfTheGraphicControlUnderTheMouseIsShown) {
    auto* a = new Probe(form, "A", nullptr);
    a->SetParent(form);
    a->SetBounds(10, 10, 50, 20);
    a->SetHint("Etikett");
    QWidget* client = form->ClientWidget();
    QHelpEvent e(QEvent::ToolTip, QPoint(20, 15), client->mapToGlobal(QPoint(20, 15)));
    QApplication::sendEvent(client, &e);
    EXPECT_TRUE(e.isAccepted());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Etikett"));
    QToolTip::hideText();
}
