// The hint window: its measured rectangle, showing at a screen place and hiding again.
#include <QImage>
#include <QWidget>

#include <string>

#include "platform/gui/HintWindows.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

namespace {
QRgb Rgb(gdi::TColor c) { return gdi::ColorToQColor(c).rgb(); }
}  // namespace

class guiHintWindow : public GuiFixture {};

// A short text takes one line narrower than the maximum; a long one wraps to the maximum width
// and grows in height.
TEST_F(guiHintWindow, CalcHintRectWrapsToTheMaximumWidth) {
    THintWindow hint(nullptr);
    const gdi::TRect shortRect = hint.CalcHintRect(200, "Kurz");
    EXPECT_EQ(shortRect.Left, 0);
    EXPECT_EQ(shortRect.Top, 0);
    EXPECT_LT(shortRect.Width(), 100);
    const std::string longText = "Ein sehr langer Text, der in einer Zeile keinen Platz hat und umbricht";
    const gdi::TRect longRect = hint.CalcHintRect(120, longText);
    EXPECT_LE(longRect.Width(), 120);
    EXPECT_GE(longRect.Height(), 2 * (shortRect.Height() - 2));
}

// ActivateHint shows the text at the screen rectangle in the hint colours with a frame, without
// taking the focus; ReleaseHandle hides it, and it can be shown again.
TEST_F(guiHintWindow, ActivateShowsAndReleaseHides) {
    THintWindow hint(nullptr);
    gdi::TRect r = hint.CalcHintRect(300, "Kabeldämpfung");
    gdi::OffsetRect(r, 40, 30);
    hint.ActivateHint(r, "Kabeldämpfung");
    ASSERT_TRUE(ProcessUntil([&] { return hint.Widget()->isVisible(); }));
    EXPECT_TRUE(hint.Active());
    EXPECT_EQ(hint.Caption(), "Kabeldämpfung");
    EXPECT_EQ(hint.Widget()->geometry(), QRect(40, 30, r.Width(), r.Height()));
    hint.Repaint();
    const QImage img = hint.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(img.pixel(0, 0), Rgb(gdi::clWindowFrame));
    EXPECT_EQ(img.pixel(r.Width() - 2, r.Height() / 2), Rgb(gdi::clInfoBk));
    bool text = false;
    for (int x = 1; x < r.Width() - 1 && !text; ++x)
        for (int y = 1; y < r.Height() - 1 && !text; ++y)
            text = qGray(img.pixel(x, y)) < 128;  // mostly clInfoText (black) on the light back
    EXPECT_TRUE(text) << "the hint's text is drawn";

    hint.ReleaseHandle();
    EXPECT_FALSE(hint.Widget()->isVisible());
    EXPECT_FALSE(hint.Active());
    // A rectangle past the screen's corner is moved inside it.
    const gdi::TRect far = gdi::Rect(Screen()->Width() - 10, Screen()->Height() - 5,
                                     Screen()->Width() + 90, Screen()->Height() + 15);
    hint.ActivateHint(far, "x");
    EXPECT_TRUE(hint.Widget()->isVisible());
    EXPECT_EQ(hint.Left() + hint.Width(), Screen()->Width());
    EXPECT_EQ(hint.Top() + hint.Height(), Screen()->Height());
}
