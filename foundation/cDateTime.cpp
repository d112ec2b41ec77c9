#include "foundation/cDateTime.h"

#include "platform/rtl/SysUtils.h"

std::int64_t DiffMilliseconds(rtl::TDateTime D1, rtl::TDateTime D2)
{
    const long double OneMs = 1.0L / 86400000.0L;  // one millisecond in days
    const long long Ms = rtl::Trunc((static_cast<long double>(D2) - D1) / OneMs);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(Ms));
}
