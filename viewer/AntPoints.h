// A list of named 3-D points: the antenna wires and the ground outline of the overlay.
#pragma once

#include <string>

#include "foundation/cUtils.h"
#include "platform/rtl/Classes.h"

class TAntPoints : public rtl::TObject {
public:
    DoubleArray x;
    DoubleArray y;
    DoubleArray z;
    StringArray Names;

    // Appends one point to all four arrays.
    void Add(const std::string& Name, double X, double Y, double Z);
    void Clear();
    // Cuts the four arrays to the length of the shortest and returns it (the number of complete
    // points); more than MaxPoints points raise the range error.
    int16_t Trim();
    static constexpr int MaxPoints = 32767;
    int Count() const { return Names.Length(); }

    // The point list as one value list of the tagged value stream, from the stream's position:
    // list begin; the highest index of Names, x, y and z; every name; every x; every y; every z;
    // list end. Returns True; stream errors are exceptions.
    bool SaveToStream(rtl::TStream& Stream) const;
    // Reads one such list and appends its points; the stream is left directly behind the list.
    // A list that is cut short or malformed raises rtl::EReadError and appends nothing.
    bool LoadFromStream(rtl::TStream& Stream);
};
