// Canvas: pixel-exact lines, rectangles, fills, pixels, pen modes, state, clipping, shapes, text.
#include <gtest/gtest.h>
#include <cmath>

#include "platform/gdi/Graphics.h"
#include "tests/gdi/Helpers.h"

using namespace gdi;
using gdi::test::Picture;
using gdi::test::White;

TEST(gdiLine, HorizontalExcludesEndPoint) {
    auto b = White(5, 1);
    TCanvas* c = b->Canvas();
    c->MoveTo(0, 0);
    c->LineTo(3, 0);
    EXPECT_EQ(Picture(*b), "###..\n");
    EXPECT_EQ(c->PenPos(), Point(3, 0));
}

TEST(gdiLine, ReverseHorizontal) {
    auto b = White(5, 1);
    b->Canvas()->MoveTo(4, 0);
    b->Canvas()->LineTo(1, 0);
    EXPECT_EQ(Picture(*b), "..###\n");
}

TEST(gdiLine, VerticalExcludesEndPoint) {
    auto b = White(1, 4);
    b->Canvas()->MoveTo(0, 0);
    b->Canvas()->LineTo(0, 3);
    EXPECT_EQ(Picture(*b), "#\n#\n#\n.\n");
}

TEST(gdiLine, Diagonal45) {
    auto b = White(4, 4);
    b->Canvas()->MoveTo(0, 0);
    b->Canvas()->LineTo(3, 3);
    EXPECT_EQ(Picture(*b), "#...\n.#..\n..#.\n....\n");
    auto u = White(4, 4);
    u->Canvas()->MoveTo(0, 3);
    u->Canvas()->LineTo(3, 0);
    EXPECT_EQ(Picture(*u), "....\n..#.\n.#..\n#...\n");
}

TEST(gdiLine, ShallowBresenham) {
    auto b = White(6, 3);
    b->Canvas()->MoveTo(0, 0);
    b->Canvas()->LineTo(5, 2);
    EXPECT_EQ(Picture(*b), "##....\n..##..\n....#.\n");
}

TEST(gdiLine, ZeroLengthDrawsNothing) {
    auto b = White(3, 3);
    b->Canvas()->MoveTo(1, 1);
    b->Canvas()->LineTo(1, 1);
    EXPECT_EQ(Picture(*b), "...\n...\n...\n");
}

TEST(gdiLine, PenColourAndClippedOutside) {
    auto b = White(4, 2);
    TCanvas* c = b->Canvas();
    c->Pen()->SetColor(clRed);
    c->MoveTo(-5, 1);
    c->LineTo(10, 1);
    EXPECT_EQ(Picture(*b), "....\nRRRR\n");
}

TEST(gdiLine, PolylineDrawsEachVertexOnce) {
    auto b = White(4, 4);
    TCanvas* c = b->Canvas();
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clWhite);  // white xor white = black
    TPoint pts[] = {{0, 0}, {3, 0}, {3, 3}, {0, 3}};
    c->Polyline(pts);
    EXPECT_EQ(Picture(*b), "####\n...#\n...#\n.###\n");
}

TEST(gdiLine, DottedPenGapsTransparentWithClearBrush) {
    auto b = White(14, 1);
    TCanvas* c = b->Canvas();
    c->Pen()->SetStyle(psDot);
    c->Brush()->SetStyle(bsClear);
    c->MoveTo(0, 0);
    c->LineTo(13, 0);
    EXPECT_EQ(Picture(*b), "###...###...#.\n");
}

TEST(gdiLine, DottedPenGapsInBrushColourWithSolidBrush) {
    auto b = White(8, 1);
    TCanvas* c = b->Canvas();
    c->Pen()->SetStyle(psDot);
    c->Brush()->SetColor(clRed);
    c->MoveTo(0, 0);
    c->LineTo(7, 0);
    EXPECT_EQ(Picture(*b), "###RRR#.\n");
}

TEST(gdiLine, WidePenCoversAroundTheLine) {
    auto b = White(9, 7);
    TCanvas* c = b->Canvas();
    c->Pen()->SetWidth(3);
    c->MoveTo(2, 3);
    c->LineTo(6, 3);
    EXPECT_EQ(c->Pixels(4, 2), clBlack);
    EXPECT_EQ(c->Pixels(4, 3), clBlack);
    EXPECT_EQ(c->Pixels(4, 4), clBlack);
    EXPECT_EQ(c->Pixels(4, 0), clWhite);
    EXPECT_EQ(c->Pixels(4, 6), clWhite);
}

