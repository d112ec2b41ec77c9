#include "components/base/kitcustomcontrol.h"

#include "components/base/KitXPStyles.h"
#include "components/base/kitapp.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/TaggedStream.h"

namespace kit {

using namespace gdi;
using namespace gui;

TKitCustomControl::TKitCustomControl(rtl::TComponent* AOwner) : TCustomControl(AOwner) {
    changeLink_ = std::make_unique<TKitChangeLink>();
    changeLink_->OnChange = [this](rtl::TObject* s) { ImageListChange(s); };
    backFX_ = std::make_unique<TKitBitmapEffectObject>();
    backFX_->OnChange = [this](rtl::TObject* s) { BackFXChange(s); };
    SetBounds(Left(), Top(), 100, 40);
    SetTabStop(false);
}

TKitCustomControl::~TKitCustomControl() {
    backFX_->OnChange = nullptr;
    changeLink_->OnChange = nullptr;
    backFX_.reset();
    changeLink_.reset();  // leaves its container
}

// ---- Properties ----

void TKitCustomControl::SetTransparent(bool Value) {
    if (transparent_ == Value) return;
    transparent_ = Value;
    TControlStyle style = ControlStyle();
    if (Value) style.Exclude(csOpaque);
    else style.Include(csOpaque);
    SetControlStyle(style);
    RecreateWnd();
}

void TKitCustomControl::SetImageList(TKitCustomImageList* Value) {
    // Through the link: a container being freed has let its links go already.
    if (changeLink_->Sender) changeLink_->Sender->UnRegisterChanges(changeLink_.get());
    imageList_ = Value;
    if (imageList_) {
        imageList_->RegisterChanges(changeLink_.get());
        imageList_->FreeNotification(this);
    }
    ImageListChange(nullptr);
}

void TKitCustomControl::SetIndex(int Index, int Value) {
    int& field = Index == 0 ? imageIndex_ : listIndex_;
    if (Value < 0 || Value == field) return;
    field = Value;
    if (imageList_) ImageListChange(nullptr);
}

void TKitCustomControl::SetFlat(bool Value) {
    if (flat_ == Value) return;
    flat_ = Value;
    FlatChanged();
    if (flat_) DrawFlatFrame();
    else DrawFlatFrameHot();
}

void TKitCustomControl::SetCtlXP(bool Value) {
    if (ctlXP_ == Value) return;
    ctlXP_ = Value;
    BackgroundChanged();
}

// ---- Virtual operations ----

void TKitCustomControl::BackgroundChanged() {
    Invalidate();
    NotifyControls(CM_KITBACKGROUNDCHANGED);
}

bool TKitCustomControl::ThemedTransparent() {
    return transparent_ && KitApplication->ThemesEnabled() && ctlXP_ && !HasBackBitmap();
}

bool TKitCustomControl::TransparentBack() { return transparent_ && HasBackBitmap(); }

void TKitCustomControl::PaintBackground() {
    if (themePainted_) return;
    if (ThemedTransparent() && ThemeParentBackOK()) return;
    TCanvas* c = Canvas();
    if (TransparentBack() && DrawBackBitmap(*c, ClientRect(), {0, 0}, 0)) return;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
}

void TKitCustomControl::BackFXChange(rtl::TObject*) { Invalidate(); }

void TKitCustomControl::ImageListChange(rtl::TObject* Sender) { BackFXChange(Sender); }

void TKitCustomControl::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
    mouseInside_ = true;
}

void TKitCustomControl::MouseExit() {
    mouseInside_ = false;
    if (!focusedFlag_ && flat_) DrawFlatFrame();
    if (OnMouseExit) OnMouseExit(this);
}

bool TKitCustomControl::DrawBackBitmap(TCanvas&, const TRect&, TPoint, unsigned short) { return false; }

HPALETTE TKitCustomControl::GetBackPalette() {
    // Bitmaps on this platform carry no palette of their own: a background bitmap, when there
    // is one, has none to give.
    if (!HasBackBitmap()) return 0;
    auto* parent = dynamic_cast<TKitCustomControl*>(Parent());
    if (!parent || !parent->GetBackBitmap()) return 0;
    return 0;
}

// ---- Frames ----

bool TKitCustomControl::PaintThemed() {
    return ThemedFrameSupported() && KitApplication->ThemesEnabled() && KitThemesActive() && ctlXP_;
}

void TKitCustomControl::GetThemePart(std::string& ClassName, int& Part, int& State) {
    ClassName = "EDIT";
    Part = 1;
    State = 1;
    if (Focused()) State = 5;
    if (mouseInside_) State = 2;
    if (IsReadOnly()) State = 6;
    if (!Enabled()) State = 4;
}

void TKitCustomControl::DrawThemedFrame(TCanvas& Canvas, const TRect& Rect) {
    std::string cls;
    int part = 0, state = 0;
    GetThemePart(cls, part, state);
    const TKitThemeFunctions& f = KitThemeFunctions;
    if (!f.OpenThemeData) return;
    HTHEME theme = f.OpenThemeData(Widget(), cls);
    if (!theme) return;
    if (f.DrawThemeBackground) f.DrawThemeBackground(theme, &Canvas, part, state, Rect, nullptr);
    if (f.CloseThemeData) f.CloseThemeData(theme);
}

void TKitCustomControl::DrawFlatFrame() {
    if (Focused() || !flat_ || mouseInside_) return;
    if (PaintThemed()) {
        DrawThemedFrame(*Canvas(), ClientRect());
        return;
    }
    TCanvas* c = WindowCanvas();
    TRect r = Rect(0, 0, Width(), Height());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FrameRect(r);
    if (ctl3D_) {
        InflateRect(r, -1, -1);
        c->FrameRect(r);
    }
}

