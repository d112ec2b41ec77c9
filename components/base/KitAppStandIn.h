// STAND-IN for the library's application object: the theme switch, the 8 x 8 pattern bitmap and
// the class library's new-style-controls flag, as the button faces and glyphs read them. When the
// application object exists, these forward to it (KitApplication->ThemesEnabled(),
// KitApplication->GetPatternBitmap(Color)) and this file goes.
#pragma once

#include "platform/gdi/Graphics.h"

namespace kit {

// The theme switch (on) together with an active theme library: True only when the theme library
// was loaded and reports an active theme.
bool KitStandInThemesEnabled();

// An 8 x 8 checkerboard: pixels whose x parity differs from their y parity in color, the others
// white. One bitmap, rebuilt only when the colour changes; it stays owned here.
gdi::TBitmap* KitStandInPatternBitmap(gdi::TColor color);

// The class library here always draws new-style (3-D) controls.
inline constexpr bool KitNewStyleControls = true;

}  // namespace kit
