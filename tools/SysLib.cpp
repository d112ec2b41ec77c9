#include "tools/SysLib.h"

#include <chrono>
#include <memory>
#include <thread>

#include "components/controls/kitsysinfo.h"
#include "platform/sys/SystemInfo.h"

namespace {

// Every read and write goes through a short-lived system-information component.
enum class Sep { Decimal, Thousand, List, CThousand };

std::string ReadSep(Sep s) {
    const auto info = std::make_unique<kit::TKitSysInfo>(nullptr);
    switch (s) {
        case Sep::Decimal: return info->LocaleDecimalSeparator();
        case Sep::Thousand: return info->LocaleThousand();
        case Sep::List: return info->LocaleListSeparator();
        case Sep::CThousand: return info->LocaleThousandSeparator();
    }
    return {};
}

void WriteSep(Sep s, char c) {
    const auto info = std::make_unique<kit::TKitSysInfo>(nullptr);
    const std::string v(1, c);
    switch (s) {
        case Sep::Decimal: info->SetLocaleDecimalSeparator(v); break;
        case Sep::Thousand: info->SetLocaleThousand(v); break;
        case Sep::List: info->SetLocaleListSeparator(v); break;
        case Sep::CThousand: info->SetLocaleThousandSeparator(v); break;
    }
}

char First(const std::string& s) { return s.empty() ? '\0' : s[0]; }

char SetSep(Sep s, char c) {
    WriteSep(s, c);
    return First(ReadSep(s));
}

}  // namespace

char GetDecimalSep() { return First(ReadSep(Sep::Decimal)); }
char GetThousandSep() { return First(ReadSep(Sep::Thousand)); }
char GetListSep() { return First(ReadSep(Sep::List)); }
char GetCThousandSep() { return First(ReadSep(Sep::CThousand)); }

char SetDecimalSeparator(char C) { return SetSep(Sep::Decimal, C); }
char SetThousandSeparator(char C) { return SetSep(Sep::Thousand, C); }
char SetListSeparator(char C) { return SetSep(Sep::List, C); }
char SetMonThousandSeparator(char C) { return SetSep(Sep::CThousand, C); }

bool IsGermanNumberFormat() { return GetDecimalSep() == ',' && GetThousandSep() == '.'; }
bool IsEnglishNumberFormat() { return GetDecimalSep() == '.' && GetThousandSep() == ','; }

bool SetGermanNumberFormat() {
    const char decimal = SetDecimalSeparator(',');
    const char thousand = SetThousandSeparator('.');
    return decimal == ',' && thousand == '.';
}

void SetEnglishNumberFormat() {
    SetDecimalSeparator('.');
    SetThousandSeparator(',');
}

std::string WinVersionName(int PlatformId, int Major, int Minor, const std::string& ServicePack) {
    std::string name = "Unbekannte Version";
    if (PlatformId == 1 && Major == 4) {
        if (Minor == 0) name = "Windows 95";
        else if (Minor == 10) name = "Windows 98";
        else if (Minor == 90) name = "Windows Me";
    } else if (PlatformId == 2) {
        if (Major == 3 && Minor == 51) name = "Windows NT 3.51";
        else if (Major == 4 && Minor == 0) name = "Windows NT 4";
        else if (Major == 5 && Minor == 0) name = "Windows 2000";
        else if (Major == 5 && Minor == 1) name = "Windows XP";
        else if (Major == 5 && Minor == 2) name = "Windows .NET Server";
    }
    if (!ServicePack.empty()) name += " " + ServicePack;
    return name;
}

// No Windows runs here: no platform, no version and no service pack.
std::string GetWinVersion() { return WinVersionName(0, 0, 0, ""); }

std::string GetOSLanguage() {
    const auto id = sys::LanguageId();
    std::string name = id ? sys::LanguageName(*id).value_or("") : "";
    if (name.size() > 100) name.resize(100);
    return name;
}

double CPUSpeedFromCounts(std::uint64_t First, std::uint64_t Second) {
    const std::uint32_t diff = static_cast<std::uint32_t>(Second) - static_cast<std::uint32_t>(First);
    return diff / 500000.0;
}

// The process runs at its usual priority: raising it to real time needs rights a user does
// not have here, and the estimate does not depend on it.
std::chrono::milliseconds CPUSpeedWait{500};

double GetCPUSpeed() {
    const std::uint64_t first = sys::ReadTimeStampCounter();
    std::this_thread::sleep_for(CPUSpeedWait);
    const std::uint64_t second = sys::ReadTimeStampCounter();
    const double halfSeconds = static_cast<double>(CPUSpeedWait.count()) / 500;
    return halfSeconds > 0 ? CPUSpeedFromCounts(first, second) / halfSeconds : 0.0;
}
