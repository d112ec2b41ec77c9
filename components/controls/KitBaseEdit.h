// A single-line edit that does not use the platform's edit control: a windowed bevel panel that
// keeps its own text, cursor, selection, undo stack and caret, and draws everything itself. The
// text is held as code points; every position is 1-based and counts code points. The text may
// hold CR and LF (from paste or the Text property): cursor movement treats a CR LF pair as one
// step. Painting of the text, caret placement and the character hit test are supplied by a
// descendant (the custom edit).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "components/base/KitCaptions.h"
#include "components/controls/KitCaret.h"
#include "components/controls/KitCustomBevelPanel.h"
#include "components/controls/KitDynLIFOBuffer.h"

namespace gui {
class TPopupMenu;
}

namespace kit {

using TKitTextChangeEvent = std::function<void(rtl::TObject* Sender, int At)>;
enum TEditCharCase : std::uint8_t { ecNormal, ecUpperCase, ecLowerCase };

// One edit step as it was done: the text inserted and the text it replaced, where, and where
// the cursor stood before.
struct TKitUndoRecord {
    std::u32string Inserted;
    std::u32string Deleted;
    int SelStart = 1;
    int DeletedLength = 0;
    int InsertedLength = 0;
    int CursorPos = 1;
};

class TKitBaseEdit : public TKitCustomBevelPanel {
public:
    explicit TKitBaseEdit(rtl::TComponent* AOwner);
    ~TKitBaseEdit() override;

    // ---- Text ----
    std::string Text();  // UTF-8; runs TextRead
    void SetText(const std::string& S);
    const std::u32string& TextChars() const { return text_; }
    int TextLength() const { return static_cast<int>(text_.size()); }
    std::string GetSelText() const;
    int MeasureText(const std::string& S);

    // ---- Cursor and selection ----
    int CursorPos() const { return cursorPos_; }
    void SetCursorPos(int Value) { SetIntProp(5, Value); }
    int PrevCursorPos() const { return prevCursorPos_; }
    int SelStart() const { return selStart_; }
    void SetSelStart(int Value) { SetIntProp(1, Value); }
    int SelLength() const { return selLength_; }
    void SetSelLength(int Value) { SetIntProp(2, Value); }
    int ScrollOffset() const { return scrollOffset_; }
    bool SelectionHidden() const { return selectionHidden_; }
    // 0 MaxLength, 1 SelStart (no repaint), 2 SelLength, 5 cursor position; 3 and 4 nothing.
    void SetIntProp(int Index, int Value);
    // 0 HideSelection, 1 ReadOnly, 2 Modified, 4 AutoSelect, 5 OEMConvert, 6 FocusOnMouseAbove.
    void SetBoolProp(int Index, bool Value);

    void SelectAll();
    virtual void SelectWord();
    void CursorLineHome();
    void CursorLineEnd();
    void CursorWordLeft();
    void CursorWordRight();

    // ---- Changes, undo, clipboard ----
    void ReplaceSelection(const std::string& S);
    void ClearSelection();
    void Undo();
    void ClearUndo();
    void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();
    virtual void Clear();
    // Copies the selection, cut to BufSize code points, into Buffer; the count copied.
    virtual int GetSelTextBuf(std::u32string& Buffer, int BufSize);
    bool CanUndo() const { return canUndo_; }
    bool CanRedo() const { return canRedo_; }
    bool Undoing() const { return undoing_; }
    int UndoCount();
    // The items of the built-in context menu (the menu is owned by the edit until freed).
    gui::TPopupMenu* BuildContextMenu();
    // A context menu of the edit's own replaces the built-in one; nil restores it.
    gui::TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(gui::TPopupMenu* Value);

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // ---- Layout ----
    const gdi::TRect& FrameRect() const { return frameRect_; }
    const gdi::TRect& InnerRect() const { return innerRect_; }
    const gdi::TRect& TextRect() const { return textRect_; }
    gdi::TBitmap* BufferBitmap() const { return bufferBitmap_.get(); }

