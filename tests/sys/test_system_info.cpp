// System facts compared with independent sources of this machine.
#include <gtest/gtest.h>

#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/sys/SystemInfo.h"

namespace {

std::string procValue(const std::string& file, const std::string& key) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) {
            std::string v = line.substr(line.find(':') + 1);
            v.erase(0, v.find_first_not_of(" \t"));
            return v;
        }
    return "";
}

std::string command(const char* cmd) {
    std::string out;
    if (FILE* p = ::popen(cmd, "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p)) out += buf;
        ::pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

// Sets an environment variable for the scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
        ::tzset();
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

TEST(sysSystemInfo, MemoryMatchesTheKernelsFigures) {
    const sys::MemoryStatus m = sys::GetMemoryStatus();
    const unsigned long long memTotalKb = std::stoull(procValue("/proc/meminfo", "MemTotal:"));
    EXPECT_EQ(m.TotalPhys / 1024, memTotalKb);
    EXPECT_GT(m.TotalPhys, 0u);
    EXPECT_LE(m.AvailPhys, m.TotalPhys);
    EXPECT_LE(m.MemoryLoad, 100u);
    const unsigned long long swapKb = std::stoull(procValue("/proc/meminfo", "SwapTotal:"));
    EXPECT_EQ(m.TotalPageFile, m.TotalPhys + swapKb * 1024);
    EXPECT_LT(m.AvailVirtual, m.TotalVirtual);
    EXPECT_EQ(m.AvailExtendedVirtual, 0u);
}

TEST(sysSystemInfo, HostUserProcessorAndKernel) {
    std::string host;
    std::getline(std::ifstream("/proc/sys/kernel/hostname") >> std::ws, host);
    EXPECT_EQ(sys::HostName().value_or(""), host);
    EXPECT_EQ(sys::UserName().value_or(""), command("id -un"));

    std::uint32_t a, b, c, d;
    if (sys::CpuId(0, a, b, c, d)) {
        char vendor[13] = {};
        std::memcpy(vendor, &b, 4);
        std::memcpy(vendor + 4, &d, 4);
        std::memcpy(vendor + 8, &c, 4);
        EXPECT_EQ(std::string(vendor), procValue("/proc/cpuinfo", "vendor_id"));
        EXPECT_EQ(sys::ProcessorTypeCode(), 8664);
    }
    EXPECT_EQ(std::to_string(sys::ProcessorCount()), command("grep -c ^processor /proc/cpuinfo"));

    std::string release;
    std::getline(std::ifstream("/proc/sys/kernel/osrelease"), release);
    const sys::KernelVersion k = sys::GetKernelVersion();
    EXPECT_EQ(release.rfind(std::to_string(k.Major) + "." + std::to_string(k.Minor) + ".", 0), 0u) << release;

    // The nice value is field 19 of the kernel's stat line of the process and of the thread.
    std::string self;
    std::getline(std::ifstream("/proc/self/stat"), self);
    std::istringstream fields(self.substr(self.rfind(')') + 2));
    std::string f;
    for (int i = 3; i <= 19 && fields >> f; ++i) {
    }
    EXPECT_EQ(std::to_string(sys::ProcessPriority()), f);
    EXPECT_EQ(sys::ThreadPriority(), sys::ProcessPriority());  // the main thread

    EXPECT_EQ(sys::OsPrettyName(), command(". /etc/os-release 2>/dev/null || . /usr/lib/os-release; echo \"$PRETTY_NAME\""));

    const std::uint64_t t0 = sys::ReadTimeStampCounter();
    ::usleep(2000);
    EXPECT_GT(sys::ReadTimeStampCounter(), t0);
}

TEST(sysSystemInfo, TimeZoneBiasUnderTz) {
    const std::int64_t winter = 1705320000;  // 2024-01-15 12:00 UTC
    const std::int64_t summer = 1721044800;  // 2024-07-15 12:00 UTC
    const struct {
        const char* tz;
        std::int64_t t;
        int bias, daylightBias;
        bool dst;
    } cases[] = {
        {"Europe/Berlin", winter, -60, -60, false},
        {"Europe/Berlin", summer, -60, -60, true},
        {"America/New_York", winter, 300, -60, false},
        {"UTC", winter, 0, 0, false},
        {"Asia/Kolkata", summer, -330, 0, false},
    };
    for (const auto& c : cases) {
        ScopedEnv tz("TZ", c.tz);
        const sys::TimeZoneInfo z = sys::GetTimeZoneInfo(c.t);
        EXPECT_EQ(z.Bias, c.bias) << c.tz;
        EXPECT_EQ(z.DaylightBias, c.daylightBias) << c.tz;
        EXPECT_EQ(z.DaylightNow, c.dst) << c.tz;
    }
    ScopedEnv tz("TZ", "Europe/Berlin");
    EXPECT_EQ(sys::GetTimeZoneInfo(winter).StandardName, "CET");
    EXPECT_EQ(sys::GetTimeZoneInfo(winter).DaylightName, "CEST");
}

TEST(sysSystemInfo, RootFileSystem) {
    const sys::VolumeInfo v = sys::GetVolumeInfo("/");
    struct statvfs s;
    ASSERT_EQ(::statvfs("/", &s), 0);
    EXPECT_EQ(v.DiskSize, static_cast<std::int64_t>(s.f_blocks * s.f_frsize));
    EXPECT_GT(v.DiskFree, 0);
    EXPECT_LE(v.DiskFree, v.DiskSize);
    EXPECT_EQ(v.FileSystem, command("awk '$2 == \"/\" {t=$3} END {print t}' /proc/mounts"));
    EXPECT_EQ(v.MountPoint, "/");
    EXPECT_GT(v.BytesPerSector, 0u);
    EXPECT_EQ(static_cast<std::uint64_t>(v.SectorsPerCluster) * v.BytesPerSector, s.f_frsize);
    EXPECT_EQ(v.MaximumLength, s.f_namemax);
    EXPECT_NE(v.DriveType, sys::DriveNoRootDir);

    const sys::VolumeInfo none = sys::GetVolumeInfo("/no/such/place");
    EXPECT_EQ(none.DriveType, sys::DriveNoRootDir);
    EXPECT_EQ(none.DiskSize, -1);
    EXPECT_EQ(none.FileSystem, "");
    EXPECT_EQ(sys::DriveRoot('c'), "/");
    EXPECT_EQ(sys::DriveRoot('D'), "");
}

TEST(sysSystemInfo, EnvironmentDerivedFacts) {
    {
        ScopedEnv t("TMPDIR", "/var/tmp/x");
        EXPECT_EQ(sys::TempPath(), "/var/tmp/x/");
    }
    {
        ScopedEnv t("TMPDIR", nullptr);
        EXPECT_EQ(sys::TempPath(), "/tmp/");
    }
    const struct {
        const char* lang;
        int id;
    } langs[] = {{"de_DE.UTF-8", 0x0407}, {"de_AT", 0x0C07}, {"en_US.UTF-8", 0x0409}, {"fr", 0x040C}, {"C", -1},
                 {"", -1}, {"xx_YY", -1}};
    for (const auto& l : langs) {
        ScopedEnv e("LANG", l.lang);
        EXPECT_EQ(sys::LanguageId().value_or(-1), l.id) << l.lang;
    }
    EXPECT_EQ(sys::LanguageName(0x0407).value_or(""), "German (Germany)");
    EXPECT_FALSE(sys::LanguageName(0x7777));

    ScopedEnv e("FELDOR_PROBE", "a=b");
    bool found = false;
    for (const auto& s : sys::EnvironmentStrings()) found = found || s == "FELDOR_PROBE=a=b";
    EXPECT_TRUE(found);
}

TEST(sysSystemInfo, FactsWithoutScreenOrXServerAreAbsent) {
    // No GUI application and no X display in this program.
    ScopedEnv d("DISPLAY", nullptr);
    EXPECT_FALSE(sys::ScreenWidth());
    EXPECT_FALSE(sys::ScreenColorDepth());
    EXPECT_FALSE(sys::LockKeyOn(sys::LockKey::Num));
    EXPECT_FALSE(sys::KeyboardDelay());
    EXPECT_FALSE(sys::ScreenSaverTimeout());
    EXPECT_FALSE(sys::SetLockKey(sys::LockKey::Caps, true));
}

TEST(sysSystemInfo, ProgramVersionBlock) {
    const sys::VersionBlock& v = sys::ProgramVersion();
    EXPECT_EQ(v.ProductVersion, "1.1.4");
    EXPECT_EQ(v.Major, 1);
    EXPECT_EQ(v.Minor, 1);
    EXPECT_EQ(v.Release, 4);
    EXPECT_EQ(v.ProductName, "Feldor");
}

}  // namespace
