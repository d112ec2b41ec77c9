// The terms-of-use window: a read-only memo with the program's terms of use, closed with the
// system menu.
#pragma once

#include <string>

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TFormCopyRight : public gui::TForm {
public:
    explicit TFormCopyRight(rtl::TComponent* owner);

    gui::TMemo* Memo = nullptr;
    // The caption the caller wants.
    std::string CaptionText;

    // Caption, the terms text into the memo, shown modally; the window is freed when it closes.
    void Execute();
    void ButCloseClick(rtl::TObject* Sender);
};

// Appends an empty line to a memo.
void MemoAddEmptyLine(gui::TMemo& Memo);
