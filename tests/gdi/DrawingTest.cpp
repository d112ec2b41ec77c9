// Edges, focus rectangles, monochrome copies and device-independent images.
#include <gtest/gtest.h>

#include "platform/gdi/Drawing.h"
#include "tests/gdi/Helpers.h"

using namespace gdi;
using gdi::test::White;

TEST(DrawEdge, SunkenEdgeLayersAndAdjust) {
    auto bmp = White(6, 6);
    TCanvas& c = *bmp->Canvas();
    TRect r = Rect(0, 0, 6, 6);
    EXPECT_TRUE(DrawEdge(c, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
    EXPECT_EQ(r, Rect(2, 2, 4, 4));
    const TColor shadow = GetSysColor(16), hilite = GetSysColor(20), dark = GetSysColor(21),
                 light = GetSysColor(22);
    EXPECT_EQ(c.Pixels(0, 0), shadow);  // outer top-left
    EXPECT_EQ(c.Pixels(4, 0), shadow);
    EXPECT_EQ(c.Pixels(5, 0), hilite);  // outer right column owns the corner
    EXPECT_EQ(c.Pixels(0, 5), hilite);  // and the bottom row
    EXPECT_EQ(c.Pixels(1, 1), dark);    // inner top-left
    EXPECT_EQ(c.Pixels(4, 1), light);   // inner bottom-right
    EXPECT_EQ(c.Pixels(1, 4), light);
    EXPECT_EQ(c.Pixels(2, 2), clWhite);  // inside untouched

    // Without BF_ADJUST the rectangle stays; only the named sides are drawn; BF_MIDDLE fills.
    auto b2 = White(5, 5);
    TRect r2 = Rect(0, 0, 5, 5);
    DrawEdge(*b2->Canvas(), r2, BDR_RAISEDOUTER, BF_BOTTOMRIGHT | BF_MIDDLE);
    EXPECT_EQ(r2, Rect(0, 0, 5, 5));
    EXPECT_EQ(b2->Canvas()->Pixels(0, 0), GetSysColor(15));  // face: no left/top line
    EXPECT_EQ(b2->Canvas()->Pixels(4, 0), dark);
    EXPECT_EQ(b2->Canvas()->Pixels(0, 4), dark);
    // Soft raised: the outer top-left becomes the highlight.
    auto b3 = White(4, 4);
    TRect r3 = Rect(0, 0, 4, 4);
    DrawEdge(*b3->Canvas(), r3, EDGE_RAISED, BF_RECT | BF_SOFT | BF_ADJUST);
    EXPECT_EQ(b3->Canvas()->Pixels(0, 0), hilite);
    EXPECT_EQ(b3->Canvas()->Pixels(1, 1), light);
    EXPECT_EQ(r3, Rect(2, 2, 2, 2));
}

TEST(DrawFocusRect, DottedXorRestoresOnSecondCall) {
    auto bmp = White(5, 4);
    TCanvas& c = *bmp->Canvas();
    DrawFocusRect(c, Rect(0, 0, 5, 4));
    EXPECT_EQ(gdi::test::Picture(*bmp), "#.#.#\n.....\n#...#\n.#.#.\n");
    DrawFocusRect(c, Rect(0, 0, 5, 4));
    EXPECT_EQ(gdi::test::Picture(*bmp), ".....\n.....\n.....\n.....\n");
}

TEST(MonochromeCopy, MapsByTextAndBackgroundColours) {
    // A mask: white where the source is fuchsia. Copied onto the image with the background
    // black and the text white and SRCAND, the transparent pixel turns black.
    TBitmap src(2, 1);
    src.Canvas()->SetPixels(0, 0, clFuchsia);
    src.Canvas()->SetPixels(1, 0, clRed);
    TBitmap mask(2, 1), image(2, 1);
    mask.Canvas()->CopyRect(Rect(0, 0, 2, 1), *src.Canvas(), Rect(0, 0, 2, 1));
    mask.Mask(clFuchsia);
    ASSERT_TRUE(mask.Monochrome());
    image.Canvas()->CopyRect(Rect(0, 0, 2, 1), *src.Canvas(), Rect(0, 0, 2, 1));
    image.Canvas()->SetBkColor(clBlack);
    image.Canvas()->SetTextColor(clWhite);
    image.Canvas()->CopyMode = cmSrcAnd;
    image.Canvas()->CopyRect(Rect(0, 0, 2, 1), *mask.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(image.Canvas()->Pixels(0, 0), 0x000000u);
    EXPECT_EQ(image.Canvas()->Pixels(1, 0), 0x0000FFu);

    // Default colours copy black and white unchanged; other colours map each pixel.
    auto dst = White(2, 1);
    dst->Canvas()->CopyRect(Rect(0, 0, 2, 1), *mask.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(dst->Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(dst->Canvas()->Pixels(1, 0), clBlack);
    dst->Canvas()->SetTextColor(clBlue);
    dst->Canvas()->SetBkColor(clLime);
    dst->Canvas()->Draw(0, 0, mask);
    EXPECT_EQ(dst->Canvas()->Pixels(0, 0), clLime);
    EXPECT_EQ(dst->Canvas()->Pixels(1, 0), clBlue);

    // Colour onto monochrome: the source's background colour becomes white.
    TBitmap mono(2, 1);
    mono.SetMonochrome(true);
    src.Canvas()->SetBkColor(clRed);
    mono.Canvas()->CopyRect(Rect(0, 0, 2, 1), *src.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(mono.Canvas()->Pixels(0, 0), clBlack);
    EXPECT_EQ(mono.Canvas()->Pixels(1, 0), clWhite);
}

TEST(GetDIBits, BottomUpRowsAtEachDepth) {
    TBitmap b(3, 2);
    b.Canvas()->SetPixels(0, 0, clRed);
    b.Canvas()->SetPixels(1, 0, clBlack);
    b.Canvas()->SetPixels(2, 0, clWhite);
    b.Canvas()->SetPixels(0, 1, clBlue);
    b.Canvas()->SetPixels(1, 1, RGB(250, 10, 10));  // nearest standard colour: red
    b.Canvas()->SetPixels(2, 1, clBlack);
    struct Case { int bits; std::vector<std::uint8_t> data; };
    const Case cases[] = {
        // bottom row first: blue, ~red, black / red, black, white
        {1, {0x00, 0, 0, 0, 0x20, 0, 0, 0}},
        {4, {0xC9, 0x00, 0, 0, 0x90, 0xF0, 0, 0}},
        {8, {12, 9, 0, 0, 9, 0, 15, 0}},
        {24, {255, 0, 0, 10, 10, 250, 0, 0, 0, 0, 0, 0,
              0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetDIBits(b, c.bits), c.data) << c.bits;
        EXPECT_EQ(DIBColorTable(c.bits).size(), c.bits == 24 ? 0u : 1u << c.bits);
    }
    EXPECT_THROW(GetDIBits(b, 16), EInvalidGraphicOperation);
    const auto t8 = DIBColorTable(8);
    EXPECT_EQ(t8[9].rgbRed, 255);
    EXPECT_EQ(t8[16 + 215].rgbBlue, 255);  // last cube entry is white
}

TEST(DrawFrameControl, CheckBoxStates) {
    struct Case { unsigned state; TColor inside; TColor mark; };
    const TColor window = GetSysColor(5), face = GetSysColor(15), text = GetSysColor(8),
                 grey = GetSysColor(16);
    const Case cases[] = {
        {DFCS_BUTTONCHECK, window, window},
        {DFCS_BUTTONCHECK | DFCS_CHECKED, window, text},
        {DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE, face, grey},
        {DFCS_BUTTON3STATE | DFCS_CHECKED, face, grey},
        {DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT, window, text},
    };
    for (const Case& c : cases) {
        auto bmp = White(13, 13);
        EXPECT_TRUE(DrawFrameControl(*bmp->Canvas(), Rect(0, 0, 13, 13), DFC_BUTTON, c.state));
        TCanvas& cv = *bmp->Canvas();
        const bool flat = c.state & DFCS_FLAT;
        EXPECT_EQ(cv.Pixels(0, 0), grey) << c.state;                              // frame
        EXPECT_EQ(cv.Pixels(1, 1), flat ? c.inside : GetSysColor(21)) << c.state;  // inner edge
        EXPECT_EQ(cv.Pixels(3, 2), c.inside) << c.state;                           // inside corner
        EXPECT_EQ(cv.Pixels(5, 7), c.mark) << c.state;                             // in the mark
    }
    auto bmp = White(13, 13);
    EXPECT_FALSE(DrawFrameControl(*bmp->Canvas(), Rect(0, 0, 13, 13), 1, 0));
}

TEST(DrawFrameControl, RadioDot) {
    auto off = White(13, 13), on = White(13, 13);
    DrawFrameControl(*off->Canvas(), Rect(0, 0, 13, 13), DFC_BUTTON, DFCS_BUTTONRADIO);
    DrawFrameControl(*on->Canvas(), Rect(0, 0, 13, 13), DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    EXPECT_EQ(off->Canvas()->Pixels(6, 6), GetSysColor(5));
    EXPECT_EQ(on->Canvas()->Pixels(6, 6), GetSysColor(8));
    EXPECT_EQ(on->Canvas()->Pixels(0, 0), clWhite);  // outside the circle
}
