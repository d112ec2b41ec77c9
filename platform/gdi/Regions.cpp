// Regions as QRegions behind handles, built row by row from exact scan conversion of the
// shapes; region painting pixel by pixel; arcs as polylines through the ellipse's pixels.
#include "platform/gdi/Regions.h"
#include "platform/gdi/Paths.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <unordered_map>
#include <utility>
#include <vector>

namespace gdi {

struct RegionObject {
    QRegion region;
};

namespace {

// ---- Handles -----------------------------------------------------------------------------------
std::unordered_map<RegionObject*, std::unique_ptr<RegionObject>>& Registry() {
    static std::unordered_map<RegionObject*, std::unique_ptr<RegionObject>> registry;
    return registry;
}

HRGN NewRegion(QRegion r) {
    auto obj = std::make_unique<RegionObject>();
    obj->region = std::move(r);
    HRGN h = obj.get();
    Registry().emplace(h, std::move(obj));
    return h;
}

RegionObject* Valid(HRGN h) {
    if (!h) return nullptr;
    auto& reg = Registry();
    auto it = reg.find(h);
    return it == reg.end() ? nullptr : it->second.get();
}

int Kind(const QRegion& r) {
    if (r.isEmpty()) return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// ---- Building from rows ------------------------------------------------------------------------
// Spans [x0, x1) per row, added from the top row down; rows with the same spans merge into bands.
class RowBuilder {
public:
    using Spans = std::vector<std::pair<int, int>>;

    // spans must be sorted and may touch or overlap; empty spans are dropped.
    void AddRow(int y, Spans spans) {
        Spans merged;
        for (auto [a, b] : spans) {
            if (b <= a) continue;
            if (!merged.empty() && a <= merged.back().second)
                merged.back().second = std::max(merged.back().second, b);
            else
                merged.emplace_back(a, b);
        }
        if (merged.empty()) {
            Flush();
            return;
        }
        if (bandValid_ && y == bandBottom_ && merged == bandSpans_) {
            ++bandBottom_;
            return;
        }
        Flush();
        bandValid_ = true;
        bandTop_ = y;
        bandBottom_ = y + 1;
        bandSpans_ = std::move(merged);
    }

    QRegion Build() {
        Flush();
        QRegion r;
        if (!rects_.empty()) r.setRects(rects_.data(), static_cast<int>(rects_.size()));
        return r;
    }

private:
    void Flush() {
        if (!bandValid_) return;
        for (auto [a, b] : bandSpans_) rects_.emplace_back(QPoint(a, bandTop_), QPoint(b - 1, bandBottom_ - 1));
        bandValid_ = false;
    }
    std::vector<QRect> rects_;
    Spans bandSpans_;
    int bandTop_ = 0, bandBottom_ = 0;
    bool bandValid_ = false;
};

QRegion RectRegion(int l, int t, int r, int b) {
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    if (r == l || b == t) return QRegion();
    return QRegion(QRect(QPoint(l, t), QPoint(r - 1, b - 1)));
}

// The columns x whose centre x + 0.5 lies strictly between lo and hi.
std::pair<int, int> CentresBetween(long double lo, long double hi) {
    int x0 = static_cast<int>(std::floor(lo - 0.5L)) + 1;
    int x1 = static_cast<int>(std::ceil(hi - 0.5L));  // exclusive
    return {x0, x1};
}

QRegion EllipseRegion(int l, int t, int r, int b) {
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    if (r == l || b == t) return QRegion();
    const long double cx = (l + r) / 2.0L, cy = (t + b) / 2.0L;
    const long double ax = (r - l) / 2.0L, by = (b - t) / 2.0L;
    RowBuilder rows;
    for (int y = t; y < b; ++y) {
        long double dy = (y + 0.5L - cy) / by;
        if (std::fabs(dy) >= 1) continue;
        long double half = ax * std::sqrt(1 - dy * dy);
        auto [x0, x1] = CentresBetween(cx - half, cx + half);
        rows.AddRow(y, {{std::max(x0, l), std::min(x1, r)}});
    }
    return rows.Build();
}

QRegion RoundRectRegion(int l, int t, int r, int b, int ew, int eh) {
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    const int W = r - l, H = b - t;
    if (W == 0 || H == 0) return QRegion();
    ew = std::min(std::abs(ew), W);
    eh = std::min(std::abs(eh), H);
    if (ew == 0 || eh == 0) return RectRegion(l, t, r, b);
    const long double ea = ew / 2.0L, eb = eh / 2.0L;
    RowBuilder rows;
    for (int y = t; y < b; ++y) {
        long double yy = y + 0.5L - t;
        long double ey;
        if (yy < eb) ey = yy;
        else if (yy > H - eb) ey = yy - (H - eh);
        else {
            rows.AddRow(y, {{l, r}});
            continue;
        }
        long double dy = (ey - eb) / eb;
        if (std::fabs(dy) >= 1) continue;
        long double e = ea - ea * std::sqrt(1 - dy * dy);  // corner indent of this row
        auto [x0, x1] = CentresBetween(l + e, r - e);
        rows.AddRow(y, {{std::max(x0, l), std::min(x1, r)}});
    }
    return rows.Build();
}

QRegion PolygonRegion(std::span<const TPoint> pts, bool winding) {
    if (pts.size() < 3) return QRegion();
    int minY = pts[0].Y, maxY = pts[0].Y;
    for (const TPoint& p : pts) {
        minY = std::min(minY, p.Y);
        maxY = std::max(maxY, p.Y);
    }
    constexpr double eps = 1.0 / 64;  // sample point of a pixel: (x + eps, y + eps)
    struct Cross {
        double x;
        int dir;
    };
    std::vector<Cross> xs;
    RowBuilder rows;
    for (int y = minY; y < maxY; ++y) {
        const double sy = y + eps;
        xs.clear();
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const TPoint& a = pts[i];
            const TPoint& c = pts[(i + 1) % pts.size()];
            if (a.Y == c.Y) continue;
            const int lo = std::min(a.Y, c.Y), hi = std::max(a.Y, c.Y);
            if (sy < lo || sy >= hi) continue;
            double x = a.X + (sy - a.Y) * (static_cast<double>(c.X) - a.X) / (static_cast<double>(c.Y) - a.Y);
            xs.push_back({x, c.Y > a.Y ? 1 : -1});
        }
        std::sort(xs.begin(), xs.end(), [](const Cross& p, const Cross& q) { return p.x < q.x; });
        RowBuilder::Spans spans;
        auto add = [&](double x0, double x1) {
            // Columns x with x0 < x + eps <= x1 (a sample point on an edge belongs to the
            // span left of it, as the canvas's filling has it).
            int a = static_cast<int>(std::floor(x0 - eps)) + 1;
            int b = static_cast<int>(std::floor(x1 - eps)) + 1;
            if (b > a) spans.emplace_back(a, b);
        };
        if (!winding) {
            for (std::size_t i = 0; i + 1 < xs.size(); i += 2) add(xs[i].x, xs[i + 1].x);
        } else {
            int wind = 0;
            for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
                wind += xs[i].dir;
                if (wind != 0) add(xs[i].x, xs[i + 1].x);
            }
        }
        std::sort(spans.begin(), spans.end());
        rows.AddRow(y, std::move(spans));
    }
    return rows.Build();
}

// ---- Painting ----------------------------------------------------------------------------------

bool HatchAt(TBrushStyle st, int x, int y) {
    int mx = x & 7, my = y & 7;
    switch (st) {
        case bsHorizontal: return my == 0;
        case bsVertical: return mx == 0;
        case bsFDiagonal: return mx == my;
        case bsBDiagonal: return mx == 7 - my;
        case bsCross: return mx == 0 || my == 0;
        case bsDiagCross: return mx == my || mx == 7 - my;
        default: return true;
    }
}

// Calls ink(x, y, dest) -> {paint?, colour} for every device pixel of the logical region that
// lies on the image and inside the clip; writes the colour mixed by the pen mode.
template <class Ink>
bool PaintRegion(TCanvas& canvas, const QRegion& logical, Ink&& ink) {
    QImage* img = canvas.Target();
    if (canvas.OnChanging) canvas.OnChanging(&canvas);
    if (img && !img->isNull()) {
        const QImage::Format f = img->format();
        if (f != QImage::Format_BGR888 && f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 &&
            f != QImage::Format_ARGB32_Premultiplied)
            *img = img->convertToFormat(QImage::Format_RGB32);
        const int bpp = img->format() == QImage::Format_BGR888 ? 3 : 4;
        QRegion dev = logical.translated(canvas.Origin().X, canvas.Origin().Y) & QRect(0, 0, img->width(), img->height());
        if (canvas.HasClip()) dev &= canvas.ClipRegion();
        const TPenMode mode = canvas.Pen()->Mode();
        for (const QRect& q : dev) {
            for (int y = q.top(); y <= q.bottom(); ++y) {
                std::uint8_t* row = img->scanLine(y);
                for (int x = q.left(); x <= q.right(); ++x) {
                    std::uint8_t* p = row + static_cast<qsizetype>(x) * bpp;
                    TColor d = static_cast<TColor>(p[2]) | (static_cast<TColor>(p[1]) << 8) |
                               (static_cast<TColor>(p[0]) << 16);
                    TColor c;
                    if (!ink(x, y, c)) continue;
                    TColor v = Rop2(mode, c, d);
                    p[0] = static_cast<std::uint8_t>(v >> 16);
                    p[1] = static_cast<std::uint8_t>(v >> 8);
                    p[2] = static_cast<std::uint8_t>(v);
                    if (bpp == 4) p[3] = 0xFF;
                }
            }
        }
    }
    if (canvas.OnChange) canvas.OnChange(&canvas);
    return true;
}

bool PaintWithBrush(TCanvas& canvas, const QRegion& logical) {
    const TBrush& brush = *canvas.Brush();
    if (brush.Style() == bsClear) return true;
    const TColor color = ColorToPixel(brush.Color());
    const TBrushStyle st = brush.Style();
    return PaintRegion(canvas, logical, [&](int x, int y, TColor& c) {
        if (st != bsSolid && !HatchAt(st, x, y)) return false;
        c = color;
        return true;
    });
}

// One pixel of erosion in x (or y): the pixels whose both neighbours are inside as well.
QRegion Erode(const QRegion& r, int dx, int dy) {
    return r & r.translated(dx, dy) & r.translated(-dx, -dy);
}

// ---- Arcs --------------------------------------------------------------------------------------
struct ArcPoints {
    std::vector<TPoint> pts;
    TPoint centre;
};

// The pixels of the arc from the radial towards (x3, y3) counter-clockwise to the radial
// towards (x4, y4), on the ellipse whose outline the canvas draws for the box.
ArcPoints MakeArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    ArcPoints out;
    // The width-1 outline of Ellipse(l, t, r, b) runs through the pixel centres l .. r - 1.
    const long double cx = (x1 + x2 - 1) / 2.0L, cy = (y1 + y2 - 1) / 2.0L;
    const long double a = std::max<long double>((x2 - x1 - 1) / 2.0L, 0);
    const long double b = std::max<long double>((y2 - y1 - 1) / 2.0L, 0);
    out.centre = {static_cast<int>(std::lround(static_cast<double>(cx))),
                  static_cast<int>(std::lround(static_cast<double>(cy)))};
    auto param = [&](int px, int py) {
        // Parameter t of the point (a cos t, b sin t) on the radial towards (px, py), y upwards.
        long double dx = px - cx, dy = cy - py;
        if (dx == 0 && dy == 0) return 0.0L;
        return std::atan2(a * dy, b * dx);
    };
    constexpr long double twoPi = 2 * std::numbers::pi_v<long double>;
    long double ts = param(x3, y3), te = param(x4, y4);
    while (te <= ts) te += twoPi;
    const long double sweep = te - ts;
    const int n = std::max(8, static_cast<int>(std::ceil(sweep * std::max({a, b, 1.0L}) * 2)));
    for (int i = 0; i <= n; ++i) {
        long double t = ts + sweep * i / n;
        TPoint p{static_cast<int>(std::lround(static_cast<double>(cx + a * std::cos(t)))),
                 static_cast<int>(std::lround(static_cast<double>(cy - b * std::sin(t))))};
        if (out.pts.empty() || !(out.pts.back() == p)) out.pts.push_back(p);
    }
    return out;
}

}  // namespace

