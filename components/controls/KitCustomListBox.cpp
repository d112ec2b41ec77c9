// The library's owner-drawn list box.
#include "components/controls/KitCustomListBox.h"

#include <algorithm>

#include "components/base/KitDrawFrames.h"
#include "components/base/KitDrawText.h"
#include "components/base/KitFormShape.h"
#include "components/base/KitMessages.h"
#include "components/base/KitXPStyles.h"
#include "components/base/kitapp.h"
#include "components/base/kitcustomcontrol.h"
#include "platform/gdi/Drawing.h"
#include "platform/gui/CursorPos.h"
#include "platform/gui/Forms.h"
#include "platform/gui/MemoLook.h"

namespace kit {

using namespace gui;
using gdi::TRect;

namespace {
// Posted to the list box to free an ended editor once its own key handler has returned.
constexpr unsigned KM_FREEEDITOR = WM_USER + 0x4B1;

TRect Inflated(TRect r, int d) { return gdi::Rect(r.Left - d, r.Top - d, r.Right + d, r.Bottom + d); }
}  // namespace

TKitCustomListBoxEdit::TKitCustomListBoxEdit(rtl::TComponent* AOwner) : TMemo(AOwner) {}

TKitCustomListBox::TKitCustomListBox(rtl::TComponent* AOwner)
    : TCustomListBox(AOwner), font3D_(std::make_unique<TKit3DCaption>()) {
    font3D_->OnChange = [this](rtl::TObject*) { ItemsChanged(); };
    SetStyle(lbOwnerDrawFixed);
}

TKitCustomListBox::~TKitCustomListBox() {
    if (tip_) tip_->ReleaseHandle();
    tip_.reset();
    delete oldEditor_;
    oldEditor_ = nullptr;
    if (editor_) {
        editor_->OnExit = nullptr;
        editor_->OnKeyDown = nullptr;
        delete editor_;
        editor_ = nullptr;
    }
    font3D_->OnChange = nullptr;
}

// ---- Properties ------------------------------------------------------------------------------

void TKitCustomListBox::ApplyListStyle() {
    SetStyle(virtual_ ? lbVirtualOwnerDraw : variableHeight_ ? lbOwnerDrawVariable : lbOwnerDrawFixed);
}

void TKitCustomListBox::Recreate() {
    if (MultiSelect()) hideSelection_ = false;
    cachedTop_ = -20;
    RecreateWnd();
    SetHorizontalExtent();
}

void TKitCustomListBox::SetMultiLine(bool Value) {
    if (multiLine_ == Value) return;
    multiLine_ = Value;
    if (Value) longItemMode_ = limClip;
    Recreate();
}

void TKitCustomListBox::SetTransparent(bool Value) {
    if (transparent_ == Value) return;
    transparent_ = Value;
    TControlStyle s = ControlStyle();
    if (Value) s.Exclude(csOpaque); else s.Include(csOpaque);
    SetControlStyle(s);
    Recreate();
}

void TKitCustomListBox::SetVerticalScrollBar(bool Value) {
    if (verticalScrollBar_ == Value) return;
    verticalScrollBar_ = Value;
    Recreate();
}

void TKitCustomListBox::SetFlat(bool Value) {
    if (flat_ == Value) return;
    flat_ = Value;
    Recreate();
}

void TKitCustomListBox::SetHideFocus(bool Value) {
    if (hideFocus_ == Value) return;
    hideFocus_ = Value;
    Invalidate();
}

void TKitCustomListBox::SetHorzGridLine(bool Value) {
    if (horzGridLine_ == Value) return;
    horzGridLine_ = Value;
    Invalidate();
}

void TKitCustomListBox::SetDisabledColor(gdi::TColor Value) {
    if (disabledColor_ == Value) return;
    disabledColor_ = Value;
    Invalidate();
}

void TKitCustomListBox::SetSelectedColor(gdi::TColor Value) {
    if (selectedColor_ == Value) return;
    selectedColor_ = Value;
    if (!Designing()) Invalidate();
}

void TKitCustomListBox::SetSelectedFontColor(gdi::TColor Value) {
    if (selectedFontColor_ == Value) return;
    selectedFontColor_ = Value;
    if (!Designing()) Invalidate();
}

void TKitCustomListBox::SetSelectedFontStyle(gdi::TFontStyles Value) {
    if (selectedFontStyle_ == Value) return;
    selectedFontStyle_ = Value;
    if (!Designing()) Invalidate();
}

void TKitCustomListBox::SetHorzGridColor(gdi::TColor Value) {
    if (horzGridColor_ == Value) return;
    horzGridColor_ = Value;
    Invalidate();
}

void TKitCustomListBox::SetHorzGridStyle(gdi::TPenStyle Value) {
    if (horzGridStyle_ == Value) return;
    horzGridStyle_ = Value;
    Invalidate();
}

void TKitCustomListBox::SetHideSelection(bool Value) {
    if (hideSelection_ == Value) return;
    if (Value && MultiSelect()) return;
    hideSelection_ = Value;
    Invalidate();
}

void TKitCustomListBox::SetCtlXP(bool Value) {
    if (ctlXP_ == Value) return;
    ctlXP_ = Value;
    ThemeChanged();
}

void TKitCustomListBox::SetLongItemMode(std::uint8_t Value) {
    if (longItemMode_ == Value) return;
    longItemMode_ = Value;
    if (Value == limScrollBar) RecalcWidest();
    Recreate();
}

void TKitCustomListBox::SetMargin(std::uint8_t Value) {
    if (margin_ == Value) return;
    margin_ = Value;
    Repaint();
}

void TKitCustomListBox::SetVirtualList(bool Value) {
    if (virtual_ == Value) return;
    virtual_ = Value;
    ApplyListStyle();
    Recreate();
}

void TKitCustomListBox::SetVariableHeight(bool Value) {
    if (variableHeight_ == Value) return;
    variableHeight_ = Value;
    ApplyListStyle();
    Recreate();
}

bool TKitCustomListBox::UseThemes() const {
    return KitThemeLibraryLoaded && KitThemesActive() && KitApplication->ThemesEnabled() && ctlXP_;
}

bool TKitCustomListBox::TransparentBackground() {
    if (!transparent_) return false;
    if (auto* p = dynamic_cast<TKitCustomControl*>(Parent())) return p->HasBackBitmap();
    const int i = KitFindComponentIndex(Owner(), rtl::TComponentClass::Of<TKitFormShape>());
    if (i < 0) return false;
    auto* shape = dynamic_cast<TKitFormShape*>(Owner()->Components(i));
    return shape && shape->HasBackground();
}

void TKitCustomListBox::CopyParentBackground(const TRect& Rect) {
    const int b = KitControlBorderWidth(ctl3D_, BorderStyle(), UseThemes());
    const gdi::TPoint at{Left() + Rect.Left + b, Top() + Rect.Top + b};
    gdi::TBitmap* back = nullptr;
    gdi::TPoint src = at;
    if (auto* p = dynamic_cast<TKitCustomControl*>(Parent())) {
        back = p->GetBackBitmap();
        p->BackMapPoint(at, src);
    } else {
        const int i = KitFindComponentIndex(Owner(), rtl::TComponentClass::Of<TKitFormShape>());
        if (i < 0) return;
        auto* shape = dynamic_cast<TKitFormShape*>(Owner()->Components(i));
        if (!shape) return;
        back = shape->BackgroundBitmap();
        src = shape->MapPoint(at);
    }
    if (!back) return;
    Canvas()->CopyRect(Rect, *back->Canvas(),
                       gdi::Rect(src.X, src.Y, src.X + Rect.Right - Rect.Left, src.Y + Rect.Bottom - Rect.Top));
}

void TKitCustomListBox::SetHorizontalExtent() {
    if (longItemMode_ == limScrollBar && !multiLine_) SetHorizontalExtent(widest_);
}

void TKitCustomListBox::RecalcWidest() {
    widest_ = 0;
    for (int i = 0; i < Count(); ++i) widest_ = std::max(widest_, ItemTextWidth(i));
    SetHorizontalExtent();
}

void TKitCustomListBox::RecalcItemHeights() {
    if (VariableHeight())
        for (int i = 0; i < Count(); ++i) {
            int h = ItemHeight();
            MeasureItem(i, h);
            Perform(LB_SETITEMHEIGHT, static_cast<WPARAM>(i), h);
        }
    int sum = 0;
    for (int i = TopIndex(); i < Count(); ++i) sum += static_cast<int>(Perform(LB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0));
    const bool show = sum >= Height();
    if (show != verticalScrollBar_) {
        verticalScrollBar_ = show;
        Recreate();
    }
    Invalidate();
}

// ---- Virtual operations ----------------------------------------------------------------------

void TKitCustomListBox::ItemsChanged() { Invalidate(); }

int TKitCustomListBox::ItemTextWidth(int Index) {
    TRect r{};
    KitCalcTextRect(*Canvas(), GetItemText(Index), font3D_.get(), r, *Font(), false, false, 0,
                    gdi::DT_EXPANDTABS);
    return r.Right + 4;
}

bool TKitCustomListBox::CanEdit() { return !virtual_; }

TRect TKitCustomListBox::GetItemRect(int Index) { return ItemRect(Index); }

std::string TKitCustomListBox::GetItemText(int Index) {
    if (Index < 0 || Index >= Count()) return std::string();
    return Items()->Get(Index);
}

void TKitCustomListBox::ThemeChanged() { Recreate(); }

void TKitCustomListBox::Select() {
    if (OnSelect) OnSelect(this);
}

void TKitCustomListBox::DeleteSelected() {
    if (!MultiSelect()) {
        const int i = ItemIndex();
        if (i == -1) return;
        Items()->Delete(i);
        if (Count() > 0) SetItemIndex(std::min(i, Count() - 1));
        return;
    }
    Items()->BeginUpdate();
    for (int i = Count() - 1; i >= 0; --i)
        if (Selected(i)) Items()->Delete(i);
    Items()->EndUpdate();
}

// ---- Window style ----------------------------------------------------------------------------

void TKitCustomListBox::CreateParams(TCreateParams& Params) {
    TCustomListBox::CreateParams(Params);
    cachedTop_ = -20;
    if (longItemMode_ == limScrollBar) Params.Style |= WS_HSCROLL;
    else Params.Style &= ~WS_HSCROLL;
    if (!verticalScrollBar_) Params.Style &= ~WS_VSCROLL;
    if (UseThemes() && NewStyleControls && ctl3D_ && BorderStyle() == bsSingle) {
        Params.Style |= WS_BORDER;
        Params.ExStyle &= ~WS_EX_CLIENTEDGE;
    }
}

// ---- Drawing ---------------------------------------------------------------------------------

void TKitCustomListBox::DrawItemStruct(TDrawItemStruct& Dis) {
    gdi::TCanvas& c = *Canvas();
    bool noFocus;
    gdi::TColor selColor;
    if (Enabled()) {
        noFocus = hideFocus_;
        selColor = hideSelection_ && !MultiSelect() && !Focused() ? gdi::clNone : selectedColor_;
    } else {
        c.Brush()->SetColor(disabledColor_);
        selColor = gdi::clNone;
        noFocus = true;
    }
    if (Count() == 0) Dis.itemID = -1;
    const bool selColored = (Dis.itemState & ODS_SELECTED) && selColor != gdi::clNone;
    auto takeSelection = [&] {
        c.Brush()->SetColor(selectedColor_);
        c.Font()->SetColor(selectedFontColor_);
        c.Font()->SetStyle(selectedFontStyle_);
    };
    TRect r = Dis.rcItem;
    if (TransparentBackground()) {
        if (Dis.itemID >= 0 && Dis.itemID == Count() - 1) {
            TRect down = r;
            down.Bottom = ClientHeight();
            CopyParentBackground(down);
        } else if (!selColored) {
            CopyParentBackground(r);
        }
        if (selColored) {
            takeSelection();
            c.FillRect(r);
        }
    } else {
        if (selColored) takeSelection();
        c.FillRect(r);
    }
    if (Dis.itemID >= 0 && Dis.itemID < Count()) {
        if (widest_ > Width()) r.Right = widest_ + 2 * margin_;
        DrawItem(Dis.itemID, r, Dis.itemState);
    }
    if (horzGridLine_) {
        c.Brush()->SetStyle(gdi::bsClear);
        c.Pen()->SetWidth(1);
        c.Pen()->SetStyle(horzGridStyle_);
        c.Pen()->SetColor(horzGridColor_);
        c.MoveTo(r.Left, r.Bottom - 1);
        c.LineTo(r.Right, r.Bottom - 1);
    }
    if ((Dis.itemState & ODS_FOCUS) && !noFocus) {
        if (r.IsEmpty()) r.Bottom = r.Top + ItemHeight();
        gdi::DrawFocusRect(c, r);
    }
}

void TKitCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
    TRect r = gdi::Rect(Rect.Left + margin_, Rect.Top, Rect.Right - margin_, Rect.Bottom - 1);
    if (OnDrawItem) {
        OnDrawItem(this, Index, r, State);
        return;
    }
    unsigned format = gdi::DT_NOPREFIX | gdi::DT_VCENTER;
    format |= multiLine_ ? gdi::DT_WORDBREAK : gdi::DT_SINGLELINE;
    if (longItemMode_ == limEndEllipsis) format |= gdi::DT_END_ELLIPSIS;
    else if (longItemMode_ == limPathEllipsis) format |= gdi::DT_PATH_ELLIPSIS;
    KitDrawFxText(*Canvas(), GetItemText(Index), font3D_.get(), r, format, Enabled() ? kftEnabled : 1, nullptr);
}

