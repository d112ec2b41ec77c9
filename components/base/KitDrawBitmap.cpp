#include "components/base/KitDrawBitmap.h"

#include <cmath>
#include <memory>

#include "components/base/kitprocs.h"

namespace kit {

using namespace gdi;

namespace {

// Text black, background white for a mask copy; the old colours come back on leaving.
class MaskColors {
public:
    explicit MaskColors(TCanvas& c)
        : c_(c), text_(c.SetTextColor(clBlack)), back_(c.SetBkColor(clWhite)) {}
    ~MaskColors() {
        c_.SetTextColor(text_);
        c_.SetBkColor(back_);
    }
    MaskColors(const MaskColors&) = delete;
    MaskColors& operator=(const MaskColors&) = delete;

private:
    TCanvas& c_;
    TColor text_, back_;
};

void CopyWith(TCanvas& dest, const TRect& dr, TCanvas& source, const TRect& sr, TCopyMode mode) {
    const TCopyMode old = dest.CopyMode;
    dest.CopyMode = mode;
    dest.CopyRect(dr, source, sr);
    dest.CopyMode = old;
}

void DrawOne(TCanvas& dest, const TRect& target, TCanvas* source, const TRect& sr, unsigned flags,
             TColor transparentColor, HPALETTE, rtl::TObject* maskOrBitmap) {
    if (flags & kdfBrushCopy) {
        auto* bmp = dynamic_cast<TBitmap*>(maskOrBitmap);
        if (!bmp) return;
        dest.Brush()->SetColor(transparentColor);
        dest.BrushCopy(target, *bmp, sr, bmp->TransparentColor());
        return;
    }
    if (!source) return;
    if (auto* mask = dynamic_cast<TCanvas*>(maskOrBitmap); (flags & kdfMask) && mask) {
        MaskColors colors(dest);
        CopyWith(dest, target, *mask, sr, cmSrcAnd);
        CopyWith(dest, target, *source, sr, cmSrcPaint);
        return;
    }
    if (flags & kdfTransparent) {
        TBitmap image, mask;
        KitCreateMaskedImageEx(*source, sr, &mask, &image, transparentColor);
        const TRect whole = Rect(0, 0, sr.Width(), sr.Height());
        MaskColors colors(dest);
        CopyWith(dest, target, *mask.Canvas(), whole, cmSrcAnd);
        CopyWith(dest, target, *image.Canvas(), whole, cmSrcPaint);
        return;
    }
    dest.CopyRect(target, *source, sr);
}

int RoundEven(long double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

void KitDrawBitmapEx(TCanvas& destCanvas, const TRect& dr, TCanvas* sourceCanvas,
                     const TRect& sr, unsigned flags, TColor transparentColor, HPALETTE palette,
                     rtl::TObject* maskOrBitmap, TRect& drawnRect) {
    drawnRect = TRect{};
    if (dr.IsEmpty()) return;
    const int sw = sr.Width(), sh = sr.Height(), dw = dr.Width(), dh = dr.Height();
    bool tile = false;
    int left = dr.Left, top = dr.Top, width = sw, height = sh, rows = 0, cols = 0;
    if (flags & kdfCenter) {
        left = dr.Left + (dw - sw) / 2;
        top = dr.Top + (dh - sh) / 2;
    }
    if (flags & kdfStretch) {
        left = dr.Left;
        top = dr.Top;
        width = dw;
        height = dh;
        const unsigned fit = flags & (kdfStretchWidth | kdfStretchHeight);
        if (fit && (sw == 0 || sh == 0)) {
            width = height = 0;
        } else if (fit == (kdfStretchWidth | kdfStretchHeight)) {
            TRect r;
            KitFitRect(Rect(0, 0, sw, sh), Rect(0, 0, dw, dh), r);
            width = r.Width();
            height = r.Height();
        } else if (fit == kdfStretchWidth) {
            height = RoundEven(static_cast<long double>(dw) / sw * sh);
        } else if (fit == kdfStretchHeight) {
            width = RoundEven(static_cast<long double>(dh) / sh * sw);
        }
    }
    if (flags & kdfTile) {
        tile = true;
        if (sw != 0 && sh != 0) {
            rows = dh / sh + 1;
            cols = dw / sw + 1;
        }
    }
    drawnRect = !tile && width > 0 && height > 0 ? Bounds(left, top, width, height) : dr;
    if (!tile) {
        DrawOne(destCanvas, Bounds(left, top, width, height), sourceCanvas, sr, flags,
                transparentColor, palette, maskOrBitmap);
        return;
    }
    if (sw <= 0 || sh <= 0) return;
    // Whole tiles, one row and column beyond the counts: the last ones run past the
    // destination and only the canvas's own clip limits them.
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= cols; ++c)
            DrawOne(destCanvas, Bounds(dr.Left + c * sw, dr.Top + r * sh, sw, sh), sourceCanvas,
                    sr, flags, transparentColor, palette, maskOrBitmap);
}

namespace {
// The common start of the whole-bitmap routines: false when nothing may be drawn.
bool BitmapReady(TBitmap& bitmap) { return bitmap.Canvas()->PenPos().X != -1; }
}  // namespace

void KitDrawBitmap(TCanvas& canvas, const TRect& rect, TBitmap& bitmap, unsigned flags,
                   TColor transparentColor, TRect& drawnRect) {
    drawnRect = TRect{};
    if (!BitmapReady(bitmap)) return;
    HPALETTE palette = 0;
    if (flags & kdfPalette) {
        // Bitmaps here carry no palette of their own: the handle stays 0.
        SelectPalette(canvas, palette, false);
        RealizePalette(canvas);
    }
    const bool brushCopy = flags & kdfBrushCopy;
    KitDrawBitmapEx(canvas, rect, brushCopy ? nullptr : bitmap.Canvas(),
                    Rect(0, 0, bitmap.Width(), bitmap.Height()), flags, transparentColor,
                    brushCopy ? 0 : palette, brushCopy ? &bitmap : nullptr, drawnRect);
}

void KitDrawBitmapExClip(TCanvas& canvas, const TRect& rect, TCanvas* sourceCanvas,
                         const TRect& sourceRect, unsigned flags, std::uint32_t clipOffset,
                         TColor transparentColor, rtl::TObject* maskOrBitmap) {
    TRect drawn;
    if (!(flags & kdfClip)) {
        KitDrawBitmapEx(canvas, rect, sourceCanvas, sourceRect, flags, transparentColor, 0,
                        maskOrBitmap, drawn);
        return;
    }
    TRect clip = rect;
    OffsetRect(clip, static_cast<int>(clipOffset & 0xFFFF), static_cast<int>(clipOffset >> 16));
    // The clip of the canvas (a windowless control's bounds) keeps holding, as the system's
    // visible region does beside a selected clip region.
    gdi::TClipKeeper keep(canvas);
    canvas.IntersectClipRect(clip);
    KitDrawBitmapEx(canvas, rect, sourceCanvas, sourceRect, flags, transparentColor, 0,
                    maskOrBitmap, drawn);
}

void KitDrawBitmapClip(TCanvas& canvas, const TRect& rect, TBitmap& bitmap, unsigned flags,
                       std::uint32_t clipOffset, TColor transparentColor) {
    if (!BitmapReady(bitmap)) return;
    if (flags & kdfPalette) {
        SelectPalette(canvas, 0, false);
        RealizePalette(canvas);
    }
    const bool brushCopy = flags & kdfBrushCopy;
    KitDrawBitmapExClip(canvas, rect, brushCopy ? nullptr : bitmap.Canvas(),
                        Rect(0, 0, bitmap.Width(), bitmap.Height()), flags, clipOffset,
                        transparentColor, brushCopy ? &bitmap : nullptr);
}

void KitDrawBitmapOnBack(TCanvas* canvas, const TRect& rect, TBitmap* bitmap,
                         TBitmap* backBitmap, TColor transparentColor,
                         TColor backTransparentColor) {
    if (!canvas || !bitmap || !backBitmap) return;
    transparentColor = ColorToRGB(transparentColor);
    backTransparentColor = ColorToRGB(backTransparentColor);
    TBitmap image;
    image.SetSize(bitmap->Width(), bitmap->Height());
    KitCreateMaskedImage(*bitmap, bitmap, &image, transparentColor);
    TRect drawn;
    KitDrawBitmapEx(*backBitmap->Canvas(), Rect(0, 0, backBitmap->Width(), backBitmap->Height()),
                    image.Canvas(), Rect(0, 0, image.Width(), image.Height()), kdfMask,
                    transparentColor, 0, bitmap->Canvas(), drawn);
    KitDrawBitmapEx(*canvas, rect, backBitmap->Canvas(),
                    Rect(0, 0, backBitmap->Width(), backBitmap->Height()),
                    kdfPalette | kdfTransparent, backTransparentColor, 0, nullptr, drawn);
}

void KitPrepareBitmap(TBitmap* bitmap, const TRect& rect, TColor color) {
    if (!bitmap || rect.IsEmpty()) return;
    bitmap->SetSize(rect.Width(), rect.Height());
    bitmap->Canvas()->Brush()->SetStyle(bsSolid);
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->FillRect(Rect(0, 0, rect.Width(), rect.Height()));
}

void KitCreateMaskedImageEx(TCanvas& sourceCanvas, const TRect& sr, TBitmap* mask,
                            TBitmap* image, TColor transparentColor) {
    if (!mask || !image) return;
    transparentColor = ColorToRGB(transparentColor);
    const int w = sr.Width(), h = sr.Height();
    const TRect whole = Rect(0, 0, w, h);
    image->SetPixelFormat(pf24bit);
    image->SetSize(w, h);
    CopyWith(*image->Canvas(), whole, sourceCanvas, sr, cmSrcCopy);
    mask->SetPixelFormat(pf24bit);
    mask->SetSize(w, h);
    CopyWith(*mask->Canvas(), whole, sourceCanvas, sr, cmSrcCopy);
    mask->Mask(transparentColor);
    TCanvas& ic = *image->Canvas();
    const TColor back = ic.SetBkColor(clBlack), text = ic.SetTextColor(clWhite);
    CopyWith(ic, whole, *mask->Canvas(), whole, cmSrcAnd);
    ic.SetBkColor(back);
    ic.SetTextColor(text);
}

void KitCreateMaskedImage(TBitmap& bitmap, TBitmap* mask, TBitmap* image, TColor transparentColor) {
    KitCreateMaskedImageEx(*bitmap.Canvas(), Rect(0, 0, bitmap.Width(), bitmap.Height()), mask,
                           image, transparentColor);
}

void KitCreateDisabledShades(TBitmap& dest, const TBitmap& source) {
    dest.Assign(source);
    if (source.Empty()) return;
    const QImage& img = source.Image();
    const int bpp = img.depth() / 8;
    auto pixel = [&](int x, int y) {
        const std::uint8_t* p = img.constScanLine(y) + x * bpp;
        return RGB(p[2], p[1], p[0]);
    };
    const TColor key = pixel(0, 0);
    long long sum = 0, count = 0;
    for (int x = 0; x < source.Width(); ++x)
        for (int y = 0; y < source.Height(); ++y) {
            const TColor c = pixel(x, y);
            if (c == key) continue;
            sum += GetRValue(c) + GetGValue(c) + GetBValue(c);
            ++count;
        }
    const int o = count ? -RoundEven(200 - static_cast<long double>(sum) / count) : 0;
    const TColor hilite = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow);
    TCanvas& dc = *dest.Canvas();
    for (int x = 0; x < source.Width(); ++x)
        for (int y = 0; y < source.Height(); ++y) {
            const TColor c = pixel(x, y);
            if (c == key) continue;
            const int s = GetRValue(c) + GetGValue(c) + GetBValue(c);
            dc.SetPixels(x, y, s > o + 550 ? clWhite : s > o + 250 ? hilite : s > o + 50 ? shadow : clBlack);
        }
}

void KitDrawDisabledEmboss(TBitmap& dest, TBitmap& source, int x, int y) {
    // The monochrome copy made with a black brush: source's black pixels become the set (white)
    // bits, every other colour the clear ones.
    TBitmap mono;
    mono.Assign(source);
    mono.Mask(clBlack);
    TCanvas& dc = *dest.Canvas();
    TBrush oldBrush(*dc.Brush());
    dc.Brush()->SetStyle(bsSolid);
    dc.Brush()->SetColor(source.TransparentColor());
    dc.FillRect(Rect(0, 0, dest.Width(), dest.Height()));
    MaskColors colors(dc);
    const TRect src = Rect(0, 0, mono.Width(), mono.Height());
    constexpr TCopyMode brushWhereBlack = 0x00E20746;  // brush on set bits, destination elsewhere
    dc.Brush()->SetColor(clBtnHighlight);
    CopyWith(dc, Bounds(x + 1, y + 1, mono.Width(), mono.Height()), *mono.Canvas(), src, brushWhereBlack);
    dc.Brush()->SetColor(clBtnShadow);
    CopyWith(dc, Bounds(x, y, mono.Width(), mono.Height()), *mono.Canvas(), src, brushWhereBlack);
    dc.Brush()->Assign(oldBrush);
}

}  // namespace kit
