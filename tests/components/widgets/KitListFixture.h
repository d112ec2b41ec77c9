// A form with room for one of the library's list boxes, shown offscreen, and a grab of the
// list's window.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include <string>

#include "platform/gui/Forms.h"
#include "platform/gui/ListBoxes.h"
#include "platform/gui/Presenter.h"

class KitListFixture : public ::testing::Test {
protected:
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 360, 300);
        form->Show();
    }
    template <class T>
    T* Make(int w = 121, int h = 100) {
        auto* box = new T(form);
        box->SetParent(form);
        box->SetBounds(10, 10, w, h);
        return box;
    }
    static QImage Grab(gui::TCustomListBox* box) {
        box->Repaint();
        return box->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    static QRgb Rgb(gdi::TColor c) { return gdi::ColorToQColor(c).rgb(); }
    static void Fill(gui::TCustomListBox* box, int n, const std::string& prefix = "Item ") {
        for (int i = 0; i < n; ++i) box->Items()->Add(prefix + std::to_string(i));
    }
    static void Process() {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 20) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    gui::ScriptedPresenter presenter;
    gui::TApplication app;
    gui::TForm* form = nullptr;
};
