// Dates and times as the platform's TDateTime: days since 1899-12-30 (integral part) plus the
// fraction of the day, in local time.
#pragma once

#include <string>

namespace rtl {

using TDateTime = double;

namespace msg {
inline constexpr const char* DateEncodeError = "Ungültiges Argument für Datumskodierung";
inline constexpr const char* TimeEncodeError = "Ungültiges Argument für Zeitkodierung";
}  // namespace msg

TDateTime Now();   // local date and time
TDateTime Date();  // local date, time 00:00
TDateTime Time();  // local time of day (fraction only)

// EConvertError (msg::DateEncodeError / TimeEncodeError) for an invalid date or time.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool IsValidDate(int year, int month, int day);
bool IsLeapYear(int year);
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);
int YearOf(TDateTime dt);

std::string DateToStr(TDateTime dt);      // "dd.mm.yyyy"
std::string TimeToStr(TDateTime dt);      // "hh:nn:ss"
std::string DateTimeToStr(TDateTime dt);  // "dd.mm.yyyy hh:nn:ss" (time left out at 00:00:00)

}  // namespace rtl

namespace rtl {

// The class library's copy of the date and time settings, taken at start from the locale
// store (platform/sys); before that the German defaults.
struct TDateFormatSettings {
    std::string DateSeparator = ".";
    std::string TimeSeparator = ":";
    std::string ShortDateFormat = "dd.MM.yyyy";
    std::string LongDateFormat = "dddd, d. MMMM yyyy";
    std::string ShortTimeFormat = "hh:mm";
    std::string LongTimeFormat = "hh:mm:ss";
    std::string TimeAMString;
    std::string TimePMString;
    std::string ShortMonthNames[12] = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                                       "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    std::string LongMonthNames[12] = {"Januar", "Februar", "März",     "April",   "Mai",      "Juni",
                                      "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    // Sunday first.
    std::string ShortDayNames[7] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    std::string LongDayNames[7] = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
};
TDateFormatSettings& DateFormatSettings();

// Month and day names of the environment's POSIX locale (LC_TIME).
void LoadDateNamesFromPosixLocale(TDateFormatSettings& s);
// The long time picture without its seconds ("HH:mm:ss" -> "HH:mm").
std::string ShortTimeFromLongTime(const std::string& longTime);

// 1 Sunday .. 7 Saturday.
int DayOfWeek(TDateTime dt);

// The class library's date-time formatting. Tokens are case-insensitive: y yy yyyy, m mm mmm
// mmmm (minutes right after an h or hh token), d dd ddd dddd ddddd dddddd, h hh, n nn, s ss,
// z zzz, t tt, am/pm a/p ampm, c; '/' and ':' give the date and time separators; text in
// single or double quotes and any other character are copied. An empty format is "c".
std::string FormatDateTime(const std::string& format, TDateTime dt);
std::string FormatDateTime(const std::string& format, TDateTime dt, const TDateFormatSettings& s);

}  // namespace rtl
