// Base of the library's windowless controls: mouse enter and exit events (only while enabled),
// a bounds-change event, themed-drawing and background notifications, and ContentChanged, the
// common refresh call that owned property objects notify.
#pragma once

#include <cstdint>
#include <functional>

#include "components/base/KitMessages.h"
#include "components/base/kitcomponent.h"
#include "platform/gui/Controls.h"
#include "platform/rtl/Sets.h"

namespace kit {

// bcSized (bit value 1): Width or Height changed; bcMoved (bit value 2): Left or Top changed.
enum TKitBoundsChange : std::uint8_t { bcSized, bcMoved };
using TKitBoundsChanges = rtl::TSet<TKitBoundsChange, std::uint8_t>;
using TKitBoundsChangeEvent = std::function<void(rtl::TObject* Sender, TKitBoundsChanges Changes)>;

class TKitControl : public gui::TGraphicControl {
public:
    explicit TKitControl(rtl::TComponent* AOwner) : gui::TGraphicControl(AOwner) {}

    TKitAboutVar About;
    rtl::TNotifyEvent OnMouseEnter;
    rtl::TNotifyEvent OnMouseExit;
    TKitBoundsChangeEvent OnBoundsChange;
    // Allows themed drawing (off unless a descendant turns it on).
    bool CtlXP = false;

    // Fires OnBoundsChange with what changed (not while loading).
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    bool PaintThemed();
    // The dashed outline shown at design time.
    void DrawDesignFrame();
    void FillBackground();

    // The common refresh call and the OnChange target of owned property objects: Invalidate
    // unless loading.
    virtual void ContentChanged(rtl::TObject* Sender);
    // True when the control has nothing of its own to paint besides a bevel.
    virtual bool IsContentEmpty() { return true; }

protected:
    virtual void ParentBackgroundChanged();
    virtual bool ThemedDrawingSupported() { return false; }
    virtual void DoBoundsChange(TKitBoundsChanges Changes);
    virtual void MouseEnter();
    virtual void MouseExit();

    void WndProc(gui::TMessage& Message) override;

    bool Loading() const { return ComponentState().Contains(rtl::csLoading); }
    bool Designing() const { return ComponentState().Contains(rtl::csDesigning); }
};

}  // namespace kit
