#include "foundation/MemoUtilsLib.h"

void MemoClear(gui::TMemo& Memo) { Memo.Lines()->Clear(); }

void MemoAdd(gui::TMemo& Memo, const std::string& Text, const std::string& Prefix)
{
    Memo.Lines()->Add(Prefix + Text);
}
