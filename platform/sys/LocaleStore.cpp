#include "platform/sys/LocaleStore.h"

#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FileReplace.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"

namespace sys {

namespace {

constexpr const char* kSection = "Locale";
constexpr const char* kOldSection = "Separators";  // stores that held only the separators
constexpr const char* kFileName = "locale.ini";

struct ValueInfo {
    const char* key;
    int maxLength;
};

// Separators hold at most 3 characters, the date and time pictures 79.
constexpr ValueInfo kValues[LocaleValueCount] = {
    {"ICALENDARTYPE", 2},  {"ICURRDIGITS", 2},   {"ICURRENCY", 2},      {"IDIGITS", 2},
    {"IFIRSTDAYOFWEEK", 1}, {"IFIRSTWEEKOFYEAR", 1}, {"ILZERO", 1},     {"IMEASURE", 1},
    {"INEGCURR", 2},       {"INEGNUMBER", 1},    {"ITIME", 1},          {"S1159", 14},
    {"S2359", 14},         {"SCURRENCY", 12},    {"SDATE", 3},          {"SDECIMAL", 3},
    {"SGROUPING", 9},      {"SLIST", 3},         {"SLONGDATE", 79},     {"SMONDECIMALSEP", 3},
    {"SMONGROUPING", 9},   {"SMONTHOUSANDSEP", 3}, {"SNEGATIVESIGN", 4}, {"SPOSITIVESIGN", 4},
    {"SSHORTDATE", 79},    {"STHOUSAND", 3},     {"STIME", 3},          {"STIMEFORMAT", 79},
};

std::mutex& storeMutex() {
    static std::mutex m;
    return m;
}

std::string& overrideDir() {
    static std::string dir;
    return dir;
}

bool validIndex(int index) { return index >= 0 && index < LocaleValueCount; }

// A locale value's first character; a non-ASCII character (such as the narrow no-break space
// of some locales) becomes a blank, an empty value '\0'.
char firstChar(const std::string& s) {
    if (s.empty()) return '\0';
    const unsigned char c = static_cast<unsigned char>(s[0]);
    return c < 0x80 ? static_cast<char>(c) : ' ';
}

void makeDirs(const std::string& dir) {
    std::string path;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = dir.find('/', pos + 1);
        path = dir.substr(0, pos);
        if (!path.empty()) ::mkdir(path.c_str(), 0755);
    }
}

// Values are written in double quotes so that blanks at either end survive the file.
std::string quoted(const std::string& v) { return "\"" + v + "\""; }
std::string unquoted(const std::string& v) {
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') return v.substr(1, v.size() - 2);
    return v;
}

// The entry of one value, or nothing when the store does not hold it.
std::optional<std::string> storedValue(const rtl::TIniFile& ini, int index) {
    if (ini.ValueExists(kSection, kValues[index].key))
        return unquoted(ini.ReadString(kSection, kValues[index].key, ""));
    const char* oldKey = nullptr;
    switch (static_cast<LocaleValue>(index)) {
    case LocaleValue::DecimalSeparator: oldKey = "Decimal"; break;
    case LocaleValue::Thousand: oldKey = "Thousand"; break;
    case LocaleValue::ListSeparator: oldKey = "List"; break;
    case LocaleValue::MonetaryThousand: oldKey = "CurrencyThousand"; break;
    default: return std::nullopt;
    }
    const int v = ini.ReadInteger(kOldSection, oldKey, -1);
    if (v < 0 || v > 127) return std::nullopt;
    return v == 0 ? std::string() : std::string(1, static_cast<char>(v));
}

// A store file that exists but cannot be read as one (no permission, not a regular file).
bool storeUnreadable(const std::string& file) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0) return false;
    return !S_ISREG(st.st_mode) || ::access(file.c_str(), R_OK) != 0;
}

// Writes the whole set at once (through a temporary file renamed over the store); false when
// that fails.
bool writeStore(const std::string& file, const std::array<std::string, LocaleValueCount>& values) {
    makeDirs(LocaleStoreDirectory());
    std::string text = std::string("[") + kSection + "]\n";
    for (int i = 0; i < LocaleValueCount; ++i) text += std::string(kValues[i].key) + "=" + quoted(values[i]) + "\n";
    try {
        rtl::SaveFileReplacing(file, text);
    } catch (const rtl::Exception&) {
        return false;
    }
    return true;
}

