#include "platform/sys/LocaleStore.h"

#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"

namespace sys {

namespace {

constexpr const char* kSection = "Separators";
constexpr const char* kFileName = "locale.ini";

std::mutex& storeMutex() {
    static std::mutex m;
    return m;
}

std::string& overrideDir() {
    static std::string dir;
    return dir;
}

// A locale value's first character; a non-ASCII character (such as the narrow no-break space
// of some locales) becomes a blank, an empty value '\0'.
char firstChar(const char* s) {
    if (!s || !*s) return '\0';
    const unsigned char c = static_cast<unsigned char>(*s);
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

// Stored as the character code (a blank would not survive the INI file's trimming).
char readSep(const rtl::TIniFile& ini, const char* key, char def, bool& missing) {
    const int v = ini.ReadInteger(kSection, key, -1);
    if (v < 0 || v > 127) {
        missing = true;
        return def;
    }
    return static_cast<char>(v);
}

void writeAll(const LocaleSeparators& s) {
    makeDirs(LocaleStoreDirectory());
    rtl::TIniFile ini(LocaleStoreFileName());
    ini.WriteInteger(kSection, "Decimal", static_cast<unsigned char>(s.Decimal));
    ini.WriteInteger(kSection, "Thousand", static_cast<unsigned char>(s.Thousand));
    ini.WriteInteger(kSection, "List", static_cast<unsigned char>(s.List));
    ini.WriteInteger(kSection, "CurrencyThousand", static_cast<unsigned char>(s.CurrencyThousand));
}

}  // namespace

LocaleSeparators PosixLocaleSeparators() {
    LocaleSeparators s;
    locale_t loc = newlocale(LC_NUMERIC_MASK | LC_MONETARY_MASK, "", static_cast<locale_t>(nullptr));
    if (!loc) loc = newlocale(LC_NUMERIC_MASK | LC_MONETARY_MASK, "C", static_cast<locale_t>(nullptr));
    s.Decimal = firstChar(nl_langinfo_l(RADIXCHAR, loc));
    s.Thousand = firstChar(nl_langinfo_l(THOUSEP, loc));
    s.CurrencyThousand = firstChar(nl_langinfo_l(MON_THOUSANDS_SEP, loc));
    freelocale(loc);
    if (s.Decimal == '\0') s.Decimal = '.';
    // The "C" locale has no grouping character; take the customary partner of the decimal one.
    const char partner = s.Decimal == ',' ? '.' : ',';
    if (s.Thousand == '\0') s.Thousand = partner;
    if (s.CurrencyThousand == '\0') s.CurrencyThousand = s.Thousand;
    s.List = s.Decimal == ',' ? ';' : ',';
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
    rtl::TIniFile ini(LocaleStoreFileName());
    bool missing = false;
    LocaleSeparators s;
    s.Decimal = readSep(ini, "Decimal", posix.Decimal, missing);
    s.Thousand = readSep(ini, "Thousand", posix.Thousand, missing);
    s.List = readSep(ini, "List", posix.List, missing);
    s.CurrencyThousand = readSep(ini, "CurrencyThousand", posix.CurrencyThousand, missing);
    if (missing) {
        try {
            writeAll(s);
        } catch (const rtl::Exception&) {
            // A store that cannot be written still answers with the locale's values.
        }
    }
    return s;
}

void SetLocaleSeparators(const LocaleSeparators& s) { writeAll(s); }

void LoadFormatSettingsFromLocale() {
    const LocaleSeparators s = GetLocaleSeparators();
    rtl::TFormatSettings& fs = rtl::FormatSettings();
    fs.DecimalSeparator = s.Decimal;
    fs.ThousandSeparator = s.Thousand;
    fs.ListSeparator = s.List;
    fs.CurrencyThousandSeparator = s.CurrencyThousand;
}

}  // namespace sys
