#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "foundation/BitMapToolsLib.h"
#include "foundation/GrafikPropertiesLib.h"
#include "foundation/GrafikToolsLib.h"

namespace {

using gdi::TBitmap;
using gdi::TColor;

std::unique_ptr<TBitmap> Filled(int w, int h, TColor c) { return ColoredBitmap(h, w, c); }

TColor Px(TBitmap& b, int x, int y) { return b.Canvas()->Pixels(x, y); }

// True when every pixel of a equals the pixel of b (same size required).
bool SamePixels(TBitmap& a, TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (Px(a, x, y) != Px(b, x, y)) return false;
    return true;
}

// A canvas state that no helper sets by itself.
void OddState(gdi::TCanvas* c) {
    c->Pen()->SetColor(0x123456);
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(gdi::psDot);
    c->Pen()->SetMode(gdi::pmNotXor);
    c->Brush()->SetColor(0x654321);
    c->Brush()->SetStyle(gdi::bsCross);
    c->Font()->SetColor(0x0A0B0C);
    c->Font()->SetSize(13);
}

void ExpectOddState(gdi::TCanvas* c, bool fontColourToo = true) {
    EXPECT_EQ(c->Pen()->Color(), 0x123456u);
    EXPECT_EQ(c->Pen()->Width(), 1);
    EXPECT_EQ(c->Pen()->Style(), gdi::psDot);
    EXPECT_EQ(c->Pen()->Mode(), gdi::pmNotXor);
    EXPECT_EQ(c->Brush()->Color(), 0x654321u);
    EXPECT_EQ(c->Brush()->Style(), gdi::bsCross);
    if (fontColourToo) {
        EXPECT_EQ(c->Font()->Color(), 0x0A0B0Cu);
    }
    EXPECT_EQ(c->Font()->Size(), 13);
}

// Draws the expected strokes with plain canvas lines (end points excluded) in black.
std::unique_ptr<TBitmap> Reference(int w, int h,
                                   std::initializer_list<std::array<int, 4>> lines) {
    auto b = Filled(w, h, gdi::clWhite);
    b->Canvas()->Pen()->SetColor(gdi::clBlack);
    for (const auto& l : lines) {
        b->Canvas()->MoveTo(l[0], l[1]);
        b->Canvas()->LineTo(l[2], l[3]);
    }
    return b;
}

TEST(GrafikProps, TPropsWritesBrushAndPenBack) {
    auto b = Filled(4, 4, gdi::clWhite);
    gdi::TCanvas* c = b->Canvas();
    OddState(c);
    c->Brush()->SetStyle(gdi::bsClear);  // a clear brush must stay clear after the restore
    {
        TProps props(c);
        c->Pen()->SetColor(gdi::clRed);
        c->Pen()->SetWidth(4);
        c->Pen()->SetStyle(gdi::psSolid);
        c->Pen()->SetMode(gdi::pmCopy);
        c->Brush()->SetColor(gdi::clBlue);
    }
    EXPECT_EQ(c->Pen()->Color(), 0x123456u);
    EXPECT_EQ(c->Pen()->Width(), 1);
    EXPECT_EQ(c->Pen()->Style(), gdi::psDot);
    EXPECT_EQ(c->Pen()->Mode(), gdi::pmNotXor);
    EXPECT_EQ(c->Brush()->Color(), 0x654321u);
    EXPECT_EQ(c->Brush()->Style(), gdi::bsClear);
}

TEST(GrafikProps, SaveSlotIsOneLevelAndEmptiesOnRestore) {
    auto b = Filled(4, 4, gdi::clWhite);
    gdi::TCanvas* c = b->Canvas();
    OddState(c);
    SaveCanvasState(c);
    c->Font()->SetName("Courier New");
    c->Font()->SetColor(gdi::clRed);
    c->Pen()->SetWidth(7);
    c->Brush()->SetColor(gdi::clLime);
    RestoreCanvasState();
    ExpectOddState(c);
    EXPECT_NE(c->Font()->Name(), "Courier New");

    // The slot is empty now: a second restore changes nothing.
    c->Pen()->SetWidth(5);
    RestoreCanvasState();
    EXPECT_EQ(c->Pen()->Width(), 5);

    // A second save overwrites the first.
    c->Pen()->SetWidth(2);
    SaveCanvasState(c);
    c->Pen()->SetWidth(3);
    SaveCanvasState(c);
    c->Pen()->SetWidth(9);
    RestoreCanvasState();
    EXPECT_EQ(c->Pen()->Width(), 3);
}

TEST(GrafikTools, HelpersLeaveTheCanvasAsFound) {
    auto b = Filled(40, 40, gdi::clWhite);
    gdi::TCanvas* c = b->Canvas();
    OddState(c);
    CanvasDot(c, 10, 10, 3, gdi::clRed);
    ExpectOddState(c);
    CanvasLine(c, 0, 0, 5, 5, gdi::clRed);
    ExpectOddState(c);
    CanvasFillRect(c, 1, 1, 3, 3, gdi::clRed);
    ExpectOddState(c);
    CanvasFillRect2(c, 1, 1, 3, 3, gdi::clRed, gdi::clLime);
    ExpectOddState(c);
    CanvasCross(c, 20, 20, 4, gdi::clRed);
    ExpectOddState(c);
    CanvasArrow(c, 0, 30, 30, 30, gdi::clRed, 0);
    ExpectOddState(c);
    CanvasClear(c, gdi::clAqua);
    ExpectOddState(c);
    EXPECT_EQ(Px(*b, 39, 39), gdi::clAqua);
    CanvasTextOut(c, 2, 2, "x", gdi::clRed, gdi::clLime);
    ExpectOddState(c, false);
    EXPECT_EQ(c->Font()->Color(), gdi::clRed);  // the text colour stays

    // The frame leaves pen colour and a clear brush in its colour behind.
    CanvasFrameRect(c, 1, 1, 5, 5, gdi::clBlue);
    EXPECT_EQ(c->Pen()->Color(), gdi::clBlue);
    EXPECT_EQ(c->Brush()->Color(), gdi::clBlue);
    EXPECT_EQ(c->Brush()->Style(), gdi::bsClear);
}

TEST(GrafikTools, ClearKeepsASlotSavedByTheCaller) {
    auto b = Filled(4, 4, gdi::clWhite);
    gdi::TCanvas* c = b->Canvas();
    OddState(c);
    SaveCanvasState(c);
    CanvasClearWhite(c);
    c->Pen()->SetWidth(6);
    RestoreCanvasState();
    EXPECT_EQ(c->Pen()->Width(), 1);
    EXPECT_EQ(Px(*b, 3, 3), gdi::clWhite);
}

TEST(GrafikTools, RectanglesLeaveOutRightAndBottomEdges) {
    auto b = Filled(12, 12, gdi::clWhite);
    CanvasFillRect(b->Canvas(), 2, 3, 4, 5, gdi::clRed);
    // Pixels x 2..5, y 3..7.
    EXPECT_EQ(Px(*b, 2, 3), gdi::clRed);
    EXPECT_EQ(Px(*b, 5, 7), gdi::clRed);
    EXPECT_EQ(Px(*b, 6, 3), gdi::clWhite);
    EXPECT_EQ(Px(*b, 2, 8), gdi::clWhite);
    EXPECT_EQ(Px(*b, 1, 3), gdi::clWhite);

    CanvasFillRect2(b->Canvas(), 7, 1, 4, 4, gdi::clBlue, gdi::clLime);
    EXPECT_EQ(Px(*b, 7, 1), gdi::clBlue);   // outline
    EXPECT_EQ(Px(*b, 10, 4), gdi::clBlue);
    EXPECT_EQ(Px(*b, 8, 2), gdi::clLime);   // inside
    EXPECT_EQ(Px(*b, 11, 1), gdi::clWhite);

    auto f = Filled(8, 8, gdi::clWhite);
    CanvasFrameRect(f->Canvas(), 1, 1, 4, 4, gdi::clBlack);
    EXPECT_EQ(Px(*f, 1, 1), gdi::clBlack);
    EXPECT_EQ(Px(*f, 4, 4), gdi::clBlack);
    EXPECT_EQ(Px(*f, 2, 2), gdi::clWhite);  // clear inside
    EXPECT_EQ(Px(*f, 5, 1), gdi::clWhite);
}

TEST(GrafikTools, LinesAndCrossLeaveOutTheirEndPoints) {
    auto b = Filled(12, 12, gdi::clWhite);
    CanvasLine(b->Canvas(), 1, 1, 6, 1, gdi::clBlack);
    auto ref = Reference(12, 12, {{1, 1, 6, 1}});
    EXPECT_TRUE(SamePixels(*b, *ref));
    EXPECT_EQ(Px(*b, 6, 1), gdi::clWhite);

    auto x = Filled(12, 12, gdi::clWhite);
    CanvasCross(x->Canvas(), 5, 5, 3, gdi::clBlack);
    auto xref = Reference(12, 12, {{2, 2, 8, 8}, {2, 8, 8, 2}});
    EXPECT_TRUE(SamePixels(*x, *xref));

    auto p = Filled(3, 3, gdi::clWhite);
    CanvasPixel(p->Canvas(), 1, 2, gdi::clRed);
    EXPECT_EQ(Px(*p, 1, 2), gdi::clRed);
}

TEST(GrafikTools, DotIsFilledInItsColour) {
    auto b = Filled(20, 20, gdi::clWhite);
    CanvasDot(b->Canvas(), 10, 10, 3, gdi::clRed);
    EXPECT_EQ(Px(*b, 10, 10), gdi::clRed);
    EXPECT_EQ(Px(*b, 8, 10), gdi::clRed);
    EXPECT_EQ(Px(*b, 10, 14), gdi::clWhite);
    EXPECT_EQ(Px(*b, 6, 6), gdi::clWhite);
}

TEST(GrafikTools, ArrowHeadGeometry) {
    // Horizontal, head 15 % of 100: strokes to (87, -8) and (87, 8) relative to the line's row.
    auto h = Filled(130, 40, gdi::clWhite);
    CanvasArrow(h->Canvas(), 10, 20, 110, 20, gdi::clBlack, 0);
    auto href = Reference(130, 40, {{10, 20, 110, 20}, {110, 20, 97, 12}, {110, 20, 97, 28}});
    EXPECT_TRUE(SamePixels(*h, *href));

    // A percentage: 20 % of 50 is 10.
    auto pct = Filled(70, 50, gdi::clWhite);
    CanvasArrow(pct->Canvas(), 5, 30, 55, 30, gdi::clBlack, -20);
    auto pref = Reference(70, 50, {{5, 30, 55, 30}, {55, 30, 46, 25}, {55, 30, 46, 35}});
    EXPECT_TRUE(SamePixels(*pct, *pref));

    // A fixed head of 7 whatever the length.
    auto fixed = Filled(70, 50, gdi::clWhite);
    CanvasArrow(fixed->Canvas(), 5, 30, 55, 30, gdi::clBlack, 7);
    auto fref = Reference(70, 50, {{5, 30, 55, 30}, {55, 30, 49, 26}, {55, 30, 49, 34}});
    EXPECT_TRUE(SamePixels(*fixed, *fref));

    // Pointing up (90 degrees): the strokes point down and back.
    auto up = Filled(100, 100, gdi::clWhite);
    CanvasArrow(up->Canvas(), 50, 80, 50, 20, gdi::clBlack, 0);
    auto uref = Reference(100, 100, {{50, 80, 50, 20}, {50, 20, 46, 28}, {50, 20, 55, 28}});
    EXPECT_TRUE(SamePixels(*up, *uref));
}

TEST(GrafikTools, FontFromString) {
    auto b = Filled(2, 2, gdi::clWhite);
    gdi::TFont* f = b->Canvas()->Font();
    FontFromString(b->Canvas(), "12,bold,Courier");
    EXPECT_EQ(f->Size(), 12);
    EXPECT_EQ(f->Style(), static_cast<gdi::TFontStyles>(gdi::fsBold));
    EXPECT_EQ(f->Name(), "Courier New");

    FontFromString(b->Canvas(), "Normal,Italic,UNDERLINE,strikeout,Times");
    EXPECT_EQ(f->Style(), static_cast<gdi::TFontStyles>(gdi::fsItalic | gdi::fsUnderline |
                                                          gdi::fsStrikeOut));
    EXPECT_EQ(f->Name(), "Times New Roman");

    // Tokens are not trimmed: " Bold" and " 9" match nothing.
    FontFromString(b->Canvas(), "Normal,10, Bold, 9,Comic");
    EXPECT_EQ(f->Style(), 0u);
    EXPECT_EQ(f->Size(), 10);
    EXPECT_EQ(f->Name(), "Comic Sans MS");

    FontFromString(b->Canvas(), "Arial,99999999999999,Wingdings");
    EXPECT_EQ(f->Name(), "Arial");
    EXPECT_EQ(f->Size(), 10);

    CanvasFontSize(b->Canvas(), 8);
    CanvasFontName(b->Canvas(), "DejaVu Sans");
    CanvasFontBold(b->Canvas());
    EXPECT_EQ(f->Size(), 8);
    EXPECT_EQ(f->Name(), "DejaVu Sans");
    EXPECT_EQ(f->Style(), static_cast<gdi::TFontStyles>(gdi::fsBold));
}

TEST(GrafikTools, PenFromString) {
    auto b = Filled(2, 2, gdi::clWhite);
    gdi::TPen* p = b->Canvas()->Pen();
    PenFromString(b->Canvas(), "psDash,5");
    EXPECT_EQ(p->Style(), gdi::psDash);
    EXPECT_EQ(p->Width(), 5);
    PenFromString(b->Canvas(), "psSolid,1");
    EXPECT_EQ(p->Style(), gdi::psSolid);
    EXPECT_EQ(p->Width(), 1);

    struct Case {
        const char* token;
        gdi::TPenMode mode;
    };
    const Case modes[] = {{"pmBlack", gdi::pmBlack},       {"PMWHITE", gdi::pmWhite},
                          {"pmNot", gdi::pmNot},           {"pmMergePenNot", gdi::pmMergePenNot},
                          {"pmMaskPenNot", gdi::pmMaskPenNot}, {"pmMergeNotPen", gdi::pmMergeNotPen},
                          {"pmMaskNotPen", gdi::pmMaskNotPen}, {"pmMerge", gdi::pmMerge},
                          {"pmNotMerge", gdi::pmNotMerge}, {"pmMask", gdi::pmMask},
                          {"pmXor", gdi::pmXor},           {"pmNotXor", gdi::pmNotXor},
                          {"pmCopy", gdi::pmCopy}};
    for (const Case& c : modes) {
        PenFromString(b->Canvas(), c.token);
        EXPECT_EQ(p->Mode(), c.mode) << c.token;
    }
    // Modes without a token and unknown words change nothing.
    for (const char* ignored : {"pmNop", "pmNotCopy", "pmNotMask", "psWide", "0x5"}) {
        PenFromString(b->Canvas(), ignored);
        EXPECT_EQ(p->Mode(), gdi::pmCopy) << ignored;
        EXPECT_EQ(p->Width(), 1) << ignored;
    }
    PenFromString(b->Canvas(), "psClear,psInsideFrame,psDashDotDot");
    EXPECT_EQ(p->Style(), gdi::psDashDotDot);
}

TEST(BitMapTools, EqualizeStretchesBothOntoTheCommonSize) {
    auto a = Filled(100, 50, gdi::clRed);
    auto b = Filled(40, 80, gdi::clBlue);
    b->SetTransparent(true);  // the bitmap's own transparency plays no part
    b->Canvas()->SetPixels(0, 79, gdi::clBlue);
    EXPECT_TRUE(EqualizeBitmapSizes(*a, *b));
    EXPECT_EQ(a->Width(), 100);
    EXPECT_EQ(a->Height(), 80);
    EXPECT_EQ(b->Width(), 100);
    EXPECT_EQ(b->Height(), 80);
    EXPECT_EQ(Px(*a, 99, 79), gdi::clRed);
    EXPECT_EQ(Px(*b, 99, 79), gdi::clBlue);
    EXPECT_EQ(Px(*b, 0, 0), gdi::clBlue);
    EXPECT_TRUE(b->Transparent());

    // An empty partner becomes black of the common size.
    auto e = std::make_unique<TBitmap>();
    auto g = Filled(3, 2, gdi::clLime);
    EqualizeBitmapSizes(*e, *g);
    EXPECT_EQ(e->Width(), 3);
    EXPECT_EQ(e->Height(), 2);
    EXPECT_EQ(Px(*e, 2, 1), gdi::clBlack);
}

TEST(BitMapTools, ColoredAndFitBitmap) {
    auto c = ColoredBitmap(3, 5, gdi::clYellow);
    EXPECT_EQ(c->Width(), 5);
    EXPECT_EQ(c->Height(), 3);
    EXPECT_EQ(Px(*c, 4, 2), gdi::clYellow);

    auto src = Filled(200, 100, gdi::clWhite);
    src->Canvas()->SetPixels(199, 99, gdi::clRed);
    src->Canvas()->SetPixels(0, 0, gdi::clBlue);
    auto fit = FitBitmap(*src, 50, 50);
    EXPECT_EQ(fit->Width(), 50);
    EXPECT_EQ(fit->Height(), 25);

    // Scaling up by whole blocks, without smoothing: 2 x 2 into 569 x 569 gives 569 x 569.
    auto small = Filled(2, 2, gdi::clRed);
    small->Canvas()->SetPixels(1, 1, gdi::clBlue);
    auto big = FitBitmap(*small, 569, 569);
    EXPECT_EQ(big->Width(), 569);
    EXPECT_EQ(big->Height(), 569);
    EXPECT_EQ(Px(*big, 284, 284), gdi::clRed);
    EXPECT_EQ(Px(*big, 285, 285), gdi::clBlue);
    EXPECT_EQ(Px(*big, 568, 0), gdi::clRed);

    TBitmap empty;
    auto none = FitBitmap(empty, 50, 50);
    EXPECT_TRUE(none->Empty());
}

TEST(BitMapTools, OverlayCopiesOnlyNonTransparentPixelsInsideTheBackground) {
    auto bg = Filled(3, 3, gdi::clLime);
    auto src = Filled(5, 2, gdi::clBlack);  // larger than bg in x
    src->Canvas()->SetPixels(0, 0, gdi::clRed);
    src->Canvas()->SetPixels(4, 1, gdi::clRed);  // outside bg: dropped
    src->Canvas()->SetPixels(2, 1, gdi::clWhite);

    auto dest = Filled(9, 9, gdi::clBlue);
    OverlayBitmap(*src, *bg, *dest, gdi::clBlack);
    EXPECT_EQ(dest->Width(), 3);
    EXPECT_EQ(dest->Height(), 3);
    EXPECT_EQ(Px(*dest, 0, 0), gdi::clRed);
    EXPECT_EQ(Px(*dest, 2, 1), gdi::clWhite);
    EXPECT_EQ(Px(*dest, 1, 0), gdi::clLime);
    EXPECT_EQ(Px(*dest, 2, 2), gdi::clLime);
    EXPECT_EQ(Px(*bg, 0, 0), gdi::clLime);  // the background is not touched

    // Another transparent colour; a pf32bit source reads the same.
    src->SetPixelFormat(gdi::pf32bit);
    auto white = OverlayBitmapNew(*src, *bg, gdi::clRed);
    EXPECT_EQ(Px(*white, 0, 0), gdi::clLime);
    EXPECT_EQ(Px(*white, 1, 1), gdi::clBlack);

    // Source, background and destination as one object.
    auto self = Filled(2, 2, gdi::clRed);
    OverlayBitmap(*self, *self, *self, gdi::clBlack);
    EXPECT_EQ(Px(*self, 1, 1), gdi::clRed);
}

TEST(BitMapTools, OverlayBlackBringsLayersToOneSize) {
    auto top = Filled(2, 2, gdi::clBlack);
    top->Canvas()->SetPixels(0, 0, gdi::clRed);
    auto bottom = Filled(4, 4, gdi::clLime);
    auto out = OverlayBlack(*top, *bottom);
    EXPECT_EQ(top->Width(), 4);  // resized in place
    EXPECT_EQ(out->Width(), 4);
    EXPECT_EQ(out->Height(), 4);
    // The red pixel was stretched to a 2 x 2 block.
    EXPECT_EQ(Px(*out, 0, 0), gdi::clRed);
    EXPECT_EQ(Px(*out, 1, 1), gdi::clRed);
    EXPECT_EQ(Px(*out, 2, 2), gdi::clLime);
    EXPECT_EQ(Px(*out, 3, 0), gdi::clLime);
}

}  // namespace