std::size_t codePoints(const std::string& s) { return rtl::CodePointCount(s); }

// ---- Derivation from the POSIX locale ---------------------------------------------------

bool given(int v) { return v >= 0 && v < CHAR_MAX; }

// Grouping bytes ("\3\3", last one repeating unless CHAR_MAX) as the platform's "3;0" text.
std::string groupingText(const std::string& g) {
    std::vector<int> parts;
    bool repeat = true;
    for (unsigned char c : g) {
        if (c == 0) break;
        if (c >= CHAR_MAX) {
            repeat = false;
            break;
        }
        parts.push_back(c);
    }
    if (parts.empty()) return "3;0";
    if (repeat)
        while (parts.size() >= 2 && parts[parts.size() - 1] == parts[parts.size() - 2]) parts.pop_back();
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? ";" : "") + std::to_string(parts[i]);
    if (repeat) out += ";0";
    return out;
}

// Expands the composite conversions of a strftime format into their parts.
std::string expandStrftime(const std::string& fmt) {
    std::string out;
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%' || i + 1 >= fmt.size()) {
            out += fmt[i];
            continue;
        }
        std::size_t j = i + 1;
        while (j < fmt.size() && (fmt[j] == 'E' || fmt[j] == 'O' || fmt[j] == '-' || fmt[j] == '_' || fmt[j] == '0' ||
                                  fmt[j] == '^' || fmt[j] == '#'))
            ++j;
        if (j >= fmt.size()) break;
        switch (fmt[j]) {
        case 'T': out += "%H:%M:%S"; break;
        case 'R': out += "%H:%M"; break;
        case 'r': out += "%I:%M:%S %p"; break;
        case 'D': out += "%m/%d/%y"; break;
        case 'F': out += "%Y-%m-%d"; break;
        default: out += '%'; out += fmt[j]; break;
        }
        i = j;
    }
    return out;
}

// A strftime date or time format as the platform's picture ("%d.%m.%Y" -> "dd.MM.yyyy").
std::string pictureFromStrftime(const std::string& expanded) {
    std::string out;
    std::string literal;
    auto flush = [&] {
        bool letters = false;
        for (char c : literal)
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) letters = true;
        out += letters ? "'" + literal + "'" : literal;
        literal.clear();
    };
    for (std::size_t i = 0; i < expanded.size(); ++i) {
        if (expanded[i] != '%' || i + 1 >= expanded.size()) {
            literal += expanded[i];
            continue;
        }
        const char c = expanded[++i];
        const char* p = nullptr;
        switch (c) {
        case 'd': p = "dd"; break;
        case 'e': p = "d"; break;
        case 'm': p = "MM"; break;
        case 'Y': p = "yyyy"; break;
        case 'y': p = "yy"; break;
        case 'b': case 'h': p = "MMM"; break;
        case 'B': p = "MMMM"; break;
        case 'a': p = "ddd"; break;
        case 'A': p = "dddd"; break;
        case 'H': p = "HH"; break;
        case 'k': p = "H"; break;
        case 'I': p = "hh"; break;
        case 'l': p = "h"; break;
        case 'M': p = "mm"; break;
        case 'S': p = "ss"; break;
        case 'p': case 'P': p = "tt"; break;
        case 'n': case 't': literal += ' '; break;
        case '%': literal += '%'; break;
        default: break;  // conversions without a picture counterpart are left out
        }
        if (p) {
            flush();
            out += p;
        }
    }
    flush();
    return out;
}

// The first literal text between two conversions of an expanded strftime format.
std::string separatorOf(const std::string& expanded, const std::string& def) {
    std::size_t i = expanded.find('%');
    if (i == std::string::npos || i + 2 > expanded.size()) return def;
    i += 2;
    std::string sep;
    while (i < expanded.size() && expanded[i] != '%') sep += expanded[i++];
    if (sep.empty() || i >= expanded.size()) return def;
    return sep;
}

std::string longDatePicture(const std::string& expandedDate, const std::string& dateSep) {
    auto pos = [&](const char* convs) {
        std::size_t best = std::string::npos;
        for (const char* c = convs; *c; ++c) {
            const std::size_t p = expandedDate.find(std::string("%") + *c);
            if (p < best) best = p;
        }
        return best;
    };
    const std::size_t d = pos("de"), m = pos("mbBh"), y = pos("Yy");
    if (y < m && m < d) return "yyyy MMMM d";
    if (m < d) return "dddd, MMMM d, yyyy";
    return dateSep == "." ? "dddd, d. MMMM yyyy" : "dddd, d MMMM yyyy";
}

