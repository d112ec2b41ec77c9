// The vertical section ("&Vertikalschnitt zeigen") through 20 E planes of 40,000 points each
// (200 x 200 grid points, 0.5 m apart) with 100 cut points: the samples, the interpolated grid
// and the picture. The main window is created headless, as at start-up, with its settings and
// the locale in a temporary directory.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/BenchField.h"
#include "tests/support/HeadlessViewer.h"
#include "viewer/FeldorU.h"
#include "viewer/Vertikal.h"

using namespace FeldorU;

namespace {

constexpr int kPlanes = 20;
constexpr int kSide = 200;
constexpr double kStep = 0.5;

TFormFeldor* form = nullptr;

void FillPointSet() {
    FillDipoleField(kPlanes, kSide, kSide, -50, -50, kStep);
    form->afterLoading();
    FieldShown = true;
    form->CBPlanes->SetItemIndex(0);
    form->UpdatePicture(nullptr);
    CutP1x = -45;
    CutP1y = -40;
    CutP2x = 45;
    CutP2y = 40;
    CutPointCount = 100;
}

TFormVertikal* LastSection() {
    for (int i = form->ComponentCount() - 1; i >= 0; --i)
        if (auto* s = dynamic_cast<TFormVertikal*>(form->Components(i))) return s;
    return nullptr;
}

// Arg 0: trace lines off; 1: on (the program's default), the script window emptied outside
// the timing.
void BM_VerticalSection(benchmark::State& state) {
    DebugMode = state.range(0) != 0;
    int height = 0;
    for (auto _ : state) {
        form->MIVerticalClick(nullptr);
        state.PauseTiming();
        TFormVertikal* s = LastSection();
        if (!s || s->SampleValue.Length() != kPlanes * CutPointCount) {
            state.SkipWithError("no section");
            break;
        }
        height = s->VertHeight;
        delete s;
        if (DebugMode) FormProgInfo->clear(nullptr);
        state.ResumeTiming();
    }
    state.counters["points"] = PointCount();
    state.counters["rows"] = height + 1;
}
BENCHMARK(BM_VerticalSection)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    HeadlessViewer viewer;
    viewer.StartUp();
    form = viewer.form;
    FillPointSet();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
