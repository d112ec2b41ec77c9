#include "platform/rtl/DateUtils.h"

#include <sys/time.h>

#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/rtl/SysUtils.h"

namespace rtl {

namespace {
// Days from 0001-01-01 (proleptic Gregorian, day 0) to 1899-12-30.
constexpr long long kDateDelta = 693593;
constexpr double kMsPerDay = 86400000.0;

long long daysFromCivil(int y, int m, int d) {  // days since 0001-01-01 (day 0)
    long long n = 0;
    const int py = y - 1;
    n = 365LL * py + py / 4 - py / 100 + py / 400;
    static const int cum[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    n += cum[m - 1] + (m > 2 && IsLeapYear(y) ? 1 : 0);
    return n + d - 1;
}

// Milliseconds of the day and day number of dt (time part counts from the day's start even for
// negative dates, as the platform does: -1.25 is 1899-12-29 06:00).
void split(TDateTime dt, long long& day, long long& ms) {
    const double whole = std::trunc(dt);
    long long t = std::llround(std::fabs(dt - whole) * kMsPerDay);
    day = static_cast<long long>(whole);
    if (t >= 86400000LL) {
        t -= 86400000LL;
        day += dt < 0 ? -1 : 1;
    }
    ms = t;
}
}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0); }

bool IsValidDate(int year, int month, int day) {
    static const int len[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    return day <= len[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

TDateTime EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) throw EConvertError(msg::DateEncodeError);
    return static_cast<double>(daysFromCivil(year, month, day) - kDateDelta);
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
        throw EConvertError(msg::TimeEncodeError);
    return (((hour * 60.0 + min) * 60.0 + sec) * 1000.0 + msec) / kMsPerDay;
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day) {
    long long d, ms;
    split(dt, d, ms);
    long long n = d + kDateDelta;  // days since 0001-01-01
    if (n < 0) {
        year = month = day = 0;
        return;
    }
    // 400-year cycles of 146097 days, then centuries, 4-year cycles and years.
    int y = 1;
    y += static_cast<int>(n / 146097) * 400;
    n %= 146097;
    long long c = n / 36524;
    if (c == 4) c = 3;
    y += static_cast<int>(c) * 100;
    n -= c * 36524;
    y += static_cast<int>(n / 1461) * 4;
    n %= 1461;
    long long yy = n / 365;
    if (yy == 4) yy = 3;
    y += static_cast<int>(yy);
    n -= yy * 365;
    static const int len[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int m = 0;
    for (;;) {
        const int l = len[m] + (m == 1 && IsLeapYear(y) ? 1 : 0);
        if (n < l) break;
        n -= l;
        ++m;
    }
    year = y;
    month = m + 1;
    day = static_cast<int>(n) + 1;
}

void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec) {
    long long d, ms;
    split(dt, d, ms);
    hour = static_cast<int>(ms / 3600000);
    min = static_cast<int>(ms / 60000 % 60);
    sec = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}

int YearOf(TDateTime dt) {
    int y, m, d;
    DecodeDate(dt, y, m, d);
    return y;
}

TDateTime Now() {
    struct timeval tv;
    ::gettimeofday(&tv, nullptr);
    struct tm lt;
    const time_t t = tv.tv_sec;
    ::localtime_r(&t, &lt);
    return EncodeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday) +
           EncodeTime(lt.tm_hour, lt.tm_min, lt.tm_sec > 59 ? 59 : lt.tm_sec, static_cast<int>(tv.tv_usec / 1000));
}

TDateTime Date() { return std::trunc(Now()); }
TDateTime Time() {
    const TDateTime n = Now();
    return n - std::trunc(n);
}

std::string DateToStr(TDateTime dt) {
    int y, m, d;
    DecodeDate(dt, y, m, d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d, m, y);
    return buf;
}

std::string TimeToStr(TDateTime dt) {
    int h, n, s, ms;
    DecodeTime(dt, h, n, s, ms);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", h, n, s);
    return buf;
}

std::string DateTimeToStr(TDateTime dt) {
    int h, n, s, ms;
    DecodeTime(dt, h, n, s, ms);
    if (h == 0 && n == 0 && s == 0) return DateToStr(dt);
    return DateToStr(dt) + " " + TimeToStr(dt);
}

}  // namespace rtl