// ---- Creation and handles ----------------------------------------------------------------------

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return NewRegion(RectRegion(left, top, right, bottom));
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseW, int ellipseH) {
    return NewRegion(RoundRectRegion(left, top, right, bottom, ellipseW, ellipseH));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    return NewRegion(EllipseRegion(left, top, right, bottom));
}

HRGN CreatePolygonRgn(std::span<const TPoint> points, int fillMode) {
    if (fillMode != ALTERNATE && fillMode != WINDING) return nullptr;
    return NewRegion(PolygonRegion(points, fillMode == WINDING));
}

HRGN CreateRgnFromQRegion(const QRegion& region) { return NewRegion(region); }

bool DeleteObject(HRGN region) {
    if (!Valid(region)) return false;
    Registry().erase(region);
    return true;
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
    RegionObject* d = Valid(dest);
    RegionObject* a = Valid(src1);
    if (!d || !a) return RGN_ERROR;
    if (mode == RGN_COPY) {
        d->region = a->region;
        return Kind(d->region);
    }
    RegionObject* b = Valid(src2);
    if (!b) return RGN_ERROR;
    switch (mode) {
        case RGN_AND: d->region = a->region & b->region; break;
        case RGN_OR: d->region = a->region | b->region; break;
        case RGN_XOR: d->region = a->region ^ b->region; break;
        case RGN_DIFF: d->region = a->region - b->region; break;
        default: return RGN_ERROR;
    }
    return Kind(d->region);
}

