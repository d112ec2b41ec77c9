// The per-user locale store of the four number separators: the stand-in for the operating
// system's locale settings on the original platform. Initialised from the POSIX locale of the
// user's environment on first use and kept in an INI file under the user's configuration
// directory ($FELDOR_CONFIG_DIR, else $XDG_CONFIG_HOME/feldor, else ~/.config/feldor).
#pragma once

#include <string>

namespace sys {

// A separator of '\0' stands for an empty locale value.
struct LocaleSeparators {
    char Decimal = ',';
    char Thousand = '.';
    char List = ';';
    char CurrencyThousand = '.';
    bool operator==(const LocaleSeparators&) const = default;
};

// The separators in force. A store without a file (or a missing entry) takes the POSIX
// locale's values and writes them to the file (a failed write is ignored here).
LocaleSeparators GetLocaleSeparators();
// Persists all four separators; raises rtl::EFCreateError when the file cannot be written,
// in which case the old values stay in force.
void SetLocaleSeparators(const LocaleSeparators& s);

// The separators of the POSIX locale of the environment (LC_NUMERIC, LC_MONETARY); the list
// separator is ';' when the decimal separator is ',' and ',' otherwise.
LocaleSeparators PosixLocaleSeparators();

// Directory of the store; an empty string returns to the default (environment) lookup.
void SetLocaleStoreDirectory(const std::string& dir);
std::string LocaleStoreDirectory();
std::string LocaleStoreFileName();

// Copies the store into the class library's copy (rtl::FormatSettings()).
void LoadFormatSettingsFromLocale();

}  // namespace sys
