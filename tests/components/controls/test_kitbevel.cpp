// The bevel: extents by mode and style, the shadow coupling of the two styles, the inner
// rectangle, painting pixel by pixel, and its change notifications.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "components/base/KitDrawFrames.h"
#include "components/controls/KitBevel.h"
#include "platform/gdi/Drawing.h"
#include "tests/components/base/PixelText.h"

using namespace gdi;
using namespace kit;
using kit::test::PixelText;

namespace {

std::unique_ptr<TBitmap> White(int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

bool AllWhite(TBitmap& b) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas()->Pixels(x, y) != clWhite) return false;
    return true;
}

// A bevel with its change count.
struct Counted {
    TKitBevel bevel;
    int changes = 0;
    Counted() {
        bevel.OnChange = [this](rtl::TObject* s) {
            EXPECT_EQ(s, &bevel);
            ++changes;
        };
    }
};

}  // namespace

TEST(kitBevel, ExtentsByModeAndStyle) {
    struct Case {
        const char* what;
        std::function<void(TKitBevel&)> set;
        int extent, extentFar;
    };
    const Case cases[] = {
        {"defaults after a change", [](TKitBevel& b) { b.SetWidthOuter(3); }, 0, 0},
        {"border widths only", [](TKitBevel& b) { b.SetBorderWidth(2); b.SetBorderInnerWidth(1); }, 3, 3},
        {"frame raised outer", [](TKitBevel& b) { b.SetStyleOuter(bvFrameRaised); b.SetWidthOuter(2); }, 3, 3},
        {"raised outer, lowered inner, border between",
         [](TKitBevel& b) {
             b.SetStyleOuter(bvRaised);
             b.SetWidthOuter(2);
             b.SetStyleInner(bvLowered);
             b.SetBorderWidth(4);
         },
         7, 7},
        {"frame lowered inner", [](TKitBevel& b) { b.SetStyleInner(bvFrameLowered); }, 2, 2},
        {"shadow look",
         [](TKitBevel& b) {
             b.SetStyleInner(bvShadow);
             b.SetWidthInner(1);
             b.SetWidthOuter(4);
         },
         1, 5},
        {"shadow look ignores BorderWidth",
         [](TKitBevel& b) {
             b.SetStyleOuter(bvShadow);
             b.SetWidthInner(2);
             b.SetWidthOuter(3);
             b.SetBorderWidth(9);
             b.SetBorderInnerWidth(1);
         },
         3, 6},
        {"standard style", [](TKitBevel& b) { b.SetMode(bmStandard); b.SetStandardStyle(lsRaised); b.SetBorderInnerWidth(1); }, 3, 3},
        {"standard single", [](TKitBevel& b) { b.SetMode(bmStandard); b.SetStandardStyle(lsSingle); }, 1, 1},
        {"standard none", [](TKitBevel& b) { b.SetMode(bmStandard); b.SetStandardStyle(lsNone); }, 0, 0},
        {"edge", [](TKitBevel& b) { b.SetMode(bmEdge); b.SetBorderInnerWidth(1); }, 3, 3},
        {"edge without sides", [](TKitBevel& b) { b.SetMode(bmEdge); b.SetBorderSides({}); }, 0, 0},
        {"windows frame of a label", [](TKitBevel& b) { b.SetMode(bmWindows); b.SetBorderInnerWidth(3); }, 5, 5},
        {"windows frame of a panel",
         [](TKitBevel& b) {
             b.WindowFrameExternal = true;
             b.SetMode(bmWindows);
             b.SetBorderInnerWidth(3);
         },
         0, 0},
    };
    for (const Case& c : cases) {
        TKitBevel b;
        c.set(b);
        EXPECT_EQ(b.BevelExtent(), c.extent) << c.what;
        EXPECT_EQ(b.BevelExtentFar(), c.extentFar) << c.what;
        EXPECT_EQ(b.CalcExtent(), c.extent) << c.what;
    }
}

