// The library's plain non-visual component base.
#pragma once

#include "components/base/kitcomponent.h"

namespace kit {

class TKitComponent : public TKitCustomComponent {
public:
    explicit TKitComponent(rtl::TComponent* AOwner) : TKitCustomComponent(AOwner) {}
};

}  // namespace kit
