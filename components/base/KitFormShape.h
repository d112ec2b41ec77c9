// The shaped form as the control bases see it: a component on a form that can supply the
// background picture transparent controls take their background from. This base is the form
// without a shape: no background, no bitmap, points map to themselves. A shaped form overrides
// the three operations.
#pragma once

#include "components/base/kitwndproc.h"
#include "platform/gdi/Graphics.h"

namespace kit {

class TKitFormShape : public TKitWndProcComponent {
public:
    explicit TKitFormShape(rtl::TComponent* AOwner) : TKitWndProcComponent(AOwner) {}

    // Whether a background bitmap is available now.
    virtual bool HasBackground() const { return false; }
    // The background bitmap (owned by the shape), or nullptr.
    virtual gdi::TBitmap* BackgroundBitmap() const { return nullptr; }
    // A point of the form's client area in background-bitmap coordinates.
    virtual gdi::TPoint MapPoint(gdi::TPoint P) const { return P; }
};

}  // namespace kit
