// One horizontal plane as scattered samples, with its grid step and a nearest-sample search.
#pragma once

#include <cstdint>
#include <vector>

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
    // The step of getSteps from the two smallest distinct coordinates Lo < Next; a Next that is
    // not below +inf (fewer than two) raises the range error.
    static double StepOfSmallest(double Lo, double Next);
    // Index of the sample nearest to (X, Y); ties resolve as MinWithIndex does. The plane
    // must not be empty.
    int NearestSample(double X, double Y) const;
    // Feld[I], with index check.
    double Value(int I) const { return Feld[I]; }
    int Count() const { return Feld.Length(); }
};

// The nearest samples of one plane for many query points: the samples sorted into a grid of
// cells, searched ring by ring around the query until no unseen cell can hold a sample as near
// as the nearest one found. The answer is TSkalarFeld2::NearestSample's: the unique nearest
// sample, and NearestSample itself when the nearest distance occurs more than once or the plane
// or the query holds a coordinate that is not a finite number of ordinary size.
class TNearestSampleGrid {
public:
    // The plane must outlive the grid and stay unchanged.
    explicit TNearestSampleGrid(const TSkalarFeld2& Plane);
    int Nearest(double X, double Y) const;

private:
    const TSkalarFeld2& plane_;
    bool usable_ = false;
    double x0_ = 0, y0_ = 0, cell_ = 1;
    int nx_ = 1, ny_ = 1;
    std::vector<int> start_;   // per cell: first position in members_; one more at the end
    std::vector<int> members_;  // sample indices, ascending within a cell
};
