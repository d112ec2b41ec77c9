// Painting a form with 200 windowless children (labels, 20 x 10, on the form's surface) and
// moving the mouse across them (routing, hit tests, enter/leave, cursor). Headless.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "platform/gui/StdCtrls.h"

namespace {

struct Window {
    Window() {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        presenter = std::make_unique<gui::ScriptedPresenter>();
        app = std::make_unique<gui::TApplication>();
        app->CreateForm(form);
        form->SetBounds(0, 0, 820, 420);
        for (int i = 0; i < 200; ++i) {
            auto* l = new gui::TLabel(form);
            l->SetParent(form);
            l->SetAutoSize(false);
            l->SetBounds(10 + (i % 20) * 40, 10 + (i / 20) * 40, 36, 30);
            l->SetCaption("L" + std::to_string(i));
            if (i % 2) l->SetColor(gdi::clYellow);
            l->SetCursor(i % 3 ? gui::crHandPoint : gui::crDefault);
        }
        form->Show();
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    }
    std::unique_ptr<gui::ScriptedPresenter> presenter;
    std::unique_ptr<gui::TApplication> app;
    gui::TForm* form = nullptr;
};

Window& TheWindow() {
    static Window w;
    return w;
}

// Invalidates the whole client area and paints it at once: erase, the form's look, 200 labels.
void BM_FullRepaint(benchmark::State& state) {
    Window& w = TheWindow();
    for (auto _ : state) w.form->Repaint();
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

// One mouse move from one label to the next (a leave, an enter and a cursor change each time).
void BM_MouseMoveAcrossChildren(benchmark::State& state) {
    Window& w = TheWindow();
    QWidget* client = w.form->ClientWidget();
    int i = 0;
    for (auto _ : state) {
        const QPointF p(20 + (i % 20) * 40, 20 + ((i / 20) % 10) * 40);
        QMouseEvent e(QEvent::MouseMove, p, client->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(client, &e);
        ++i;
    }
}
BENCHMARK(BM_MouseMoveAcrossChildren)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
