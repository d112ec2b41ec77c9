// Switching the map to another plane (LoadPlane + FeldShow2) on a point set of 1,000,000
// points in 10 planes of 100,000 points each (400 x 250 grid points, 0.5 m apart), and between
// the two planes of a set of 1000 x 1000 points each (BM_PlaneSwitchLarge).
// The main window is created headless, as at start-up, with its settings and the locale in a
// temporary directory.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/BenchField.h"
#include "tests/support/HeadlessViewer.h"
#include "viewer/FeldorU.h"

using namespace FeldorU;

namespace {

constexpr int kPlanes = 10;
constexpr int kNx = 400;
constexpr int kNy = 250;
constexpr double kStep = 0.5;

TFormFeldor* form = nullptr;

void FillPointSet(int planes, int nx, int ny) {
    FillDipoleField(planes, nx, ny, -0.5 * (nx - 1) * kStep, -0.5 * (ny - 1) * kStep, kStep);
    PowerShow = 750;
    FieldShown = true;
}

// Arg 0: trace lines off; 1: on (the program's default), the script window emptied now and
// then outside the timing.
void BM_PlaneSwitch(benchmark::State& state) {
    FillPointSet(kPlanes, kNx, kNy);
    DebugMode = state.range(0) != 0;
    int plane = 0;
    long long n = 0;
    for (auto _ : state) {
        plane = (plane + 1) % kPlanes;
        CurrentPlane = form->LoadPlane(1 + plane, 0);
        form->FeldShow2();
        benchmark::DoNotOptimize(CurrentPlane->Count());
        if (DebugMode && ++n % 64 == 0) {
            state.PauseTiming();
            FormProgInfo->clear(nullptr);
            state.ResumeTiming();
        }
    }
    if (CurrentPlane->Count() != kNx * kNy) state.SkipWithError("wrong plane size");
    state.counters["points"] = PointCount();
}
BENCHMARK(BM_PlaneSwitch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Arg: the side of the square plane.
void BM_PlaneSwitchLarge(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    FillPointSet(2, side, side);
    DebugMode = false;
    int plane = 0;
    for (auto _ : state) {
        plane = 1 - plane;
        CurrentPlane = form->LoadPlane(1 + plane, 0);
        form->FeldShow2();
        benchmark::DoNotOptimize(CurrentPlane->Count());
    }
    if (CurrentPlane->Count() != side * side) state.SkipWithError("wrong plane size");
    state.counters["points"] = PointCount();
}
BENCHMARK(BM_PlaneSwitchLarge)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The two halves of the switch alone: Arg 0 the plane load, 1 the picture of a loaded plane.
void BM_PlaneSwitchLargePart(benchmark::State& state) {
    FillPointSet(2, 1000, 1000);
    DebugMode = false;
    CurrentPlane = form->LoadPlane(1, 0);
    for (auto _ : state) {
        if (state.range(0) == 0) {
            auto p = form->LoadPlane(2, 0);
            benchmark::DoNotOptimize(p->Count());
        } else {
            form->FeldShow2();
        }
    }
}
BENCHMARK(BM_PlaneSwitchLargePart)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    HeadlessViewer viewer;
    viewer.StartUp();
    form = viewer.form;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
