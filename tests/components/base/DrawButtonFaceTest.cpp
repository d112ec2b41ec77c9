// Button faces: classic frames pixel by pixel, the face rectangle handed back, and the themed
// path through a fake theme library.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "components/base/KitDrawButtonFace.h"
#include "components/base/KitXPStyles.h"
#include "platform/gdi/Drawing.h"
#include "tests/components/base/PixelText.h"

using namespace gdi;
using namespace kit;
using kit::test::PixelText;

namespace {

// 's' button shadow / clGray, 'd' 3-D dark shadow, 'f' button face; '.' is white (also the
// button highlight).
const std::map<TColor, char> kEdge = {
    {GetSysColor(16), 's'}, {GetSysColor(21), 'd'}, {GetSysColor(15), 'f'}};

std::unique_ptr<TBitmap> Filled(int w, int h, TColor color) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush()->SetColor(color);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

struct Painted {
    std::unique_ptr<TBitmap> bmp;
    TRect face;
};

Painted Paint(int w, int h, TKitUserButtonStyle style, std::uint8_t state, std::uint16_t flags,
              bool hot = false, TColor background = clRed) {
    Painted p{Filled(w, h, background), Rect(0, 0, w, h)};
    EXPECT_TRUE(KitDrawButtonFace(nullptr, *p.bmp->Canvas(), hot, p.face, style, state, flags,
                                  clYellow));
    return p;
}

}  // namespace

TEST(KitDrawButtonFace, ClassicFramesPixelByPixel) {
    struct Case {
        const char* name;
        TKitUserButtonStyle style;
        std::uint8_t state;
        std::uint16_t flags;
        int w, h;
        const char* pixels;
    };
    const Case cases[] = {
        {"integrated up", ubsIntegrated, 0, 0, 6, 5,
         "fffff#\n"
         "f...s#\n"
         "f.YYs#\n"
         "fssss#\n"
         "######\n"},
        {"integrated down", ubsIntegrated, 4, 0, 5, 4,
         "sssss\n"
         "sYYYs\n"
         "sYYYs\n"
         "sssss\n"},
        {"black frame up", ubsDelphi, 0, 0, 6, 6,
         "######\n"
         "#...s#\n"
         "#.YYs#\n"
         "#.YYs#\n"
         "#ssss#\n"
         "######\n"},
        {"black frame down", ubsDelphi, 6, 0, 6, 6,
         "######\n"
         "#ssss#\n"
         "#sYYY#\n"
         "#sYYY#\n"
         "#sYYY#\n"
         "######\n"},
        {"plain win40 down", ubsWin40, 4, 0, 6, 6,
         "######\n"
         "#ssss#\n"
         "#sYYs#\n"
         "#sYYs#\n"
         "#ssss#\n"
         "######\n"},
        {"win40 3-D up", ubsWin40, 0, kbf3DBorder, 6, 6,
         // The outer raised edge runs on all four sides (the edge flags are OR-ed, not added).
         ".....d\n"
         ".YYYsd\n"
         ".YYYsd\n"
         ".YYYsd\n"
         ".ssssd\n"
         "dddddd\n"},
        {"win40 3-D down, sunken", ubsWin40, 4, kbf3DBorder | kbfSunkenDown, 6, 6,
         "sssss.\n"
         "sdddf.\n"
         "sdYYf.\n"
         "sdYYf.\n"
         "sffff.\n"
         "......\n"},
        {"win31 up, round corners", ubsWin31, 0, kbfRoundCorners, 8, 8,
         "fssssssf\n"
         "s.....sd\n"
         "s....ssd\n"
         "s..YYssd\n"
         "s..YYssd\n"
         "s.sssssd\n"
         "sssssssd\n"
         "fddddddf\n"},
        {"win31 down", ubsWin31, 4, 0, 8, 8,
         "sssssssd\n"
         "sddddddd\n"
         "sdYYYYYd\n"
         "sdYYYYYd\n"
         "sdYYYYYd\n"
         "sdYYYYYd\n"
         "sdYYYYYd\n"
         "dddddddd\n"},
        {"win31 default button, round corners", ubsWin31, 0, kbfDefault | kbfRoundCorners, 10,
         10,
         // The outer default frame takes the rounding; the Win31 frame inside stays square.
         "fssssssssf\n"
         "ssssssssdd\n"
         "ss.....sdd\n"
         "ss....ssdd\n"
         "ss..YYssdd\n"
         "ss..YYssdd\n"
         "ss.sssssdd\n"
         "ssssssssdd\n"
         "sddddddddd\n"
         "fddddddddf\n"},
    };
    for (const Case& c : cases) {
        Painted p = Paint(c.w, c.h, c.style, c.state, c.flags);
        EXPECT_EQ(PixelText(*p.bmp, kEdge), c.pixels) << c.name;
    }
}

