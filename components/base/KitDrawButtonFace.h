// Button faces: face and frame of a button in one of the library's button styles, for its state,
// themed (the XP styles while themes are on) or classic. The speed buttons paint through it and
// then draw glyph and caption into the rectangle handed back.
#pragma once

#include <cstdint>

#include "components/base/kitgraph.h"
#include "platform/gdi/Graphics.h"
#include "platform/gui/Controls.h"

namespace kit {

// Bits of StateFlags.
inline constexpr std::uint16_t kbfRoundCorners = 0x0001;  // ubsWin31: round the four corners
inline constexpr std::uint16_t kbfFocused = 0x0002;       // default-button frame and focus rectangle
inline constexpr std::uint16_t kbf3DBorder = 0x0004;      // ubsWin40: classic 3-D border
inline constexpr std::uint16_t kbfSunkenDown = 0x0008;    // ubsWin40 pressed: sunken edge
inline constexpr std::uint16_t kbfFillMiddle = 0x0010;    // fill the middle of the default frame
inline constexpr std::uint16_t kbfDefault = 0x0020;       // default button
inline constexpr std::uint16_t kbfSplit = 0x0080;         // ubsWinXPTool: split button
inline constexpr std::uint16_t kbfDropDown = 0x0100;      // with kbfSplit: its drop-down part

// State (the speed button's state byte): 1 and 7 are disabled; 3, 4, 6 and 7 are pressed; 3 is
// latched down and gets the checker-pattern face.
inline bool KitButtonStatePressed(std::uint8_t state) {
    return state == 3 || state == 4 || state == 6 || state == 7;
}

// Paints the face and frame of a button in rect and sets rect to the face rectangle inside the
// frame. Parent supplies the window for the theme data. Always returns true.
bool KitDrawButtonFace(gui::TWinControl* parent, gdi::TCanvas& canvas, bool hot, gdi::TRect& rect,
                       TKitUserButtonStyle style, std::uint8_t state, std::uint16_t stateFlags,
                       gdi::TColor color);

// The classic painting (edges, rectangles and lines) for any style; rect becomes the face
// rectangle. Pen and brush of the canvas are put back.
bool KitPaintButtonFace(gdi::TCanvas& canvas, bool hot, gdi::TRect& rect,
                        TKitUserButtonStyle style, std::uint8_t state, std::uint16_t stateFlags,
                        gdi::TColor color);

}  // namespace kit
