#include "platform/rtl/DateUtils.h"

#include <sys/time.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <langinfo.h>
#include <locale.h>

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

TDateFormatSettings& DateFormatSettings() {
    static TDateFormatSettings s;
    return s;
}

void LoadDateNamesFromPosixLocale(TDateFormatSettings& s) {
    locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (!loc) return;
    auto text = [&](nl_item item, std::string& dst) {
        const char* v = nl_langinfo_l(item, loc);
        if (v && *v) dst = v;
    };
    static const nl_item abMon[12] = {ABMON_1, ABMON_2, ABMON_3, ABMON_4,  ABMON_5,  ABMON_6,
                                      ABMON_7, ABMON_8, ABMON_9, ABMON_10, ABMON_11, ABMON_12};
    static const nl_item mon[12] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                    MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
    static const nl_item abDay[7] = {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4, ABDAY_5, ABDAY_6, ABDAY_7};
    static const nl_item day[7] = {DAY_1, DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7};
    for (int i = 0; i < 12; ++i) {
        text(abMon[i], s.ShortMonthNames[i]);
        text(mon[i], s.LongMonthNames[i]);
    }
    for (int i = 0; i < 7; ++i) {
        text(abDay[i], s.ShortDayNames[i]);
        text(day[i], s.LongDayNames[i]);
    }
    freelocale(loc);
}

std::string ShortTimeFromLongTime(const std::string& longTime) {
    // Drop the seconds token together with the separator text in front of it.
    bool quoted = false;
    char quote = 0;
    std::size_t lastTokenEnd = 0;
    for (std::size_t i = 0; i < longTime.size(); ++i) {
        const char c = longTime[i];
        if (quoted) {
            if (c == quote) quoted = false;
            continue;
        }
        if (c == '\'' || c == '"') {
            quoted = true;
            quote = c;
            continue;
        }
        if (c == 's' || c == 'S') {
            std::size_t e = i;
            while (e < longTime.size() && (longTime[e] == 's' || longTime[e] == 'S')) ++e;
            return longTime.substr(0, lastTokenEnd) + longTime.substr(e);
        }
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) lastTokenEnd = i + 1;
    }
    return longTime;
}

int DayOfWeek(TDateTime dt) {
    long long d, ms;
    split(dt, d, ms);
    // 1899-12-30 was a Saturday (7).
    long long w = (d + 6) % 7;
    if (w < 0) w += 7;
    return static_cast<int>(w) + 1;
}

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool startsWithNoCase(std::string_view s, std::size_t pos, std::string_view what) {
    if (s.size() - pos < what.size()) return false;
    for (std::size_t i = 0; i < what.size(); ++i)
        if (upper(s[pos + i]) != upper(what[i])) return false;
    return true;
}

void appendNumber(std::string& out, int value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", digits, value);
    out += buf;
}

struct DateParts {
    int year, month, day, hour, minute, second, msec, dow;
};

