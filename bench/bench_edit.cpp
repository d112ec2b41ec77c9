// The library's self-drawn edit on a shown form, focused, holding 1,000 or 100,000 characters of
// proportional text with the cursor at its end (the text scrolled to its end):
//   a click into the text (mouse move, press and release, as the window system sends them),
//   a key press at the end (a typed letter, then Backspace in the next iteration), and
//   a repaint of the edit.
// The figures at 100,000 characters should stay near those at 1,000.
// Then the program's faces (the interface font at 8 points and the 13-pixel face) with a text of
// umlauts, dashes and unit signs, 1,000 and 5,000 characters: repeated clicks, and the first
// click after an edit (a letter typed or deleted where the last click put the cursor). The
// figures at 5,000 characters should stay within twice those at 1,000 plus a millisecond.
// Last, one word without blanks, full of ligatures (fi, ff, ffi, fl), 1,000 and 5,000
// characters: a key press at its end (the whole word is measured again) and a repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <string>

#include "components/base/kitapp.h"
#include "components/controls/KitEdit.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "platform/gui/StdCtrls.h"

namespace {

gui::TApplication* app = nullptr;

struct EditOnForm {
    gui::TForm* form = nullptr;
    kit::TKitEdit* edit = nullptr;

    // fontHeight 0 keeps the edit's default font (the interface font at 8 points).
    explicit EditOnForm(int length, int fontHeight = 0,
                        const std::string& words = "Wellenwiderstand 50 Ohm, Verkürzungsfaktor 0,66; Dämpfung je 100 m: ") {
        app->CreateForm(form);
        form->SetBounds(0, 0, 400, 120);
        form->Show();
        edit = new kit::TKitEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 200, 24);
        if (fontHeight != 0) edit->Font()->SetHeight(fontHeight);
        std::string text;
        for (int n = 0; n < length;) {
            for (char c : words) {
                if (n == length) break;
                text += c;
                if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
            }
        }
        // The loop above counts a two-byte letter once, at its first byte.
        edit->SetText(text);
        QApplication::setActiveWindow(form->Widget());
        edit->SetFocus();
        for (int i = 0; i < 50 && !edit->Focused(); ++i) QCoreApplication::processEvents();
        Key(Qt::Key_End);
    }
    ~EditOnForm() { form->Hide(); }

    void Key(Qt::Key k, const QString& text = QString()) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
        QApplication::sendEvent(edit->Widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
        QApplication::sendEvent(edit->Widget(), &release);
    }
    void Click(int clientX) {
        const int b = edit->BorderExtent();
        const QPointF p(clientX + b, 8 + b);
        const QPointF g = edit->Widget()->mapToGlobal(p);
        QMouseEvent move(QEvent::MouseMove, p, g, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(edit->Widget(), &move);
        QMouseEvent press(QEvent::MouseButtonPress, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(edit->Widget(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(edit->Widget(), &release);
    }
};

// Clicks at a third and at two thirds of the text area in turn; Between runs untimed before
// each click.
template <class F>
void ClickInTurn(benchmark::State& state, EditOnForm& e, F Between) {
    const gdi::TRect tr = e.edit->TextRect();
    const int xs[2] = {tr.Left + (tr.Right - tr.Left) / 3, tr.Left + 2 * (tr.Right - tr.Left) / 3};
    int k = 0;
    for (auto _ : state) {
        Between();
        e.Click(xs[k]);
        k ^= 1;
        benchmark::DoNotOptimize(e.edit->CursorPos());
    }
    state.counters["chars"] = e.edit->TextLength();
}

void BM_EditClick(benchmark::State& state) {
    EditOnForm e(static_cast<int>(state.range(0)));
    ClickInTurn(state, e, [] {});
    state.counters["scrolled"] = e.edit->ScrollOffset();
}

void BM_EditKey(benchmark::State& state) {
    EditOnForm e(static_cast<int>(state.range(0)));
    bool typed = false;
    for (auto _ : state) {
        if (typed) e.Key(Qt::Key_Backspace);
        else e.Key(Qt::Key_unknown, QStringLiteral("x"));
        typed = !typed;
        benchmark::DoNotOptimize(e.edit->CursorPos());
    }
    state.counters["chars"] = e.edit->TextLength();
    state.counters["scrolled"] = e.edit->ScrollOffset();
}

void BM_EditRepaint(benchmark::State& state) {
    EditOnForm e(static_cast<int>(state.range(0)));
    // Drawn as an expose of the window draws it.
    QImage target(e.edit->Widget()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        e.edit->Invalidate();
        e.edit->Widget()->render(&target);
    }
    state.counters["chars"] = e.edit->TextLength();
}

// The program's faces: the interface font at 8 points and the 13-pixel face.
constexpr int FaceHeights[2] = {0, -13};
const std::string MixedWords = "Verkürzungsfaktor 0,66 – Wellenwiderstand 50 Ω, Dämpfung je 100 m: 0,8 dB; "
                               "Übergangswiderstand 12 µΩ, Größe ÄÖÜ äöü ß; ";

void BM_EditClickFace(benchmark::State& state) {
    EditOnForm e(static_cast<int>(state.range(0)), FaceHeights[state.range(1)], MixedWords);
    ClickInTurn(state, e, [] {});
}

void BM_EditFirstClickAfterEdit(benchmark::State& state) {
    EditOnForm e(static_cast<int>(state.range(0)), FaceHeights[state.range(1)], MixedWords);
    bool typed = false;
    ClickInTurn(state, e, [&] {
        state.PauseTiming();
        if (typed) e.Key(Qt::Key_Backspace);
        else e.Key(Qt::Key_unknown, QStringLiteral("ö"));
        typed = !typed;
        state.ResumeTiming();
    });
}

const std::string LongWord = "Schiffsoffizierflaggenstofffilterauflage";

void BM_EditKeyLongWord(benchmark::State& state) {
    EditOnForm e(static_cast<int>(state.range(0)), 0, LongWord);
    bool typed = false;
    for (auto _ : state) {
        if (typed) e.Key(Qt::Key_Backspace);
        else e.Key(Qt::Key_unknown, QStringLiteral("f"));
        typed = !typed;
        benchmark::DoNotOptimize(e.edit->CursorPos());
    }
    state.counters["chars"] = e.edit->TextLength();
}

void BM_EditRepaintLongWord(benchmark::State& state) {
    EditOnForm e(static_cast<int>(state.range(0)), 0, LongWord);
    QImage target(e.edit->Widget()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        e.edit->Invalidate();
        e.edit->Widget()->render(&target);
    }
    state.counters["chars"] = e.edit->TextLength();
}

BENCHMARK(BM_EditClick)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(0.5);
BENCHMARK(BM_EditKey)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(0.5);
BENCHMARK(BM_EditRepaint)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(0.5);
BENCHMARK(BM_EditClickFace)->ArgsProduct({{1000, 5000}, {0, 1}})->ArgNames({"chars", "face"})
    ->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(0.5);
BENCHMARK(BM_EditFirstClickAfterEdit)->ArgsProduct({{1000, 5000}, {0, 1}})->ArgNames({"chars", "face"})
    ->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(0.5);

BENCHMARK(BM_EditKeyLongWord)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(0.5);
BENCHMARK(BM_EditRepaintLongWord)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(0.5);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    gui::ScriptedPresenter presenter;
    gui::TApplication application;
    app = &application;
    kit::KitApplication->SetKeyState(1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
