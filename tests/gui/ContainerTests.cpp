// Self-drawn containers (form client, panel, group box) and the overlay that shows drawing on a
// standard control's window.
#include <QApplication>
#include <QImage>
#include <QPalette>

#include <functional>
#include <string>
#include <vector>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

namespace {

QRgb Rgb(gdi::TColor c) { return gdi::ColorToQColor(c).rgb(); }

// A windowless control that runs a paint routine.
class Painted : public TGraphicControl {
public:
    explicit Painted(rtl::TComponent* owner) : TGraphicControl(owner) {}
    std::function<void(Painted*)> onPaintDo;
    using TGraphicControl::Canvas;

protected:
    void Paint() override {
        if (onPaintDo) onPaintDo(this);
    }
};

// A standard control with its window canvas reachable.
template <class T>
class Drawable : public T {
public:
    explicit Drawable(rtl::TComponent* owner) : T(owner) {}
    using TWinControl::WindowCanvas;
};

}  // namespace

class guiContainer : public GuiFixture {
protected:
    TForm* form = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 320, 240);
        form->Show();
        ASSERT_TRUE(WaitExposed(form->Widget()));
    }
    static QImage Grab(TControl* c) { return c->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// SRCAND of a white mask and SRCPAINT of a black image leave the container's pixels as they
// are, and the canvas reads the container's pixel, on a panel and on a group box alike.
TEST_F(guiContainer, GraphicControlCombinesWithThePanelsAndTheGroupBoxsPixels) {
    const gdi::TColor back = static_cast<gdi::TColor>(0xA2D3F9);
    std::vector<TWinControl*> hosts;
    auto* panel = new TPanel(form);
    auto* group = new TGroupBox(form);
    group->SetCaption("Gruppe");
    for (TWinControl* h : std::vector<TWinControl*>{panel, group}) {
        h->SetParent(form);
        h->SetBounds(h == panel ? 0 : 150, 0, 140, 100);
        h->SetColor(back);
        hosts.push_back(h);
    }
    for (TWinControl* host : hosts) {
        SCOPED_TRACE(host == panel ? "panel" : "group box");
        const QImage before = Grab(host);
        auto* p = new Painted(form);
        p->SetParent(host);
        p->SetBounds(30, 40, 20, 20);
        gdi::TColor underneath = 0;
        p->onPaintDo = [&](Painted* self) {
            gdi::TCanvas* c = self->Canvas();
            underneath = c->Pixels(5, 5);
            DrawWhiteMaskThenBlackImage(*c);
        };
        const QImage after = Grab(host);
        EXPECT_EQ(Rgb(underneath), before.pixel(35, 45));
        for (QPoint at : {QPoint(30, 40), QPoint(35, 45), QPoint(49, 59)})
            EXPECT_EQ(after.pixel(at), before.pixel(at)) << at.x() << "," << at.y();
        if (host == panel) {
            EXPECT_EQ(underneath, back);
            EXPECT_EQ(after.pixel(35, 45) & 0xFFFFFF, 0xF9D3A2u);
        }
    }
}

TEST_F(guiContainer, PanelDrawsBevelsAndBorderWidthFromTheEdgeInwards) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 60, 40);
    panel->SetColor(gdi::clWhite);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(1);
    panel->SetBevelInner(bvLowered);
    const QPalette& pal = panel->Widget()->palette();
    const QRgb light = pal.color(QPalette::Light).rgb(), dark = pal.color(QPalette::Dark).rgb();
    const QRgb white = Rgb(gdi::clWhite);
    ASSERT_NE(light, dark);
    const QImage shot = Grab(panel);
    struct Case {
        int x, y;
        QRgb color;
    } cases[] = {
        // raised outer bevel, two lines: top-right and bottom-left corners in the shadow
        {0, 0, light}, {30, 0, light}, {0, 20, light}, {58, 0, light}, {59, 0, dark},
        {0, 38, light}, {0, 39, dark}, {59, 20, dark}, {30, 39, dark}, {1, 1, light}, {58, 20, dark},
        // one line of Color, then the lowered inner bevel, then the inside
        {2, 2, white}, {57, 37, white}, {3, 3, dark}, {4, 20, dark}, {56, 36, light}, {55, 20, light},
        {5, 5, white}, {30, 20, white},
    };
    for (const Case& k : cases) EXPECT_EQ(shot.pixel(k.x, k.y), k.color) << k.x << "," << k.y;

    // No outer bevel: Color reaches the edge; bsSingle puts a sunken client edge around it.
    panel->SetBevelOuter(bvNone);
    panel->SetBevelInner(bvNone);
    panel->SetBorderStyle(bsSingle);
    EXPECT_EQ(panel->ClientWidth(), 56);
    EXPECT_EQ(panel->ClientHeight(), 36);
    const QImage edged = Grab(panel);
    EXPECT_EQ(edged.pixel(0, 0), Rgb(gdi::clBtnShadow));
    EXPECT_EQ(edged.pixel(1, 1), Rgb(gdi::cl3DDkShadow));
    EXPECT_EQ(edged.pixel(59, 39), Rgb(gdi::clBtnHighlight));
    EXPECT_EQ(edged.pixel(2, 2), white);
    EXPECT_EQ(edged.pixel(57, 37), white);
}

