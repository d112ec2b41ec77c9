// The check list box.
#include "components/controls/KitCheckListBox.h"

#include <algorithm>

#include "components/base/KitDrawBitmap.h"
#include "components/base/KitXPStyles.h"
#include "components/base/kitapp.h"
#include "platform/gdi/Drawing.h"
#include "platform/rtl/SysUtils.h"

namespace kit {

using namespace gui;
using gdi::TRect;

TKitCustomCheckListBox::TKitCustomCheckListBox(rtl::TComponent* AOwner) : TKitCustomImageListBox(AOwner) {}

TKitCustomCheckListBox::~TKitCustomCheckListBox() { FreeItemObjects(); }

void TKitCustomCheckListBox::FreeItemObjects() {
    for (int i = 0; i < Count(); ++i) {
        delete reinterpret_cast<TKitButtonListData*>(InternalGetItemData(i));
        InternalSetItemData(i, 0);
    }
}

// ---- Properties ------------------------------------------------------------------------------

void TKitCustomCheckListBox::SetBtnMode(TKitButtonListMode Value) {
    if (btnMode_ == Value) return;
    btnMode_ = Value;
    Invalidate();
    SetValue(this->Value());
}

void TKitCustomCheckListBox::SetBtnFlat(bool Value) {
    if (btnFlat_ == Value) return;
    btnFlat_ = Value;
    Invalidate();
}

void TKitCustomCheckListBox::SetBtnDefault(bool Value) {
    if (btnDefault_ == Value) return;
    btnDefault_ = Value;
    Invalidate();
}

void TKitCustomCheckListBox::SetBtnGap(std::uint8_t Value) {
    if (btnGap_ == Value) return;
    btnGap_ = Value;
    Invalidate();
}

TKitButtonListData* TKitCustomCheckListBox::ItemDataObject(int Index) {
    if (Index < 0 || Index >= Count()) rtl::RaiseListIndexError(Index);
    return reinterpret_cast<TKitButtonListData*>(InternalGetItemData(Index));
}

TKitButtonListData* TKitCustomCheckListBox::NeedItemDataObject(int Index) {
    TKitButtonListData* d = ItemDataObject(Index);
    if (!d) {
        d = new TKitButtonListData;
        InternalSetItemData(Index, reinterpret_cast<LPARAM>(d));
    }
    return d;
}

bool TKitCustomCheckListBox::Checked(int Index) {
    const TKitButtonListData* d = ItemDataObject(Index);
    return d && d->GetChecked();
}

void TKitCustomCheckListBox::SetChecked(int Index, bool Value) {
    if (Checked(Index) == Value) return;
    NeedItemDataObject(Index)->SetChecked(Value);
    InvalidateCheck(Index);
}

std::uint8_t TKitCustomCheckListBox::State(int Index) {
    const TKitButtonListData* d = ItemDataObject(Index);
    return d ? d->State : 0;
}

void TKitCustomCheckListBox::SetState(int Index, std::uint8_t Value) {
    if (State(Index) == Value) return;
    NeedItemDataObject(Index)->State = Value;
    InvalidateCheck(Index);
}

bool TKitCustomCheckListBox::ItemEnabled(int Index) {
    const TKitButtonListData* d = ItemDataObject(Index);
    return !d || !d->Disabled;
}

// Bit i stands for item i; a list longer than 64 items has no bits for the rest.
std::int64_t TKitCustomCheckListBox::Value() {
    switch (btnMode_) {
    case blCheckBox: {
        std::uint64_t v = 0;
        for (int i = 0; i < std::min(Count(), 64); ++i)
            if (Checked(i)) v |= std::uint64_t(1) << i;
        return static_cast<std::int64_t>(v);
    }
    case blCheckBox3State: return -1;
    case blRadioButton:
        for (int i = 0; i < Count(); ++i)
            if (Checked(i)) return i;
        return -1;
    }
    return -1;
}

void TKitCustomCheckListBox::SetValue(std::int64_t Value) {
    const auto bits = static_cast<std::uint64_t>(Value);
    for (int i = 0; i < Count(); ++i) {
        switch (btnMode_) {
        case blCheckBox: SetChecked(i, i < 64 && ((bits >> i) & 1u)); break;
        case blCheckBox3State: SetState(i, 0); break;
        case blRadioButton: SetChecked(i, i == Value); break;
        }
    }
}

int TKitCustomCheckListBox::CheckWidth() const {
    return btnGap_ + 2 + (btnDefault_ ? KitApplication->CheckWidth : KitApplication->CheckGlyphWidth());
}

int TKitCustomCheckListBox::CheckHeight() const {
    return btnDefault_ ? KitApplication->CheckHeight : KitApplication->CheckGlyphHeight();
}

void TKitCustomCheckListBox::InvalidateCheck(int Index) {
    TRect r = ItemRect(Index);
    r.Right = r.Left + CheckWidth();
    InvalidateRect(r);
    Update();
}

void TKitCustomCheckListBox::ClickCheck() {
    if (OnClickCheck) OnClickCheck(this);
}

void TKitCustomCheckListBox::ToggleState(int Index) {
    if (Index < 0 || Index >= Count() || !ItemEnabled(Index)) return;
    const std::uint8_t s = State(Index);
    if (btnMode_ == blRadioButton)
        for (int i = 0; i < Count(); ++i)
            if (i != Index) SetState(i, 0);
    std::uint8_t n = 0;
    if (s == 0) n = btnMode_ == blCheckBox3State ? 2 : 1;
    else if (s == 2) n = 1;
    else n = btnMode_ == blRadioButton && !btnAllowUnselect_ ? 1 : 0;
    SetState(Index, n);
    ClickCheck();
}

int TKitCustomCheckListBox::ItemTextWidth(int Index) {
    return TKitCustomImageListBox::ItemTextWidth(Index) + CheckWidth();
}

int TKitCustomCheckListBox::ItemImageWidth(int Index) {
    return TKitCustomImageListBox::ItemImageWidth(Index) + CheckWidth();
}

int TKitCustomCheckListBox::ItemImageHeight(int Index) {
    return std::max(TKitCustomImageListBox::ItemImageHeight(Index), CheckHeight() + 2);
}

// ---- Item data -------------------------------------------------------------------------------

LPARAM TKitCustomCheckListBox::GetItemData(int Index) {
    const TKitButtonListData* d = ItemDataObject(Index);
    return d ? d->Data : 0;
}

void TKitCustomCheckListBox::SetItemData(int Index, LPARAM Data) { NeedItemDataObject(Index)->Data = Data; }

void TKitCustomCheckListBox::DeleteString(int Index) {
    if (Index >= 0 && Index < Count()) {
        delete reinterpret_cast<TKitButtonListData*>(InternalGetItemData(Index));
        InternalSetItemData(Index, 0);
    }
    TKitCustomImageListBox::DeleteString(Index);
}

void TKitCustomCheckListBox::ResetContent() {
    FreeItemObjects();
    TKitCustomImageListBox::ResetContent();
}

// ---- Mouse and keys --------------------------------------------------------------------------

void TKitCustomCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TKitCustomImageListBox::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const int i = ItemAtPos({X, Y}, true);
    if (i < 0 || !ItemEnabled(i) || !Enabled()) return;
    if (X - ItemRect(i).Left < CheckWidth()) ToggleState(i);
}