int OffsetRgn(HRGN region, int dx, int dy) {
    RegionObject* r = Valid(region);
    if (!r) return RGN_ERROR;
    r->region.translate(dx, dy);
    return Kind(r->region);
}

bool PtInRegion(HRGN region, int x, int y) {
    RegionObject* r = Valid(region);
    return r && r->region.contains(QPoint(x, y));
}

bool RectInRegion(HRGN region, const TRect& rc) {
    RegionObject* r = Valid(region);
    if (!r) return false;
    QRegion q = RectRegion(rc.Left, rc.Top, rc.Right, rc.Bottom);
    return !(q & r->region).isEmpty();
}

bool EqualRgn(HRGN a, HRGN b) {
    RegionObject* ra = Valid(a);
    RegionObject* rb = Valid(b);
    return ra && rb && ra->region == rb->region;
}

int GetRgnBox(HRGN region, TRect& box) {
    RegionObject* r = Valid(region);
    if (!r) return RGN_ERROR;
    box = {};
    if (!r->region.isEmpty()) {
        QRect q = r->region.boundingRect();
        box = {q.left(), q.top(), q.right() + 1, q.bottom() + 1};
    }
    return Kind(r->region);
}

bool SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    RegionObject* r = Valid(region);
    if (!r) return false;
    r->region = RectRegion(left, top, right, bottom);
    return true;
}

