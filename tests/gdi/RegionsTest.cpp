// Regions: shapes and their pixels, combining, raw data out and in, painting; arcs.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "platform/gdi/Regions.h"
#include "tests/gdi/Helpers.h"
#include "tests/gdi/RegionHelpers.h"

using namespace gdi;
using gdi::test::kPentagram;
using gdi::test::Picture;
using gdi::test::Pixels;
using gdi::test::Rgn;
using gdi::test::White;

TEST(gdiRegion, RectangleExcludesRightAndBottomEdge) {
    Rgn r(CreateRectRgn(1, 1, 4, 3));
    EXPECT_EQ(Pixels(r, 5, 4), ".....\n.###.\n.###.\n.....\n");
    TRect box;
    EXPECT_EQ(GetRgnBox(r, box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(1, 1, 4, 3));
    Rgn inverted(CreateRectRgn(4, 3, 1, 1));
    EXPECT_TRUE(EqualRgn(r, inverted));
    Rgn empty(CreateRectRgn(2, 2, 2, 5));
    EXPECT_EQ(GetRgnBox(empty, box), NULLREGION);
    EXPECT_EQ(box, TRect{});
}

TEST(gdiRegion, PolygonSquareCoversTheSamePixelsAsTheRectangle) {
    const std::array<TPoint, 4> square = {{{1, 1}, {4, 1}, {4, 3}, {1, 3}}};
    Rgn p(CreatePolygonRgn(square, ALTERNATE));
    Rgn r(CreateRectRgn(1, 1, 4, 3));
    EXPECT_TRUE(EqualRgn(p, r));
}

TEST(gdiRegion, PolygonFillModes) {
    Rgn alt(CreatePolygonRgn(kPentagram, ALTERNATE));
    Rgn wind(CreatePolygonRgn(kPentagram, WINDING));
    // The inner pentagon is crossed twice: a hole with ALTERNATE, filled with WINDING.
    EXPECT_FALSE(PtInRegion(alt, 10, 10));
    EXPECT_TRUE(PtInRegion(wind, 10, 10));
    // A point of the star is in both.
    EXPECT_TRUE(PtInRegion(alt, 10, 3));
    EXPECT_TRUE(PtInRegion(wind, 10, 3));
    EXPECT_EQ(CreatePolygonRgn(kPentagram, 7), nullptr);
    const std::array<TPoint, 2> line = {{{0, 0}, {5, 5}}};
    Rgn degenerate(CreatePolygonRgn(line, ALTERNATE));
    TRect box;
    EXPECT_EQ(GetRgnBox(degenerate, box), NULLREGION);
}

// The region of a polygon and the canvas's filling of it take the same pixels, so that a
// shaped window and the outline drawn on it line up.
TEST(gdiRegion, PolygonMatchesCanvasFill) {
    const std::vector<std::vector<TPoint>> shapes = {
        {kPentagram.begin(), kPentagram.end()},
        {{0, 0}, {13, 4}, {7, 17}},
        {{9, 0}, {0, 5}, {0, 15}, {9, 20}, {19, 15}, {19, 5}},
        {{13, 0}, {6, 0}, {0, 6}, {0, 13}, {6, 19}, {13, 19}, {19, 13}, {19, 6}},
    };
    for (const auto& pts : shapes) {
        auto b = White(22, 22);
        b->Canvas()->Pen()->SetStyle(psClear);
        b->Canvas()->Brush()->SetColor(clBlack);
        b->Canvas()->Polygon(pts);
        Rgn r(CreatePolygonRgn(pts, ALTERNATE));
        EXPECT_EQ(Pixels(r, 22, 22), Picture(*b)) << "polygon of " << pts.size() << " points";
    }
}

TEST(gdiRegion, EllipseAndRoundRect) {
    Rgn e(CreateEllipticRgn(0, 0, 8, 6));
    EXPECT_EQ(Pixels(e, 8, 6),
              "..####..\n"
              ".######.\n"
              "########\n"
              "########\n"
              ".######.\n"
              "..####..\n");
    Rgn rr(CreateRoundRectRgn(0, 0, 10, 6, 4, 4));
    EXPECT_EQ(Pixels(rr, 10, 6),
              ".########.\n"
              "##########\n"
              "##########\n"
              "##########\n"
              "##########\n"
              ".########.\n");
    Rgn flat(CreateRoundRectRgn(0, 0, 10, 6, 0, 4));
    Rgn rect(CreateRectRgn(0, 0, 10, 6));
    EXPECT_TRUE(EqualRgn(flat, rect));
    // Corner ellipses larger than the box are clamped to it: the whole ellipse.
    Rgn big(CreateRoundRectRgn(0, 0, 8, 6, 100, 100));
    EXPECT_TRUE(EqualRgn(big, e));
}

TEST(gdiRegion, CombineModes) {
    Rgn a(CreateRectRgn(0, 0, 4, 2));
    Rgn b(CreateRectRgn(2, 0, 6, 2));
    Rgn d(CreateRectRgn(0, 0, 0, 0));
    struct Case {
        int mode;
        int kind;
        const char* pixels;
    };
    const Case cases[] = {
        {RGN_AND, SIMPLEREGION, "..##..\n..##..\n"},
        {RGN_OR, SIMPLEREGION, "######\n######\n"},
        {RGN_XOR, COMPLEXREGION, "##..##\n##..##\n"},
        {RGN_DIFF, SIMPLEREGION, "##....\n##....\n"},
        {RGN_COPY, SIMPLEREGION, "####..\n####..\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CombineRgn(d, a, b, c.mode), c.kind) << c.mode;
        EXPECT_EQ(Pixels(d, 6, 2), c.pixels) << c.mode;
    }
    // The destination may be a source.
    EXPECT_EQ(CombineRgn(a, a, b, RGN_DIFF), SIMPLEREGION);
    EXPECT_EQ(Pixels(a, 6, 2), "##....\n##....\n");
    EXPECT_EQ(CombineRgn(d, a, a, RGN_DIFF), NULLREGION);
    // Invalid modes and handles change nothing.
    EXPECT_EQ(CombineRgn(d, a, b, 9), RGN_ERROR);
    EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_OR), RGN_ERROR);
    EXPECT_EQ(CombineRgn(nullptr, a, b, RGN_OR), RGN_ERROR);
}