TEST(KitDrawButtonFace, FaceRectangleInsideTheFrame) {
    struct Case {
        TKitUserButtonStyle style;
        std::uint8_t state;
        std::uint16_t flags;
        TRect face;
    };
    const Case cases[] = {
        {ubsWin40, 0, 0, Rect(3, 3, 17, 13)},
        {ubsWin40, 4, 0, Rect(4, 4, 18, 14)},  // pressed: one pixel to the lower right
        {ubsWin31, 3, 0, Rect(4, 4, 18, 14)},
        {ubsFlat, 7, 0, Rect(4, 4, 18, 14)},
        {ubsExplorer, 0, 0, Rect(3, 3, 17, 13)},
        {ubsWin40, 0, kbfDefault, Rect(4, 4, 16, 12)},  // the default frame takes one pixel
        {ubsDelphi, 0, kbfFocused, Rect(4, 4, 16, 12)},
        {ubsWin40, 6, kbfDefault, Rect(4, 4, 18, 14)},  // no default frame while pressed
        {ubsAutoDetect, 1, 0, Rect(3, 3, 17, 13)},      // disabled is not pressed
    };
    for (const Case& c : cases) {
        Painted p = Paint(20, 16, c.style, c.state, c.flags);
        EXPECT_EQ(p.face, c.face) << int(c.style) << " state " << int(c.state) << " flags "
                                  << c.flags;
    }
}

TEST(KitDrawButtonFace, LatchedDownGetsTheCheckerPatternUnlessFlatAndHot) {
    // Win40 with its 3-D border, latched down (state 3): two-pixel frame, pattern inside.
    Painted latched = Paint(8, 8, ubsWin40, 3, kbf3DBorder);
    TCanvas& c = *latched.bmp->Canvas();
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            EXPECT_EQ(c.Pixels(x, y), (x & 1) != (y & 1) ? clYellow : clWhite) << x << "," << y;

    // The pattern follows the device origin, as a pattern brush does.
    auto shifted = Filled(9, 9, clRed);
    shifted->Canvas()->SetOrigin(Point(1, 0));
    TRect r = Rect(0, 0, 8, 8);
    KitDrawButtonFace(nullptr, *shifted->Canvas(), false, r, ubsWin40, 3, kbf3DBorder, clYellow);
    shifted->Canvas()->SetOrigin(Point(0, 0));
    for (int y = 2; y < 6; ++y)
        for (int x = 3; x < 7; ++x)
            EXPECT_EQ(shifted->Canvas()->Pixels(x, y), (x & 1) != (y & 1) ? clYellow : clWhite);

    // A hot flat button in state 3 gets the plain face; when not hot, the pattern.
    Painted flatHot = Paint(8, 8, ubsFlat, 3, 0, true);
    EXPECT_EQ(PixelText(*flatHot.bmp, kEdge),
              "sssssss.\n"
              "sYYYYYY.\n"
              "sYYYYYY.\n"
              "sYYYYYY.\n"
              "sYYYYYY.\n"
              "sYYYYYY.\n"
              "sYYYYYY.\n"
              "........\n");
    Painted flatCold = Paint(8, 8, ubsFlat, 3, 0, false);
    EXPECT_EQ(flatCold.bmp->Canvas()->Pixels(2, 3), clYellow);
    EXPECT_EQ(flatCold.bmp->Canvas()->Pixels(3, 3), clWhite);
}

TEST(KitDrawButtonFace, ExplorerFaceIsNeverFilled) {
    // Up and not hot: nothing at all is drawn.
    EXPECT_EQ(PixelText(*Paint(5, 4, ubsExplorer, 0, 0).bmp), "RRRRR\nRRRRR\nRRRRR\nRRRRR\n");
    // Hot: the raised frame only; pressed: the sunken frame only. The colored variant alike.
    EXPECT_EQ(PixelText(*Paint(5, 4, ubsExplorer, 0, 0, true).bmp, kEdge),
              "....s\n"
              ".RRRs\n"
              ".RRRs\n"
              "sssss\n");
    EXPECT_EQ(PixelText(*Paint(5, 4, ubsExplorerColored, 4, 0).bmp, kEdge),
              "ssss.\n"
              "sRRR.\n"
              "sRRR.\n"
              ".....\n");
}

