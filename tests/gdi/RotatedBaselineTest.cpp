// Rotated text output with baseline alignment turns about the baseline's left end.
// The font is named: DejaVu Sans, 20 pixels.
#include <gtest/gtest.h>

#include "tests/gdi/Helpers.h"

using namespace gdi;

TEST(TextOutput, RotatedBaselineTextTurnsAboutItsReferencePoint) {
    struct Case { int tenths; TRect inkBox; };  // ink box relative to the reference point
    // H has no descender: upright it stands above the baseline, right of the point; turned a
    // quarter counter-clockwise it runs upwards left of the point; turned half, it hangs
    // below the point, left of it.
    const Case cases[] = {{0, Rect(0, -20, 20, 1)}, {900, Rect(-20, -20, 1, 1)},
                          {1800, Rect(-20, 0, 1, 20)}};
    for (const Case& c : cases) {
        auto b = test::White(80, 80);
        TCanvas& cv = *b->Canvas();
        cv.Font()->SetName("DejaVu Sans");
        cv.Font()->SetHeight(-20);
        cv.Font()->SetColor(clBlack);
        cv.Font()->SetOrientation(c.tenths);
        cv.Brush()->SetStyle(bsClear);
        cv.SetTextAlign(TCanvas::TA_BASELINE);
        cv.TextOut(40, 40, "H");
        int ink = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 80; ++x) {
                if (cv.Pixels(x, y) != clBlack) continue;
                ++ink;
                EXPECT_TRUE(PtInRect(c.inkBox, Point(x - 40, y - 40)))
                    << c.tenths << ": ink at " << x << "," << y;
            }
        EXPECT_GT(ink, 10) << c.tenths;
    }
}
