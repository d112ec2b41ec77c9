// Window shapes: a window's region (the part of the window that is shown and takes input), the
// frame sizes a form is laid out with, and moving a window by its client area.
//
// A window region is given in window coordinates: (0, 0) is the top-left corner of the window's
// outer frame (for a framed form the corner of the window manager's frame, for a frameless form
// and a child window the corner of the client area). Once set successfully the region belongs to
// the window: it is deleted when the next region replaces it or the window goes away.
//
// Moving by the client area: a mouse button pressed on a form's client area (not on a windowed
// child) asks the form with WM_NCHITTEST (screen coordinates). HTCAPTION turns a left press into
// a move of the window, which follows the mouse until the button is released; the press never
// reaches the client area. A right press or release answered with HTCAPTION is sent as
// WM_NCRBUTTONDOWN / WM_NCRBUTTONUP (WParam HTCAPTION, LParam the screen point) instead of the
// client-area message.
#pragma once

#include "platform/gdi/Regions.h"
#include "platform/gui/Controls.h"

namespace gui {

class TCustomForm;

// Replaces the window's region by `region` (nullptr removes it: the whole window shows). On
// success (1) the window owns `region`; 0 for a window without a widget (the caller keeps the
// region then). `redraw` repaints the window.
int SetWindowRgn(TWinControl* window, gdi::HRGN region, bool redraw);
// Copies the window's region into `dest`; the region's kind (SIMPLEREGION, COMPLEXREGION,
// NULLREGION) or RGN_ERROR (0) when the window has no region or dest is not a region.
int GetWindowRgn(TWinControl* window, gdi::HRGN dest);

// The frame a form's bounds are laid out with: the width of its left and right border, the
// height of its bottom border and the caption bar's height above the client area. All 0 for a
// frameless form.
struct TFormFrameMetrics {
    int FrameX = 0, FrameY = 0, Caption = 0;
};
TFormFrameMetrics FormFrameMetrics(const TCustomForm& form);

// Called once by each form: moving by the client area (see above).
void InstallClientAreaDrag(TCustomForm* form);

}  // namespace gui
