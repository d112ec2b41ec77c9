// The gradient object: colour tables, painting, notifications and its stored colour list.
#include <gtest/gtest.h>

#include <memory>

#include "components/base/KitGradient.h"
#include "platform/rtl/Filer.h"

using namespace gdi;
using namespace kit;

TEST(KitFillColorList, StepsAndJoins) {
    TKitColorTable t;
    KitFillColorList(0x0000FF, 0xFF0000, 4, true, &t);
    EXPECT_EQ(t, (TKitColorTable{0x0000FF, 0x5500AA, 0xAA0055, 0xFF0000}));
    KitFillColorList(0xFF0000, 0x00FF00, 3, false, &t);  // appends without the shared colour
    EXPECT_EQ(t, (TKitColorTable{0x0000FF, 0x5500AA, 0xAA0055, 0xFF0000, 0x7F8000, 0x00FF00}));
    KitFillColorList(clBtnFace, clBlack, 2, true, &t);  // system colours resolved
    EXPECT_EQ(t, (TKitColorTable{ColorToRGB(clBtnFace), 0}));
    // One step: the start colour when clearing, nothing when joining; count 0 or nil: nothing.
    KitFillColorList(clRed, clBlue, 1, true, &t);
    EXPECT_EQ(t, TKitColorTable{clRed});
    KitFillColorList(clLime, clBlue, 1, false, &t);
    KitFillColorList(clLime, clBlue, 0, true, &t);
    KitFillColorList(clLime, clBlue, 3, true, nullptr);
    EXPECT_EQ(t, TKitColorTable{clRed});
}

TEST(KitGradient, DefaultsAndModes) {
    TKitGradient g;
    ASSERT_EQ(g.Colors().size(), 16u);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(g.Colors()[static_cast<std::size_t>(i)], RGB(0, 0, 255 - 17 * i));
    EXPECT_EQ(g.Style(), gstVertical);
    EXPECT_EQ(g.GetPalette(), 0u);

    g.SetColorCount(2);
    EXPECT_EQ(g.Colors(), (TKitColorTable{clBlue, clBlack}));

    g.SetColorCount(16);
    g.ColorList() = {clRed, clLime, clBlue};
    g.SetTwoColors(false);
    ASSERT_EQ(g.Colors().size(), 9u);  // 5 steps red..lime, 4 more to blue
    EXPECT_EQ(g.Colors()[0], clRed);
    EXPECT_EQ(g.Colors()[4], clLime);
    EXPECT_EQ(g.Colors()[8], clBlue);

    g.SetColorCount(5);  // one step per pair: the first colour only
    EXPECT_EQ(g.Colors(), TKitColorTable{clRed});
    g.ColorList() = {clRed};
    g.Change();
    EXPECT_TRUE(g.Colors().empty());

    g.SetPaletteRealize(true);
    EXPECT_TRUE(g.Colors().empty());
    EXPECT_EQ(g.GetPalette(), 0u);  // no colours, no palette
    g.SetTwoColors(true);
    EXPECT_NE(g.GetPalette(), 0u);
}

TEST(KitGradient, ObserversSeeTheNewTable) {
    TKitGradient g;
    int calls = 0;
    TColor first = 0;
    g.OnChange = [&](rtl::TObject*) {
        ++calls;
        first = g.Colors()[0];
    };
    g.SetColor(clRed);
    g.SetColor(clRed);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(first, clRed);

    TKitGradient other;
    other.SetStyle(gstElliptic);
    other.SetEndColor(clWhite);
    other.ColorList() = {clAqua, clYellow};
    g.Assign(&other);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(first, clBlue);
    EXPECT_EQ(g.Style(), gstElliptic);
    EXPECT_EQ(g.Colors().back(), clWhite);
    EXPECT_EQ(g.ColorList(), (TKitColorTable{clAqua, clYellow}));

    std::string s;
    g.GetSummary(s);
    EXPECT_EQ(s, "elliptic, Col: 16, 2 col mode");
    g.SetTwoColors(false);
    g.SetStyle(gstTopRightDiagonal);
    g.GetSummary(s);
    EXPECT_EQ(s, "top right diag, Col: 16, mult. col mode");
}