int negativeCurrencyFormat(int precedes, int space, int posn) {
    static const int table[2][2][5] = {
        // symbol after the amount: no space, space
        {{4, 5, 7, 6, 7}, {15, 8, 10, 13, 10}},
        // symbol before the amount: no space, space
        {{0, 1, 3, 1, 2}, {14, 9, 11, 9, 12}},
    };
    if (!given(precedes) || !given(space) || !given(posn) || posn > 4) return 1;
    return table[precedes ? 1 : 0][space ? 1 : 0][posn];
}

}  // namespace

const char* LocaleValueKey(int index) { return validIndex(index) ? kValues[index].key : ""; }
int LocaleValueMaxLength(int index) { return validIndex(index) ? kValues[index].maxLength : 0; }

PosixLocaleFacts CurrentPosixLocaleFacts() {
    PosixLocaleFacts f;
    locale_t loc = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
    if (!loc) loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (!loc) return f;
    auto s = [&](nl_item item) {
        const char* v = nl_langinfo_l(item, loc);
        return std::string(v ? v : "");
    };
    auto n = [&](nl_item item) {
        const char* v = nl_langinfo_l(item, loc);
        return v ? static_cast<int>(static_cast<unsigned char>(v[0])) : CHAR_MAX;
    };
    f.Radix = s(RADIXCHAR);
    f.ThousandsSep = s(THOUSEP);
    f.Grouping = s(GROUPING);
    f.MonDecimal = s(MON_DECIMAL_POINT);
    f.MonThousandsSep = s(MON_THOUSANDS_SEP);
    f.MonGrouping = s(MON_GROUPING);
    f.CurrencySymbol = s(CURRENCY_SYMBOL);
    f.PositiveSign = s(POSITIVE_SIGN);
    f.NegativeSign = s(NEGATIVE_SIGN);
    f.FracDigits = n(FRAC_DIGITS);
    f.PCsPrecedes = n(P_CS_PRECEDES);
    f.PSepBySpace = n(P_SEP_BY_SPACE);
    f.NCsPrecedes = n(N_CS_PRECEDES);
    f.NSepBySpace = n(N_SEP_BY_SPACE);
    f.NSignPosn = n(N_SIGN_POSN);
    f.DateFormat = s(D_FMT);
    f.TimeFormat = s(T_FMT);
    f.AmString = s(AM_STR);
    f.PmString = s(PM_STR);
    f.FirstWeekday = n(_NL_TIME_FIRST_WEEKDAY);
    f.FirstWeekMinDays = n(_NL_TIME_WEEK_1STWEEK);
    f.Measurement = n(_NL_MEASUREMENT_MEASUREMENT);
    freelocale(loc);
    return f;
}