TEST(gdiRegion, OffsetAndHandles) {
    HRGN r = CreateRectRgn(0, 0, 2, 2);
    EXPECT_EQ(OffsetRgn(r, 3, -1), SIMPLEREGION);
    TRect box;
    GetRgnBox(r, box);
    EXPECT_EQ(box, Rect(3, -1, 5, 1));
    EXPECT_TRUE(RectInRegion(r, Rect(4, 0, 9, 9)));
    EXPECT_FALSE(RectInRegion(r, Rect(5, 0, 9, 9)));
    EXPECT_TRUE(DeleteObject(r));
    // A freed handle is no region any more.
    EXPECT_FALSE(DeleteObject(r));
    EXPECT_FALSE(PtInRegion(r, 3, 0));
    EXPECT_EQ(OffsetRgn(r, 1, 1), RGN_ERROR);
    EXPECT_FALSE(DeleteObject(static_cast<HRGN>(nullptr)));
}

TEST(gdiRegion, DataRoundTrip) {
    Rgn r(CreateEllipticRgn(3, 2, 30, 20));
    const std::uint32_t size = GetRegionData(r, 0, nullptr);
    ASSERT_GT(size, sizeof(RGNDATAHEADER));
    std::vector<std::uint8_t> data(size);
    EXPECT_EQ(GetRegionData(r, size - 1, data.data()), 0u);
    EXPECT_EQ(GetRegionData(r, size, data.data()), size);
    RGNDATAHEADER h;
    std::memcpy(&h, data.data(), sizeof h);
    EXPECT_EQ(h.dwSize, 32u);
    EXPECT_EQ(h.iType, RDH_RECTANGLES);
    EXPECT_EQ(h.nRgnSize, h.nCount * 16);
    EXPECT_EQ(size, 32 + h.nCount * 16);
    EXPECT_EQ(h.rcBound, Rect(3, 2, 30, 20));
    // The first rectangle is the ellipse's top row: right and bottom just outside.
    TRect first;
    std::memcpy(&first, data.data() + 32, sizeof first);
    EXPECT_EQ(first.Top, 2);
    EXPECT_EQ(first.Bottom, 3);
    Rgn back(ExtCreateRegion(nullptr, size, data.data()));
    EXPECT_TRUE(EqualRgn(r, back));
}

