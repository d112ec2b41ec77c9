// The colour box: a drop-down list of the sixteen standard colours, each item drawn as a swatch
// with the colour's name; the item's object holds the colour value.
#pragma once

#include "platform/gdi/Graphics.h"
#include "platform/gui/StdCtrls.h"

namespace gui {

class TColorBox : public TComboBox {
public:
    explicit TColorBox(rtl::TComponent* owner);

    // The colour of the chosen item; clBlack when none is chosen.
    gdi::TColor Selected() const;
    // Chooses the item of Value; no item when the list has none.
    void SetSelected(gdi::TColor Value);
    gdi::TColor Colors(int index) const;

protected:
    void DrawItem(int index, gdi::TRect rect, TOwnerDrawState state) override;
};

}  // namespace gui
