// Frames around controls and panels: bevels in the library's styles, borders through the edge
// routine, and the small triangular arrows of drop-down buttons. Routines taking a rectangle by
// reference shrink it to the inside of what they drew.
#pragma once

#include "components/base/kitgraph.h"
#include "platform/gdi/Graphics.h"
#include "platform/gui/Forms.h"

namespace kit {

// False (and nothing drawn) for width 0, bvNone and bvShadow.
bool KitDrawBevel(gdi::TCanvas& canvas, gdi::TRect& rect, TKitBevelStyle style,
                  gdi::TColor lightColor, gdi::TColor shadowColor, int width);
// A face with a drop shadow of shadowDepth to the right and below, framed frameWidth times.
// The last argument is not used.
bool KitDrawShadowBevel(gdi::TCanvas& canvas, gdi::TRect& rect, gdi::TColor frameColor,
                        gdi::TColor shadowColor, gdi::TColor cornerColor,
                        std::uint8_t shadowDepth, std::uint8_t frameWidth, bool transparent,
                        bool unused = false);
int KitBorderStyleWidth(TKitBorderStyle style);
// flags: extra edge flags (0 or BF_RECT), combined with the style's by bitwise OR.
bool KitDrawBorder(gdi::TCanvas& canvas, gdi::TRect& rect, TKitBorderStyle style, unsigned flags);
int KitControlBorderWidth(bool ctl3D, gui::TBorderStyle borderStyle, bool themed);
// An arrow of size 2 .. 15 (2 * size - 1 wide, size high) at (x, y); disabled arrows are
// embossed in the highlight-text and grey-text colours.
void KitDrawArrow(gdi::TCanvas& canvas, int x, int y, int size, gdi::TColor color, bool down,
                  bool enabled);

}  // namespace kit
