// The list box: a self-drawn window that keeps its items, draws them (itself or through the
// owner-draw events), scrolls them with its own scroll bars and keeps a single, multiple or
// extended selection. Every item operation is an LB_* message through WndProc, so a subclass can
// watch or change it; Items is a string list over those messages.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/OwnerDraw.h"
#include "platform/gui/StdCtrls.h"

namespace gui {

// List box messages beyond the core set in Messages.h. LB_GETTEXT writes into the std::string
// LParam points to; LB_ADDSTRING and LB_INSERTSTRING take a NUL-terminated UTF-8 text.
inline constexpr unsigned LB_SETSEL = 0x0185, LB_SETCURSEL = 0x0186, LB_GETSEL = 0x0187,
    LB_GETCURSEL = 0x0188, LB_GETTEXT = 0x0189, LB_GETTEXTLEN = 0x018A, LB_GETCOUNT = 0x018B,
    LB_GETSELCOUNT = 0x0190, LB_GETHORIZONTALEXTENT = 0x0193, LB_SETTOPINDEX = 0x0197,
    LB_GETITEMRECT = 0x0198, LB_GETITEMDATA = 0x0199, LB_SETITEMDATA = 0x019A,
    LB_SETCARETINDEX = 0x019E, LB_GETCARETINDEX = 0x019F, LB_GETITEMHEIGHT = 0x01A1,
    LB_SETCOUNT = 0x01A7, LB_ITEMFROMPOINT = 0x01A9;
inline constexpr LRESULT LB_ERR = -1;
// Notification codes (high word of CN_COMMAND's WParam).
inline constexpr unsigned LBN_SELCHANGE = 1;
// The notifications a window sends its parent, reflected back to the control (CN_BASE and
// CN_COMMAND come with the combo box).
inline constexpr unsigned CN_DRAWITEM = CN_BASE + WM_DRAWITEM, CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
// Scroll requests (low word of WM_VSCROLL / WM_HSCROLL's WParam; the position in the high word).
inline constexpr unsigned SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1,
    SB_PAGEUP = 2, SB_PAGELEFT = 2, SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7;
// Item states of an owner-drawn item.
inline constexpr unsigned ODS_SELECTED = 0x0001, ODS_GRAYED = 0x0002, ODS_DISABLED = 0x0004,
    ODS_CHECKED = 0x0008, ODS_FOCUS = 0x0010;

// CN_DRAWITEM's LParam: one item to draw on the list box's canvas. itemID is -1 when there is
// nothing to draw but the focus (an empty list).
struct TDrawItemStruct {
    int itemID = -1;
    unsigned itemState = 0;
    gdi::TRect rcItem;
    LPARAM itemData = 0;
};
// CN_MEASUREITEM's LParam: the height of a variable-height item.
struct TMeasureItemStruct {
    int itemID = -1;
    int itemHeight = 0;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };

using TLBGetDataEvent = std::function<void(TWinControl* Control, int Index, std::string& Data)>;

class TCustomListBox;

// Items of a list box: every change goes through the list box's messages.
class TListBoxStrings : public rtl::TStrings {
public:
    explicit TListBoxStrings(TCustomListBox* box) : box_(box) {}
    int Count() const override;
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& s) override;
    rtl::TObject* Objects(int index) const override;
    void PutObject(int index, rtl::TObject* object) override;

private:
    TCustomListBox* box_;
};

class TCustomListBox : public TCustomControl {
public:
    explicit TCustomListBox(rtl::TComponent* owner);
    ~TCustomListBox() override;