// ---- Rectangles --------------------------------------------------------------------------------

TEST(gdiRect, RectangleExcludesRightAndBottom) {
    auto b = White(4, 4);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clRed);
    c->Rectangle(0, 0, 3, 3);
    EXPECT_EQ(Picture(*b), "###.\n#R#.\n###.\n....\n");
}

TEST(gdiRect, RectangleWithClearBrushKeepsInside) {
    auto b = White(5, 5);
    TCanvas* c = b->Canvas();
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(clBlue);
    c->Rectangle(Rect(1, 1, 5, 4));
    EXPECT_EQ(Picture(*b), ".....\n.BBBB\n.B..B\n.BBBB\n.....\n");
}

TEST(gdiRect, RectangleWithoutPenIsOnePixelSmaller) {
    auto b = White(4, 4);
    TCanvas* c = b->Canvas();
    c->Pen()->SetStyle(psClear);
    c->Brush()->SetColor(clRed);
    c->Rectangle(0, 0, 3, 3);
    EXPECT_EQ(Picture(*b), "RR..\nRR..\n....\n....\n");
}

TEST(gdiRect, RectangleInsideFrameWidth2) {
    auto b = White(6, 6);
    TCanvas* c = b->Canvas();
    c->Pen()->SetStyle(psInsideFrame);
    c->Pen()->SetWidth(2);
    c->Brush()->SetColor(clRed);
    c->Rectangle(0, 0, 6, 6);
    EXPECT_EQ(Picture(*b), "######\n######\n##RR##\n##RR##\n######\n######\n");
}

TEST(gdiRect, RectangleWidePenCentred) {
    auto b = White(9, 9);
    TCanvas* c = b->Canvas();
    c->Pen()->SetWidth(3);
    c->Brush()->SetColor(clRed);
    c->Rectangle(2, 2, 8, 8);
    // Edge pixels of a width-1 outline would be 2 and 7; the band is 1..3 and 6..8.
    EXPECT_EQ(Picture(*b),
              ".........\n"
              ".########\n"
              ".########\n"
              ".########\n"
              ".###RR###\n"
              ".###RR###\n"
              ".########\n"
              ".########\n"
              ".########\n");
}

TEST(gdiRect, FillRectExcludesRightAndBottomAndIgnoresPen) {
    auto b = White(4, 4);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clBlue);
    c->Pen()->SetMode(pmXor);
    c->FillRect(Rect(1, 1, 3, 4));
    EXPECT_EQ(Picture(*b), "....\n.BB.\n.BB.\n.BB.\n");
}

TEST(gdiRect, FillRectClearBrushDoesNothing) {
    auto b = White(2, 2);
    b->Canvas()->Brush()->SetStyle(bsClear);
    b->Canvas()->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(Picture(*b), "..\n..\n");
}

TEST(gdiRect, FrameRectUsesBrush) {
    auto b = White(5, 4);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clRed);
    c->Pen()->SetColor(clBlue);
    c->FrameRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(Picture(*b), "RRRR.\nR..R.\nR..R.\nRRRR.\n");
}

// ---- Pixels and pen modes ----------------------------------------------------------------------

TEST(gdiPixels, GetAndSet) {
    auto b = White(3, 3);
    TCanvas* c = b->Canvas();
    c->SetPixels(1, 2, RGB(10, 20, 30));
    EXPECT_EQ(c->Pixels(1, 2), RGB(10, 20, 30));
    EXPECT_EQ(c->Pixels(0, 0), clWhite);
    EXPECT_EQ(c->Pixels(3, 0), 0xFFFFFFFFu);
    EXPECT_EQ(c->Pixels(-1, 0), 0xFFFFFFFFu);
    c->SetPixels(7, 7, clRed);  // outside: nothing
    c->SetPixels(0, 0, clBtnFace);
    EXPECT_EQ(c->Pixels(0, 0), ColorToRGB(clBtnFace));
}

TEST(gdiPenMode, XorTwiceRestores) {
    auto b = White(5, 1);
    TCanvas* c = b->Canvas();
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clRed);
    c->MoveTo(0, 0);
    c->LineTo(3, 0);
    EXPECT_EQ(Picture(*b), "CCC..\n");  // white xor red = aqua
    c->MoveTo(0, 0);
    c->LineTo(3, 0);
    EXPECT_EQ(Picture(*b), ".....\n");
}

