// Integer arithmetic of the original platform.
#pragma once

namespace rtl {

// a * b / c computed in 64 bits and rounded half away from zero; -1 when c is 0 or the result
// does not fit 32 bits.
int MulDiv(int a, int b, int c);

}  // namespace rtl
