// Running the Qt event loop from a test until something happens, or for a while.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

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
