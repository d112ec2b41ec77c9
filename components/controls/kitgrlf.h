// Text effects of the graphic label: a caption drawn letter by letter, every letter with its
// own size, rotation and position along one of 18 shapes, with an optional perspective
// extrusion, 3D light and shadow copies and an extra tilt per letter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "components/base/KitCaptions.h"
#include "platform/gdi/Graphics.h"
#include "platform/rtl/Sets.h"

namespace kit {

// Scoped: tmNone is also a tile mode of the library.
enum class TKitTransLabelTypes : std::uint8_t {
    tmWave, tmNone, tmHalfcircle, tmArrow, tmSpeaker, tmInvSpeaker, tmFly, tmChair, tmStairs,
    tmInvStairs, tmBuckled, tmEnterprise, tmLNoseUp, tmLNoseDown, tmRNoseUp, tmRNoseDown, tmCube,
    tmHalfmoon
};

enum TKitTransLabelAttributes : std::uint8_t {
    taPerspective, taToggled, taAutoToggled, taEqualLetters
};
using TKitTransLabelAttr = rtl::TSet<TKitTransLabelAttributes, std::uint8_t>;

enum TKitPerspective : std::uint8_t { tpFrog, tpBird };

using TKitToggle = std::int16_t;  // degrees
inline constexpr TKitToggle KitToggleMin = -180, KitToggleMax = 180;

// Width and height of the current letter, shared by the placement and its caller.
struct TKitLetterSize {
    int Width = 0;
    int Height = 0;
};

// Everything that shapes a transformed caption (the label's properties).
struct TKitTransformParams {
    TKitTransLabelTypes Transform = TKitTransLabelTypes::tmWave;
    TKitToggle Toggle = 0;
    int Factor = 5;
    bool InvertCaption = false;
    TKitPerspective Perspective = tpBird;
    int PerspectiveDepth = 5;
    TKitTransLabelAttr Attributes{taAutoToggled};
};

// Draws text into rect, letter by letter along the shape. A caption of fewer than two letters
// draws nothing. The canvas's font and brush are left as the drawing set them; its text
// alignment and character extra are put back.
void KitDrawTransformedText(gdi::TCanvas& canvas, const gdi::TRect& rect, const gdi::TFont& font,
                            const TKitFxCaption& fontFX, const std::string& text,
                            const TKitTransformParams& params);
// result becomes (0, 0, width, height) needed by the caption.
void KitCalcTransformedTextRect(gdi::TCanvas& canvas, gdi::TRect& result, const gdi::TFont& font,
                                const TKitFxCaption& fontFX, const std::string& text,
                                const TKitTransformParams& params);

// Places letter i (1..n) of a caption of n letters for the pen point (x0, y0): sets the
// canvas's font for the letter (font's face at the letter's size, rotated by its escapement),
// fills size (unless equal letters apply) and returns the letter's drawing point, the left end
// of its baseline. escapement receives the letter's escapement in tenths of a degree.
gdi::TPoint KitPlaceTransformedLetter(gdi::TCanvas& canvas, int x0, int y0, int i, int n,
                                      const std::string& letter, const gdi::TFont& font,
                                      const TKitFxCaption& fontFX,
                                      const TKitTransformParams& params, TKitLetterSize& size,
                                      int* escapement = nullptr);

// The letters (code points) of a caption.
std::vector<std::string> KitSplitLetters(const std::string& text);

}  // namespace kit
