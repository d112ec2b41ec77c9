// Distance between two time stamps.
#pragma once

#include <cstdint>

#include "platform/rtl/DateUtils.h"

// Milliseconds from D1 to D2 (positive when D2 is later), truncated toward zero; the value
// wraps like a 32-bit integer.
std::int64_t DiffMilliseconds(rtl::TDateTime D1, rtl::TDateTime D2);