QRegion RegionToQRegion(HRGN region) {
    RegionObject* r = Valid(region);
    return r ? r->region : QRegion();
}

// ---- Region data -------------------------------------------------------------------------------

std::uint32_t GetRegionData(HRGN region, std::uint32_t count, void* data) {
    RegionObject* r = Valid(region);
    if (!r) return 0;
    const std::uint32_t n = static_cast<std::uint32_t>(r->region.rectCount());
    const std::uint32_t need = sizeof(RGNDATAHEADER) + n * sizeof(TRect);
    if (!data) return need;
    if (count < need) return 0;
    RGNDATAHEADER h{};
    h.dwSize = sizeof(RGNDATAHEADER);
    h.iType = RDH_RECTANGLES;
    h.nCount = n;
    h.nRgnSize = n * sizeof(TRect);
    if (n > 0) {
        QRect q = r->region.boundingRect();
        h.rcBound = {q.left(), q.top(), q.right() + 1, q.bottom() + 1};
    }
    auto* out = static_cast<std::uint8_t*>(data);
    std::memcpy(out, &h, sizeof h);
    out += sizeof h;
    for (const QRect& q : r->region) {
        TRect rc{q.left(), q.top(), q.right() + 1, q.bottom() + 1};
        std::memcpy(out, &rc, sizeof rc);
        out += sizeof rc;
    }
    return count;
}