TEST(gdiPenMode, NotAndNotXor) {
    auto b = White(3, 1);
    TCanvas* c = b->Canvas();
    c->Pen()->SetMode(pmNot);
    c->MoveTo(0, 0);
    c->LineTo(1, 0);
    c->Pen()->SetMode(pmNotXor);
    c->Pen()->SetColor(clRed);
    c->MoveTo(1, 0);
    c->LineTo(2, 0);
    EXPECT_EQ(c->Pixels(0, 0), clBlack);
    EXPECT_EQ(c->Pixels(1, 0), clRed);  // not (red xor white) = red
    EXPECT_EQ(c->Pixels(2, 0), clWhite);
}

TEST(gdiPenMode, XorRectangleTwiceRestores) {
    auto b = White(6, 6);
    TCanvas* c = b->Canvas();
    c->SetPixels(2, 2, clRed);
    std::string before = Picture(*b);
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clLime);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(0, 0, 5, 5);
    EXPECT_NE(Picture(*b), before);
    c->Rectangle(0, 0, 5, 5);
    EXPECT_EQ(Picture(*b), before);
}

// ---- State -------------------------------------------------------------------------------------

TEST(gdiState, PenBrushFontKeptAndCopyable) {
    TBitmap b(4, 4);
    TCanvas* c = b.Canvas();
    TPen* pen = c->Pen();
    c->Pen()->SetColor(clRed);
    c->Pen()->SetWidth(3);
    c->Pen()->SetMode(pmXor);
    c->Brush()->SetColor(clBlue);
    c->Font()->SetSize(12);
    c->Font()->SetStyle(fsBold | fsItalic);
    c->Rectangle(0, 0, 4, 4);
    c->MoveTo(0, 0);
    c->LineTo(2, 2);
    EXPECT_EQ(c->Pen(), pen);
    EXPECT_EQ(c->Pen()->Color(), clRed);
    EXPECT_EQ(c->Pen()->Width(), 3);
    EXPECT_EQ(c->Pen()->Mode(), pmXor);
    EXPECT_EQ(c->Brush()->Color(), clBlue);
    EXPECT_EQ(c->Font()->Size(), 12);
    EXPECT_EQ(c->Font()->Height(), -16);
    EXPECT_EQ(c->Font()->Style(), static_cast<TFontStyles>(fsBold | fsItalic));

    TPen saved = *c->Pen();
    TBrush savedBrush = *c->Brush();
    TFont savedFont = *c->Font();
    c->Pen()->SetColor(clLime);
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetName("Arial");
    *c->Pen() = saved;
    c->Brush()->Assign(savedBrush);
    *c->Font() = savedFont;
    EXPECT_EQ(c->Pen()->Color(), clRed);
    EXPECT_EQ(c->Pen()->Width(), 3);
    EXPECT_EQ(c->Brush()->Style(), bsSolid);
    EXPECT_EQ(c->Font()->Name(), "PT Sans Narrow");
    // The canvas survives a resize of its bitmap.
    b.SetSize(10, 10);
    EXPECT_EQ(b.Canvas(), c);
    EXPECT_EQ(c->Pen()->Color(), clRed);
}

TEST(gdiState, Defaults) {
    TBitmap b(1, 1);
    TCanvas* c = b.Canvas();
    EXPECT_EQ(c->Pen()->Color(), clBlack);
    EXPECT_EQ(c->Pen()->Width(), 1);
    EXPECT_EQ(c->Pen()->Style(), psSolid);
    EXPECT_EQ(c->Pen()->Mode(), pmCopy);
    EXPECT_EQ(c->Brush()->Color(), clWhite);
    EXPECT_EQ(c->Brush()->Style(), bsSolid);
    EXPECT_EQ(c->Font()->Name(), "PT Sans Narrow");
    EXPECT_EQ(c->Font()->Size(), 8);
    EXPECT_EQ(c->Font()->Color(), clWindowText);
}

TEST(gdiState, OnChangeRuns) {
    TPen pen;
    int n = 0;
    pen.OnChange = [&](rtl::TObject*) { ++n; };
    pen.SetColor(clRed);
    pen.SetColor(clRed);  // unchanged: no event
    TPen other;
    other.SetWidth(4);
    pen = other;  // copies values, keeps the handler
    EXPECT_EQ(n, 2);
    EXPECT_EQ(pen.Width(), 4);
    EXPECT_EQ(pen.Color(), clBlack);
    ASSERT_TRUE(static_cast<bool>(pen.OnChange));
    EXPECT_FALSE(static_cast<bool>(TPen(pen).OnChange));

    TBrush br;
    br.SetStyle(bsClear);
    br.SetColor(clRed);  // a colour makes a clear brush solid, as on the original platform
    EXPECT_EQ(br.Style(), bsSolid);

    TBitmap b(2, 2);
    int changes = 0;
    b.OnChange = [&](rtl::TObject*) { ++changes; };
    b.Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_GE(changes, 1);
}

