// Paths: figures collected between BeginPath and EndPath, then stroked, filled, widened or
// turned into a region.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/gdi/Paths.h"
#include "tests/gdi/Helpers.h"
#include "tests/gdi/RegionHelpers.h"

using namespace gdi;
using gdi::test::kPentagram;
using gdi::test::Picture;
using gdi::test::Pixels;
using gdi::test::Rgn;
using gdi::test::White;

TEST(gdiPath, FiguresInABracketAreNotPaintedAndGiveTheRegionFunctionsPixels) {
    auto bmp = White(24, 24);
    TCanvas& c = *bmp->Canvas();
    c.Brush()->SetColor(clBlack);
    const std::string blank = Picture(*bmp);

    ASSERT_TRUE(BeginPath(c));
    EXPECT_TRUE(PathOpen(c));
    c.Rectangle(2, 3, 9, 7);
    ASSERT_TRUE(EndPath(c));
    EXPECT_EQ(Picture(*bmp), blank);
    Rgn fromPath(PathToRegion(c));
    Rgn rect(CreateRectRgn(2, 3, 9, 7));
    ASSERT_NE(fromPath.h, nullptr);
    EXPECT_TRUE(EqualRgn(fromPath, rect)) << Pixels(fromPath, 12, 10);

    ASSERT_TRUE(BeginPath(c));
    c.Polygon(kPentagram);
    EndPath(c);
    EXPECT_EQ(Picture(*bmp), blank);
    Rgn star(PathToRegion(c));
    Rgn starRgn(CreatePolygonRgn(kPentagram, ALTERNATE));
    EXPECT_EQ(Pixels(star, 22, 21), Pixels(starRgn, 22, 21));
}

TEST(gdiPath, AlternateFillingOfNestedFigures) {
    auto bmp = White(12, 12);
    TCanvas& c = *bmp->Canvas();
    BeginPath(c);
    c.Rectangle(1, 1, 11, 11);
    c.MoveTo(4, 4);
    c.LineTo(8, 4);
    c.LineTo(8, 8);
    c.LineTo(4, 8);
    c.LineTo(4, 4);
    EndPath(c);
    c.Brush()->SetColor(clBlack);
    ASSERT_TRUE(FillPath(c));
    EXPECT_EQ(Picture(*bmp),
              "............\n"
              ".##########.\n"
              ".##########.\n"
              ".##########.\n"
              ".###....###.\n"
              ".###....###.\n"
              ".###....###.\n"
              ".###....###.\n"
              ".##########.\n"
              ".##########.\n"
              ".##########.\n"
              "............\n");
}

TEST(gdiPath, StrokeDrawsTheOutlineAsTheLinesWould) {
    const std::array<TPoint, 4> pts = {{{1, 1}, {10, 1}, {10, 8}, {3, 8}}};
    auto direct = White(12, 10);
    direct->Canvas()->Pen()->SetColor(clRed);
    direct->Canvas()->Polyline(pts);

    auto viaPath = White(12, 10);
    TCanvas& c = *viaPath->Canvas();
    c.Pen()->SetColor(clRed);
    BeginPath(c);
    c.MoveTo(pts[0].X, pts[0].Y);
    for (std::size_t i = 1; i < pts.size(); ++i) c.LineTo(pts[i].X, pts[i].Y);
    EndPath(c);
    ASSERT_TRUE(StrokePath(c));
    EXPECT_EQ(Picture(*viaPath), Picture(*direct));
    EXPECT_FALSE(StrokePath(c));  // used up
}

TEST(gdiPath, WidenGivesThePensAreaAroundAnOpenLine) {
    auto bmp = White(30, 12);
    TCanvas& c = *bmp->Canvas();
    c.Pen()->SetWidth(3);
    BeginPath(c);
    c.MoveTo(5, 5);
    c.LineTo(20, 5);
    EndPath(c);
    ASSERT_TRUE(WidenPath(c));
    Rgn wide(PathToRegion(c));
    ASSERT_NE(wide.h, nullptr);
    for (int x : {5, 12, 20}) {
        EXPECT_FALSE(PtInRegion(wide, x, 3)) << x;
        EXPECT_TRUE(PtInRegion(wide, x, 4)) << x;
        EXPECT_TRUE(PtInRegion(wide, x, 5)) << x;
        EXPECT_TRUE(PtInRegion(wide, x, 6)) << x;
        EXPECT_FALSE(PtInRegion(wide, x, 7)) << x;
    }
    EXPECT_FALSE(PtInRegion(wide, 2, 5));
    EXPECT_FALSE(PtInRegion(wide, 23, 5));

    // Not widened, a lone line encloses nothing.
    BeginPath(c);
    c.MoveTo(5, 5);
    c.LineTo(20, 5);
    EndPath(c);
    Rgn thin(PathToRegion(c));
    ASSERT_NE(thin.h, nullptr);
    TRect box;
    EXPECT_EQ(GetRgnBox(thin, box), NULLREGION);
}

TEST(gdiPath, TextGoesIntoThePathAsLetterOutlines) {
    auto bmp = White(80, 30);
    TCanvas& c = *bmp->Canvas();
    c.Font()->SetSize(14);
    c.Brush()->SetColor(clBlack);
    const std::string blank = Picture(*bmp);
    BeginPath(c);
    c.TextOut(4, 2, "HI");
    EndPath(c);
    EXPECT_EQ(Picture(*bmp), blank);
    EXPECT_EQ(c.PenPos().X, 4 + c.TextWidth("HI"));
    Rgn letters(PathToRegion(c));
    ASSERT_NE(letters.h, nullptr);
    TRect box;
    ASSERT_EQ(GetRgnBox(letters, box), COMPLEXREGION);
    const TSize cell = c.TextExtent("HI");
    EXPECT_GE(box.Left, 4);
    EXPECT_GE(box.Top, 2);
    EXPECT_LE(box.Right, 4 + cell.cx + 1);
    EXPECT_LE(box.Bottom, 2 + cell.cy + 1);
}

TEST(gdiPath, CallsOutOfOrderFailAndLeaveNothingBehind) {
    auto bmp = White(10, 10);
    TCanvas& c = *bmp->Canvas();
    EXPECT_FALSE(EndPath(c));
    EXPECT_FALSE(AbortPath(c));
    EXPECT_EQ(PathToRegion(c), nullptr);
    EXPECT_FALSE(FillPath(c));
    EXPECT_FALSE(WidenPath(c));

    ASSERT_TRUE(BeginPath(c));
    EXPECT_FALSE(BeginPath(c));
    c.Rectangle(1, 1, 5, 5);
    EXPECT_EQ(PathToRegion(c), nullptr);  // bracket still open
    EXPECT_FALSE(StrokePath(c));
    ASSERT_TRUE(AbortPath(c));
    EXPECT_FALSE(PathOpen(c));
    EXPECT_FALSE(EndPath(c));

    // Drawing after an abort paints again.
    c.Brush()->SetColor(clBlack);
    c.FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(c.Pixels(1, 1), clBlack);

    // A new bracket starts an empty path.
    BeginPath(c);
    c.Rectangle(1, 1, 5, 5);
    EndPath(c);
    BeginPath(c);
    EndPath(c);
    Rgn none(PathToRegion(c));
    TRect box;
    EXPECT_EQ(GetRgnBox(none, box), NULLREGION);
    EXPECT_EQ(PathToRegion(c), nullptr);  // used up
}
