// The separators of the user's locale (decimal, thousands, list, currency thousands), the
// number-format checks and presets, and a few system facts: the Windows version, the system
// language and an estimate of the processor clock.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// The first character of the locale value; '\0' when the value is empty.
char GetDecimalSep();
char GetThousandSep();
char GetListSep();
char GetCThousandSep();

// Write the one-character value, read it back and return its first character (what is in force).
char SetDecimalSeparator(char C);
char SetThousandSeparator(char C);
char SetListSeparator(char C);
char SetMonThousandSeparator(char C);

// Decimal ',' and thousands '.' (the thousands separator is read only when the decimal one
// matched).
bool IsGermanNumberFormat();
// Decimal '.' and thousands ','.
bool IsEnglishNumberFormat();
// Decimal separator first, then the thousands separator. True when the read-back shows both in
// force (false: the locale store could not be written).
bool SetGermanNumberFormat();
void SetEnglishNumberFormat();

// The running Windows version's name; "Unbekannte Version" on any other system.
std::string GetWinVersion();
// The name of a Windows version from its platform (1 the 9x line, 2 the NT line), major and
// minor number and service-pack text (appended after a blank when not empty).
std::string WinVersionName(int PlatformId, int Major, int Minor, const std::string& ServicePack);
// The name of the system's default language (at most 100 characters); empty when unknown.
std::string GetOSLanguage();
// Processor clock in MHz, from the time-stamp counter over CPUSpeedWait (blocks that long).
double GetCPUSpeed();
// Half a second; tests that open the windows showing the clock many times shorten it.
extern std::chrono::milliseconds CPUSpeedWait;
// MHz from two readings 500 ms apart; the difference of their low 32 bits, taken unsigned.
double CPUSpeedFromCounts(std::uint64_t First, std::uint64_t Second);
