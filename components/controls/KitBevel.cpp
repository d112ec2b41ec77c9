#include "components/controls/KitBevel.h"

#include "components/base/KitDrawFrames.h"
#include "platform/gdi/Drawing.h"

namespace kit {

using namespace gdi;

TKitBevel::TKitBevel() = default;

void TKitBevel::SetStyle(bool outer, TKitBevelStyle v) {
    TKitBevelStyle& mine = outer ? styleOuter_ : styleInner_;
    TKitBevelStyle& other = outer ? styleInner_ : styleOuter_;
    if (mine == v) return;
    if (mine == bvShadow) other = bvNone;
    if (v == bvShadow) other = bvShadow;
    mine = v;
    Change();
}

void TKitBevel::SetWidthInner(TKitBevelWidth v) {
    if (widthInner_ == v) return;
    widthInner_ = v;
    Change();
}

void TKitBevel::SetWidthOuter(TKitBevelWidth v) {
    if (widthOuter_ == v) return;
    widthOuter_ = v;
    Change();
}

TColor TKitBevel::GetColor(int Index) const {
    return Index >= 0 && Index < 3 ? colors_[Index] : clNone;
}

void TKitBevel::SetColor(int Index, TColor v) {
    if (Index < 0 || Index >= 3 || colors_[Index] == v) return;
    colors_[Index] = v;
    Change();
}

void TKitBevel::SetBorderInnerWidth(TKitBorderWidth v) {
    if (borderInnerWidth_ == v) return;
    borderInnerWidth_ = v;
    Change();
}

void TKitBevel::SetBorderWidth(TKitBorderWidth v) {
    if (borderWidth_ == v) return;
    borderWidth_ = v;
    Change();
}

void TKitBevel::SetBorderSides(TKitFrameSides v) {
    if (borderSides_ == v) return;
    borderSides_ = v;
    Change();
}

void TKitBevel::SetEdgeStyle(TKitEdgeStyle v) {
    if (edgeStyle_ == v) return;
    edgeStyle_ = v;
    Change();
}

void TKitBevel::SetMode(TKitBevelMode v) {
    if (mode_ == v) return;
    if (WindowFrameExternal && (mode_ == bmWindows || v == bmWindows)) frameModeChanged_ = true;
    mode_ = v;
    Change();
}

void TKitBevel::SetStandardStyle(TKitBorderStyle v) {
    if (standardStyle_ == v) return;
    standardStyle_ = v;
    if (mode_ == bmStandard) Change();
}

void TKitBevel::Assign(const rtl::TPersistent* Source) {
    if (Source == this) return;
    if (const auto* b = dynamic_cast<const TKitBevel*>(Source)) {
        styleInner_ = b->styleInner_;
        styleOuter_ = b->styleOuter_;
        widthInner_ = b->widthInner_;
        widthOuter_ = b->widthOuter_;
        borderSides_ = b->borderSides_;
        borderInnerWidth_ = b->borderInnerWidth_;
        borderWidth_ = b->borderWidth_;
        for (int i = 0; i < 3; ++i) colors_[i] = b->colors_[i];
        mode_ = b->mode_;
        standardStyle_ = b->standardStyle_;
        edgeStyle_ = b->edgeStyle_;
        WindowFrameExternal = b->WindowFrameExternal;
        Change();
        return;
    }
    TKitObject::Assign(Source);
}

int TKitBevel::CalcExtent() const {
    switch (mode_) {
    case bmCustom: {
        if (styleInner_ == bvShadow) return widthInner_ + borderInnerWidth_;
        int n = borderWidth_ + borderInnerWidth_;
        if (styleInner_ == bvNone && styleOuter_ == bvNone) return n;
        auto framed = [](TKitBevelStyle s) { return s == bvFrameLowered || s == bvFrameRaised; };
        if (styleOuter_ != bvNone) n += widthOuter_ + (framed(styleOuter_) ? 1 : 0);
        if (styleInner_ != bvNone) n += widthInner_ + (framed(styleInner_) ? 1 : 0);
        return n;
    }
    case bmStandard: return KitBorderStyleWidth(standardStyle_) + borderInnerWidth_;
    case bmEdge: return (borderSides_.Empty() ? 0 : 2) + borderInnerWidth_;
    case bmWindows: return WindowFrameExternal ? 0 : borderInnerWidth_ + 2;
    }
    return 0;
}

void TKitBevel::Change() {
    bevelExtent_ = CalcExtent();
    bevelExtentFar_ = ShadowLook() ? widthInner_ + widthOuter_ + borderInnerWidth_ : bevelExtent_;
    TKitObject::Change();
}

void TKitBevel::GetSummary(std::string& Text) {
    static const char* const names[] = {"Custom style", "Standard style", "Edged style", "Windows style"};
    Text = std::string("{") + names[mode_] + "}";
}

TRect TKitBevel::BevelClientRect(const TRect& Rect) const {
    if (ShadowLook()) {
        const int nearSide = widthInner_ + borderInnerWidth_;
        const int farSide = widthInner_ + widthOuter_ + borderInnerWidth_;
        return gdi::Rect(Rect.Left + nearSide, Rect.Top + nearSide, Rect.Right - farSide, Rect.Bottom - farSide);
    }
    return gdi::Rect(Rect.Left + bevelExtent_, Rect.Top + bevelExtent_, Rect.Right - bevelExtent_,
                     Rect.Bottom - bevelExtent_);
}

void TKitBevel::BorderFrames(TCanvas& Canvas, TRect& r, int n, bool Transparent) const {
    if (n <= 0) return;
    if (Transparent) {
        InflateRect(r, -n, -n);
        return;
    }
    Canvas.Brush()->SetColor(BorderColor());
    for (int i = 0; i < n; ++i) {
        Canvas.FrameRect(r);
        InflateRect(r, -1, -1);
    }
}

void TKitBevel::PaintBevel(TCanvas& Canvas, const TRect& Rect, bool Transparent, TRect& Result) const {
    TRect r = Rect;
    if (bevelExtent_ == 0) {
        Result = r;
        return;
    }
    switch (mode_) {
    case bmCustom:
        if (styleOuter_ == bvShadow) {
            KitDrawShadowBevel(Canvas, r, LightColor(), ShadowColor(), BorderColor(), widthOuter_, widthInner_,
                               Transparent);
        } else {
            KitDrawBevel(Canvas, r, styleOuter_, LightColor(), ShadowColor(), widthOuter_);
            BorderFrames(Canvas, r, borderWidth_, Transparent);
            KitDrawBevel(Canvas, r, styleInner_, LightColor(), ShadowColor(), widthInner_);
        }
        break;
    case bmStandard: KitDrawBorder(Canvas, r, standardStyle_, 0); break;
    case bmEdge:
        if (!borderSides_.Empty()) {
            static const unsigned edges[] = {BDR_RAISEDINNER, BDR_RAISEDOUTER, BDR_SUNKENINNER, BDR_SUNKENOUTER,
                                             EDGE_BUMP,       EDGE_ETCHED,     EDGE_RAISED,     EDGE_SUNKEN};
            unsigned sides = 0;
            if (borderSides_.Contains(fsLeft)) sides |= BF_LEFT;
            if (borderSides_.Contains(fsTop)) sides |= BF_TOP;
            if (borderSides_.Contains(fsRight)) sides |= BF_RIGHT;
            if (borderSides_.Contains(fsBottom)) sides |= BF_BOTTOM;
            TRect edge = r;
            DrawEdge(Canvas, edge, edges[edgeStyle_], sides);
            InflateRect(r, -2, -2);
        }
        break;
    case bmWindows: KitDrawBorder(Canvas, r, lsLoweredExt, 0); break;
    }
    BorderFrames(Canvas, r, borderInnerWidth_, Transparent);
    Result = r;
}

bool TKitBevel::WindowFrameChanged() {
    const bool result = frameModeChanged_ || (mode_ == bmWindows && WindowFrameExternal);
    frameModeChanged_ = false;
    return result;
}

}  // namespace kit
