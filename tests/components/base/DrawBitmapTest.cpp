// Bitmap drawing: placement modes, transparency through masks, clipping, disabled looks.
#include <gtest/gtest.h>

#include <memory>

#include "components/base/KitDrawBitmap.h"

using namespace gdi;
using namespace kit;

namespace {

std::unique_ptr<TBitmap> Filled(int w, int h, TColor c) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush()->SetColor(c);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

// A 10 x 10 red tile with a blue top-left pixel.
std::unique_ptr<TBitmap> Tile() {
    auto b = Filled(10, 10, clRed);
    b->Canvas()->SetPixels(0, 0, clBlue);
    return b;
}

}  // namespace

TEST(KitDrawBitmapEx, EmptyDestinationDrawsNothing) {
    auto dest = Filled(10, 10, clWhite);
    auto src = Tile();
    TRect drawn = Rect(1, 2, 3, 4);
    KitDrawBitmapEx(*dest->Canvas(), Rect(5, 5, 5, 9), src->Canvas(), Rect(0, 0, 10, 10), 0,
                    clNone, 0, nullptr, drawn);
    EXPECT_TRUE(drawn.IsEmpty());
    EXPECT_EQ(dest->Canvas()->Pixels(5, 5), clWhite);
}

TEST(KitDrawBitmapEx, TilesRunWholePastTheDestination) {
    // 10 x 10 into 25 x 25: rows and columns 0 .. 3, sixteen whole tiles reaching 40 x 40.
    auto dest = Filled(50, 50, clWhite);
    auto src = Tile();
    TRect drawn;
    KitDrawBitmapEx(*dest->Canvas(), Rect(0, 0, 25, 25), src->Canvas(), Rect(0, 0, 10, 10), kdfTile,
                    clNone, 0, nullptr, drawn);
    EXPECT_EQ(drawn, Rect(0, 0, 25, 25));
    TCanvas& c = *dest->Canvas();
    for (int r = 0; r < 4; ++r)
        for (int col = 0; col < 4; ++col) EXPECT_EQ(c.Pixels(col * 10, r * 10), clBlue) << r << col;
    EXPECT_EQ(c.Pixels(39, 39), clRed);
    EXPECT_EQ(c.Pixels(40, 39), clWhite);
    EXPECT_EQ(c.Pixels(39, 40), clWhite);
    EXPECT_EQ(c.Pixels(45, 45), clWhite);
    EXPECT_FALSE(c.HasClip());

    // The caller's clip still holds: the canvas's own clip, and the routine's clip flag.
    auto clipped = Filled(50, 50, clWhite);
    clipped->Canvas()->SetClipRect(Rect(0, 0, 32, 32));
    KitDrawBitmapEx(*clipped->Canvas(), Rect(0, 0, 25, 25), src->Canvas(), Rect(0, 0, 10, 10),
                    kdfTile, clNone, 0, nullptr, drawn);
    EXPECT_EQ(clipped->Canvas()->ClipRect(), Rect(0, 0, 32, 32));
    clipped->Canvas()->ResetClip();
    EXPECT_EQ(clipped->Canvas()->Pixels(31, 31), clRed);
    EXPECT_EQ(clipped->Canvas()->Pixels(32, 31), clWhite);
    EXPECT_EQ(clipped->Canvas()->Pixels(31, 32), clWhite);
    auto flagged = Filled(50, 50, clWhite);
    KitDrawBitmapExClip(*flagged->Canvas(), Rect(0, 0, 25, 25), src->Canvas(), Rect(0, 0, 10, 10),
                        kdfTile | kdfClip, 0, clNone, nullptr);
    EXPECT_EQ(flagged->Canvas()->Pixels(24, 24), clRed);
    EXPECT_EQ(flagged->Canvas()->Pixels(25, 24), clWhite);
    EXPECT_EQ(flagged->Canvas()->Pixels(30, 30), clWhite);
    EXPECT_FALSE(flagged->Canvas()->HasClip());
}

