#include "components/base/kitsysin.h"

#include <chrono>
#include <thread>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/SystemInfo.h"

namespace kit {

namespace {

constexpr int kPlatformNT = 2;

bool isNT() { return KitPlatformID() == kPlatformNT; }

std::string onOff(std::optional<bool> v) {
    if (!v) return KitUnknownText;
    return *v ? KitOnText : KitOffText;
}

}  // namespace

bool KitIsWinNT = isNT();
bool KitIsWin2000 = KitIsWinNT && KitWinMajorVersion() == 5 && KitWinMinorVersion() == 0;
bool KitIsWinXP = KitIsWinNT && KitWinMajorVersion() == 5 && KitWinMinorVersion() == 1;
bool KitPlusAvailable = KitIsWinNT;

std::uint8_t KitColorDepth() { return static_cast<std::uint8_t>(sys::ScreenColorDepth().value_or(0)); }
int KitScreenSaverDelay() { return sys::ScreenSaverTimeout().value_or(0) / 60; }
bool KitNumLockOn() { return sys::LockKeyOn(sys::LockKey::Num).value_or(false); }
bool KitCapsLockOn() { return sys::LockKeyOn(sys::LockKey::Caps).value_or(false); }
bool KitScrollLockOn() { return sys::LockKeyOn(sys::LockKey::Scroll).value_or(false); }

std::uint16_t KitWinMajorVersion() { return static_cast<std::uint16_t>(sys::GetKernelVersion().Major); }
std::uint16_t KitWinMinorVersion() { return static_cast<std::uint16_t>(sys::GetKernelVersion().Minor); }
std::uint16_t KitWinBuildNumber() { return static_cast<std::uint16_t>(sys::GetKernelVersion().Patch & 0xFFFF); }

std::uint32_t KitGetVersionExField(int Index) {
    const sys::KernelVersion k = sys::GetKernelVersion();
    switch (Index) {
    case 0: return static_cast<std::uint32_t>(k.Major);
    case 1: return static_cast<std::uint32_t>(k.Minor);
    case 2: return kPlatformNT;
    case 3: return static_cast<std::uint32_t>(k.Patch);
    default: return 0;  // service pack, suite mask, product type: none here
    }
}

std::uint32_t KitWinProductType() { return KitGetVersionExField(6); }

std::string KitWinVersionString() { return rtl::Format("%d.%d", KitWinMajorVersion(), KitWinMinorVersion()); }

int KitPlatformID() { return kPlatformNT; }
std::string KitPlatformName() {
    const std::string name = sys::KernelName();
    return name.empty() ? KitUnknownText : name;
}
int KitDefaultLangID() { return sys::LanguageId().value_or(0); }
std::string KitTimeZoneName() { return sys::GetTimeZoneInfo().StandardName; }
int KitTimeZoneBias() { return sys::GetTimeZoneInfo().Bias; }

void KitGetMemoryStatus(TKitExtMemoryStatus& Status) {
    const sys::MemoryStatus m = sys::GetMemoryStatus();
    Status.dwLength = 64;
    Status.dwMemoryLoad = m.MemoryLoad;
    Status.ullTotalPhys = m.TotalPhys;
    Status.ullAvailPhys = m.AvailPhys;
    Status.ullTotalPageFile = m.TotalPageFile;
    Status.ullAvailPageFile = m.AvailPageFile;
    Status.ullTotalVirtual = m.TotalVirtual;
    Status.ullAvailVirtual = m.AvailVirtual;
    Status.ullAvailExtendedVirtual = m.AvailExtendedVirtual;
}

namespace {
TKitExtMemoryStatus memory() {
    TKitExtMemoryStatus s;
    KitGetMemoryStatus(s);
    return s;
}
}  // namespace

std::uint8_t KitMemoryLoad() { return static_cast<std::uint8_t>(memory().dwMemoryLoad); }
std::uint64_t KitTotalPhys() { return memory().ullTotalPhys; }
std::uint64_t KitAvailPhys() { return memory().ullAvailPhys; }
std::uint64_t KitTotalPageFile() { return memory().ullTotalPageFile; }
std::uint64_t KitAvailPageFile() { return memory().ullAvailPageFile; }
std::uint64_t KitTotalVirtual() { return memory().ullTotalVirtual; }
std::uint64_t KitAvailVirtual() { return memory().ullAvailVirtual; }
std::uint64_t KitAvailExtendedVirtual() { return memory().ullAvailExtendedVirtual; }

std::uint16_t KitFreeResources(int /*Kind*/) {
    // Only the 16-bit systems had these pools; on NT (and here) the answer is 0 without a call.
    return 0;
}
std::uint16_t KitFreeSystemResources() { return KitFreeResources(0); }
std::uint16_t KitFreeGDIResources() { return KitFreeResources(1); }
std::uint16_t KitFreeUserResources() { return KitFreeResources(2); }

int KitProcessorCount() { return sys::ProcessorCount(); }

std::string KitProcessorTypeName(int Type) {
    switch (Type) {
    case 386: return "Intel 386";
    case 486: return "Intel 486";
    case 586: return "Intel Pentium";
    case 2000:
    case 3000:
    case 4000: return "Mips R" + std::to_string(Type);
    case 21064: return "Alpha 21064";
    default: return std::to_string(Type);
    }
}

std::string KitProcessorName() { return KitProcessorTypeName(sys::ProcessorTypeCode()); }

std::chrono::milliseconds KitCPUSpeedWait{500};

double KitCPUSpeed() {
    // Measured at the caller's priority; the counter's ticks over the elapsed microseconds.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const auto t0 = std::chrono::steady_clock::now();
    const std::uint64_t c0 = sys::ReadTimeStampCounter();
    std::this_thread::sleep_for(KitCPUSpeedWait);
    const std::uint64_t c1 = sys::ReadTimeStampCounter();
    const auto t1 = std::chrono::steady_clock::now();
    const double us = std::chrono::duration<double, std::micro>(t1 - t0).count();
    return us > 0 ? static_cast<double>(c1 - c0) / us : 0.0;
}

void KitGetDriveInfo(const std::string& Path, TKitDriveInfo& Info) {
    Info = TKitDriveInfo{};
    const sys::VolumeInfo v = sys::GetVolumeInfo(Path);
    Info.DriveType = static_cast<std::uint32_t>(v.DriveType);
    if (Info.DriveType > 1) {
        Info.SectorsPerCluster = v.SectorsPerCluster;
        Info.BytesPerSector = v.BytesPerSector;
        Info.DiskSize = v.DiskSize;
        Info.DiskFree = v.DiskFree;
    }
}

std::string KitTempPath() { return sys::TempPath(); }

void KitGetEnvironment(rtl::TStrings& Strings) {
    Strings.Clear();
    for (const auto& e : sys::EnvironmentStrings()) Strings.Add(e);
}

std::string KitGetWindowsDir() { return KitUnknownText; }
std::string KitGetSystemDir() { return KitUnknownText; }
std::string KitComputerName() { return sys::HostName().value_or(KitUnknownText); }
std::string KitUserName() { return sys::UserName().value_or(KitUnknownText); }
std::string KitRegisteredOwner() { return KitUnknownText; }
std::string KitRegisteredCompany() { return KitUnknownText; }

std::string KitVersionInfoString(const sys::VersionBlock* Block, int Index) {
    if (!Block) return "";
    const sys::VersionBlock& b = *Block;
    switch (Index) {
    case 0: return b.CompanyName;
    case 1: return b.ProductName;
    case 2: return b.ProductVersion;
    case 3: return b.LegalCopyright;
    case 4: return b.LegalTrademark;
    case 5: return b.FileDescription;
    case 6: return b.Comments;
    case 7: return rtl::Format("%d.%d", b.Major, b.Minor);
    case 8: return rtl::Format("%d.%d.%d.%d", b.Major, b.Minor, b.Release, b.Build);
    case 9: return rtl::Format("%d.%d (Build %d.%d)", b.Major, b.Minor, b.Release, b.Build);
    default: return "";
    }
}

std::string KitVersionInfoString(int Index) { return KitVersionInfoString(&sys::ProgramVersion(), Index); }

void KitGetInfo(int InfoType, int Divisor, const std::string& DateTimeFormat, std::string& Result) {
    if (Divisor == 0) Divisor = 1;
    auto num = [&](long long v) { Result = std::to_string(v / Divisor); };
    auto num64 = [&](std::uint64_t v) {
        Result = Divisor > 0 ? std::to_string(v / static_cast<std::uint64_t>(Divisor))
                             : std::to_string(static_cast<long long>(v) / Divisor);
    };
    auto known = [&](std::optional<int> v, int scale) {
        if (v)
            num(*v / scale);
        else
            Result = KitUnknownText;
    };
    TKitDriveInfo drive;
    switch (InfoType) {
    case itUser: Result = KitUserName(); break;
    case itWinDir: Result = KitGetWindowsDir(); break;
    case itCurrentDir32: Result = sys::CurrentDirectory(); break;
    case itCurrentDiskFree32:
        KitGetDriveInfo(sys::CurrentDirectory(), drive);
        num(drive.DiskFree);
        break;
    case itCurrentDiskSize32:
        KitGetDriveInfo(sys::CurrentDirectory(), drive);
        num(drive.DiskSize);
        break;
    case itSystemDir: Result = KitGetSystemDir(); break;
    case itReg_Owner32: Result = KitRegisteredOwner(); break;
    case itReg_Company32: Result = KitRegisteredCompany(); break;
    case itVersion: Result = KitWinVersionString(); break;
    case itColorDepth: known(sys::ScreenColorDepth(), 1); break;
    case itScreenSaverDelay: known(sys::ScreenSaverTimeout(), 60); break;
    case itMemSize: num64(KitTotalPhys()); break;
    case itFreeSysRes: num(KitFreeSystemResources()); break;
    case itFreeGDIRes: num(KitFreeGDIResources()); break;
    case itFreeUserRes: num(KitFreeUserResources()); break;
    case itComputerName32: Result = KitComputerName(); break;
    case itMajorVerNr32: num(KitWinMajorVersion()); break;
    case itBuildNr32: num(KitWinBuildNumber()); break;
    case itMemLoaded32: num(KitMemoryLoad()); break;
    case itMemFree32: num64(KitAvailPhys()); break;
    case itMemPageFree32: num64(KitAvailPageFile()); break;
    case itMemPageTotal32: num64(KitTotalPageFile()); break;
    case itMemVirtFree32: num64(KitAvailVirtual()); break;
    case itMemVirtTotal32: num64(KitTotalVirtual()); break;
    case itPlatformID32: num(KitPlatformID()); break;
    case itPlatform32: Result = KitPlatformName(); break;
    case itProcessorCont32: num(KitProcessorCount()); break;
    case itProcessor32: Result = KitProcessorName(); break;
    case itTempPath32: Result = KitTempPath(); break;
    case itDOSVersion: Result = "Win32"; break;
    case itNumLock: Result = onOff(sys::LockKeyOn(sys::LockKey::Num)); break;
    case itCapsLock: Result = onOff(sys::LockKeyOn(sys::LockKey::Caps)); break;
    case itScroll: Result = onOff(sys::LockKeyOn(sys::LockKey::Scroll)); break;
    case itCurrentDateTime: Result = rtl::FormatDateTime(DateTimeFormat, rtl::Now()); break;
    case itProgCompany: Result = KitVersionInfoString(0); break;
    case itProgName: Result = KitVersionInfoString(1); break;
    case itProgVersion: Result = KitVersionInfoString(2); break;
    case itFileVersion: Result = KitVersionInfoString(7); break;
    case itFileVersionFull: Result = KitVersionInfoString(8); break;
    case itFileVersionBuild: Result = KitVersionInfoString(9); break;
    case itProgCopyright: Result = KitVersionInfoString(3); break;
    case itProgTrademark: Result = KitVersionInfoString(4); break;
    case itProgDescription: Result = KitVersionInfoString(5); break;
    case itProgComments: Result = KitVersionInfoString(6); break;
    case itCPUSpeed: Result = rtl::Trim(rtl::FloatToStr(static_cast<long double>(KitCPUSpeed()) / Divisor)); break;
    default: break;  // outside the enumeration: Result stays
    }
}

void KitGetInfoCaption(int InfoType, std::string& Result) {
    static const char* const captions[KitInfoTypeCount] = {
        "Username", "Windows directory", "Current directory", "Free space on current disk",
        "Disk size of current Disk", "System directory", "Registered owner", "Registered company", "Version",
        "Colordepth (in bits)", "Screensaver delay", "Memory size", "Free system resources",
        "Free GDI resources", "Free user resources", "Computername", "Major version", "Build",
        "Memory loaded", "Memory free", "Free memory pages", "Total memory pages", "Free virtual memory",
        "Total virtual memory", "Platform ID", "Platform", "Number of processors", "Processor",
        "Temp path", "DOS version", "NumLock", "CapsLock", "ScrollLock", "Date and time", "CompanyName",
        "ProductName", "ProductVersion", "ProductVersion", "ProductVersion", "ProductVersion",
        "LegalCopyright", "LegalTrademark", "FileDescription", "Comments", "CPU Speed",
    };
    Result = InfoType >= 0 && InfoType < KitInfoTypeCount ? captions[InfoType] : "";
}

}  // namespace kit
