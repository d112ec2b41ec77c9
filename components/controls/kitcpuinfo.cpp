#include "components/controls/kitcpuinfo.h"

#include <cmath>
#include <cstring>

#include "platform/sys/SystemInfo.h"

namespace kit {

namespace {

// Bits of EDX of CPUID 1 for the 13 standard flags, in property order.
constexpr int kStandardBits[13] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 12, 13, 15, 23};
// Bits of EDX of CPUID $80000001 for the three extended flags.
constexpr int kExtendedBits[3] = {11, 16, 31};

std::string registerText(std::uint32_t r) {
    char c[4];
    std::memcpy(c, &r, 4);
    return std::string(c, 4);
}

// Whole days and time of day composed into one value; before 30.12.1899 the time counts
// away from zero, as the platform's negative date-times do.
rtl::TDateTime compose(rtl::TDateTime days, rtl::TDateTime time) { return days < 0 ? days - time : days + time; }

}  // namespace

bool KitCPUIDAvailable() { return sys::CpuIdAvailable(); }

bool KitReadCPUInfo(TKitCPUInfo& Info) {
    if (!KitCPUIDAvailable()) return KitCPUIDAvailable();
    std::uint32_t a, b, c, d;
    sys::CpuId(0, a, b, c, d);
    Info.Vendor = registerText(b) + registerText(d) + registerText(c);
    sys::CpuId(1, a, b, c, d);
    Info.Stepping = static_cast<int>(a & 0xF);
    Info.Model = static_cast<int>((a >> 4) & 0xF);
    Info.Family = static_cast<int>((a >> 8) & 0xF);
    for (int i = 0; i < 13; ++i) Info.Flags[i] = ((d >> kStandardBits[i]) & 1) != 0;
    for (int i = 13; i < 16; ++i) Info.Flags[i] = false;
    Info.CPUName.clear();
    std::uint32_t maxExt = 0;
    if (Info.Vendor == "AuthenticAMD" && sys::CpuId(0x80000000u, maxExt, b, c, d) && (maxExt & 0xFF) != 0) {
        if (sys::CpuId(0x80000001u, a, b, c, d))
            for (int i = 0; i < 3; ++i) Info.Flags[13 + i] = ((d >> kExtendedBits[i]) & 1) != 0;
        if (static_cast<std::int32_t>(maxExt) >= static_cast<std::int32_t>(0x80000004u)) {
            std::string brand;
            for (std::uint32_t leaf = 0x80000002u; leaf <= 0x80000004u; ++leaf) {
                sys::CpuId(leaf, a, b, c, d);
                brand += registerText(a) + registerText(b) + registerText(c) + registerText(d);
            }
            Info.CPUName = brand.substr(0, brand.find('\0'));
        }
    }
    return KitCPUIDAvailable();
}

TKitCPUInfoObject::TKitCPUInfoObject() { KitReadCPUInfo(info_); }

// ---- TKitDateTime --------------------------------------------------------------------------

TKitDateTime::TKitDateTime() { Value = rtl::EncodeDate(1990, 1, 1); }

int TKitDateTime::Day() const {
    int y, m, d;
    rtl::DecodeDate(Value, y, m, d);
    return d;
}
int TKitDateTime::Month() const {
    int y, m, d;
    rtl::DecodeDate(Value, y, m, d);
    return m;
}
int TKitDateTime::Year() const {
    int y, m, d;
    rtl::DecodeDate(Value, y, m, d);
    return y;
}
int TKitDateTime::Hour() const {
    int h, n, s, ms;
    rtl::DecodeTime(Value, h, n, s, ms);
    return h;
}
int TKitDateTime::Minute() const {
    int h, n, s, ms;
    rtl::DecodeTime(Value, h, n, s, ms);
    return n;
}
int TKitDateTime::Second() const {
    int h, n, s, ms;
    rtl::DecodeTime(Value, h, n, s, ms);
    return s;
}

void TKitDateTime::setDate(int year, int month, int day) {
    const rtl::TDateTime date = rtl::EncodeDate(year, month, day);
    const rtl::TDateTime time = rtl::EncodeTime(Hour(), Minute(), Second(), 0);
    Value = compose(date, time);
}

void TKitDateTime::setTime(int hour, int minute, int second) {
    int h, n, s, ms;
    rtl::DecodeTime(Value, h, n, s, ms);
    const rtl::TDateTime time = rtl::EncodeTime(hour, minute, second, ms);
    Value = compose(std::trunc(Value), time);
}

void TKitDateTime::SetDay(int v) {
    if (v != Day()) setDate(Year(), Month(), v);
}
void TKitDateTime::SetMonth(int v) {
    if (v != Month()) setDate(Year(), v, Day());
}
void TKitDateTime::SetYear(int v) {
    if (v != Year()) setDate(v, Month(), Day());
}
void TKitDateTime::SetHour(int v) {
    if (v != Hour()) setTime(v, Minute(), Second());
}
void TKitDateTime::SetMinute(int v) {
    if (v != Minute()) setTime(Hour(), v, Second());
}
void TKitDateTime::SetSecond(int v) {
    if (v != Second()) setTime(Hour(), Minute(), v);
}

void TKitDateTime::Assign(const rtl::TPersistent* Source) {
    if (const auto* src = dynamic_cast<const TKitDateTime*>(Source)) {
        Value = src->Value;
        return;
    }
    TKitObject::Assign(Source);
}

}  // namespace kit
