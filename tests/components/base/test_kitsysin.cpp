// System-information engine: information kinds against the kernel's own figures, divisors,
// captions, version texts and the values that have no counterpart here.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>

#include "components/base/kitsysin.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/SystemInfo.h"

using namespace kit;

namespace {

std::string info(int kind, int divisor = 1, const std::string& fmt = "") {
    std::string r = "untouched";
    KitGetInfo(kind, divisor, fmt, r);
    return r;
}

std::string memTotalKb() {
    std::ifstream in("/proc/meminfo");
    std::string key, value;
    while (in >> key >> value)
        if (key == "MemTotal:") return value;
    return "";
}

TEST(kitSysIn, MemoryAndHostAgainstTheKernel) {
    EXPECT_EQ(info(itMemSize, 1024), memTotalKb());
    EXPECT_EQ(info(itMemSize, 0), info(itMemSize, 1));  // divisor 0 counts as 1
    EXPECT_EQ(info(itMemSize, 1), std::to_string(KitTotalPhys()));
    std::string host;
    std::getline(std::ifstream("/proc/sys/kernel/hostname"), host);
    EXPECT_EQ(info(itComputerName32), host);
    EXPECT_EQ(info(itProcessorCont32), std::to_string(sys::ProcessorCount()));
    TKitExtMemoryStatus m;
    KitGetMemoryStatus(m);
    EXPECT_EQ(m.dwLength, 64u);
    EXPECT_LE(m.ullAvailPhys, m.ullTotalPhys);
}

TEST(kitSysIn, KindsWithoutACounterpartAndFixedAnswers) {
    const struct {
        int kind;
        const char* want;
    } cases[] = {
        {itWinDir, "(Unbekannt)"},      {itSystemDir, "(Unbekannt)"},    {itReg_Owner32, "(Unbekannt)"},
        {itReg_Company32, "(Unbekannt)"}, {itPlatformID32, "2"},
        {itDOSVersion, "Win32"},        {itFreeSysRes, "0"},             {itFreeGDIRes, "0"},
        {itFreeUserRes, "0"},           {itProgVersion, "1.1.4"},        {itFileVersion, "1.1"},
        {itFileVersionFull, "1.1.4.0"}, {itFileVersionBuild, "1.1 (Build 4.0)"},
        {itProgName, "Feldor"},         {itProgCompany, ""},
        {KitInfoTypeCount, "untouched"}, {-1, "untouched"},
    };
    for (const auto& c : cases) EXPECT_EQ(info(c.kind), c.want) << c.kind;
    EXPECT_TRUE(KitIsWinNT);
    EXPECT_TRUE(KitPlusAvailable);
    // The platform: id 2 with the kernel's own name, as the kernel reports its type.
    std::string ostype;
    std::getline(std::ifstream("/proc/sys/kernel/ostype"), ostype);
    EXPECT_EQ(ostype, "Linux");
    EXPECT_EQ(info(itPlatform32), ostype);
    EXPECT_EQ(KitPlatformName(), ostype);
    const sys::KernelVersion k = sys::GetKernelVersion();
    EXPECT_EQ(info(itVersion), std::to_string(k.Major) + "." + std::to_string(k.Minor));
    EXPECT_EQ(info(itMajorVerNr32), std::to_string(k.Major));
    EXPECT_EQ(KitGetVersionExField(2), 2u);
    EXPECT_EQ(KitGetVersionExField(8), 0u);
#if defined(__x86_64__)
    EXPECT_EQ(info(itProcessor32), "8664");
#endif
}

TEST(kitSysIn, ScreenAndKeysWithoutDisplayAreUnknown) {
    // The tests run without an X display; the screen is known only once a GUI application runs.
    if (std::getenv("DISPLAY")) GTEST_SKIP() << "an X display is set";
    EXPECT_EQ(info(itNumLock), "(Unbekannt)");
    EXPECT_EQ(info(itScreenSaverDelay), "(Unbekannt)");
    EXPECT_FALSE(KitCapsLockOn());
    if (const auto depth = sys::ScreenColorDepth()) {
        EXPECT_EQ(info(itColorDepth), std::to_string(*depth));
    } else {
        EXPECT_EQ(info(itColorDepth), "(Unbekannt)");
        EXPECT_EQ(KitColorDepth(), 0);
    }
}

TEST(kitSysIn, PathsAndDrives) {
    EXPECT_EQ(info(itCurrentDir32), sys::CurrentDirectory());
    EXPECT_EQ(info(itCurrentDir32).back(), '/');
    EXPECT_EQ(info(itTempPath32).back(), '/');
    TKitDriveInfo d;
    KitGetDriveInfo("/", d);
    EXPECT_GE(d.DriveType, 2u);
    EXPECT_GT(d.DiskSize, 0);
    EXPECT_GT(d.BytesPerSector, 0u);
    KitGetDriveInfo("/no/such/dir", d);  // every field is cleared first
    EXPECT_EQ(d.DriveType, 1u);
    EXPECT_EQ(d.DiskSize, 0);
    EXPECT_EQ(d.BytesPerSector, 0u);
    const long long size = std::stoll(info(itCurrentDiskSize32, 1024));
    EXPECT_GT(size, 0);
    EXPECT_GE(size, std::stoll(info(itCurrentDiskFree32, 1024)));

    rtl::TStringList env;
    env.Add("stale");
    KitGetEnvironment(env);
    EXPECT_EQ(env.IndexOf("stale"), -1);
    EXPECT_GT(env.Count(), 0);
}

TEST(kitSysIn, DateTimeUsesTheFormat) {
    EXPECT_TRUE(std::regex_match(info(itCurrentDateTime, 1, "hh:nn"), std::regex("[0-2][0-9]:[0-5][0-9]")));
    EXPECT_TRUE(std::regex_match(info(itCurrentDateTime, 1, "yyyy"), std::regex("20[0-9][0-9]")));
}

TEST(kitSysIn, CaptionsAndNames) {
    std::string c;
    const struct {
        int kind;
        const char* want;
    } cases[] = {{itUser, "Username"},
                 {itCurrentDiskSize32, "Disk size of current Disk"},
                 {itProgVersion, "ProductVersion"},
                 {itFileVersionBuild, "ProductVersion"},
                 {itProgCopyright, "LegalCopyright"},
                 {itCPUSpeed, "CPU Speed"},
                 {KitInfoTypeCount, ""}};
    for (const auto& k : cases) {
        c = "x";
        KitGetInfoCaption(k.kind, c);
        EXPECT_EQ(c, k.want) << k.kind;
    }
    EXPECT_EQ(KitProcessorTypeName(21064), "Alpha 21064");
    EXPECT_EQ(KitProcessorTypeName(586), "Intel Pentium");
    EXPECT_EQ(KitProcessorTypeName(3000), "Mips R3000");
    EXPECT_EQ(KitProcessorTypeName(1234), "1234");
    for (int i = 0; i <= 9; ++i) EXPECT_EQ(KitVersionInfoString(nullptr, i), "") << i;  // no version block
}

TEST(kitSysIn, ProcessorClock) {
    const double mhz = KitCPUSpeed();
    EXPECT_GT(mhz, 100.0);
    EXPECT_LT(mhz, 10000.0);
    const long double shown = rtl::StrToFloat(info(itCPUSpeed, 1000));  // GHz
    EXPECT_GT(shown, 0.1L);
    EXPECT_LT(shown, 10.0L);
}

}  // namespace