TEST(gdiRegion, DamagedDataIsRefused) {
    Rgn r(CreateRectRgn(0, 0, 5, 5));
    std::vector<std::uint8_t> data(GetRegionData(r, 0, nullptr));
    GetRegionData(r, static_cast<std::uint32_t>(data.size()), data.data());
    const auto n = static_cast<std::uint32_t>(data.size());
    EXPECT_EQ(ExtCreateRegion(nullptr, n - 1, data.data()), nullptr);  // rectangle cut off
    EXPECT_EQ(ExtCreateRegion(nullptr, 16, data.data()), nullptr);     // header cut off
    EXPECT_EQ(ExtCreateRegion(nullptr, n, nullptr), nullptr);
    auto bad = data;
    bad[0] = 40;  // dwSize
    EXPECT_EQ(ExtCreateRegion(nullptr, n, bad.data()), nullptr);
    bad = data;
    bad[8] = 0xFF;  // nCount far beyond the data
    bad[11] = 0xFF;
    EXPECT_EQ(ExtCreateRegion(nullptr, n, bad.data()), nullptr);
    // An empty region's data is the header alone.
    Rgn empty(CreateRectRgn(0, 0, 0, 0));
    std::vector<std::uint8_t> e(GetRegionData(empty, 0, nullptr));
    EXPECT_EQ(e.size(), 32u);
    GetRegionData(empty, 32, e.data());
    Rgn emptyBack(ExtCreateRegion(nullptr, 32, e.data()));
    TRect box;
    EXPECT_EQ(GetRgnBox(emptyBack, box), NULLREGION);
}

TEST(gdiRegionPaint, FillHonoursOriginClipAndMode) {
    Rgn r(CreateRectRgn(0, 0, 3, 2));
    auto b = White(6, 3);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clRed);
    c->SetOrigin(Point(2, 1));
    c->SetClipRect(Rect(-2, -1, 2, 5));  // logical: device columns 0..3
    EXPECT_TRUE(FillRgn(*c, r));
    EXPECT_EQ(Picture(*b), "......\n..RR..\n..RR..\n");
    // pmMask ands the brush into the surface: red over yellow stays red, over white red.
    auto y = White(3, 1);
    y->Canvas()->Brush()->SetColor(clYellow);
    y->Canvas()->FillRect(Rect(0, 0, 1, 1));
    y->Canvas()->Brush()->SetColor(clRed);
    y->Canvas()->Pen()->SetMode(pmMask);
    Rgn all(CreateRectRgn(0, 0, 2, 1));
    FillRgn(*y->Canvas(), all);
    EXPECT_EQ(Picture(*y), "RR.\n");
    y->Canvas()->Brush()->SetStyle(bsClear);
    y->Canvas()->Pen()->SetMode(pmCopy);
    Rgn third(CreateRectRgn(2, 0, 3, 1));
    FillRgn(*y->Canvas(), third);
    EXPECT_EQ(Picture(*y), "RR.\n");
    EXPECT_FALSE(FillRgn(*y->Canvas(), nullptr));
}

TEST(gdiRegionPaint, PatternFillRepeatsFromTheDeviceOrigin) {
    TBitmap pattern;
    pattern.SetSize(2, 2);
    pattern.Canvas()->Brush()->SetColor(clWhite);
    pattern.Canvas()->FillRect(Rect(0, 0, 2, 2));
    pattern.Canvas()->SetPixels(1, 0, clBlue);
    pattern.Canvas()->SetPixels(0, 1, clBlue);
    auto b = White(5, 3);
    b->Canvas()->SetOrigin(Point(1, 0));
    b->Canvas()->Pen()->SetMode(pmMask);
    Rgn r(CreateRectRgn(0, 0, 4, 3));
    EXPECT_TRUE(FillRgnPattern(*b->Canvas(), r, pattern));
    EXPECT_EQ(Picture(*b), ".B.B.\n..B.B\n.B.B.\n");
}

