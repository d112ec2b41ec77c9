// The graphic control with a bevel on a form, pixel by pixel: its frame is the drawing library's
// bevel, the rest of the form keeps its colour, a transparent control above it shows it through,
// and the bevel it owns is a copy that repaints it on every change.
#include <gtest/gtest.h>

#include <QImage>

#include <memory>
#include <string>
#include <vector>

#include "components/base/KitDrawFrames.h"
#include "components/controls/KitGraphicControl.h"
#include "platform/gui/Forms.h"
#include "tests/gui/GuiFixture.h"

using namespace kit;
using namespace gdi;

namespace {

constexpr TColor kFormColor = 0xA2D3F9;

class Framed : public TKitGraphicControl {
public:
    explicit Framed(rtl::TComponent* owner) : TKitGraphicControl(owner) {}
    std::vector<unsigned> seen;
    void Designing(bool v) { SetDesigning(v); }

protected:
    void WndProc(gui::TMessage& m) override {
        seen.push_back(m.Msg);
        TKitGraphicControl::WndProc(m);
    }
};

// The first pixel where the shot differs from the expected bitmap, or "" when none does.
std::string FirstDifference(const QImage& shot, TBitmap& want) {
    if (shot.width() != want.Width() || shot.height() != want.Height()) return "size";
    for (int y = 0; y < want.Height(); ++y)
        for (int x = 0; x < want.Width(); ++x) {
            const QRgb expected = ColorToQColor(want.Canvas()->Pixels(x, y)).rgb();
            if (shot.pixel(x, y) != expected) return std::to_string(x) + "," + std::to_string(y);
        }
    return "";
}

}  // namespace

class kitGraphicControl : public GuiFixture {
protected:
    gui::TForm* form = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 240, 160);
        form->SetColor(kFormColor);
        form->Show();
    }
    Framed* Make(int l, int t, int w, int h) {
        auto* c = new Framed(form);
        c->SetParent(form);
        c->SetBounds(l, t, w, h);
        return c;
    }
    QImage Shot() {
        QCoreApplication::processEvents();
        return form->ClientWidget()->grab().toImage();
    }
    // The form's client area as it should look: its colour everywhere.
    std::unique_ptr<TBitmap> Plain() {
        auto b = std::make_unique<TBitmap>(form->ClientWidth(), form->ClientHeight());
        b->Canvas()->Brush()->SetColor(kFormColor);
        b->Canvas()->FillRect(Rect(0, 0, b->Width(), b->Height()));
        return b;
    }
};

TEST_F(kitGraphicControl, RaisedBevelOnTheFormAndATransparentControlAboveIt) {
    auto* first = Make(30, 20, 80, 50);
    first->Bevel()->SetStyleOuter(bvRaised);
    first->Bevel()->SetWidthOuter(2);
    EXPECT_EQ(first->GetBevelExtent(), 2);
    auto want = Plain();
    TRect r = Rect(30, 20, 110, 70);
    KitDrawBevel(*want->Canvas(), r, bvRaised, clBtnHighlight, clBtnShadow, 2);
    ASSERT_TRUE(ProcessUntil([&] { return FirstDifference(Shot(), *want).empty(); }))
        << "first difference at " << FirstDifference(Shot(), *want);

    // A second, transparent control over its lower right corner: its own frame on top, the
    // first control's frame and the form through its inside.
    auto* second = Make(90, 50, 60, 40);
    second->Bevel()->SetStyleOuter(bvLowered);
    second->Bevel()->SetLightColor(clYellow);
    second->Bevel()->SetShadowColor(clBlue);
    TRect r2 = Rect(90, 50, 150, 90);
    KitDrawBevel(*want->Canvas(), r2, bvLowered, clYellow, clBlue, 1);
    ASSERT_TRUE(ProcessUntil([&] { return FirstDifference(Shot(), *want).empty(); }))
        << "first difference at " << FirstDifference(Shot(), *want);
    // Where the first control's frame runs inside the second one, it shows through.
    const QImage shot = Shot();
    EXPECT_EQ(shot.pixel(108, 60), ColorToQColor(clBtnShadow).rgb());
    EXPECT_EQ(shot.pixel(100, 68), ColorToQColor(clBtnShadow).rgb());
    EXPECT_EQ(shot.pixel(120, 75), ColorToQColor(kFormColor).rgb());
}

TEST_F(kitGraphicControl, NoBevelAndNoContentPaintsNothing) {
    auto* clear = Make(10, 10, 50, 30);
    auto* opaque = Make(80, 10, 50, 30);
    opaque->SetTransparent(false);
    EXPECT_TRUE(clear->IsContentEmpty());
    auto want = Plain();
    EXPECT_TRUE(ProcessUntil([&] { return FirstDifference(Shot(), *want).empty(); }));
    // At design time the dashed outline marks it.
    clear->Designing(true);
    clear->Invalidate();
    EXPECT_TRUE(ProcessUntil([&] { return Shot().pixel(10, 10) == ColorToQColor(clBlack).rgb(); }));
}

TEST_F(kitGraphicControl, BevelIsACopyAndEveryChangeRepaints) {
    auto* c = Make(20, 20, 60, 40);
    TKitBevel source;
    source.SetStyleOuter(bvFrameRaised);
    source.SetWidthOuter(2);
    c->seen.clear();
    c->SetBevel(&source);
    EXPECT_EQ(std::count(c->seen.begin(), c->seen.end(), CM_KITBEVELCHANGED), 1);
    EXPECT_EQ(c->GetBevelExtent(), 3);
    EXPECT_EQ(c->GetBevelSpace(), 6);
    source.SetWidthOuter(5);
    EXPECT_EQ(c->Bevel()->WidthOuter(), 2);
    EXPECT_EQ(c->GetBevelExtent(), 3);

    auto want = Plain();
    TRect r = Rect(20, 20, 80, 60);
    KitDrawBevel(*want->Canvas(), r, bvFrameRaised, clBtnHighlight, clBtnShadow, 2);
    ASSERT_TRUE(ProcessUntil([&] { return FirstDifference(Shot(), *want).empty(); }));
    // A change of the owned bevel shows without any call of the owner.
    c->Bevel()->SetStyleOuter(bvNone);
    auto plain = Plain();
    EXPECT_TRUE(ProcessUntil([&] { return FirstDifference(Shot(), *plain).empty(); }));
}
