// The per-user locale store: the stand-in for the operating system's locale settings on the
// original platform. It holds 28 number, currency, date and time values, each derived from
// the POSIX locale of the user's environment on first use and then kept in an INI file under
// the user's configuration directory ($FELDOR_CONFIG_DIR, else $XDG_CONFIG_HOME/feldor, else
// ~/.config/feldor), so a value set by one process is what the next process reads.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace sys {

// The locale values in the order of the platform's constant names.
enum class LocaleValue {
    CalendarType,          // ICALENDARTYPE: 1 Gregorian
    CurrencyDigits,        // ICURRDIGITS: fraction digits of money amounts
    Currency,              // ICURRENCY: positive currency format 0..3
    Digits,                // IDIGITS: fraction digits of numbers
    FirstDayOfWeek,        // IFIRSTDAYOFWEEK: 0 Monday .. 6 Sunday
    FirstWeekOfYear,       // IFIRSTWEEKOFYEAR: 0 week of 1 Jan, 1 first full week, 2 first 4-day week
    LeadingZero,           // ILZERO: 1 when fractions below 1 show a leading zero
    Measure,               // IMEASURE: 0 metric, 1 US
    NegativeCurrency,      // INEGCURR: negative currency format 0..15
    NegativeNumber,        // INEGNUMBER: negative number format 0..4
    Time,                  // ITIME: 0 12-hour, 1 24-hour clock
    MorningSymbol,         // S1159
    AfternoonSymbol,       // S2359
    CurrencySymbol,        // SCURRENCY
    DateSeparator,         // SDATE
    DecimalSeparator,      // SDECIMAL
    Grouping,              // SGROUPING, as "3;0"
    ListSeparator,         // SLIST
    LongDateFormat,        // SLONGDATE
    MonetaryDecimal,       // SMONDECIMALSEP
    MonetaryGrouping,      // SMONGROUPING
    MonetaryThousand,      // SMONTHOUSANDSEP
    NegativeSign,          // SNEGATIVESIGN
    PositiveSign,          // SPOSITIVESIGN
    ShortDateFormat,       // SSHORTDATE
    Thousand,              // STHOUSAND
    TimeSeparator,         // STIME
    TimeFormat,            // STIMEFORMAT
};
inline constexpr int LocaleValueCount = 28;

// The key of a value in the store file and the most characters (code points) it may hold.
const char* LocaleValueKey(int index);
int LocaleValueMaxLength(int index);

// The value in force. A value the store does not hold yet is derived from the POSIX locale
// and written to the store (a failed write is ignored). No value for an index outside
// 0..27 or a store file that exists but cannot be read.
std::optional<std::string> GetLocaleValue(int index);
std::optional<std::string> GetLocaleValue(LocaleValue v);
// Persists one value. False, with nothing written, for an index outside 0..27, a value longer
// than its limit or holding control characters, or a store that cannot be written.
bool SetLocaleValue(int index, const std::string& value);
bool SetLocaleValue(LocaleValue v, const std::string& value);

// The facts of a POSIX locale from which the values are derived (nl_langinfo's texts; the
// CHAR_MAX entries of the monetary numbers stand for "not given").
struct PosixLocaleFacts {
    std::string Radix, ThousandsSep, Grouping;
    std::string MonDecimal, MonThousandsSep, MonGrouping;
    std::string CurrencySymbol, PositiveSign, NegativeSign;
    int FracDigits = 127;
    int PCsPrecedes = 127, PSepBySpace = 127;
    int NCsPrecedes = 127, NSepBySpace = 127, NSignPosn = 127;
    std::string DateFormat, TimeFormat, AmString, PmString;
    int FirstWeekday = 0;       // 1 the week's start day of the locale (a Sunday), 2 the day after ..
    int FirstWeekMinDays = 0;   // days of the first week of the year, 0 not given
    int Measurement = 0;        // 1 metric, 2 US, 0 not given
};
// Facts of the environment's locale (LC_NUMERIC, LC_MONETARY, LC_TIME, LC_MEASUREMENT).
PosixLocaleFacts CurrentPosixLocaleFacts();
std::array<std::string, LocaleValueCount> DeriveLocaleValues(const PosixLocaleFacts& f);
std::string PosixLocaleValue(int index);

// The four separators that the number conversion uses. A separator of '\0' stands for an
// empty locale value; a non-ASCII first character reads as a blank.
struct LocaleSeparators {
    char Decimal = ',';
    char Thousand = '.';
    char List = ';';
    char CurrencyThousand = '.';
    bool operator==(const LocaleSeparators&) const = default;
};

LocaleSeparators GetLocaleSeparators();
// Persists all four separators; raises rtl::EFCreateError when the file cannot be written,
// in which case the old values stay in force.
void SetLocaleSeparators(const LocaleSeparators& s);
LocaleSeparators PosixLocaleSeparators();

// Directory of the store; an empty string returns to the default (environment) lookup.
void SetLocaleStoreDirectory(const std::string& dir);
std::string LocaleStoreDirectory();
std::string LocaleStoreFileName();

// Copies the store into the class library's copies (rtl::FormatSettings() and
// rtl::DateFormatSettings()); called once at start.
void LoadFormatSettingsFromLocale();

}  // namespace sys
