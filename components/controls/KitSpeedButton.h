// The library's speed button: the custom speed button with its properties published.
#pragma once

#include "components/controls/KitCustomSpeedButton.h"

namespace kit {

class TKitSpeedButton : public TKitCustomSpeedButton {
public:
    explicit TKitSpeedButton(rtl::TComponent* AOwner) : TKitCustomSpeedButton(AOwner) {}
};

}  // namespace kit