TEST(KitDrawBitmapEx, PlacementByFlags) {
    struct Case { unsigned flags; TRect dest; TRect source; TRect drawn; TPoint inside; TPoint outside; };
    const Case cases[] = {
        {kdfCenter, Rect(100, 100, 120, 120), Rect(0, 0, 10, 10), Rect(105, 105, 115, 115), {114, 114}, {104, 104}},
        {0, Rect(100, 100, 105, 105), Rect(0, 0, 10, 10), Rect(100, 100, 110, 110), {109, 109}, {110, 100}},
        {kdfStretch | kdfStretchWidth | kdfStretchHeight, Rect(0, 0, 50, 50), Rect(0, 0, 20, 10), Rect(0, 0, 50, 25), {49, 24}, {0, 25}},
        {kdfStretch | kdfStretchWidth, Rect(0, 0, 50, 50), Rect(0, 0, 20, 10), Rect(0, 0, 50, 25), {49, 24}, {0, 25}},
        {kdfStretch | kdfStretchHeight, Rect(0, 0, 50, 30), Rect(0, 0, 20, 10), Rect(0, 0, 60, 30), {59, 29}, {60, 0}},
        {kdfStretch, Rect(10, 10, 40, 20), Rect(0, 0, 20, 10), Rect(10, 10, 40, 20), {39, 19}, {40, 19}},
        // 5 / 3 x 2 = 3.33 -> 3; 7 / 2 x 3 = 10.5 -> 10 (half to even)
        {kdfStretch | kdfStretchWidth, Rect(0, 0, 5, 50), Rect(0, 0, 3, 2), Rect(0, 0, 5, 3), {4, 2}, {0, 3}},
        {kdfStretch | kdfStretchHeight, Rect(0, 0, 50, 7), Rect(0, 0, 2, 3), Rect(0, 0, 5, 7), {4, 6}, {5, 0}},
    };
    for (const Case& k : cases) {
        auto dest = Filled(130, 130, clWhite);
        auto src = Filled(k.source.Width(), k.source.Height(), clLime);
        TRect drawn;
        KitDrawBitmapEx(*dest->Canvas(), k.dest, src->Canvas(), k.source, k.flags, clNone, 0,
                        nullptr, drawn);
        EXPECT_EQ(drawn, k.drawn) << k.flags;
        EXPECT_EQ(dest->Canvas()->Pixels(k.inside.X, k.inside.Y), clLime) << k.flags;
        EXPECT_EQ(dest->Canvas()->Pixels(k.outside.X, k.outside.Y), clWhite) << k.flags;
    }
}