void TKitCustomListBox::MeasureItem(int Index, int& Height) {
    TCustomListBox::MeasureItem(Index, Height);
    if (Index < 0 || Index >= Count() || !variableHeight_) return;
    TRect r{};
    if (multiLine_) {
        r = gdi::Rect(0, 0, ClientWidth(), 0);
        KitCalcTextRectTemp(GetItemText(Index), font3D_.get(), r, *Font(), true, false, 0,
                            gdi::DT_WORDBREAK | gdi::DT_EXPANDTABS);
    } else {
        KitCalcTextRectTemp("Wq", font3D_.get(), r, *Font(), false, false, 0, gdi::DT_EXPANDTABS);
    }
    if (Height < r.Bottom) Height = r.Bottom + 1;
}

void TKitCustomListBox::DrawFrame() {
    if (BorderStyle() != bsSingle) return;
    gdi::TCanvas& c = *WindowCanvas();
    const TRect R = gdi::Rect(0, 0, Width(), Height());
    if (UseThemes()) {
        gdi::TClipKeeper keep(c);
        c.SetClipRect(R);
        c.ExcludeClipRect(gdi::Rect(1, 1, Width() - 1, Height() - 1));
        int state = 1;
        if (Focused()) state = 5;
        if (mouseInside_) state = 2;
        if (!Enabled()) state = 4;
        if (KitThemeFunctions.OpenThemeData && KitThemeFunctions.DrawThemeBackground) {
            HTHEME t = KitThemeFunctions.OpenThemeData(Widget(), "EDIT");
            KitThemeFunctions.DrawThemeBackground(t, &c, 1, state, R, nullptr);
            if (KitThemeFunctions.CloseThemeData) KitThemeFunctions.CloseThemeData(t);
        }
        return;
    }
    if (Focused() || mouseInside_) {
        TRect r = R;
        KitDrawBorder(c, r, lsLoweredExt, 0);
        return;
    }
    if (TransparentBackground()) {
        // The frame ring shows the parent's background.
        const int b = KitControlBorderWidth(ctl3D_, BorderStyle(), UseThemes());
        auto* p = dynamic_cast<TKitCustomControl*>(Parent());
        gdi::TBitmap* back = p ? p->GetBackBitmap() : nullptr;
        if (back) {
            gdi::TClipKeeper keep(c);
            c.SetClipRect(R);
            c.ExcludeClipRect(Inflated(R, -b));
            gdi::TPoint src;
            p->BackMapPoint({Left(), Top()}, src);
            c.CopyRect(R, *back->Canvas(), gdi::Rect(src.X, src.Y, src.X + Width(), src.Y + Height()));
        }
        return;
    }
    const gdi::TBrushStyle bs = c.Brush()->Style();
    c.Brush()->SetStyle(gdi::bsClear);
    c.Pen()->SetWidth(3);
    c.Pen()->SetStyle(gdi::psSolid);
    c.Pen()->SetColor(Enabled() ? Color() : disabledColor_);
    c.Rectangle(R);
    c.Pen()->SetWidth(1);
    c.Brush()->SetStyle(bs);
}

