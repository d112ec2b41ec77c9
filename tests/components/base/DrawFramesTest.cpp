// Bevels, borders and arrows, pixel by pixel.
#include <gtest/gtest.h>

#include <memory>

#include "components/base/KitDrawFrames.h"
#include "platform/gdi/Drawing.h"
#include "tests/components/base/PixelText.h"

using namespace gdi;
using namespace kit;
using kit::test::PixelText;

namespace {
std::unique_ptr<TBitmap> White(int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}
}  // namespace

TEST(KitDrawBevel, RaisedWidthOne) {
    auto b = White(10, 10);
    b->Canvas()->Pen()->SetColor(clRed);
    TRect r = Rect(0, 0, 10, 10);
    EXPECT_TRUE(KitDrawBevel(*b->Canvas(), r, bvRaised, clYellow, clBlue, 1));
    EXPECT_EQ(r, Rect(1, 1, 9, 9));
    EXPECT_EQ(PixelText(*b),
              "YYYYYYYYYB\n"
              "Y........B\n"
              "Y........B\n"
              "Y........B\n"
              "Y........B\n"
              "Y........B\n"
              "Y........B\n"
              "Y........B\n"
              "Y........B\n"
              "YBBBBBBBBB\n");
    EXPECT_EQ(b->Canvas()->Pen()->Color(), clRed);  // pen put back
}

TEST(KitDrawBevel, LoweredWideAndFrameStyles) {
    auto b = White(6, 6);
    TRect r = Rect(0, 0, 6, 6);
    EXPECT_TRUE(KitDrawBevel(*b->Canvas(), r, bvLowered, clYellow, clBlue, 2));
    EXPECT_EQ(r, Rect(2, 2, 4, 4));
    // Lowered: the shadow band at the top and left, the light band at the bottom and right.
    TCanvas& c = *b->Canvas();
    for (TPoint p : {Point(0, 0), Point(4, 0), Point(0, 3), Point(1, 1), Point(1, 3)})
        EXPECT_EQ(c.Pixels(p.X, p.Y), clBlue) << p.X << "," << p.Y;
    for (TPoint p : {Point(5, 5), Point(1, 5), Point(5, 1), Point(4, 4), Point(4, 2)})
        EXPECT_EQ(c.Pixels(p.X, p.Y), clYellow) << p.X << "," << p.Y;
    EXPECT_EQ(c.Pixels(2, 2), clWhite);

    auto f = White(10, 10);
    r = Rect(0, 0, 10, 10);
    EXPECT_TRUE(KitDrawBevel(*f->Canvas(), r, bvFrameLowered, clYellow, clBlue, 1));
    EXPECT_EQ(r, Rect(2, 2, 8, 8));
    EXPECT_EQ(PixelText(*f),
              "BBBBBBBBB.\n"
              "BYYYYYYYBY\n"
              "BY......BY\n"
              "BY......BY\n"
              "BY......BY\n"
              "BY......BY\n"
              "BY......BY\n"
              "BY......BY\n"
              "BBBBBBBBBY\n"
              ".YYYYYYYYY\n");
}

TEST(KitDrawBevel, NothingForNoneShadowOrWidthZero) {
    for (auto [style, width] : {std::pair{bvNone, 1}, {bvShadow, 2}, {bvRaised, 0}}) {
        auto b = White(4, 4);
        TRect r = Rect(0, 0, 4, 4);
        EXPECT_FALSE(KitDrawBevel(*b->Canvas(), r, style, clYellow, clBlue, width));
        EXPECT_EQ(r, Rect(0, 0, 4, 4));
        EXPECT_EQ(PixelText(*b), "....\n....\n....\n....\n");
    }
}

TEST(KitDrawShadowBevel, ShadowCornersAndFrame) {
    auto b = White(20, 20);
    TRect r = Rect(0, 0, 20, 20);
    EXPECT_TRUE(KitDrawShadowBevel(*b->Canvas(), r, clBlack, clBlue, clYellow, 3, 1, false));
    EXPECT_EQ(r, Rect(1, 1, 16, 16));
    TCanvas& c = *b->Canvas();
    EXPECT_EQ(c.Pixels(18, 2), clYellow);   // corner above the right shadow
    EXPECT_EQ(c.Pixels(18, 3), clBlue);
    EXPECT_EQ(c.Pixels(1, 18), clYellow);   // corner left of the bottom shadow
    EXPECT_EQ(c.Pixels(3, 18), clBlue);
    EXPECT_EQ(c.Pixels(0, 0), clBlack);     // frame
    EXPECT_EQ(c.Pixels(16, 16), clBlack);
    EXPECT_EQ(c.Pixels(1, 1), clWhite);
    auto t = White(20, 20);
    r = Rect(0, 0, 20, 20);
    KitDrawShadowBevel(*t->Canvas(), r, clBlack, clBlue, clYellow, 3, 2, true);
    EXPECT_EQ(t->Canvas()->Pixels(18, 2), clWhite);  // transparent: corners untouched
    EXPECT_EQ(r, Rect(2, 2, 15, 15));
}

