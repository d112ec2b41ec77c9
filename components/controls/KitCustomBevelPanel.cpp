#include "components/controls/KitCustomBevelPanel.h"

namespace kit {

using namespace gdi;
using namespace gui;

TKitCustomBevelPanel::TKitCustomBevelPanel(rtl::TComponent* AOwner) : TKitCustomPanel(AOwner) {
    bevel_ = std::make_unique<TKitBevel>();
    bevel_->WindowFrameExternal = true;
    bevel_->OnChange = [this](rtl::TObject* s) { BackFXChange(s); };
}

TKitCustomBevelPanel::~TKitCustomBevelPanel() {
    bevel_->OnChange = nullptr;
    bevel_.reset();
}

void TKitCustomBevelPanel::SetBevel(const TKitBevel* Value) {
    bevel_->Assign(Value);
    Perform(CM_KITBEVELCHANGED);
}

void TKitCustomBevelPanel::AlignControls(TControl* AControl, TRect& Rect) {
    // During construction the bevel does not exist yet.
    if (bevel_) Rect = bevel_->BevelClientRect(Rect);
    TKitCustomPanel::AlignControls(AControl, Rect);
}

void TKitCustomBevelPanel::CreateParams(TCreateParams& Params) {
    TKitCustomPanel::CreateParams(Params);
    if (!bevel_ || bevel_->Mode() != bmWindows) return;
    if (NewStyleControls && Ctl3D()) Params.ExStyle |= WS_EX_CLIENTEDGE;
    else Params.Style |= WS_BORDER;
    if (PaintThemed()) {
        // The theme draws the frame.
        Params.ExStyle &= ~WS_EX_CLIENTEDGE;
        Params.Style &= ~WS_BORDER;
    }
}

void TKitCustomBevelPanel::Paint() {
    PaintBackground();
    if (Designing() && DesignFrameNeeded()) {
        DrawDesignFrame();
        return;
    }
    if (!Designing() && !Focused() && Flat()) {
        DrawFlatFrame();
        return;
    }
    TRect inner;
    bevel_->PaintBevel(*Canvas(), ClientRect(), Transparent(), inner);
}

void TKitCustomBevelPanel::BackFXChange(rtl::TObject* Sender) {
    if (Loading()) return;
    if (bevel_ && Sender == bevel_.get()) {
        bevel_->WindowFrameExternal = true;
        if (bevel_->WindowFrameChanged()) RecreateWnd();
        Realign();
    }
    TKitCustomPanel::BackFXChange(Sender);
}

bool TKitCustomBevelPanel::DesignFrameNeeded() {
    return bevel_->BevelExtent() == 0 && bevel_->Mode() != bmWindows;
}

void TKitCustomBevelPanel::MouseEnter() {
    if (!Focused() && Flat() && !FocusedFlag()) DrawFlatFrameHot();
    TKitCustomPanel::MouseEnter();
}

void TKitCustomBevelPanel::DoEnter() {
    if (!Focused() && Flat()) DrawFlatFrameHot();
    TKitCustomPanel::DoEnter();
}

void TKitCustomBevelPanel::DrawFlatFrameHot() {
    if (bevel_->Mode() == bmWindows) {
        TKitCustomPanel::DrawFlatFrameHot();
        return;
    }
    TRect inner;
    bevel_->PaintBevel(*Canvas(), ClientRect(), true, inner);
}

void TKitCustomBevelPanel::DrawFlatFrame() {
    if (Focused() || !Flat() || MouseInside()) return;
    if (bevel_->Mode() == bmWindows) {
        TKitCustomPanel::DrawFlatFrame();
        return;
    }
    const int e = bevel_->BevelExtent(), f = bevel_->BevelExtentFar();
    const int w = Width(), h = Height();
    FillBackRect(gdi::Rect(0, 0, w, e));
    FillBackRect(gdi::Rect(0, e, e, h));
    FillBackRect(gdi::Rect(e, h - f - 1, w, h));  // one row taller than the bevel
    FillBackRect(gdi::Rect(w - f, e, w, h - f));
}

void TKitCustomBevelPanel::WndProc(TMessage& m) {
    if (m.Msg == CM_CTL3DCHANGED && NewStyleControls && bevel_->Mode() == bmWindows && !PaintThemed())
        RecreateWnd();
    TKitCustomPanel::WndProc(m);
}

}  // namespace kit
