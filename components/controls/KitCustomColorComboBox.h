// Options, display styles and the dialog event shared by the library's colour lists.
#pragma once

#include <functional>

#include "platform/gui/ColorDialogs.h"
#include "platform/rtl/Classes.h"

namespace kit {

enum TKitColorCBOption : unsigned {
    coDefaultColors = 1, coSystemColors = 2, coCustomColors = 4, coAllowAnyColor = 8, coAllowDialog = 16
};
using TKitColorCBOptions = unsigned;  // a set of TKitColorCBOption

// Swatch only, name only, swatch and name, raised swatch and name.
enum TKitColorCBStyle { csColor, csText, csColorText, csColor3DText };

using TKitOnColorDialogEvent = std::function<void(rtl::TObject* Sender, gui::TColorDialog* Dialog)>;

}  // namespace kit
