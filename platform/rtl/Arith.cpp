#include "platform/rtl/Arith.h"

#include <cstdint>
#include <limits>

namespace rtl {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const bool negative = (p < 0) != (c < 0);
    const unsigned __int128 ap = p < 0 ? static_cast<unsigned __int128>(-static_cast<__int128>(p))
                                       : static_cast<unsigned __int128>(p);
    const unsigned __int128 ac = c < 0 ? static_cast<unsigned __int128>(-static_cast<__int128>(c))
                                       : static_cast<unsigned __int128>(c);
    const unsigned __int128 q = (2 * ap + ac) / (2 * ac);
    const __int128 r = negative ? -static_cast<__int128>(q) : static_cast<__int128>(q);
    if (r > std::numeric_limits<int>::max() || r < std::numeric_limits<int>::min()) return -1;
    return static_cast<int>(r);
}

}  // namespace rtl