TEST(kitBevel, ShadowIsOneLookForBothStyles) {
    Counted c;
    c.bevel.SetStyleInner(bvShadow);
    EXPECT_EQ(c.bevel.StyleOuter(), bvShadow);
    EXPECT_EQ(c.changes, 1);
    c.bevel.SetStyleOuter(bvRaised);
    EXPECT_EQ(c.bevel.StyleInner(), bvNone);
    EXPECT_EQ(c.bevel.StyleOuter(), bvRaised);
    EXPECT_EQ(c.changes, 2);
    c.bevel.SetStyleOuter(bvShadow);
    EXPECT_EQ(c.bevel.StyleInner(), bvShadow);
    c.bevel.SetStyleInner(bvLowered);
    EXPECT_EQ(c.bevel.StyleOuter(), bvNone);
    EXPECT_EQ(c.bevel.StyleInner(), bvLowered);
    EXPECT_EQ(c.changes, 4);
}

TEST(kitBevel, ClientRectOfTheShadowLookAndOfOthers) {
    TKitBevel b;
    b.SetStyleInner(bvShadow);
    b.SetWidthOuter(4);
    EXPECT_EQ(b.BevelClientRect(Rect(0, 0, 100, 50)), Rect(1, 1, 95, 45));
    b.SetStyleOuter(bvFrameRaised);
    b.SetWidthOuter(2);
    EXPECT_EQ(b.BevelClientRect(Rect(10, 10, 100, 50)), Rect(13, 13, 97, 47));
}

TEST(kitBevel, SettersNotifyOnlyOnChangeAndStandardStyleOnlyInStandardMode) {
    Counted c;
    c.bevel.SetWidthInner(1);  // unchanged
    c.bevel.SetColor(1, clBtnHighlight);
    c.bevel.SetStandardStyle(lsRaised);  // bmCustom: stored, no notification
    EXPECT_EQ(c.changes, 0);
    EXPECT_EQ(c.bevel.StandardStyle(), lsRaised);
    c.bevel.SetMode(bmStandard);
    EXPECT_EQ(c.changes, 1);
    EXPECT_EQ(c.bevel.BevelExtent(), 2);
    c.bevel.SetStandardStyle(lsSingle);
    EXPECT_EQ(c.changes, 2);
    EXPECT_EQ(c.bevel.BevelExtent(), 1);
    c.bevel.SetColor(2, clRed);
    EXPECT_EQ(c.bevel.ShadowColor(), clRed);
    c.bevel.BeginUpdate();
    c.bevel.SetBorderWidth(3);
    EXPECT_EQ(c.changes, 3);
    c.bevel.EndUpdate(true);
    EXPECT_EQ(c.changes, 4);
}

TEST(kitBevel, ModeSwitchAroundWindowsFrameIsReportedOnce) {
    TKitBevel b;
    b.SetMode(bmWindows);
    EXPECT_FALSE(b.WindowFrameChanged());  // not external: nothing to recreate
    b.WindowFrameExternal = true;
    b.SetMode(bmCustom);
    EXPECT_TRUE(b.WindowFrameChanged());
    EXPECT_FALSE(b.WindowFrameChanged());
    b.SetMode(bmEdge);
    EXPECT_FALSE(b.WindowFrameChanged());
    b.SetMode(bmWindows);
    EXPECT_TRUE(b.WindowFrameChanged());
    EXPECT_TRUE(b.WindowFrameChanged());  // stays true while the window frames it
}

