// Check-list boxes used as single-choice lists: exactly one item checked, and it is the selected
// one.
#pragma once

#include <cstdint>

#include "components/controls/KitCheckListBox.h"

using TCheckListBoxType = kit::TKitCheckListBox;

// Removes all items.
void CLBClear(TCheckListBoxType& CLB);
// Unchecks every item.
void CLBUncheckAll(TCheckListBoxType& CLB);
// Checks item Index; an index outside the items gives the warning "Fehler (CLBSetCheck: <name>):
// Index nicht im Bereich!" and checks nothing. The list's item index is Index afterwards.
void CLBSetCheck(TCheckListBoxType& CLB, std::int16_t Index);
// Unchecks all, then checks and selects Index.
void CLBCheckOnly(TCheckListBoxType& CLB, std::int16_t Index);
