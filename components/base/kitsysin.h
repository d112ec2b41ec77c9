// System-information engine: plain routines that read facts about the machine, the operating
// system, the user and the running program, and KitGetInfo, which turns any of the 45
// information kinds into display text. On Linux, facts of the original platform that have no
// counterpart (registry values, Windows directories, free 16-bit resources) read as
// KitUnknownText or 0; the platform is the kernel's, under id 2 (NT) and its own name.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/rtl/Classes.h"

namespace sys {
struct VersionBlock;
}

namespace kit {

inline constexpr const char* KitUnknownText = "(Unbekannt)";
inline constexpr const char* KitOnText = "ON";
inline constexpr const char* KitOffText = "OFF";

// Operating-system flags, set once at start-up from the platform id and version.
extern bool KitIsWinNT;
extern bool KitIsWin2000;
extern bool KitIsWinXP;
extern bool KitPlusAvailable;

struct TKitExtMemoryStatus {
    std::uint32_t dwLength = 64;
    std::uint32_t dwMemoryLoad = 0;
    std::uint64_t ullTotalPhys = 0;
    std::uint64_t ullAvailPhys = 0;
    std::uint64_t ullTotalPageFile = 0;
    std::uint64_t ullAvailPageFile = 0;
    std::uint64_t ullTotalVirtual = 0;
    std::uint64_t ullAvailVirtual = 0;
    std::uint64_t ullAvailExtendedVirtual = 0;
};
static_assert(sizeof(TKitExtMemoryStatus) == 64);

struct TKitDriveInfo {
    std::uint32_t DriveType = 0;
    std::int64_t DiskSize = 0;
    std::int64_t DiskFree = 0;
    std::uint32_t SectorsPerCluster = 0;
    std::uint32_t BytesPerSector = 0;
};

enum TKitInfoType {
    itUser, itWinDir, itCurrentDir32, itCurrentDiskFree32, itCurrentDiskSize32, itSystemDir,
    itReg_Owner32, itReg_Company32, itVersion, itColorDepth, itScreenSaverDelay, itMemSize,
    itFreeSysRes, itFreeGDIRes, itFreeUserRes, itComputerName32, itMajorVerNr32, itBuildNr32,
    itMemLoaded32, itMemFree32, itMemPageFree32, itMemPageTotal32, itMemVirtFree32,
    itMemVirtTotal32, itPlatformID32, itPlatform32, itProcessorCont32, itProcessor32,
    itTempPath32, itDOSVersion, itNumLock, itCapsLock, itScroll, itCurrentDateTime,
    itProgCompany, itProgName, itProgVersion, itFileVersion, itFileVersionFull,
    itFileVersionBuild, itProgCopyright, itProgTrademark, itProgDescription, itProgComments,
    itCPUSpeed,
};
inline constexpr int KitInfoTypeCount = 45;

// ---- Display and input (0 or False where no screen or X server can be asked) -------------
std::uint8_t KitColorDepth();
int KitScreenSaverDelay();  // minutes
bool KitNumLockOn();
bool KitCapsLockOn();
bool KitScrollLockOn();

// ---- Version: the kernel's version numbers, platform id 2 ---------------------------------
std::uint16_t KitWinMajorVersion();
std::uint16_t KitWinMinorVersion();
std::uint16_t KitWinBuildNumber();
// 0 major, 1 minor, 2 platform id, 3 build, 4/5 service pack, 6 suite mask, 7 product type;
// 0 above 7.
std::uint32_t KitGetVersionExField(int Index);
std::uint32_t KitWinProductType();
std::string KitWinVersionString();  // "%d.%d"
int KitPlatformID();
std::string KitPlatformName();      // the kernel's name ("Linux"); KitUnknownText when unknown
int KitDefaultLangID();             // 0 when LANG names no known language
std::string KitTimeZoneName();
int KitTimeZoneBias();              // minutes, standard time

// ---- Memory (bytes) ---------------------------------------------------------------------
void KitGetMemoryStatus(TKitExtMemoryStatus& Status);
std::uint8_t KitMemoryLoad();
std::uint64_t KitTotalPhys();
std::uint64_t KitAvailPhys();
std::uint64_t KitTotalPageFile();
std::uint64_t KitAvailPageFile();
std::uint64_t KitTotalVirtual();
std::uint64_t KitAvailVirtual();
std::uint64_t KitAvailExtendedVirtual();

// ---- 16-bit resources: none on this platform --------------------------------------------
std::uint16_t KitFreeResources(int Kind);
std::uint16_t KitFreeSystemResources();
std::uint16_t KitFreeGDIResources();
std::uint16_t KitFreeUserResources();

// ---- Processor ---------------------------------------------------------------------------
int KitProcessorCount();
std::string KitProcessorTypeName(int Type);  // 386 "Intel 386" .. other types in decimal
std::string KitProcessorName();
double KitCPUSpeed();  // MHz from the time-stamp counter over KitCPUSpeedWait
// Half a second; tests that open the windows showing the clock many times shorten it.
extern std::chrono::milliseconds KitCPUSpeedWait;

// ---- Files, drives, user ------------------------------------------------------------------
// Path is a file-system path; its file system stands for the drive.
void KitGetDriveInfo(const std::string& Path, TKitDriveInfo& Info);
std::string KitTempPath();
void KitGetEnvironment(rtl::TStrings& Strings);
std::string KitGetWindowsDir();  // no Linux counterpart: KitUnknownText
std::string KitGetSystemDir();   // no Linux counterpart: KitUnknownText
std::string KitComputerName();
std::string KitUserName();
std::string KitRegisteredOwner();    // no registry: KitUnknownText
std::string KitRegisteredCompany();  // no registry: KitUnknownText

// ---- Program version block ---------------------------------------------------------------
// Index 0..6 CompanyName, ProductName, ProductVersion, LegalCopyright, LegalTrademark,
// FileDescription, Comments; 7 "a.b", 8 "a.b.c.d", 9 "a.b (Build c.d)". Empty without a block.
std::string KitVersionInfoString(int Index);
std::string KitVersionInfoString(const sys::VersionBlock* Block, int Index);

// ---- Information kinds ---------------------------------------------------------------------
void KitGetInfo(int InfoType, int Divisor, const std::string& DateTimeFormat, std::string& Result);
void KitGetInfoCaption(int InfoType, std::string& Result);

}  // namespace kit
