// Processor identification against the kernel's cpuinfo; the date-time object's field setters.
#include <gtest/gtest.h>

#include "SysFixture.h"
#include "components/controls/kitcpuinfo.h"
#include "platform/rtl/SysUtils.h"

using namespace kit;

namespace {

TEST(kitCPUInfo, MatchesTheKernelsCpuinfo) {
#if !defined(__x86_64__)
    GTEST_SKIP() << "CPUID is an x86 instruction";
#endif
    TKitCPUInfoObject cpu;
    EXPECT_TRUE(cpu.ExistCPUInfo());
    EXPECT_EQ(cpu.IDString(), systest::procValue("/proc/cpuinfo", "vendor_id"));
    EXPECT_EQ(cpu.Stepping(), std::stoi(systest::procValue("/proc/cpuinfo", "stepping")));
    const int family = std::stoi(systest::procValue("/proc/cpuinfo", "cpu family"));
    EXPECT_EQ(cpu.Family(), family < 15 ? family : 15);  // four bits: no extended family
    EXPECT_EQ(cpu.Model(), std::stoi(systest::procValue("/proc/cpuinfo", "model")) & 0xF);
    EXPECT_EQ(cpu.FPU(), systest::cpuFlag("fpu"));
    EXPECT_EQ(cpu.TimeStampCoutner(), systest::cpuFlag("tsc"));
    EXPECT_EQ(cpu.MMX(), systest::cpuFlag("mmx"));
    EXPECT_EQ(cpu.CMP_XCHG_8B(), systest::cpuFlag("cx8"));
    EXPECT_EQ(cpu.Cond_MOVE_Instruct(), systest::cpuFlag("cmov"));
    if (cpu.IDString() == "AuthenticAMD") {
        // The brand string (a virtual machine's kernel may name the processor differently).
        EXPECT_FALSE(rtl::Trim(cpu.CPUName()).empty());
        for (char c : cpu.CPUName()) EXPECT_TRUE(c >= ' ' && c < 127) << int(c);
        EXPECT_EQ(cpu.SysCallAndSysRet(), systest::cpuFlag("syscall"));
    } else {
        EXPECT_EQ(cpu.CPUName(), "");  // brand string and extended flags only on AMD
        EXPECT_FALSE(cpu.SysCallAndSysRet());
        EXPECT_FALSE(cpu.FPCond_MOVE_Instruct());
        EXPECT_FALSE(cpu.AMD3DNow());
    }
    const std::string name = cpu.CPUName();
    cpu.SetCPUName("changed");
    cpu.SetFlag(0, !cpu.FPU());
    EXPECT_EQ(cpu.CPUName(), name);
    EXPECT_EQ(cpu.FPU(), systest::cpuFlag("fpu"));
    EXPECT_FALSE(cpu.Flag(16));
}

TEST(kitDateTime, DefaultsAndFieldSetters) {
    TKitDateTime d;
    int changes = 0;
    d.OnChange = [&](rtl::TObject*) { ++changes; };
    EXPECT_EQ(d.Day(), 1);
    EXPECT_EQ(d.Month(), 1);
    EXPECT_EQ(d.Year(), 1990);
    EXPECT_EQ(d.Hour() + d.Minute() + d.Second(), 0);

    d.Value = rtl::EncodeDate(2020, 6, 15) + rtl::EncodeTime(8, 30, 20, 500);
    d.SetHour(13);  // keeps the date, the minutes and the milliseconds
    EXPECT_DOUBLE_EQ(d.Value, rtl::EncodeDate(2020, 6, 15) + rtl::EncodeTime(13, 30, 20, 500));
    d.SetDay(20);  // keeps the time, drops its milliseconds
    EXPECT_DOUBLE_EQ(d.Value, rtl::EncodeDate(2020, 6, 20) + rtl::EncodeTime(13, 30, 20, 0));
    EXPECT_EQ(changes, 0);

    d.Value = rtl::EncodeDate(1992, 2, 29);
    EXPECT_THROW(d.SetYear(1991), rtl::EConvertError);
    EXPECT_DOUBLE_EQ(d.Value, rtl::EncodeDate(1992, 2, 29));
    d.Value = rtl::EncodeDate(2021, 4, 30);
    EXPECT_THROW(d.SetMonth(2), rtl::EConvertError);
    EXPECT_THROW(d.SetMinute(60), rtl::EConvertError);
    EXPECT_DOUBLE_EQ(d.Value, rtl::EncodeDate(2021, 4, 30));
}

TEST(kitDateTime, DatesBeforeTheEpochCountTheTimeAwayFromZero) {
    TKitDateTime d;
    d.Value = rtl::EncodeDate(1899, 12, 29);  // -1
    d.SetHour(6);
    EXPECT_DOUBLE_EQ(d.Value, -1.25);
    EXPECT_EQ(d.Day(), 29);
    EXPECT_EQ(d.Hour(), 6);
    d.SetDay(28);
    EXPECT_DOUBLE_EQ(d.Value, -2.25);
    EXPECT_EQ(d.Hour(), 6);
}

TEST(kitDateTime, AssignCopiesTheValue) {
    TKitDateTime a, b;
    a.Value = 12345.5;
    b.Assign(&a);
    EXPECT_DOUBLE_EQ(b.Value, 12345.5);
    TKitCPUInfoObject other;
    EXPECT_THROW(b.Assign(&other), rtl::EConvertError);
}

}  // namespace
