#include "components/base/KitDrawFrames.h"

#include "platform/gdi/Drawing.h"

namespace kit {

using namespace gdi;

namespace {

// Pen and brush of a canvas, put back when leaving.
class PenBrushKeeper {
public:
    explicit PenBrushKeeper(TCanvas& c) : c_(c), pen_(*c.Pen()), brush_(*c.Brush()) {}
    ~PenBrushKeeper() {
        c_.Pen()->Assign(pen_);
        c_.Brush()->Assign(brush_);
    }
    PenBrushKeeper(const PenBrushKeeper&) = delete;
    PenBrushKeeper& operator=(const PenBrushKeeper&) = delete;

private:
    TCanvas& c_;
    TPen pen_;
    TBrush brush_;
};

void Frame(TCanvas& c, const TRect& r, TColor color) {
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(color);
    c.FrameRect(r);
}

void Fill(TCanvas& c, const TRect& r, TColor color) {
    c.Brush()->SetColor(color);
    c.FillRect(r);
}

}  // namespace

bool KitDrawBevel(TCanvas& canvas, TRect& rect, TKitBevelStyle style, TColor lightColor,
                  TColor shadowColor, int width) {
    if (width == 0 || style == bvNone || style == bvShadow) return false;
    TColor a = 0, c = 0;
    if (style == bvLowered || style == bvFrameLowered) {
        a = lightColor;
        c = shadowColor;
    } else if (style == bvRaised || style == bvFrameRaised) {
        a = shadowColor;
        c = lightColor;
    }
    PenBrushKeeper keep(canvas);
    const int l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom, w = width;
    if (style == bvFrameLowered || style == bvFrameRaised) {
        for (int i = 0; i < w; ++i) {
            Frame(canvas, Rect(l + i + 1, t + i + 1, r, b), a);
            Frame(canvas, Rect(l, t, r - i - 1, b - i - 1), c);
        }
        rect = Rect(l + w + 1, t + w + 1, r - w - 1, b - w - 1);
        return true;
    }
    const int b1 = b - 1;
    if (w == 1) {
        canvas.Pen()->SetWidth(1);
        canvas.Pen()->SetStyle(psSolid);
        canvas.Pen()->SetColor(c);
        const TPoint topLeft[] = {{l, b1}, {l, t}, {r - 1, t}};
        canvas.Polyline(topLeft);
        canvas.Pen()->SetColor(a);
        const TPoint bottomRight[] = {{r - 1, t}, {r - 1, b1}, {l, b1}};
        canvas.Polyline(bottomRight);
        rect = Rect(l + 1, t + 1, r - 1, b - 1);
        return true;
    }
    canvas.Pen()->SetStyle(psClear);
    canvas.Brush()->SetStyle(bsSolid);
    const int il = l + w, it = t + w, ir = r - w, ib = b1 - w;
    canvas.Brush()->SetColor(a);
    const TPoint lowerRight[] = {{l, b}, {il, ib}, {ir, ib}, {ir, it}, {r, t}, {r, b}};
    canvas.Polygon(lowerRight);
    canvas.Brush()->SetColor(c);
    const TPoint upperLeft[] = {{l, b1}, {il, ib}, {il, it}, {ir - 1, it}, {r - 1, t}, {l, t}};
    canvas.Polygon(upperLeft);
    rect = Rect(l + w, t + w, r - w, b - w);
    return true;
}

bool KitDrawShadowBevel(TCanvas& canvas, TRect& rect, TColor frameColor, TColor shadowColor,
                        TColor cornerColor, std::uint8_t shadowDepth, std::uint8_t frameWidth,
                        bool transparent, bool) {
    PenBrushKeeper keep(canvas);
    const int l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom, d = shadowDepth;
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Pen()->SetStyle(psClear);
    Fill(canvas, Rect(r - d, t + d, r, b), shadowColor);
    Fill(canvas, Rect(l + d, b - d, r, b), shadowColor);
    if (!transparent) {
        Fill(canvas, Rect(r - d, t, r, t + d), cornerColor);
        Fill(canvas, Rect(l, b - d, l + d, b), cornerColor);
    }
    rect = Rect(l, t, r - d, b - d);
    for (int i = 0; i < frameWidth; ++i) {
        Frame(canvas, rect, frameColor);
        InflateRect(rect, -1, -1);
    }
    return true;
}

int KitBorderStyleWidth(TKitBorderStyle style) {
    switch (style) {
        case lsNone: return 0;
        case lsSingle:
        case lsSingleRaised:
        case lsSingleLowered: return 1;
        default: return 2;
    }
}

bool KitDrawBorder(TCanvas& canvas, TRect& rect, TKitBorderStyle style, unsigned flags) {
    const unsigned f = flags | BF_ADJUST;
    auto edge = [&](unsigned kind, unsigned fl) { DrawEdge(canvas, rect, kind, fl); };
    switch (style) {
        case lsSingle:
            edge(BDR_SUNKENOUTER, f | BF_SOFT | BF_TOPLEFT);
            edge(BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
            break;
        case lsLowered: edge(EDGE_SUNKEN, f | BF_SOFT | BF_RECT); break;
        case lsRaised: edge(EDGE_RAISED, f | BF_SOFT | BF_RECT); break;
        case lsRaisedspb:
        case lsRaisedExt:
            edge(BDR_RAISEDOUTER, f | BF_SOFT | BF_RECT);
            edge(BDR_RAISEDINNER, BF_ADJUST | BF_BOTTOMRIGHT);
            if (style == lsRaisedExt) {
                ++rect.Left;
                ++rect.Top;
            }
            break;
        case lsLoweredspb:
            edge(BDR_SUNKENOUTER, f | BF_RECT);
            edge(BDR_SUNKENINNER, f | BF_TOPLEFT);
            break;
        case lsLoweredExt:
            edge(BDR_SUNKENOUTER, f | BF_RECT);
            edge(BDR_SUNKENINNER, BF_ADJUST | BF_TOPLEFT);
            --rect.Right;
            --rect.Bottom;
            break;
        case lsFrameInset: edge(EDGE_ETCHED, f | BF_RECT); break;
        case lsFrameOffset:
            edge(BDR_RAISEDINNER, f | BF_RECT);
            edge(BDR_SUNKENOUTER, f | BF_RECT);
            break;
        case lsWindowBorder:
            edge(BDR_RAISEDOUTER, f | BF_BOTTOMRIGHT);
            ++rect.Left;
            ++rect.Top;
            edge(BDR_RAISEDINNER, f | BF_RECT);
            break;
        case lsSingleRaised: edge(BDR_RAISEDINNER, f | BF_RECT); break;
        case lsSingleLowered: edge(BDR_SUNKENOUTER, f | BF_RECT); break;
        case lsDoubleRaised:
            edge(BDR_RAISEDINNER, f | BF_RECT);
            edge(BDR_RAISEDINNER, f | BF_RECT);
            break;
        case lsDoubleLowered:
            edge(BDR_SUNKENOUTER, f | BF_RECT);
            edge(BDR_SUNKENOUTER, f | BF_RECT);
            break;
        default: break;
    }
    return true;
}

int KitControlBorderWidth(bool ctl3D, gui::TBorderStyle borderStyle, bool themed) {
    if (borderStyle != gui::bsSingle) return 0;
    return ctl3D || themed ? 2 : 1;
}

namespace {
void Arrow(TCanvas& c, int x, int y, int size, TColor color, bool down) {
    c.Pen()->SetColor(color);
    if (down) {
        for (int i = 0; i <= size - 2; ++i) {
            c.MoveTo(x + i, y + i);
            c.LineTo(x + 2 * size - i - 1, y + i);
        }
        c.MoveTo(x + size - 1, y + size - 1);
        c.LineTo(x + size, y + size - 1);
    } else {
        const int cx = x + size / 2;
        for (int i = 0; i < size; ++i) {
            c.MoveTo(cx - i, y + i);
            c.LineTo(cx + i + 1, y + i);
        }
    }
}
}  // namespace

void KitDrawArrow(TCanvas& canvas, int x, int y, int size, TColor color, bool down, bool enabled) {
    if (size < 2 || size > 15) return;
    PenBrushKeeper keep(canvas);
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetStyle(psSolid);
    canvas.Pen()->SetMode(pmCopy);
    if (enabled) {
        Arrow(canvas, x, y, size, color, down);
    } else {
        Arrow(canvas, x + 1, y + 1, size, clHighlightText, down);
        Arrow(canvas, x, y, size, clGrayText, down);
    }
}

}  // namespace kit
