// The colour list box as placed on windows.
#pragma once

#include "components/controls/KitCustomColorListBox.h"

namespace kit {

class TKitColorListBox : public TKitCustomColorListBox {
public:
    using TKitCustomColorListBox::TKitCustomColorListBox;
};

}  // namespace kit
