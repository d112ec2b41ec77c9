// The self-drawn edit completed: the display text (the text, or a row of password characters),
// text and selection painting, caret placement and the character hit test, sizing to the font,
// a row of embedded buttons at its right end and a link to an auto-completion component.
//
// Painting, the caret and the hit test share one text origin: the alignment's start of the
// display text (the left edge when the text is wider than the text area) moved left by the
// scroll offset, so that the caret and a clicked position always match the drawn characters.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
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
    // The canvas widths of the first n characters of the display text and of character i, as
    // the canvas measures those strings. The canvas holds the edit's font and character extra.
    int PrefixWidth(gdi::TCanvas& C, int n);
    int CharWidth(gdi::TCanvas& C, int i);

private:
    // Widths kept for the canvas's current font. Single characters and pairs are measured once:
    // the width of a prefix is the running sum of its characters' widths and of what each pair
    // joins (a ligature or kerning), for as long as every three characters in a row measure as
    // their pairs say and the prefix holds no control characters, combining marks or scripts
    // that join their letters. A longer prefix is measured as a whole.
    void SyncWidths(gdi::TCanvas& C);
    int MeasureChar(gdi::TCanvas& C, char32_t Ch);
    // The width of A and B together less their widths alone.
    int PairJoin(gdi::TCanvas& C, char32_t A, char32_t B);
    bool TripleFits(gdi::TCanvas& C, char32_t A, char32_t B, char32_t Cc);
    // Extends the running sums towards n characters; the count of leading characters covered
    // (n or fewer: the sums stop before the first character that needs its context).
    int SummedPrefix(gdi::TCanvas& C, int n);
    // The first character (1-based, up to Limit) whose summed right edge lies beyond X, or Limit + 1.
    int FirstCharEndingAfter(int X, int Limit) const;
    void DisplayChanged();

    char32_t passwordChar_ = 0;
    mutable std::string displayText_;
    mutable bool displayTextStale_ = false;
    std::u32string displayChars_;
    std::string widthFont_;                         // the font the widths below belong to
    std::vector<int> lowWidths_;                    // code points below 0x3000: width + 1, 0 unknown
    std::unordered_map<char32_t, int> highWidths_;  // the others
    std::unordered_map<std::uint64_t, int> pairs_;       // PairJoin
    std::unordered_map<std::uint64_t, bool> triples_;    // TripleFits
    std::vector<int> prefix_{0};                    // prefix_[i]: summed width of the first i characters
    // middle_[i]: the rightmost middle (prefix_[j] less half the width of character j) of the
    // characters j <= i; never decreasing, so the hit test searches it.
    std::vector<int> middle_{INT_MIN};
    bool autoSize_ = false;
    std::unique_ptr<TKitSpecialButtons> customButtons_;
    int customButtonWidth_ = 16;
    TKitUserButtonStyle customButtonStyle_ = ubsIntegrated;
    TKitEditAutoComplete* autoComplete_ = nullptr;
};

}  // namespace kit
