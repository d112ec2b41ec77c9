// The vertical section ("&Vertikalschnitt zeigen") through 125 E planes (0.5 m apart from
// -2 m to 60 m) of 40,000 points each (200 x 200 grid points, 0.5 m apart) with 100 cut points:
// the samples, the interpolated grid and the picture. BM_SectionSeries shows ten sections in a
// row, each in its window, and reports the first and the tenth. The main window is created headless, as at start-up, with its settings and
// the locale in a temporary directory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>
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

constexpr int kPlanes = 125;
constexpr int kSide = 200;
constexpr double kStep = 0.5;

TFormFeldor* form = nullptr;

void FillPointSet() {
    FillDipoleField(kPlanes, kSide, kSide, -50, -50, kStep, -2, 0.5);
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

// Ten sections one after the other, the windows left open until the end of the series (as the
// user leaves them); trace lines off. Counters: the first and the tenth section (ms).
void BM_SectionSeries(benchmark::State& state) {
    DebugMode = false;
    using Clock = std::chrono::steady_clock;
    std::vector<double> first, tenth;
    for (auto _ : state) {
        std::vector<TFormVertikal*> open;
        for (int k = 0; k < 10; ++k) {
            const Clock::time_point t = Clock::now();
            form->MIVerticalClick(nullptr);
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t).count();
            if (k == 0) first.push_back(ms);
            if (k == 9) tenth.push_back(ms);
            open.push_back(LastSection());
        }
        state.PauseTiming();
        for (TFormVertikal* s : open) delete s;
        state.ResumeTiming();
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    state.counters["first_ms"] = median(first);
    state.counters["tenth_ms"] = median(tenth);
}
BENCHMARK(BM_SectionSeries)->Unit(benchmark::kMillisecond)->Iterations(3);

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
