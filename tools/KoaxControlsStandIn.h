// STAND-IN controls of the coax calculator until the library's edit and check list box land:
// a platform edit whose Enter can act as Tab, and a platform list box with a check box per item.
#pragma once

#include <vector>

#include "platform/gui/ListBoxes.h"
#include "platform/gui/StdCtrls.h"

class TEditStandIn : public gui::TEdit {
public:
    explicit TEditStandIn(rtl::TComponent* owner) : gui::TEdit(owner) {}
    // Enter moves the focus to the next control.
    bool EnterAsTab = false;

protected:
    void KeyPress(gui::TKeyChar& key) override;
};

class TCheckListBoxStandIn : public gui::TListBox {
public:
    explicit TCheckListBoxStandIn(rtl::TComponent* owner);

    // False for an index without a mark (also outside the items).
    bool Checked(int index) const;
    void SetChecked(int index, bool value);
    // Removes the items and their marks.
    void Clear();

protected:
    void DrawItem(int index, gdi::TRect rect, gui::TOwnerDrawState state) override;

private:
    std::vector<bool> checked_;
};
