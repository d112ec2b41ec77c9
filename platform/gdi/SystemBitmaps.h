// The system's predefined bitmaps.
#pragma once

#include "platform/gdi/Graphics.h"

namespace gdi {

// The classic check-box images: 4 columns by 3 rows of 13 x 13 images (rows: check box, radio
// button, 3-state box; columns: unchecked, checked, pushed, pushed and checked).
inline constexpr int OBM_CHECKBOXES = 32759;
inline constexpr int CheckBoxImageSize = 13;

// Draws the predefined bitmap id into target (resized to fit); False for an unknown id.
bool LoadSystemBitmap(int id, TBitmap& target);

}  // namespace gdi
