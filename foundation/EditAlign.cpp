#include "foundation/EditAlign.h"

#include <QGuiApplication>

#include <string>

namespace {

// Text without any CR LF, CR or LF.
std::string WithoutLineBreaks(const std::string& S)
{
    std::string R;
    R.reserve(S.size());
    for (char C : S)
        if (C != '\r' && C != '\n') R += C;
    return R;
}

}  // namespace

TEditAlign::TEditAlign(rtl::TComponent* Owner) : gui::TCustomEdit(Owner) {}

void TEditAlign::SetExitOnEnterKey(bool Value)
{
    if (Value && multiLine_) SetMultiLine(false);
    exitOnEnterKey_ = Value;
}

void TEditAlign::SetMultiLine(bool Value)
{
    multiLine_ = Value;
    if (Value) {
        exitOnEnterKey_ = false;
    } else {
        const std::string Old = Text();
        const std::string New = WithoutLineBreaks(Old);
        if (New != Old) SetText(New);
    }
}

void TEditAlign::KeyPress(gui::TKeyChar& Key)
{
    if (Key == '\r') {
        if (exitOnEnterKey_) {
            Key = 0;
            SelectNext(true);  // queued Tab to this control: focus moves on, OnExit runs
        } else if (!multiLine_) {
            Key = 0;  // no beep, no line break
        }
    }
    gui::TCustomEdit::KeyPress(Key);
}

void TEditAlign::DoEnter()
{
    if (QGuiApplication::mouseButtons() & Qt::LeftButton) enteredByClick_ = true;
    gui::TCustomEdit::DoEnter();
}

void TEditAlign::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y)
{
    gui::TCustomEdit::MouseUp(Button, Shift, X, Y);
    if (Button != gui::mbLeft) return;
    // Only the button-up of the click that entered the edit selects all.
    if (enteredByClick_ && AutoSelect && autoSelectOnMouseEnter_ && SelLength() == 0) SelectAll();
    enteredByClick_ = false;
}