TEST(KitDrawButtonFace, NavigatorAndDelphiFlatBoxWithTheCurrentPen) {
    for (TKitUserButtonStyle style : {ubsNavigator, ubsDelphiFlat}) {
        auto b = Filled(6, 6, clRed);
        TCanvas& c = *b->Canvas();
        c.Pen()->SetColor(clBlue);
        c.Brush()->SetColor(clLime);
        TRect r = Rect(0, 0, 6, 6);
        KitDrawButtonFace(nullptr, c, true, r, style, 0, 0, clYellow);
        EXPECT_EQ(PixelText(*b, kEdge),
                  "BBBBBB\n"
                  "B...sB\n"
                  "B.YYsB\n"
                  "B.YYsB\n"
                  "BssssB\n"
                  "BBBBBB\n")
            << int(style);
        // Pen and brush are the caller's again.
        EXPECT_EQ(c.Pen()->Color(), clBlue);
        EXPECT_EQ(c.Brush()->Color(), clLime);
        EXPECT_EQ(c.Brush()->Style(), bsSolid);
    }
    // Not hot and up: a plain face without a box.
    EXPECT_EQ(PixelText(*Paint(4, 3, ubsNavigator, 0, 0).bmp), "YYYY\nYYYY\nYYYY\n");
}

TEST(KitDrawButtonFace, DefaultFrameAndFocusRectangle) {
    // Focused plain Win40: sunken-soft default frame, the focused raised frame inside it, and
    // the dotted focus rectangle three pixels inside the default frame (yellow inverts to blue).
    Painted p = Paint(10, 10, ubsWin40, 0, kbfFocused);
    EXPECT_EQ(PixelText(*p.bmp, kEdge),
              "sssssssssd\n"
              "s.......dd\n"
              "s.YYYYYsdd\n"
              "s.YYYYYsdd\n"
              "s.YYBYYsdd\n"
              "s.YYYBYsdd\n"
              "s.YYYYYsdd\n"
              "s.ssssssdd\n"
              "sddddddddd\n"
              "dddddddddd\n");
    EXPECT_EQ(p.face, Rect(4, 4, 6, 6));

    // With $10 the default frame fills the middle with the button face before the frame.
    Painted m = Paint(10, 10, ubsDelphi, 0, kbfDefault | kbfFillMiddle);
    EXPECT_EQ(m.bmp->Canvas()->Pixels(0, 0), GetSysColor(16));
    EXPECT_EQ(m.bmp->Canvas()->Pixels(9, 9), GetSysColor(21));
    EXPECT_EQ(m.bmp->Canvas()->Pixels(4, 4), GetSysColor(15));
    EXPECT_EQ(m.bmp->Canvas()->Pixels(1, 1), clBlack);  // the black frame inside the default frame
}

TEST(KitDrawButtonFace, XPStylesWithoutThemesPaintLikeTheirClassicStyles) {
    ASSERT_FALSE(KitThemeLibraryLoaded);
    struct Pair { TKitUserButtonStyle xp, classic; };
    for (Pair pair : {Pair{ubsWinXP, ubsWin40}, Pair{ubsWinXPCombo, ubsIntegrated},
                      Pair{ubsWinXPTool, ubsExplorerColored}, Pair{ubsAutoDetect, ubsWin40}}) {
        for (std::uint8_t state : {0, 1, 3, 4}) {
            for (std::uint16_t flags : {0, int(kbf3DBorder), int(kbfFocused), int(kbf3DBorder | kbfSunkenDown)}) {
                for (bool hot : {false, true}) {
                    Painted a = Paint(12, 10, pair.xp, state, flags, hot);
                    Painted b = Paint(12, 10, pair.classic, state, flags, hot);
                    EXPECT_EQ(PixelText(*a.bmp, kEdge), PixelText(*b.bmp, kEdge))
                        << int(pair.xp) << " state " << int(state) << " flags " << flags;
                    EXPECT_EQ(a.face, b.face);
                }
            }
        }
    }
}

namespace {

struct ThemeCall {
    std::string themeClass;
    int part = 0, state = 0;
    TRect rect, clip;
};
std::vector<ThemeCall> gCalls;
int gOpen = 0, gClose = 0;
bool gFailDraw = false;
std::string gLastClass;
int gThemeHandle = 0;

class FakeThemes : public ::testing::Test {
protected:
    void SetUp() override {
        gCalls.clear();
        gOpen = gClose = 0;
        gFailDraw = false;
        saved_ = KitThemeFunctions;
        KitThemeLibraryLoaded = true;
        KitThemeFunctions.IsThemeActive = [] { return true; };
        KitThemeFunctions.OpenThemeData = [](void*, const std::string& cls) -> HTHEME {
            ++gOpen;
            gLastClass = cls;
            return &gThemeHandle;
        };
        KitThemeFunctions.CloseThemeData = [](HTHEME) -> long { ++gClose; return 0; };
        KitThemeFunctions.DrawThemeBackground = [](HTHEME, TCanvas* canvas, int part, int state,
                                                   const TRect& r, const TRect* clip) -> long {
            if (gFailDraw) throw std::runtime_error("theme drawing failed");
            gCalls.push_back({gLastClass, part, state, r, clip ? *clip : TRect{}});
            canvas->Brush()->SetColor(clBlue);
            canvas->FillRect(r);
            return 0;
        };
    }
    void TearDown() override {
        KitThemeFunctions = saved_;
        KitThemeLibraryLoaded = false;
    }
    TKitThemeFunctions saved_;
};

}  // namespace

