// The 28 locale values: their derivation from POSIX locale facts, the per-value limits, and
// persistence across processes.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/LocaleStore.h"

extern char** environ;

namespace {

using sys::LocaleValue;

std::string at(const std::array<std::string, sys::LocaleValueCount>& v, LocaleValue k) {
    return v[static_cast<int>(k)];
}

class sysLocaleValues : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/sys_values_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        dir_ = dir;
        sys::SetLocaleStoreDirectory(dir_);
    }
    void TearDown() override {
        sys::SetLocaleStoreDirectory("");
        std::system(("rm -rf '" + dir_ + "'").c_str());
    }
    // Runs this test program as a second process on the same store; returns its output.
    std::string child(const std::vector<std::string>& args, int* status = nullptr) {
        std::vector<std::string> argv{"/proc/self/exe", "--locale-child"};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> cargv;
        for (auto& a : argv) cargv.push_back(a.data());
        cargv.push_back(nullptr);
        std::vector<std::string> env{"FELDOR_CONFIG_DIR=" + dir_, "LC_ALL=C.UTF-8"};
        std::vector<char*> cenv;
        for (auto& e : env) cenv.push_back(e.data());
        cenv.push_back(nullptr);
        int fds[2];
        EXPECT_EQ(pipe(fds), 0);
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
        posix_spawn_file_actions_addclose(&fa, fds[0]);
        pid_t pid = 0;
        EXPECT_EQ(posix_spawn(&pid, "/proc/self/exe", &fa, nullptr, cargv.data(), cenv.data()), 0);
        posix_spawn_file_actions_destroy(&fa);
        close(fds[1]);
        std::string out;
        char buf[256];
        ssize_t n;
        while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
        close(fds[0]);
        int st = 0;
        waitpid(pid, &st, 0);
        if (status) *status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        return out;
    }
    std::string dir_;
};

