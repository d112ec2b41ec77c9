#include "components/base/KitDrawText.h"

#include <cmath>
#include <numbers>

#include "components/base/KitDrawBitmap.h"
#include "components/base/KitDrawFrames.h"
#include "components/base/kitprocs.h"

namespace kit {

using namespace gdi;

namespace {

int RoundEven(long double v) { return static_cast<int>(std::nearbyint(v)); }

// Width and height the effect adds to the text.
int DepthGrowth(const TKit3DCaption& c) {
    switch (c.Style()) {
        case tdSunken:
        case tdRaised: return c.LightDepth();
        case tdSunkenShadow:
        case tdRaisedShadow:
        case tdPColorSunken:
        case tdPColorRaised: return c.LightDepth() + c.ShadowDepth();
        case tdShadow:
        case tdOutline:
        case tdExtrude:
        case tdExtrudeEnh: return c.ShadowDepth();
        default: return 0;
    }
}

// Where a rotated text starts relative to its bounding box, corrected for the effect's depth.
int DepthCorrection(const TKit3DCaption& c) {
    int d = 0;
    switch (c.Style()) {
        case tdSunken:
        case tdRaised: d = c.LightDepth() / 2 - 1; break;
        case tdSunkenShadow:
        case tdRaisedShadow:
        case tdPColorSunken:
        case tdPColorRaised: d = (c.LightDepth() + c.ShadowDepth()) / 2 - 1; break;
        case tdShadow:
        case tdExtrude:
        case tdExtrudeEnh: d = c.ShadowDepth() / 2 - 1; break;
        default: break;
    }
    return d < 0 ? 0 : d;
}

// Font, character extra, brush and clip of a canvas, put back when leaving.
class TextStateKeeper {
public:
    explicit TextStateKeeper(TCanvas& c)
        : c_(c), font_(*c.Font()), brush_(*c.Brush()), extra_(c.TextCharacterExtra()),
          hadClip_(c.HasClip()), clip_(c.ClipRegion()) {}
    ~TextStateKeeper() {
        c_.Font()->Assign(font_);
        c_.Brush()->Assign(brush_);
        c_.SetTextCharacterExtra(extra_);
        if (hadClip_) c_.SetClipRegion(clip_);
        else c_.ResetClip();
    }
    TextStateKeeper(const TextStateKeeper&) = delete;
    TextStateKeeper& operator=(const TextStateKeeper&) = delete;

private:
    TCanvas& c_;
    TFont font_;
    TBrush brush_;
    int extra_;
    bool hadClip_;
    QRegion clip_;
};

}  // namespace

unsigned KitDTAlignFlags(TKitAlignment alignment) {
    static const unsigned flags[] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
    return alignment <= agBottomRight ? flags[alignment] : 0;
}

void KitAlignRect(TKitAlignment alignment, const TRect& inner, const TRect& outer, TRect& result) {
    const int w = inner.Width(), h = inner.Height(), W = outer.Width(), H = outer.Height();
    int x = 0, y = 0;
    switch (alignment) {
        case agCenterLeft:
        case agCenter:
        case agCenterRight: y = (H - h) / 2; break;
        case agBottomLeft:
        case agBottomCenter:
        case agBottomRight: y = H - h; break;
        default: break;
    }
    switch (alignment) {
        case agTopCenter:
        case agCenter:
        case agBottomCenter: x = (W - w) / 2; break;
        case agTopRight:
        case agCenterRight:
        case agBottomRight: x = W - w; break;
        default: break;
    }
    result = Bounds(outer.Left + x, outer.Top + y, w, h);
}

TColor KitMixColor(TColor color1, TColor color2, int step, int count) {
    if (count == 0) return color1;
    const long double f = static_cast<long double>(step) / count;
    auto mix = [&](int a, int b) { return RoundEven(a + (b - a) * f); };
    return RGB(mix(GetRValue(color1), GetRValue(color2)), mix(GetGValue(color1), GetGValue(color2)),
               mix(GetBValue(color1), GetBValue(color2)));
}

bool KitIsTrueTypeFont(const TCanvas& canvas) { return IsTrueTypeFont(*canvas.Font()); }

void KitCalcTextRect(TCanvas& canvas, const std::string& text, TKit3DCaption* caption, TRect& rect,
                     const TFont& font, bool wordWrap, bool showAccelChar, int margin,
                     unsigned format) {
    auto* fx = dynamic_cast<TKitFxCaption*>(caption);
    const int kind = !fx ? 0 : fx->Angle() == 0 ? 1 : 2;
    TextStateKeeper keep(canvas);
    canvas.Font()->Assign(font);
    if (caption && caption->Tracing() != 0) canvas.SetTextCharacterExtra(caption->Tracing());
    if (kind < 2) {
        if (kind == 1) fx->SetPos(0, 0);
        format |= DT_CALCRECT | DT_EXPANDTABS;
        if (wordWrap) format |= DT_WORDBREAK;
        const std::string measured = text.empty() || (showAccelChar && text == "&") ? " " : text;
        if (!showAccelChar) format |= DT_NOPREFIX;
        DrawText(canvas, measured, rect, format);
        if (caption) {
            rect.Right += DepthGrowth(*caption);
            rect.Bottom += DepthGrowth(*caption);
        }
    } else {
        const TSize ext = canvas.TextExtent(text);
        const int w = ext.cx, h = ext.cy;
        rect = Rect(0, 0, w + DepthGrowth(*fx), h + DepthGrowth(*fx));
        KitRotatedBounds(rect, fx->Angle());
        const long double a = fx->Angle() * std::numbers::pi_v<long double> / 180;
        const int cx = (rect.Left + rect.Right) / 2, cy = (rect.Top + rect.Bottom) / 2;
        const int d = DepthCorrection(*fx);
        const int px = RoundEven(cx - (w / 2) * std::cos(a) - (h / 2) * std::sin(a)) - d;
        const int py = RoundEven(cy + (w / 2) * std::sin(a) - (h / 2) * std::cos(a)) - d;
        fx->SetPosX(static_cast<std::uint16_t>(px));
        fx->SetPosY(static_cast<std::uint16_t>(py));
    }
    rect.Right += (margin + 1) * 2;
    rect.Bottom += (margin + 1) * 2;
}

void KitCalcTextRectTemp(const std::string& text, TKit3DCaption* caption, TRect& rect,
                         const TFont& font, bool wordWrap, bool showAccelChar, int margin,
                         unsigned format) {
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    KitCalcTextRect(canvas, text, caption, rect, font, wordWrap, showAccelChar, margin, format);
}

void KitAlignTextRect(TKitAlignment alignment, const std::string& text, TKit3DCaption* caption,
                      const TRect& rect, const TFont& font, bool wordWrap, bool showAccelChar,
                      unsigned format, TRect& result) {
    TRect r = rect;
    --r.Right;
    KitCalcTextRectTemp(text, caption, r, font, wordWrap, showAccelChar, 0, format);
    KitAlignRect(alignment, r, rect, result);
}

void KitDrawFxText(TCanvas& canvas, const std::string& text, TKit3DCaption* caption,
                   const TRect& rect, unsigned format, unsigned options, const TRect* clipRect) {
    if (text.empty() || rect.IsEmpty()) return;
    if (!caption) {
        TRect r = rect;
        DrawText(canvas, text, r, format);
        return;
    }
    TextStateKeeper keep(canvas);  // the rotated font does not outlive the call
    if (options & kftClip) canvas.IntersectClipRect(clipRect ? *clipRect : rect);

    TKitThreeDStyle style = caption->Style();
    TColor face = canvas.Font()->Color();
    if (style == tdPColorSunken || style == tdPColorRaised) face = canvas.Brush()->Color();
    if (!(options & kftEnabled) && caption->DisabledStyle() != dsNone) {
        face = clGrayText;
        if (caption->DisabledStyle() == ds3d ||
            (caption->DisabledStyle() == dsAuto && (options & kftSunkenWhenDisabled)))
            style = tdSunken;
    }

    auto* fx = dynamic_cast<TKitFxCaption*>(caption);
    TRect r = rect;
    const bool rotated = fx && fx->Angle() != 0;
    if (fx) {
        r.Left += fx->PosX();
        r.Top += fx->PosY();
        if (rotated) canvas.Font()->SetOrientation(fx->Angle() * 10);
    }
    if (caption->Tracing() != 0) canvas.SetTextCharacterExtra(caption->Tracing());
    canvas.Brush()->SetStyle(bsClear);

    const int ld = caption->LightDepth(), sd = caption->ShadowDepth();
    int atX = 0, atY = 0;  // where R stands now, relative to its start
    auto draw = [&](int dx, int dy, TColor color) {
        canvas.Font()->SetColor(color);
        OffsetRect(r, dx - atX, dy - atY);
        atX = dx;
        atY = dy;
        if (rotated) {
            canvas.TextOut(r.Left, r.Top, text);
        } else {
            TRect t = r;
            DrawTextEx(canvas, text, t, format);
        }
    };
    const TColor light = caption->LightColor(), shadow = caption->ShadowColor();
    switch (style) {
        case tdSunken:
            r.Right -= ld;
            draw(ld, ld, light);
            draw(0, 0, face);
            break;
        case tdRaised:
            r.Right -= ld;
            draw(0, 0, light);
            draw(ld, ld, face);
            break;
        case tdSunkenShadow:
        case tdPColorSunken:
            r.Right -= ld + sd;
            draw(0, 0, shadow);
            draw(ld + sd, ld + sd, light);
            draw(sd, sd, face);
            break;
        case tdRaisedShadow:
        case tdPColorRaised:
            r.Right -= ld + sd;
            draw(ld + sd, ld + sd, shadow);
            draw(0, 0, light);
            draw(ld, ld, face);
            break;
        case tdShadow:
            r.Right -= sd;
            draw(sd, sd, shadow);
            draw(0, 0, face);
            break;
        case tdOutline: {
            OffsetRect(r, sd / 2, sd / 2);
            DrawTextOutline(canvas, r.Left, r.Top, text, sd, face);
            break;
        }
        case tdExtrude:
        case tdExtrudeEnh: {
            const int d = sd;
            int x = 0, y = 0, stepX = 1, stepY = 1;
            switch (caption->Orientation()) {
                case toBottomLeft: x = 0; y = d + 1; stepX = 1; stepY = -1; break;
                case toBottomRight: x = d + 1; y = d + 1; stepX = -1; stepY = -1; break;
                case toTopLeft: x = 0; y = 0; stepX = 1; stepY = 1; break;
                case toTopRight: x = d + 1; y = 0; stepX = -1; stepY = 1; break;
            }
            for (int i = d; i >= 1; --i) {
                draw(x, y, style == tdExtrudeEnh ? KitMixColor(shadow, light, i - 1, d) : shadow);
                x += stepX;
                y += stepY;
            }
            draw(x, y, face);
            break;
        }
        default: draw(0, 0, face); break;
    }
}

void KitDrawGlyphText(TCanvas& canvas, const std::string& text, TKit3DCaption* caption,
                      const TRect& bounds, TCanvas* glyphCanvas, TRect& glyphRect,
                      TCanvas* maskCanvas, TColor transparentColor,
                      const TKitGlyphTextLayout& layout, bool wordWrap, bool showAccelChar,
                      bool transparent, unsigned options, unsigned format,
                      TKitGlyphTextRects& rects) {
    rects = TKitGlyphTextRects{};
    TRect ret = bounds;
    bool returned = false;
    const bool noGlyph = !glyphCanvas || glyphRect.IsEmpty();
    const bool hasText = !text.empty();
    const int gap = hasText == !noGlyph ? layout.Spacing() : 0;

    TRect t, g;
    if (hasText) {
        t = Rect(0, 0, std::abs(bounds.Width()), 0);
        KitCalcTextRectTemp(text, caption, t, *canvas.Font(), wordWrap, showAccelChar, 0, format);
    }
    if (!noGlyph) g = Rect(0, 0, glyphRect.Width(), glyphRect.Height());
    const bool draw = !(options & kgtMeasureOnly);
    if (!draw) options |= kgtReturnTotal;

    auto* button = dynamic_cast<const TKitButtonLayout*>(&layout);
    const bool arrow = button && button->Arrow();
    const int aw = arrow ? button->ArrowSize() * 2 - 1 : 0;
    const int indent = arrow ? button->ArrowIndent() : 0;
    const TKitArrowPosition ap = arrow ? button->ArrowPosition() : apRightText;
    if (arrow) {
        if (ap == apRightText || ap == apLeftText) t.Right += aw + indent;
        else g.Right += aw + indent;
    }

    const int tw = t.Width(), th = t.Height(), gw = g.Width(), gh = g.Height();
    TRect block;
    TPoint tp, gp;
    switch (layout.AlignText2Glyph()) {
        case taLeft:
        case taLeftTop:
        case taRight:
        case taRightTop: {
            const int mh = std::max(th, gh);
            block = Rect(0, 0, tw + gap + gw, mh);
            const TKitTextArrange a = layout.AlignText2Glyph();
            if (a == taLeft || a == taLeftTop) {
                tp = {0, (mh - th) / 2};
                gp = {tw + gap, a == taLeft ? (mh - gh) / 2 : 0};
            } else {
                gp = {0, a == taRight ? (mh - gh) / 2 : 1};
                tp = {gw + gap, (mh - th) / 2};
            }
            break;
        }
        default: {
            const int mw = std::max(tw, gw);
            block = Rect(0, 0, mw, th + gap + gh);
            const TKitTextArrange a = layout.AlignText2Glyph();
            if (a == taTop || a == taTopLeft) {
                tp = {(mw - tw) / 2, 0};
                gp = {a == taTop ? (mw - gw) / 2 : 0, th + gap};
            } else {
                gp = a == taBottom ? TPoint{(mw - gw) / 2, 0} : TPoint{0, 0};
                tp = {(mw - tw) / 2, gh + gap};
            }
            break;
        }
    }
    t = Bounds(tp.X, tp.Y, tw, th);
    g = Bounds(gp.X, gp.Y, gw, gh);
    if (!(options & kgtNoPlacement)) {
        TRect placed;
        KitAlignRect(layout.Alignment(), block, bounds, placed);
        OffsetRect(t, placed.Left + 1, placed.Top + 1);
        OffsetRect(g, placed.Left, placed.Top);
    }
    if (arrow && ap == apLeftText) OffsetRect(t, indent + aw, 0);

    TBrush oldBrush(*canvas.Brush());
    canvas.Brush()->SetStyle(bsClear);
    format |= DT_EXPANDTABS;
    if (wordWrap) format |= DT_WORDBREAK | KitDTAlignFlags(layout.Alignment());
    OffsetRect(t, layout.OffsetX(), layout.OffsetY());
    OffsetRect(g, layout.OffsetX(), layout.OffsetY());
    if (options & kgtCutText) {
        t.Right = std::min(t.Right, bounds.Right);
        t.Bottom = std::min(t.Bottom, bounds.Bottom);
    }
    if (draw) KitDrawFxText(canvas, text, caption, t, format, options & 0x0E, nullptr);
    rects.Text = t;
    if (options & kgtReturnText) {
        ret = t;
        InflateRect(ret, 1, 1);
        returned = true;
    }
    const bool enabledArrow = options & kftEnabled;
    auto arrowY = [&](const TRect& r) { return r.Top + r.Height() / 2 - button->ArrowSize() / 2; };
    if (arrow && draw) {
        if (ap == apRightText)
            KitDrawArrow(canvas, wordWrap ? t.Right - button->ArrowSize() - 1 : t.Right - aw - 1, arrowY(t),
                         button->ArrowSize(), button->ArrowColor(), true, enabledArrow);
        else if (ap == apLeftText)
            KitDrawArrow(canvas, t.Left - (indent + aw), arrowY(t), button->ArrowSize(),
                         button->ArrowColor(), true, enabledArrow);
    }
    if (arrow && ap == apLeftGlyph) OffsetRect(g, indent + aw, 0);
    if (!noGlyph) {
        if (draw) {
            unsigned flags = 0;
            rtl::TObject* mask = nullptr;
            if (transparent && !maskCanvas) flags = kdfTransparent;
            else if (transparent) {
                flags = kdfMask;
                mask = maskCanvas;
            }
            TRect drawn;
            KitDrawBitmapEx(canvas, g, glyphCanvas, glyphRect, flags, transparentColor, 0, mask, drawn);
        }
        if (options & kgtReturnGlyph) {
            ret = g;
            returned = true;
        }
    }
    rects.Glyph = g;
    TRect total;
    UnionRect(total, g, t);
    if (options & kgtReturnTotal) {
        ret = total;
        InflateRect(ret, 1, 1);
        returned = true;
    }
    rects.Total = total;
    if (arrow && draw) {
        if (ap == apRightGlyph)
            KitDrawArrow(canvas, g.Right - aw, arrowY(g), button->ArrowSize(), button->ArrowColor(), true,
                         enabledArrow);
        else if (ap == apLeftGlyph)
            KitDrawArrow(canvas, g.Left - (indent + aw), arrowY(g), button->ArrowSize(),
                         button->ArrowColor(), true, enabledArrow);
    }
    if (!returned) {
        ret = bounds;
        InflateRect(ret, -1, -1);
        if (!draw) InflateRect(ret, 1, 1);
    }
    canvas.Brush()->Assign(oldBrush);
    glyphRect = ret;
}

void KitDrawGlyphTextBmp(TCanvas& canvas, const std::string& text, TKit3DCaption* caption,
                         const TRect& bounds, TBitmap* glyph, TBitmap* mask,
                         const TKitGlyphTextLayout& layout, bool wordWrap, bool showAccelChar,
                         bool transparent, unsigned options, unsigned format) {
    TCanvas* glyphCanvas = nullptr;
    TRect glyphRect;
    TColor transparentColor = clNone;
    if (glyph && !glyph->Empty()) {
        glyphCanvas = glyph->Canvas();
        glyphRect = Rect(0, 0, glyph->Width(), glyph->Height());
        transparentColor = glyph->TransparentColor();
    }
    TKitGlyphTextRects rects;
    KitDrawGlyphText(canvas, text, caption, bounds, glyphCanvas, glyphRect,
                     mask ? mask->Canvas() : nullptr, transparentColor, layout, wordWrap,
                     showAccelChar, transparent, options, format, rects);
}

}  // namespace kit