TEST(KitCreateMaskedImage, TransparentPixelsBlackInImageWhiteInMask) {
    TBitmap src(2, 1), mask, image;
    src.Canvas()->SetPixels(0, 0, clFuchsia);
    src.Canvas()->SetPixels(1, 0, clRed);
    KitCreateMaskedImage(src, &mask, &image, clFuchsia);
    EXPECT_EQ(image.Canvas()->Pixels(0, 0), 0x000000u);
    EXPECT_EQ(image.Canvas()->Pixels(1, 0), 0x0000FFu);
    EXPECT_TRUE(mask.Monochrome());
    EXPECT_EQ(mask.Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(mask.Canvas()->Pixels(1, 0), clBlack);
    KitCreateMaskedImage(src, nullptr, &image, clFuchsia);  // a missing bitmap: nothing happens
}

TEST(KitDrawBitmapEx, TransparencyModes) {
    TBitmap src(3, 1);
    src.Canvas()->SetPixels(0, 0, clFuchsia);
    src.Canvas()->SetPixels(1, 0, clRed);
    src.Canvas()->SetPixels(2, 0, clBlue);
    TRect drawn;
    // Masks built on the fly.
    auto a = Filled(3, 1, clLime);
    KitDrawBitmapEx(*a->Canvas(), Rect(0, 0, 3, 1), src.Canvas(), Rect(0, 0, 3, 1), kdfTransparent,
                    clFuchsia, 0, nullptr, drawn);
    EXPECT_EQ(a->Canvas()->Pixels(0, 0), clLime);
    EXPECT_EQ(a->Canvas()->Pixels(1, 0), clRed);
    EXPECT_EQ(a->Canvas()->Pixels(2, 0), clBlue);
    EXPECT_EQ(a->Canvas()->TextColor(), clBlack);  // colours restored
    EXPECT_EQ(a->Canvas()->CopyMode, cmSrcCopy);
    // A caller's mask (white = transparent) over an image with black transparent pixels.
    TBitmap mask, image;
    KitCreateMaskedImage(src, &mask, &image, clBlue);
    auto b = Filled(3, 1, clLime);
    KitDrawBitmapEx(*b->Canvas(), Rect(0, 0, 3, 1), image.Canvas(), Rect(0, 0, 3, 1), kdfMask,
                    clNone, 0, mask.Canvas(), drawn);
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), clFuchsia);
    EXPECT_EQ(b->Canvas()->Pixels(2, 0), clLime);
    // Brush copy wins over the others: the bitmap's own transparent colour becomes the brush.
    src.SetTransparentColor(clRed);
    auto c = Filled(3, 1, clWhite);
    KitDrawBitmapEx(*c->Canvas(), Rect(0, 0, 3, 1), nullptr, Rect(0, 0, 3, 1),
                    kdfBrushCopy | kdfTransparent, clYellow, 0, &src, drawn);
    EXPECT_EQ(c->Canvas()->Pixels(0, 0), clFuchsia);
    EXPECT_EQ(c->Canvas()->Pixels(1, 0), clYellow);
    EXPECT_EQ(c->Canvas()->Pixels(2, 0), clBlue);
}

TEST(KitDrawBitmapClip, ClipOffsetLimitsTheDrawing) {
    auto dest = Filled(20, 20, clWhite);
    auto src = Filled(10, 10, clRed);
    dest->Canvas()->SetClipRect(Rect(0, 0, 18, 18));
    // The clip is the destination moved by (3, 2): x 3..12, y 2..11.
    KitDrawBitmapClip(*dest->Canvas(), Rect(0, 0, 10, 10), *src, kdfClip, 3u | (2u << 16), clNone);
    TCanvas& c = *dest->Canvas();
    EXPECT_EQ(c.Pixels(2, 5), clWhite);
    EXPECT_EQ(c.Pixels(3, 2), clRed);
    EXPECT_EQ(c.Pixels(9, 9), clRed);
    EXPECT_EQ(c.Pixels(5, 1), clWhite);
    EXPECT_TRUE(c.HasClip());
    EXPECT_EQ(c.ClipRect(), Rect(0, 0, 18, 18));
    // Without the clip bit the whole bitmap lands.
    KitDrawBitmapClip(c, Rect(0, 0, 10, 10), *src, 0, 3u | (2u << 16), clNone);
    EXPECT_EQ(c.Pixels(0, 0), clRed);
}

TEST(KitDrawBitmapOnBack, ComposesAndConsumesTheBitmap) {
    TBitmap bitmap(2, 1), back(2, 1);
    bitmap.Canvas()->SetPixels(0, 0, clFuchsia);
    bitmap.Canvas()->SetPixels(1, 0, clRed);
    back.Canvas()->SetPixels(0, 0, clAqua);   // shows through the bitmap, then transparent itself
    back.Canvas()->SetPixels(1, 0, clBlue);
    auto dest = Filled(2, 1, clLime);
    KitDrawBitmapOnBack(dest->Canvas(), Rect(0, 0, 2, 1), &bitmap, &back, clFuchsia, clAqua);
    EXPECT_EQ(back.Canvas()->Pixels(0, 0), clAqua);
    EXPECT_EQ(back.Canvas()->Pixels(1, 0), clRed);
    EXPECT_EQ(dest->Canvas()->Pixels(0, 0), clLime);
    EXPECT_EQ(dest->Canvas()->Pixels(1, 0), clRed);
    EXPECT_TRUE(bitmap.Monochrome());
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 0), clBlack);
}

