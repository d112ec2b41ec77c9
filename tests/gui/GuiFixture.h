// Shared test set-up: a scripted presenter (nothing ever blocks) and a fresh application object.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"

class GuiFixture : public ::testing::Test {
protected:
    gui::ScriptedPresenter presenter;
    gui::TApplication app;
};

// Processes events until pred() holds or the deadline passes; returns pred().
template <class Pred>
bool ProcessUntil(Pred pred, int deadlineMs = 3000) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > deadlineMs) return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    }
    return true;
}

// Processes the events for a while (to show that something does NOT happen).
inline void ProcessFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    }
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
