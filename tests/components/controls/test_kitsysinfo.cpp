// The system-information component: facts against independent sources, the locale values and
// the read-only properties.
#include <gtest/gtest.h>

#include <unistd.h>

#include <ctime>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "SysFixture.h"
#include "components/controls/kitsysinfo.h"

using namespace kit;

namespace {

class kitSysInfo : public systest::TempLocaleStore {};

TEST_F(kitSysInfo, FactsAgainstTheKernel) {
    TKitSysInfo si(nullptr);
    const std::string memKb = systest::procValue("/proc/meminfo", "MemTotal");
    EXPECT_EQ(std::to_string(si.MemPhysTotal()), memKb.substr(0, memKb.find(' ')));
    EXPECT_LE(si.MemPhysFree(), si.MemPhysTotal());
    std::string host;
    std::getline(std::ifstream("/proc/sys/kernel/hostname"), host);
    EXPECT_EQ(si.Computername(), host);
    EXPECT_EQ(si.ProcessorNumber(), std::min<long>(::sysconf(_SC_NPROCESSORS_ONLN), 255));
#if defined(__x86_64__)
    EXPECT_EQ(si.ProcessorInfo()->IDString(), systest::procValue("/proc/cpuinfo", "vendor_id"));
#endif
    EXPECT_TRUE(std::regex_match(si.MemoryLoaded(), std::regex("[0-9]{1,3} %")));
    EXPECT_EQ(si.FreeGdiRes(), "0 %");
    EXPECT_EQ(si.FreeSysRes(), "0 %");
    EXPECT_EQ(si.Platform(), "Linux");
    EXPECT_EQ(si.WinPath(), "(Unbekannt)");
    EXPECT_EQ(si.RegisteredOwner(), "(Unbekannt)");
    EXPECT_TRUE(si.PlusAvailable());
    ::setenv("FELDOR_SYSINFO_PROBE", "42", 1);
    EXPECT_NE(si.Environment()->IndexOf("FELDOR_SYSINFO_PROBE=42"), -1);
    ::unsetenv("FELDOR_SYSINFO_PROBE");
    EXPECT_TRUE(si.AllPrinters()->Sorted);
    EXPECT_EQ(si.AllPrinters()->Count(), 0);
}

TEST_F(kitSysInfo, TimeZoneDifference) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    TKitSysInfo si(nullptr);
    const struct {
        const char* tz;
        int diff;
    } cases[] = {{"Europe/Berlin", -60}, {"America/New_York", 300}, {"UTC", 0}};
    for (const auto& c : cases) {
        ::setenv("TZ", c.tz, 1);
        EXPECT_EQ(si.TimeZoneDiff(), c.diff) << c.tz;
    }
    ::setenv("TZ", "Europe/Berlin", 1);
    EXPECT_EQ(si.TimeZone(), "CET");
    if (old)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

TEST_F(kitSysInfo, LocaleValuesReadAndWrite) {
    TKitSysInfo si(nullptr);
    si.SetLocaleDecimalSeparator(",");
    si.SetLocaleThousand(".");
    EXPECT_EQ(si.LocaleDecimalSeparator(), ",");
    si.SetLocaleProp(15, ".");
    EXPECT_EQ(si.LocaleDecimalSeparator(), ".");
    // The monetary (21) and the numeric (25) thousands separators are two values.
    si.SetLocaleThousandSeparator("'");
    EXPECT_EQ(si.LocaleThousandSeparator(), "'");
    EXPECT_EQ(si.LocaleThousand(), ".");
    // A value over its limit is refused.
    si.SetLocaleDecimalSeparator("....");
    EXPECT_EQ(si.LocaleDecimalSeparator(), ".");
    si.SetLocaleShortDateFormat(std::string(80, 'd'));
    EXPECT_NE(si.LocaleShortDateFormat(), std::string(80, 'd'));
    EXPECT_EQ(si.GetLocaleProp(28), "Hallo");
    EXPECT_EQ(si.LocaleCalendarType(), "1");
}

TEST_F(kitSysInfo, UnreadableStoreShowsHallo) {
    ASSERT_EQ(::mkdir(sys::LocaleStoreFileName().c_str(), 0755), 0);
    TKitSysInfo si(nullptr);
    EXPECT_EQ(si.LocaleDecimalSeparator(), "Hallo");
}

TEST_F(kitSysInfo, ReadOnlyPropertiesIgnoreWrites) {
    TKitSysInfo si(nullptr);
    const std::string user = si.CurrentUser();
    si.SetCurrentUser("somebody else");
    si.SetComputername("elsewhere");
    si.SetMemPhysTotal(1);
    si.SetProcessorNumber(0);
    si.SetTimeZoneDiff(12345);
    EXPECT_EQ(si.CurrentUser(), user);
    EXPECT_NE(si.MemPhysTotal(), 1);
    EXPECT_NE(si.ProcessorNumber(), 0);
    EXPECT_NE(si.TimeZoneDiff(), 12345);
    // Integer indexes the accessor does not list read 0.
    for (int i : {1, 2, 3, 4, 5, 6, 13, -1}) EXPECT_EQ(si.GetIntegerProp(i), 0) << i;
    EXPECT_EQ(si.GetInt64Prop(0), 0);
    EXPECT_EQ(si.GetStringProp(16), "");
}

// Without an X server and without a GUI application. This program makes its application
// before the first test, so the checks run in a fresh process of it that makes none.
TEST_F(kitSysInfo, KeysAndDesktopSettingsWithoutAnXServer) {
    if (std::getenv("DISPLAY")) GTEST_SKIP() << "an X display is set";
    if (!std::getenv("FELDOR_TESTS_WITHOUT_APPLICATION")) {
        char exe[4096] = {};
        ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
        const std::string log = dir_ + "/child.log";
        const std::string cmd = "FELDOR_TESTS_WITHOUT_APPLICATION=1 '" + std::string(exe) +
                                "' --gtest_filter=kitSysInfo.KeysAndDesktopSettingsWithoutAnXServer > '" +
                                log + "' 2>&1";
        const int status = std::system(cmd.c_str());
        std::ifstream in(log);
        const std::string output((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(status, 0) << output;
        EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
        return;
    }
    TKitSysInfo si(nullptr);
    EXPECT_FALSE(si.NumLockState());
    si.SetNumLockState(si.NumLockState());  // its own value: nothing happens
    si.SetCapsLockState(true);              // no keyboard to toggle: keeps the system's value
    EXPECT_FALSE(si.CapsLockState());
    si.SetWindowAnimation(true);
    EXPECT_FALSE(si.WindowAnimation());
    EXPECT_EQ(si.KeyboardDelay(), 0);
    EXPECT_EQ(si.ScreenWidth(), 0);
    EXPECT_EQ(si.ColorDepth(), 0);
    EXPECT_EQ(si.AllFonts()->Count(), 0);  // no GUI application in this program
}

}  // namespace
