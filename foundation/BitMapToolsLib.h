// Bitmap helpers: common size for two bitmaps, filled bitmaps, scaling into a box and laying
// one bitmap over another with a transparent colour. New bitmaps belong to the caller.
#pragma once

#include <memory>

#include "platform/gdi/Graphics.h"

// Brings A and B to the common size max(widths) x max(heights): each is stretched (nearest
// pixel, aspect not kept, its own transparency ignored) onto a black bitmap of that size, which
// then replaces its content. Returns true.
bool EqualizeBitmapSizes(gdi::TBitmap& A, gdi::TBitmap& B);
// A new bitmap of Width x Height filled with Color (the height comes first).
std::unique_ptr<gdi::TBitmap> ColoredBitmap(int Height, int Width, gdi::TColor Color);
// A new bitmap holding Src scaled into a W x H box with its aspect kept: the factor is the
// smaller of W / width and H / height, the size the rounded products. An empty Src gives an
// empty bitmap.
std::unique_ptr<gdi::TBitmap> FitBitmap(const gdi::TBitmap& Src, int W, int H);
// Dest := Bg (size and content), then every pixel of Src whose colour differs from
// Transparent (exact value) is copied to the same position of Dest; positions outside Dest
// are left out. Src, Bg and Dest may be the same object.
void OverlayBitmap(const gdi::TBitmap& Src, const gdi::TBitmap& Bg, gdi::TBitmap& Dest,
                   gdi::TColor Transparent);
// A new bitmap made by OverlayBitmap.
std::unique_ptr<gdi::TBitmap> OverlayBitmapNew(const gdi::TBitmap& Src, const gdi::TBitmap& Bg,
                                               gdi::TColor Transparent);
// EqualizeBitmapSizes(Top, Bottom), then OverlayBitmap(Top, Bottom, Dest, black).
void EqualizeAndOverlay(gdi::TBitmap& Top, gdi::TBitmap& Bottom, gdi::TBitmap& Dest);
// A new bitmap made by EqualizeAndOverlay; Top and Bottom are resized in place on the way.
std::unique_ptr<gdi::TBitmap> OverlayBlack(gdi::TBitmap& Top, gdi::TBitmap& Bottom);
