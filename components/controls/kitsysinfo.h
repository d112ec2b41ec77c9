// Non-visual component that exposes system facts and settings as properties and reads and
// writes the 28 locale values. Nothing is cached: every read asks the system at that moment.
// The read-only facts accept a written value and ignore it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "components/base/kitcomponent.h"
#include "components/controls/kitcpuinfo.h"
#include "platform/rtl/Classes.h"

namespace kit {

// The text of a locale value the system cannot deliver.
inline constexpr const char* KitLocaleDefault = "Hallo";

class TKitSysInfo : public TKitCustomComponent {
public:
    explicit TKitSysInfo(rtl::TComponent* AOwner);
    ~TKitSysInfo() override;

    // Index accessors. Strings: 0 CurrentUser, 1 RegisteredCompany, 2 RegisteredOwner,
    // 3 VersionWIN, 4 WinPath, 5 WinSysPath, 6 FreeGdiRes, 7 FreeUsrRes, 8 FreeSysRes,
    // 9 MemoryLoaded, 10 Platform, 11 TempPath, 12 Computername, 13 ProcessorType,
    // 14 DefaultLanguageString, 15 TimeZone. Integers: 0 BuildNumber, 7 ScreenSaverDelay,
    // 8 DefaultLanguageID, 9 TimeZoneDiff, 10..12 screen width, height, pixels per inch; any
    // other index 0. Int64 (KB): 1..6 physical total/free, virtual total/free, page total/free,
    // 7 extended virtual free.
    std::string GetStringProp(int Index) const;
    int GetIntegerProp(int Index) const;
    std::int64_t GetInt64Prop(int Index) const;
    // 0..2 lock keys, 3 window animation, 4 warning beep, 5 screen saver active, 6 font
    // smoothing, 7 drag full windows, 8 snap to default button, 9 KitPlusAvailable.
    bool GetBooleanProp(int Index) const;
    void SetBooleanProp(int Index, bool Value);
    // The locale value of the table (0..27), "Hallo" when it cannot be delivered.
    std::string GetLocaleProp(int Index) const;
    // Writes the value to the locale store; a value over the value's limit is refused. The
    // class library's copy of the separators does not follow.
    void SetLocaleProp(int Index, const std::string& Value);
    void SetStringProp(int /*Index*/, const std::string& /*Value*/) {}
    void SetIntegerProp(int /*Index*/, int /*Value*/) {}
    void SetInt64Prop(int /*Index*/, std::int64_t /*Value*/) {}

    rtl::TStringList* AllFonts();
    rtl::TStringList* AllPrinters();
    rtl::TStringList* Environment();
    void SetAllFonts(rtl::TStringList* /*Value*/) {}
    void SetAllPrinters(rtl::TStringList* /*Value*/) {}
    void SetEnvironment(rtl::TStringList* /*Value*/) {}

    TKitCPUInfoObject* ProcessorInfo() const { return processorInfo_.get(); }
    std::uint8_t ProcessorNumber() const;
    void SetProcessorNumber(std::uint8_t /*Value*/) {}
    std::uint8_t ColorDepth() const;
    void SetColorDepth(std::uint8_t /*Value*/) {}
    int KeyboardDelay() const;
    void SetKeyboardDelay(int Value);
    int KeyboardSpeed() const;
    void SetKeyboardSpeed(int Value);
    int DefaultLanguageID() const { return GetIntegerProp(8); }

#define KIT_STRING_PROP(Name, Index)                               \
    std::string Name() const { return GetStringProp(Index); }      \
    void Set##Name(const std::string& v) { SetStringProp(Index, v); }
#define KIT_INTEGER_PROP(Name, Index)                              \
    int Name() const { return GetIntegerProp(Index); }             \
    void Set##Name(int v) { SetIntegerProp(Index, v); }
#define KIT_INT64_PROP(Name, Index)                                \
    std::int64_t Name() const { return GetInt64Prop(Index); }      \
    void Set##Name(std::int64_t v) { SetInt64Prop(Index, v); }
#define KIT_BOOLEAN_PROP(Name, Index)                              \
    bool Name() const { return GetBooleanProp(Index); }            \
    void Set##Name(bool v) { SetBooleanProp(Index, v); }
#define KIT_LOCALE_PROP(Name, Index)                               \
    std::string Name() const { return GetLocaleProp(Index); }      \
    void Set##Name(const std::string& v) { SetLocaleProp(Index, v); }

