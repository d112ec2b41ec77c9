// One horizontal plane as scattered samples, with its grid step and a nearest-sample search.
#pragma once

#include <cstdint>

#include "foundation/cUtils.h"
#include "platform/rtl/Classes.h"

class TSkalarFeld2 : public rtl::TObject {
public:
    DoubleArray Feld;  // sample values (magnitude or one component)
    DoubleArray x;     // sample x (m)
    DoubleArray y;     // sample y (m)

    void Clear();
    // Appends one sample; returns its index (the former count).
    int Add(double X, double Y, double F);
    // Grid step along x (Dim 1) or y (Dim 2): the distance of the two smallest distinct
    // coordinates, rounded to 0.1 m. Fewer than two distinct coordinates raise the range error;
    // a step that rounds to 0 raises an error, since the map divides by it.
    double getSteps(uint16_t Dim) const;
    // Index of the sample nearest to (X, Y); ties resolve as MinWithIndex does. The plane
    // must not be empty.
    int NearestSample(double X, double Y) const;
    // Feld[I], with index check.
    double Value(int I) const { return Feld[I]; }
    int Count() const { return Feld.Length(); }
};
