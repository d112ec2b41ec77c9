#include "viewer/SkalarFeld2.h"

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
    const double gap = std::fabs(lo - next);
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