    rtl::TStrings* Items() { return items_.get(); }
    // Number of items; for the virtual styles the count set by SetCount.
    int Count() const;
    void SetCount(int n);

    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle s);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);

    // The focused item with a multiple selection, else the selected one; -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int i);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool v);
    // EListError outside the items.
    bool Selected(int index) const;
    void SetSelected(int index, bool v);
    // -1 with a single selection.
    int SelCount() const;
    void ClearSelection();
    void SelectAll();
    virtual void DeleteSelected();

    // Fixed item height (the font's line height in lbStandard).
    int ItemHeight() const;
    void SetItemHeight(int h);
    int TopIndex() const { return top_; }
    void SetTopIndex(int i);
    // Client rectangle of the item (above or below the client area when scrolled out).
    gdi::TRect ItemRect(int index) const;
    // The item at the client point; outside the items -1 when existing, else Count.
    int ItemAtPos(gdi::TPoint p, bool existing) const;
    int HorizontalExtent() const { return hExtent_; }
    void SetHorizontalExtent(int w) { Perform(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(w), 0); }
    int HorizontalPosition() const { return hPos_; }

    // The client area less the scroll bars shown.
    int ClientWidth() const override;
    int ClientHeight() const override;
    bool VertScrollBarShown() const;
    bool HorzScrollBarShown() const;
    static constexpr int ScrollBarSize = 17;

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;
    TLBGetDataEvent OnData;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void Paint() override;
    void KeyDown(unsigned short& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    // Default: OnDrawItem, or the item's text on the filled rectangle.
    virtual void DrawItem(int index, gdi::TRect rect, TOwnerDrawState state);
    // Default: OnMeasureItem.
    virtual void MeasureItem(int index, int& height);
    // The text of a virtual item (OnData).
    virtual std::string DoGetData(int index);
    // Item data as the strings' objects see it; the Internal ones are the window's own.
    virtual LPARAM GetItemData(int index);
    virtual void SetItemData(int index, LPARAM data);
    LPARAM InternalGetItemData(int index);
    void InternalSetItemData(int index, LPARAM data);
    virtual void DeleteString(int index);
    virtual void ResetContent();

private:
    friend class TListBoxStrings;
    struct Item {
        std::string text;
        LPARAM data = 0;
        int height = 0;
        bool selected = false;
    };
    bool Virtual() const { return style_ == lbVirtual || style_ == lbVirtualOwnerDraw; }
    bool Variable() const { return style_ == lbOwnerDrawVariable; }
    int HeightOf(int index) const;
    int TotalHeight() const;
    int MaxTop() const;
    int PageItems() const;
    std::string TextOf(int index);
    int InsertItem(int index, const std::string& s);
    void DefaultDrawItem(TDrawItemStruct& dis);
    void DrawScrollBars();
    void Notify();
    void MakeVisible(int index);
    // User selection steps; return whether the selection or focus changed.
    bool MoveTo(int index, TShiftState shift, bool fromMouse);
    void SelectRange(int from, int to, bool keepOthers);
    bool ScrollBarHit(int x, int y);
    void ScrollVert(unsigned code, int pos);
    void ScrollHorz(unsigned code, int pos);
    struct Bar { gdi::TRect whole, dec, inc, thumb; };
    Bar VertBar() const;
    Bar HorzBar() const;

    std::unique_ptr<TListBoxStrings> items_;
    std::vector<Item> list_;   // one entry per item, for the virtual styles too
    TListBoxStyle style_ = lbStandard;
    TBorderStyle borderStyle_ = bsSingle;
    bool sorted_ = false;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    int itemHeight_ = 16;
    mutable int fontHeight_ = -1;  // line height of the text styles; -1 until measured
    int cur_ = -1;      // the selection (single) or the focused item (multiple)
    int anchor_ = -1;   // start of an extended range
    int top_ = 0;
    int hExtent_ = 0;
    int hPos_ = 0;
    bool tracking_ = false;        // left button held on the items
    int thumbDrag_ = 0;            // 0 none, 1 vertical, 2 horizontal thumb held
    int thumbGrab_ = 0;            // offset of the mouse inside the thumb
    int trackPos_ = 0;             // full position of the dragged thumb (top index or pixels)
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(rtl::TComponent* owner) : TCustomListBox(owner) {}
};

}  // namespace gui
