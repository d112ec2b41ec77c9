// Colours and rectangle helpers.
#include <gtest/gtest.h>

#include "platform/gdi/Graphics.h"

using namespace gdi;

TEST(gdiColor, RgbAndChannels) {
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(GetRValue(0x563412), 0x12);
    EXPECT_EQ(GetGValue(0x563412), 0x34);
    EXPECT_EQ(GetBValue(0x563412), 0x56);
    EXPECT_EQ(clRed, 0x0000FFu);
    EXPECT_EQ(clBlue, 0xFF0000u);
    EXPECT_EQ(clNone, 0x1FFFFFFFu);
    EXPECT_EQ(clDefault, 0x20000000u);
    EXPECT_EQ(clBtnFace, 0xFF00000Fu);
}

TEST(gdiColor, ColorToRgb) {
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clBtnShadow), clGray);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), clWhite);
    EXPECT_EQ(ColorToRGB(clInfoBk), RGB(255, 255, 225));
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(clDefault), clDefault);
}

TEST(gdiColor, QColorExchange) {
    EXPECT_EQ(ColorToQColor(RGB(1, 2, 3)), QColor(1, 2, 3));
    EXPECT_EQ(ColorToQColor(clBtnFace), QColor(212, 208, 200));
    EXPECT_EQ(QColorToColor(QColor(10, 20, 30, 40)), RGB(10, 20, 30));
}

TEST(gdiColor, Names) {
    EXPECT_EQ(ColorToString(clRed), "clRed");
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(0x123456), "$00123456");
    EXPECT_EQ(StringToColor("clLime"), clLime);
    EXPECT_EQ(StringToColor("CLWINDOW"), clWindow);
    EXPECT_EQ(StringToColor("$00FF00FF"), clFuchsia);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_THROW(StringToColor("rot"), rtl::EConvertError);
}

TEST(gdiRectHelpers, Basics) {
    TRect r = Bounds(10, 20, 30, 40);
    EXPECT_EQ(r, Rect(10, 20, 40, 60));
    EXPECT_EQ(r.Width(), 30);
    EXPECT_EQ(r.Height(), 40);
    EXPECT_TRUE(PtInRect(r, Point(10, 20)));
    EXPECT_FALSE(PtInRect(r, Point(40, 20)));
    TRect i;
    EXPECT_TRUE(IntersectRect(i, r, Rect(0, 0, 15, 25)));
    EXPECT_EQ(i, Rect(10, 20, 15, 25));
    EXPECT_FALSE(IntersectRect(i, r, Rect(0, 0, 5, 5)));
    EXPECT_EQ(i, TRect{});
    TRect u;
    EXPECT_TRUE(UnionRect(u, Rect(0, 0, 1, 1), Rect(5, 5, 6, 7)));
    EXPECT_EQ(u, Rect(0, 0, 6, 7));
    OffsetRect(u, 1, 2);
    EXPECT_EQ(u, Rect(1, 2, 7, 9));
    InflateRect(u, 1, 1);
    EXPECT_EQ(u, Rect(0, 1, 8, 10));
    EXPECT_TRUE(IsRectEmpty(Rect(3, 3, 3, 9)));
}
