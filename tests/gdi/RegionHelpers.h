// Test helpers for regions: an owning handle, the region as text, and a self-crossing star.
#pragma once

#include <array>
#include <string>

#include "platform/gdi/Regions.h"

namespace gdi::test {

// The region as text: '#' where PtInRegion holds, '.' elsewhere, over w x h from (0, 0).
inline std::string Pixels(HRGN rgn, int w, int h) {
    std::string s;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) s += PtInRegion(rgn, x, y) ? '#' : '.';
        s += '\n';
    }
    return s;
}

// Owns a region handle for the length of a test.
struct Rgn {
    HRGN h;
    explicit Rgn(HRGN handle) : h(handle) {}
    ~Rgn() { DeleteObject(h); }
    Rgn(const Rgn&) = delete;
    Rgn& operator=(const Rgn&) = delete;
    operator HRGN() const { return h; }
};

// A five-pointed star drawn in one stroke: its centre is inside under WINDING only.
inline const std::array<TPoint, 5> kPentagram = {{{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}}};

}  // namespace gdi::test