TEST(kitBevel, AssignCopiesEverythingWithOneChange) {
    TKitBevel src;
    src.SetStyleOuter(bvRaised);
    src.SetWidthOuter(3);
    src.SetBorderSides({fsTop});
    src.SetBorderColor(clRed);
    src.SetLightColor(clYellow);
    src.SetShadowColor(clBlue);
    src.SetEdgeStyle(etBump);
    src.SetStandardStyle(lsDoubleRaised);
    src.SetBorderInnerWidth(2);
    src.SetMode(bmEdge);
    src.WindowFrameExternal = true;
    Counted c;
    c.bevel.Assign(&src);
    EXPECT_EQ(c.changes, 1);
    const TKitBevel& d = c.bevel;
    EXPECT_EQ(d.StyleOuter(), bvRaised);
    EXPECT_EQ(d.WidthOuter(), 3);
    EXPECT_EQ(d.BorderSides(), TKitFrameSides{fsTop});
    EXPECT_EQ(d.BorderColor(), clRed);
    EXPECT_EQ(d.LightColor(), clYellow);
    EXPECT_EQ(d.ShadowColor(), clBlue);
    EXPECT_EQ(d.EdgeStyle(), etBump);
    EXPECT_EQ(d.StandardStyle(), lsDoubleRaised);
    EXPECT_EQ(d.Mode(), bmEdge);
    EXPECT_TRUE(d.WindowFrameExternal);
    EXPECT_EQ(d.BevelExtent(), 4);

    c.bevel.Assign(&c.bevel);
    EXPECT_EQ(c.changes, 1);
    rtl::TStringList other;
    EXPECT_THROW(c.bevel.Assign(&other), rtl::EConvertError);
}

TEST(kitBevel, SummaryNamesTheMode) {
    TKitBevel b;
    std::string s;
    const std::pair<TKitBevelMode, const char*> modes[] = {
        {bmCustom, "{Custom style}"}, {bmStandard, "{Standard style}"}, {bmEdge, "{Edged style}"}, {bmWindows, "{Windows style}"}};
    for (auto [m, text] : modes) {
        b.SetMode(m);
        b.GetSummary(s);
        EXPECT_EQ(s, text);
    }
}

TEST(kitBevel, EmptyBevelsPaintNothing) {
    auto bmp = White(8, 8);
    TRect r;
    TKitBevel fresh;
    fresh.PaintBevel(*bmp->Canvas(), Rect(1, 1, 7, 7), false, r);
    EXPECT_EQ(r, Rect(1, 1, 7, 7));
    TKitBevel edge;
    edge.SetMode(bmEdge);
    edge.SetBorderSides({});
    edge.PaintBevel(*bmp->Canvas(), Rect(0, 0, 8, 8), false, r);
    EXPECT_EQ(r, Rect(0, 0, 8, 8));
    EXPECT_TRUE(AllWhite(*bmp));
}

TEST(kitBevel, CustomLayersOutsideIn) {
    TKitBevel b;
    b.SetStyleOuter(bvRaised);
    b.SetStyleInner(bvLowered);
    b.SetBorderWidth(1);
    b.SetBorderInnerWidth(1);
    b.SetBorderColor(clRed);
    b.SetLightColor(clYellow);
    b.SetShadowColor(clBlue);
    auto bmp = White(10, 10);
    TRect r;
    b.PaintBevel(*bmp->Canvas(), Rect(0, 0, 10, 10), false, r);
    EXPECT_EQ(r, Rect(4, 4, 6, 6));
    EXPECT_EQ(PixelText(*bmp),
              "YYYYYYYYYB\n"
              "YRRRRRRRRB\n"
              "YRBBBBBYRB\n"
              "YRBRRRRYRB\n"
              "YRBR..RYRB\n"
              "YRBR..RYRB\n"
              "YRBRRRRYRB\n"
              "YRBYYYYYRB\n"
              "YRRRRRRRRB\n"
              "YBBBBBBBBB\n");
    // Transparent: the frames in BorderColor take their room but are not painted.
    auto clear = White(10, 10);
    b.PaintBevel(*clear->Canvas(), Rect(0, 0, 10, 10), true, r);
    EXPECT_EQ(r, Rect(4, 4, 6, 6));
    EXPECT_EQ(PixelText(*clear),
              "YYYYYYYYYB\n"
              "Y........B\n"
              "Y.BBBBBY.B\n"
              "Y.B....Y.B\n"
              "Y.B....Y.B\n"
              "Y.B....Y.B\n"
              "Y.B....Y.B\n"
              "Y.BYYYYY.B\n"
              "Y........B\n"
              "YBBBBBBBBB\n");
}