TEST(KitPrepareBitmap, SizesAndFills) {
    TBitmap b;
    KitPrepareBitmap(&b, Rect(5, 5, 8, 7), clBlue);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Canvas()->Pixels(2, 1), clBlue);
    KitPrepareBitmap(&b, Rect(0, 0, 0, 4), clRed);  // empty: unchanged
    EXPECT_EQ(b.Width(), 3);
    KitPrepareBitmap(nullptr, Rect(0, 0, 2, 2), clRed);
}

TEST(KitCreateDisabledShades, FourShadesByBrightness) {
    TBitmap src(5, 1), dest;
    const TColor colors[] = {clFuchsia, RGB(240, 240, 240), RGB(150, 150, 150), RGB(80, 80, 80), clBlack};
    for (int x = 0; x < 5; ++x) src.Canvas()->SetPixels(x, 0, colors[x]);
    // Sum 720 + 450 + 240 + 0 = 1410 over 4: mean 352.5, O = -Round(200 - 352.5) = 152.
    KitCreateDisabledShades(dest, src);
    EXPECT_EQ(dest.Canvas()->Pixels(0, 0), clFuchsia);
    EXPECT_EQ(dest.Canvas()->Pixels(1, 0), clWhite);                      // 720 > 702
    EXPECT_EQ(dest.Canvas()->Pixels(2, 0), ColorToRGB(clBtnHighlight));   // 402 < 450 <= 702
    EXPECT_EQ(dest.Canvas()->Pixels(3, 0), ColorToRGB(clBtnShadow));      // 202 < 240 <= 402
    EXPECT_EQ(dest.Canvas()->Pixels(4, 0), clBlack);

    TBitmap plain(3, 2), out;
    plain.Canvas()->Brush()->SetColor(clTeal);
    plain.Canvas()->FillRect(Rect(0, 0, 3, 2));
    KitCreateDisabledShades(out, plain);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(out.Canvas()->Pixels(x, 1), clTeal);
}

TEST(KitDrawDisabledEmboss, HighlightBelowRightShadowOnTop) {
    TBitmap src(3, 3), dest(4, 4);
    src.Canvas()->Brush()->SetColor(clWhite);
    src.Canvas()->FillRect(Rect(0, 0, 3, 3));
    src.Canvas()->SetPixels(1, 1, clBlack);
    src.SetTransparentColor(clLime);
    KitDrawDisabledEmboss(dest, src, 0, 0);
    TCanvas& c = *dest.Canvas();
    EXPECT_EQ(c.Pixels(1, 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(c.Pixels(2, 2), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(c.Pixels(0, 0), clLime);
    EXPECT_EQ(c.Pixels(3, 3), clLime);
}

TEST(KitDrawBitmap, WholeBitmapAndItsCanvasGuard) {
    auto src = Tile();
    src->SetTransparentColor(clRed);
    auto dest = Filled(20, 20, clWhite);
    TRect drawn;
    KitDrawBitmap(*dest->Canvas(), Rect(5, 5, 20, 20), *src, kdfPalette | kdfBrushCopy, clLime, drawn);
    EXPECT_EQ(drawn, Rect(5, 5, 15, 15));
    EXPECT_EQ(dest->Canvas()->Pixels(5, 5), clBlue);
    EXPECT_EQ(dest->Canvas()->Pixels(6, 6), clLime);  // the bitmap's red became the brush
    // A bitmap whose canvas pen stands at x = -1 is not drawn.
    auto other = Filled(20, 20, clWhite);
    src->Canvas()->MoveTo(-1, 0);
    KitDrawBitmap(*other->Canvas(), Rect(0, 0, 20, 20), *src, 0, clNone, drawn);
    EXPECT_TRUE(drawn.IsEmpty());
    EXPECT_EQ(other->Canvas()->Pixels(0, 0), clWhite);
}