TEST(gdiRegionPaint, FrameLiesInsideTheEdge) {
    auto b = White(7, 5);
    b->Canvas()->Brush()->SetColor(clBlack);
    Rgn r(CreateRectRgn(1, 0, 7, 5));
    EXPECT_TRUE(FrameRgn(*b->Canvas(), r, 2, 1));
    EXPECT_EQ(Picture(*b),
              ".######\n"
              ".##..##\n"
              ".##..##\n"
              ".##..##\n"
              ".######\n");
}

TEST(gdiArc, CounterClockwiseFromStartRadialToEndRadial) {
    // From the top-right corner's direction to the bottom-left one, counter-clockwise: the
    // upper-left half of the circle.
    auto b = White(11, 11);
    Arc(*b->Canvas(), 0, 0, 11, 11, 11, 0, 0, 11);
    TCanvas* c = b->Canvas();
    EXPECT_EQ(c->Pixels(5, 0), clBlack);   // top
    EXPECT_EQ(c->Pixels(0, 5), clBlack);   // left
    EXPECT_EQ(c->Pixels(10, 5), clWhite);  // right
    EXPECT_EQ(c->Pixels(5, 10), clWhite);  // bottom
    // Swapping the points draws the other half.
    auto o = White(11, 11);
    Arc(*o->Canvas(), 0, 0, 11, 11, 0, 11, 11, 0);
    EXPECT_EQ(o->Canvas()->Pixels(5, 0), clWhite);
    EXPECT_EQ(o->Canvas()->Pixels(10, 5), clBlack);
    EXPECT_EQ(o->Canvas()->Pixels(5, 10), clBlack);
    // An inverted box is the same ellipse.
    auto inv = White(11, 11);
    Arc(*inv->Canvas(), 11, 11, 0, 0, 11, 0, 0, 11);
    EXPECT_EQ(Picture(*inv), Picture(*b));
}

TEST(gdiArc, SameDirectionTwiceIsTheWholeEllipse) {
    auto a = White(12, 8);
    Arc(*a->Canvas(), 0, 0, 12, 8, 12, 4, 12, 4);
    auto e = White(12, 8);
    e->Canvas()->Brush()->SetStyle(bsClear);
    e->Canvas()->Ellipse(0, 0, 12, 8);
    // Every pixel of the canvas's ellipse outline is drawn by the arc, and the arc stays within
    // one pixel of it.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            if (e->Canvas()->Pixels(x, y) == clBlack) continue;
            if (a->Canvas()->Pixels(x, y) != clBlack) continue;
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) near |= e->Canvas()->Pixels(x + dx, y + dy) == clBlack;
            EXPECT_TRUE(near) << x << "," << y;
        }
    EXPECT_EQ(a->Canvas()->Pixels(0, 4), clBlack);
    EXPECT_EQ(a->Canvas()->Pixels(11, 4), clBlack);
    EXPECT_EQ(a->Canvas()->Pixels(6, 0), clBlack);
    EXPECT_EQ(a->Canvas()->Pixels(6, 7), clBlack);
}

TEST(gdiArc, PieAndChordFillTheirPart) {
    // A pie from the right to the top: the upper-right quarter; the chord of the same arc only
    // the segment beyond the line between its ends.
    auto p = White(21, 21);
    p->Canvas()->Brush()->SetColor(clRed);
    Pie(*p->Canvas(), 0, 0, 21, 21, 21, 10, 10, 0);
    EXPECT_EQ(p->Canvas()->Pixels(14, 6), clRed);
    EXPECT_EQ(p->Canvas()->Pixels(6, 6), clWhite);
    EXPECT_EQ(p->Canvas()->Pixels(14, 14), clWhite);
    auto c = White(21, 21);
    c->Canvas()->Brush()->SetColor(clRed);
    Chord(*c->Canvas(), 0, 0, 21, 21, 21, 10, 10, 0);
    EXPECT_EQ(c->Canvas()->Pixels(16, 4), clRed);
    EXPECT_EQ(c->Canvas()->Pixels(12, 8), clWhite);  // inside the pie, below the chord
}
