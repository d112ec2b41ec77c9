#include "platform/gui/MemoLook.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace gui {

void SetInPlaceMemoLook(TMemo& memo, bool frame3D) {
    auto* e = static_cast<QPlainTextEdit*>(memo.Widget());
    e->document()->setDocumentMargin(0);
    if (frame3D) {
        e->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        e->setLineWidth(1);
    } else {
        e->setFrameStyle(QFrame::NoFrame);
    }
}

}  // namespace gui
