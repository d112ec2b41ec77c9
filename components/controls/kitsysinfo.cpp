#include "components/controls/kitsysinfo.h"

#include <algorithm>

#include "components/base/kitsysin.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/LocaleStore.h"
#include "platform/sys/SystemInfo.h"

namespace kit {

TKitSysInfo::TKitSysInfo(rtl::TComponent* AOwner)
    : TKitCustomComponent(AOwner),
      environment_(std::make_unique<rtl::TStringList>()),
      fonts_(std::make_unique<rtl::TStringList>()),
      printers_(std::make_unique<rtl::TStringList>()),
      processorInfo_(std::make_unique<TKitCPUInfoObject>()) {}

TKitSysInfo::~TKitSysInfo() = default;

std::string TKitSysInfo::GetStringProp(int Index) const {
    switch (Index) {
    case 0: return KitUserName();
    case 1: return KitRegisteredCompany();
    case 2: return KitRegisteredOwner();
    case 3: return KitWinVersionString();
    case 4: return KitGetWindowsDir();
    case 5: return KitGetSystemDir();
    case 6: return rtl::Format("%d %%", static_cast<int>(KitFreeGDIResources()));
    case 7: return rtl::Format("%d %%", static_cast<int>(KitFreeUserResources()));
    case 8: return rtl::Format("%d %%", static_cast<int>(KitFreeSystemResources()));
    case 9: return rtl::Format("%d %%", static_cast<int>(KitMemoryLoad()));
    case 10: return KitPlatformName();
    case 11: return KitTempPath();
    case 12: return KitComputerName();
    case 13: return KitProcessorName();
    case 14: return sys::LanguageName(KitDefaultLangID()).value_or(KitUnknownText);
    case 15: return KitTimeZoneName();
    default: return "";
    }
}

int TKitSysInfo::GetIntegerProp(int Index) const {
    switch (Index) {
    case 0: return KitWinBuildNumber();
    case 7: return KitScreenSaverDelay();
    case 8: return KitDefaultLangID();
    case 9: return KitTimeZoneBias();
    case 10: return sys::ScreenWidth().value_or(0);
    case 11: return sys::ScreenHeight().value_or(0);
    case 12: return sys::ScreenPixelsPerInch().value_or(0);
    default: return 0;
    }
}

std::int64_t TKitSysInfo::GetInt64Prop(int Index) const {
    TKitExtMemoryStatus m;
    KitGetMemoryStatus(m);
    std::uint64_t v = 0;
    switch (Index) {
    case 1: v = m.ullTotalPhys; break;
    case 2: v = m.ullAvailPhys; break;
    case 3: v = m.ullTotalVirtual; break;
    case 4: v = m.ullAvailVirtual; break;
    case 5: v = m.ullTotalPageFile; break;
    case 6: v = m.ullAvailPageFile; break;
    case 7: v = m.ullAvailExtendedVirtual; break;
    default: return 0;
    }
    return static_cast<std::int64_t>(v / 1024);
}

bool TKitSysInfo::GetBooleanProp(int Index) const {
    switch (Index) {
    case 0: return KitNumLockOn();
    case 1: return KitCapsLockOn();
    case 2: return KitScrollLockOn();
    case 5: return sys::ScreenSaverTimeout().value_or(0) > 0;
    case 9: return KitPlusAvailable;
    default: return false;  // animation, beep, smoothing, dragging, snapping: no counterpart
    }
}

void TKitSysInfo::SetBooleanProp(int Index, bool Value) {
    if (Value == GetBooleanProp(Index)) return;
    switch (Index) {
    case 0: sys::SetLockKey(sys::LockKey::Num, Value); break;
    case 1: sys::SetLockKey(sys::LockKey::Caps, Value); break;
    case 2: sys::SetLockKey(sys::LockKey::Scroll, Value); break;
    default: break;  // nothing to set here; the property keeps showing the system's value
    }
}

std::string TKitSysInfo::GetLocaleProp(int Index) const {
    return sys::GetLocaleValue(Index).value_or(KitLocaleDefault);
}

void TKitSysInfo::SetLocaleProp(int Index, const std::string& Value) { sys::SetLocaleValue(Index, Value); }

rtl::TStringList* TKitSysInfo::AllFonts() {
    fonts_->Clear();
    fonts_->Sorted = true;
    for (const auto& f : sys::ScreenFontNames()) fonts_->Add(f);
    return fonts_.get();
}

rtl::TStringList* TKitSysInfo::AllPrinters() {
    // The program has no printing support: the list of printers is empty.
    printers_->Clear();
    printers_->Sorted = true;
    return printers_.get();
}

rtl::TStringList* TKitSysInfo::Environment() {
    KitGetEnvironment(*environment_);
    return environment_.get();
}

std::uint8_t TKitSysInfo::ProcessorNumber() const {
    return static_cast<std::uint8_t>(std::min(KitProcessorCount(), 255));
}

std::uint8_t TKitSysInfo::ColorDepth() const { return KitColorDepth(); }

int TKitSysInfo::KeyboardDelay() const { return sys::KeyboardDelay().value_or(0); }
int TKitSysInfo::KeyboardSpeed() const { return sys::KeyboardSpeed().value_or(0); }

void TKitSysInfo::SetKeyboardDelay(int Value) {
    if (Value != KeyboardDelay()) sys::SetKeyboardRepeat(Value, KeyboardSpeed());
}

void TKitSysInfo::SetKeyboardSpeed(int Value) {
    if (Value != KeyboardSpeed()) sys::SetKeyboardRepeat(KeyboardDelay(), Value);
}

}  // namespace kit
