#include "components/controls/KitControl.h"

#include "components/base/kitapp.h"

namespace kit {

using namespace gui;

void TKitControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const int oldLeft = Left(), oldTop = Top(), oldWidth = Width(), oldHeight = Height();
    TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    TKitBoundsChanges changes;
    if (Left() != oldLeft || Top() != oldTop) changes.Include(bcMoved);
    if (Width() != oldWidth || Height() != oldHeight) changes.Include(bcSized);
    if (!changes.Empty() && !Loading()) DoBoundsChange(changes);
}

bool TKitControl::PaintThemed() { return ThemedDrawingSupported() && KitApplication->ThemesEnabled() && CtlXP; }

void TKitControl::DrawDesignFrame() {
    gdi::TCanvas* c = Canvas();
    c->Pen()->SetColor(gdi::clBlack);
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(gdi::psDash);
    c->Pen()->SetMode(gdi::pmCopy);
    c->Brush()->SetStyle(gdi::bsClear);
    c->Rectangle(0, 0, Width(), Height());
}

void TKitControl::FillBackground() {
    gdi::TCanvas* c = Canvas();
    c->Brush()->SetStyle(gdi::bsSolid);
    c->Brush()->SetColor(Color());
    c->Pen()->SetStyle(gdi::psClear);
    c->FillRect(ClientRect());
}

void TKitControl::ContentChanged(rtl::TObject*) {
    if (!Loading()) Invalidate();
}

void TKitControl::ParentBackgroundChanged() {
    if (ThemedDrawingSupported()) Invalidate();
}

void TKitControl::DoBoundsChange(TKitBoundsChanges Changes) {
    if (OnBoundsChange) OnBoundsChange(this, Changes);
}

void TKitControl::MouseEnter() {
    if (Enabled() && OnMouseEnter) OnMouseEnter(this);
}

void TKitControl::MouseExit() {
    if (Enabled() && OnMouseExit) OnMouseExit(this);
}

void TKitControl::WndProc(TMessage& m) {
    if (m.Msg == CM_KITBACKGROUNDCHANGED) {
        ParentBackgroundChanged();
        return;
    }
    std::weak_ptr<void> life = LifeToken();
    TGraphicControl::WndProc(m);
    if (life.expired() || Destroying() || Designing()) return;
    if (m.Msg == CM_MOUSEENTER) MouseEnter();
    else if (m.Msg == CM_MOUSELEAVE) MouseExit();
}

}  // namespace kit