void formatInto(std::string& out, std::string_view fmt, const DateParts& p, const TDateFormatSettings& s,
                int level) {
    if (fmt.empty()) fmt = "C";
    char lastToken = ' ';
    bool use12Hour = false;
    std::size_t i = 0;
    auto count = [&](char tok) {
        std::size_t n = 1;
        while (i < fmt.size() && upper(fmt[i]) == tok) {
            ++i;
            ++n;
        }
        return static_cast<int>(n);
    };
    auto nested = [&](const std::string& sub) {
        if (level < 2) formatInto(out, sub, p, s, level + 1);
    };
    while (i < fmt.size()) {
        const char raw = fmt[i];
        const std::size_t start = i;
        char token = upper(raw);
        ++i;
        if (token >= 'A' && token <= 'Z') {
            if (token == 'M' && lastToken == 'H') token = 'N';
            lastToken = token;
        }
        switch (token) {
        case 'Y': {
            const int n = count('Y');
            if (n <= 2)
                appendNumber(out, p.year % 100, 2);
            else
                appendNumber(out, p.year, 4);
            break;
        }
        case 'M': {
            const int n = count('M');
            if (n <= 2)
                appendNumber(out, p.month, n);
            else
                out += n == 3 ? s.ShortMonthNames[p.month - 1] : s.LongMonthNames[p.month - 1];
            break;
        }
        case 'D': {
            const int n = count('D');
            if (n <= 2)
                appendNumber(out, p.day, n);
            else if (n == 3)
                out += s.ShortDayNames[p.dow - 1];
            else if (n == 4)
                out += s.LongDayNames[p.dow - 1];
            else if (n == 5)
                nested(s.ShortDateFormat);
            else
                nested(s.LongDateFormat);
            break;
        }
        case 'H': {
            int n = count('H');
            // A 12-hour clock when an am/pm token follows before the next hour token.
            bool inQuotes = false;
            for (std::size_t k = i; k < fmt.size(); ++k) {
                const char c = fmt[k];
                if (c == '\'' || c == '"') {
                    inQuotes = !inQuotes;
                } else if (!inQuotes && (c == 'h' || c == 'H')) {
                    break;
                } else if (!inQuotes && (c == 'a' || c == 'A')) {
                    if (startsWithNoCase(fmt, k, "AM/PM") || startsWithNoCase(fmt, k, "A/P") ||
                        startsWithNoCase(fmt, k, "AMPM"))
                        use12Hour = true;
                    break;
                }
            }
            int h = p.hour;
            if (use12Hour) {
                if (h == 0)
                    h = 12;
                else if (h > 12)
                    h -= 12;
            }
            appendNumber(out, h, n > 2 ? 2 : n);
            break;
        }
        case 'N': {
            const int n = count(upper(raw));
            appendNumber(out, p.minute, n > 2 ? 2 : n);
            break;
        }
        case 'S': {
            const int n = count('S');
            appendNumber(out, p.second, n > 2 ? 2 : n);
            break;
        }
        case 'Z': {
            const int n = count('Z');
            appendNumber(out, p.msec, n > 1 ? 3 : 1);
            break;
        }
        case 'T': {
            const int n = count('T');
            nested(n == 1 ? s.ShortTimeFormat : s.LongTimeFormat);
            break;
        }
        case 'A': {
            if (startsWithNoCase(fmt, start, "AM/PM")) {
                out.append(fmt.substr(start + (p.hour >= 12 ? 3 : 0), 2));
                i = start + 5;
                use12Hour = true;
            } else if (startsWithNoCase(fmt, start, "A/P")) {
                out.append(fmt.substr(start + (p.hour >= 12 ? 2 : 0), 1));
                i = start + 3;
                use12Hour = true;
            } else if (startsWithNoCase(fmt, start, "AMPM")) {
                out += p.hour < 12 ? s.TimeAMString : s.TimePMString;
                i = start + 4;
                use12Hour = true;
            } else if (startsWithNoCase(fmt, start, "AAAA")) {
                out += s.LongDayNames[p.dow - 1];
                i = start + 4;
            } else if (startsWithNoCase(fmt, start, "AAA")) {
                out += s.ShortDayNames[p.dow - 1];
                i = start + 3;
            } else {
                out += raw;
            }
            break;
        }
        case 'C': {
            count('C');
            nested(s.ShortDateFormat);
            if (p.hour != 0 || p.minute != 0 || p.second != 0 || p.msec != 0) {
                out += ' ';
                nested(s.LongTimeFormat);
            }
            break;
        }
        case '/': out += s.DateSeparator; break;
        case ':': out += s.TimeSeparator; break;
        case '\'':
        case '"': {
            const std::size_t end = fmt.find(raw, i);
            if (end == std::string_view::npos) {
                out.append(fmt.substr(i));
                i = fmt.size();
            } else {
                out.append(fmt.substr(i, end - i));
                i = end + 1;
            }
            break;
        }
        default: out += raw; break;
        }
    }
}

}  // namespace

std::string FormatDateTime(const std::string& format, TDateTime dt) {
    return FormatDateTime(format, dt, DateFormatSettings());
}

std::string FormatDateTime(const std::string& format, TDateTime dt, const TDateFormatSettings& s) {
    DateParts p{};
    DecodeDate(dt, p.year, p.month, p.day);
    DecodeTime(dt, p.hour, p.minute, p.second, p.msec);
    p.dow = DayOfWeek(dt);
    if (p.month < 1) p.month = 1;  // before year 1: no calendar date
    std::string out;
    formatInto(out, format, p, s, 0);
    return out;
}

}  // namespace rtl
