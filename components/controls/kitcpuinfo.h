// Processor identification by CPUID and a date-time property object edited field by field.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "components/base/kitclass.h"
#include "platform/rtl/DateUtils.h"

namespace kit {

// The processor record: vendor, stepping/model/family (four bits each from CPUID 1), 16 flags
// in property order and the brand string (filled on AMD processors only).
struct TKitCPUInfo {
    std::string Vendor;
    int Stepping = 0, Model = 0, Family = 0;
    std::array<bool, 16> Flags{};
    std::string CPUName;
};

bool KitCPUIDAvailable();
// Fills Info (left as it was without CPUID) and answers KitCPUIDAvailable.
bool KitReadCPUInfo(TKitCPUInfo& Info);

class TKitCPUInfoObject : public TKitObject {
public:
    TKitCPUInfoObject();

    std::string IDString() const { return info_.Vendor; }
    int Stepping() const { return info_.Stepping; }
    int Model() const { return info_.Model; }
    int Family() const { return info_.Family; }
    // Flag 0..15 in property order; false outside.
    bool Flag(int Index) const { return Index >= 0 && Index < 16 && info_.Flags[Index]; }
    bool FPU() const { return Flag(0); }
    bool VirtualModeExtensions() const { return Flag(1); }
    bool DebuggingExtensions() const { return Flag(2); }
    bool PageSizeExtensions() const { return Flag(3); }
    bool TimeStampCoutner() const { return Flag(4); }
    bool K86_ModelSpecificRegisters() const { return Flag(5); }
    bool MachineCheckException() const { return Flag(6); }
    bool CMP_XCHG_8B() const { return Flag(7); }
    bool APIC() const { return Flag(8); }
    bool MemoryTypeRangeRegisters() const { return Flag(9); }
    bool GlobalPaging() const { return Flag(10); }
    bool Cond_MOVE_Instruct() const { return Flag(11); }
    bool MMX() const { return Flag(12); }
    bool SysCallAndSysRet() const { return Flag(13); }
    bool FPCond_MOVE_Instruct() const { return Flag(14); }
    bool AMD3DNow() const { return Flag(15); }
    std::string CPUName() const { return info_.CPUName; }
    bool ExistCPUInfo() const { return KitCPUIDAvailable(); }  // asked anew at every read

    // Read-only facts: written values are accepted and ignored.
    void SetFlag(int /*Index*/, bool /*Value*/) {}
    void SetCPUName(const std::string& /*Value*/) {}

private:
    TKitCPUInfo info_;
};

// One date-and-time value (days since 30.12.1899), 1.1.1990 0:00:00 when created. The field
// setters raise the date or time encoding error for an invalid result and leave Value as it
// was; they do not fire OnChange.
class TKitDateTime : public TKitObject {
public:
    TKitDateTime();

    rtl::TDateTime Value = 0;

    int Day() const;
    int Month() const;
    int Year() const;
    int Hour() const;
    int Minute() const;
    int Second() const;
    void SetDay(int v);
    void SetMonth(int v);
    void SetYear(int v);
    void SetHour(int v);
    void SetMinute(int v);
    void SetSecond(int v);

    void Assign(const rtl::TPersistent* Source) override;

private:
    void setDate(int year, int month, int day);
    void setTime(int hour, int minute, int second);
};

}  // namespace kit