    KIT_STRING_PROP(CurrentUser, 0)
    KIT_STRING_PROP(RegisteredCompany, 1)
    KIT_STRING_PROP(RegisteredOwner, 2)
    KIT_INTEGER_PROP(ScreenSaverDelay, 7)
    KIT_STRING_PROP(VersionWIN, 3)
    KIT_STRING_PROP(WinPath, 4)
    KIT_STRING_PROP(WinSysPath, 5)
    KIT_STRING_PROP(FreeGdiRes, 6)
    KIT_STRING_PROP(FreeUsrRes, 7)
    KIT_STRING_PROP(FreeSysRes, 8)
    KIT_INTEGER_PROP(BuildNumber, 0)
    KIT_INT64_PROP(MemPhysTotal, 1)
    KIT_INT64_PROP(MemPhysFree, 2)
    KIT_INT64_PROP(MemVirtTotal, 3)
    KIT_INT64_PROP(MemVirtFree, 4)
    KIT_INT64_PROP(MemPageTotal, 5)
    KIT_INT64_PROP(MemPageFree, 6)
    KIT_INT64_PROP(MemVirtExtended, 7)
    KIT_STRING_PROP(MemoryLoaded, 9)
    KIT_STRING_PROP(Platform, 10)
    KIT_STRING_PROP(TempPath, 11)
    KIT_STRING_PROP(Computername, 12)
    KIT_STRING_PROP(ProcessorType, 13)
    KIT_STRING_PROP(DefaultLanguageString, 14)
    KIT_STRING_PROP(TimeZone, 15)
    KIT_INTEGER_PROP(TimeZoneDiff, 9)
    KIT_INTEGER_PROP(ScreenWidth, 10)
    KIT_INTEGER_PROP(ScreenHeight, 11)
    KIT_INTEGER_PROP(ScreenPPi, 12)
    bool PlusAvailable() const { return GetBooleanProp(9); }
    void SetPlusAvailable(bool /*Value*/) {}

    KIT_LOCALE_PROP(LocaleCalendarType, 0)
    KIT_LOCALE_PROP(LocaleCurrencyDigits, 1)
    KIT_LOCALE_PROP(LocaleICurrency, 2)
    KIT_LOCALE_PROP(LocaleDigits, 3)
    KIT_LOCALE_PROP(LocaleFirstDayOfWeek, 4)
    KIT_LOCALE_PROP(LocaleFirstWeekOfYear, 5)
    KIT_LOCALE_PROP(LocaleZero, 6)
    KIT_LOCALE_PROP(LocaleMeasureSystem, 7)
    KIT_LOCALE_PROP(LocaleNegativeCurrencyFormat, 8)
    KIT_LOCALE_PROP(LocaleNegativeNumberFormat, 9)
    KIT_LOCALE_PROP(LocaleTime, 10)
    KIT_LOCALE_PROP(LocaleMorningSymbol, 11)
    KIT_LOCALE_PROP(LocaleAfternoonSymbol, 12)
    KIT_LOCALE_PROP(LocaleCurrencySymbol, 13)
    KIT_LOCALE_PROP(LocaleDateSeparator, 14)
    KIT_LOCALE_PROP(LocaleDecimalSeparator, 15)
    KIT_LOCALE_PROP(LocaleNumericGrouping, 16)
    KIT_LOCALE_PROP(LocaleListSeparator, 17)
    KIT_LOCALE_PROP(LocaleLongDateFormat, 18)
    KIT_LOCALE_PROP(LocaleMonthDecimalSeparator, 19)
    KIT_LOCALE_PROP(LocaleCurrencyGrouping, 20)
    KIT_LOCALE_PROP(LocaleThousandSeparator, 21)
    KIT_LOCALE_PROP(LocaleNegativeSign, 22)
    KIT_LOCALE_PROP(LocalePositiveSign, 23)
    KIT_LOCALE_PROP(LocaleShortDateFormat, 24)
    KIT_LOCALE_PROP(LocaleThousand, 25)
    KIT_LOCALE_PROP(LocaleTimeSeparator, 26)
    KIT_LOCALE_PROP(LocaleShortTimeFormat, 27)

    KIT_BOOLEAN_PROP(NumLockState, 0)
    KIT_BOOLEAN_PROP(CapsLockState, 1)
    KIT_BOOLEAN_PROP(ScrollLockState, 2)
    KIT_BOOLEAN_PROP(WindowAnimation, 3)
    KIT_BOOLEAN_PROP(WarningBeep, 4)
    KIT_BOOLEAN_PROP(ScreenSaveActive, 5)
    KIT_BOOLEAN_PROP(FontSmoothing, 6)
    KIT_BOOLEAN_PROP(DragFullWindows, 7)
    KIT_BOOLEAN_PROP(SnapToDefaultButton, 8)

#undef KIT_STRING_PROP
#undef KIT_INTEGER_PROP
#undef KIT_INT64_PROP
#undef KIT_BOOLEAN_PROP
#undef KIT_LOCALE_PROP

private:
    std::unique_ptr<rtl::TStringList> environment_;
    std::unique_ptr<rtl::TStringList> fonts_;
    std::unique_ptr<rtl::TStringList> printers_;
    std::unique_ptr<TKitCPUInfoObject> processorInfo_;
};

}  // namespace kit