void TKitCustomControl::DrawFlatFrameHot() {
    if (PaintThemed()) {
        DrawThemedFrame(*Canvas(), ClientRect());
        return;
    }
    TCanvas* c = WindowCanvas();
    TRect r = Rect(0, 0, Width(), Height());
    c->Brush()->SetStyle(bsSolid);
    if (!ctl3D_) {
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(r);
        return;
    }
    ++r.Left;
    ++r.Top;
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(r);
    --r.Left;
    --r.Top;
    --r.Right;
    --r.Bottom;
    c->Brush()->SetColor(clBtnFace);
    c->FrameRect(r);
    ++r.Right;
    ++r.Bottom;
    DrawEdge(*c, r, BDR_SUNKENINNER, BF_RECT | BF_ADJUST);
}

void TKitCustomControl::FillBackRect(const TRect& Rect) {
    if (PaintThemed()) return;
    TCanvas* c = Canvas();
    if (TransparentBack() && DrawBackBitmap(*c, Rect, {0, 0}, 0)) return;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(Rect);
}

void TKitCustomControl::DrawDesignFrame() {
    TCanvas* c = Canvas();
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetStyle(psDash);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(0, 0, Width(), Height());
}

// ---- Class-library overrides ----

void TKitCustomControl::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    // No redraw-on-resize class styles to drop: a resize repaints only what the size change
    // invalidates.
    Params.Style |= WS_CLIPCHILDREN;
}

void TKitCustomControl::Paint() {
    if (Loading()) return;
    PaintBackground();
    if (!Designing()) DrawFlatFrame();
    else if (DesignFrameNeeded()) DrawDesignFrame();
}

void TKitCustomControl::DoEnter() {
    TCustomControl::DoEnter();
    focusedFlag_ = true;
    if (flat_) DrawFlatFrameHot();
}

void TKitCustomControl::DoExit() {
    focusedFlag_ = false;
    DrawFlatFrame();
    TCustomControl::DoExit();
}

void TKitCustomControl::Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != rtl::TOperation::opRemove) return;
    if (AComponent && AComponent == imageList_) SetImageList(nullptr);
    if (!ComponentState().Contains(rtl::csDestroying) && !Destroying() && backFX_ &&
        AComponent == backFX_->AlphaBlend()->ImageList())
        backFX_->AlphaBlend()->SetImageList(nullptr);
}

void TKitCustomControl::DefineProperties(rtl::TFiler* Filer) {
    TCustomControl::DefineProperties(Filer);
    Filer->DefineProperty(
        "Internal", [this](rtl::TReader& r) { SetImageList(KitReadInternalList(r)); },
        [this](rtl::TWriter& w) { KitWriteInternalList(w, imageList_); }, KitIsInternalList(imageList_));
}

// ---- Messages ----

void TKitCustomControl::WMEraseBkgnd(TMessage& m) {
    themePainted_ = false;
    if (transparent_ && ThemedTransparent() && ThemeParentBackOK()) {
        const auto draw = KitThemeFunctions.DrawThemeParentBackground;
        themePainted_ = draw && draw(Widget(), TWMEraseBkgnd{m}.Canvas(), nullptr) == 0;
        m.Result = 1;
        return;
    }
    if (TransparentBack()) {
        m.Result = 1;  // Paint draws the background
        return;
    }
    TCustomControl::WndProc(m);
}

void TKitCustomControl::ParentBackChanged() {
    backFX_->Invalidate();
    if (TransparentBack()) {
        Repaint();
        NotifyControls(CM_KITPARENTBACKCHANGED);
    } else {
        Invalidate();
    }
}

void TKitCustomControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case CM_KITBACKGROUNDCHANGED: BackgroundChanged(); return;
    default: break;
    }
    std::weak_ptr<void> life = LifeToken();
    TCustomControl::WndProc(m);
    if (life.expired() || Destroying()) return;
    switch (m.Msg) {
    case CM_MOUSEENTER: MouseEnter(); break;
    case CM_MOUSELEAVE: MouseExit(); break;
    case CM_SYSCOLORCHANGE:
        if (!transparent_) Invalidate();
        break;
    case WM_SETFOCUS: gui::PostMessage(this, CM_KITGOTFOCUS); break;
    case WM_KILLFOCUS: gui::PostMessage(this, CM_KITLOSTFOCUS); break;
    case WM_MOVE:
        // A repaint paints the windowless children too.
        if (TransparentBack()) {
            backFX_->Invalidate();
            Repaint();
        }
        break;
    case WM_SIZE:
        backFX_->Invalidate();
        if (TransparentBack()) {
            Repaint();
            NotifyControls(CM_KITPARENTBACKCHANGED);
        } else {
            Invalidate();
        }
        break;
    case WM_THEMECHANGED: BackgroundChanged(); break;
    case CM_KITPARENTBACKCHANGED:
        if (!Loading() && !Destroying()) ParentBackChanged();
        break;
    case CM_KITCHILDBACKCHANGED:
        if (TransparentBack()) NotifyControls(CM_KITPARENTBACKCHANGED);
        break;
    case CM_KITGOTFOCUS:
        if (OnGotFocus) OnGotFocus(this);
        break;
    case CM_KITLOSTFOCUS:
        if (OnLostFocus) OnLostFocus(this);
        break;
    default: break;
    }
}

int KitFindComponentIndex(rtl::TComponent* Form, const rtl::TComponentClass& ComponentClass) {
    if (!Form || !dynamic_cast<TForm*>(Form) || !ComponentClass) return -1;
    for (int i = 0; i < Form->ComponentCount(); ++i)
        if (ComponentClass.IsClassOf(Form->Components(i))) return i;
    return -1;
}

}  // namespace kit