TEST(sysLocaleDerivation, GermanAndAmericanFacts) {
    sys::PosixLocaleFacts de;
    de.Radix = ",";
    de.ThousandsSep = ".";
    de.Grouping = "\3\3";
    de.MonDecimal = ",";
    de.MonThousandsSep = ".";
    de.MonGrouping = "\3\3";
    de.CurrencySymbol = "\u20AC";
    de.NegativeSign = "-";
    de.FracDigits = 2;
    de.PCsPrecedes = 0, de.PSepBySpace = 1;
    de.NCsPrecedes = 0, de.NSepBySpace = 1, de.NSignPosn = 1;
    de.DateFormat = "%d.%m.%Y";
    de.TimeFormat = "%T";
    de.FirstWeekday = 2;
    de.FirstWeekMinDays = 4;
    de.Measurement = 1;
    const auto d = sys::DeriveLocaleValues(de);
    EXPECT_EQ(at(d, LocaleValue::DecimalSeparator), ",");
    EXPECT_EQ(at(d, LocaleValue::Thousand), ".");
    EXPECT_EQ(at(d, LocaleValue::ListSeparator), ";");
    EXPECT_EQ(at(d, LocaleValue::Grouping), "3;0");
    EXPECT_EQ(at(d, LocaleValue::CurrencySymbol), "\u20AC");
    EXPECT_EQ(at(d, LocaleValue::Currency), "3");          // 1,1 €
    EXPECT_EQ(at(d, LocaleValue::NegativeCurrency), "8");  // -1,1 €
    EXPECT_EQ(at(d, LocaleValue::ShortDateFormat), "dd.MM.yyyy");
    EXPECT_EQ(at(d, LocaleValue::LongDateFormat), "dddd, d. MMMM yyyy");
    EXPECT_EQ(at(d, LocaleValue::DateSeparator), ".");
    EXPECT_EQ(at(d, LocaleValue::TimeFormat), "HH:mm:ss");
    EXPECT_EQ(at(d, LocaleValue::TimeSeparator), ":");
    EXPECT_EQ(at(d, LocaleValue::Time), "1");
    EXPECT_EQ(at(d, LocaleValue::FirstDayOfWeek), "0");   // Monday
    EXPECT_EQ(at(d, LocaleValue::FirstWeekOfYear), "2");  // first week with four days
    EXPECT_EQ(at(d, LocaleValue::Measure), "0");

    sys::PosixLocaleFacts us;
    us.Radix = ".";
    us.ThousandsSep = ",";
    us.Grouping = "\3\3";
    us.MonThousandsSep = ",";
    us.CurrencySymbol = "$";
    us.PCsPrecedes = 1, us.PSepBySpace = 0;
    us.NCsPrecedes = 1, us.NSepBySpace = 0, us.NSignPosn = 1;
    us.DateFormat = "%m/%d/%Y";
    us.TimeFormat = "%r";
    us.AmString = "AM";
    us.PmString = "PM";
    us.FirstWeekday = 1;
    us.FirstWeekMinDays = 1;
    us.Measurement = 2;
    us.Grouping = "\3\2";  // a repeating group after a different first one
    const auto u = sys::DeriveLocaleValues(us);
    EXPECT_EQ(at(u, LocaleValue::Grouping), "3;2;0");
    EXPECT_EQ(at(u, LocaleValue::ListSeparator), ",");
    EXPECT_EQ(at(u, LocaleValue::Currency), "0");          // $1.1
    EXPECT_EQ(at(u, LocaleValue::NegativeCurrency), "1");  // -$1.1
    EXPECT_EQ(at(u, LocaleValue::ShortDateFormat), "MM/dd/yyyy");
    EXPECT_EQ(at(u, LocaleValue::LongDateFormat), "dddd, MMMM d, yyyy");
    EXPECT_EQ(at(u, LocaleValue::TimeFormat), "hh:mm:ss tt");
    EXPECT_EQ(at(u, LocaleValue::Time), "0");
    EXPECT_EQ(at(u, LocaleValue::MorningSymbol), "AM");
    EXPECT_EQ(at(u, LocaleValue::MonetaryDecimal), ".");  // not given: the decimal separator
    EXPECT_EQ(at(u, LocaleValue::FirstDayOfWeek), "6");   // Sunday
    EXPECT_EQ(at(u, LocaleValue::FirstWeekOfYear), "0");
    EXPECT_EQ(at(u, LocaleValue::Measure), "1");
    EXPECT_EQ(at(u, LocaleValue::CurrencyDigits), "2");   // not given
}