    // ---- Properties ----
    gui::TAlignment Alignment() const { return alignment_; }
    void SetAlignment(gui::TAlignment Value);
    TKitCaret* Caret() const { return caret_.get(); }
    void SetCaret(const TKitCaret* Value) { caret_->Assign(Value); }
    TKit3DCaption* Font3D() const { return font3D_.get(); }
    void SetFont3D(const TKit3DCaption* Value);
    gdi::TColor HighlightBack() const { return highlightBack_; }
    void SetHighlightBack(gdi::TColor v) { highlightBack_ = v; }
    gdi::TColor HighlightText() const { return highlightText_; }
    void SetHighlightText(gdi::TColor v) { highlightText_ = v; }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v) { SetIntProp(0, v); }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v) { SetBoolProp(0, v); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { SetBoolProp(1, v); }
    bool Modified() const { return modified_; }
    void SetModified(bool v) { SetBoolProp(2, v); }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool v) { SetBoolProp(4, v); }
    bool OEMConvert() const { return oemConvert_; }
    void SetOEMConvert(bool v) { SetBoolProp(5, v); }
    bool FocusOnMouseAbove() const { return focusOnMouseAbove_; }
    void SetFocusOnMouseAbove(bool v) { SetBoolProp(6, v); }
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase v) { charCase_ = v; }
    bool TabOnEnter() const { return tabOnEnter_; }
    void SetTabOnEnter(bool v) { tabOnEnter_ = v; }
    bool TextDragging() const { return textDragging_; }
    std::set<char32_t> WordDelimiters{U' '};

    gui::TControl* BoundLabel() const { return boundLabel_; }
    void SetBoundLabel(gui::TControl* Value);
    int LabelPosition() const { return labelPosition_; }
    void SetLabelPosition(int v);
    int LabelSpacing() const { return labelSpacing_; }
    void SetLabelSpacing(int v);

    TKitTextChangeEvent OnTextChangedAt;
    rtl::TNotifyEvent OnCursorPosChanged;
    rtl::TNotifyEvent OnModified;
    rtl::TNotifyEvent OnChange;

    void SetParent(gui::TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // ---- Typed edit messages (the same as Perform of the EM_* message) ----
    void GetSel(int& Start, int& End);
    void SetSel(int Start, int End);
    // The client point of the character at Index (0-based).
    gdi::TPoint PosFromChar(int Index);

protected:
    // ---- Virtual operations ----
    virtual void UpdateRects();
    virtual void UpdateBuffer();
    virtual int GetLineAt(int Y) = 0;
    virtual int GetCharAt(int X) = 0;
    virtual void AlignmentChanged() {}
    virtual void UpdateCaretPos() = 0;
    virtual bool CompletionActive() { return false; }
    virtual void TextReset() = 0;
    virtual void TextRead() = 0;
    virtual void RepaintText(int Pos) = 0;
    virtual int CharIndexAt(int X) = 0;
    virtual int GetTextHeight(const std::string& S);
    virtual void CursorPosChanged();
    virtual void TextChanged(int At);
    virtual void BeforeChange() {}
    virtual void AfterChange() {}
    virtual void BeforeInsert(int Pos, std::u32string& S) { (void)Pos; (void)S; }
    virtual bool BeforeDelete(int Pos, const std::u32string& S) { (void)Pos; (void)S; return false; }
    virtual void PaintBackgroundRect(const gdi::TRect& Rect);
    virtual bool CanModify(const std::u32string& S) { (void)S; return !readOnly_; }
    virtual bool CanCopy() { return true; }
    virtual bool ThemedFlat() { return PaintThemed() && Flat(); }
    virtual bool RepaintOnFocus() { return false; }
    virtual void TextRectChanged() {}
    virtual void AdjustInnerRect() {}
    // For AdjustInnerRect: narrows or moves the inner rectangle before the text rectangle is
    // derived from it.
    void SetInnerRect(const gdi::TRect& Value) { innerRect_ = Value; }
    virtual void AdjustFrameRect();
    // Where the character at Index (0-based) is drawn, in client coordinates; this plain
    // layout puts the unaligned text at the text rectangle's left edge.
    virtual gdi::TPoint CharPoint(int Index);

    // Keys: the key table; a descendant extends it.
    virtual void EditKeyDown(unsigned short& Key, gui::TShiftState Shift);
    void KeyDown(unsigned short& Key, gui::TShiftState Shift) override;
    void KeyUp(unsigned short& Key, gui::TShiftState Shift) override;

    void Loaded() override;
    void Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) override;
    void Paint() override;
    void BackgroundChanged() override;
    bool ThemeParentBackOK() override { return false; }
    bool ThemedFrameSupported() override { return true; }
    void BackFXChange(rtl::TObject* Sender) override;
    bool IsReadOnly() override { return readOnly_; }
    void DrawFlatFrame() override;
    void DrawFlatFrameHot() override;
    void WndProc(gui::TMessage& Message) override;

    void UpdateSelection();
    void TrackMouse();
    void PlaceCaret(int X, int Y);
    void DrawThemedEditFrame();
    void PlaceBoundLabel();
    // The code point at 1-based index I, or 0 outside the text.
    char32_t CharAt(int I) const;
    bool IsDelimiter(int I) const { return WordDelimiters.count(CharAt(I)) > 0; }
    gdi::TCanvas* PaintCanvas();
    int LastMouseX() const { return lastMouseX_; }
    bool ExtendSelectionFlag() const { return extendSelection_; }

    // Whether typed text replaces the character after the cursor (the shared key state).
    static bool InsertMode();

