// Device-context drawing routines beyond the canvas: edges, focus rectangles, palettes and device-
// independent images. They draw with the classic system colours
// of GetSysColor and honour the canvas's origin and clip.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/Graphics.h"
#include "platform/rtl/Arith.h"

namespace gdi {

using rtl::MulDiv;

// ---- Edges -------------------------------------------------------------------------------------
inline constexpr unsigned BDR_RAISEDOUTER = 0x0001;
inline constexpr unsigned BDR_SUNKENOUTER = 0x0002;
inline constexpr unsigned BDR_RAISEDINNER = 0x0004;
inline constexpr unsigned BDR_SUNKENINNER = 0x0008;
inline constexpr unsigned BDR_OUTER = 0x0003;
inline constexpr unsigned BDR_INNER = 0x000C;
inline constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;

inline constexpr unsigned BF_LEFT = 0x0001;
inline constexpr unsigned BF_TOP = 0x0002;
inline constexpr unsigned BF_RIGHT = 0x0004;
inline constexpr unsigned BF_BOTTOM = 0x0008;
inline constexpr unsigned BF_TOPLEFT = BF_TOP | BF_LEFT;
inline constexpr unsigned BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
inline constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
inline constexpr unsigned BF_MIDDLE = 0x0800;   // fill the inside with the button face colour
inline constexpr unsigned BF_SOFT = 0x1000;     // lighter outer, softer inner top-left lines
inline constexpr unsigned BF_ADJUST = 0x2000;   // shrink rect by the drawn sides
inline constexpr unsigned BF_FLAT = 0x4000;     // button shadow outer, face inner
inline constexpr unsigned BF_MONO = 0x8000;     // window frame outer, window inner

// Draws up to two one-pixel layers (outer, then inner) on the sides in `flags`: the left and top
// lines in the top-left colour of the layer, then the right and bottom lines over their whole
// length in the bottom-right colour (so the top-right and bottom-left corners are dark on a
// raised edge). Returns true.
bool DrawEdge(TCanvas& canvas, TRect& rect, unsigned edge, unsigned flags);

// Inverts every second pixel of rect's one-pixel frame (a dotted XOR line, aligned to the
// device origin): drawing it twice restores the surface.
void DrawFocusRect(TCanvas& canvas, const TRect& rect);

// ---- Frame controls ----------------------------------------------------------------------------
inline constexpr unsigned DFC_BUTTON = 4;
inline constexpr unsigned DFCS_BUTTONCHECK = 0x0000;
inline constexpr unsigned DFCS_BUTTONRADIO = 0x0004;
inline constexpr unsigned DFCS_BUTTON3STATE = 0x0008;
inline constexpr unsigned DFCS_INACTIVE = 0x0100;
inline constexpr unsigned DFCS_PUSHED = 0x0200;
inline constexpr unsigned DFCS_CHECKED = 0x0400;
inline constexpr unsigned DFCS_FLAT = 0x4000;

// The classic check box (square, sunken edge or a flat frame, window-coloured inside; button
// face inside when inactive, pushed or a checked 3-state box; the check mark in window text,
// grey when inactive or 3-state) and radio button (a round well with a dot when checked) in
// rect. Other kinds return false.
bool DrawFrameControl(TCanvas& canvas, const TRect& rect, unsigned kind, unsigned state);

// ---- Text ------------------------------------------------------------------------------------
inline constexpr unsigned DT_TOP = 0x0000;
inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_CENTER = 0x0001;
inline constexpr unsigned DT_RIGHT = 0x0002;
inline constexpr unsigned DT_VCENTER = 0x0004;      // single line only
inline constexpr unsigned DT_BOTTOM = 0x0008;       // single line only
inline constexpr unsigned DT_WORDBREAK = 0x0010;
inline constexpr unsigned DT_SINGLELINE = 0x0020;
inline constexpr unsigned DT_EXPANDTABS = 0x0040;
inline constexpr unsigned DT_NOCLIP = 0x0100;
inline constexpr unsigned DT_CALCRECT = 0x0400;
inline constexpr unsigned DT_NOPREFIX = 0x0800;
inline constexpr unsigned DT_PATH_ELLIPSIS = 0x4000;
inline constexpr unsigned DT_END_ELLIPSIS = 0x8000;

// Formats text in rect with the canvas's font, brush (a solid brush fills each line's cell),
// character extra and the format flags; returns the height of the text. Lines break at CR LF,
// LF or CR unless DT_SINGLELINE; DT_WORDBREAK wraps at blanks to rect's width (a longer word
// keeps its line); DT_EXPANDTABS puts tab stops every 8 average character widths; without
// DT_NOPREFIX "&x" shows x underlined and "&&" one "&"; the ellipsis flags shorten a line that
// does not fit with "..." at its end or, for a path, before its last component. DT_CALCRECT
// draws nothing and sets rect's right and bottom to the text's extent. Drawing is clipped to
// rect unless DT_NOCLIP.
int DrawText(TCanvas& canvas, const std::string& text, TRect& rect, unsigned format);
// DrawText; the extra parameters (tab length, margins) are not used by this program.
inline int DrawTextEx(TCanvas& canvas, const std::string& text, TRect& rect, unsigned format) {
    return DrawText(canvas, text, rect, format);
}
// The outline of text (the cell's top-left at x, y) stroked with a pen of penWidth pixels in
// color; the letters are not filled. Honours the canvas's font orientation and character extra.
void DrawTextOutline(TCanvas& canvas, int x, int y, const std::string& text, int penWidth,
                     TColor color);
// True when the font is an outline (TrueType or OpenType) font, as the text metrics' TrueType
// flag says on the original platform.
bool IsTrueTypeFont(const TFont& font);

// ---- Palettes ----------------------------------------------------------------------------------
// Screens here are true colour: palettes are handles without effect. Creating one gives a
// non-zero handle, selecting gives the previous handle, realising maps no entries.
using HPALETTE = std::uintptr_t;
HPALETTE CreateHalftonePalette();
HPALETTE SelectPalette(TCanvas& canvas, HPALETTE palette, bool forceBackground);
unsigned RealizePalette(TCanvas& canvas);
bool DeleteObject(HPALETTE palette);

// Stretch modes (stored only: copies are by nearest pixel already).
inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;

// ---- Device-independent images -------------------------------------------------------------
// The colour table that goes with 1, 4 and 8 bits per pixel (black and white; the 16 standard
// colours; the 16 standard colours, a 6 x 6 x 6 colour cube and 24 greys); empty for 24 bits.
std::vector<TRGBQuad> DIBColorTable(int bitCount);
// The pixels of bitmap as a bottom-up image of bitCount (1, 4, 8 or 24) bits per pixel, rows
// padded to 4 bytes: 24 bits as blue, green, red; fewer bits as indexes into DIBColorTable
// (the nearest entry, the first on a tie). EInvalidGraphicOperation for another bit count.
std::vector<std::uint8_t> GetDIBits(const TBitmap& bitmap, int bitCount);
// Bytes per row of such an image.
inline int DIBRowBytes(int width, int bitCount) { return (width * bitCount + 31) / 32 * 4; }

}  // namespace gdi
