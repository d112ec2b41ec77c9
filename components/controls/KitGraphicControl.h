// A windowless control framed by its own bevel: the base of the technical line and of the
// graphic label. Every bevel change repaints it.
#pragma once

#include <memory>

#include "components/controls/KitBaseGraphicControl.h"
#include "components/controls/KitBevel.h"

namespace kit {

class TKitGraphicControl : public TKitBaseGraphicControl {
public:
    explicit TKitGraphicControl(rtl::TComponent* AOwner);
    ~TKitGraphicControl() override;

    TKitBevel* Bevel() const { return bevel_.get(); }
    // Copies Value into the owned bevel, then tells the control (CM_KITBEVELCHANGED).
    void SetBevel(const TKitBevel* Value);
    int GetBevelExtent() const { return bevel_->BevelExtent(); }
    // Both sides together.
    int GetBevelSpace() const { return 2 * GetBevelExtent(); }

protected:
    // The bevel as the frame; only the design-time outline when there is neither content nor
    // bevel. Descendants draw their content after it.
    void Paint() override;

private:
    std::unique_ptr<TKitBevel> bevel_;
};

}  // namespace kit
