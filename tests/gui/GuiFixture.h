// Shared test set-up: a scripted presenter (nothing ever blocks) and a fresh application object.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "tests/support/EventLoop.h"

class GuiFixture : public ::testing::Test {
protected:
    gui::ScriptedPresenter presenter;
    gui::TApplication app;
};

// Waits until the shown window of `w` is on the screen: a window manager maps and exposes a new
// window some time after it is shown, and until then a repaint paints nothing. The paint events
// the exposure brings have run when it returns.
inline bool WaitExposed(QWidget* w) {
    if (!QTest::qWaitForWindowExposed(w->window())) return false;
    QApplication::processEvents();
    return true;
}

// A left click as the window system delivers it: press and release at `p`.
inline void SendClick(QWidget* w, QPoint p) {
    const QPointF global = w->mapToGlobal(QPointF(p));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(p), global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}
inline void SendClick(QWidget* w) { SendClick(w, w->rect().center()); }

// A transparent 20 x 20 picture composed as the splash title composes its letters: SRCAND of a
// white mask, then SRCPAINT of a black image; the pixels below must come through unchanged.
inline void DrawWhiteMaskThenBlackImage(gdi::TCanvas& c) {
    gdi::TBitmap mask(20, 20), image(20, 20);
    mask.Canvas()->Brush()->SetColor(gdi::clWhite);
    mask.Canvas()->FillRect(gdi::Rect(0, 0, 20, 20));
    image.Canvas()->Brush()->SetColor(gdi::clBlack);
    image.Canvas()->FillRect(gdi::Rect(0, 0, 20, 20));
    c.CopyMode = gdi::cmSrcAnd;
    c.Draw(0, 0, mask);
    c.CopyMode = gdi::cmSrcPaint;
    c.Draw(0, 0, image);
}