// ---- Messages --------------------------------------------------------------------------------

void TKitCustomListBox::WndProc(TMessage& m) {
    if (longItemMode_ == limScrollBar) {
        switch (m.Msg) {
        case LB_ADDSTRING:
        case LB_INSERTSTRING:
            TCustomListBox::WndProc(m);
            if (m.Result >= 0) {
                widest_ = std::max(widest_, ItemTextWidth(static_cast<int>(m.Result)));
                SetHorizontalExtent();
            }
            return;
        case LB_DELETESTRING: {
            const int i = static_cast<int>(m.WParam);
            if (i >= 0 && i < Count() && ItemTextWidth(i) < widest_) {
                TCustomListBox::WndProc(m);
                return;
            }
            Perform(WM_HSCROLL, SB_LEFT, 0);
            TCustomListBox::WndProc(m);
            RecalcWidest();
            return;
        }
        case LB_RESETCONTENT:
            widest_ = 0;
            SetHorizontalExtent();
            Perform(WM_HSCROLL, SB_LEFT, 0);
            TCustomListBox::WndProc(m);
            return;
        case CM_FONTCHANGED:
            TCustomListBox::WndProc(m);
            RecalcWidest();
            return;
        default: break;
        }
    }
    switch (m.Msg) {
    case CN_DRAWITEM:
        if (auto* dis = reinterpret_cast<TDrawItemStruct*>(m.LParam)) DrawItemStruct(*dis);
        m.Result = 1;
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TCustomListBox::WndProc(m);
        mouseInside_ = m.Msg == CM_MOUSEENTER;
        if (!mouseInside_) {
            // A tip shown under the mouse makes the window system report a leave; the mouse
            // is still over the list then.
            const gdi::TPoint p = ScreenToClient(GetCursorPos());
            if (tip_ && tip_->Active() && p.X >= 0 && p.Y >= 0 && p.X < Width() && p.Y < Height()) {
                mouseInside_ = true;
                return;
            }
            HideTip();
        }
        if (flat_ && !Focused() && !UseThemes()) DrawFrame();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomListBox::WndProc(m);
        if (flat_ && !mouseInside_ && !UseThemes()) DrawFrame();
        if (m.Msg == WM_KILLFOCUS && MultiSelect() && hideSelection_) Invalidate();
        return;
    case WM_NCPAINT:
        TCustomListBox::WndProc(m);
        if (UseThemes() && ctl3D_ && !flat_) DrawFrame();
        return;
    case WM_PAINT:
        if (TransparentBackground()) {
            Perform(LB_GETTOPINDEX, 0, 0);
            TCustomListBox::WndProc(m);
            if (Count() == 0) CopyParentBackground(gdi::Rect(0, 0, ClientWidth(), ClientHeight()));
        } else {
            TCustomListBox::WndProc(m);
        }
        if (flat_) DrawFrame();
        return;
    case WM_ERASEBKGND:
        if (TransparentBackground()) {
            CopyParentBackground(gdi::Rect(0, 0, ClientWidth(), ClientHeight()));
            m.Result = 1;
            return;
        }
        TCustomListBox::WndProc(m);
        return;
    case LB_GETTOPINDEX:
        TCustomListBox::WndProc(m);
        if (TransparentBackground() && m.Result != cachedTop_) {
            cachedTop_ = static_cast<int>(m.Result);
            Invalidate();
        }
        return;
    case WM_SIZE:
        TCustomListBox::WndProc(m);
        EndEdit();
        if ((longItemMode_ == limEndEllipsis || longItemMode_ == limPathEllipsis) && !Loading()) Invalidate();
        if (variableHeight_ && multiLine_) RecalcItemHeights();
        return;
    case CM_ENABLEDCHANGED:
        TCustomListBox::WndProc(m);
        HideTip();
        if (disabledColor_ != Color() && !transparent_) Invalidate();
        return;
    case WM_THEMECHANGED:
        TCustomListBox::WndProc(m);
        ThemeChanged();
        return;
    case CM_KITBACKGROUNDCHANGED: ThemeChanged(); return;
    case CM_KITPARENTBACKCHANGED:
        if (!Loading() && !ComponentState().Contains(rtl::csDestroying) && TransparentBackground()) Repaint();
        return;
    case CM_KITCHILDBACKCHANGED:
        if (TransparentBackground()) Repaint();
        return;
    case CN_COMMAND:
        TCustomListBox::WndProc(m);
        if (HiWord(static_cast<LPARAM>(m.WParam)) == LBN_SELCHANGE) Select();
        return;
    case WM_SETCURSOR:
        // Outside the client area the tip goes.
        if (LoWordSigned(m.LParam) != HTCLIENT) HideTip();
        TCustomListBox::WndProc(m);
        return;
    case WM_MOUSEMOVE:
        UpdateTip(LoWordSigned(m.LParam), HiWordSigned(m.LParam));
        TCustomListBox::WndProc(m);
        return;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        HideTip();
        TCustomListBox::WndProc(m);
        return;
    case KM_FREEEDITOR:
        delete oldEditor_;
        oldEditor_ = nullptr;
        return;
    default: TCustomListBox::WndProc(m); return;
    }
}

