// Standard controls: label, group box, button, check box, edit, memo, combo box, scroll bar.
#pragma once

#include <memory>
#include <string>

#include "platform/gui/Controls.h"
#include "platform/gui/OwnerDraw.h"

namespace gui {

// ---- TLabel -----------------------------------------------------------------------------------
// Caption with '&' as accelerator mark ("&&" shows one '&'). AutoSize (default on) fits the
// control to the text: a left-aligned label keeps its left edge, a right-aligned one its right
// edge, a centred one its centre. Transparent (default off) lets the parent show through; an
// opaque label fills its area with Color.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(rtl::TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout l);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);

protected:
    void TextChanged() override;
    void ApplyColor() override;
    void ApplyFont() override;
    void Paint() override;

private:
    void AdjustSize();
    std::string display_;  // the caption without accelerator marks, line ends as LF
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool autoSize_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
    bool colorSet_ = false;
};

// ---- TGroupBox --------------------------------------------------------------------------------
// A self-drawn container: Paint draws the caption frame as the desktop's style draws a group box
// (frame below the caption's line, caption at the top left) over the erased client area.
// ParentColor is on by default.
class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(rtl::TComponent* owner);

protected:
    void Paint() override;
    void TextChanged() override;
};

// ---- TButton ----------------------------------------------------------------------------------
// A click (by the user or Click()) sets the form's ModalResult to the button's ModalResult when
// that is not mrNone, then runs OnClick. Enter clicks the form's Default button (or the focused
// button), Escape its Cancel button.
class TButton : public TWinControl {
public:
    explicit TButton(rtl::TComponent* owner);

    void Click() override;
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int r) { modalResult_ = r; }
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }

protected:
    void TextChanged() override;

private:
    int modalResult_ = 0;
    bool default_ = false;
    bool cancel_ = false;
};

// ---- TCheckBox --------------------------------------------------------------------------------
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A change of Checked, by the user or by code, runs OnClick.
class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(rtl::TComponent* owner);

    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState s);

protected:
    void TextChanged() override;

private:
    TCheckBoxState state_ = cbUnchecked;
};

// ---- TCustomEdit / TEdit ----------------------------------------------------------------------
// A single-line edit. OnChange runs after every change of the text (typed or set by code).
// Subclasses change key handling by overriding KeyDown / KeyPress (Key := 0 swallows the key)
// and focus handling by DoEnter / DoExit; SelectNext moves the focus on.
class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(rtl::TComponent* owner);
    ~TCustomEdit() override;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    // Maximum number of characters; 0: no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    // Shown in place of every character when not 0.
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char c);
    // Select the whole text when the edit is entered by keyboard.
    bool AutoSelect = true;

    void Clear() { SetText(std::string()); }
    void SelectAll();
    // Selection in characters.
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    std::string SelText() const;
    bool Modified() const;
    void SetModified(bool v);

    TNotifyEvent OnChange;

protected:
    // Runs OnChange.
    virtual void Change();
    void DoEnter() override;
    std::string GetTextValue() const override;
    void SetTextValue(const std::string& s) override;

private:
    bool readOnly_ = false;
    int maxLength_ = 0;
    TAlignment alignment_ = taLeftJustify;
    char passwordChar_ = 0;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(rtl::TComponent* owner) : TCustomEdit(owner) {}
};

// ---- TMemo ------------------------------------------------------------------------------------
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit. Lines is bound to the widget: every change shows at once. Text joins the
// lines with CR LF; a trailing empty line is not counted, as on the original platform.
class TMemo : public TWinControl {
public:
    explicit TMemo(rtl::TComponent* owner);
    ~TMemo() override;

    rtl::TStrings* Lines() const { return lines_.get(); }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    void Clear();

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    std::string GetTextValue() const override;
    void SetTextValue(const std::string& s) override;

private:
    std::unique_ptr<rtl::TStrings> lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool readOnly_ = false;
    bool wordWrap_ = true;
};

// ---- TComboBox --------------------------------------------------------------------------------
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// OnChange runs only for the user: choosing an item (after OnClick) or typing into a csDropDown
// combo. Setting ItemIndex, Text or the items in code runs no handler. Text set in code (or typed)
// selects the item with the same text (ignoring case) or none.
class TComboBox : public TWinControl {
public:
    explicit TComboBox(rtl::TComponent* owner);
    ~TComboBox() override;

    rtl::TStrings* Items() const { return items_.get(); }
    int ItemIndex() const;
    // A value outside 0..Count-1 selects nothing.
    void SetItemIndex(int index);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle s);
    int DropDownCount() const;
    void SetDropDownCount(int n);
    // Empties the items and the text.
    void Clear();

    // Sorted: Add puts a line at its place (ignoring case); switching it on sorts the items.
    // Insert keeps the index it is given.
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    // Maximum number of characters of the edit part; 0: no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n);
    // Selection of the edit part in characters (0 without an edit part).
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    // Whether the list is open.
    bool DroppedDown() const;
    void SetDroppedDown(bool v);
    // Height of the items of an owner-drawn list (default 16).
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int h);
    // The canvas an owner-drawn item is painted on while DrawItem runs.
    gdi::TCanvas* Canvas() { return &canvas_; }

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    virtual void Change();
    std::string GetTextValue() const override;
    void SetTextValue(const std::string& s) override;
    // A user's choice sends CN_COMMAND with CBN_SELCHANGE in the high word of WParam; its default
    // handling runs Click and Change. A mouse choice in the list arrives after the list closed;
    // the arrow and page keys choose in a closed combo. CB_SETDROPPEDWIDTH sets the least width
    // of the list (CB_GETDROPPEDWIDTH reads it).
    void WndProc(TMessage& message) override;
    // Messages of the edit part (WM_SETFOCUS, WM_KILLFOCUS, WM_LBUTTONDOWN); the default does
    // nothing with them.
    virtual void EditWndProc(TMessage& message);
    // Items of the owner-drawn styles: the defaults run the events, else fill the rectangle
    // (highlighted when selected) and write the text.
    virtual void DrawItem(int index, gdi::TRect rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);

private:
    friend class ComboStrings;
    friend class ComboItemDelegate;
    friend class ComboEditFilter;
    void SyncIndexToText();
    void HookEdit();
    std::unique_ptr<rtl::TStrings> items_;
    TComboBoxStyle style_ = csDropDown;
    bool sorted_ = false;
    int maxLength_ = 0;
    int itemHeight_ = 16;
    int droppedWidth_ = 0;
    gdi::TCanvas canvas_;
};

// Combo box messages.
inline constexpr unsigned CN_BASE = 0xBC00;
inline constexpr unsigned CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr unsigned CBN_SELCHANGE = 1;
inline constexpr unsigned CB_GETDROPPEDWIDTH = 0x015F;
inline constexpr unsigned CB_SETDROPPEDWIDTH = 0x0160;

// ---- TScrollBar -------------------------------------------------------------------------------
enum TScrollBarKind { sbHorizontal, sbVertical };

// A change of Position, by the user or by code (also when Min or Max move it), runs OnChange.
// Max below Min raises EInvalidOperation.
class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(rtl::TComponent* owner);

    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind k);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetMin(int v) { SetParams(position_, v, max_); }
    void SetMax(int v) { SetParams(position_, min_, v); }
    void SetPosition(int v) { SetParams(v, min_, max_); }
    void SetParams(int position, int min, int max);
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int v);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int v);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int v);

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    void UserMoved(int value);
    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0, max_ = 100, position_ = 0;
    int largeChange_ = 1, smallChange_ = 1, pageSize_ = 0;
    bool updating_ = false;
};

}  // namespace gui
