// The mouse position on the screen.
#pragma once

#include "platform/gdi/Graphics.h"

namespace gui {

gdi::TPoint GetCursorPos();

}  // namespace gui
