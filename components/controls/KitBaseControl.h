// A windowless control with a reference to an image container (an image addressed by list and
// image index) and a background-effect object.
#pragma once

#include <memory>

#include "components/base/kitbmp.h"
#include "components/base/kitcont.h"
#include "components/controls/KitControl.h"

namespace kit {

class TKitBaseControl : public TKitControl {
public:
    explicit TKitBaseControl(rtl::TComponent* AOwner);
    ~TKitBaseControl() override;

    TKitCustomImageList* ImageList() const { return imageList_; }
    // Nil is allowed.
    void SetImageList(TKitCustomImageList* Value);
    // Index 0 ImageIndex, 1 ListIndex; negative and unchanged values are ignored.
    void SetIndex(int Index, int Value);
    int ImageIndex() const { return imageIndex_; }
    int ListIndex() const { return listIndex_; }
    void SetImageIndex(int Value) { SetIndex(0, Value); }
    void SetListIndex(int Value) { SetIndex(1, Value); }
    // No list, or no image at (ListIndex, ImageIndex).
    bool ImageEmpty();

    TKitBitmapEffectObject* BackFX() const { return backFX_.get(); }
    void SetBackFX(const TKitBitmapEffectObject* Value) { backFX_->Assign(Value); }

    // Both corners in screen coordinates.
    gdi::TRect ClientRectToScreen(const gdi::TRect& Rect) const;

    // Whether the parent supplies a background bitmap for this control (never here).
    virtual bool ParentHasBackBitmap() { return false; }

protected:
    virtual void ImageListChange(rtl::TObject* Sender);

    void WndProc(gui::TMessage& Message) override;
    void Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) override;
    void DefineProperties(rtl::TFiler* Filer) override;

private:
    TKitCustomImageList* imageList_ = nullptr;
    int imageIndex_ = 0;
    int listIndex_ = 0;
    std::unique_ptr<TKitChangeLink> changeLink_;
    std::unique_ptr<TKitBitmapEffectObject> backFX_;
};

}  // namespace kit
