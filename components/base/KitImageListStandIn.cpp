// STAND-IN, see the header.
#include "components/base/KitImageListStandIn.h"

#include <algorithm>

namespace kit {

TKitChangeLink::~TKitChangeLink() {
    if (Sender) Sender->UnRegisterChanges(this);
}

void TKitChangeLink::Change() {
    if (OnChange) OnChange(Sender);
}

TKitBaseContainer::TKitBaseContainer(rtl::TComponent* AOwner) : TKitCustomComponent(AOwner) {}

TKitBaseContainer::~TKitBaseContainer() {
    while (!links_.empty()) UnRegisterChanges(links_.back());
}

void TKitBaseContainer::Change() {
    std::vector<TKitChangeLink*> links = links_;
    for (TKitChangeLink* link : links) link->Change();
    TKitCustomComponent::Change();
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

bool KitIsInternalList(const TKitCustomImageList* /*List*/) { return false; }

void KitWriteInternalList(rtl::TWriter& /*Writer*/, const TKitCustomImageList* /*List*/) {}

TKitCustomImageList* KitReadInternalList(rtl::TReader& Reader) {
    Reader.ReadString();
    return nullptr;
}

}  // namespace kit
