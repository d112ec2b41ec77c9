// Base of the library's status bar: a bevel panel that the information labels on it ask for an
// extra horizontal offset.
#pragma once

#include "components/controls/KitCustomBevelPanel.h"

namespace kit {

class TKitCustomStatusBar : public TKitCustomBevelPanel {
public:
    explicit TKitCustomStatusBar(rtl::TComponent* AOwner) : TKitCustomBevelPanel(AOwner) {}

    // Pixels an information label on the bar adds to its width and its text's left edge.
    virtual int GetLabelOffset() { return 0; }
};

}  // namespace kit
