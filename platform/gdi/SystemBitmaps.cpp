#include "platform/gdi/SystemBitmaps.h"

#include "platform/gdi/Drawing.h"

namespace gdi {

bool LoadSystemBitmap(int id, TBitmap& target) {
    if (id != OBM_CHECKBOXES) return false;
    const int s = CheckBoxImageSize;
    target.SetSize(4 * s, 3 * s);
    TCanvas& c = *target.Canvas();
    c.Brush()->SetColor(clBtnFace);
    c.FillRect(Rect(0, 0, 4 * s, 3 * s));
    const unsigned kinds[3] = {DFCS_BUTTONCHECK, DFCS_BUTTONRADIO, DFCS_BUTTON3STATE};
    const unsigned states[4] = {0, DFCS_CHECKED, DFCS_PUSHED, DFCS_PUSHED | DFCS_CHECKED};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            DrawFrameControl(c, Bounds(col * s, row * s, s, s), DFC_BUTTON, kinds[row] | states[col]);
    return true;
}

}  // namespace gdi
