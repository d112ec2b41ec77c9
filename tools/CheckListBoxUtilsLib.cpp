#include "tools/CheckListBoxUtilsLib.h"

#include "foundation/DebugLib.h"

void CLBClear(TCheckListBoxType& CLB) { CLB.Items()->Clear(); }

void CLBUncheckAll(TCheckListBoxType& CLB) {
    for (int i = 0; i < CLB.Count(); ++i) CLB.SetChecked(i, false);
}

void CLBSetCheck(TCheckListBoxType& CLB, std::int16_t Index) {
    // A negative index (no item chosen) is out of range as well.
    if (Index < 0 || Index > CLB.Count() - 1)
        WarnWithDetail("Fehler (CLBSetCheck: " + CLB.Name() + "): Index nicht im Bereich!", "");
    else
        CLB.SetChecked(Index, true);
    CLB.SetItemIndex(Index >= 0 && Index < CLB.Count() ? Index : -1);
}

void CLBCheckOnly(TCheckListBoxType& CLB, std::int16_t Index) {
    CLBUncheckAll(CLB);
    CLBSetCheck(CLB, Index);
}