HRGN ExtCreateRegion(const void* transform, std::uint32_t count, const void* data) {
    if (transform || !data || count < sizeof(RGNDATAHEADER)) return nullptr;
    RGNDATAHEADER h;
    std::memcpy(&h, data, sizeof h);
    if (h.dwSize != sizeof(RGNDATAHEADER) || h.iType != RDH_RECTANGLES) return nullptr;
    if (h.nCount > (count - sizeof(RGNDATAHEADER)) / sizeof(TRect)) return nullptr;
    const auto* p = static_cast<const std::uint8_t*>(data) + sizeof h;
    std::vector<QRect> rects;
    rects.reserve(h.nCount);
    for (std::uint32_t i = 0; i < h.nCount; ++i) {
        TRect rc;
        std::memcpy(&rc, p + i * sizeof(TRect), sizeof rc);
        if (rc.Right > rc.Left && rc.Bottom > rc.Top)
            rects.emplace_back(QPoint(rc.Left, rc.Top), QPoint(rc.Right - 1, rc.Bottom - 1));
    }
    // Unite in halves, so that many rectangles cost n log n.
    auto unite = [&](auto&& self, std::size_t from, std::size_t to) -> QRegion {
        if (to - from == 0) return QRegion();
        if (to - from == 1) return QRegion(rects[from]);
        std::size_t mid = from + (to - from) / 2;
        return self(self, from, mid) | self(self, mid, to);
    };
    return NewRegion(unite(unite, 0, rects.size()));
}

// ---- Painting ----------------------------------------------------------------------------------

bool FillRgn(TCanvas& canvas, HRGN region) {
    RegionObject* r = Valid(region);
    if (!r) return false;
    return PaintWithBrush(canvas, r->region);
}

bool FillRgnPattern(TCanvas& canvas, HRGN region, const TBitmap& pattern) {
    RegionObject* r = Valid(region);
    if (!r || pattern.Empty()) return false;
    const int pw = pattern.Width(), ph = pattern.Height();
    std::vector<TColor> tile(static_cast<std::size_t>(pw) * ph);
    const QImage& src = pattern.Image();
    for (int y = 0; y < ph; ++y)
        for (int x = 0; x < pw; ++x) tile[static_cast<std::size_t>(y) * pw + x] = QColorToColor(src.pixelColor(x, y));
    return PaintRegion(canvas, r->region, [&](int x, int y, TColor& c) {
        c = tile[static_cast<std::size_t>(y % ph) * pw + x % pw];
        return true;
    });
}

bool FrameRgn(TCanvas& canvas, HRGN region, int width, int height) {
    RegionObject* r = Valid(region);
    if (!r) return false;
    QRegion inner = r->region;
    for (int i = 0; i < width; ++i) inner = Erode(inner, 1, 0);
    for (int i = 0; i < height; ++i) inner = Erode(inner, 0, 1);
    return PaintWithBrush(canvas, r->region - inner);
}

// ---- Arcs --------------------------------------------------------------------------------------

void Arc(TCanvas& canvas, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    ArcPoints a = MakeArc(x1, y1, x2, y2, x3, y3, x4, y4);
    if (a.pts.size() == 1) {
        canvas.MoveTo(a.pts[0].X, a.pts[0].Y);
        canvas.LineTo(a.pts[0].X + 1, a.pts[0].Y);
        return;
    }
    // The last pixel too: a width-1 polyline leaves out its end point (not in a path).
    TPoint last = a.pts.back();
    canvas.Polyline(a.pts);
    if (!PathOpen(canvas) && canvas.Pen()->Width() <= 1 && !(last == a.pts.front())) {
        TPoint before = a.pts[a.pts.size() - 2];
        a.pts = {last, {last.X + (last.X - before.X), last.Y + (last.Y - before.Y)}};
        canvas.Polyline(a.pts);
    }
}

void Pie(TCanvas& canvas, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    ArcPoints a = MakeArc(x1, y1, x2, y2, x3, y3, x4, y4);
    a.pts.push_back(a.centre);
    canvas.Polygon(a.pts);
}

void Chord(TCanvas& canvas, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    ArcPoints a = MakeArc(x1, y1, x2, y2, x3, y3, x4, y4);
    canvas.Polygon(a.pts);
}

}  // namespace gdi
