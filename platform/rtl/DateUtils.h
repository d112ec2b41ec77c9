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
