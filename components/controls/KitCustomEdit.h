// The self-drawn edit completed: the display text (the text, or a row of password characters),
// text and selection painting, caret placement and the character hit test, sizing to the font,
// a row of embedded buttons at its right end and a link to an auto-completion component.
//
// Painting, the caret and the hit test share one text origin: the alignment's start of the
// display text (the left edge when the text is wider than the text area) moved left by the
// scroll offset; and one set of caret positions (gdi::TTextCarets, exact to a 64th of a pixel),
// from which a long text's visible part is drawn where the whole text puts its letters, so
// that the caret and a clicked position always match the drawn characters.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "components/base/kitgraph.h"
#include "components/controls/KitBaseEdit.h"
#include "components/controls/kitsbtn.h"

namespace kit {

class TKitEditAutoComplete;

using TKitOnBtnClick = std::function<void(rtl::TObject* Sender, rtl::TObject* Btn, int index)>;

class TKitCustomEdit : public TKitBaseEdit {
public:
    explicit TKitCustomEdit(rtl::TComponent* AOwner);
    ~TKitCustomEdit() override;

    char32_t PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char32_t Value);
    // The text as drawn (UTF-8).
    const std::string& DisplayText() const;
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    TKitSpecialButtons* CustomButtons() const { return customButtons_.get(); }
    void SetCustomButtons(const TKitSpecialButtons* Value) { customButtons_->Assign(Value); }
    int CustomButtonWidth() const { return customButtonWidth_; }
    void SetCustomButtonWidth(int Value);
    TKitUserButtonStyle CustomButtonStyle() const { return customButtonStyle_; }
    void SetCustomButtonStyle(TKitUserButtonStyle Value);
    TKitEditAutoComplete* AutoComplete() const { return autoComplete_; }
    void SetAutoComplete(TKitEditAutoComplete* Value);

    TKitOnBtnClick OnBtnClick;

    // The display text for the current text (code points).
    virtual void GetDisplayText(std::u32string& S);
    // Runs OnBtnClick (an embedded button was clicked).
    virtual void DoBtnClick(rtl::TObject* Btn, int Index);
    virtual void AdjustSize();

    // The hit test: the cursor position whose character lies under client x X.
    int CharIndexAt(int X) override;
    // Places the buttons right of the text area.
    void ArrangeButtons();

protected:
    virtual void PaintText(int Pos, const std::u32string& D);
    // Hook called while painting, after the background of the inner rectangle.
    virtual void PaintExtra(gdi::TCanvas& Canvas, const gdi::TRect& Rect) { (void)Canvas; (void)Rect; }

    void Loaded() override;
    void Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) override;
    void Paint() override;
    int GetLineAt(int Y) override { (void)Y; return 0; }
    int GetCharAt(int X) override { (void)X; return 0; }
    void UpdateCaretPos() override;
    bool CompletionActive() override;
    void TextReset() override;
    void TextRead() override {}
    void RepaintText(int Pos) override;
    void TextChanged(int At) override;
    void AfterChange() override;
    bool CanCopy() override { return passwordChar_ == 0; }
    void AdjustInnerRect() override;
    gdi::TPoint CharPoint(int Index) override;
    void EditKeyDown(unsigned short& Key, gui::TShiftState Shift) override;
    void WndProc(gui::TMessage& Message) override;

    // The start of the unscrolled display text in client x, by alignment; a text wider than
    // the text area starts at its left edge whatever the alignment.
    int AlignedTextLeft(int TextWidth) const;
    // The caret positions of the display text as canvas C measures it (the canvas holds the
    // edit's font and character extra): position i is the width of the first i characters.
    // Kept for the display text and the letters; a change measures only the runs around it.
    const gdi::TTextCarets& Carets(gdi::TCanvas& C);

private:
    void DisplayChanged();

    char32_t passwordChar_ = 0;
    mutable std::string displayText_;
    mutable bool displayTextStale_ = false;
    std::u32string displayChars_;
    gdi::TTextCarets carets_;
    bool caretsStale_ = true;     // the display text changed since the carets were measured
    unsigned tablesVersion_ = 0;  // the carets' version the two tables below belong to
    // middle_[i]: the rightmost middle (position after character j less half its width alone)
    // of the characters j <= i, never decreasing, so the hit test searches it; middle_[0] is
    // below every position. reach_[i]: the rightmost position up to i, for the drawn part.
    std::vector<int> middle_{INT_MIN};
    std::vector<int> reach_{0};
    bool autoSize_ = false;
    std::unique_ptr<TKitSpecialButtons> customButtons_;
    int customButtonWidth_ = 16;
    TKitUserButtonStyle customButtonStyle_ = ubsIntegrated;
    TKitEditAutoComplete* autoComplete_ = nullptr;
};

}  // namespace kit
