#include "components/controls/KitBaseControl.h"

#include "platform/rtl/TaggedStream.h"

namespace kit {

using namespace gui;

TKitBaseControl::TKitBaseControl(rtl::TComponent* AOwner) : TKitControl(AOwner) {
    changeLink_ = std::make_unique<TKitChangeLink>();
    changeLink_->OnChange = [this](rtl::TObject* s) { ImageListChange(s); };
    backFX_ = std::make_unique<TKitBitmapEffectObject>();
    backFX_->OnChange = [this](rtl::TObject* s) { ContentChanged(s); };
}

TKitBaseControl::~TKitBaseControl() {
    changeLink_->OnChange = nullptr;
    backFX_->OnChange = nullptr;
    backFX_.reset();
    changeLink_.reset();  // leaves its container
}

void TKitBaseControl::SetImageList(TKitCustomImageList* Value) {
    // Through the link: a container being freed has let its links go already.
    if (changeLink_->Sender) changeLink_->Sender->UnRegisterChanges(changeLink_.get());
    imageList_ = Value;
    if (imageList_) {
        imageList_->RegisterChanges(changeLink_.get());
        imageList_->FreeNotification(this);
    }
    ImageListChange(nullptr);
}

void TKitBaseControl::SetIndex(int Index, int Value) {
    int& field = Index == 0 ? imageIndex_ : listIndex_;
    if (Value < 0 || Value == field) return;
    field = Value;
    if (imageList_) ImageListChange(nullptr);
}

bool TKitBaseControl::ImageEmpty() { return !imageList_ || !imageList_->HasImage(listIndex_, imageIndex_); }

gdi::TRect TKitBaseControl::ClientRectToScreen(const gdi::TRect& Rect) const {
    const gdi::TPoint tl = ClientToScreen({Rect.Left, Rect.Top});
    const gdi::TPoint br = ClientToScreen({Rect.Right, Rect.Bottom});
    return gdi::Rect(tl.X, tl.Y, br.X, br.Y);
}

void TKitBaseControl::ImageListChange(rtl::TObject* Sender) { ContentChanged(Sender); }

void TKitBaseControl::WndProc(TMessage& m) {
    std::weak_ptr<void> life = LifeToken();
    TKitControl::WndProc(m);
    if (life.expired() || Destroying()) return;
    if (m.Msg == CM_KITPARENTBACKCHANGED && Visible()) {
        if (!Loading() && ParentHasBackBitmap()) ContentChanged(this);
        backFX_->Invalidate();
    }
}

void TKitBaseControl::Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) {
    TKitControl::Notification(AComponent, Operation);
    if (Operation != rtl::TOperation::opRemove || !AComponent) return;
    if (AComponent == imageList_) SetImageList(nullptr);
    if (!Destroying() && !ComponentState().Contains(rtl::csDestroying) && backFX_ &&
        AComponent == backFX_->AlphaBlend()->ImageList())
        backFX_->AlphaBlend()->SetImageList(nullptr);
}

void TKitBaseControl::DefineProperties(rtl::TFiler* Filer) {
    TKitControl::DefineProperties(Filer);
    Filer->DefineProperty(
        "Internal", [this](rtl::TReader& r) { SetImageList(KitReadInternalList(r)); },
        [this](rtl::TWriter& w) { KitWriteInternalList(w, imageList_); }, KitIsInternalList(imageList_));
}

}  // namespace kit
