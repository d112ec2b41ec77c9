#include "viewer/SkalarFeld2.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/DebugLib.h"
#include "foundation/MathLib.h"

void TSkalarFeld2::Clear() {
    Feld.clear();
    x.clear();
    y.clear();
}

int TSkalarFeld2::Add(double X, double Y, double F) {
    const int index = Feld.Length();
    x.push_back(X);
    y.push_back(Y);
    Feld.push_back(F);
    return index;
}

double TSkalarFeld2::getSteps(uint16_t Dim) const {
    const DoubleArray* c = nullptr;
    if (Dim == 1) {
        c = &x;
    } else if (Dim == 2) {
        c = &y;
    } else {
        WarnWithDetail("False Dimension in getSteps!", "");
    }
    // The two smallest distinct coordinates, in one pass (the same pair a sorted, de-duplicated
    // copy would start with).
    double lo = std::numeric_limits<double>::infinity();
    double next = std::numeric_limits<double>::infinity();
    int distinct = 0;
    if (c) {
        for (double v : *c) {
            if (v < lo) {
                if (distinct > 0) next = lo;
                lo = v;
                distinct = distinct > 0 ? 2 : 1;
            } else if (v > lo && v < next) {
                next = v;
                distinct = 2;
            }
        }
    }
    if (distinct < 2) rtl::RaiseRangeError();
    return StepOfSmallest(lo, next);
}

double TSkalarFeld2::StepOfSmallest(double Lo, double Next) {
    if (!(Next < std::numeric_limits<double>::infinity())) rtl::RaiseRangeError();
    const double gap = std::fabs(Lo - Next);
    const double step = static_cast<double>(RoundDigits(1, gap));
    if (!(step > 0)) {
        throw rtl::Exception(rtl::Format(
            "Die Rasterweite der Ebene (%s m) ist kleiner als 0,05 m; die Ebene kann nicht "
            "dargestellt werden",
            rtl::FloatToStr(gap)));
    }
    return step;
}

int TSkalarFeld2::NearestSample(double X, double Y) const {
    const int n = Feld.Length();
    DoubleArray dist;
    dist.SetLength(n);
    const double* px = x.data();
    const double* py = y.data();
    double* pd = dist.data();
    for (int k = 0; k < n; ++k) {
        const double dx = px[k] - X;
        const double dy = py[k] - Y;
        pd[k] = std::sqrt(dx * dx + dy * dy);
    }
    double minValue = 0;
    return MinWithIndex(dist, minValue);
}

namespace {

constexpr double kOrdinary = 1e150;  // squares of coordinate differences stay finite

bool Ordinary(double v) { return std::fabs(v) <= kOrdinary; }  // False for NaN

}  // namespace

TNearestSampleGrid::TNearestSampleGrid(const TSkalarFeld2& Plane) : plane_(Plane) {
    const int n = Plane.Count();
    if (n < 16 || Plane.x.Length() < n || Plane.y.Length() < n) return;
    const double* px = Plane.x.data();
    const double* py = Plane.y.data();
    double xMin = px[0], xMax = px[0], yMin = py[0], yMax = py[0];
    for (int k = 0; k < n; ++k) {
        if (!Ordinary(px[k]) || !Ordinary(py[k])) return;
        xMin = std::min(xMin, px[k]);
        xMax = std::max(xMax, px[k]);
        yMin = std::min(yMin, py[k]);
        yMax = std::max(yMax, py[k]);
    }
    const double w = xMax - xMin, h = yMax - yMin;
    // About two samples per cell.
    const double cells = std::max(1.0, n / 2.0);
    double c;
    if (w > 0 && h > 0)
        c = std::sqrt(w * h / cells);
    else if (w > 0 || h > 0)
        c = std::max(w, h) / cells;
    else
        c = 1;
    const double maxSide = 4096;
    c = std::max({c, w / maxSide, h / maxSide});
    if (!(c > 0) || !std::isfinite(c)) return;
    x0_ = xMin;
    y0_ = yMin;
    cell_ = c;
    nx_ = static_cast<int>(std::min(maxSide, std::floor(w / c) + 1));
    ny_ = static_cast<int>(std::min(maxSide, std::floor(h / c) + 1));
    // A sample within rounding distance of a cell border may land in the neighbouring cell;
    // the search's margin covers that.
    const double perCell = 1 / cell_;
    const auto cellOf = [this, px, py, perCell](int k) {
        const int ix = std::clamp(static_cast<int>((px[k] - x0_) * perCell), 0, nx_ - 1);
        const int iy = std::clamp(static_cast<int>((py[k] - y0_) * perCell), 0, ny_ - 1);
        return iy * nx_ + ix;
    };
    start_.assign(static_cast<std::size_t>(nx_) * ny_ + 1, 0);
    for (int k = 0; k < n; ++k) ++start_[static_cast<std::size_t>(cellOf(k)) + 1];
    for (std::size_t i = 1; i < start_.size(); ++i) start_[i] += start_[i - 1];
    members_.resize(static_cast<std::size_t>(n));
    std::vector<int> fill(start_.begin(), start_.end() - 1);
    for (int k = 0; k < n; ++k) members_[static_cast<std::size_t>(fill[static_cast<std::size_t>(cellOf(k))]++)] = k;
    usable_ = true;
}

