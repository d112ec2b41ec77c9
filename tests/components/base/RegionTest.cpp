// Regions: shape geometry (with the extended-precision rounding), building, shadow, border,
// point lists and their stored form.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "components/base/KitRegions.h"
#include "platform/rtl/Filer.h"

using namespace kit;
using namespace gdi;
using Points = std::vector<TPoint>;

namespace {

std::unique_ptr<TBitmap> White(int w, int h) {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

TRect Box(HRGN rgn) {
    TRect r;
    GetRgnBox(rgn, r);
    return r;
}

}  // namespace

TEST(KitRegion, Defaults) {
    TKitBorderRegion r;
    EXPECT_EQ(r.Shape(), rsRoundRect);
    EXPECT_EQ(r.RoundX(), 20);
    EXPECT_EQ(r.RoundY(), 20);
    EXPECT_EQ(r.Border()->Style(), rbSingle);
    EXPECT_EQ(r.Border()->SingleColor(), clBlack);
    EXPECT_EQ(r.Border()->LightColor(), clBtnHighlight);
    EXPECT_EQ(r.Border()->ShadowColor(), clBtnShadow);
    EXPECT_EQ(r.Shadow()->Style(), hssNone);
    EXPECT_EQ(r.ExtPos(), epLeftTop);
    EXPECT_EQ(r.BubbleCount, 4);
    EXPECT_EQ(r.Rgn(), nullptr);
}

// The polygon shapes' corners, with the sizes where extended precision rounds differently
// from the exact decimal product (0.65 x 190 = 123.5 gives 123, 0.15 x 190 = 28.5 gives 29,
// 0.3 x 95 = 28.5 gives 29) and a tie that goes to the even neighbour (0.75 x 50 = 37.5: 38).
TEST(KitRegion, PolygonShapeCorners) {
    struct Case {
        TKitRegionShape shape;
        TRect r;
        Points expected;
    };
    const Case cases[] = {
        {rsStar, Rect(0, 0, 190, 100),
         {{95, 0}, {123, 38}, {190, 38}, {133, 60}, {162, 100}, {95, 75}, {29, 100}, {57, 60}, {0, 38}, {66, 38}}},
        {rsStar, Rect(0, 0, 95, 60),
         {{47, 0}, {62, 23}, {95, 23}, {66, 36}, {81, 60}, {47, 45}, {14, 60}, {29, 36}, {0, 23}, {33, 23}}},
        {rsStar, Rect(10, 20, 110, 70),
         {{60, 20}, {75, 39}, {110, 39}, {80, 50}, {95, 70}, {60, 58}, {25, 70}, {40, 50}, {10, 39}, {45, 39}}},
        {rsDiamond, Rect(0, 0, 100, 60), {{50, 0}, {0, 30}, {50, 60}, {100, 30}}},
        // 2 (W div 3) and 3 (H div 4), not 2 W div 3 and 3 H div 4.
        {rsOctagon, Rect(10, 20, 111, 82),
         {{76, 20}, {43, 20}, {10, 40}, {10, 60}, {43, 82}, {76, 82}, {111, 60}, {111, 40}}},
        {rsComb, Rect(0, 0, 101, 50), {{50, 0}, {0, 12}, {0, 36}, {50, 50}, {101, 36}, {101, 12}}},
        {rsRect, Rect(0, 0, 10, 10), {}},
    };
    for (const Case& c : cases) EXPECT_EQ(TKitRegion::ShapePolygon(c.shape, c.r), c.expected) << int(c.shape);
}

TEST(KitRegion, RectWithShadowShrinksAndCastsTheStrip) {
    TKitRegion r;
    r.SetShape(rsRect);
    r.Shadow()->SetStyle(hssSolid);
    r.Shadow()->SetColor(clBlue);
    r.Border()->SetStyle(rbNone);
    r.BuildRegion(Rect(0, 0, 100, 50));
    EXPECT_EQ(Box(r.Rgn()), Rect(0, 0, 94, 44));
    EXPECT_EQ(RegionToQRegion(r.Rgn()).rectCount(), 1);

    auto b = White(100, 50);
    r.DrawBorder(*b->Canvas(), Rect(0, 0, 100, 50));
    TCanvas* c = b->Canvas();
    EXPECT_EQ(c->Pixels(97, 20), clBlue);   // right arm of the L
    EXPECT_EQ(c->Pixels(50, 47), clBlue);   // bottom arm
    EXPECT_EQ(c->Pixels(99, 49), clBlue);
    EXPECT_EQ(c->Pixels(97, 3), clWhite);   // above the moved rectangle
    EXPECT_EQ(c->Pixels(3, 47), clWhite);
    EXPECT_EQ(c->Pixels(50, 20), clWhite);  // the region itself
    EXPECT_EQ(c->Brush()->Style(), bsClear);
    EXPECT_EQ(c->Pen()->Mode(), pmCopy);
}

TEST(KitRegion, TracingShadowMasksEveryOtherPixel) {
    TKitRegion r;
    r.SetShape(rsRect);
    r.Shadow()->SetStyle(hssTracing);
    r.Shadow()->SetDepth(4);
    r.Shadow()->SetColor(clRed);
    r.Border()->SetStyle(rbNone);
    r.BuildRegion(Rect(0, 0, 20, 20));
    auto b = White(20, 20);
    b->Canvas()->Brush()->SetColor(clYellow);
    b->Canvas()->FillRect(Rect(16, 0, 20, 20));
    r.DrawBorder(*b->Canvas(), Rect(0, 0, 20, 20));
    TCanvas* c = b->Canvas();
    // Red where x and y differ in parity, the surface elsewhere; yellow and red give red.
    EXPECT_EQ(c->Pixels(17, 10), clRed);
    EXPECT_EQ(c->Pixels(18, 10), clYellow);
    EXPECT_EQ(c->Pixels(10, 17), clRed);
    EXPECT_EQ(c->Pixels(11, 17), clWhite);
    EXPECT_EQ(c->Pen()->Mode(), pmCopy);
}

TEST(KitRegion, NoseRect) {
    const TRect body = KitShrinkForExtPos(Rect(0, 0, 200, 100), epLeftTop, 20);
    EXPECT_EQ(body, Rect(20, 20, 200, 100));
    EXPECT_EQ(KitNoseTriangle(body, epLeftTop, 20, 5), (Points{{0, 0}, {20, 25}, {20, 53}}));
    EXPECT_EQ(KitShrinkForExtPos(Rect(0, 0, 200, 100), epBottomRight, 20), Rect(0, 0, 180, 80));
    EXPECT_EQ(KitShrinkForExtPos(Rect(0, 0, 200, 100), epTopRight, 20), Rect(0, 20, 180, 100));

    TKitRegion r;
    r.SetShape(rsNoseRect);
    r.BuildRegion(Rect(0, 0, 200, 100));
    EXPECT_TRUE(PtInRegion(r.Rgn(), 25, 25));   // body
    EXPECT_TRUE(PtInRegion(r.Rgn(), 10, 20));   // nose
    EXPECT_FALSE(PtInRegion(r.Rgn(), 10, 5));   // beside the nose
    EXPECT_FALSE(PtInRegion(r.Rgn(), 10, 80));
    // The border leaves the canvas's clip as it was.
    auto b = White(200, 100);
    r.DrawBorder(*b->Canvas(), Rect(0, 0, 200, 100));
    EXPECT_FALSE(b->Canvas()->HasClip());
    EXPECT_EQ(b->Canvas()->Pixels(100, 20), clBlack);  // the body's top edge
}

TEST(KitRegion, ThinkBubblesOnAQuarterCircle) {
    TKitRegion r;
    r.SetShape(rsThinkBubble);
    r.BuildRegion(Rect(0, 0, 120, 90));
    // S = 20; the body is (20, 20, 120, 90). The bubble at 72 degrees is centred at (14, 19)
    // with a diameter of round(4 x 20 x pi / 32) = 8.
    EXPECT_TRUE(PtInRegion(r.Rgn(), 25, 25));
    EXPECT_TRUE(PtInRegion(r.Rgn(), 14, 19));
    EXPECT_TRUE(PtInRegion(r.Rgn(), 11, 19));
    EXPECT_FALSE(PtInRegion(r.Rgn(), 9, 19));
    EXPECT_FALSE(PtInRegion(r.Rgn(), 5, 5));
    EXPECT_FALSE(PtInRegion(r.Rgn(), 0, 0));  // the first bubble has no size
    r.SetExtPos(epRightBottom);
    r.BuildRegion(Rect(0, 0, 120, 90));
    EXPECT_TRUE(PtInRegion(r.Rgn(), 50, 30));
    EXPECT_TRUE(PtInRegion(r.Rgn(), 106, 71));  // bubble at 72 degrees: (100 + 6, 70 + 20 - 19)
    // Without bubbles only the body remains.
    r.BubbleCount = 0;
    r.BuildRegion(Rect(0, 0, 120, 90));
    EXPECT_EQ(Box(r.Rgn()), Rect(0, 0, 100, 70));
}

TEST(KitRegion, PointListBuildsItsRegionData) {
    TKitRegion r;
    r.SetShape(rsPointList);
    r.BuildRegion(Rect(0, 0, 50, 50));
    EXPECT_EQ(r.Rgn(), nullptr);  // no points, no region
    auto b = White(50, 50);
    r.Shadow()->SetStyle(hssSolid);
    r.DrawBorder(*b->Canvas(), Rect(0, 0, 50, 50));
    EXPECT_EQ(b->Canvas()->Pixels(45, 45), clWhite);  // no shadow and no border without a region

    TKitRegion q;
    q.Points()->AddPoint({0, 0});
    q.Points()->AddPoint({40, 0});
    q.Points()->AddPoint({0, 30});
    EXPECT_EQ(q.RegionDataSize(), 0);  // not a point-list shape yet
    q.SetShape(rsPointList);
    EXPECT_GT(q.RegionDataSize(), 32);  // built at once
    q.BuildRegion(Rect(0, 0, 50, 50));
    EXPECT_TRUE(PtInRegion(q.Rgn(), 5, 5));
    EXPECT_FALSE(PtInRegion(q.Rgn(), 35, 25));
    EXPECT_EQ(Box(q.Rgn()), Rect(0, 0, 40, 30));
    // Changed points rebuild the data.
    q.Points()->SetPoint(2, {40, 30});
    q.Points()->AddPoint({0, 30});
    q.BuildRegion(Rect(0, 0, 50, 50));
    EXPECT_TRUE(PtInRegion(q.Rgn(), 35, 25));
}

TEST(KitRegion, PointListBorderColoursFollowEdgeDirections) {
    TKitRegion r;
    r.SetShape(rsPointList);
    for (TPoint p : Points{{5, 5}, {25, 5}, {25, 25}, {5, 25}}) r.Points()->AddPoint(p);
    r.Border()->SetStyle(rbRaised);
    r.Border()->SetLightColor(clRed);
    r.Border()->SetShadowColor(clBlue);
    r.BuildRegion(Rect(0, 0, 30, 30));
    auto b = White(30, 30);
    r.DrawBorder(*b->Canvas(), Rect(0, 0, 30, 30));
    TCanvas* c = b->Canvas();
    EXPECT_EQ(c->Pixels(15, 5), clRed);   // to the right: first colour
    EXPECT_EQ(c->Pixels(25, 15), clBlue); // downwards: second
    EXPECT_EQ(c->Pixels(15, 25), clBlue); // to the left: second
    EXPECT_EQ(c->Pixels(5, 15), clRed);   // upwards: first
}

TEST(KitRegion, RectBorderStyles) {
    struct Case {
        TKitRegionBorderStyle style;
        TColor top, bottom;
    };
    const Case cases[] = {
        {rbRaised, clRed, clBlue},
        {rbLowered, clBlue, clRed},
        {rbSingle, clLime, clLime},
        {rbRaisedpsb, clRed, clBlue},  // SingleColor, then the lower right again in ShadowColor
        {rbLoweredpsb, clBlue, clRed},
    };
    for (const Case& k : cases) {
        TKitRegion r;
        r.SetShape(rsRect);
        r.Border()->SetStyle(k.style);
        r.Border()->SetLightColor(clRed);
        r.Border()->SetShadowColor(clBlue);
        r.Border()->SetSingleColor(clLime);
        r.BuildRegion(Rect(0, 0, 40, 20));
        auto b = White(40, 20);
        r.DrawBorder(*b->Canvas(), Rect(0, 0, 40, 20));
        EXPECT_EQ(b->Canvas()->Pixels(20, 0), k.top) << int(k.style);
        EXPECT_EQ(b->Canvas()->Pixels(0, 10), k.top) << int(k.style);
        EXPECT_EQ(b->Canvas()->Pixels(20, 19), k.bottom) << int(k.style);
        EXPECT_EQ(b->Canvas()->Pixels(39, 10), k.bottom) << int(k.style);
        EXPECT_EQ(b->Canvas()->Pixels(20, 10), clWhite) << int(k.style);
    }
    // The single pass of a combined style sits outside the 3D outline.
    TKitRegion s;
    s.SetShape(rsRect);
    s.Border()->SetStyle(rbSingleRaised);
    s.Border()->SetLightColor(clRed);
    s.Border()->SetShadowColor(clBlue);
    s.Border()->SetSingleColor(clLime);
    s.BuildRegion(Rect(0, 0, 40, 20));
    auto b = White(40, 20);
    s.DrawBorder(*b->Canvas(), Rect(0, 0, 40, 20));
    // The 3D outline of the rectangle shrunk by one pixel.
    EXPECT_EQ(b->Canvas()->Pixels(20, 1), clRed);
    EXPECT_EQ(b->Canvas()->Pixels(20, 18), clBlue);
    EXPECT_EQ(b->Canvas()->Pixels(20, 3), clWhite);
}

TEST(KitRegion, EllipseBorderSplitsAtTheCorners) {
    TKitRegion r;
    r.SetShape(rsElliptic);
    r.Border()->SetStyle(rbRaised);
    r.Border()->SetLightColor(clRed);
    r.Border()->SetShadowColor(clBlue);
    r.BuildRegion(Rect(0, 0, 41, 41));
    auto b = White(41, 41);
    r.DrawBorder(*b->Canvas(), Rect(0, 0, 41, 41));
    TCanvas* c = b->Canvas();
    EXPECT_EQ(c->Pixels(20, 0), clRed);
    EXPECT_EQ(c->Pixels(0, 20), clRed);
    EXPECT_EQ(c->Pixels(20, 40), clBlue);
    EXPECT_EQ(c->Pixels(40, 20), clBlue);
}

TEST(KitRegion, SettersAndNotifications) {
    TKitRegion r;
    r.SetShape(rsRect);
    int changes = 0;
    r.OnChange = [&](rtl::TObject*) { ++changes; };
    r.SetRoundX(33);  // stored, but a plain rectangle does not change
    EXPECT_EQ(r.RoundX(), 33);
    EXPECT_EQ(changes, 0);
    r.SetShape(rsRoundRect);
    EXPECT_EQ(changes, 1);
    r.SetRoundY(7);
    EXPECT_EQ(changes, 2);
    r.SetRoundY(7);
    r.SetShape(rsRoundRect);
    EXPECT_EQ(changes, 2);
    r.Shadow()->SetDepth(9);  // sub-objects report through the region
    r.Border()->SetStyle(rbRaised);
    EXPECT_EQ(changes, 4);
}

TEST(KitRegion, AssignCopiesTheShapeNotThePoints) {
    TKitRegion src;
    src.SetShape(rsStar);
    src.SetExtPos(epBottomLeft);
    src.SetRound(0, 5);
    src.SetRound(1, 6);
    src.Shadow()->SetStyle(hssTracing);
    src.Border()->SetStyle(rbLowered);
    const std::uint8_t bytes[] = {1, 2};
    src.Mask()->SetRegionData(bytes, 2);
    src.Points()->AddPoint({1, 1});

    TKitRegion dst;
    int changes = 0;
    dst.OnChange = [&](rtl::TObject*) { ++changes; };
    dst.Assign(&src);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(dst.Shape(), rsStar);
    EXPECT_EQ(dst.ExtPos(), epBottomLeft);
    EXPECT_EQ(dst.RoundX(), 5);
    EXPECT_EQ(dst.RoundY(), 6);
    EXPECT_EQ(dst.Shadow()->Style(), hssTracing);
    EXPECT_EQ(dst.Border()->Style(), rbLowered);
    EXPECT_EQ(dst.Mask()->RegionDataSize(), 2);
    EXPECT_EQ(dst.Points()->Count(), 0);
}

TEST(KitRegion, PointListStoredForm) {
    TKitRegion src;
    for (TPoint p : Points{{0, 0}, {30, 0}, {0, 20}}) src.Points()->AddPoint(p);
    rtl::TMemoryStream stream;
    rtl::WriteDefinedProperties(src, stream);

    TKitRegion dst;
    dst.SetShape(rsPointList);
    stream.SetPosition(0);
    rtl::ReadDefinedProperties(dst, stream);
    ASSERT_EQ(dst.Points()->Count(), 3);
    TPoint p;
    dst.Points()->GetPoint(1, p);
    EXPECT_EQ(p, (TPoint{30, 0}));
    EXPECT_GT(dst.RegionDataSize(), 0);
    dst.BuildRegion(Rect(0, 0, 40, 40));
    EXPECT_EQ(Box(dst.Rgn()), Rect(0, 0, 30, 20));

    // An empty list writes nothing.
    TKitRegion empty;
    rtl::TMemoryStream none;
    rtl::WriteDefinedProperties(empty, none);
    none.SetPosition(0);
    TKitRegion back;
    rtl::ReadDefinedProperties(back, none);
    EXPECT_EQ(back.Points()->Count(), 0);
}

TEST(KitRegion, BitmapShapeAndShieldsAndHalfRound) {
    // rsBitmap takes the mask's region data as it stands.
    HRGN e = CreateEllipticRgn(2, 3, 30, 20);
    std::vector<std::uint8_t> data(GetRegionData(e, 0, nullptr));
    GetRegionData(e, static_cast<std::uint32_t>(data.size()), data.data());
    TKitRegion r;
    r.SetShape(rsBitmap);
    r.BuildRegion(Rect(0, 0, 50, 50));
    EXPECT_EQ(r.Rgn(), nullptr);
    r.Mask()->SetRegionData(data.data(), static_cast<int>(data.size()));
    r.BuildRegion(Rect(0, 0, 50, 50));
    EXPECT_TRUE(EqualRgn(r.Rgn(), e));
    DeleteObject(e);

    // The shields are built from the origin: nothing in the 40 rows above it, the notch at the
    // top middle.
    for (TKitRegionShape s : {rsRoundShield, rsSharpShield}) {
        r.SetShape(s);
        r.BuildRegion(Rect(10, 10, 110, 110));
        EXPECT_FALSE(RectInRegion(r.Rgn(), Rect(0, -40, 100, 0))) << int(s);
        EXPECT_LE(Box(r.Rgn()).Right, 100) << int(s);
        EXPECT_FALSE(PtInRegion(r.Rgn(), 50, 2)) << int(s);   // notch between the two top arcs
        EXPECT_TRUE(PtInRegion(r.Rgn(), 50, 50)) << int(s);
        EXPECT_TRUE(PtInRegion(r.Rgn(), 25, 25)) << int(s);
    }
    // The half round: an ellipse centred on the top edge, of which the window shows the lower
    // half.
    r.SetShape(rsHalfRound);
    r.BuildRegion(Rect(0, 10, 100, 60));
    EXPECT_EQ(Box(r.Rgn()), Rect(0, -40, 100, 60));
    EXPECT_TRUE(PtInRegion(r.Rgn(), 1, 10));
    EXPECT_TRUE(PtInRegion(r.Rgn(), 50, 59));
    EXPECT_FALSE(PtInRegion(r.Rgn(), 1, 55));
}

namespace {
// A component a designer holds.
struct DesignedComponent : rtl::TComponent {
    DesignedComponent() : rtl::TComponent(nullptr) {}
    void Design() { SetDesigning(true); }
};
}  // namespace

TEST(KitRegion, OwnerStates) {
    DesignedComponent owner;
    TKitRegion r;
    r.Owner = &owner;
    r.SetShape(rsUserRegion);
    r.BuildRegion(Rect(0, 0, 30, 20));
    EXPECT_EQ(r.Rgn(), nullptr);  // no data from a point list
    owner.Design();
    r.BuildRegion(Rect(0, 0, 30, 20));
    ASSERT_NE(r.Rgn(), nullptr);
    EXPECT_EQ(Box(r.Rgn()), Rect(0, 0, 30, 20));  // designed: the plain rectangle
    // While the owner is destroyed the region stays as it is.
    owner.Destroying();
    HRGN before = r.Rgn();
    r.BuildRegion(Rect(0, 0, 5, 5));
    r.SetRectRegion(Rect(0, 0, 5, 5));
    EXPECT_EQ(r.Rgn(), before);
    EXPECT_EQ(Box(r.Rgn()), Rect(0, 0, 30, 20));
    r.Owner = nullptr;
    r.SetRectRegion(Rect(1, 2, 5, 6));
    EXPECT_EQ(Box(r.Rgn()), Rect(1, 2, 5, 6));
}

TEST(KitRegion, StarEdgesTakeTheirColoursInOrder) {
    TKitRegion r;
    r.SetShape(rsStar);
    r.Border()->SetStyle(rbRaised);
    r.Border()->SetLightColor(clRed);
    r.Border()->SetShadowColor(clBlue);
    r.BuildRegion(Rect(0, 0, 100, 100));
    auto b = White(101, 101);
    r.DrawBorder(*b->Canvas(), Rect(0, 0, 100, 100));
    // Corners (50,0) (65,38) (100,38) (70,60) (85,100) (50,75) (15,100) (30,60) (0,38) (35,38);
    // a pixel near the middle of edges 1, 2, 3, 6, 7, 9 and 10.
    struct Case {
        int x, y;
        TColor colour;
    };
    const Case cases[] = {{57, 19, clBlue}, {82, 38, clRed}, {85, 49, clBlue}, {32, 87, clBlue},
                          {22, 80, clRed},  {17, 38, clRed}, {42, 19, clRed}};
    for (const Case& c : cases) EXPECT_EQ(b->Canvas()->Pixels(c.x, c.y), c.colour) << c.x << "," << c.y;
}
