// The library's panels: the window border of bmWindows, children aligned inside the bevel, the
// flat frame at rest and under the mouse, and the background bitmap handed down from a library
// parent or the shaped form of the parent form.
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QImage>

#include "components/controls/KitCustomBevelPanel.h"
#include "tests/gui/GuiFixture.h"

using namespace kit;
using namespace gdi;

namespace {

QRgb Rgb(TColor c) { return ColorToQColor(c).rgb(); }

class Panel : public TKitCustomPanel {
public:
    explicit Panel(rtl::TComponent* owner) : TKitCustomPanel(owner) {}
};

class BevelPanel : public TKitCustomBevelPanel {
public:
    explicit BevelPanel(rtl::TComponent* owner) : TKitCustomBevelPanel(owner) {}
    unsigned Style() {
        TCreateParams p;
        CreateParams(p);
        return p.Style;
    }
    unsigned ExStyle() {
        TCreateParams p;
        CreateParams(p);
        return p.ExStyle;
    }
};

// A library parent whose background is a bitmap with a distinct colour in every pixel.
class Backdrop : public TKitCustomControl {
public:
    explicit Backdrop(rtl::TComponent* owner) : TKitCustomControl(owner) {
        bmp.SetSize(200, 200);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x) bmp.Canvas()->SetPixels(x, y, Code(x, y));
    }
    static TColor Code(int x, int y) { return static_cast<TColor>((x << 8) | y); }
    bool HasBackBitmap() override { return true; }
    TBitmap* GetBackBitmap() override { return &bmp; }
    void BackMapPoint(TPoint P, TPoint& R) override { R = TPoint{P.X + shift, P.Y + shift}; }
    TBitmap bmp;
    int shift = 7;
};

// A shaped form with a background.
class Shape : public TKitFormShape {
public:
    explicit Shape(rtl::TComponent* owner) : TKitFormShape(owner) { bmp.SetSize(50, 50); }
    bool HasBackground() const override { return true; }
    TBitmap* BackgroundBitmap() const override { return &bmp; }
    mutable TBitmap bmp;
};

class kitPanels : public GuiFixture {
protected:
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 400, 300);
        form->Show();
    }
    QImage Shot(gui::TWinControl* c) {
        QCoreApplication::processEvents();
        return c->Widget()->grab().toImage();
    }
    gui::TForm* form = nullptr;
};

TEST_F(kitPanels, WindowsModeGivesTheWindowBorder) {
    auto* p = new BevelPanel(form);
    p->SetParent(form);
    p->Bevel()->SetMode(bmWindows);
    EXPECT_NE(p->ExStyle() & gui::WS_EX_CLIENTEDGE, 0u);
    EXPECT_EQ(p->Style() & gui::WS_BORDER, 0u);
    EXPECT_EQ(p->BorderExtent(), 2);
    EXPECT_EQ(p->Bevel()->BevelExtent(), 0);
    p->SetCtl3D(false);
    p->Bevel()->Change();  // a bevel change in bmWindows recreates the window
    EXPECT_EQ(p->ExStyle() & gui::WS_EX_CLIENTEDGE, 0u);
    EXPECT_NE(p->Style() & gui::WS_BORDER, 0u);
    EXPECT_EQ(p->BorderExtent(), 1);
    p->Bevel()->SetMode(bmCustom);
    EXPECT_EQ(p->BorderExtent(), 0);
}

TEST_F(kitPanels, AlignedChildStaysInsideTheBevel) {
    auto* p = new BevelPanel(form);
    p->SetParent(form);
    p->SetBounds(10, 10, 120, 80);
    auto* child = new Panel(form);
    child->SetParent(p);
    child->SetAlign(gui::alClient);
    p->Bevel()->SetStyleOuter(bvRaised);
    p->Bevel()->SetWidthOuter(2);
    EXPECT_EQ(p->Bevel()->BevelExtent(), 2);
    EXPECT_EQ(child->Left(), 2);
    EXPECT_EQ(child->Top(), 2);
    EXPECT_EQ(child->Width(), 116);
    EXPECT_EQ(child->Height(), 76);
}

