// Putting bitmaps and canvas regions onto a canvas: plain, centred, stretched, tiled, or with a
// transparent colour (masks built here, a caller's mask, or the brush copy); masks and the two
// disabled looks of a glyph.
#pragma once

#include <cstdint>

#include "platform/gdi/Drawing.h"
#include "platform/gdi/Graphics.h"

namespace kit {

// Drawing flags; the transparency bits are tested in the order BrushCopy, Mask, Transparent.
inline constexpr unsigned kdfClip = 0x0001;         // clip to the destination (…Clip routines)
inline constexpr unsigned kdfCenter = 0x0008;
inline constexpr unsigned kdfStretch = 0x0010;
inline constexpr unsigned kdfStretchHeight = 0x0200;  // with kdfStretch: fill the height
inline constexpr unsigned kdfStretchWidth = 0x0400;   // with kdfStretch: fill the width
inline constexpr unsigned kdfTile = 0x0020;
inline constexpr unsigned kdfTransparent = 0x0040;  // masks of TransparentColor built on the fly
inline constexpr unsigned kdfBrushCopy = 0x0080;    // MaskOrBitmap is a TBitmap
inline constexpr unsigned kdfMask = 0x0100;         // MaskOrBitmap is the mask's TCanvas
inline constexpr unsigned kdfPalette = 0x1000;

// The core routine. MaskOrBitmap is the TBitmap of kdfBrushCopy or the mask TCanvas of kdfMask.
// DrawnRect receives the rectangle drawn into (empty when destRect is empty). Tiles are
// clipped to destRect.
void KitDrawBitmapEx(gdi::TCanvas& destCanvas, const gdi::TRect& destRect,
                     gdi::TCanvas* sourceCanvas, const gdi::TRect& sourceRect, unsigned flags,
                     gdi::TColor transparentColor, gdi::HPALETTE palette,
                     rtl::TObject* maskOrBitmap, gdi::TRect& drawnRect);
void KitDrawBitmap(gdi::TCanvas& canvas, const gdi::TRect& rect, gdi::TBitmap& bitmap,
                   unsigned flags, gdi::TColor transparentColor, gdi::TRect& drawnRect);
// With kdfClip the drawing is clipped to rect moved by clipOffset (X in the low, Y in the high
// 16 bits); the canvas's clip is the same afterwards.
void KitDrawBitmapExClip(gdi::TCanvas& canvas, const gdi::TRect& rect,
                         gdi::TCanvas* sourceCanvas, const gdi::TRect& sourceRect,
                         unsigned flags, std::uint32_t clipOffset,
                         gdi::TColor transparentColor, rtl::TObject* maskOrBitmap);
void KitDrawBitmapClip(gdi::TCanvas& canvas, const gdi::TRect& rect, gdi::TBitmap& bitmap,
                       unsigned flags, std::uint32_t clipOffset, gdi::TColor transparentColor);
// Composes bitmap (transparentColor transparent) onto backBitmap, then backBitmap onto canvas
// (backTransparentColor transparent). bitmap is left holding its mask.
void KitDrawBitmapOnBack(gdi::TCanvas* canvas, const gdi::TRect& rect, gdi::TBitmap* bitmap,
                         gdi::TBitmap* backBitmap, gdi::TColor transparentColor,
                         gdi::TColor backTransparentColor);
// Sizes bitmap to rect and fills it with color; nothing for a nil bitmap or an empty rect.
void KitPrepareBitmap(gdi::TBitmap* bitmap, const gdi::TRect& rect, gdi::TColor color);
// mask: white where the source region has transparentColor, black elsewhere (monochrome);
// image: the source region with the transparent pixels black.
void KitCreateMaskedImageEx(gdi::TCanvas& sourceCanvas, const gdi::TRect& sourceRect,
                            gdi::TBitmap* mask, gdi::TBitmap* image, gdi::TColor transparentColor);
void KitCreateMaskedImage(gdi::TBitmap& bitmap, gdi::TBitmap* mask, gdi::TBitmap* image,
                          gdi::TColor transparentColor);
// Four shades (white, button highlight, button shadow, black) by brightness, the colour of the
// top-left pixel left as it is.
void KitCreateDisabledShades(gdi::TBitmap& dest, const gdi::TBitmap& source);
// The embossed look: highlight one pixel down-right, shadow at (x, y), of source's dark pixels
// on a ground of source's transparent colour.
void KitDrawDisabledEmboss(gdi::TBitmap& dest, gdi::TBitmap& source, int x, int y);

}  // namespace kit
