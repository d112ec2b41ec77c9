// STAND-IN: see the header.
#include "tools/KoaxControlsStandIn.h"

void TEditStandIn::KeyPress(gui::TKeyChar& key) {
    if (EnterAsTab && key == U'\r') {
        key = 0;
        if (auto* parent = Parent()) parent->SelectNext(true);
        return;
    }
    gui::TEdit::KeyPress(key);
}
