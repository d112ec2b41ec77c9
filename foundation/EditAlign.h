// A single-line edit that aligns its text (inherited Alignment: left, right or centred), can
// turn Enter into a move to the next control, and can select its whole text when it is entered
// with a click.
#pragma once

#include "platform/gui/StdCtrls.h"

class TEditAlign : public gui::TCustomEdit {
public:
    explicit TEditAlign(rtl::TComponent* Owner);

    // With AutoSelect: select all when the edit was entered by a left click.
    bool AutoSelectOnMouseEnter() const { return autoSelectOnMouseEnter_; }
    void SetAutoSelectOnMouseEnter(bool Value) { autoSelectOnMouseEnter_ = Value; }
    // Enter moves the focus on like Tab (and so runs OnExit). Excludes MultiLine.
    bool ExitOnEnterKey() const { return exitOnEnterKey_; }
    void SetExitOnEnterKey(bool Value);
    // Enter passes to the edit. Switching it off removes every line break from the text.
    // Excludes ExitOnEnterKey.
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool Value);
    // Kept for stored settings: the platform's edit aligns in every mode and keeps one line, so
    // neither changes its appearance.
    bool OldOS() const { return oldOS_; }
    void SetOldOS(bool Value) { oldOS_ = Value; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value) { wordWrap_ = Value; }

protected:
    void KeyPress(gui::TKeyChar& Key) override;
    void DoEnter() override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;

private:
    bool autoSelectOnMouseEnter_ = false;
    bool exitOnEnterKey_ = false;
    bool multiLine_ = false;
    bool oldOS_ = false;
    bool wordWrap_ = false;
    bool enteredByClick_ = false;
};