// ---- Item tip --------------------------------------------------------------------------------

void TKitCustomListBox::HideTip() {
    if (tip_ && tip_->Active()) tip_->ReleaseHandle();
}

// The platform delivers the mouse position with the move that follows the set-cursor message,
// so the tip follows the moves.
void TKitCustomListBox::UpdateTip(int X, int Y) {
    if (Designing() || longItemMode_ != limItemTip || editor_) return;
    if (X < 0 || Y < 0 || X >= ClientWidth() || Y >= ClientHeight()) {
        HideTip();
        return;
    }
    const int i = ItemAtPos({X, Y}, true);
    if (i < 0 || i == ItemIndex() || (MultiSelect() && Selected(i))) {
        HideTip();
        return;
    }
    const TRect r = GetItemRect(i);
    if (ItemTextWidth(i) < r.Right - r.Left) {
        HideTip();
        return;
    }
    const std::string text = GetItemText(i);
    const gdi::TPoint at = ClientToScreen({r.Left, r.Top});
    if (tip_ && tip_->Active() && tip_->Top() == at.Y) {
        if (tip_->Caption() != text) HideTip();
        return;
    }
    if (!tip_) {
        tip_ = std::make_unique<THintWindow>(nullptr);
        tip_->SetColor(gdi::clInfoBk);
    }
    const int maxWidth = Parent() ? Parent()->Width() : Width();
    TRect tr = tip_->CalcHintRect(maxWidth, text);
    tr = gdi::Rect(at.X, at.Y, at.X + tr.Right - tr.Left, at.Y + tr.Bottom - tr.Top);
    tip_->SetCaption(text);
    tip_->ActivateHint(tr, text);
}

