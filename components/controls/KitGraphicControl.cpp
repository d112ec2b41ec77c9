#include "components/controls/KitGraphicControl.h"

namespace kit {

TKitGraphicControl::TKitGraphicControl(rtl::TComponent* AOwner) : TKitBaseGraphicControl(AOwner) {
    bevel_ = std::make_unique<TKitBevel>();
    bevel_->OnChange = [this](rtl::TObject* s) { ContentChanged(s); };
}

TKitGraphicControl::~TKitGraphicControl() {
    bevel_->OnChange = nullptr;
    bevel_.reset();
}

void TKitGraphicControl::SetBevel(const TKitBevel* Value) {
    bevel_->Assign(Value);
    Perform(CM_KITBEVELCHANGED);
}

void TKitGraphicControl::Paint() {
    if (Loading()) return;
    if (IsContentEmpty() && bevel_->BevelExtent() == 0) {
        TKitBaseGraphicControl::Paint();
        return;
    }
    gdi::TRect inner;
    bevel_->PaintBevel(*Canvas(), ClientRect(), Transparent(), inner);
}

}  // namespace kit