// ---- Clipping and origin -----------------------------------------------------------------------

TEST(gdiClip, ClipRectLimitsDrawing) {
    auto b = White(4, 4);
    TCanvas* c = b->Canvas();
    EXPECT_EQ(c->ClipRect(), Rect(0, 0, 4, 4));
    c->SetClipRect(Rect(1, 1, 3, 3));
    EXPECT_EQ(c->ClipRect(), Rect(1, 1, 3, 3));
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(Picture(*b), "....\n.RR.\n.RR.\n....\n");
    c->ExcludeClipRect(Rect(1, 1, 2, 2));
    c->Brush()->SetColor(clBlue);
    c->FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(Picture(*b), "....\n.RB.\n.BB.\n....\n");
    c->ResetClip();
    EXPECT_EQ(c->ClipRect(), Rect(0, 0, 4, 4));
}

TEST(gdiClip, OriginShiftsDrawing) {
    auto b = White(4, 4);
    TCanvas* c = b->Canvas();
    c->SetOrigin(Point(1, 2));
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 2, 1));
    EXPECT_EQ(Picture(*b), "....\n....\n.RR.\n....\n");
    EXPECT_EQ(c->Pixels(0, 0), clRed);
    EXPECT_EQ(c->ClipRect(), Rect(-1, -2, 3, 2));
}

// ---- Shapes ------------------------------------------------------------------------------------

TEST(gdiShape, EllipseStaysInsideItsBox) {
    auto b = White(12, 10);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clRed);
    c->Ellipse(1, 1, 11, 9);
    // Outline touches all four sides of the box 1..10 x 1..8, nothing outside.
    for (int x = 0; x < 12; ++x) {
        EXPECT_EQ(c->Pixels(x, 0), clWhite);
        EXPECT_EQ(c->Pixels(x, 9), clWhite);
    }
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(c->Pixels(0, y), clWhite);
        EXPECT_EQ(c->Pixels(11, y), clWhite);
    }
    bool top = false, bottom = false, left = false, right = false;
    for (int x = 0; x < 12; ++x) top |= c->Pixels(x, 1) == clBlack, bottom |= c->Pixels(x, 8) == clBlack;
    for (int y = 0; y < 10; ++y) left |= c->Pixels(1, y) == clBlack, right |= c->Pixels(10, y) == clBlack;
    EXPECT_TRUE(top && bottom && left && right);
    EXPECT_EQ(c->Pixels(5, 4), clRed);
    EXPECT_EQ(c->Pixels(1, 1), clWhite);  // corner of the box is outside the ellipse
}

TEST(gdiShape, FilledDotAsThePartsDrawIt) {
    auto b = White(20, 20);
    TCanvas* c = b->Canvas();
    c->Pen()->SetColor(clRed);
    c->Brush()->SetColor(clRed);
    c->Ellipse(10 - 3, 10 - 3, 10 + 3, 10 + 3);
    EXPECT_EQ(c->Pixels(10, 10), clRed);
    EXPECT_EQ(c->Pixels(8, 9), clRed);
    EXPECT_EQ(c->Pixels(13, 10), clWhite);
    EXPECT_EQ(c->Pixels(6, 10), clWhite);
}

TEST(gdiShape, PolygonOutlineAndFill) {
    auto b = White(6, 6);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clRed);
    TPoint pts[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    c->Polygon(pts);
    EXPECT_EQ(Picture(*b), "#####.\n#RRR#.\n#RRR#.\n#RRR#.\n#####.\n......\n");
}

TEST(gdiShape, PolygonXorTwiceRestores) {
    auto b = White(10, 10);
    TCanvas* c = b->Canvas();
    std::string before = Picture(*b);
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clRed);
    c->Brush()->SetColor(clLime);
    TPoint pts[] = {{1, 1}, {8, 2}, {5, 8}};
    c->Polygon(pts);
    EXPECT_NE(Picture(*b), before);
    c->Polygon(pts);
    EXPECT_EQ(Picture(*b), before);
}

// ---- Text --------------------------------------------------------------------------------------