TEST_F(guiContainer, AlignedChildrenStayInsideThePanelsBevelsAndBorderWidth) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 100, 60);
    panel->SetBevelWidth(2);
    auto* fill = new TPanel(form);
    fill->SetParent(panel);
    fill->SetAlign(alClient);
    EXPECT_EQ(fill->BoundsRect(), gdi::Rect(2, 2, 98, 58));
    panel->SetBorderWidth(1);
    panel->SetBevelInner(bvLowered);
    EXPECT_EQ(fill->BoundsRect(), gdi::Rect(5, 5, 95, 55));
    panel->SetBorderStyle(bsSingle);  // the client area shrinks by the 2-pixel edge
    EXPECT_EQ(fill->BoundsRect(), gdi::Rect(5, 5, 91, 51));
    panel->SetBevelOuter(bvNone);
    EXPECT_EQ(fill->BoundsRect(), gdi::Rect(3, 3, 93, 53));
}

TEST_F(guiContainer, PanelCaptionIsCentredVerticallyAndPlacedByAlignment) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 200, 41);
    panel->SetColor(gdi::clWhite);
    panel->Font()->SetColor(gdi::clBlack);
    panel->SetCaption("Feld");
    // The columns and rows holding text pixels (mostly black: the letters are smoothed).
    auto inkBox = [&] {
        const QImage s = Grab(panel);
        QRect box;
        for (int y = 1; y < s.height() - 1; ++y)
            for (int x = 1; x < s.width() - 1; ++x)
                if (qGray(s.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect centred = inkBox();
    ASSERT_FALSE(centred.isEmpty());
    EXPECT_LE(std::abs(centred.left() - (199 - centred.right())), 2);
    EXPECT_LE(std::abs(centred.top() - (40 - centred.bottom())), 6);
    panel->SetAlignment(taLeftJustify);
    EXPECT_LE(inkBox().left(), 3);
    panel->SetAlignment(taRightJustify);
    EXPECT_GE(inkBox().right(), 196);
    panel->SetCaption("");
    EXPECT_TRUE(inkBox().isEmpty());
}

TEST_F(guiContainer, ParentColorFollowsTheParentUntilColorIsSet) {
    auto* group = new TGroupBox(form);
    auto* panel = new TPanel(form);
    group->SetParent(form);
    panel->SetParent(form);
    EXPECT_TRUE(group->ParentColor());
    EXPECT_FALSE(panel->ParentColor());
    form->SetColor(gdi::clAqua);
    EXPECT_EQ(group->Color(), gdi::clAqua);
    EXPECT_EQ(panel->Color(), gdi::clBtnFace);
    panel->SetParentColor(true);
    EXPECT_EQ(panel->Color(), gdi::clAqua);
    // A child with ParentColor follows through a chain of containers.
    auto* inner = new TPanel(form);
    inner->SetParent(group);
    inner->SetParentColor(true);
    group->SetColor(gdi::clYellow);
    EXPECT_FALSE(group->ParentColor());
    EXPECT_EQ(inner->Color(), gdi::clYellow);
    form->SetColor(gdi::clLime);
    EXPECT_EQ(group->Color(), gdi::clYellow);
    EXPECT_EQ(panel->Color(), gdi::clLime);
    EXPECT_EQ(Grab(panel).pixel(20, 20), Rgb(gdi::clLime));
}

TEST_F(guiContainer, FormClientErasesThenPaintsThenItsGraphicControls) {
    std::vector<std::string> log;
    TWindowHook hook(form, [&](TMessage& m, const TWndMethod& next) {
        if (m.Msg == WM_ERASEBKGND) log.push_back("erase");
        next(m);
    });
    form->SetColor(gdi::clWhite);
    form->OnPaint = [&](rtl::TObject*) {
        log.push_back("form");
        form->Canvas()->Brush()->SetColor(gdi::clRed);
        form->Canvas()->FillRect(gdi::Rect(0, 0, 40, 40));
    };
    auto* p = new Painted(form);
    p->SetParent(form);
    p->SetBounds(20, 20, 40, 40);
    gdi::TColor seen = 0;
    p->onPaintDo = [&](Painted* self) {
        log.push_back("control");
        seen = self->Canvas()->Pixels(0, 0);
    };
    QApplication::processEvents();
    log.clear();
    form->Repaint();
    EXPECT_EQ(log, (std::vector<std::string>{"erase", "form", "control"}));
    EXPECT_EQ(seen, gdi::clRed);  // the graphic control sees what the form's Paint drew
    const QImage shot = Grab(form);
    const QPoint origin = form->ClientWidget()->mapTo(form->Widget(), QPoint(0, 0));
    EXPECT_EQ(shot.pixel(origin + QPoint(5, 5)), Rgb(gdi::clRed));
    EXPECT_EQ(shot.pixel(origin + QPoint(100, 100)), Rgb(gdi::clWhite));
}

// Drawing on a standard control's window outside painting shows above the Qt widget until the
// control is invalidated; the control's own look stays underneath and takes the mouse.
TEST_F(guiContainer, OverlayShowsDrawingOnStandardControlsUntilTheyRepaint) {
    auto* edit = new Drawable<TEdit>(form);
    auto* combo = new Drawable<TComboBox>(form);
    auto* grid = new Drawable<TStringGrid>(form);
    struct Case {
        const char* name;
        TWinControl* control;
        std::function<gdi::TCanvas*()> canvas;
    } cases[] = {
        {"edit", edit, [&] { return edit->WindowCanvas(); }},
        {"combo", combo, [&] { return combo->WindowCanvas(); }},
        {"grid", grid, [&] { return grid->WindowCanvas(); }},
    };
    int top = 0;
    for (const Case& k : cases) {
        k.control->SetParent(form);
        k.control->SetBounds(10, top, 120, k.control == grid ? 80 : 24);
        top += k.control->Height() + 4;
    }
    // The edit's text cursor, if it has the focus, does not blink between two grabs.
    const int flash = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    QApplication::processEvents();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const QImage plain = Grab(k.control);
        gdi::TCanvas* c = k.canvas();
        c->Brush()->SetColor(gdi::clRed);
        c->FrameRect(gdi::Rect(0, 0, k.control->Width(), k.control->Height()));
        const QImage framed = Grab(k.control);
        EXPECT_EQ(framed.pixel(0, 0), Rgb(gdi::clRed));
        EXPECT_EQ(framed.pixel(k.control->Width() - 1, k.control->Height() - 1), Rgb(gdi::clRed));
        EXPECT_EQ(framed.pixel(k.control->Width() / 2, k.control->Height() / 2),
                  plain.pixel(k.control->Width() / 2, k.control->Height() / 2));
        k.control->Invalidate();
        EXPECT_EQ(Grab(k.control), plain);
        // Resizing clears what was drawn as well.
        c->FrameRect(gdi::Rect(0, 0, 10, 10));
        EXPECT_EQ(Grab(k.control).pixel(0, 0), Rgb(gdi::clRed));
        k.control->SetWidth(k.control->Width() + 1);
        EXPECT_NE(Grab(k.control).pixel(0, 0), Rgb(gdi::clRed));
    }
    // The mouse finds the edit under what was drawn on it.
    edit->WindowCanvas()->FillRect(gdi::Rect(0, 0, 120, 24));
    const QPoint inside = edit->Widget()->mapTo(form->Widget(), QPoint(60, 12));
    EXPECT_EQ(Grab(edit).pixel(60, 12), Rgb(gdi::clRed));
    EXPECT_EQ(form->Widget()->childAt(inside), edit->Widget());
    QApplication::setCursorFlashTime(flash);
}
