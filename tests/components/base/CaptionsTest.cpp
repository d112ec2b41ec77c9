// Caption and layout property objects: defaults, notifications, Assign across the classes.
#include <gtest/gtest.h>

#include "components/base/KitCaptions.h"

using namespace kit;

namespace {
struct Counter {
    int n = 0;
    rtl::TNotifyEvent handler() { return [this](rtl::TObject*) { ++n; }; }
};
}  // namespace

TEST(KitFxCaption, AngleAndPositions) {
    TKitFxCaption c;
    Counter changes;
    c.OnChange = changes.handler();
    EXPECT_EQ(c.LightDepth(), 1);
    EXPECT_EQ(c.ShadowColor(), gdi::clBtnShadow);
    EXPECT_EQ(c.Orientation(), toTopLeft);
    c.SetAngle(360);  // stored as 0: no change
    EXPECT_EQ(changes.n, 0);
    c.SetAngle(90);
    c.SetAngle(360);
    EXPECT_EQ(c.Angle(), 0);
    EXPECT_EQ(changes.n, 2);
    c.SetPos(5, 7);
    EXPECT_EQ(changes.n, 2);
    EXPECT_EQ(c.PosX(), 5);
    EXPECT_EQ(c.PosY(), 7);
    c.SetPosX(6);
    c.SetPosY(7);
    EXPECT_EQ(changes.n, 3);
    EXPECT_FALSE(c.UpdateLock);
}

TEST(KitFxCaption, AssignAcrossClasses) {
    TKitFxCaption fx, other;
    fx.SetAngle(45);
    fx.SetPos(3, 4);
    TKit3DCaption plain;
    plain.SetStyle(tdRaised);
    plain.SetDepth(1, 4);
    plain.SetTracing(2);
    Counter changes;
    fx.OnChange = changes.handler();
    fx.Assign(&plain);  // the 3D fields only
    EXPECT_EQ(changes.n, 1);
    EXPECT_EQ(fx.Style(), tdRaised);
    EXPECT_EQ(fx.ShadowDepth(), 4);
    EXPECT_EQ(fx.Tracing(), 2);
    EXPECT_EQ(fx.Angle(), 45);
    EXPECT_EQ(fx.PosX(), 3);

    other.OnChange = changes.handler();
    other.Assign(&fx);  // everything, one notification
    EXPECT_EQ(changes.n, 2);
    EXPECT_EQ(other.Angle(), 45);
    EXPECT_EQ(other.PosY(), 4);
    EXPECT_EQ(other.Style(), tdRaised);

    TKitGlyphTextLayout layout;
    EXPECT_THROW(fx.Assign(&layout), rtl::EConvertError);
}

TEST(KitCaptions, Summaries) {
    TKitFxCaption c;
    std::string s;
    c.GetSummary(s);
    EXPECT_EQ(s, "{Disabled}");
    c.SetAngle(30);
    c.GetSummary(s);
    EXPECT_EQ(s, "{ rot: 30\xC2\xB0}");
    c.SetStyle(tdRaised);
    c.SetAngle(90);
    c.GetSummary(s);
    EXPECT_EQ(s, "{raised, rot: 90\xC2\xB0}");
    TKit3DCaption p;
    p.SetStyle(tdExtrudeEnh);
    p.GetSummary(s);
    EXPECT_EQ(s, "{extrude enh}");
    TKitButtonLayout b;
    s = "x";
    b.GetSummary(s);
    EXPECT_EQ(s, "");
}

TEST(KitButtonLayout, DefaultsAndAssign) {
    TKitGlyphTextLayout g;
    TKitButtonLayout b, b2;
    EXPECT_EQ(g.Alignment(), agTopLeft);
    EXPECT_EQ(b.Alignment(), agCenter);
    EXPECT_EQ(b.Spacing(), 2);
    EXPECT_EQ(b.AlignText2Glyph(), taRight);
    EXPECT_EQ(b.ArrowIndent(), 3);
    EXPECT_EQ(b.ArrowSize(), 3);

    b.SetArrow(true);
    b.SetArrowSize(5);
    g.SetAlignment(agBottomRight);
    g.SetOffsetY(-2);
    g.SetSpacing(6);
    Counter changes;
    b.OnChange = changes.handler();
    b.Assign(&g);  // the five layout values; arrow settings stay
    EXPECT_EQ(changes.n, 1);
    EXPECT_EQ(b.Alignment(), agBottomRight);
    EXPECT_EQ(b.OffsetY(), -2);
    EXPECT_EQ(b.Spacing(), 6);
    EXPECT_TRUE(b.Arrow());
    EXPECT_EQ(b.ArrowSize(), 5);

    b2.OnChange = changes.handler();
    b2.Assign(&b);
    EXPECT_EQ(changes.n, 2);
    EXPECT_TRUE(b2.Arrow());
    EXPECT_EQ(b2.ArrowSize(), 5);
    EXPECT_EQ(b2.Spacing(), 6);
}