private:
    void LayoutRects();
    void ReplaceSelectionChars(std::u32string S);
    void HandleChar(gui::TMessage& m);
    void WMSetFocus();
    void WMKillFocus();
    void WMLButtonDown(gui::TMessage& m);
    void WMLButtonUp(gui::TMessage& m);
    void WMMouseMove(gui::TMessage& m);
    void WMRButtonUp(gui::TMessage& m);
    void ScrollTimerTick();
    void StopScrollTimer();
    void SetKeyStateBits(gui::TShiftState Shift);

    bool closing_ = false;  // the destructor runs: no more edit handling
    int lastMouseX_ = 0;
    std::unique_ptr<TKitCaret> caret_;
    bool tabOnEnter_ = false;
    bool undoing_ = false;
    bool canUndo_ = false;
    bool canRedo_ = false;
    gui::TAlignment alignment_ = gui::taLeftJustify;
    std::unique_ptr<TKit3DCaption> font3D_;
    gui::TCursor savedScreenCursor_ = gui::crDefault;
    int updateCount_ = 0;
    int scrollTimerID_ = -1;
    int prevCursorPos_ = 1;
    int maxLength_ = 0;
    int selLength_ = 0;
    std::unique_ptr<TKitDynLIFOBuffer> undoBuffer_;
    std::unique_ptr<TKitDynLIFOBuffer> redoBuffer_;
    gdi::TColor highlightText_ = gdi::clHighlightText;
    gdi::TColor highlightBack_ = gdi::clHighlight;
    bool textDragging_ = false;
    bool focusOnMouseAbove_ = false;
    bool oemConvert_ = false;
    bool autoSelect_ = false;
    bool modified_ = false;
    bool readOnly_ = false;
    bool inKeyPress_ = false;
    bool hideSelection_ = true;
    TEditCharCase charCase_ = ecNormal;
    gui::TControl* boundLabel_ = nullptr;
    gui::TPopupMenu* popupMenu_ = nullptr;
    int labelPosition_ = 0;
    int labelSpacing_ = 3;
    std::unique_ptr<gdi::TBitmap> bufferBitmap_;
    std::u32string text_;
    bool extendSelection_ = false;
    bool selectionHidden_ = true;
    gdi::TRect frameRect_{};
    gdi::TRect innerRect_{-1, -1, -1, -1};
    gdi::TRect textRect_{};
    int cursorPos_ = 1;
    int selStart_ = 1;
    int scrollOffset_ = 0;

protected:
    // The descendant scrolls the text (UpdateCaretPos).
    void SetScrollOffset(int v) { scrollOffset_ = v < 0 ? 0 : v; }
};

}  // namespace kit
