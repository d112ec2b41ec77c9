// The digits of the user-interface font, drawn as the self-drawn controls draw their texts
// (DrawText on a bitmap's canvas), can be told apart at every size the windows use; letters
// drawn for colour keys stay two-coloured.
#include <gtest/gtest.h>

#include <set>

#include "platform/gdi/Drawing.h"
#include "tests/gdi/Helpers.h"
#include "tests/support/DigitGlyphs.h"

using namespace gdi;

namespace {

struct Size {
    int height;
    TFontStyles style;
};

}  // namespace

TEST(gdiDigits, UserInterfaceFontTellsEveryDigitApart) {
    // 8 points (the controls' default, also bold), and the larger labels' 13, 15 and 16 pixels.
    for (const Size& size : {Size{-11, 0}, Size{-11, fsBold}, Size{-13, 0}, Size{-15, 0}, Size{-16, 0}}) {
        auto b = test::White(120, 30);
        TCanvas& c = *b->Canvas();
        TFont font;  // the user-interface font as every control starts with it
        font.SetHeight(size.height);
        font.SetStyle(size.style);
        font.SetColor(clBlack);
        c.Font()->Assign(font);
        c.Brush()->SetStyle(bsClear);
        TRect r = Rect(4, 3, 116, 27);
        DrawText(c, digits::kLine, r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        const auto cells = digits::Cells(b->Image(), FontToQFont(font), 4, 3, 26, 255);
        EXPECT_EQ(digits::Unclear(cells), "") << "height " << size.height << " style " << size.style;
    }
}

TEST(gdiDigits, LettersAreSmoothedUnlessTheFontOrAMonochromeTargetAsksForTwoColours) {
    // Grey shades appear only where the letters are smoothed; the two-colour cases hold nothing
    // but the text colour and the paper.
    struct Case {
        TFontQuality quality;
        bool monochrome;
        int orientation;
        bool shades;
    };
    for (const Case& k : {Case{fqDefault, false, 0, true}, Case{fqAntialiased, false, 0, true},
                          Case{fqNonAntialiased, false, 0, false}, Case{fqNonAntialiased, false, 300, false},
                          Case{fqDefault, true, 0, false}}) {
        auto b = test::White(80, 60);
        if (k.monochrome) b->SetMonochrome(true);
        TCanvas& c = *b->Canvas();
        c.Font()->SetQuality(k.quality);
        c.Font()->SetColor(clBlack);
        c.Font()->SetHeight(-16);
        c.Font()->SetOrientation(k.orientation);
        c.Brush()->SetStyle(bsClear);
        c.TextOut(4, 50, "3,58 V/m");
        std::set<TColor> colours;
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x) colours.insert(c.Pixels(x, y));
        if (k.shades) EXPECT_GT(colours.size(), 2u) << k.quality;
        else EXPECT_EQ(colours, (std::set<TColor>{clBlack, clWhite})) << k.quality << " mono";
    }
}
