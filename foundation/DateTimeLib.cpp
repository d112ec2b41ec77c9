#include "foundation/DateTimeLib.h"

#include "platform/rtl/DateUtils.h"

std::string NowDateString() { return rtl::DateToStr(rtl::Now()); }

std::string NowTimeString() { return rtl::TimeToStr(rtl::Now()); }

std::string NowYearString() { return std::to_string(rtl::YearOf(rtl::Now())); }
