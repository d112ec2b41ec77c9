#include "foundation/BitMapToolsLib.h"

#include <algorithm>
#include <cstdint>

#include "foundation/MathLib.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Copies all of src onto all of dest's canvas with the copy raster operation, stretching by
// nearest pixel. A copy of the pixels serves as source canvas, so that src's transparency
// settings play no part (the canvas only reads it).
void StretchCopy(const gdi::TBitmap& src, gdi::TBitmap& dest) {
    if (src.Empty() || dest.Empty()) return;
    QImage pixels = src.ToQImage();
    gdi::TCanvas source(&pixels);
    gdi::TCanvas* target = dest.Canvas();
    const gdi::TCopyMode mode = target->CopyMode;
    target->CopyMode = gdi::cmSrcCopy;
    target->CopyRect(gdi::Rect(0, 0, dest.Width(), dest.Height()), source,
                     gdi::Rect(0, 0, src.Width(), src.Height()));
    target->CopyMode = mode;
}

void ResizeOnBlack(gdi::TBitmap& bmp, int width, int height) {
    auto tmp = ColoredBitmap(height, width, gdi::clBlack);
    StretchCopy(bmp, *tmp);
    // The object keeps its own transparency settings; only size and pixels change.
    const bool transparent = bmp.Transparent();
    const gdi::TTransparentMode mode = bmp.TransparentMode();
    const gdi::TColor fixed = mode == gdi::tmFixed ? bmp.TransparentColor() : gdi::clDefault;
    bmp.Assign(*tmp);
    if (mode == gdi::tmFixed) bmp.SetTransparentColor(fixed);
    bmp.SetTransparent(transparent);
}

bool DirectPixels(const gdi::TBitmap& bmp) {
    return bmp.PixelFormat() == gdi::pf24bit || bmp.PixelFormat() == gdi::pf32bit;
}

}  // namespace

bool EqualizeBitmapSizes(gdi::TBitmap& A, gdi::TBitmap& B) {
    const int w = std::max(A.Width(), B.Width());
    const int h = std::max(A.Height(), B.Height());
    ResizeOnBlack(A, w, h);
    if (&B != &A) ResizeOnBlack(B, w, h);
    return true;
}

std::unique_ptr<gdi::TBitmap> ColoredBitmap(int Height, int Width, gdi::TColor Color) {
    auto bmp = std::make_unique<gdi::TBitmap>();
    bmp->SetSize(Width, Height);
    gdi::TCanvas* canvas = bmp->Canvas();
    canvas->Brush()->SetColor(Color);
    canvas->Brush()->SetStyle(gdi::bsSolid);
    canvas->FillRect(gdi::Rect(0, 0, bmp->Width(), bmp->Height()));
    return bmp;
}

std::unique_ptr<gdi::TBitmap> FitBitmap(const gdi::TBitmap& Src, int W, int H) {
    auto bmp = std::make_unique<gdi::TBitmap>();
    if (Src.Empty()) return bmp;
    const long double s = MinExt(static_cast<long double>(W) / Src.Width(),
                                 static_cast<long double>(H) / Src.Height());
    const long long w = rtl::Round(Src.Width() * s);
    const long long h = rtl::Round(Src.Height() * s);
    if (w <= 0 || h <= 0) return bmp;
    bmp->SetSize(static_cast<int>(w), static_cast<int>(h));
    StretchCopy(Src, *bmp);
    return bmp;
}

void OverlayBitmap(const gdi::TBitmap& Src, const gdi::TBitmap& Bg, gdi::TBitmap& Dest,
                   gdi::TColor Transparent) {
    // Src may be Dest itself: read it from an unchanging copy of its pixels.
    const QImage src = Src.ToQImage();
    const int srcW = Src.Width(), srcH = Src.Height();
    if (&Bg != &Dest) Dest.Assign(Bg);
    const int w = std::min(srcW, Dest.Width());
    const int h = std::min(srcH, Dest.Height());
    if (w <= 0 || h <= 0) return;

    const int srcStep = src.format() == QImage::Format_BGR888 ? 3 : 4;
    if (DirectPixels(Dest)) {
        const int dstStep = Dest.PixelFormat() == gdi::pf24bit ? 3 : 4;
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* s = src.constScanLine(y);
            std::uint8_t* d = Dest.ScanLine(y);
            for (int x = 0; x < w; ++x, s += srcStep, d += dstStep) {
                if (gdi::RGB(s[2], s[1], s[0]) == Transparent) continue;
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
        }
        Dest.Modified();
        return;
    }
    gdi::TCanvas* canvas = Dest.Canvas();
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = src.constScanLine(y);
        for (int x = 0; x < w; ++x, s += srcStep) {
            const gdi::TColor c = gdi::RGB(s[2], s[1], s[0]);
            if (c != Transparent) canvas->SetPixels(x, y, c);
        }
    }
}

std::unique_ptr<gdi::TBitmap> OverlayBitmapNew(const gdi::TBitmap& Src, const gdi::TBitmap& Bg,
                                               gdi::TColor Transparent) {
    auto bmp = std::make_unique<gdi::TBitmap>();
    OverlayBitmap(Src, Bg, *bmp, Transparent);
    return bmp;
}

void EqualizeAndOverlay(gdi::TBitmap& Top, gdi::TBitmap& Bottom, gdi::TBitmap& Dest) {
    EqualizeBitmapSizes(Top, Bottom);
    OverlayBitmap(Top, Bottom, Dest, gdi::clBlack);
}

std::unique_ptr<gdi::TBitmap> OverlayBlack(gdi::TBitmap& Top, gdi::TBitmap& Bottom) {
    auto bmp = std::make_unique<gdi::TBitmap>();
    EqualizeAndOverlay(Top, Bottom, *bmp);
    return bmp;
}