TEST_F(FakeThemes, ClassPartAndStateOfTheThemedStyles) {
    struct Case {
        TKitUserButtonStyle style;
        bool hot;
        std::uint8_t state;
        std::uint16_t flags;
        const char* cls;
        int part, themeState;
        TRect drawn;
    };
    const TRect inside = Rect(2, 2, 18, 14);
    const Case cases[] = {
        {ubsAutoDetect, false, 0, 0, "BUTTON", 1, 1, Rect(1, 1, 19, 15)},  // grown by one
        {ubsWinXP, true, 0, 0, "BUTTON", 1, 2, Rect(1, 1, 19, 15)},
        {ubsWinXP, true, 4, 0, "BUTTON", 1, 3, Rect(1, 1, 19, 15)},
        {ubsWinXP, false, 1, 0, "BUTTON", 1, 4, Rect(1, 1, 19, 15)},
        {ubsWinXP, true, 7, 0, "BUTTON", 1, 4, Rect(1, 1, 19, 15)},  // disabled wins
        {ubsWinXP, false, 0, kbfDefault, "BUTTON", 1, 1, Rect(1, 1, 19, 15)},
        {ubsWinXPCombo, false, 6, 0, "COMBOBOX", 1, 3, inside},
        {ubsWinXPTool, true, 0, 0, "TOOLBAR", 1, 2, inside},
        {ubsWinXPTool, false, 3, kbfSplit, "TOOLBAR", 3, 3, inside},
        {ubsWinXPTool, false, 0, kbfSplit | kbfDropDown, "TOOLBAR", 4, 1, inside},
        {ubsWinXPTool, false, 0, kbfDropDown, "TOOLBAR", 1, 1, inside},
    };
    for (const Case& c : cases) {
        gCalls.clear();
        auto b = Filled(20, 16, clWhite);
        TRect r = inside;
        EXPECT_TRUE(KitDrawButtonFace(nullptr, *b->Canvas(), c.hot, r, c.style, c.state,
                                      c.flags, clYellow));
        ASSERT_EQ(gCalls.size(), 1u) << int(c.style);
        EXPECT_EQ(gCalls[0].themeClass, c.cls);
        EXPECT_EQ(gCalls[0].part, c.part) << int(c.style) << " flags " << c.flags;
        EXPECT_EQ(gCalls[0].state, c.themeState) << int(c.style) << " state " << int(c.state);
        EXPECT_EQ(gCalls[0].rect, c.drawn);
        EXPECT_EQ(gCalls[0].clip, c.drawn);
        TRect expected = c.drawn;
        InflateRect(expected, -3, -3);
        EXPECT_EQ(r, expected);
    }
    EXPECT_EQ(gOpen, gClose);
}

TEST_F(FakeThemes, ClassicStylesStayClassicAndFocusAndFailureAreHandled) {
    // ubsWin40 is never themed.
    Painted classic = Paint(6, 6, ubsWin40, 4, 0);
    EXPECT_TRUE(gCalls.empty());
    EXPECT_EQ(classic.bmp->Canvas()->Pixels(0, 0), clBlack);

    // Focus: the dotted rectangle on the shrunk rectangle, over the themed background.
    auto b = Filled(12, 12, clWhite);
    TRect r = Rect(0, 0, 12, 12);
    KitDrawButtonFace(nullptr, *b->Canvas(), false, r, ubsWinXPCombo, 0, kbfFocused, clYellow);
    EXPECT_EQ(r, Rect(3, 3, 9, 9));
    EXPECT_EQ(b->Canvas()->Pixels(3, 3), clYellow);  // blue inverted
    EXPECT_EQ(b->Canvas()->Pixels(4, 3), clBlue);
    EXPECT_EQ(b->Canvas()->Pixels(5, 5), clBlue);   // inside untouched

    // The theme is closed also when drawing fails.
    gFailDraw = true;
    gOpen = gClose = 0;
    TRect f = Rect(0, 0, 12, 12);
    EXPECT_THROW(KitDrawButtonFace(nullptr, *b->Canvas(), false, f, ubsWinXP, 0, 0, clYellow),
                 std::runtime_error);
    EXPECT_EQ(gOpen, 1);
    EXPECT_EQ(gClose, 1);
}
