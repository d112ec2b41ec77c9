#include "components/base/kitcomponent.h"

#include "components/base/kitsysin.h"
#include "platform/rtl/SysUtils.h"

namespace kit {

TKitCustomComponent::TKitCustomComponent(rtl::TComponent* AOwner) : rtl::TComponent(AOwner) {}

void TKitCustomComponent::GetChange(rtl::TObject* /*Sender*/) { Change(); }

void TKitCustomComponent::Change() {
    if (!UpdateLock && OnChange) OnChange(this);
}

void TKitCustomComponent::EndUpdate(bool DoChange) {
    UpdateLock = false;
    if (DoChange) Change();
}

TKitIniCtrl::TKitIniCtrl(rtl::TComponent* AOwner) : TKitCustomComponent(AOwner) {}

void TKitIniCtrl::SetNetUser(bool v) {
    if (v == netUser_) return;
    netUser_ = v;
    if (v) user_ = GetNetUserName();
}

void TKitIniCtrl::SetIniFile(const std::string& v) {
    iniFile_ = rtl::Trim(rtl::ExtractFileExt(v)).empty() ? rtl::ChangeFileExt(v, ".INI") : v;
}

void TKitIniCtrl::SetAlphaCounter(bool v) {
    if (v != alphaCounter_) alphaCounter_ = v;
    if (maxEntries_ > 26) maxEntries_ = 26;
}

void TKitIniCtrl::SetMaxEntries(std::uint8_t v) {
    if (v == maxEntries_) return;
    if (alphaCounter_ && v > 26) return;
    maxEntries_ = v;
}

void TKitIniCtrl::SetTarget(TKitIniTarget v) {
    if (v == target_) return;
    target_ = v;
    effectiveTarget_ = v == itAuto ? itRegistry : v;
}

std::string TKitIniCtrl::GetNetUserName() { return KitUserName(); }

}  // namespace kit