// The nearest distance is searched with the distances computed as NearestSample computes them;
// after ring r every unseen sample lies beyond the border of the rings searched, and the search
// stops once that border is farther than the nearest distance found (with a margin for the
// rounding of cell positions), so that every sample at the nearest distance has been seen.
int TNearestSampleGrid::Nearest(double X, double Y) const {
    if (!usable_ || !Ordinary(X) || !Ordinary(Y)) return plane_.NearestSample(X, Y);
    const double* px = plane_.x.data();
    const double* py = plane_.y.data();
    const double fx = std::floor((X - x0_) / cell_), fy = std::floor((Y - y0_) / cell_);
    const int qx = static_cast<int>(std::clamp(fx, 0.0, static_cast<double>(nx_ - 1)));
    const int qy = static_cast<int>(std::clamp(fy, 0.0, static_cast<double>(ny_ - 1)));
    const double margin = 1e-6 * cell_ + 1e-9 * (std::fabs(X) + std::fabs(Y) + std::fabs(x0_) +
                                                 std::fabs(y0_) + cell_ * (nx_ + ny_));
    double best = std::numeric_limits<double>::infinity();
    int bestIndex = -1, ties = 0;
    const auto visit = [&](int ix, int iy) {
        const std::size_t cell = static_cast<std::size_t>(iy) * nx_ + ix;
        for (int m = start_[cell]; m < start_[cell + 1]; ++m) {
            const int k = members_[static_cast<std::size_t>(m)];
            const double dx = px[k] - X;
            const double dy = py[k] - Y;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d < best) {
                best = d;
                bestIndex = k;
                ties = 1;
            } else if (d == best) {
                ++ties;
            }
        }
    };
    const int rMax = std::max({qx, nx_ - 1 - qx, qy, ny_ - 1 - qy});
    for (int r = 0; r <= rMax; ++r) {
        const int xa = qx - r, xb = qx + r, ya = qy - r, yb = qy + r;
        for (int iy = std::max(ya, 0); iy <= std::min(yb, ny_ - 1); ++iy) {
            if (iy == ya || iy == yb) {
                for (int ix = std::max(xa, 0); ix <= std::min(xb, nx_ - 1); ++ix) visit(ix, iy);
            } else {
                if (xa >= 0) visit(xa, iy);
                if (xb <= nx_ - 1) visit(xb, iy);
            }
        }
        // Distance to the nearest unseen cell: the border of the searched block on each side
        // that still has cells beyond it.
        double border = std::numeric_limits<double>::infinity();
        if (xa > 0) border = std::min(border, X - (x0_ + xa * cell_));
        if (xb < nx_ - 1) border = std::min(border, x0_ + (xb + 1) * cell_ - X);
        if (ya > 0) border = std::min(border, Y - (y0_ + ya * cell_));
        if (yb < ny_ - 1) border = std::min(border, y0_ + (yb + 1) * cell_ - Y);
        if (border - margin > best) break;
    }
    if (ties != 1) return plane_.NearestSample(X, Y);
    return bestIndex;
}
