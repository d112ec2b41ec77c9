// A brush with a pattern bitmap tiles the bitmap's pixels from the device origin.
#include <gtest/gtest.h>

#include "platform/gdi/Graphics.h"

using namespace gdi;

TEST(BrushPattern, TilesFromTheDeviceOrigin) {
    TBitmap pattern(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) pattern.Canvas()->SetPixels(x, y, RGB(x * 10, y * 10, 99));

    TBitmap target(10, 6);
    TCanvas& c = *target.Canvas();
    c.Brush()->SetColor(clBlack);
    c.FillRect(Rect(0, 0, 10, 6));
    int changes = 0;
    c.Brush()->OnChange = [&changes](rtl::TObject*) { ++changes; };
    c.Brush()->SetBitmap(&pattern);
    c.Brush()->SetBitmap(&pattern);
    EXPECT_EQ(changes, 1);
    c.Brush()->SetStyle(bsClear);  // the pattern wins over the style
    c.SetOrigin(Point(1, 0));      // logical (0, 0) is device (1, 0)
    c.FillRect(Rect(1, 1, 8, 5));
    // Logical (1, 1)-(8, 5) is device (2, 1)-(9, 5); the pattern is indexed by device pixels.
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 9 && y >= 1 && y < 5;
            const TColor want = inside ? RGB((x % 3) * 10, (y % 2) * 10, 99) : clBlack;
            const QRgb got = target.Image().pixel(x, y);
            EXPECT_EQ(RGB(qRed(got), qGreen(got), qBlue(got)), want) << x << "," << y;
        }

    // Copies carry the pattern; an empty pattern or none leaves the brush as it was.
    TBrush copy(*c.Brush());
    EXPECT_EQ(copy.Bitmap(), &pattern);
    c.SetOrigin(Point(0, 0));
    c.Brush()->SetBitmap(nullptr);
    c.Brush()->SetColor(clRed);
    c.FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(c.Pixels(0, 0), clRed);
    TBitmap empty;
    c.Brush()->SetBitmap(&empty);
    c.Brush()->SetColor(clLime);
    c.FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(c.Pixels(0, 0), clLime);
}
