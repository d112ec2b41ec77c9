#include "components/base/KitStandIns.h"

#include <algorithm>

#include "platform/rtl/TaggedStream.h"

namespace kit {

TKitChangeLink::~TKitChangeLink() {
    if (Sender) Sender->UnRegisterChanges(this);
}

void TKitChangeLink::Change() {
    if (OnChange) OnChange(Sender);
}

TKitBaseContainer::~TKitBaseContainer() {
    while (!links_.empty()) UnRegisterChanges(links_.back());
}

void TKitBaseContainer::RegisterChanges(TKitChangeLink* Link) {
    Link->Sender = this;
    links_.push_back(Link);
}

void TKitBaseContainer::UnRegisterChanges(TKitChangeLink* Link) {
    auto it = std::find(links_.begin(), links_.end(), Link);
    if (it == links_.end()) return;
    links_.erase(it);
    Link->Sender = nullptr;
}

void TKitBaseContainer::Change() {
    const std::vector<TKitChangeLink*> links = links_;
    for (TKitChangeLink* l : links)
        if (std::find(links_.begin(), links_.end(), l) != links_.end()) l->Change();
    TKitCustomComponent::Change();
}

bool KitIsInternalList(const TKitCustomImageList*) { return false; }

void KitWriteInternalList(rtl::TWriter&, const TKitCustomImageList*) {}

TKitCustomImageList* KitReadInternalList(rtl::TReader& Reader) {
    Reader.ReadString();
    return nullptr;
}

void TKitAlphaObject::SetImageList(TKitCustomImageList* Value) {
    if (imageList_ == Value) return;
    imageList_ = Value;
    Change();
}

void TKitBitmapEffectObject::GetChange(rtl::TObject* Sender) {
    TKitObject::GetChange(Sender);
    Invalidate();
}

void TKitBitmapEffectObject::Assign(const rtl::TPersistent* Source) {
    if (Source == this) return;
    if (dynamic_cast<const TKitBitmapEffectObject*>(Source)) {
        GetChange(nullptr);
        return;
    }
    TKitObject::Assign(Source);
}

}  // namespace kit

#include "components/base/KitXPStyles.h"

namespace kit {

bool KitThemesActive() {
    return KitThemeLibraryLoaded && KitThemeFunctions.IsThemeActive && KitThemeFunctions.IsThemeActive();
}

bool KitAppThemesEnabled() { return KitThemesActive(); }

}  // namespace kit
