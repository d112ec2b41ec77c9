// Facts about this machine, its operating system, the user and the running program, read from
// Linux (/proc, sysinfo, statvfs, /proc/mounts, uname, os-release, the processor's CPUID and
// time-stamp counter, the X server where one is reachable). A fact that cannot be read is
// reported as absent (std::nullopt) or as 0; nothing is invented.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sys {

// ---- Memory (bytes) ----------------------------------------------------------------------
struct MemoryStatus {
    std::uint32_t MemoryLoad = 0;        // percent of physical memory in use
    std::uint64_t TotalPhys = 0;         // MemTotal
    std::uint64_t AvailPhys = 0;         // MemAvailable
    std::uint64_t TotalPageFile = 0;     // commit limit: physical memory plus swap
    std::uint64_t AvailPageFile = 0;     // available physical memory plus free swap
    std::uint64_t TotalVirtual = 0;      // the process's address space (limit or user space)
    std::uint64_t AvailVirtual = 0;      // TotalVirtual less the process's mapped size
    std::uint64_t AvailExtendedVirtual = 0;
};
MemoryStatus GetMemoryStatus();

// ---- Drives ------------------------------------------------------------------------------
// Drive-type codes of the original platform.
enum DriveTypeCode : int {
    DriveUnknown = 0,
    DriveNoRootDir = 1,
    DriveRemovable = 2,
    DriveFixed = 3,
    DriveRemote = 4,
    DriveCDRom = 5,
    DriveRamDisk = 6,
};

struct VolumeInfo {
    int DriveType = DriveNoRootDir;
    std::int64_t DiskSize = -1;  // bytes; -1 when there is no file system
    std::int64_t DiskFree = -1;  // bytes available to the user
    std::uint32_t SectorsPerCluster = 0;
    std::uint32_t BytesPerSector = 0;
    std::uint32_t MaximumLength = 0;  // longest file-name component
    std::uint32_t SerialNumber = 0;   // the file-system id
    std::string FileSystem;           // type from /proc/mounts ("ext4")
    std::string VolumeLabel;          // from /dev/disk/by-label, empty when none
    std::string MountPoint;
    std::string MountOptions;         // "rw,relatime,..."
};
// The file system that holds path. A path that does not exist gives DriveNoRootDir with
// DiskSize -1.
VolumeInfo GetVolumeInfo(const std::string& path);
// The root of a drive letter: "/" for C (the root file system), empty for every other letter.
std::string DriveRoot(char letter);

// ---- Processor ---------------------------------------------------------------------------
int ProcessorCount();
// The original platform's processor-type code: 8664 on x86-64, 0 elsewhere.
int ProcessorTypeCode();
bool CpuIdAvailable();
// Runs CPUID; false when the instruction or the leaf is not available.
bool CpuId(std::uint32_t leaf, std::uint32_t& eax, std::uint32_t& ebx, std::uint32_t& ecx, std::uint32_t& edx);
// The processor's time-stamp counter (0 where there is none).
std::uint64_t ReadTimeStampCounter();
// nice value of the process and of the calling thread.
int ProcessPriority();
int ThreadPriority();

// ---- Operating system -------------------------------------------------------------------
struct KernelVersion {
    int Major = 0, Minor = 0, Patch = 0;
};
KernelVersion GetKernelVersion();  // from uname's release ("6.1.0-18-amd64" -> 6, 1, 0)
std::string KernelName();          // uname's system name ("Linux"), empty when unknown
std::string OsPrettyName();        // PRETTY_NAME of os-release, empty when not found

// ---- User, host, files -------------------------------------------------------------------
std::optional<std::string> UserName();  // the effective user's login name
std::optional<std::string> HostName();
std::string TempPath();                 // $TMPDIR or /tmp, with a trailing '/'
std::string CurrentDirectory();         // with a trailing '/'
std::vector<std::string> EnvironmentStrings();  // "NAME=value" in the process's order

// ---- Time zone and language -------------------------------------------------------------
struct TimeZoneInfo {
    int Bias = 0;          // minutes: UTC = local time + Bias (standard time)
    int DaylightBias = 0;  // minutes added to Bias in daylight-saving time (usually -60)
    bool DaylightNow = false;  // daylight saving in force at the queried moment
    std::string StandardName, DaylightName;
};
// The time zone of the TZ environment (or the system's) at the moment t (seconds since 1970).
TimeZoneInfo GetTimeZoneInfo(std::int64_t t);
TimeZoneInfo GetTimeZoneInfo();  // now

// The language of LANG as the platform's language id ("de_DE" -> 0x0407) and its English
// name ("German (Germany)"); no value for C, POSIX or an unlisted language.
std::optional<int> LanguageId();
std::optional<std::string> LanguageName(int id);

// ---- Screen and keyboard ----------------------------------------------------------------
// Screen facts of the primary screen of a running GUI application; no value otherwise.
std::optional<int> ScreenWidth();
std::optional<int> ScreenHeight();
std::optional<int> ScreenPixelsPerInch();
std::optional<int> ScreenColorDepth();
// Names of the installed font families; empty without a running GUI application.
std::vector<std::string> ScreenFontNames();

// From the X server named by DISPLAY, when one is reachable.
std::optional<int> ScreenSaverTimeout();   // seconds; 0 when the screen saver is off
std::optional<int> KeyboardDelay();        // 0 (shortest) .. 3 (longest)
std::optional<int> KeyboardSpeed();        // 0 (slowest) .. 31 (fastest)
bool SetKeyboardRepeat(int delay, int speed);
enum class LockKey { Num, Caps, Scroll };
std::optional<bool> LockKeyOn(LockKey key);
// Locks or unlocks the key's modifier; false where that cannot be done.
bool SetLockKey(LockKey key, bool on);

// ---- Program version block ---------------------------------------------------------------
struct VersionBlock {
    int Major = 0, Minor = 0, Release = 0, Build = 0;
    std::string CompanyName, ProductName, ProductVersion, LegalCopyright, LegalTrademark,
        FileDescription, Comments;
};
const VersionBlock& ProgramVersion();

}  // namespace sys
