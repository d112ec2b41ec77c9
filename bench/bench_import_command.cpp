// The import commands ("EZNEC Nahfeld-Ausgabedatei laden", "4nec2 ...") headless, without the
// wait after reading, against their reader alone, on
//   an EZNEC near-field text of 1,000,000 points (100 planes of 100 x 100), and
//   4nec2 reports of 2,000,000 points (1,000,000 electric and as many magnetic ones) in 25
//   planes of 200 x 200 and in 125 planes of 80 x 100 points.
// The command reads the file, lists the planes, shows the first one and builds the impedance
// planes (from the reports: 1,000,000 more points).
// BM_CommandPlanes: the EZNEC command on an electric and a magnetic file of 200,000 points each
// (400,000 points), in 10 planes of 100 x 200 and in 200 planes of 40 x 25 points, with debug
// mode on and the script window shown, as the program starts: every trace line of the planes
// and of the impedance planes goes into the shown window. 200 planes should cost about what 10
// planes cost.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/HeadlessViewer.h"
#include "viewer/FeldorU.h"
#include "viewer/NearFieldReaders.h"

using namespace FeldorU;

namespace {

TFormFeldor* form = nullptr;
gui::ScriptedPresenter* presenter = nullptr;

struct Grid {
    int planes, nx, ny;
    double dz;
};

void Point(const Grid& g, int i, double& x, double& y, double& z) {
    const int perPlane = g.nx * g.ny;
    const int p = i / perPlane, r = i % perPlane;
    x = -0.5 * (g.nx - 1) * 0.5 + (r % g.nx) * 0.5;
    y = -0.5 * (g.ny - 1) * 0.5 + (r / g.nx) * 0.5;
    z = 0.5 + p * g.dz;
}

void WriteEznec(const std::string& path, const Grid& g, bool magnetic = false) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fprintf(f, magnetic ? "Feldor benchmark file\n\nFrequency = 14.15 MHz\nPower = 100 watts\n\n"
                               "Magnetic Field (A/m, RMS)\n\n"
                               "X (m)     Y (m)     Z (m)       Hx           Hy           Hz           H total\n"
                             : "Feldor benchmark file\n\nFrequency = 14.15 MHz\nPower = 100 watts\n\n"
                               "Electric Field (V/m, RMS)\n\n"
                               "X (m)     Y (m)     Z (m)       Ex           Ey           Ez           E total\n");
    for (int i = 0; i < g.planes * g.nx * g.ny; ++i) {
        double x, y, z;
        Point(g, i, x, y, z);
        const double r = std::sqrt(x * x + y * y + (10 - z) * (10 - z)) + 0.25;
        const double s = magnetic ? 0.004 : 1;
        const double a = s * 50 / r, b = s * (20 * std::fabs(x) / (r * r) + 1e-3), c = s * 5 / r;
        std::fprintf(f, "%9.3f %9.3f %9.3f   %10.4E   %10.4E   %10.4E   %10.4E\n", x, y, z, a, b, c,
                     std::sqrt(a * a + b * b + c * c));
    }
    std::fclose(f);
}

void Write4nec2(const std::string& path, const Grid& g) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fprintf(f, "\n                               INPUT POWER   =  1.0000E+02 Watts\n\n\n");
    const int n = g.planes * g.nx * g.ny;
    for (int block = 0; block < 2; ++block) {
        std::fprintf(f, block == 0 ? "                  -------- NEAR ELECTRIC FIELDS --------\n\n\n\n\n"
                                   : "                  -------- NEAR MAGNETIC FIELDS --------\n\n\n\n\n");
        for (int i = 0; i < n; ++i) {
            double x, y, z;
            Point(g, i, x, y, z);
            const double r = std::sqrt(x * x + y * y + (10 - z) * (10 - z)) + 0.25;
            const double s = block == 0 ? 70 : 0.2;
            std::fprintf(f, "%10.4f%10.4f%10.4f  %11.4E %7.2f  %11.4E %7.2f  %11.4E %7.2f\n", x, y,
                         z, s / r, 10.0, s * 0.3 / r, -20.0, s * 0.1 / r + 1e-6, 30.0);
        }
        std::fprintf(f, "\n\n");
    }
    std::fclose(f);
}