void TKitCustomCheckListBox::KeyPress(TKeyChar& Key) {
    TKitCustomImageListBox::KeyPress(Key);
    if (Key == U' ') ToggleState(ItemIndex());
}

// ---- Drawing ---------------------------------------------------------------------------------

void TKitCustomCheckListBox::DrawItemStruct(TDrawItemStruct& Dis) {
    Dis.rcItem.Left += CheckWidth();
    TKitCustomImageListBox::DrawItemStruct(Dis);
}

void TKitCustomCheckListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
    if (Index >= Count()) return;
    gdi::TCanvas& c = *Canvas();
    const TRect cr = gdi::Rect(Rect.Left - CheckWidth(), Rect.Top, Rect.Left, Rect.Bottom);
    if (Transparent() && TransparentBackground()) {
        TRect back = cr;
        if (Index == Count() - 1) back.Bottom = ClientHeight();
        CopyParentBackground(back);
    }
    const bool enabled = Enabled() && ItemEnabled(Index);
    DrawButton(this, c, cr, this->State(Index), btnMode_, enabled, btnFlat_, btnDefault_, CtlXP());
    if (!enabled) c.Font()->SetColor(gdi::clGrayText);
    TKitCustomImageListBox::DrawItem(Index, Rect, State);
}

void TKitCustomCheckListBox::DrawButton(TWinControl* Control, gdi::TCanvas& Canvas, const TRect& Rect,
                                        std::uint8_t State, TKitButtonListMode Mode, bool Enabled, bool Flat,
                                        bool Default, bool Themed) {
    const bool custom = !Default && KitApplication->CheckGlyphs && !KitApplication->CheckGlyphs->Empty();
    const int w = custom ? KitApplication->CheckGlyphWidth() : KitApplication->CheckWidth;
    const int h = custom ? KitApplication->CheckGlyphHeight() : KitApplication->CheckHeight;
    const int x = Rect.Left + (Rect.Right - Rect.Left - w) / 2;
    const int y = Rect.Top + (Rect.Bottom - Rect.Top - h) / 2;
    const TRect box = gdi::Rect(x, y, x + w, y + h);
    if (custom) {
        // Six images: unchecked, checked, grayed, each enabled then disabled.
        const int k = (Enabled ? 0 : 1) + 2 * std::min<int>(State, 2);
        gdi::TBitmap& strip = *KitApplication->CheckGlyphs;
        TRect drawn;
        KitDrawBitmapEx(Canvas, box, strip.Canvas(), gdi::Rect(k * w, 0, k * w + w, h), kdfTransparent,
                        strip.TransparentColor(), 0, nullptr, drawn);
        return;
    }
    if (Themed && KitApplication->ThemesEnabled() && KitThemeFunctions.OpenThemeData &&
        KitThemeFunctions.DrawThemeBackground) {
        HTHEME t = KitThemeFunctions.OpenThemeData(Control ? Control->Widget() : nullptr, "BUTTON");
        const int stateId = State == 1 ? 5 : State == 2 ? 9 : 1;
        KitThemeFunctions.DrawThemeBackground(t, &Canvas, Mode == blRadioButton ? 2 : 3, stateId, box, nullptr);
        if (KitThemeFunctions.CloseThemeData) KitThemeFunctions.CloseThemeData(t);
        return;
    }
    const bool radio = Mode == blRadioButton;
    unsigned s = radio ? gdi::DFCS_BUTTONRADIO : gdi::DFCS_BUTTONCHECK;
    if (State == 1) s |= gdi::DFCS_CHECKED;
    else if (State == 2) s = gdi::DFCS_BUTTON3STATE | gdi::DFCS_CHECKED;
    if (!Enabled) s |= gdi::DFCS_INACTIVE;
    if (Flat && radio) s |= gdi::DFCS_FLAT;
    if (!Flat || radio) {
        gdi::DrawFrameControl(Canvas, box, gdi::DFC_BUTTON, s);
        return;
    }
    // A flat check box: the inside of the classic box, framed by one shadow-coloured line.
    {
        gdi::TClipKeeper keep(Canvas);  // a canvas without a clip gets none back
        Canvas.IntersectClipRect(gdi::Rect(box.Left + 2, box.Top + 2, box.Right - 2, box.Bottom - 2));
        gdi::DrawFrameControl(Canvas, box, gdi::DFC_BUTTON, s);
    }
    const gdi::TBrushStyle bs = Canvas.Brush()->Style();
    const gdi::TColor bc = Canvas.Brush()->Color();
    const gdi::TColor pc = Canvas.Pen()->Color();
    Canvas.Pen()->SetColor(gdi::clBtnShadow);
    Canvas.Brush()->SetStyle(gdi::bsClear);
    Canvas.Rectangle(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
    Canvas.Brush()->SetColor(bc);
    Canvas.Brush()->SetStyle(bs);
    Canvas.Pen()->SetColor(pc);
}

}  // namespace kit
