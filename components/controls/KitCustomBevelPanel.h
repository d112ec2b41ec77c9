// The panel with an owned bevel as its frame (see KitCustomPanel.h).
#pragma once

#include <memory>

#include "components/controls/KitBevel.h"
#include "components/controls/KitCustomPanel.h"

namespace kit {

class TKitCustomBevelPanel : public TKitCustomPanel {
public:
    explicit TKitCustomBevelPanel(rtl::TComponent* AOwner);
    ~TKitCustomBevelPanel() override;

    TKitBevel* Bevel() const { return bevel_.get(); }
    // Copies Value into the owned bevel, then tells the control (CM_KITBEVELCHANGED).
    void SetBevel(const TKitBevel* Value);

protected:
    void AlignControls(gui::TControl* AControl, gdi::TRect& Rect) override;
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    bool ThemedFrameSupported() override { return false; }
    void BackFXChange(rtl::TObject* Sender) override;
    bool DesignFrameNeeded() override;
    void MouseEnter() override;
    void DoEnter() override;
    void DrawFlatFrame() override;
    void DrawFlatFrameHot() override;
    void WndProc(gui::TMessage& Message) override;

private:
    std::unique_ptr<TKitBevel> bevel_;
};

}  // namespace kit
