// A windowless control that is transparent by default and takes its background from a parent
// that supplies a background bitmap (a panel, or a form with a shape). An opaque one repaints
// at once on a content change; a transparent one lets the parent repaint the area first.
#pragma once

#include "components/controls/KitBaseControl.h"

namespace kit {

class TKitBaseGraphicControl : public TKitBaseControl {
public:
    explicit TKitBaseGraphicControl(rtl::TComponent* AOwner);

    bool Transparent() const { return transparent_; }
    // csOpaque follows the opposite of the value; a change tells the control itself
    // (CM_KITTRANSPARENTCHANGED), which repaints it when visible.
    void SetTransparent(bool Value);
    // Transparent: Invalidate. Opaque: Paint now on the control's canvas.
    void RepaintOrInvalidate();

    void ContentChanged(rtl::TObject* Sender) override;
    bool ParentHasBackBitmap() override;

protected:
    // The design-time outline only; descendants paint their content and call it.
    void Paint() override;
    void WndProc(gui::TMessage& Message) override;

private:
    bool transparent_ = true;
};

}  // namespace kit
