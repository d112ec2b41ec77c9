#include "components/controls/KitBaseGraphicControl.h"

#include "components/base/KitFormShape.h"
#include "components/base/kitcustomcontrol.h"
#include "platform/gui/Forms.h"

namespace kit {

using namespace gui;

TKitBaseGraphicControl::TKitBaseGraphicControl(rtl::TComponent* AOwner) : TKitBaseControl(AOwner) {
    TControlStyle style = ControlStyle();
    style.Exclude(csOpaque);
    style.Include(csReplicatable);
    SetControlStyle(style);
    SetBounds(Left(), Top(), 30, 30);
}

void TKitBaseGraphicControl::SetTransparent(bool Value) {
    if (transparent_ == Value) return;
    TControlStyle style = ControlStyle();
    if (Value) style.Exclude(csOpaque);
    else style.Include(csOpaque);
    SetControlStyle(style);
    transparent_ = Value;
    Perform(CM_KITTRANSPARENTCHANGED);
}

void TKitBaseGraphicControl::RepaintOrInvalidate() {
    if (transparent_) {
        Invalidate();
        return;
    }
    // Painting on the parent's surface needs a parent, and a hidden control must not show.
    if (Parent() && Visible()) Paint();
}

void TKitBaseGraphicControl::ContentChanged(rtl::TObject*) { RepaintOrInvalidate(); }

bool TKitBaseGraphicControl::ParentHasBackBitmap() {
    if (!transparent_) return false;
    TWinControl* parent = Parent();
    if (auto* kit = dynamic_cast<TKitCustomControl*>(parent)) return kit->HasBackBitmap();
    if (dynamic_cast<TCustomForm*>(parent)) {
        rtl::TComponent* form = Owner();
        const int i = KitFindComponentIndex(form, rtl::TComponentClass::Of<TKitFormShape>());
        if (i >= 0) return static_cast<TKitFormShape*>(form->Components(i))->HasBackground();
    }
    return false;
}

void TKitBaseGraphicControl::Paint() {
    if (Designing()) DrawDesignFrame();
}

void TKitBaseGraphicControl::WndProc(TMessage& m) {
    std::weak_ptr<void> life = LifeToken();
    TKitBaseControl::WndProc(m);
    if (life.expired() || Destroying()) return;
    if (m.Msg == CM_KITTRANSPARENTCHANGED && Visible()) RepaintOrInvalidate();
}

}  // namespace kit
