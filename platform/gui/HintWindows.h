// The hint window: a small bordered top-level window in the hint colours that shows a text at
// a screen rectangle without taking the focus.
#pragma once

#include <string>

#include "platform/gui/Controls.h"

namespace gui {

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(rtl::TComponent* owner);
    ~THintWindow() override;
    // The window rectangle (origin 0, 0) that shows `hint` wrapped to at most maxWidth pixels.
    virtual gdi::TRect CalcHintRect(int maxWidth, const std::string& hint);
    // Shows `hint` in `rect` (screen coordinates), moved inside the screen.
    virtual void ActivateHint(gdi::TRect rect, const std::string& hint);
    // Hides the window; ActivateHint shows it again.
    void ReleaseHandle();
    // Shown by ActivateHint and not released since.
    bool Active() const { return active_; }
    bool Showing() const override { return Visible() && active_; }

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    // A top-level window: the bounds are screen coordinates.
    void ApplyBounds() override;
    void ApplyVisible() override;

private:
    bool active_ = false;
};

// Hides the application's hint, the tip shown for a control's Hint under the mouse; nothing
// when none shows.
void HideApplicationHint();

}  // namespace gui
