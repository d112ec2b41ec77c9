// The per-user locale store of the four separators and the class library's copy of it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/LocaleStore.h"

namespace {

class sysLocaleStore : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/sys_locale_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        dir_ = std::string(dir) + "/nested/feldor";  // created on demand
        root_ = dir;
        sys::SetLocaleStoreDirectory(dir_);
        saved_ = rtl::FormatSettings();
    }
    void TearDown() override {
        sys::SetLocaleStoreDirectory("");
        rtl::FormatSettings() = saved_;
        std::system(("rm -rf '" + root_ + "'").c_str());
    }
    std::string dir_, root_;
    rtl::TFormatSettings saved_;
};

TEST_F(sysLocaleStore, FirstUseTakesThePosixLocaleAndPersistsIt) {
    const sys::LocaleSeparators posix = sys::PosixLocaleSeparators();
    // The tests run with LC_ALL=C.UTF-8: '.' decimal, no grouping -> ',' partner, list ','.
    if (std::string(std::getenv("LC_ALL") ? std::getenv("LC_ALL") : "") == "C.UTF-8") {
        EXPECT_EQ(posix.Decimal, '.');
        EXPECT_EQ(posix.Thousand, ',');
        EXPECT_EQ(posix.List, ',');
        EXPECT_EQ(posix.CurrencyThousand, ',');
    }
    EXPECT_EQ(posix.List, posix.Decimal == ',' ? ';' : ',');
    EXPECT_FALSE(rtl::FileExists(sys::LocaleStoreFileName()));
    EXPECT_EQ(sys::GetLocaleSeparators(), posix);
    EXPECT_EQ(sys::LocaleStoreFileName(), dir_ + "/locale.ini");
    EXPECT_TRUE(rtl::FileExists(sys::LocaleStoreFileName()));
}

TEST_F(sysLocaleStore, SetPersistsAllFourSeparators) {
    const sys::LocaleSeparators german{',', '.', ';', '.'};
    sys::SetLocaleSeparators(german);
    EXPECT_EQ(sys::GetLocaleSeparators(), german);
    const sys::LocaleSeparators odd{'.', ' ', '|', '\''};
    sys::SetLocaleSeparators(odd);
    EXPECT_EQ(sys::GetLocaleSeparators(), odd);  // a blank survives the file
    rtl::TIniFile ini(sys::LocaleStoreFileName());
    EXPECT_EQ(ini.ReadString("Locale", "SDECIMAL", ""), "\".\"");
    EXPECT_EQ(ini.ReadString("Locale", "STHOUSAND", ""), "\" \"");
}

TEST_F(sysLocaleStore, StoresOfTheFourSeparatorsAreStillRead) {
    sys::SetLocaleStoreDirectory(root_);
    {
        rtl::TIniFile ini(sys::LocaleStoreFileName());
        ini.WriteInteger("Separators", "Decimal", ',');
        ini.WriteInteger("Separators", "Thousand", '.');
        ini.WriteString("Separators", "List", "kaputt");  // falls back to the derivation
    }
    EXPECT_EQ(sys::GetLocaleSeparators().Decimal, ',');
    EXPECT_EQ(sys::GetLocaleSeparators().Thousand, '.');
    EXPECT_EQ(sys::GetLocaleSeparators().List, sys::PosixLocaleSeparators().List);
}

TEST_F(sysLocaleStore, FormatSettingsIsACopyRefreshedOnRequest) {
    sys::SetLocaleSeparators({',', '.', ';', '.'});
    sys::LoadFormatSettingsFromLocale();
    EXPECT_EQ(rtl::FormatSettings().DecimalSeparator, ',');
    EXPECT_EQ(rtl::FormatSettings().ThousandSeparator, '.');
    EXPECT_EQ(rtl::FormatSettings().ListSeparator, ';');
    EXPECT_EQ(rtl::FormatSettings().CurrencyThousandSeparator, '.');
    EXPECT_EQ(rtl::Format("%.2f", 1.5), "1,50");

    sys::SetLocaleSeparators({'.', ',', ',', ','});
    EXPECT_EQ(rtl::FormatSettings().DecimalSeparator, ',');  // the copy does not follow
    EXPECT_EQ(rtl::StrToFloat("1,5"), 1.5L);
    sys::LoadFormatSettingsFromLocale();
    EXPECT_EQ(rtl::FormatSettings().DecimalSeparator, '.');
    EXPECT_EQ(rtl::Format("%n", 1234.5), "1,234.50");
    EXPECT_EQ(rtl::StrToFloat("1.5"), 1.5L);
    EXPECT_THROW((void)rtl::StrToFloat("1,5"), rtl::EConvertError);
}

TEST_F(sysLocaleStore, DirectoryFromEnvironment) {
    sys::SetLocaleStoreDirectory("");
    const char* oldFeldor = std::getenv("FELDOR_CONFIG_DIR");
    const std::string saveFeldor = oldFeldor ? oldFeldor : "";
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string saveXdg = oldXdg ? oldXdg : "";
    setenv("FELDOR_CONFIG_DIR", (root_ + "/env").c_str(), 1);
    EXPECT_EQ(sys::LocaleStoreDirectory(), root_ + "/env");
    unsetenv("FELDOR_CONFIG_DIR");
    setenv("XDG_CONFIG_HOME", (root_ + "/xdg").c_str(), 1);
    EXPECT_EQ(sys::LocaleStoreDirectory(), root_ + "/xdg/feldor");
    unsetenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (home && *home) {
        EXPECT_EQ(sys::LocaleStoreDirectory(), std::string(home) + "/.config/feldor");
    }
    if (oldFeldor) setenv("FELDOR_CONFIG_DIR", saveFeldor.c_str(), 1);
    if (oldXdg) setenv("XDG_CONFIG_HOME", saveXdg.c_str(), 1);
    sys::SetLocaleStoreDirectory(dir_);
    EXPECT_EQ(sys::LocaleStoreDirectory(), dir_);
}

TEST_F(sysLocaleStore, UnwritableStoreStillAnswersAndSetRaises) {
    sys::SetLocaleStoreDirectory("/proc/feldor-no-such-dir");
    EXPECT_EQ(sys::GetLocaleSeparators(), sys::PosixLocaleSeparators());
    EXPECT_THROW(sys::SetLocaleSeparators({',', '.', ';', '.'}), rtl::EFCreateError);
}

}  // namespace