TEST(KitDrawBorder, ShrinksByTheDrawnEdges) {
    struct Case { TKitBorderStyle style; unsigned flags; TRect inside; };
    const Case cases[] = {
        {lsNone, BF_RECT, Rect(0, 0, 12, 12)},
        {lsSingle, 0, Rect(1, 1, 12, 12)},  // the bottom-right line does not adjust
        {lsSingle, BF_RECT, Rect(1, 1, 11, 11)},
        {lsLowered, 0, Rect(2, 2, 10, 10)},
        {lsRaised, BF_RECT, Rect(2, 2, 10, 10)},
        {lsRaisedspb, 0, Rect(1, 1, 10, 10)},
        {lsRaisedExt, 0, Rect(2, 2, 10, 10)},
        {lsLoweredspb, 0, Rect(2, 2, 11, 11)},
        {lsLoweredspb, BF_RECT, Rect(2, 2, 10, 10)},
        {lsLoweredExt, 0, Rect(2, 2, 10, 10)},
        {lsFrameInset, 0, Rect(2, 2, 10, 10)},
        {lsFrameOffset, 0, Rect(2, 2, 10, 10)},
        {lsWindowBorder, 0, Rect(2, 2, 10, 10)},
        {lsWindowBorder, BF_RECT, Rect(3, 3, 10, 10)},
        {lsSingleRaised, 0, Rect(1, 1, 11, 11)},
        {lsSingleLowered, 0, Rect(1, 1, 11, 11)},
        {lsDoubleRaised, 0, Rect(2, 2, 10, 10)},
        {lsDoubleLowered, 0, Rect(2, 2, 10, 10)},
        {static_cast<TKitBorderStyle>(15), BF_RECT, Rect(0, 0, 12, 12)},  // beyond the styles
    };
    for (const Case& c : cases) {
        auto b = White(12, 12);
        TRect r = Rect(0, 0, 12, 12);
        EXPECT_TRUE(KitDrawBorder(*b->Canvas(), r, c.style, c.flags));
        EXPECT_EQ(r, c.inside) << int(c.style) << " flags " << c.flags;
    }
    EXPECT_EQ(KitBorderStyleWidth(lsNone), 0);
    EXPECT_EQ(KitBorderStyleWidth(lsSingleLowered), 1);
    EXPECT_EQ(KitBorderStyleWidth(lsFrameInset), 2);
}

TEST(KitDrawBorder, LoweredUsesSunkenEdgeColours) {
    auto b = White(6, 6);
    TRect r = Rect(0, 0, 6, 6);
    KitDrawBorder(*b->Canvas(), r, lsLowered, 0);
    EXPECT_EQ(r, Rect(2, 2, 4, 4));
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), GetSysColor(16));  // button shadow
    EXPECT_EQ(b->Canvas()->Pixels(5, 5), GetSysColor(20));  // button highlight
    EXPECT_EQ(b->Canvas()->Pixels(1, 1), GetSysColor(21));  // dark shadow
    EXPECT_EQ(b->Canvas()->Pixels(4, 4), GetSysColor(22));  // 3D light
}

TEST(KitControlBorderWidth, ByStyleAnd3D) {
    EXPECT_EQ(KitControlBorderWidth(true, gui::bsNone, true), 0);
    EXPECT_EQ(KitControlBorderWidth(false, gui::bsSingle, false), 1);
    EXPECT_EQ(KitControlBorderWidth(true, gui::bsSingle, false), 2);
    EXPECT_EQ(KitControlBorderWidth(false, gui::bsSingle, true), 2);
}

TEST(KitDrawArrow, DownUpAndDisabled) {
    auto d = White(6, 4);
    KitDrawArrow(*d->Canvas(), 0, 0, 3, clBlack, true, true);
    EXPECT_EQ(PixelText(*d), "#####.\n.###..\n..#...\n......\n");
    // Up: centred on x + size div 2.
    auto u = White(7, 4);
    KitDrawArrow(*u->Canvas(), 2, 0, 3, clBlack, false, true);
    EXPECT_EQ(PixelText(*u), "...#...\n..###..\n.#####.\n.......\n");
    // Outside 2..15 nothing is drawn.
    for (int size : {1, 16}) {
        auto n = White(40, 20);
        KitDrawArrow(*n->Canvas(), 0, 0, size, clBlack, true, true);
        EXPECT_EQ(n->Canvas()->Pixels(0, 0), clWhite) << size;
    }
    auto g = White(6, 4);
    g->Canvas()->Brush()->SetColor(clYellow);
    g->Canvas()->FillRect(Rect(0, 0, 6, 4));
    KitDrawArrow(*g->Canvas(), 0, 0, 3, clBlack, true, false);
    EXPECT_EQ(PixelText(*g, {{GetSysColor(14), 'H'}, {GetSysColor(17), 'g'}}),
              "gggggY\nYgggHH\nYYgHHY\nYYYHYY\n");
}
