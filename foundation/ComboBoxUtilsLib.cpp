#include "foundation/ComboBoxUtilsLib.h"

void CBClear(gui::TComboBox& CB)
{
    CB.Items()->Clear();
    CB.SetText(std::string());
}

void CBAddItem(gui::TComboBox& CB, const std::string& S) { CB.Items()->Add(S); }
