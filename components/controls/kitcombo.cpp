// The library's combo box.
#include "components/controls/kitcombo.h"

#include <algorithm>

#include "components/base/kitapp.h"
#include "platform/gdi/Drawing.h"
#include "platform/gui/Messages.h"

namespace kit {

using namespace gui;

namespace {
int CodePoints(const std::string& s) {
    return static_cast<int>(std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::uint16_t TimerInterval(int ms) { return static_cast<std::uint16_t>(std::clamp(ms, 1, 65535)); }
}  // namespace

TKitCustomComboBox::TKitCustomComboBox(rtl::TComponent* AOwner) : TComboBox(AOwner) {
    // The frame is drawn on the window's surface after the widget's own look.
    KeepSurface();
}

TKitCustomComboBox::~TKitCustomComboBox() { StopSearch(); }

bool TKitCustomComboBox::GetBoolProp(int Index) const { return Index == 0 ? flat_ : mruList_; }

void TKitCustomComboBox::SetBoolProp(int Index, bool Value) {
    if (Index == 0) {
        if (flat_ == Value) return;
        flat_ = Value;
        DrawFrame();
        return;
    }
    if (mruList_ == Value) return;
    mruList_ = Value;
    if (!Value) {
        for (int i = 0; i < mruCount_ && Items()->Count() > 0; ++i) Items()->Delete(0);
        mruCount_ = 0;
    } else {
        SetStyle(csOwnerDrawFixed);  // the separator line needs owner drawing
    }
}

int TKitCustomComboBox::GetIntProp(int Index) const { return Index == 0 ? dropDownWidth_ : mruMax_; }

void TKitCustomComboBox::SetIntProp(int Index, int Value) {
    if (Index == 0) {
        if (dropDownWidth_ == Value) return;
        dropDownWidth_ = Value;
        PostMessage(this, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(Value));
        return;
    }
    if (mruMax_ == Value) return;
    mruMax_ = Value;
    while (mruCount_ > std::max(0, Value)) {
        Items()->Delete(mruCount_ - 1);
        --mruCount_;
    }
}

void TKitCustomComboBox::SetSearch(bool Value) {
    search_ = Value;
    if (!Sorted()) SetSorted(true);
}

void TKitCustomComboBox::SetFocusControl(TWinControl* Value) {
    if (focusControl_ == Value) return;
    if (focusControl_ && focusControl_ != this) focusControl_->RemoveFreeNotification(this);
    focusControl_ = Value;
    if (Value && Value != this) Value->FreeNotification(this);
}

void TKitCustomComboBox::Loaded() {
    TComboBox::Loaded();
    PostMessage(this, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(dropDownWidth_));
}

void TKitCustomComboBox::Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) {
    TComboBox::Notification(AComponent, Operation);
    if (Operation == rtl::TOperation::opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TKitCustomComboBox::StopSearch() {
    if (searchTimer_ == 0) return;
    if (KitApplication.Assigned()) {
        if (TKitTimerItem* item = KitApplication->GetTimer(searchTimer_)) item->SetEnabled(false);
        KitApplication->RemoveTimer(searchTimer_);
    }
    searchTimer_ = 0;
}

void TKitCustomComboBox::Select() {
    if (OnSelect) OnSelect(this);
}

// ---- Frame ----------------------------------------------------------------------------------

void TKitCustomComboBox::DrawFrame() {
    if (Destroying()) return;
    gdi::TCanvas& canvas = *WindowCanvas();
    gdi::TRect r = gdi::Rect(0, 0, Width(), Height());
    const bool atRest = !Designing() && flat_ && !mouseInside_ && !Focused() && !editFocused_;
    const gdi::TColor oldBrush = canvas.Brush()->Color();
    if (!atRest && !(redrawing_ && flat_)) {
        canvas.Brush()->SetColor(gdi::clWindowFrame);
        canvas.FrameRect(gdi::Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom));
        canvas.Brush()->SetColor(gdi::clBtnFace);
        canvas.FrameRect(gdi::Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1));
        gdi::DrawEdge(canvas, r, gdi::BDR_SUNKENOUTER, gdi::BF_RECT | gdi::BF_ADJUST);
    } else {
        canvas.Brush()->SetColor(gdi::clBtnFace);
        canvas.FrameRect(r);
        gdi::InflateRect(r, -1, -1);
        canvas.FrameRect(r);
        gdi::InflateRect(r, -1, -1);
        canvas.Brush()->SetColor(gdi::clWindow);
        canvas.FrameRect(r);
    }
    canvas.Brush()->SetColor(oldBrush);
}

void TKitCustomComboBox::RedrawFrame() {
    if (!mouseInside_ && !editFocused_) {
        redrawing_ = true;
        DrawFrame();
        redrawing_ = false;
    }
    if (search_) StopSearch();
}

void TKitCustomComboBox::DoEnter() {
    TComboBox::DoEnter();
    DrawFrame();
}

void TKitCustomComboBox::DoExit() {
    TComboBox::DoExit();
    RedrawFrame();
}

void TKitCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TComboBox::MouseDown(Button, Shift, X, Y);
    navigating_ = false;
}

void TKitCustomComboBox::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case CM_MOUSEENTER:
        TComboBox::WndProc(Message);
        if (Designing()) return;
        mouseInside_ = true;
        if (flat_ && !Focused()) DrawFrame();
        return;
    case CM_MOUSELEAVE:
        TComboBox::WndProc(Message);
        if (Designing()) return;
        mouseInside_ = false;
        if (flat_ && !Focused() && !DroppedDown() && !editFocused_) DrawFrame();
        return;
    case WM_PAINT:
        TComboBox::WndProc(Message);
        DrawFrame();
        return;
    case CN_COMMAND:
        TComboBox::WndProc(Message);
        if ((Message.WParam >> 16) == CBN_SELCHANGE) SelectionChanged();
        return;
    default: TComboBox::WndProc(Message);
    }
}