// ---- Keys and mouse --------------------------------------------------------------------------

void TKitCustomListBox::KeyDown(unsigned short& Key, TShiftState Shift) {
    HideTip();
    if (Key == VK_INSERT && (editOptions_ & keoInsertKey)) {
        BeginEdit(true, (Shift & ssCtrl) ? ItemIndex() + 1 : ItemIndex());
    } else if (Key == VK_DELETE && (editOptions_ & keoDeleteKey)) {
        DeleteSelected();
    } else if (Key == VK_F2 && (editOptions_ & keoF2Edits)) {
        BeginEdit(false, -1);
    } else {
        TCustomListBox::KeyDown(Key, Shift);
    }
}

void TKitCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomListBox::MouseDown(Button, Shift, X, Y);
    HideTip();
}

// ---- In-place editing ------------------------------------------------------------------------

void TKitCustomListBox::BeginEdit(bool Insert, int Index) {
    HideTip();
    if (!CanEdit()) return;
    EndEdit();
    editor_ = new TKitCustomListBoxEdit(this);
    editor_->SetParent(this);
    editor_->SetVisible(false);
    editor_->SetWordWrap(false);  // one item: one line that scrolls
    if (editOptions_ & keoNo3DEditor) editor_->Ctl3D = false;
    SetInPlaceMemoLook(*editor_, editor_->Ctl3D);
    if (OnBeginEdit) {
        bool cancel = false;
        OnBeginEdit(this, ItemIndex(), cancel);
        if (cancel) {
            delete editor_;
            editor_ = nullptr;
            return;
        }
    }
    if (Insert) {
        if (Index >= 0 && Index < Count() && !Sorted()) {
            editIndex_ = Index;
            Items()->Insert(Index, std::string());
        } else {
            editIndex_ = Items()->Add(std::string());
        }
    } else {
        editIndex_ = ItemIndex();
    }
    SetItemIndex(-1);
    if (MultiSelect()) ClearSelection();
    editor_->OnExit = [this](rtl::TObject*) { EndEdit(); };
    editor_->OnKeyDown = [this](rtl::TObject* s, unsigned short& k, TShiftState sh) { EditorKeyDown(s, k, sh); };
    if (Insert) editor_->Tag = editIndex_ + 255;
    if (editIndex_ > -1) {
        editor_->SetText(Items()->Get(editIndex_));
        const TRect r = ItemRect(editIndex_);
        if (r.Top < 0 || r.Top >= ClientHeight() || r.Left < 0 || r.Left >= ClientWidth()) SetTopIndex(editIndex_);
    }
    const TRect r = GetItemRect(editIndex_);
    int h = r.Bottom - r.Top + 1;
    if (OnEditHeight) OnEditHeight(this, editIndex_, h);
    editor_->SetBounds(r.Left, r.Top - 1, r.Right, h);
    editor_->SetVisible(true);
    if (editor_->CanFocus()) editor_->SetFocus();
}

