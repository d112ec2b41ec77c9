#include "platform/gdi/Drawing.h"

#include <algorithm>
#include <climits>

namespace gdi {

namespace {

void HLine(TCanvas& c, int x0, int x1, int y, TColor color) {
    for (int x = x0; x < x1; ++x) c.SetPixels(x, y, color);
}
void VLine(TCanvas& c, int x, int y0, int y1, TColor color) {
    for (int y = y0; y < y1; ++y) c.SetPixels(x, y, color);
}

// One layer: top-left colour tl, bottom-right colour br; clNone leaves a side out.
void Layer(TCanvas& c, const TRect& r, unsigned flags, TColor tl, TColor br) {
    if (r.IsEmpty()) return;
    if (tl != clNone) {
        if (flags & BF_LEFT) VLine(c, r.Left, r.Top, r.Bottom, tl);
        if (flags & BF_TOP) HLine(c, r.Left, r.Right, r.Top, tl);
    }
    if (br != clNone) {
        if (flags & BF_RIGHT) VLine(c, r.Right - 1, r.Top, r.Bottom, br);
        if (flags & BF_BOTTOM) HLine(c, r.Left, r.Right, r.Bottom - 1, br);
    }
}

void Shrink(TRect& r, unsigned flags) {
    if (flags & BF_LEFT) ++r.Left;
    if (flags & BF_TOP) ++r.Top;
    if (flags & BF_RIGHT) --r.Right;
    if (flags & BF_BOTTOM) --r.Bottom;
}

}  // namespace

bool DrawEdge(TCanvas& canvas, TRect& rect, unsigned edge, unsigned flags) {
    const bool soft = flags & BF_SOFT;
    TColor outerTL = clNone, outerBR = clNone, innerTL = clNone, innerBR = clNone;
    switch (edge & BDR_OUTER) {
        case BDR_RAISEDOUTER:
            outerTL = GetSysColor(soft ? 20 : 22);  // button highlight / 3D light
            outerBR = GetSysColor(21);              // 3D dark shadow
            break;
        case BDR_SUNKENOUTER:
            outerTL = GetSysColor(16);  // button shadow
            outerBR = GetSysColor(20);  // button highlight
            break;
        default: break;
    }
    switch (edge & BDR_INNER) {
        case BDR_RAISEDINNER:
            innerTL = GetSysColor(soft ? 22 : 20);
            innerBR = GetSysColor(16);
            break;
        case BDR_SUNKENINNER:
            innerTL = GetSysColor(21);
            innerBR = GetSysColor(22);
            break;
        default: break;
    }
    if (flags & (BF_FLAT | BF_MONO)) {
        const TColor outer = GetSysColor(flags & BF_MONO ? 6 : 16);
        const TColor inner = GetSysColor(flags & BF_MONO ? 5 : 15);
        if (edge & BDR_OUTER) outerTL = outerBR = outer;
        if (edge & BDR_INNER) innerTL = innerBR = inner;
    }
    TRect r = rect;
    const bool hasOuter = outerTL != clNone || outerBR != clNone;
    const bool hasInner = innerTL != clNone || innerBR != clNone;
    if (hasOuter) {
        Layer(canvas, r, flags, outerTL, outerBR);
        Shrink(r, flags);
    }
    if (hasInner) {
        Layer(canvas, r, flags, innerTL, innerBR);
        Shrink(r, flags);
    }
    if ((flags & BF_MIDDLE) && !r.IsEmpty()) {
        TBrush old(*canvas.Brush());
        canvas.Brush()->SetColor(GetSysColor(flags & BF_MONO ? 5 : 15));
        canvas.FillRect(r);
        canvas.Brush()->Assign(old);
    }
    if (flags & BF_ADJUST) rect = r;
    return true;
}

void DrawFocusRect(TCanvas& canvas, const TRect& r) {
    if (r.IsEmpty()) return;
    const TPoint o = canvas.Origin();
    auto flip = [&](int x, int y) {
        if (((x + o.X + y + o.Y) & 1) != 0) return;
        const TColor p = canvas.Pixels(x, y);
        if (p != 0xFFFFFFFFu) canvas.SetPixels(x, y, p ^ 0xFFFFFF);
    };
    for (int x = r.Left; x < r.Right; ++x) {
        flip(x, r.Top);
        if (r.Bottom - 1 > r.Top) flip(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        flip(r.Left, y);
        if (r.Right - 1 > r.Left) flip(r.Right - 1, y);
    }
}

namespace {
// The check mark in a box whose inside starts at (x, y): seven columns three pixels high,
// falling for three columns and rising for four.
void CheckMark(TCanvas& c, int x, int y, int inner, TColor color) {
    static const int top[7] = {2, 3, 4, 3, 2, 1, 0};
    const int ox = x + (inner - 7) / 2, oy = y + (inner - 7) / 2;
    for (int i = 0; i < 7; ++i)
        for (int k = 0; k < 3; ++k) c.SetPixels(ox + i, oy + top[i] + k, color);
}
}  // namespace

bool DrawFrameControl(TCanvas& canvas, const TRect& rect, unsigned kind, unsigned state) {
    if (kind != DFC_BUTTON || rect.IsEmpty()) return false;
    const bool inactive = state & DFCS_INACTIVE, checked = state & DFCS_CHECKED;
    const bool threeState = (state & 0x0F) == DFCS_BUTTON3STATE;
    const bool radio = (state & 0x0F) == DFCS_BUTTONRADIO;
    const int size = std::min(rect.Width(), rect.Height());
    TRect box = Bounds(rect.Left + (rect.Width() - size) / 2, rect.Top + (rect.Height() - size) / 2, size, size);
    const TColor inside = GetSysColor(inactive || (state & DFCS_PUSHED) || (threeState && checked) ? 15 : 5);
    const TColor mark = GetSysColor(inactive || threeState ? 16 : 8);
    TPen oldPen(*canvas.Pen());
    TBrush oldBrush(*canvas.Brush());
    canvas.Pen()->SetStyle(psClear);
    canvas.Brush()->SetStyle(bsSolid);
    if (radio) {
        // Shadow over the upper left half, highlight over the lower right, then the well.
        canvas.Brush()->SetColor(GetSysColor(20));
        canvas.Ellipse(box.Left, box.Top, box.Right + 1, box.Bottom + 1);
        canvas.Brush()->SetColor(GetSysColor(16));
        canvas.Ellipse(box.Left, box.Top, box.Right, box.Bottom);
        canvas.Brush()->SetColor(inside);
        canvas.Ellipse(box.Left + 2, box.Top + 2, box.Right - 1, box.Bottom - 1);
        if (checked) {
            const int cx = box.Left + size / 2, cy = box.Top + size / 2;
            canvas.Brush()->SetColor(mark);
            canvas.FillRect(Rect(cx - 2, cy - 1, cx + 2, cy + 3));
            canvas.FillRect(Rect(cx - 1, cy - 2, cx + 1, cy + 4));
            canvas.FillRect(Rect(cx - 3, cy, cx + 3, cy + 2));
        }
    } else {
        TRect r = box;
        if (state & DFCS_FLAT) {
            canvas.Brush()->SetColor(GetSysColor(16));
            canvas.FrameRect(r);
            InflateRect(r, -1, -1);
        } else {
            DrawEdge(canvas, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        }
        canvas.Brush()->SetColor(inside);
        canvas.FillRect(r);
        if (checked) CheckMark(canvas, r.Left, r.Top, r.Width(), mark);
    }
    canvas.Pen()->Assign(oldPen);
    canvas.Brush()->Assign(oldBrush);
    return true;
}

HPALETTE CreateHalftonePalette() { return 1; }
HPALETTE SelectPalette(TCanvas&, HPALETTE, bool) { return 0; }
unsigned RealizePalette(TCanvas&) { return 0; }
bool DeleteObject(HPALETTE palette) { return palette != 0; }

std::vector<TRGBQuad> DIBColorTable(int bitCount) {
    auto q = [](int r, int g, int b) {
        return TRGBQuad{static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g),
                        static_cast<std::uint8_t>(r), 0};
    };
    std::vector<TRGBQuad> t;
    if (bitCount == 1) return {q(0, 0, 0), q(255, 255, 255)};
    if (bitCount != 4 && bitCount != 8) return t;
    static const TColor standard[16] = {clBlack, clMaroon, clGreen, clOlive, clNavy,   clPurple,
                                        clTeal,  clSilver, clGray,  clRed,   clLime,   clYellow,
                                        clBlue,  clFuchsia, clAqua, clWhite};
    for (TColor c : standard) t.push_back(q(GetRValue(c), GetGValue(c), GetBValue(c)));
    if (bitCount == 8) {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) t.push_back(q(r * 51, g * 51, b * 51));
        for (int i = 1; i <= 24; ++i) t.push_back(q(i * 10, i * 10, i * 10));
    }
    return t;
}

std::vector<std::uint8_t> GetDIBits(const TBitmap& bitmap, int bitCount) {
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24)
        throw EInvalidGraphicOperation("Bitmap ist ungültig");
    const int w = bitmap.Width(), h = bitmap.Empty() ? 0 : bitmap.Height();
    const int row = DIBRowBytes(w, bitCount);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(row) * h, 0);
    const std::vector<TRGBQuad> table = DIBColorTable(bitCount);
    const QImage& img = bitmap.Image();
    const int bpp = img.isNull() ? 0 : img.depth() / 8;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = img.constScanLine(y);
        std::uint8_t* dst = out.data() + static_cast<std::size_t>(row) * (h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = src + x * bpp;
            if (bitCount == 24) {
                dst[x * 3] = p[0];
                dst[x * 3 + 1] = p[1];
                dst[x * 3 + 2] = p[2];
                continue;
            }
            int best = 0, bestD = INT_MAX;
            for (std::size_t i = 0; i < table.size(); ++i) {
                const int db = p[0] - table[i].rgbBlue, dg = p[1] - table[i].rgbGreen,
                          dr = p[2] - table[i].rgbRed;
                const int d = db * db + dg * dg + dr * dr;
                if (d < bestD) {
                    bestD = d;
                    best = static_cast<int>(i);
                }
            }
            const int perByte = 8 / bitCount;
            const int shift = 8 - bitCount * (x % perByte + 1);
            dst[x / perByte] |= static_cast<std::uint8_t>(best << shift);
        }
    }
    return out;
}

}  // namespace gdi
