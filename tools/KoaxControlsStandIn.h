// STAND-IN edit of the coax calculator until the library's edit lands: a platform edit whose
// Enter can act as Tab.
#pragma once

#include "platform/gui/StdCtrls.h"

class TEditStandIn : public gui::TEdit {
public:
    explicit TEditStandIn(rtl::TComponent* owner) : gui::TEdit(owner) {}
    // Enter moves the focus to the next control.
    bool EnterAsTab = false;

protected:
    void KeyPress(gui::TKeyChar& key) override;
};