TEST(kitBevel, PaintsWhatTheDrawingLibraryDraws) {
    // The shadow look and the standard style are the shared drawing routines with the bevel's
    // colours and widths.
    TKitBevel shadow;
    shadow.SetStyleOuter(bvShadow);
    shadow.SetWidthOuter(3);
    shadow.SetWidthInner(2);
    shadow.SetLightColor(clYellow);
    shadow.SetShadowColor(clBlue);
    shadow.SetBorderColor(clRed);
    TKitBevel standard;
    standard.SetMode(bmStandard);
    standard.SetStandardStyle(lsFrameOffset);
    for (bool transparent : {false, true}) {
        auto got = White(20, 16), want = White(20, 16);
        TRect r, w = Rect(1, 1, 19, 15);
        shadow.PaintBevel(*got->Canvas(), Rect(1, 1, 19, 15), transparent, r);
        KitDrawShadowBevel(*want->Canvas(), w, clYellow, clBlue, clRed, 3, 2, transparent);
        EXPECT_EQ(PixelText(*got), PixelText(*want));
        EXPECT_EQ(r, w);
        EXPECT_EQ(r, shadow.BevelClientRect(Rect(1, 1, 19, 15)));
    }
    auto got = White(12, 12), want = White(12, 12);
    TRect r, w = Rect(0, 0, 12, 12);
    standard.PaintBevel(*got->Canvas(), w, false, r);
    KitDrawBorder(*want->Canvas(), w, lsFrameOffset, 0);
    EXPECT_EQ(PixelText(*got), PixelText(*want));
    EXPECT_EQ(r, w);
}

TEST(kitBevel, EdgeModeDrawsOnlyItsSidesButTakesAllFour) {
    TKitBevel b;
    b.SetMode(bmEdge);
    b.SetEdgeStyle(etSunken);
    b.SetBorderSides({fsBottom});
    auto bmp = White(8, 8);
    TRect r;
    b.PaintBevel(*bmp->Canvas(), Rect(0, 0, 8, 8), false, r);
    EXPECT_EQ(r, Rect(2, 2, 6, 6));
    auto want = White(8, 8);
    TRect w = Rect(0, 0, 8, 8);
    DrawEdge(*want->Canvas(), w, EDGE_SUNKEN, BF_BOTTOM);
    EXPECT_EQ(PixelText(*bmp), PixelText(*want));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(bmp->Canvas()->Pixels(x, y), clWhite) << x << "," << y;
    EXPECT_NE(bmp->Canvas()->Pixels(3, 6), clWhite);  // the inner line of the bottom edge
}

TEST(kitBevel, WindowsFrameOfALabelIsASunkenFrameAndBorderFrames) {
    TKitBevel b;
    b.SetMode(bmWindows);
    b.SetBorderInnerWidth(3);
    b.SetBorderColor(clRed);
    auto bmp = White(14, 14);
    TRect r;
    b.PaintBevel(*bmp->Canvas(), Rect(0, 0, 14, 14), false, r);
    EXPECT_EQ(r, Rect(5, 5, 9, 9));
    auto want = White(14, 14);
    TRect w = Rect(0, 0, 14, 14);
    KitDrawBorder(*want->Canvas(), w, lsLoweredExt, 0);
    EXPECT_EQ(w, Rect(2, 2, 12, 12));
    want->Canvas()->Brush()->SetColor(clRed);
    want->Canvas()->FillRect(w);
    want->Canvas()->Brush()->SetColor(clWhite);
    want->Canvas()->FillRect(Rect(5, 5, 9, 9));
    EXPECT_EQ(PixelText(*bmp), PixelText(*want));

    b.WindowFrameExternal = true;
    b.SetBorderInnerWidth(4);
    auto none = White(14, 14);
    b.PaintBevel(*none->Canvas(), Rect(0, 0, 14, 14), false, r);
    EXPECT_EQ(r, Rect(0, 0, 14, 14));
    EXPECT_TRUE(AllWhite(*none));
}
