#include "platform/gui/CursorPos.h"

#include <QCursor>

namespace gui {

gdi::TPoint GetCursorPos() {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

}  // namespace gui
