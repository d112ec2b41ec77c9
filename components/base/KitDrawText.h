// Drawing captions with their 3D and rotation effects, placing rectangles by alignment, and
// laying out a glyph, a caption and a drop-down arrow inside bounds.
#pragma once

#include <cstdint>
#include <string>

#include "components/base/KitCaptions.h"
#include "components/base/kitgraph.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Graphics.h"

namespace kit {

// Options of KitDrawFxText (and the low bits of KitDrawGlyphText's).
inline constexpr unsigned kftEnabled = 0x02;
inline constexpr unsigned kftSunkenWhenDisabled = 0x04;  // the dsAuto look of a disabled caption
inline constexpr unsigned kftClip = 0x08;
// Options of KitDrawGlyphText.
inline constexpr unsigned kgtNoPlacement = 0x020;
inline constexpr unsigned kgtReturnText = 0x040;
inline constexpr unsigned kgtReturnGlyph = 0x080;
inline constexpr unsigned kgtReturnTotal = 0x100;
inline constexpr unsigned kgtMeasureOnly = 0x200;
inline constexpr unsigned kgtCutText = 0x400;

struct TKitGlyphTextRects {
    gdi::TRect Total, Text, Glyph, Reserved;
};

// The DrawText alignment flags of an alignment.
unsigned KitDTAlignFlags(TKitAlignment alignment);
// A rectangle of inner's size placed in outer by alignment.
void KitAlignRect(TKitAlignment alignment, const gdi::TRect& inner, const gdi::TRect& outer,
                  gdi::TRect& result);
// The colour step/count of the way from color1 to color2 (channels rounded half to even).
gdi::TColor KitMixColor(gdi::TColor color1, gdi::TColor color2, int step, int count);
// True when the canvas's font is an outline font.
bool KitIsTrueTypeFont(const gdi::TCanvas& canvas);

// rect becomes the size the caption needs (its left and top kept, except for rotated text,
// whose box starts at (0, 0)), grown by the effect's depths and by (margin + 1) * 2. An empty
// text, and "&" with accelerators shown, measure as " ". A rotated TKitFxCaption receives the
// start point of its text in PosX/PosY. The canvas's font and character extra are put back.
void KitCalcTextRect(gdi::TCanvas& canvas, const std::string& text, TKit3DCaption* caption,
                     gdi::TRect& rect, const gdi::TFont& font, bool wordWrap, bool showAccelChar,
                     int margin, unsigned format);
void KitCalcTextRectTemp(const std::string& text, TKit3DCaption* caption, gdi::TRect& rect,
                         const gdi::TFont& font, bool wordWrap, bool showAccelChar, int margin,
                         unsigned format);
void KitAlignTextRect(TKitAlignment alignment, const std::string& text, TKit3DCaption* caption,
                      const gdi::TRect& rect, const gdi::TFont& font, bool wordWrap,
                      bool showAccelChar, unsigned format, gdi::TRect& result);
// Draws text in rect with the caption's effect (plain DrawText without caption). The canvas's
// font, brush, character extra and clip are the same afterwards.
void KitDrawFxText(gdi::TCanvas& canvas, const std::string& text, TKit3DCaption* caption,
                   const gdi::TRect& rect, unsigned format, unsigned options,
                   const gdi::TRect* clipRect);
// Lays out and draws glyph (the glyphRect part of glyphCanvas, transparent through maskCanvas
// or transparentColor when transparent), caption and arrow in bounds; glyphRect receives the
// rectangle asked for by the options, rects all parts.
void KitDrawGlyphText(gdi::TCanvas& canvas, const std::string& text, TKit3DCaption* caption,
                      const gdi::TRect& bounds, gdi::TCanvas* glyphCanvas, gdi::TRect& glyphRect,
                      gdi::TCanvas* maskCanvas, gdi::TColor transparentColor,
                      const TKitGlyphTextLayout& layout, bool wordWrap, bool showAccelChar,
                      bool transparent, unsigned options, unsigned format,
                      TKitGlyphTextRects& rects);
void KitDrawGlyphTextBmp(gdi::TCanvas& canvas, const std::string& text, TKit3DCaption* caption,
                         const gdi::TRect& bounds, gdi::TBitmap* glyph, gdi::TBitmap* mask,
                         const TKitGlyphTextLayout& layout, bool wordWrap, bool showAccelChar,
                         bool transparent, unsigned options, unsigned format);

}  // namespace kit
