#include "components/base/KitRegions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TaggedStream.h"

namespace kit {

using namespace gdi;

namespace {

// round(c x v) with the product formed in extended precision from the extended value nearest
// to c: for a few sizes one off the exact decimal product (0.65 x 190 gives 123).
int Part(long double c, int v) { return static_cast<int>(rtl::Round(c * static_cast<long double>(v))); }

// The application object's 8 x 8 tracing pattern: a checkerboard of color and white.
const TBitmap& PatternBitmap(TColor color) {
    static TBitmap pattern;
    static TColor cached = clNone;
    if (pattern.Empty()) {
        pattern.SetSize(8, 8);
        pattern.Canvas()->Brush()->SetColor(clWhite);
        pattern.Canvas()->FillRect(Rect(0, 0, 8, 8));
    }
    if (color != cached) {
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if ((x & 1) != (y & 1)) pattern.Canvas()->SetPixels(x, y, color);
        cached = color;
    }
    return pattern;
}

// Owns a temporary region.
struct TempRgn {
    HRGN h;
    explicit TempRgn(HRGN handle) : h(handle) {}
    ~TempRgn() { DeleteObject(h); }
    TempRgn(const TempRgn&) = delete;
    TempRgn& operator=(const TempRgn&) = delete;
};

// dest := dest op other, other freed.
void CombineInto(HRGN dest, HRGN other, int mode) {
    TempRgn o(other);
    CombineRgn(dest, dest, o.h, mode);
}

void Line(TCanvas& c, TColor color, std::initializer_list<TPoint> pts) {
    c.Pen()->SetColor(color);
    std::vector<TPoint> v(pts);
    c.Polyline(v);
}

void ArcIn(TCanvas& c, TColor color, const TRect& box, TPoint from, TPoint to) {
    c.Pen()->SetColor(color);
    gdi::Arc(c, box.Left, box.Top, box.Right, box.Bottom, from.X, from.Y, to.X, to.Y);
}

}  // namespace

// ---- Shape helpers -------------------------------------------------------------------------

TRect KitShrinkForExtPos(TRect R, TKitExtPos ExtPos, int Size) {
    if (ExtPos <= epRightTop) R.Top += Size;
    else R.Bottom -= Size;
    switch (ExtPos) {
        case epLeftTop:
        case epTopLeft:
        case epBottomLeft:
        case epLeftBottom: R.Left += Size; break;
        default: R.Right -= Size; break;
    }
    return R;
}

std::vector<TPoint> KitNoseTriangle(const TRect& R, TKitExtPos ExtPos, int S, int w) {
    const int d = static_cast<int>(rtl::Round(std::sqrt(2.0L * S * S)));
    const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    switch (ExtPos) {
        case epLeftTop: return {{L - S, T - S}, {L, T + w}, {L, T + w + d}};
        case epTopLeft: return {{L - S, T - S}, {L + w, T}, {L + w + d, T}};
        case epTopRight: return {{Rt + S, T - S}, {Rt - w, T}, {Rt - w - d, T}};
        case epRightTop: return {{Rt + S, T - S}, {Rt, T + w}, {Rt, T + w + d}};
        case epRightBottom: return {{Rt + S, B + S}, {Rt, B - w}, {Rt, B - w - d}};
        case epBottomRight: return {{Rt + S, B + S}, {Rt - w, B}, {Rt - w - d, B}};
        case epBottomLeft: return {{L - S, B + S}, {L + w, B}, {L + w + d, B}};
        case epLeftBottom: return {{L - S, B + S}, {L, B - w}, {L, B - w - d}};
    }
    return {};
}

std::vector<TPoint> TKitRegion::ShapePolygon(TKitRegionShape Shape, const TRect& R) {
    const int W = R.Right - R.Left, H = R.Bottom - R.Top, L = R.Left, T = R.Top;
    switch (Shape) {
        case rsStar:
            return {{L + W / 2, T},
                    {L + Part(0.65L, W), T + Part(0.38L, H)},
                    {R.Right, T + Part(0.38L, H)},
                    {L + Part(0.7L, W), T + Part(0.6L, H)},
                    {L + Part(0.85L, W), R.Bottom},
                    {L + W / 2, T + Part(0.75f, H)},
                    {L + Part(0.15L, W), R.Bottom},
                    {L + Part(0.3L, W), T + Part(0.6L, H)},
                    {L, T + Part(0.38L, H)},
                    {L + Part(0.35L, W), T + Part(0.38L, H)}};
        case rsDiamond:
            return {{L + W / 2, T}, {L, T + H / 2}, {L + W / 2, R.Bottom}, {R.Right, T + H / 2}};
        case rsOctagon:
            return {{L + 2 * (W / 3), T}, {L + W / 3, T},           {L, T + H / 3},
                    {L, T + 2 * (H / 3)}, {L + W / 3, R.Bottom},    {L + 2 * (W / 3), R.Bottom},
                    {R.Right, T + 2 * (H / 3)}, {R.Right, T + H / 3}};
        case rsComb:
            return {{L + W / 2, T},          {L, T + H / 4},           {L, T + 3 * (H / 4)},
                    {L + W / 2, R.Bottom},   {R.Right, T + 3 * (H / 4)}, {R.Right, T + H / 4}};
        default: return {};
    }
}

// ---- TKitRegionBorder ----------------------------------------------------------------------

void TKitRegionBorder::SetStyle(TKitRegionBorderStyle Value) {
    if (Value == style_) return;
    style_ = Value;
    GetChange(this);
}

void TKitRegionBorder::SetColor(int Index, TColor Value) {
    if (Index < 0 || Index > 2 || colors_[Index] == Value) return;
    colors_[Index] = Value;
    GetChange(this);
}

void TKitRegionBorder::Assign(const rtl::TPersistent* Source) {
    if (auto* b = dynamic_cast<const TKitRegionBorder*>(Source)) {
        style_ = b->style_;
        std::copy(std::begin(b->colors_), std::end(b->colors_), std::begin(colors_));
        GetChange(this);
        return;
    }
    TKitObject::Assign(Source);
}

// ---- TKitRegion: life and properties -------------------------------------------------------

TKitRegion::TKitRegion()
    : border_(std::make_unique<TKitRegionBorder>()),
      mask_(std::make_unique<TKitRegionMask>()),
      shadow_(std::make_unique<TKitRgnShadow>()),
      points_(std::make_unique<TKitPointList>()) {
    border_->OnChange = ChangeHandler();
    mask_->OnChange = ChangeHandler();
    shadow_->OnChange = ChangeHandler();
    points_->OnChange = [this](rtl::TObject* s) { PointsChanged(s); };
}

TKitRegion::~TKitRegion() {
    points_->OnChange = nullptr;
    points_.reset();
    DeleteObject(rgn_);
    rgn_ = nullptr;
    regionData_.clear();
    Owner = nullptr;
    shadow_->OnChange = nullptr;
    mask_->OnChange = nullptr;
    border_->OnChange = nullptr;
}

bool TKitRegion::OwnerDestroying() const {
    return Owner && Owner->ComponentState().Contains(rtl::csDestroying);
}

void TKitRegion::SetShape(TKitRegionShape Value) {
    if (Value == shape_) return;
    shape_ = Value;
    if (shape_ == rsPointList) PointsChanged(this);
    GetChange(this);
}

void TKitRegion::SetExtPos(TKitExtPos Value) {
    extPos_ = Value;
    GetChange(this);
}

void TKitRegion::SetRound(int Index, int Value) {
    int& field = Index == 0 ? roundX_ : roundY_;
    if (field == Value) return;
    field = Value;
    if (shape_ == rsRoundRect || shape_ == rsRoundNoseRect || shape_ == rsRoundThinkBubble) GetChange(this);
}

void TKitRegion::PointsChanged(rtl::TObject* /*Sender*/) {
    if (points_->Count() == 0 || shape_ != rsPointList) return;
    std::vector<TPoint> pts(static_cast<std::size_t>(points_->Count()));
    for (int i = 0; i < points_->Count(); ++i) points_->GetPoint(i, pts[static_cast<std::size_t>(i)]);
    TempRgn poly(CreatePolygonRgn(pts, ALTERNATE));
    regionData_.assign(GetRegionData(poly.h, 0, nullptr), 0);
    GetRegionData(poly.h, static_cast<std::uint32_t>(regionData_.size()), regionData_.data());
}

void TKitRegion::Assign(const rtl::TPersistent* Source) {
    if (Source == this) return;
    if (auto* r = dynamic_cast<const TKitRegion*>(Source)) {
        BeginUpdate();
        shape_ = r->shape_;
        roundX_ = r->roundX_;
        roundY_ = r->roundY_;
        shadow_->Assign(r->shadow_.get());
        extPos_ = r->extPos_;
        border_->Assign(r->border_.get());
        mask_->Assign(r->mask_.get());
        EndUpdate(false);
        GetChange(this);
        return;
    }
    TKitObject::Assign(Source);
}

void TKitRegion::DefineProperties(rtl::TFiler* Filer) {
    TKitObject::DefineProperties(Filer);
    Filer->DefineProperty(
        "PointList",
        [this](rtl::TReader& reader) {
            reader.ReadListBegin();
            while (!reader.EndOfList()) {
                TPoint p;
                p.X = reader.ReadInteger();
                p.Y = reader.ReadInteger();
                points_->AddPoint(p);
            }
            reader.ReadListEnd();
        },
        [this](rtl::TWriter& writer) {
            writer.WriteListBegin();
            for (int i = 0; i < points_->Count(); ++i) {
                TPoint p;
                points_->GetPoint(i, p);
                writer.WriteInteger(p.X);
                writer.WriteInteger(p.Y);
            }
            writer.WriteListEnd();
        },
        points_->Count() > 0);
}

// ---- Building ------------------------------------------------------------------------------

void TKitRegion::SetRectRegion(const TRect& R) {
    if (OwnerDestroying()) return;
    DeleteObject(rgn_);
    rgn_ = CreateRectRgnIndirect(R);
}

HRGN TKitRegion::CreateBody(TKitRegionShape Body, const TRect& R) const {
    switch (Body) {
        case rsRoundRect: return CreateRoundRectRgn(R.Left, R.Top, R.Right, R.Bottom, roundX_, roundY_);
        case rsElliptic: return CreateEllipticRgnIndirect(R);
        default: return CreateRectRgnIndirect(R);
    }
}

std::vector<TKitRegion::Bubble> TKitRegion::Bubbles(const TRect& Shrunk, int S) const {
    std::vector<Bubble> out;
    const int C = BubbleCount;
    if (C <= 0) return out;  // no bubbles rather than a division by zero
    const long double pi = std::numbers::pi_v<long double>;
    const long double k = S * 2 * pi / 4 / C / C;
    const int L = Shrunk.Left, T = Shrunk.Top, R = Shrunk.Right, B = Shrunk.Bottom;
    auto rnd = [](long double v) { return static_cast<int>(rtl::Round(v)); };
    for (int j = 0; j <= C + 1; ++j) {
        const long double phi = 90.0L / (C + 1) * j * pi / 180;  // degrees to radians
        const long double q = 1.57L - phi;
        int x = 0, y = 0;
        switch (extPos_) {
            case epLeftTop: x = L - rnd(std::cos(phi) * S); y = T - S + rnd(std::sin(phi) * S); break;
            case epTopLeft: x = L - S + rnd(std::cos(q) * S); y = T - rnd(std::sin(q) * S); break;
            case epTopRight: x = R + S - rnd(std::cos(q) * S); y = T - rnd(std::sin(1.57L + phi) * S); break;
            case epRightTop: x = R + rnd(std::cos(phi) * S); y = T - S + rnd(std::sin(phi) * S); break;
            case epRightBottom: x = R + rnd(std::cos(phi) * S); y = B + S - rnd(std::sin(phi) * S); break;
            case epBottomRight: x = R + S - rnd(std::cos(q) * S); y = B + rnd(std::sin(q) * S); break;
            case epBottomLeft: x = L - S + rnd(std::cos(q) * S); y = B + rnd(std::sin(q) * S); break;
            case epLeftBottom: x = L - rnd(std::cos(phi) * S); y = B + S - rnd(std::sin(phi) * S); break;
        }
        const int r = rnd(j * k) / 2;
        out.push_back({Rect(x - r, y - r, x + r, y + r)});
    }
    return out;
}

HRGN TKitRegion::CreateShapeRegion(const TRect& R) {
    const int W = R.Right - R.Left, H = R.Bottom - R.Top, L = R.Left, T = R.Top;
    switch (shape_) {
        case rsRect: return CreateRectRgnIndirect(R);
        case rsRoundRect: return CreateBody(rsRoundRect, R);
        case rsBitmap:
            if (mask_->RegionDataSize() == 0) return nullptr;
            return ExtCreateRegion(nullptr, static_cast<std::uint32_t>(mask_->RegionDataSize()), mask_->RegionData());
        case rsNoseRect:
        case rsRoundNoseRect: {
            const bool round = shape_ == rsRoundNoseRect;
            const int n = W / 10;
            int w = 5;
            if (round) w = (extPos_ == epLeftTop || extPos_ == epRightTop || extPos_ == epRightBottom ||
                            extPos_ == epLeftBottom) ? roundY_ : roundX_;
            const TRect body = KitShrinkForExtPos(R, extPos_, n);
            HRGN rgn = CreateBody(round ? rsRoundRect : rsRect, body);
            CombineInto(rgn, CreatePolygonRgn(KitNoseTriangle(body, extPos_, n, w), ALTERNATE), RGN_OR);
            return rgn;
        }
        case rsElliptic: return CreateEllipticRgnIndirect(R);
        case rsStar:
        case rsDiamond:
        case rsOctagon:
        case rsComb: return CreatePolygonRgn(ShapePolygon(shape_, R), ALTERNATE);
        case rsRoundShield:
        case rsSharpShield: {
            // Built from the origin, not from L and T.
            HRGN rgn;
            if (shape_ == rsRoundShield) {
                rgn = CreateEllipticRgn(0, H, W, H / 5 - H);
            } else {
                rgn = CreateEllipticRgn(-W, -(8 * H) / 7, W, (8 * H) / 7);
                CombineInto(rgn, CreateEllipticRgn(0, -(8 * H) / 7, 2 * W, (8 * H) / 7), RGN_AND);
            }
            CombineInto(rgn, CreateEllipticRgn(-(W / 2), (-H) / 5, W / 2, H / 5), RGN_DIFF);
            CombineInto(rgn, CreateEllipticRgn(W / 2, (-H) / 5, W / 2 + W, H / 5), RGN_DIFF);
            CombineInto(rgn, CreateRectRgn(0, -40, W, 0), RGN_DIFF);
            return rgn;
        }
        case rsHalfRound: return CreateEllipticRgn(L, 2 * T - R.Bottom, R.Right, R.Bottom);
        case rsUserRegion:
            if (Owner && Owner->ComponentState().Contains(rtl::csDesigning)) return CreateRectRgnIndirect(R);
            [[fallthrough]];
        case rsPointList:
            if (regionData_.empty()) return nullptr;
            return ExtCreateRegion(nullptr, static_cast<std::uint32_t>(regionData_.size()), regionData_.data());
        case rsThinkBubble:
        case rsRoundThinkBubble:
        case rsEllipticThinkBubble: {
            const int s = W / 6;
            const TRect body = KitShrinkForExtPos(R, extPos_, s);
            HRGN rgn = CreateBody(shape_ == rsThinkBubble ? rsRect
                                  : shape_ == rsRoundThinkBubble ? rsRoundRect : rsElliptic, body);
            // The bubbles alone: nothing at the origin unless a bubble covers it.
            for (const Bubble& b : Bubbles(body, s)) CombineInto(rgn, CreateEllipticRgnIndirect(b.Box), RGN_OR);
            return rgn;
        }
    }
    return nullptr;
}

void TKitRegion::BuildRegion(TRect R) {
    if (OwnerDestroying()) return;
    OffsetRect(R, Offset.X, Offset.Y);
    DeleteObject(rgn_);
    rgn_ = nullptr;
    if (shadow_->Style() != hssNone) {
        R.Right -= shadow_->Depth();
        R.Bottom -= shadow_->Depth();
    }
    rgn_ = CreateShapeRegion(R);
}

// ---- Painting ------------------------------------------------------------------------------

void TKitRegion::DrawShadow(TCanvas& Canvas, TRect& R) {
    if (!rgn_ || shadow_->Style() == hssNone) return;
    const int depth = shadow_->Depth();
    R.Right -= depth;
    R.Bottom -= depth;
    TempRgn strip(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(strip.h, rgn_, nullptr, RGN_COPY);
    OffsetRgn(strip.h, depth, depth);
    CombineRgn(strip.h, strip.h, rgn_, RGN_DIFF);
    if (shadow_->Style() == hssSolid) {
        Canvas.Brush()->SetColor(shadow_->Color());
        Canvas.Brush()->SetStyle(bsSolid);
        FillRgn(Canvas, strip.h);
    } else {
        Canvas.Pen()->SetMode(pmMask);
        FillRgnPattern(Canvas, strip.h, PatternBitmap(shadow_->Color()));
    }
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.Pen()->SetMode(pmCopy);
    Canvas.Pen()->SetStyle(psSolid);
}

void TKitRegion::DrawBorder(TCanvas& Canvas, TRect R) {
    if (!rgn_) return;  // nothing built: no shadow and no border
    OffsetRect(R, Offset.X, Offset.Y);
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.Pen()->SetWidth(2);
    DrawShadow(Canvas, R);
    if (shape_ == rsBitmap || shape_ == rsUserRegion || border_->Style() == rbNone) return;
    const int W = R.Right - R.Left;
    switch (shape_) {
        case rsNoseRect:
        case rsRoundNoseRect: {
            const bool round = shape_ == rsRoundNoseRect;
            const int n = W / 10;
            int w = 5;
            if (round) w = (extPos_ == epLeftTop || extPos_ == epRightTop || extPos_ == epRightBottom ||
                            extPos_ == epLeftBottom) ? roundY_ : roundX_;
            const TRect body = KitShrinkForExtPos(R, extPos_, n);
            const auto tri = KitNoseTriangle(body, extPos_, n, w);
            TRect base = Rect(std::min(tri[1].X, tri[2].X), std::min(tri[1].Y, tri[2].Y),
                              std::max(tri[1].X, tri[2].X), std::max(tri[1].Y, tri[2].Y));
            InflateRect(base, round ? 4 : 2, round ? 4 : 2);
            gdi::TClipKeeper keep(Canvas);
            Canvas.ExcludeClipRect(base);
            DrawShapeBorder(Canvas, round ? rsRoundRect : rsRect, body);
            return;
        }
        case rsThinkBubble:
        case rsRoundThinkBubble:
        case rsEllipticThinkBubble: {
            const int s = W / 6;
            const TRect body = KitShrinkForExtPos(R, extPos_, s);
            gdi::TClipKeeper keep(Canvas);
            for (const Bubble& b : Bubbles(body, s)) {
                if (IsRectEmpty(b.Box)) continue;
                DrawShapeBorder(Canvas, rsElliptic, b.Box);
                Canvas.ExcludeClipRect(b.Box);
            }
            DrawShapeBorder(Canvas, shape_ == rsThinkBubble ? rsRect
                                    : shape_ == rsRoundThinkBubble ? rsRoundRect : rsElliptic, body);
            return;
        }
        default: DrawShapeBorder(Canvas, shape_, R);
    }
}

// The border of one basic shape for R with the border's style.
void TKitRegion::DrawShapeBorder(TCanvas& c, TKitRegionShape shape, TRect R) {
    const TKitRegionBorderStyle style = border_->Style();
    const bool lowered = style == rbLowered || style == rbSingleLowered || style == rbLoweredpsb;
    TColor first = lowered ? border_->ShadowColor() : border_->LightColor();
    TColor second = lowered ? border_->LightColor() : border_->ShadowColor();
    const TColor single = border_->SingleColor();

    if (shape == rsPointList) {
        const int n = points_->Count();
        if (n == 0) return;
        if (style == rbSingle) first = second = single;
        auto edges = [&](TColor a, TColor b, bool onlySecond) {
            TColor colour = a;
            bool isSecond = false;
            for (int i = 0; i < n; ++i) {
                TPoint p, q;
                points_->GetPoint(i, p);
                points_->GetPoint((i + 1) % n, q);
                if (q.X != p.X) isSecond = q.X < p.X;
                else if (q.Y != p.Y) isSecond = q.Y > p.Y;
                colour = isSecond ? b : a;
                if (onlySecond && !isSecond) continue;
                Line(c, colour, {p, q});
            }
        };
        if (style == rbRaisedpsb || style == rbLoweredpsb) {
            edges(first, single, false);
            edges(first, second, true);
        } else {
            edges(first, second, false);
        }
        return;
    }

    const int shrink = shape == rsStar ? 2 : 1;
    const int shrinkPsb = shape == rsStar ? 3 : 1;

    // The whole outline in the single colour.
    auto singleOutline = [&](const TRect& r) {
        c.Pen()->SetColor(single);
        c.Brush()->SetStyle(bsClear);
        const int L = r.Left, T = r.Top, W = r.Right - r.Left, H = r.Bottom - r.Top;
        const int a = W / 2, b = H / 5, cc = (8 * H) / 7;
        switch (shape) {
            case rsRect: c.Rectangle(r); break;
            case rsRoundRect: c.RoundRect(r.Left, r.Top, r.Right, r.Bottom, roundX_, roundY_); break;
            case rsElliptic: c.Ellipse(r); break;
            case rsHalfRound: c.Ellipse(L, 2 * T - r.Bottom, r.Right, r.Bottom); break;
            case rsStar:
            case rsDiamond:
            case rsOctagon:
            case rsComb: c.Polygon(ShapePolygon(shape, r)); break;
            case rsRoundShield:
                ArcIn(c, single, Rect(L - a, T - b, L + a, T + b), {L, T + b}, {L + a, T});
                ArcIn(c, single, Rect(L + a, T - b, L + W + a, T + b), {L + a, T}, {L + W, T + b});
                ArcIn(c, single, Rect(L, T + H, L + W, T + b - H), {L, T + b}, {L + W, T + b});
                break;
            case rsSharpShield:
                ArcIn(c, single, Rect(L - W, T - cc, L + W, T + cc), {L + a, T + H}, {L, T + b});
                ArcIn(c, single, Rect(L, T - cc, L + 2 * W, T + cc), {L, T + b}, {L + a, T + H});
                ArcIn(c, single, Rect(L - a, T - b, L + a, T + b), {L, T + b}, {L + a, T});
                ArcIn(c, single, Rect(L + a, T - b, L + W + a, T + b), {L + a, T}, {L + W, T + b});
                break;
            default: break;
        }
    };

    // The 3D outline: upper-left in c1, lower-right in c2.
    auto outline3D = [&](const TRect& r, TColor c1, TColor c2) {
        const int L = r.Left, T = r.Top, Rt = r.Right, B = r.Bottom, W = Rt - L, H = B - T;
        switch (shape) {
            case rsRect:
                Line(c, c1, {{Rt, T}, {L, T}, {L, B}});
                Line(c, c2, {{L, B}, {Rt, B}, {Rt, T}});
                break;
            case rsElliptic:
                ArcIn(c, c1, r, {Rt, T}, {L, B});
                ArcIn(c, c2, r, {L, B}, {Rt, T});
                break;
            case rsHalfRound: {
                const TRect e = Rect(L, 2 * T - B, Rt, B);
                ArcIn(c, c1, e, {Rt, T}, {L, B});
                ArcIn(c, c2, e, {L, B}, {Rt, T});
                break;
            }
            case rsDiamond:
                Line(c, c1, {{Rt, T + H / 2}, {L + W / 2, T}, {L, T + H / 2}});
                Line(c, c2, {{L, T + H / 2}, {L + W / 2, B}, {Rt, T + H / 2}});
                break;
            case rsOctagon: {
                const auto p = ShapePolygon(rsOctagon, r);
                Line(c, c1, {p[7], p[0], p[1], p[2], p[3]});
                Line(c, c2, {p[3], p[4], p[5], p[6], p[7]});
                break;
            }
            case rsComb: {
                const auto p = ShapePolygon(rsComb, r);
                Line(c, c1, {p[5], p[0], p[1], p[2]});
                Line(c, c2, {p[2], p[3], p[4], p[5]});
                break;
            }
            case rsRoundRect: {
                c.Pen()->SetColor(c1);
                c.Brush()->SetStyle(bsClear);
                c.RoundRect(L, T, Rt, B, roundX_, roundY_);
                c.Pen()->SetWidth(4);
                const int rx = roundX_, ry = roundY_;
                Line(c, c2, {{L + rx / 2, B - 1}, {Rt - rx / 2, B - 1}});
                Line(c, c2, {{Rt - 1, T + ry / 2}, {Rt - 1, B - ry / 2}});
                ArcIn(c, c2, Rect(L, B - ry, L + rx, B), {L, B - ry / 2}, {L + rx / 2, B});
                ArcIn(c, c2, Rect(Rt - rx, B - ry, Rt, B), {Rt - rx / 2, B}, {Rt, B - ry / 2});
                ArcIn(c, c2, Rect(Rt - rx, T, Rt, T + ry), {Rt, T + ry / 2}, {Rt - rx / 2, T});
                break;
            }
            case rsStar: {
                const auto p = ShapePolygon(rsStar, r);
                static const bool useSecond[10] = {true, false, true, false, true, true, false, true, false, false};
                for (int i = 0; i < 10; ++i) Line(c, useSecond[i] ? c2 : c1, {p[i], p[(i + 1) % 10]});
                break;
            }
            case rsRoundShield:
            case rsSharpShield: {
                const int a = W / 2, b = H / 5, cc = (8 * H) / 7;
                ArcIn(c, c1, Rect(L - a, T - b, L + a, T + b), {L, T + b}, {L + a, T});
                ArcIn(c, c1, Rect(L + a, T - b, L + W + a, T + b), {L + a, T}, {L + W, T + b});
                if (shape == rsRoundShield) {
                    const TRect e = Rect(L, T + H, L + W, T + b - H);
                    ArcIn(c, c2, e, {L, T + b}, {L + a, T + H});
                    ArcIn(c, c2, e, {L + a, T + H}, {L + W, T + b});
                } else {
                    ArcIn(c, c2, Rect(L, T - cc, L + 2 * W, T + cc), {L, T + b}, {L + a, T + H});
                    ArcIn(c, c2, Rect(L - W, T - cc, L + W, T + cc), {L + a, T + H}, {L, T + b});
                }
                break;
            }
            default: break;
        }
    };

    // The lower-right part again (second pass of the psb styles).
    auto lowerRight = [&](const TRect& r, TColor c2) {
        const int L = r.Left, T = r.Top, Rt = r.Right, B = r.Bottom, W = Rt - L, H = B - T;
        switch (shape) {
            case rsRect: Line(c, c2, {{L, B}, {Rt, B}, {Rt, T}}); break;
            case rsDiamond: Line(c, c2, {{L + W / 2, B}, {Rt, T + H / 2}, {L + W / 2, T}}); break;
            case rsRoundShield: {
                const int a = W / 2, b = H / 5;
                ArcIn(c, c2, Rect(L + a, T - b, L + W + a, T + b), {L + a, T}, {L + W, T + b});
                ArcIn(c, c2, Rect(L, T + H, L + W, T + b - H), {L + a, T + H}, {L + W, T + b});
                break;
            }
            case rsSharpShield: {
                const int a = W / 2, b = H / 5, cc = (8 * H) / 7;
                ArcIn(c, c2, Rect(L - W, T - cc, L + W, T + cc), {L + a, T + H}, {L, T + b});
                ArcIn(c, c2, Rect(L + a, T - b, L + W + a, T + b), {L + a, T}, {L + W, T + b});
                break;
            }
            case rsRoundRect: {
                const int rx = roundX_, ry = roundY_;
                Line(c, c2, {{L + rx / 2, B - 1}, {Rt - rx / 2, B - 1}});
                Line(c, c2, {{Rt - 1, T + ry / 2}, {Rt - 1, B - ry / 2}});
                ArcIn(c, c2, Rect(L, B - ry, L + rx, B), {L, B - ry / 2}, {L + rx / 2, B});
                ArcIn(c, c2, Rect(Rt - rx, B - ry, Rt, B), {Rt - rx / 2, B}, {Rt, B - ry / 2});
                ArcIn(c, c2, Rect(Rt - rx, T, Rt, T + ry), {Rt, T + ry / 2}, {Rt - rx / 2, T});
                break;
            }
            case rsStar: {
                const auto p = ShapePolygon(rsStar, r);
                static const bool useSecond[10] = {true, false, true, false, true, true, false, true, false, false};
                for (int i = 0; i < 10; ++i)
                    if (useSecond[i]) Line(c, c2, {p[i], p[(i + 1) % 10]});
                break;
            }
            case rsElliptic: ArcIn(c, c2, r, {L, B}, {Rt, T}); break;
            case rsHalfRound: ArcIn(c, c2, Rect(L, 2 * T - B, Rt, B), {L, B}, {Rt, T}); break;
            case rsOctagon: {
                const auto p = ShapePolygon(rsOctagon, r);
                Line(c, c2, {p[3], p[4], p[5], p[6], p[7]});
                break;
            }
            case rsComb: {
                const auto p = ShapePolygon(rsComb, r);
                Line(c, c2, {p[2], p[3], p[4], p[5]});
                break;
            }
            default: break;
        }
    };

    switch (style) {
        case rbNone: break;
        case rbLowered:
        case rbRaised: outline3D(R, first, second); break;
        case rbSingle: singleOutline(R); break;
        case rbSingleRaised:
        case rbSingleLowered:
            singleOutline(R);
            InflateRect(R, -shrink, -shrink);
            outline3D(R, first, second);
            break;
        case rbRaisedpsb:
        case rbLoweredpsb:
            outline3D(R, first, single);
            InflateRect(R, -shrinkPsb, -shrinkPsb);
            lowerRight(R, second);
            break;
    }
}

}  // namespace kit