TEST_F(sysLocaleValues, CLocaleValuesAreDerivedAndKeptOnFirstUse) {
    // The tests run under C.UTF-8.
    const struct {
        LocaleValue v;
        const char* want;
    } cases[] = {
        {LocaleValue::DecimalSeparator, "."}, {LocaleValue::Thousand, ","},
        {LocaleValue::MonetaryThousand, ","}, {LocaleValue::ListSeparator, ","},
        {LocaleValue::DateSeparator, "/"},    {LocaleValue::ShortDateFormat, "MM/dd/yy"},
        {LocaleValue::TimeFormat, "HH:mm:ss"}, {LocaleValue::Time, "1"},
        {LocaleValue::NegativeSign, "-"},     {LocaleValue::Grouping, "3;0"},
        {LocaleValue::CalendarType, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(sys::LocaleValueKey(static_cast<int>(c.v)));
        EXPECT_EQ(sys::GetLocaleValue(c.v).value_or("(none)"), c.want);
    }
    // Every value of the set is now in the file: a later change of the environment's locale
    // no longer changes what the store answers.
    for (int i = 0; i < sys::LocaleValueCount; ++i)
        EXPECT_NE(child({"get", std::to_string(i)}), "[(none)]") << i;
}

TEST_F(sysLocaleValues, LimitsAndBadIndexes) {
    EXPECT_FALSE(sys::GetLocaleValue(-1));
    EXPECT_FALSE(sys::GetLocaleValue(28));
    EXPECT_FALSE(sys::SetLocaleValue(28, "x"));
    const std::string before = *sys::GetLocaleValue(LocaleValue::DecimalSeparator);
    EXPECT_FALSE(sys::SetLocaleValue(LocaleValue::DecimalSeparator, "abcd"));
    EXPECT_FALSE(sys::SetLocaleValue(LocaleValue::DecimalSeparator, "\n"));
    EXPECT_EQ(sys::GetLocaleValue(LocaleValue::DecimalSeparator), before);
    EXPECT_TRUE(sys::SetLocaleValue(LocaleValue::DecimalSeparator, "\u00B7\u00B7\u00B7"));  // 3 letters
    EXPECT_EQ(sys::GetLocaleValue(LocaleValue::DecimalSeparator), "\u00B7\u00B7\u00B7");
    EXPECT_FALSE(sys::SetLocaleValue(LocaleValue::LongDateFormat, std::string(80, 'd')));
    EXPECT_TRUE(sys::SetLocaleValue(LocaleValue::LongDateFormat, std::string(79, 'd')));
    EXPECT_TRUE(sys::SetLocaleValue(LocaleValue::MorningSymbol, " am "));  // blanks survive
    EXPECT_EQ(sys::GetLocaleValue(LocaleValue::MorningSymbol), " am ");
    EXPECT_TRUE(sys::SetLocaleValue(LocaleValue::PositiveSign, ""));
    EXPECT_EQ(sys::GetLocaleValue(LocaleValue::PositiveSign), "");
}

TEST_F(sysLocaleValues, StoreThatCannotBeReadDeliversNothing) {
    ASSERT_EQ(mkdir(sys::LocaleStoreFileName().c_str(), 0755), 0);  // a directory in its place
    EXPECT_FALSE(sys::GetLocaleValue(LocaleValue::DecimalSeparator));
    EXPECT_FALSE(sys::SetLocaleValue(LocaleValue::DecimalSeparator, ","));
}

TEST_F(sysLocaleValues, ValueSetInOneProcessIsReadInTheNext) {
    int status = -1;
    child({"set", "21", "'"}, &status);
    ASSERT_EQ(status, 0);
    child({"set", "25", " "}, &status);
    ASSERT_EQ(status, 0);
    // Monetary (21) and numeric (25) thousands separators are two values.
    EXPECT_EQ(child({"get", "21"}), "[']");
    EXPECT_EQ(child({"get", "25"}), "[ ]");
    EXPECT_EQ(sys::GetLocaleValue(21), "'");
    child({"set", "99", "x"}, &status);
    EXPECT_EQ(status, 2);
}

TEST_F(sysLocaleValues, NumberConversionOfTheNextProcessFollowsTheStore) {
    const rtl::TFormatSettings saved = rtl::FormatSettings();
    ASSERT_TRUE(sys::SetLocaleValue(LocaleValue::DecimalSeparator, ","));
    EXPECT_EQ(child({"numbers"}), "1234,5");
    ASSERT_TRUE(sys::SetLocaleValue(LocaleValue::DecimalSeparator, "."));
    EXPECT_EQ(child({"numbers"}), "1234.5");
    EXPECT_EQ(rtl::FormatSettings().DecimalSeparator, saved.DecimalSeparator);  // no live follow
}

TEST_F(sysLocaleValues, DateSettingsAreTakenAtLoad) {
    const rtl::TDateFormatSettings savedDates = rtl::DateFormatSettings();
    const rtl::TFormatSettings saved = rtl::FormatSettings();
    ASSERT_TRUE(sys::SetLocaleValue(LocaleValue::DateSeparator, "-"));
    ASSERT_TRUE(sys::SetLocaleValue(LocaleValue::ShortDateFormat, "yyyy/MM/dd"));
    ASSERT_TRUE(sys::SetLocaleValue(LocaleValue::TimeFormat, "hh:mm:ss tt"));
    sys::LoadFormatSettingsFromLocale();
    const rtl::TDateTime dt = rtl::EncodeDate(2024, 3, 5) + rtl::EncodeTime(14, 7, 9, 0);
    EXPECT_EQ(rtl::FormatDateTime("ddddd", dt), "2024-03-05");
    EXPECT_EQ(rtl::DateFormatSettings().ShortTimeFormat, "hh:mm tt");
    rtl::DateFormatSettings() = savedDates;
    rtl::FormatSettings() = saved;
}

}  // namespace
