#include "viewer/SkalarFeld2.h"

#include <cmath>

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
    DoubleArray c;
    if (Dim == 1) {
        c = x;
    } else if (Dim == 2) {
        c = y;
    } else {
        WarnWithDetail("False Dimension in getSteps!", "");
    }
    SortDoubles(c);
    RemoveDuplicateDoubles(c, true);
    const double step = static_cast<double>(RoundDigits(1, std::fabs(c[0] - c[1])));
    if (!(step > 0)) {
        throw rtl::Exception(rtl::Format(
            "Die Rasterweite der Ebene (%s m) ist kleiner als 0,05 m; die Ebene kann nicht "
            "dargestellt werden",
            rtl::FloatToStr(std::fabs(c[0] - c[1]))));
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
