// A windowed control taken out of its parent window and shown on the desktop as a top-most
// tool window that never takes the activation (a drop-down list under an edit).
#pragma once

#include "platform/gui/Controls.h"

namespace gui {

// Shows Control's window at the screen rectangle (X, Y, Width, Height), above all others and
// without activating it; the focus stays where it is. The control keeps its Parent.
void ShowAsDesktopToolWindow(TWinControl* Control, int X, int Y, int Width, int Height);
// Whether Control's window is such a top-level window and shown.
bool IsDesktopToolWindowShown(const TWinControl* Control);

}  // namespace gui
