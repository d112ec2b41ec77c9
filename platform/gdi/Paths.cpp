// Path brackets of the canvas.
#include "platform/gdi/Paths.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace gdi {

namespace {

struct PathState {
    QPainterPath path;
    bool open = false;  // bracket open: recording
};

std::unordered_map<const TCanvas*, PathState>& Paths() {
    static std::unordered_map<const TCanvas*, PathState> paths;
    return paths;
}

PathState* Find(const TCanvas& canvas) {
    auto& m = Paths();
    if (m.empty()) return nullptr;
    auto it = m.find(&canvas);
    return it == m.end() ? nullptr : &it->second;
}

// The closed path of the canvas, or nullptr (none, or the bracket still open).
PathState* Closed(const TCanvas& canvas) {
    PathState* s = Find(canvas);
    return s && !s->open ? s : nullptr;
}

// The pixels whose point (x + 1/64, y + 1/64) lies inside the path, by its fill rule.
QRegion Rasterize(const QPainterPath& path) {
    const QRect box = path.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    if (box.isEmpty()) return {};
    QImage mask(box.size(), QImage::Format_ARGB32);
    if (mask.isNull()) return {};
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        constexpr double hair = 1.0 / 64;
        p.translate(-box.left() + 0.5 - hair, -box.top() + 0.5 - hair);
        p.drawPath(path);
    }
    // Rows of runs; equal neighbouring rows become one band.
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> prevRuns, runs;
    std::size_t bandStart = 0;
    for (int y = 0; y < mask.height(); ++y) {
        runs.clear();
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width();) {
            if (qAlpha(row[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < mask.width() && qAlpha(row[x]) != 0) ++x;
            runs.emplace_back(start, x);
        }
        if (!runs.empty() && runs == prevRuns && y > 0) {
            for (std::size_t i = bandStart; i < rects.size(); ++i) rects[i].setBottom(rects[i].bottom() + 1);
        } else {
            bandStart = rects.size();
            for (const auto& [a, b] : runs) rects.emplace_back(box.left() + a, box.top() + y, b - a, 1);
        }
        prevRuns.swap(runs);
    }
    auto unite = [&](auto&& self, std::size_t from, std::size_t to) -> QRegion {
        if (to == from) return QRegion();
        if (to - from == 1) return QRegion(rects[from]);
        const std::size_t mid = from + (to - from) / 2;
        return self(self, from, mid) | self(self, mid, to);
    };
    return unite(unite, 0, rects.size());
}

void Stroke(TCanvas& canvas, const QPainterPath& path) {
    for (const QPolygonF& poly : path.toSubpathPolygons()) {
        std::vector<TPoint> pts;
        for (const QPointF& q : poly) {
            const TPoint p{static_cast<int>(std::lround(q.x())), static_cast<int>(std::lround(q.y()))};
            if (pts.empty() || !(pts.back() == p)) pts.push_back(p);
        }
        if (pts.size() == 1) pts.push_back({pts[0].X + 1, pts[0].Y});
        canvas.Polyline(pts);
    }
}

bool Fill(TCanvas& canvas, const QPainterPath& path) {
    HRGN r = CreateRgnFromQRegion(Rasterize(path));
    const bool ok = FillRgn(canvas, r);
    DeleteObject(r);
    return ok;
}

}  // namespace

bool BeginPath(TCanvas& canvas) {
    PathState& s = Paths()[&canvas];
    if (s.open) return false;
    s.path = QPainterPath();
    s.path.setFillRule(Qt::OddEvenFill);
    s.open = true;
    return true;
}

bool EndPath(TCanvas& canvas) {
    PathState* s = Find(canvas);
    if (!s || !s->open) return false;
    s->open = false;
    return true;
}

bool AbortPath(TCanvas& canvas) {
    if (!Find(canvas)) return false;
    Paths().erase(&canvas);
    return true;
}

bool StrokePath(TCanvas& canvas) {
    PathState* s = Closed(canvas);
    if (!s) return false;
    const QPainterPath path = s->path;
    Paths().erase(&canvas);
    Stroke(canvas, path);
    return true;
}

bool FillPath(TCanvas& canvas) {
    PathState* s = Closed(canvas);
    if (!s) return false;
    const QPainterPath path = s->path;
    Paths().erase(&canvas);
    return Fill(canvas, path);
}

bool StrokeAndFillPath(TCanvas& canvas) {
    PathState* s = Closed(canvas);
    if (!s) return false;
    const QPainterPath path = s->path;
    Paths().erase(&canvas);
    Fill(canvas, path);
    Stroke(canvas, path);
    return true;
}

bool WidenPath(TCanvas& canvas) {
    PathState* s = Closed(canvas);
    if (!s) return false;
    QPainterPathStroker stroker;
    stroker.setWidth(std::max(1, canvas.Pen()->Width()));
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath wide = stroker.createStroke(s->path);
    wide.setFillRule(Qt::WindingFill);
    s->path = wide;
    return true;
}

HRGN PathToRegion(TCanvas& canvas) {
    PathState* s = Closed(canvas);
    if (!s) return nullptr;
    const QRegion r = Rasterize(s->path);
    Paths().erase(&canvas);
    return CreateRgnFromQRegion(r);
}

bool PathOpen(const TCanvas& canvas) {
    const PathState* s = Find(canvas);
    return s && s->open;
}

namespace detail {

QPainterPath* RecordingPath(const TCanvas& canvas) {
    PathState* s = Find(canvas);
    return s && s->open ? &s->path : nullptr;
}

void ForgetPath(const TCanvas& canvas) {
    auto& m = Paths();
    if (!m.empty()) m.erase(&canvas);
}

}  // namespace detail

}  // namespace gdi
