// A control's Width and Height as functions (the edit places its bound label with them).
#pragma once

#include "platform/gui/Controls.h"

namespace kit {

inline int KitGetControlWidth(const gui::TControl* Control) { return Control->Width(); }
inline int KitGetControlHeight(const gui::TControl* Control) { return Control->Height(); }

}  // namespace kit
