// The custom edit as the library publishes it.
#pragma once

#include "components/controls/KitCustomEdit.h"

namespace kit {

class TKitEdit : public TKitCustomEdit {
public:
    explicit TKitEdit(rtl::TComponent* AOwner) : TKitCustomEdit(AOwner) {}
};

}  // namespace kit