namespace {
// How far p lies from `paper` towards `ink` (0..1) when it is a blend of the two, else -1.
double BlendOf(TColor p, TColor paper, TColor ink) {
    double t = -1;
    const int ch[3][3] = {{GetRValue(p), GetRValue(paper), GetRValue(ink)},
                          {GetGValue(p), GetGValue(paper), GetGValue(ink)},
                          {GetBValue(p), GetBValue(paper), GetBValue(ink)}};
    for (const auto& c : ch) {
        if (c[1] == c[2]) {
            if (c[0] != c[1]) return -1;
            continue;
        }
        const double u = static_cast<double>(c[0] - c[1]) / (c[2] - c[1]);
        if (u < -0.01 || u > 1.01 || (t >= 0 && std::abs(u - t) > 0.02)) return -1;
        t = u;
    }
    return t < 0 ? 0 : t;
}
}  // namespace

TEST(gdiText, ExtentAndOpaqueBackground) {
    // Smoothed letters blend from the brush to the text colour; two-colour letters hold
    // nothing else. Either way the opaque cell covers exactly the text extent.
    for (const TFontQuality quality : {fqDefault, fqNonAntialiased}) {
        auto b = White(120, 40);
        TCanvas* c = b->Canvas();
        c->Font()->SetName("DejaVu Sans");
        c->Font()->SetSize(10);
        c->Font()->SetColor(clBlack);
        c->Font()->SetQuality(quality);
        int w = c->TextWidth("MP 1");
        int h = c->TextHeight("MP 1");
        EXPECT_GT(w, 15);
        EXPECT_LT(w, 60);
        EXPECT_GE(h, 13);
        EXPECT_LE(h, 20);
        c->Brush()->SetColor(clYellow);
        c->TextOut(5, 5, "MP 1");
        EXPECT_EQ(c->PenPos(), Point(5 + w, 5));
        int black = 0, yellow = 0, shades = 0, cell = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 120; ++x) {
                TColor p = c->Pixels(x, y);
                bool inside = x >= 5 && x < 5 + w && y >= 5 && y < 5 + h;
                if (!inside) {
                    EXPECT_EQ(p, clWhite) << x << "," << y;
                    continue;
                }
                const double ink = BlendOf(p, clYellow, clBlack);
                EXPECT_GE(ink, 0) << x << "," << y;
                if (ink < 0) continue;
                ++cell;
                if (p == clBlack) ++black;
                else if (p == clYellow) ++yellow;
                else ++shades;
            }
        EXPECT_GT(black + shades, 10) << quality;
        EXPECT_GT(yellow, 10) << quality;
        if (quality == fqNonAntialiased) EXPECT_EQ(shades, 0);
        else EXPECT_GT(shades, 0);
        EXPECT_EQ(cell, w * h);
    }
}

TEST(gdiText, ClearBrushLeavesBackground) {
    auto b = White(60, 20);
    TCanvas* c = b->Canvas();
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(clRed);
    c->TextOut(0, 0, "Hi");
    int red = 0, other = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            const double ink = BlendOf(c->Pixels(x, y), clWhite, clRed);
            if (ink >= 0.5) ++red;
            else if (ink < 0) ++other;
        }
    EXPECT_GT(red, 5);
    EXPECT_EQ(other, 0);  // only the paper, the text colour and blends of the two
}

TEST(gdiText, TextRectClipsAndFills) {
    auto b = White(60, 20);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clLime);
    c->Font()->SetColor(clBlack);
    c->TextRect(Rect(2, 2, 10, 12), 0, 0, "WWWWW");
    int inked = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            bool inside = x >= 2 && x < 10 && y >= 2 && y < 12;
            TColor p = c->Pixels(x, y);
            if (!inside) {
                EXPECT_EQ(p, clWhite) << x << "," << y;
                continue;
            }
            const double ink = BlendOf(p, clLime, clBlack);
            EXPECT_GE(ink, 0) << x << "," << y;
            if (ink >= 0.5) ++inked;
        }
    EXPECT_GT(inked, 5);
}

// ---- Block transfers ---------------------------------------------------------------------------

TEST(gdiBlt, StretchDrawWithoutSmoothing) {
    TBitmap src(2, 2);
    src.Canvas()->SetPixels(0, 0, clRed);
    src.Canvas()->SetPixels(1, 0, clLime);
    src.Canvas()->SetPixels(0, 1, clBlue);
    src.Canvas()->SetPixels(1, 1, clYellow);
    auto d = White(4, 4);
    d->Canvas()->StretchDraw(Rect(0, 0, 4, 4), src);
    EXPECT_EQ(Picture(*d), "RRGG\nRRGG\nBBYY\nBBYY\n");
}