struct Files {
    std::filesystem::path dir;
    std::string eznec, nec25, nec125;
    std::string e10, h10, e200, h200;  // 200,000 points each
    Files() {
        char pattern[] = "/tmp/feldor-bench-import-XXXXXX";
        const char* d = mkdtemp(pattern);
        if (!d) std::abort();
        dir = d;
        eznec = (dir / "eznec.txt").string();
        nec25 = (dir / "nec25.out").string();
        nec125 = (dir / "nec125.out").string();
        WriteEznec(eznec, {100, 100, 100, 0.5});
        Write4nec2(nec25, {25, 200, 200, 0.5});
        Write4nec2(nec125, {125, 80, 100, 0.4});
        e10 = (dir / "e10.txt").string();
        h10 = (dir / "h10.txt").string();
        e200 = (dir / "e200.txt").string();
        h200 = (dir / "h200.txt").string();
        WriteEznec(e10, {10, 100, 200, 0.5});
        WriteEznec(h10, {10, 100, 200, 0.5}, true);
        WriteEznec(e200, {200, 40, 25, 0.2});
        WriteEznec(h200, {200, 40, 25, 0.2}, true);
    }
    ~Files() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

const Files& BenchFiles() {
    static const Files files;
    return files;
}

enum Which { Eznec = 0, Nec25 = 1, Nec125 = 2 };

const std::string& FileOf(int which) {
    const Files& f = BenchFiles();
    return which == Eznec ? f.eznec : which == Nec25 ? f.nec25 : f.nec125;
}

// The reader alone into the viewer's point set, emptied first as the command empties it.
void BM_Reader(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    const std::string& file = FileOf(which);
    DebugMode = false;
    for (auto _ : state) {
        ClearFeld2Dim();
        nearfield::ReaderContext ctx;
        if (which == Eznec)
            nearfield::LoadEznec(file, ctx);
        else
            nearfield::Load4nec2(file, ctx);
        benchmark::DoNotOptimize(tE.data());
    }
    state.counters["points"] = PointCount();
}

// The whole command through its menu item, the file dialog answered.
void BM_Command(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    const std::string& file = FileOf(which);
    DebugMode = false;
    form->MIDebugMode->SetChecked(false);
    for (auto _ : state) {
        gui::FileDialogResult r;
        r.accepted = true;
        r.files = {file};
        r.filterIndex = 2;
        presenter->fileAnswers.push_back(r);
        if (which == Eznec)
            form->MIEZNECOpen->Click();
        else
            form->MI4nec2open->Click();
        state.PauseTiming();
        presenter->boxes.clear();
        if (FormProgInfo) FormProgInfo->clear(nullptr);
        state.ResumeTiming();
    }
    state.counters["points"] = PointCount();
    state.counters["planes"] = PlaneList.Length();
}

// The EZNEC command on an E and an H file of equal points in state.range(0) planes, debug mode
// on and the script window shown.
void BM_CommandPlanes(benchmark::State& state) {
    const int planes = static_cast<int>(state.range(0));
    const Files& f = BenchFiles();
    const std::vector<std::string> files = planes == 10 ? std::vector<std::string>{f.e10, f.h10}
                                                        : std::vector<std::string>{f.e200, f.h200};
    form->MIDebugMode->SetChecked(true);
    DebugMode = true;
    FormProgInfo->Show();
    int lines = 0;
    for (auto _ : state) {
        gui::FileDialogResult r;
        r.accepted = true;
        r.files = files;
        r.filterIndex = 2;
        presenter->fileAnswers.push_back(r);
        form->MIEZNECOpen->Click();
        // The window shows what came in, as the next turn of the event loop draws it.
        gui::Application->ProcessMessages();
        state.PauseTiming();
        lines = FormProgInfo->MeInfo->Lines()->Count();
        presenter->boxes.clear();
        FormProgInfo->clear(nullptr);
        gui::Application->ProcessMessages();
        state.ResumeTiming();
    }
    form->MIDebugMode->SetChecked(false);
    DebugMode = false;
    FormProgInfo->Hide();
    state.counters["points"] = PointCount();
    state.counters["planes"] = PlaneList.Length();
    state.counters["lines"] = lines;
}

#define FELDOR_IMPORT(f)                                                                       \
    BENCHMARK(f)->Arg(Eznec)->Arg(Nec25)->Arg(Nec125)->Unit(benchmark::kMillisecond)->UseRealTime() \
        ->Repetitions(5)->ReportAggregatesOnly(true)

FELDOR_IMPORT(BM_Reader);
FELDOR_IMPORT(BM_Command);
BENCHMARK(BM_CommandPlanes)->Arg(10)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    HeadlessViewer viewer;
    viewer.StartUp();
    form = viewer.form;
    presenter = viewer.presenter.get();
    nearfield::FrameWait = std::chrono::milliseconds(0);
    BenchFiles();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
