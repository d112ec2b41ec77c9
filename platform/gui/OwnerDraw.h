// Owner-drawn items of list and combo boxes: item state and the draw and measure events.
#pragma once

#include <functional>

#include "platform/gdi/Graphics.h"

namespace gui {

class TWinControl;

enum TOwnerDrawStateFlag : unsigned {
    odSelected = 1u << 0, odGrayed = 1u << 1, odDisabled = 1u << 2, odChecked = 1u << 3,
    odFocused = 1u << 4
};
using TOwnerDrawState = unsigned;  // a set of TOwnerDrawStateFlag

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, gdi::TRect Rect,
                                          TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

}  // namespace gui
