#include "components/controls/KitTechnicalLine.h"

#include <array>
#include <utility>

#include "platform/gdi/Paths.h"

namespace kit {

using namespace gdi;

namespace {

enum Dir { Up, Down, Left, Right };

struct Directions { Dir start, end; };

Directions LineDirections(TKitTechnicalLineTypes t) {
    switch (t) {
    case lsStraightTopToBottom: return {Up, Down};
    case lsTopLeftEdge: case lsTopLeftCurve: return {Down, Right};
    case lsBottomLeftEdge: case lsBottomLeftCurve: return {Right, Up};
    case lsTopRightEdge: case lsTopRightCurve: return {Left, Down};
    case lsBottomRightEdge: case lsBottomRightCurve: return {Up, Left};
    default: return {Left, Right};
    }
}

TKitLineEndings Turned(TKitLineEndings sign, Dir dir) {
    static constexpr TKitLineEndings open[] = {leOpenArrowUp, leOpenArrowDown, leOpenArrowLeft, leOpenArrowRight};
    static constexpr TKitLineEndings closed[] = {leClosedArrowUp, leClosedArrowDown, leClosedArrowLeft, leClosedArrowRight};
    if (sign >= leOpenArrowUp && sign <= leOpenArrowLeft) return open[dir];
    if (sign >= leClosedArrowUp && sign <= leClosedArrowRight) return closed[dir];
    return sign;
}

}  // namespace

void KitDrawSign(TCanvas& c, TKitLineEndings kind, TRect r) {
    const int w = c.Pen()->Width();
    if (w != 1) InflateRect(r, -(w / 2), -(w / 2));
    const int l = r.Left, t = r.Top, rr = r.Right, b = r.Bottom;
    const int cx = l + (rr - l) / 2, cy = t + (b - t) / 2;
    auto lines = [&c](std::initializer_list<TPoint> p) { c.Polyline(std::span<const TPoint>(p.begin(), p.size())); };
    auto poly = [&c](std::initializer_list<TPoint> p) { c.Polygon(std::span<const TPoint>(p.begin(), p.size())); };
    switch (kind) {
    case leNothing: break;
    case leOpenArrowUp: lines({{l, b}, {cx, t}, {rr, b}}); break;
    case leOpenArrowDown: lines({{l, t}, {cx, b}, {rr, t}}); break;
    case leOpenArrowRight: lines({{l, t}, {rr, cy}, {l, b}}); break;
    case leOpenArrowLeft: lines({{rr, t}, {l, cy}, {rr, b}}); break;
    case leClosedArrowUp: poly({{l, b}, {cx, t}, {rr, b}}); break;
    case leClosedArrowDown: poly({{l, t}, {cx, b}, {rr, t}}); break;
    case leClosedArrowLeft: poly({{rr, t}, {l, cy}, {rr, b}}); break;
    case leClosedArrowRight: poly({{l, t}, {rr, cy}, {l, b}}); break;
    case leDiamond: poly({{cx, t}, {rr, cy}, {cx, b}, {l, cy}}); break;
    case leCircle: c.Ellipse(l, t, rr, b); break;
    case leRectangle: c.Rectangle(l, t, rr, b); break;
    case leRoundRect: c.RoundRect(l, t, rr, b, (rr - l) / 4, (b - t) / 4); break;
    case leParallelogramm: poly({{l + (rr - l) / 4, t}, {rr, t}, {rr - (rr - l) / 4, b}, {l, b}}); break;
    case leComb:
        poly({{cx, t}, {rr, t + (b - t) / 4}, {rr, b - (b - t) / 4}, {cx, b}, {l, b - (b - t) / 4}, {l, t + (b - t) / 4}});
        break;
    case leHalfCircleLeft: Pie(c, l, t, rr, b, cx, t, cx, b); break;
    case leHalfCircleRight: Pie(c, l, t, rr, b, cx, b, cx, t); break;
    case leHalfCircleUp: Pie(c, l, t, rr, b, l, cy, rr, cy); break;
    case leHalfCircleDown: Pie(c, l, t, rr, b, rr, cy, l, cy); break;
    }
}

TKitTechnicalLine::TKitTechnicalLine(rtl::TComponent* AOwner) : TKitGraphicControl(AOwner) {
    SetBounds(Left(), Top(), 130, 45);
    pen_ = std::make_unique<TPen>();
    pen_->OnChange = [this](rtl::TObject* s) { ContentChanged(s); };
}

TKitTechnicalLine::~TKitTechnicalLine() {
    if (shapeRegion_) DeleteObject(shapeRegion_);
    shapeRegion_ = nullptr;
    pen_->OnChange = nullptr;
    pen_.reset();
}

void TKitTechnicalLine::SetValue(auto& field, auto value) {
    if (field == value) return;
    field = value;
    Invalidate();
}

void TKitTechnicalLine::SetLineType(TKitTechnicalLineTypes v) {
    if (lineType_ == v) return;
    lineType_ = v;
    if (arrowed_) {
        const Directions d = LineDirections(v);
        lineStart_ = Turned(lineStart_, d.start);
        lineEnding_ = Turned(lineEnding_, d.end);
    }
    Invalidate();
}

void TKitTechnicalLine::SetLineEndingsign(TKitLineEndings v) {
    if (lineEnding_ == v) return;
    lineEnding_ = v;
    if (signPlaces_ == spEnd || signPlaces_ == spBoth) Invalidate();
}

void TKitTechnicalLine::SetLineStartSign(TKitLineEndings v) {
    if (lineStart_ == v) return;
    lineStart_ = v;
    if (signPlaces_ == spStart || signPlaces_ == spBoth) Invalidate();
}

void TKitTechnicalLine::SetArrowed(bool v) { SetValue(arrowed_, v); }
void TKitTechnicalLine::SetShadowDepth(int v) { SetValue(shadowDepth_, v); }
void TKitTechnicalLine::SetSignSize(int v) { SetValue(signSize_, v); }
void TKitTechnicalLine::SetSignPlaces(TKitSignPlaces v) { SetValue(signPlaces_, v); }
void TKitTechnicalLine::SetShadowColor(TColor v) { SetValue(shadowColor_, v); }
void TKitTechnicalLine::SetFillColor(TColor v) { SetValue(fillColor_, v); }
void TKitTechnicalLine::SetShadowVisible(bool v) { SetValue(shadowVisible_, v); }

void TKitTechnicalLine::Paint() {
    if (Loading()) return;
    TCanvas& c = *Canvas();
    TRect R = ClientRect();
    if (!Transparent()) {
        c.Brush()->SetColor(Color());
        c.Brush()->SetStyle(bsSolid);
        c.FillRect(R);
    }
    if (Bevel()->BevelExtent() != 0) {
        const bool skipBorder = Bevel()->BorderColor() == Color() || Transparent();
        TRect inner;
        Bevel()->PaintBevel(c, R, skipBorder, inner);
        R = inner;
    }
    DrawLine(c, R);
    if (shapeOnly_) RebuildShapeRegion(c, R);
}

// The line drawn twice more as a path: its inside (open figures closed, alternate filling: the
// signs and the area between an arc and its chord) and its outline widened by the pen. The union
// is the click shape, in the parent's coordinates.
void TKitTechnicalLine::RebuildShapeRegion(TCanvas& c, const TRect& R) {
    BeginPath(c);
    DrawLine(c, R);
    EndPath(c);
    HRGN shape = PathToRegion(c);
    BeginPath(c);
    DrawLine(c, R);
    EndPath(c);
    WidenPath(c);
    HRGN outline = PathToRegion(c);
    if (shape && outline) CombineRgn(shape, shape, outline, RGN_OR);
    else if (!shape) std::swap(shape, outline);
    if (outline) DeleteObject(outline);
    if (shape) OffsetRgn(shape, Left(), Top());
    if (shapeRegion_) DeleteObject(shapeRegion_);
    shapeRegion_ = shape;
}

void TKitTechnicalLine::WndProc(gui::TMessage& m) {
    if ((m.Msg == gui::WM_LBUTTONDOWN || m.Msg == gui::WM_LBUTTONUP) && shapeOnly_ && shapeRegion_ &&
        !PtInRegion(shapeRegion_, gui::LoWordSigned(m.LParam) + Left(), gui::HiWordSigned(m.LParam) + Top()))
        return;
    TKitGraphicControl::WndProc(m);
}

void TKitTechnicalLine::DrawSegment(TCanvas& c, int x1, int y1, int x2, int y2) {
    if (shadowVisible_) {
        c.Pen()->Assign(shadowPen_);
        c.MoveTo(ox_ + x1 + d_, oy_ + y1 + d_);
        c.LineTo(ox_ + x2 + d_, oy_ + y2 + d_);
    }
    c.Pen()->Assign(*pen_);
    c.MoveTo(ox_ + x1, oy_ + y1);
    c.LineTo(ox_ + x2, oy_ + y2);
}

void TKitTechnicalLine::DrawArc(TCanvas& c, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    const int X = ox_, Y = oy_;
    if (shadowVisible_) {
        const int d = d_;
        c.Pen()->Assign(shadowPen_);
        Arc(c, X + x1 + d, Y + y1 + d, X + x2 + d, Y + y2 + d, X + x3 + d, Y + y3 + d, X + x4 + d, Y + y4 + d);
    }
    c.Pen()->Assign(*pen_);
    Arc(c, X + x1, Y + y1, X + x2, Y + y2, X + x3, Y + y3, X + x4, Y + y4);
}

void TKitTechnicalLine::DrawSignAt(TCanvas& c, TKitLineEndings kind, int l, int t, int r, int b) {
    l += ox_; r += ox_; t += oy_; b += oy_;
    if (shadowVisible_) {
        c.Pen()->Assign(shadowPen_);
        if (fillColor_ != clNone) {
            c.Brush()->SetColor(shadowColor_);
            c.Brush()->SetStyle(bsSolid);
        } else {
            c.Brush()->SetStyle(bsClear);
        }
        KitDrawSign(c, kind, Rect(l + d_, t + d_, r, b));
        r -= d_;
        b -= d_;
    }
    c.Pen()->Assign(*pen_);
    if (fillColor_ != clNone) {
        c.Brush()->SetColor(fillColor_);
        c.Brush()->SetStyle(bsSolid);
    } else {
        c.Brush()->SetStyle(bsClear);
    }
    KitDrawSign(c, kind, Rect(l, t, r, b));
}

void TKitTechnicalLine::DrawLine(TCanvas& c, const TRect& R0) {
    const int p = pen_->Width() / 2;
    TRect A = R0;
    InflateRect(A, -(p + 1), -(p + 1));
    ox_ = A.Left;
    oy_ = A.Top;
    const int W = A.Width(), H = A.Height();
    shadowPen_.Assign(*pen_);
    shadowPen_.SetColor(shadowColor_);
    c.Brush()->SetStyle(bsClear);

    const int d = shadowVisible_ ? shadowDepth_ : 0;
    d_ = d;
    const int s = signSize_, S = s + d, h = s / 2, mx = W / 2, my = H / 2;
    const TKitLineEndings st = lineStart_, en = lineEnding_;
    auto seg = [&](int a, int b, int e, int f) { DrawSegment(c, a, b, e, f); };
    auto ssign = [&](int l, int t, int r, int b) { DrawSignAt(c, st, l, t, r, b); };
    auto esign = [&](int l, int t, int r, int b) { DrawSignAt(c, en, l, t, r, b); };
    auto arc = [&](int a, int b, int e, int f, int g, int i, int j, int k) { DrawArc(c, a, b, e, f, g, i, j, k); };
    const TKitSignPlaces sp = signPlaces_;

    switch (lineType_) {
    case lsStraightLeftToRight:
        switch (sp) {
        case spNoWhere: seg(p, my, W - d - p, my); break;
        case spStart: ssign(0, my - S / 2, S, my + S / 2); seg(s, my - d / 2, W - d - p, my - d / 2); break;
        case spEnd: seg(p, my - d / 2, W - S, my - d / 2); esign(W - S, my - S / 2, W, my + S / 2); break;
        case spBoth:
            ssign(0, my - S / 2, S, my + S / 2);
            seg(s, my - d / 2, W - S, my - d / 2);
            esign(W - S, my - S / 2, W, my + S / 2);
            break;
        }
        break;
    case lsStraightTopToBottom:
        switch (sp) {
        case spNoWhere: seg(mx, p, mx, H - d - p); break;
        case spStart: ssign(mx - S / 2, 0, mx + S / 2, S); seg(mx - d / 2, s, mx - d / 2, H - d - p); break;
        case spEnd: seg(mx - d / 2, p, mx - d / 2, H - S); esign(mx - S / 2, H - S, mx + S / 2, H); break;
        case spBoth:
            ssign(mx - S / 2, 0, mx + S / 2, S);
            seg(mx - d / 2, s, mx - d / 2, H - S);
            esign(mx - S / 2, H - S, mx + S / 2, H);
            break;
        }
        break;
    case lsTopLeftToBottomRight:
        switch (sp) {
        case spNoWhere: seg(0, 0, W - d, H - d); break;
        case spStart: ssign(0, 0, S, S); seg(s, h, W - d, H - d); break;
        case spEnd: seg(0, 0, W - S, H - h - d); esign(W - S, H - S, W, H); break;
        case spBoth: ssign(0, 0, S, S); seg(s, h, W - S, H - h - d); esign(W - S, H - S, W, H); break;
        }
        break;
    case lsBottomLeftToTopRight:
        switch (sp) {
        case spNoWhere: seg(0, H - d, W - d, 0); break;
        case spStart: ssign(0, H - S, S, H); seg(s, H - h - d, W - d, 0); break;
        case spEnd: seg(0, H, W - S, h); esign(W - S, 0, W, S); break;
        case spBoth: ssign(0, H - S, S, H); seg(s, H - h - d, W - S, h); esign(W - S, 0, W, S); break;
        }
        break;
    case lsTopLeftEdge:
        switch (sp) {
        case spNoWhere: seg(0, H - d, 0, 0); seg(0, 0, W - d, 0); break;
        case spStart: seg(h, H - S, h, 0); seg(h, 0, W - d, 0); ssign(0, H - S, S, H); break;
        case spEnd: seg(0, H - d, 0, h); seg(0, h, W - S, h); esign(W - S, 0, W, S); break;
        case spBoth:
            seg(h, H - S, h, h); seg(h, h, W - S, h);
            ssign(0, H - S, S, H); esign(W - S, 0, W, S);
            break;
        }
        break;
    case lsBottomLeftEdge:
        switch (sp) {
        case spNoWhere: seg(0, 0, 0, H - d); seg(0, H - d, W - d, H - d); break;
        case spStart: seg(0, 0, 0, H - h - d); seg(0, H - h - d, W - S, H - h - d); ssign(W - S, H - S, W, H); break;
        case spEnd: esign(0, 0, S, S); seg(h, s, h, H - d); seg(h, H - d, W - d, H - d); break;
        case spBoth:
            esign(0, 0, S, S);
            seg(h, s, h, H - h - d); seg(h, H - h - d, W - S, H - h - d);
            ssign(W - S, H - S, W, H);
            break;
        }
        break;
    case lsTopRightEdge:
        switch (sp) {
        case spNoWhere: seg(0, 0, W - d, 0); seg(W - d, 0, W - d, H - d); break;
        case spStart: ssign(0, 0, S, S); seg(s, h, W - d, h); seg(W - d, h, W - d, H - d); break;
        case spEnd: seg(0, 0, W - h - d, 0); seg(W - h - d, 0, W - h - d, H - S); esign(W - S, H - S, W, H); break;
        case spBoth:
            ssign(0, 0, S, S);
            seg(s, h, W - h - d, h); seg(W - h - d, h, W - h - d, H - S);
            esign(W - S, H - S, W, H);
            break;
        }
        break;
    case lsBottomRightEdge:
        switch (sp) {
        case spNoWhere: seg(W - d, 0, W - d, H - d); seg(W - d, H - d, 0, H - d); break;
        case spStart: ssign(W - S, 0, W, S); seg(W - h - d, s, W - h - d, H - d); seg(W - h - d, H - d, 0, H - d); break;
        case spEnd: esign(0, H - S, S, H); seg(W - d, 0, W - d, H - h - d); seg(W - d, H - h - d, s, H - h - d); break;
        case spBoth:
            esign(0, H - S, S, H); ssign(W - S, 0, W, S);
            seg(W - h - d, s, W - h - d, H - h - d); seg(W - h - d, H - h - d, s, H - h - d);
            break;
        }
        break;
    case lsTopLeftCurve:
        switch (sp) {
        case spNoWhere: arc(0, 0, 2 * W, 2 * H, W - d, 0, 0, H - d); break;
        case spStart: arc(h, 0, 2 * W - h, 2 * (H - S), W - d, 0, h, H - S); ssign(0, H - S, S, H); break;
        case spEnd: arc(0, h, 2 * (W - S), 2 * H - h, W - S, h, 0, H - d); esign(W - S, 0, W, S); break;
        case spBoth:
            arc(h, h, 2 * W - 2 * s - h, 2 * H - 2 * s - h, W - S, h, h, H - S);
            ssign(0, H - S, S, H); esign(W - S, 0, W, S);
            break;
        }
        break;
    case lsBottomLeftCurve:
        switch (sp) {
        case spNoWhere: arc(d, H - d, 2 * W - d, d - H, 0, 0, W - d, H - d); break;
        case spStart: arc(0, h + d - H, 2 * W - 2 * S, H - h - d, 0, 0, W - S, H - h - d); ssign(W - S, H - S, W, H); break;
        case spEnd: esign(0, 0, S, S); arc(h, 2 * s + d - H, 2 * W + h - s, H - d, h, s, W - d, H); break;
        case spBoth:
            esign(0, 0, S, S);
            arc(h, 2 * s + h + d - H, 2 * W - 2 * S - h, H - h - d, h, s, W - S, H - h - d);
            ssign(W - S, H - S, W, H);
            break;
        }
        break;
    case lsTopRightCurve:
        switch (sp) {
        case spNoWhere: arc(d - W, 0, W - d, 2 * H, W - d, H - d, 0, 0); break;
        case spStart: ssign(0, 0, S, S); arc(2 * S - d - W, h, W - d, 2 * H + h - S, W, H - d, s, h); break;
        case spEnd: arc(h + d - W, 0, W - h - d, 2 * (H - S), W - h - d, H - S, 0, 0); esign(W - S, H - S, W, H); break;
        case spBoth:
            ssign(0, 0, S, S);
            arc(2 * S + d + h - W, h, W - h - d, 2 * (H - S) - h, W - h - d, H - S, s, h);
            esign(W - S, H - S, W, H);
            break;
        }
        break;
    case lsBottomRightCurve:
        switch (sp) {
        case spNoWhere: arc(d - W, d - H, W - d, H - d, 0, H - d, W, 0); break;
        case spStart: ssign(W - S, 0, W, S); arc(h + d - W, 2 * s + d - H, W - h - d, H - d, 0, H - d, W - h - d, s); break;
        case spEnd: esign(0, H - S, S, H); arc(2 * s + d - W, h - H, W - d, H - h - d, s, H - h, W, 0); break;
        case spBoth:
            esign(0, H - S, S, H); ssign(W - S, 0, W, S);
            arc(2 * s + h + d - W, 2 * s + h + d - H, W - h - d, H - h - d, s, H - h - d, W - h - d, s);
            break;
        }
        break;
    }
}

}  // namespace kit