void TKitCustomListBox::EditorKeyDown(rtl::TObject*, unsigned short& Key, TShiftState) {
    if (!editor_) return;
    if (Key == VK_TAB) {
        Key = 0;
        return;
    }
    if (Key == VK_RETURN) {
        const std::string text = editor_->Text();
        if (Sorted()) {
            if (Count() > 0 && editIndex_ >= 0 && editIndex_ < Count()) Items()->Delete(editIndex_);
            editIndex_ = Items()->Add(text);
            const TRect r = ItemRect(editIndex_);
            if (r.Top < 0 || r.Bottom > ClientHeight()) SetTopIndex(editIndex_);
        } else if (editIndex_ == -1) {
            editIndex_ = Items()->Add(text);
        } else {
            Items()->Put(editIndex_, text);
        }
        if (OnEditAccepted) OnEditAccepted(this, editIndex_);
        EndEdit();
        Key = 0;
        return;
    }
    if (Key == VK_ESCAPE) {
        // An item inserted for this edit goes again; EndEdit then selects the item now at the
        // edit index (the edited item itself after F2).
        if (editor_->Tag >= 255 && editor_->Tag - 255 < Count()) Items()->Delete(editor_->Tag - 255);
        EndEdit();
        Key = 0;
    }
}

void TKitCustomListBox::EndEdit() {
    if (editor_) {
        editor_->OnExit = nullptr;
        editor_->OnKeyDown = nullptr;
        editor_->SetVisible(false);
        // The editor may be inside its own key handler: it is freed once that has returned.
        delete oldEditor_;
        oldEditor_ = editor_;
        editor_ = nullptr;
        PostMessage(this, KM_FREEEDITOR);
        if (OnEndEdit) OnEndEdit(this);
        if (editIndex_ != -1 && editIndex_ < Count()) {
            if (MultiSelect()) SetSelected(editIndex_, true);
            else SetItemIndex(editIndex_);
        }
        editIndex_ = -1;
        if (CanFocus()) SetFocus();
    }
}

}  // namespace kit