TEST(gdiBlt, DrawAndTransparentDraw) {
    TBitmap src(2, 2);
    src.Canvas()->SetPixels(0, 0, clRed);
    src.Canvas()->SetPixels(1, 0, clBlack);
    src.Canvas()->SetPixels(0, 1, clBlack);
    src.Canvas()->SetPixels(1, 1, clBlue);
    auto d = White(3, 3);
    d->Canvas()->Draw(1, 1, src);
    EXPECT_EQ(Picture(*d), "...\n.R#\n.#B\n");
    auto t = White(3, 3);
    src.SetTransparent(true);
    src.SetTransparentColor(clBlack);
    t->Canvas()->Draw(0, 0, src);
    EXPECT_EQ(Picture(*t), "R..\n.B.\n...\n");
    // Automatic transparent colour: the bottom-left pixel.
    src.SetTransparentMode(tmAuto);
    EXPECT_EQ(src.TransparentColor(), clBlack);
}

TEST(gdiBlt, CopyRectAndModes) {
    TBitmap src(2, 1);
    src.Canvas()->SetPixels(0, 0, clRed);
    src.Canvas()->SetPixels(1, 0, clLime);
    auto d = White(4, 2);
    TCanvas* c = d->Canvas();
    c->CopyRect(Rect(1, 0, 3, 1), *src.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(Picture(*d), ".RG.\n....\n");
    // Mirrored copy.
    c->CopyRect(Rect(3, 1, 1, 2), *src.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(Picture(*d), ".RG.\n.GR.\n");
    c->CopyMode = cmSrcInvert;  // xor: equal colours give black
    c->CopyRect(Rect(1, 0, 3, 1), *src.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(Picture(*d), ".##.\n.GR.\n");
    c->CopyMode = cmDstInvert;
    c->CopyRect(Rect(0, 0, 1, 1), *src.Canvas(), Rect(0, 0, 1, 1));
    EXPECT_EQ(c->Pixels(0, 0), clBlack);
}

TEST(gdiBlt, CopyRectWithinTheSameCanvasOverlapping) {
    auto d = White(4, 1);
    TCanvas* c = d->Canvas();
    c->SetPixels(0, 0, clRed);
    c->SetPixels(1, 0, clLime);
    c->SetPixels(2, 0, clBlue);
    c->CopyRect(Rect(1, 0, 4, 1), *c, Rect(0, 0, 3, 1));
    EXPECT_EQ(Picture(*d), "RRGB\n");
}

TEST(gdiBlt, BrushCopyReplacesColour) {
    TBitmap src(2, 1);
    src.Canvas()->SetPixels(0, 0, clRed);
    src.Canvas()->SetPixels(1, 0, clBlack);
    auto d = White(2, 1);
    d->Canvas()->Brush()->SetColor(clYellow);
    d->Canvas()->BrushCopy(Rect(0, 0, 2, 1), src, Rect(0, 0, 2, 1), clBlack);
    EXPECT_EQ(Picture(*d), "RY\n");
}

TEST(gdiCanvas, OverAForeignQImage) {
    QImage img(3, 2, QImage::Format_ARGB32);
    img.fill(Qt::white);
    TCanvas c(&img);
    c.Pen()->SetColor(clRed);
    c.MoveTo(0, 1);
    c.LineTo(3, 1);
    EXPECT_EQ(img.pixel(0, 1), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(2, 1), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255));
    QImage mono(3, 2, QImage::Format_Grayscale8);  // converted on attach
    mono.fill(0);
    TCanvas m(&mono);
    m.SetPixels(0, 0, clLime);
    EXPECT_EQ(m.Pixels(0, 0), clLime);
}

TEST(gdiText, RotatedTextRunsUpwards) {
    auto b = White(40, 80);
    TCanvas* c = b->Canvas();
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetOrientation(900);
    c->TextOut(5, 70, "Feld");
    int minY = 80, maxY = -1, minX = 40, maxX = -1;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 40; ++x)
            if (BlendOf(c->Pixels(x, y), clWhite, clBlack) >= 0.5) {  // mostly ink
                minY = std::min(minY, y), maxY = std::max(maxY, y);
                minX = std::min(minX, x), maxX = std::max(maxX, x);
            }
    ASSERT_GE(maxY, 0);
    EXPECT_LE(maxY, 70);
    EXPECT_GT(70 - minY, 15);  // the text is taller than wide now
    EXPECT_GE(minX, 5);
    EXPECT_LT(maxX - minX, 20);
}
