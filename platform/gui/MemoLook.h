// The look of a memo laid over one line of another control (an in-place editor): no margin
// around the text and a thin sunken frame, or none.
#pragma once

#include "platform/gui/StdCtrls.h"

namespace gui {

void SetInPlaceMemoLook(TMemo& memo, bool frame3D);

}  // namespace gui
