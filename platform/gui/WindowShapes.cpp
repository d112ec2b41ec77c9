// Window regions over widget masks; moving a form by its client area.
#include "platform/gui/WindowShapes.h"

#include <QMouseEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "platform/gui/Forms.h"

namespace gui {

namespace {

// Holds the region a window owns; a child object of the window's widget, so it goes with it.
class RegionHolder : public QObject {
public:
    explicit RegionHolder(QWidget* w) : QObject(w) { setObjectName(QStringLiteral("feldor-window-region")); }
    ~RegionHolder() override { gdi::DeleteObject(region); }
    gdi::HRGN region = nullptr;
};

RegionHolder* HolderOf(QWidget* w, bool create) {
    auto* h = w->findChild<RegionHolder*>(QStringLiteral("feldor-window-region"), Qt::FindDirectChildrenOnly);
    if (!h && create) h = new RegionHolder(w);
    return h;
}

// The widget that carries the window's shape and the offset of window coordinates in it.
QWidget* ShapeWidget(TWinControl* window, QPoint& offset) {
    offset = {};
    if (!window) return nullptr;
    if (auto* form = dynamic_cast<TCustomForm*>(window)) {
        const TFrameExtents e = form->FrameExtents();
        offset = {-e.Left, -e.Top};
    }
    return window->Widget();
}

void ApplyMask(QWidget* w, const QRegion& region) {
    if (region.isEmpty()) {
        // Nothing of the window shows; an empty mask would show all of it.
        w->setMask(QRegion(-2, -2, 1, 1));
    } else {
        w->setMask(region);
    }
}

// The client-area drag of one form: a filter on the form's client widget.
class ClientAreaDrag : public QObject {
public:
    ClientAreaDrag(TCustomForm* form, QWidget* client) : QObject(client), form_(form), client_(client) {
        client->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o != client_ || form_->Destroying()) return false;
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: return Button(static_cast<QMouseEvent*>(e));
        case QEvent::MouseMove: {
            if (!dragging_) return false;
            const QPoint g = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
            const QPoint d = g - pressAt_;
            InvokeHandler(form_, [&] {
                form_->SetBounds(startLeft_ + d.x(), startTop_ + d.y(), form_->Width(), form_->Height());
            });
            return true;
        }
        default: return false;
        }
    }

private:
    LRESULT HitTest(QPoint global, bool& ok) {
        LRESULT hit = HTCLIENT;
        ok = InvokeHandler(form_, [&] { hit = form_->Perform(WM_NCHITTEST, 0, MakeLParam(global.x(), global.y())); });
        return hit;
    }

    bool Button(QMouseEvent* me) {
        const QPoint g = me->globalPosition().toPoint();
        const bool press = me->type() != QEvent::MouseButtonRelease;
        if (me->button() == Qt::LeftButton) {
            if (!press) {
                if (!dragging_) return false;
                dragging_ = false;
                return true;
            }
            bool ok = false;
            if (HitTest(g, ok) != HTCAPTION || !ok) return false;
            if (me->type() == QEvent::MouseButtonDblClick) return true;
            // The window manager moves the window for a press the window system delivered: it
            // follows the pointer and ends at the button's release. A press sent by the program
            // itself has no button held down for it, so the form follows the mouse events here.
            QWindow* win = form_->Widget()->windowHandle();
            if (me->spontaneous() && win && win->startSystemMove()) return true;
            dragging_ = true;
            pressAt_ = g;
            startLeft_ = form_->Left();
            startTop_ = form_->Top();
            return true;
        }
        if (me->button() == Qt::RightButton && me->type() != QEvent::MouseButtonDblClick) {
            bool ok = false;
            if (HitTest(g, ok) != HTCAPTION || !ok) return false;
            const unsigned msg = press ? WM_NCRBUTTONDOWN : WM_NCRBUTTONUP;
            InvokeHandler(form_, [&] { form_->Perform(msg, static_cast<WPARAM>(HTCAPTION), MakeLParam(g.x(), g.y())); });
            return true;
        }
        return false;
    }

    TCustomForm* form_;
    QWidget* client_;
    bool dragging_ = false;
    QPoint pressAt_;
    int startLeft_ = 0, startTop_ = 0;
};

}  // namespace

int SetWindowRgn(TWinControl* window, gdi::HRGN region, bool redraw) {
    QPoint offset;
    QWidget* w = ShapeWidget(window, offset);
    if (!w) return 0;
    RegionHolder* h = HolderOf(w, region != nullptr);
    if (h && h->region != region) {
        gdi::DeleteObject(h->region);
        h->region = region;
    }
    if (region)
        ApplyMask(w, gdi::RegionToQRegion(region).translated(offset));
    else
        w->clearMask();
    if (redraw) window->Invalidate();
    return 1;
}

int GetWindowRgn(TWinControl* window, gdi::HRGN dest) {
    QPoint offset;
    QWidget* w = ShapeWidget(window, offset);
    if (!w) return gdi::RGN_ERROR;
    RegionHolder* h = HolderOf(w, false);
    if (!h || !h->region) return gdi::RGN_ERROR;
    return gdi::CombineRgn(dest, h->region, nullptr, gdi::RGN_COPY);
}

TFormFrameMetrics FormFrameMetrics(const TCustomForm& form) {
    if (form.Frameless()) return {};
    const TFrameExtents e = form.FrameExtents();
    return {e.Left, e.Bottom, std::max(0, e.Top - e.Bottom)};
}

void InstallClientAreaDrag(TCustomForm* form) { new ClientAreaDrag(form, form->ClientWidget()); }

}  // namespace gui