TEST(KitGradient, StoredColorListAppends) {
    TKitGradient a, b;
    rtl::TMemoryStream empty;
    rtl::WriteDefinedProperties(a, empty);
    a.ColorList() = {clRed, clLime};
    rtl::TMemoryStream s;
    rtl::WriteDefinedProperties(a, s);
    EXPECT_GT(s.Size(), empty.Size());
    b.ColorList() = {clBlue};
    b.SetTwoColors(false);
    int calls = 0;
    b.OnChange = [&](rtl::TObject*) { ++calls; };
    s.SetPosition(0);
    rtl::ReadDefinedProperties(b, s);
    EXPECT_EQ(b.ColorList(), (TKitColorTable{clBlue, clRed, clLime}));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(b.Colors().size(), 9u);  // three colours: 16 div 3 = 5 steps, then 4 more
}

namespace {
std::unique_ptr<TBitmap> White(int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}
}  // namespace

TEST(KitPaintGradient, VerticalAndHorizontalBands) {
    TKitGradient g;
    // Height 10: the bands of colours 0 .. 15 start at rows 0,1,1,2,3,3,4,4,5,6,6,7,8,8,9,9, so
    // each row shows the last band that starts on it.
    const int shown[] = {0, 2, 3, 5, 7, 8, 10, 11, 13, 15};
    for (unsigned flags : {0u, kpgOffscreen}) {
        auto b = White(3, 12);
        KitPaintGradient(*b->Canvas(), Rect(1, 1, 3, 11), gstVertical, &g.Colors(), 0, flags, 0);
        for (int y = 0; y < 10; ++y)
            EXPECT_EQ(b->Canvas()->Pixels(1, y + 1), RGB(0, 0, 255 - 17 * shown[y])) << y << " " << flags;
        EXPECT_EQ(b->Canvas()->Pixels(0, 5), clWhite);
        EXPECT_EQ(b->Canvas()->Pixels(1, 11), clWhite);
    }
    auto h = White(4, 1);
    KitPaintGradient(*h->Canvas(), Rect(0, 0, 4, 1), gstHorizontal, &g.Colors(), 0, 0, 0);
    // Width 4: band i spans MulDiv(i, 4, 16) .. MulDiv(i + 1, 4, 16); columns 0 and 3 show the
    // last non-empty bands starting there, 1 and 13 (bands 14 and 15 are empty).
    EXPECT_EQ(h->Canvas()->Pixels(0, 0), RGB(0, 0, 255 - 17 * 1));
    EXPECT_EQ(h->Canvas()->Pixels(3, 0), RGB(0, 0, 255 - 17 * 13));
}

TEST(KitPaintGradient, ClipEmptyAndCornerStyles) {
    TKitGradient g;
    auto b = White(10, 10);
    KitPaintGradient(*b->Canvas(), Rect(2, 2, 2, 8), gstVertical, &g.Colors(), 0, kpgClip, 0);
    TKitColorTable none;
    KitPaintGradient(*b->Canvas(), Rect(0, 0, 10, 10), gstVertical, &none, 0, 0, 0);
    KitPaintGradient(*b->Canvas(), Rect(0, 0, 10, 10), gstVertical, nullptr, 0, 0, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(b->Canvas()->Pixels(x, y), clWhite);

    // Clipped by the offset rectangle (moved 5 right): only x 5..9 are painted.
    b->Canvas()->Pen()->SetColor(clRed);
    KitPaintGradient(*b->Canvas(), Rect(0, 0, 10, 10), gstVertical, &g.Colors(), 0, kpgClip, 5u);
    EXPECT_EQ(b->Canvas()->Pixels(4, 0), clWhite);
    EXPECT_EQ(b->Canvas()->Pixels(5, 0), clBlue);
    EXPECT_FALSE(b->Canvas()->HasClip());
    EXPECT_EQ(b->Canvas()->Pen()->Color(), clRed);
    EXPECT_EQ(b->Canvas()->Pen()->Style(), psSolid);

    // The styles put the first colours in their corner or centre (the innermost ellipse is too
    // small to cover a pixel), the last colours far from it.
    struct Case { TKitGradientStyle style; TPoint first; TPoint last; };
    const Case cases[] = {{gstTopLeft, {0, 0}, {15, 15}}, {gstBottomRight, {15, 15}, {0, 0}},
                          {gstSquare, {8, 8}, {0, 0}}, {gstElliptic, {8, 8}, {0, 0}}};
    for (const Case& c : cases) {
        auto s = White(16, 16);
        KitPaintGradient(*s->Canvas(), Rect(0, 0, 16, 16), c.style, &g.Colors(), 0, 0, 0);
        EXPECT_GE(GetBValue(s->Canvas()->Pixels(c.first.X, c.first.Y)), 255 - 2 * 17) << int(c.style);
        const TColor far = s->Canvas()->Pixels(c.last.X, c.last.Y);
        EXPECT_LT(GetBValue(far), 0x40) << int(c.style);
    }
}