std::array<std::string, LocaleValueCount> DeriveLocaleValues(const PosixLocaleFacts& f) {
    std::array<std::string, LocaleValueCount> v;
    auto at = [&](LocaleValue k) -> std::string& { return v[static_cast<int>(k)]; };
    const std::string dec = f.Radix.empty() ? "." : f.Radix;
    const std::string partner = dec == "," ? "." : ",";
    const std::string thousand = f.ThousandsSep.empty() ? partner : f.ThousandsSep;
    at(LocaleValue::CalendarType) = "1";
    at(LocaleValue::CurrencyDigits) = std::to_string(given(f.FracDigits) ? f.FracDigits : 2);
    at(LocaleValue::Currency) =
        given(f.PCsPrecedes) && given(f.PSepBySpace)
            ? std::to_string((f.PCsPrecedes ? 0 : 1) + (f.PSepBySpace ? 2 : 0))
            : "0";
    at(LocaleValue::Digits) = "2";
    // Weekday 1 is the locale's week start (a Sunday in glibc's data); Monday is 0 here.
    at(LocaleValue::FirstDayOfWeek) =
        std::to_string(f.FirstWeekday >= 1 && f.FirstWeekday <= 7 ? (f.FirstWeekday + 5) % 7 : 0);
    at(LocaleValue::FirstWeekOfYear) = f.FirstWeekMinDays == 7 ? "1" : f.FirstWeekMinDays == 4 ? "2" : "0";
    at(LocaleValue::LeadingZero) = "1";
    at(LocaleValue::Measure) = f.Measurement == 2 ? "1" : "0";
    at(LocaleValue::NegativeCurrency) =
        std::to_string(negativeCurrencyFormat(f.NCsPrecedes, f.NSepBySpace, f.NSignPosn));
    at(LocaleValue::NegativeNumber) = "1";
    const std::string timeFmt = expandStrftime(f.TimeFormat.empty() ? "%H:%M:%S" : f.TimeFormat);
    const bool twelve = timeFmt.find("%I") != std::string::npos || timeFmt.find("%l") != std::string::npos;
    at(LocaleValue::Time) = twelve ? "0" : "1";
    at(LocaleValue::MorningSymbol) = f.AmString;
    at(LocaleValue::AfternoonSymbol) = f.PmString;
    at(LocaleValue::CurrencySymbol) = f.CurrencySymbol;
    const std::string dateFmt = expandStrftime(f.DateFormat.empty() ? "%m/%d/%y" : f.DateFormat);
    at(LocaleValue::DateSeparator) = separatorOf(dateFmt, "/");
    at(LocaleValue::DecimalSeparator) = dec;
    at(LocaleValue::Grouping) = groupingText(f.Grouping);
    at(LocaleValue::ListSeparator) = dec == "," ? ";" : ",";
    at(LocaleValue::LongDateFormat) = longDatePicture(dateFmt, at(LocaleValue::DateSeparator));
    at(LocaleValue::MonetaryDecimal) = f.MonDecimal.empty() ? dec : f.MonDecimal;
    at(LocaleValue::MonetaryGrouping) = groupingText(f.MonGrouping.empty() ? f.Grouping : f.MonGrouping);
    at(LocaleValue::MonetaryThousand) = f.MonThousandsSep.empty() ? thousand : f.MonThousandsSep;
    at(LocaleValue::NegativeSign) = f.NegativeSign.empty() ? "-" : f.NegativeSign;
    at(LocaleValue::PositiveSign) = f.PositiveSign;
    at(LocaleValue::ShortDateFormat) = pictureFromStrftime(dateFmt);
    at(LocaleValue::Thousand) = thousand;
    at(LocaleValue::TimeSeparator) = separatorOf(timeFmt, ":");
    at(LocaleValue::TimeFormat) = pictureFromStrftime(timeFmt);
    // Keep every derived value within its limit.
    for (int i = 0; i < LocaleValueCount; ++i) {
        std::string& s = v[i];
        while (codePoints(s) > static_cast<std::size_t>(kValues[i].maxLength)) {
            std::size_t cut = s.size() - 1;
            while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;
            s.erase(cut);
        }
    }
    return v;
}

std::string PosixLocaleValue(int index) {
    if (!validIndex(index)) return "";
    return DeriveLocaleValues(CurrentPosixLocaleFacts())[index];
}

std::optional<std::string> GetLocaleValue(int index) {
    if (!validIndex(index)) return std::nullopt;
    const std::string file = LocaleStoreFileName();
    if (storeUnreadable(file)) return std::nullopt;
    rtl::TIniFile ini(file);
    if (auto v = storedValue(ini, index)) return v;
    // First use of this value: derive the whole set and store what the file lacks.
    const auto derived = DeriveLocaleValues(CurrentPosixLocaleFacts());
    std::array<std::string, LocaleValueCount> all;
    for (int i = 0; i < LocaleValueCount; ++i) all[i] = storedValue(ini, i).value_or(derived[i]);
    writeStore(file, all);  // a store that cannot be written still answers with these values
    return derived[index];
}

std::optional<std::string> GetLocaleValue(LocaleValue v) { return GetLocaleValue(static_cast<int>(v)); }

bool SetLocaleValue(int index, const std::string& value) {
    if (!validIndex(index)) return false;
    if (codePoints(value) > static_cast<std::size_t>(kValues[index].maxLength)) return false;
    for (unsigned char c : value)
        if (c < 0x20 || c == 0x7F) return false;
    try {
        makeDirs(LocaleStoreDirectory());
        rtl::TIniFile ini(LocaleStoreFileName());
        ini.WriteString(kSection, kValues[index].key, quoted(value));
    } catch (const rtl::Exception&) {
        return false;
    }
    return true;
}

