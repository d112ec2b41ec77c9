#include "components/base/kitclass.h"

namespace kit {

void TKitObject::GetChange(rtl::TObject* /*Sender*/) { Change(); }

void TKitObject::Change() {
    if (!UpdateLock && OnChange) OnChange(this);
}

void TKitObject::GetSummary(std::string& Text) { Text.clear(); }

void TKitObject::EndUpdate(bool Notify) {
    UpdateLock = false;
    if (Notify) Change();
}

}  // namespace kit
