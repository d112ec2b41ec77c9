#include "components/base/KitGradient.h"

#include <cmath>
#include <memory>

#include "platform/rtl/Arith.h"
#include "platform/rtl/TaggedStream.h"

namespace kit {

using namespace gdi;

void KitFillColorList(TColor startColor, TColor endColor, int count, bool clear,
                      TKitColorTable* list) {
    if (!list || count == 0) return;
    if (clear) list->clear();
    const TColor s = ColorToRGB(startColor), e = ColorToRGB(endColor);
    if (count == 1) {  // one step: the start colour, not an interpolation over zero steps
        if (clear) list->push_back(s & 0xFFFFFF);
        return;
    }
    for (int i = clear ? 0 : 1; i < count; ++i) {
        auto channel = [&](int a, int b) { return (a + rtl::MulDiv(i, b - a, count - 1)) & 0xFF; };
        list->push_back(RGB(channel(GetRValue(s), GetRValue(e)), channel(GetGValue(s), GetGValue(e)),
                            channel(GetBValue(s), GetBValue(e))));
    }
}

HPALETTE KitCreateListPalette(const TKitColorTable* list) {
    if (!list || list->empty()) return 0;
    return CreateHalftonePalette();
}

namespace {

class CanvasStateKeeper {
public:
    explicit CanvasStateKeeper(TCanvas& c)
        : c_(c), pen_(*c.Pen()), brush_(*c.Brush()), hadClip_(c.HasClip()), clip_(c.ClipRegion()) {}
    ~CanvasStateKeeper() {
        c_.Pen()->Assign(pen_);
        c_.Brush()->Assign(brush_);
        if (hadClip_) c_.SetClipRegion(clip_);
        else c_.ResetClip();
    }
    CanvasStateKeeper(const CanvasStateKeeper&) = delete;
    CanvasStateKeeper& operator=(const CanvasStateKeeper&) = delete;

private:
    TCanvas& c_;
    TPen pen_;
    TBrush brush_;
    bool hadClip_;
    QRegion clip_;
};

}  // namespace

void KitPaintGradient(TCanvas& canvas, const TRect& rect, TKitGradientStyle style,
                      const TKitColorTable* colors, HPALETTE palette, unsigned flags,
                      std::uint32_t clipOffset) {
    if (!colors || colors->empty() || rect.IsEmpty()) return;
    const int n = static_cast<int>(colors->size());
    const int w = rect.Width(), h = rect.Height();
    const bool usePalette = flags & kpgPalette;  // screens here are true colour
    TRect s;
    switch (style) {
        case gstHorizontal:
        case gstVertical: s = Rect(0, 0, w, h); break;
        case gstSquare:
        case gstElliptic: s = Rect(w / 2, h / 2, w / 2, h / 2); break;
        case gstTopLeft: s = Rect(0, 0, 1, 1); break;
        case gstTopRight: s = Rect(w, 1, w + 1, 0); break;
        case gstBottomLeft: s = Rect(1, h, 0, h + 1); break;
        case gstBottomRight: s = Rect(w, h, w + 1, h + 1); break;
        case gstTopLeftDiagonal: s = Rect(0, 0, 1, 1); break;
        case gstTopRightDiagonal: s = Rect(w, 0, w + 1, 0); break;
    }
    CanvasStateKeeper keep(canvas);
    std::unique_ptr<TBitmap> offscreen;
    TCanvas* target = &canvas;
    if (flags & kpgOffscreen) {
        offscreen = std::make_unique<TBitmap>(w, h);
        target = offscreen->Canvas();
    } else {
        if (flags & kpgClip) {
            TRect clip = rect;
            OffsetRect(clip, static_cast<int>(clipOffset & 0xFFFF), static_cast<int>(clipOffset >> 16));
            canvas.IntersectClipRect(clip);
        }
        OffsetRect(s, rect.Left, rect.Top);
    }
    if (usePalette) {
        SelectPalette(*target, palette, false);
        RealizePalette(*target);
    }
    TCanvas& t = *target;
    t.Brush()->SetStyle(bsSolid);
    t.Pen()->SetStyle(psClear);
    auto md = [](int a, int b, int c) { return rtl::MulDiv(a, b, c); };
    auto rect4 = [](int l, int tp, int r, int b) {  // corners in any order, as the shapes take them
        if (r < l) std::swap(l, r);
        if (b < tp) std::swap(tp, b);
        return Rect(l, tp, r, b);
    };
    if (style == gstHorizontal) {
        for (int i = 0; i < n; ++i) {
            t.Brush()->SetColor((*colors)[static_cast<std::size_t>(i)]);
            t.FillRect(Rect(s.Left + md(i, w, n), s.Top, s.Left + md(i + 1, w, n), s.Bottom));
        }
    } else {
        for (int i = n - 1; i >= 0; --i) {
            t.Brush()->SetColor((*colors)[static_cast<std::size_t>(i)]);
            const int dx = md(i + 1, w, n), dy = md(i + 1, h, n);
            const int ex = 2 * dx, ey = 2 * dy;
            switch (style) {
                case gstVertical:
                    t.FillRect(Rect(s.Left, s.Top + md(i, h, n), s.Right, s.Top + md(i + 1, h, n)));
                    break;
                case gstSquare:
                    t.Rectangle(rect4(s.Left - dx / 2, s.Top - dy / 2, s.Left + dx / 2 + 2, s.Top + dy / 2 + 2));
                    break;
                case gstElliptic: {
                    const int rx = static_cast<int>(std::nearbyint(dx / 1.4L));
                    const int ry = static_cast<int>(std::nearbyint(dy / 1.4L));
                    t.Ellipse(rect4(s.Left - rx, s.Top - ry, s.Left + rx, s.Top + ry));
                    break;
                }
                case gstTopLeft: t.Rectangle(rect4(s.Left, s.Top, s.Right + dx, s.Bottom + dy)); break;
                case gstTopRight: t.Rectangle(rect4(s.Left - dx, s.Top + dy, s.Right, s.Bottom)); break;
                case gstBottomLeft: t.Rectangle(rect4(s.Left + dx, s.Top - dy, s.Right, s.Bottom)); break;
                case gstBottomRight: t.Rectangle(rect4(s.Left - dx, s.Top - dy, s.Right, s.Bottom)); break;
                case gstTopLeftDiagonal: {
                    const TPoint p[] = {{s.Left, s.Top}, {s.Left + ex, s.Top}, {s.Left, s.Bottom + ey},
                                        {s.Left - ex, s.Bottom + ey}};
                    t.Polygon(p);
                    break;
                }
                case gstTopRightDiagonal: {
                    const TPoint p[] = {{s.Right, s.Top}, {s.Right - ex, s.Top}, {s.Right, s.Bottom + ey},
                                        {s.Right + ex, s.Bottom + ey}};
                    t.Polygon(p);
                    break;
                }
                default: break;
            }
        }
    }
    if (usePalette) {
        SelectPalette(canvas, palette, false);
        RealizePalette(canvas);
    }
    if (offscreen) canvas.Draw(rect.Left, rect.Top, *offscreen);
}

// ---- TKitGradient ------------------------------------------------------------------------------

TKitGradient::TKitGradient() { CalcColors(); }

TKitGradient::~TKitGradient() { FreePalette(); }

void TKitGradient::FreePalette() {
    if (palette_) DeleteObject(palette_);
    palette_ = 0;
}

void TKitGradient::CalcColors() {
    FreePalette();
    colors_.clear();
    if (twoColors_) {
        KitFillColorList(color_, endColor_, colorCount_, true, &colors_);
    } else if (colorList_.size() > 1) {
        const int steps = colorCount_ / static_cast<int>(colorList_.size());
        KitFillColorList(colorList_[0], colorList_[1], steps, true, &colors_);
        for (std::size_t i = 1; i + 1 < colorList_.size(); ++i)
            KitFillColorList(colorList_[i], colorList_[i + 1], steps, false, &colors_);
    }
    if (paletteRealize_) palette_ = KitCreateListPalette(&colors_);
}

void TKitGradient::Change() {
    CalcColors();
    TKitObject::Change();
}

void TKitGradient::SetColor(TColor value) {
    if (value == color_) return;
    color_ = value;
    Change();  // rebuilds the table before the observers run
}

void TKitGradient::SetColorCount(TKitColorCount value) {
    if (value == colorCount_) return;
    colorCount_ = value;
    Change();
}

void TKitGradient::SetStyle(TKitGradientStyle value) {
    if (value == style_) return;
    style_ = value;
    Change();
}

void TKitGradient::SetEndColor(TColor value) {
    if (value == endColor_) return;
    endColor_ = value;
    Change();
}

void TKitGradient::SetPaletteRealize(bool value) {
    if (value == paletteRealize_) return;
    paletteRealize_ = value;
    Change();
}

void TKitGradient::SetTwoColors(bool value) {
    if (value == twoColors_) return;
    twoColors_ = value;
    Change();
}

void TKitGradient::Assign(const rtl::TPersistent* Source) {
    if (Source == this) return;
    if (auto* g = dynamic_cast<const TKitGradient*>(Source)) {
        BeginUpdate();
        colorCount_ = g->colorCount_;
        color_ = g->color_;
        style_ = g->style_;
        endColor_ = g->endColor_;
        paletteRealize_ = g->paletteRealize_;
        twoColors_ = g->twoColors_;
        colorList_ = g->colorList_;
        EndUpdate(true);
        return;
    }
    TKitObject::Assign(Source);
}

void TKitGradient::GetSummary(std::string& Text) {
    static const char* const words[] = {"horizontal", "vertical",    "square",       "elliptic",
                                        "top left",   "top right",   "bottom left",  "bottom right",
                                        "top left diag", "top right diag"};
    Text = std::string(words[style_]) + ", Col: " + std::to_string(colorCount_) +
           (twoColors_ ? ", 2 col mode" : ", mult. col mode");
}

void TKitGradient::DefineProperties(rtl::TFiler* Filer) {
    TKitObject::DefineProperties(Filer);
    Filer->DefineProperty(
        "ColorList",
        [this](rtl::TReader& reader) {
            BeginUpdate();
            reader.ReadListBegin();
            while (!reader.EndOfList()) colorList_.push_back(static_cast<TColor>(reader.ReadInteger()));
            reader.ReadListEnd();
            EndUpdate(true);
        },
        [this](rtl::TWriter& writer) {
            writer.WriteListBegin();
            for (TColor c : colorList_) writer.WriteInteger(static_cast<std::int32_t>(c));
            writer.WriteListEnd();
        },
        !colorList_.empty());
}

}  // namespace kit