bool SetLocaleValue(LocaleValue v, const std::string& value) { return SetLocaleValue(static_cast<int>(v), value); }

LocaleSeparators PosixLocaleSeparators() {
    const auto v = DeriveLocaleValues(CurrentPosixLocaleFacts());
    LocaleSeparators s;
    s.Decimal = firstChar(v[static_cast<int>(LocaleValue::DecimalSeparator)]);
    s.Thousand = firstChar(v[static_cast<int>(LocaleValue::Thousand)]);
    s.List = firstChar(v[static_cast<int>(LocaleValue::ListSeparator)]);
    s.CurrencyThousand = firstChar(v[static_cast<int>(LocaleValue::MonetaryThousand)]);
    return s;
}

void SetLocaleStoreDirectory(const std::string& dir) {
    std::lock_guard<std::mutex> lock(storeMutex());
    overrideDir() = dir;
}

std::string LocaleStoreDirectory() {
    {
        std::lock_guard<std::mutex> lock(storeMutex());
        if (!overrideDir().empty()) return overrideDir();
    }
    if (const char* d = std::getenv("FELDOR_CONFIG_DIR"); d && *d) return d;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) return std::string(x) + "/feldor";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/feldor";
}

std::string LocaleStoreFileName() { return rtl::IncludeTrailingPathDelimiter(LocaleStoreDirectory()) + kFileName; }

LocaleSeparators GetLocaleSeparators() {
    const LocaleSeparators posix = PosixLocaleSeparators();
    auto get = [](LocaleValue v, char def) {
        const auto s = GetLocaleValue(v);
        return s ? firstChar(*s) : def;
    };
    LocaleSeparators s;
    s.Decimal = get(LocaleValue::DecimalSeparator, posix.Decimal);
    s.Thousand = get(LocaleValue::Thousand, posix.Thousand);
    s.List = get(LocaleValue::ListSeparator, posix.List);
    s.CurrencyThousand = get(LocaleValue::MonetaryThousand, posix.CurrencyThousand);
    return s;
}

void SetLocaleSeparators(const LocaleSeparators& s) {
    makeDirs(LocaleStoreDirectory());
    rtl::TIniFile ini(LocaleStoreFileName());
    auto put = [&](LocaleValue v, char c) {
        ini.WriteString(kSection, kValues[static_cast<int>(v)].key, quoted(c ? std::string(1, c) : std::string()));
    };
    put(LocaleValue::DecimalSeparator, s.Decimal);
    put(LocaleValue::Thousand, s.Thousand);
    put(LocaleValue::ListSeparator, s.List);
    put(LocaleValue::MonetaryThousand, s.CurrencyThousand);
}

void LoadFormatSettingsFromLocale() {
    const LocaleSeparators s = GetLocaleSeparators();
    rtl::TFormatSettings& fs = rtl::FormatSettings();
    fs.DecimalSeparator = s.Decimal;
    fs.ThousandSeparator = s.Thousand;
    fs.ListSeparator = s.List;
    fs.CurrencyThousandSeparator = s.CurrencyThousand;

    rtl::TDateFormatSettings& ds = rtl::DateFormatSettings();
    auto value = [](LocaleValue v, const std::string& def) {
        const auto s = GetLocaleValue(v);
        return s ? *s : def;
    };
    const std::string dateSep = value(LocaleValue::DateSeparator, ".");
    const std::string timeSep = value(LocaleValue::TimeSeparator, ":");
    ds.DateSeparator = dateSep;
    ds.TimeSeparator = timeSep;
    ds.ShortDateFormat = value(LocaleValue::ShortDateFormat, ds.ShortDateFormat);
    ds.LongDateFormat = value(LocaleValue::LongDateFormat, ds.LongDateFormat);
    ds.TimeAMString = value(LocaleValue::MorningSymbol, ds.TimeAMString);
    ds.TimePMString = value(LocaleValue::AfternoonSymbol, ds.TimePMString);
    ds.LongTimeFormat = value(LocaleValue::TimeFormat, ds.LongTimeFormat);
    ds.ShortTimeFormat = rtl::ShortTimeFromLongTime(ds.LongTimeFormat);
    rtl::LoadDateNamesFromPosixLocale(ds);
}

}  // namespace sys
