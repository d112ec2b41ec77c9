// Helpers for combo boxes: the platform's TComboBox and, through the templates, any combo box
// with the same Items() / SetText interface (the component library's).
#pragma once

#include <string>

#include "platform/gui/StdCtrls.h"

// Clears the items and the text.
void CBClear(gui::TComboBox& CB);
// Appends the item S.
void CBAddItem(gui::TComboBox& CB, const std::string& S);

template <class ComboBox>
void CBClear(ComboBox& CB)
{
    CB.Items()->Clear();
    CB.SetText(std::string());
}

template <class ComboBox>
void CBAddItem(ComboBox& CB, const std::string& S)
{
    CB.Items()->Add(S);
}