void TKitCustomComboBox::EditWndProc(TMessage& Message) {
    TComboBox::EditWndProc(Message);
    switch (Message.Msg) {
    case WM_SETFOCUS: editFocused_ = true; break;
    case WM_KILLFOCUS: editFocused_ = false; break;
    case WM_LBUTTONDOWN:
        if (OnEditClick) OnEditClick(this);
        break;
    default: break;
    }
}

// ---- Owner-drawn list -----------------------------------------------------------------------

void TKitCustomComboBox::DrawItem(int Index, gdi::TRect Rect, TOwnerDrawState State) {
    TComboBox::DrawItem(Index, Rect, State);
    // Items are drawn here only for the open list: the separator goes below the last entry of
    // the block.
    if (!DroppedDown() || !mruList_ || Index != mruCount_ - 1) return;
    gdi::TCanvas& canvas = *Canvas();
    gdi::TPen& pen = *canvas.Pen();
    const gdi::TColor oldColor = pen.Color();
    const int oldWidth = pen.Width();
    const gdi::TPenStyle oldStyle = pen.Style();
    pen.SetColor(gdi::clBlack);
    pen.SetWidth(0);
    pen.SetStyle(gdi::psSolid);
    for (int y : {Rect.Bottom - 3, Rect.Bottom - 1}) {
        canvas.MoveTo(Rect.Left, y);
        canvas.LineTo(Rect.Right, y);
    }
    pen.SetColor(oldColor);
    pen.SetWidth(oldWidth);
    pen.SetStyle(oldStyle);
}

void TKitCustomComboBox::MeasureItem(int Index, int& Height) {
    TComboBox::MeasureItem(Index, Height);
    Height = ItemHeight();
    if (mruList_) Height += 4;
}

// ---- Keys, search and choices ---------------------------------------------------------------

void TKitCustomComboBox::KeyDown(unsigned short& Key, TShiftState Shift) {
    TComboBox::KeyDown(Key, Shift);
    TKitTimerItem* item = nullptr;
    if (searchTimer_ != 0) {
        item = KitApplication->GetTimer(searchTimer_);
    } else {
        // With no free timer item the search is left out.
        searchTimer_ = KitApplication->AddTimer(TimerInterval(interval_), [this](rtl::TObject* s) { SearchTimer(s); });
        if (searchTimer_ != 0) item = KitApplication->GetTimer(searchTimer_);
    }
    if (item) {
        item->SetEnabled(false);
        if (search_) {
            if (Key == VK_BACK || Key == VK_DELETE) {
                item->SetInterval(TimerInterval(interval_ + 1000));
                item->SetEnabled(true);
            } else if (Key >= 32) {
                item->SetInterval(TimerInterval(interval_));
                item->SetEnabled(true);
            }
        }
    }
    navigating_ = Key == VK_PRIOR || Key == VK_NEXT || (Key >= VK_LEFT && Key <= VK_DOWN);
    if (Key == VK_RETURN && focusControl_) {
        focusControl_->SetFocus();
        RedrawFrame();
    }
}

void TKitCustomComboBox::SearchTimer(rtl::TObject*) {
    const std::string text = Text();
    // An empty edit completes nothing: every item would match it.
    if (Sorted() && !text.empty()) {
        int found = -1;
        for (int i = 0; i < Items()->Count(); ++i)
            if (Items()->Get(i).compare(0, text.size(), text) == 0) {
                found = i;
                break;
            }
        if (found >= 0) {
            const int p = SelStart();
            SetItemIndex(found);
            SetSelStart(p);
            SetSelLength(CodePoints(Text()) - p);
        }
    }
    StopSearch();
}

void TKitCustomComboBox::SelectionChanged() {
    Select();
    if (mruList_ && mruMax_ >= 1 && ItemIndex() >= 0) {
        const int chosen = ItemIndex();
        const std::string s = Items()->Get(chosen);
        rtl::TObject* object = Items()->Objects(chosen);
        int found = -1;
        for (int i = 0; i < mruCount_; ++i)
            if (Items()->Get(i) == s) {
                found = i;
                break;
            }
        if (found >= 0) {
            SetItemIndex(found);
        } else {
            if (mruCount_ >= mruMax_)
                Items()->Delete(mruCount_ - 1);
            else
                ++mruCount_;
            Items()->InsertObject(0, s, object);
            SetItemIndex(0);
        }
    }
    if (!DroppedDown() && !navigating_ && focusControl_) {
        focusControl_->SetFocus();
        RedrawFrame();
    }
}

}  // namespace kit