TEST_F(kitPanels, FlatFrameShowsOnlyUnderTheMouse) {
    auto* p = new BevelPanel(form);
    p->SetParent(form);
    p->SetBounds(10, 10, 60, 30);
    p->SetColor(clYellow);
    p->Bevel()->SetStyleOuter(bvLowered);
    p->Bevel()->SetStyleInner(bvLowered);
    p->Bevel()->SetShadowColor(clNavy);
    p->SetFlat(true);
    QImage rest = Shot(p);
    for (QPoint q : {QPoint(0, 0), QPoint(1, 15), QPoint(30, 29), QPoint(59, 15), QPoint(30, 1)})
        EXPECT_EQ(rest.pixel(q), Rgb(clYellow)) << q.x() << "," << q.y();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(15, 15));
    QApplication::sendEvent(p->Widget(), &enter);
    QImage hot = Shot(p);
    EXPECT_EQ(hot.pixel(0, 0), Rgb(clNavy));  // the lowered outer bevel's shadow corner
    EXPECT_EQ(hot.pixel(30, 15), Rgb(clYellow));
    // Leaving covers the bevel with the background again, without a full repaint.
    p->Perform(gui::CM_MOUSELEAVE);
    QImage left = Shot(p);
    for (QPoint q : {QPoint(0, 0), QPoint(1, 15), QPoint(30, 29), QPoint(59, 15), QPoint(30, 1)})
        EXPECT_EQ(left.pixel(q), Rgb(clYellow)) << q.x() << "," << q.y();
}

TEST_F(kitPanels, OpaquePanelHasNoBackground) {
    auto* back = new Backdrop(form);
    back->SetParent(form);
    auto* p = new Panel(form);
    p->SetParent(back);
    TBitmap target(10, 10);
    EXPECT_FALSE(p->HasBackBitmap());
    EXPECT_EQ(p->GetBackBitmap(), nullptr);
    EXPECT_FALSE(p->DrawBackBitmap(*target.Canvas(), Rect(0, 0, 10, 10), {0, 0}, 0));
}

TEST_F(kitPanels, TransparentPanelsHandTheParentBackgroundDown) {
    auto* back = new Backdrop(form);
    back->SetParent(form);
    back->SetBounds(0, 0, 200, 200);
    auto* outer = new BevelPanel(form);
    outer->SetParent(back);
    outer->SetBounds(20, 30, 100, 100);
    outer->Bevel()->SetMode(bmWindows);  // a 2 px window border
    outer->SetTransparent(true);
    auto* inner = new Panel(form);
    inner->SetParent(outer);
    inner->SetBounds(5, 6, 40, 40);
    inner->SetTransparent(true);

    ASSERT_TRUE(inner->HasBackBitmap());
    EXPECT_EQ(inner->GetBackBitmap(), &back->bmp);
    TPoint m;
    outer->BackMapPoint({1, 1}, m);
    EXPECT_EQ(m.X, 20 + 7 + 1 + 2);
    EXPECT_EQ(m.Y, 30 + 7 + 1 + 2);

    // The inner panel's client point (3, 4) lies over bitmap point: outer origin 29,39 + 5,6 + 3,4.
    TBitmap target(10, 10);
    ASSERT_TRUE(inner->DrawBackBitmap(*target.Canvas(), Rect(3, 4, 5, 6), {0, 0}, 0));
    EXPECT_EQ(target.Canvas()->Pixels(3, 4), Backdrop::Code(29 + 5 + 3, 39 + 6 + 4));
    EXPECT_EQ(target.Canvas()->Pixels(4, 5), Backdrop::Code(29 + 5 + 4, 39 + 6 + 5));

    // An active effect draws through the effect object (here flipped in both directions).
    inner->BackFX()->SetBoolean(0, true);
    inner->BackFX()->SetBoolean(1, true);
    ASSERT_TRUE(inner->DrawBackBitmap(*target.Canvas(), Rect(0, 0, 1, 1), {0, 0}, 0));
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), Backdrop::Code(29 + 5 + 39, 39 + 6 + 39));
}

TEST_F(kitPanels, ShapeIsFoundAmongTheParentFormsComponents) {
    auto* p = new Panel(nullptr);  // owned by nobody: only the parent form knows the shape
    p->SetParent(form);
    p->SetTransparent(true);
    EXPECT_FALSE(p->HasBackBitmap());
    auto* shape = new Shape(form);
    EXPECT_TRUE(p->HasBackBitmap());
    EXPECT_EQ(p->GetBackBitmap(), &shape->bmp);
    delete p;
}

}  // namespace
