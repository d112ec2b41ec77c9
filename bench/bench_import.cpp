// Import speed of the near-field readers against a bare parse of the same files.
//
// At start the program writes two files into a temporary directory: an EZNEC near-field text of
// 1,000,000 points and a 4nec2 report of 200,000 points (100,000 lines in each of the electric
// and the magnetic block), laid out as EZNEC and nec2c write them. The third file is nec2c's own
// report of 1,000,000 points (a short dipole over perfect ground, electric and magnetic fields on
// 100 x 100 x 50 points each); nec2c takes some seconds for it. FELDOR_BENCH_NEC2C_REPORT names
// such a report made before (to compare builds on one file); without nec2c and that variable its
// benchmarks are skipped. Then it times
//   BM_Import*:    the reader (nearfield::Load*: file load, words, conversion, rounding, append),
//   BM_BareParse*: the yardstick: read the file, split it into lines, parse every number of
//                  every line with std::from_chars and sum them.
// The counters report points (or lines) per second.
// The allocator is told to keep the memory freed (no mmap, no trimming), so that every
// repetition of every case writes into memory touched before: otherwise whether the arrays and
// buffers are faulted in anew each time depends on the sizes freed before (glibc raises its mmap
// and trim thresholds after freeing a large block), and the figures compare page faults.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <malloc.h>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "viewer/NearFieldReaders.h"

namespace {

constexpr int EznecPoints = 1'000'000;
constexpr int NecLinesPerBlock = 100'000;
constexpr int GridSide = 41;
constexpr int Nec2cPoints = 1'000'000;  // both blocks of the deck below

// 5 segments: the near fields of a few segments are quick to compute.
constexpr const char* Nec2cDeck =
    "CM Feldor benchmark: 20 m dipole over perfect ground, near fields on 100 x 100 x 50 points\n"
    "CE\n"
    "GW  1   5   -5.05  0.0  10.0    5.05  0.0  10.0   0.001\n"
    "GE  1\n"
    "GN  1\n"
    "FR  0   1   0   0   14.15  0.0\n"
    "EX  0   1   3   0   132.012  0.0\n"
    "NE  0  100  100  50   -24.75  -24.75  0.5   0.5  0.5  0.5\n"
    "NH  0  100  100  50   -24.75  -24.75  0.5   0.5  0.5  0.5\n"
    "EN\n";
constexpr double Step = 0.5;

struct GridPoint {
    double x, y, z;
};

// x fastest, then y, then z; planes 0.5 m apart from z = 0.5 m.
GridPoint Grid(int i) {
    const double half = (GridSide - 1) * Step / 2;
    const int perPlane = GridSide * GridSide;
    const int plane = i / perPlane, rest = i % perPlane;
    return {-half + (rest % GridSide) * Step, -half + (rest / GridSide) * Step, 0.5 + plane * Step};
}

// Made-up smooth peak magnitudes and phases of E (V/m) and H (A/m): a wire 10 m above the grid.
void Field(const GridPoint& p, double e[6], double h[6]) {
    const double dz = 10.0 - p.z;
    const double r = std::max(std::sqrt(p.x * p.x + p.y * p.y + dz * dz), 0.25);
    const double ph = std::fmod(r * 17.0, 360.0) - 180.0;
    e[0] = 70.0 / r * (1.0 + 0.3 * std::cos(0.3 * p.x));
    e[1] = ph;
    e[2] = 8.0 * std::fabs(p.x * p.y) / (r * r) + 1e-3;
    e[3] = -ph / 2;
    e[4] = 30.0 * std::fabs(p.x) / (r * r) + 1e-3;
    e[5] = ph / 3;
    h[0] = 0.002 * std::fabs(p.y) / r + 1e-6;
    h[1] = ph / 4;
    h[2] = 0.45 / r;
    h[3] = -ph;
    h[4] = 0.08 * std::fabs(p.y) / (r * r) + 1e-6;
    h[5] = ph / 5;
}

void WriteEznec(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fprintf(f, "Feldor benchmark file: %d near-field points\n\n", EznecPoints);
    std::fprintf(f, "Frequency = 14.15 MHz\nPower = 100 watts\n\nElectric Field (V/m, RMS)\n\n");
    std::fprintf(f, "X (m)     Y (m)     Z (m)       Ex           Ey           Ez           E total\n");
    for (int i = 0; i < EznecPoints; ++i) {
        const GridPoint p = Grid(i);
        double e[6], h[6];
        Field(p, e, h);
        const double a = e[0] / std::sqrt(2.0), b = e[2] / std::sqrt(2.0), c = e[4] / std::sqrt(2.0);
        std::fprintf(f, "%9.3f %9.3f %9.3f   %10.4E   %10.4E   %10.4E   %10.4E\n", p.x, p.y, p.z, a,
                     b, c, std::sqrt(a * a + b * b + c * c));
    }
    std::fclose(f);
}

void NecLine(std::FILE* f, const GridPoint& p, const double v[6]) {
    std::fprintf(f, "%10.4f%10.4f%10.4f  %11.4E %7.2f  %11.4E %7.2f  %11.4E %7.2f\n", p.x, p.y, p.z,
                 v[0], v[1], v[2], v[3], v[4], v[5]);
}

void Write4nec2(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fprintf(f, "\n                               ---------------- COMMENTS ----------------\n");
    std::fprintf(f, "                               Feldor benchmark report: %d grid points\n\n\n",
                 NecLinesPerBlock);
    std::fprintf(f, "                               ---------- POWER BUDGET ---------\n"
                    "                               INPUT POWER   =  1.0000E+02 Watts\n"
                    "                               RADIATED POWER=  1.0000E+02 Watts\n"
                    "                               STRUCTURE LOSS=  0.0000E+00 Watts\n"
                    "                               NETWORK LOSS  =  0.0000E+00 Watts\n"
                    "                               EFFICIENCY    =  100.00 Percent\n\n\n");
    const char* eHead =
        "                             -------- NEAR ELECTRIC FIELDS --------\n\n"
        "     ------- LOCATION -------     ------- EX ------    ------- EY ------    ------- EZ ------\n"
        "      X         Y         Z       MAGNITUDE   PHASE    MAGNITUDE   PHASE    MAGNITUDE   PHASE\n"
        "    METERS    METERS    METERS     VOLTS/M  DEGREES    VOLTS/M   DEGREES     VOLTS/M  DEGREES\n";
    const char* hHead =
        "                                   -------- NEAR MAGNETIC FIELDS ---------\n\n"
        "     ------- LOCATION -------     ------- HX ------    ------- HY ------    ------- HZ ------\n"
        "      X         Y         Z       MAGNITUDE   PHASE    MAGNITUDE   PHASE    MAGNITUDE   PHASE\n"
        "    METERS    METERS    METERS      AMPS/M  DEGREES      AMPS/M  DEGREES      AMPS/M  DEGREES\n";
    std::fputs(eHead, f);
    for (int i = 0; i < NecLinesPerBlock; ++i) {
        double e[6], h[6];
        Field(Grid(i), e, h);
        NecLine(f, Grid(i), e);
    }
    std::fputs("\n\n\n  DATA CARD No:   5 NH\n\n\n", f);
    std::fputs(hHead, f);
    for (int i = 0; i < NecLinesPerBlock; ++i) {
        double e[6], h[6];
        Field(Grid(i), e, h);
        NecLine(f, Grid(i), h);
    }
    std::fputs("\n\n\n  DATA CARD No:   6 EN\n\n  TOTAL RUN TIME: 0 msec\n", f);
    std::fclose(f);
}

// nec2c's report of Nec2cPoints points; empty when there is none.
std::string Nec2cReport(const std::filesystem::path& dir) {
    if (const char* given = std::getenv("FELDOR_BENCH_NEC2C_REPORT")) return given;
    if (std::system("command -v nec2c >/dev/null 2>&1") != 0) return {};
    const std::string deck = (dir / "bench_nec2c.nec").string(), out = (dir / "bench_nec2c.out").string();
    std::FILE* f = std::fopen(deck.c_str(), "wb");
    if (!f) std::abort();
    std::fputs(Nec2cDeck, f);
    std::fclose(f);
    const std::string cmd = "nec2c -i '" + deck + "' -o '" + out + "' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) return {};
    return out;
}

struct Files {
    std::filesystem::path dir;
    std::string eznec, nec, nec2c;
    Files() {
        char pattern[] = "/tmp/feldor-bench-XXXXXX";
        const char* d = mkdtemp(pattern);
        if (!d) std::abort();
        dir = d;
        eznec = (dir / "bench_eznec.txt").string();
        nec = (dir / "bench_4nec2.out").string();
        WriteEznec(eznec);
        Write4nec2(nec);
        nec2c = Nec2cReport(dir);
    }
    ~Files() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

const Files& BenchFiles() {
    static const bool keep = [] {
        mallopt(M_MMAP_MAX, 0);
        mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
        return true;
    }();
    (void)keep;
    static const Files files;
    return files;
}

struct PointSet {
    DoubleArray tx, ty, tz, tE, tEx, tEy, tEz;
    double power = 0, powerShow = 0;
    int pumps = 0;
    nearfield::ReaderContext Context() {
        nearfield::ReaderContext c;
        c.Points = {&tx, &ty, &tz, &tE, &tEx, &tEy, &tEz};
        c.Power = &power;
        c.PowerShow = &powerShow;
        c.Pump = [this] { ++pumps; };
        return c;
    }
};

template <class Load>
void RunImport(benchmark::State& state, const std::string& file, int expected, Load load) {
    if (file.empty()) {
        state.SkipWithError("no nec2c report (nec2c not installed)");
        for (auto _ : state) {
        }
        return;
    }
    rtl::FormatSettings().DecimalSeparator = ',';
    for (auto _ : state) {
        PointSet ps;
        nearfield::ReaderContext c = ps.Context();
        load(file, c);
        if (ps.tE.Length() != expected) state.SkipWithError("wrong number of points");
        benchmark::DoNotOptimize(ps.tE.data());
    }
    state.counters["points/s"] =
        benchmark::Counter(static_cast<double>(expected), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ImportEznec(benchmark::State& state) {
    RunImport(state, BenchFiles().eznec, EznecPoints, nearfield::LoadEznec);
}

void BM_Import4nec2(benchmark::State& state) {
    RunImport(state, BenchFiles().nec, 2 * NecLinesPerBlock, nearfield::Load4nec2);
}

// nec2c's report as it stands (no blank line under the electric title).
void BM_ImportNec2c(benchmark::State& state) {
    RunImport(state, BenchFiles().nec2c, Nec2cPoints, nearfield::Load4nec2);
}

// Reads the whole file, splits it at '\n', parses every blank-separated number of every line
// (a line stops at the first word that is not a number) and sums them.
double BareParse(const std::string& file, long long& numbers) {
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return 0;
    std::fseek(f, 0, SEEK_END);
    const std::size_t size = static_cast<std::size_t>(std::ftell(f));
    std::fseek(f, 0, SEEK_SET);
    std::unique_ptr<char[]> text(new char[size]);
    const std::size_t got = std::fread(text.get(), 1, size, f);
    std::fclose(f);
    double sum = 0;
    numbers = 0;
    const char* p = text.get();
    const char* const end = p + got;
    while (p < end) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* le = nl ? nl : end;
        const char* q = p;
        for (;;) {
            while (q < le && (*q == ' ' || *q == '\t' || *q == '\r')) ++q;
            if (q == le) break;
            double v;
            const auto r = std::from_chars(q, le, v);
            if (r.ec != std::errc() || (r.ptr < le && *r.ptr != ' ' && *r.ptr != '\r')) break;
            sum += v;
            ++numbers;
            q = r.ptr;
        }
        p = le + 1;
    }
    return sum;
}

void RunBare(benchmark::State& state, const std::string& file, int lines) {
    if (file.empty()) {
        state.SkipWithError("no nec2c report (nec2c not installed)");
        for (auto _ : state) {
        }
        return;
    }
    long long numbers = 0;
    for (auto _ : state) benchmark::DoNotOptimize(BareParse(file, numbers));
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["numbers"] = static_cast<double>(numbers);
}

void BM_BareParseEznec(benchmark::State& state) { RunBare(state, BenchFiles().eznec, EznecPoints); }

void BM_BareParse4nec2(benchmark::State& state) {
    RunBare(state, BenchFiles().nec, 2 * NecLinesPerBlock);
}

void BM_BareParseNec2c(benchmark::State& state) { RunBare(state, BenchFiles().nec2c, Nec2cPoints); }

// Five repetitions each; the minimum is the figure least disturbed by other load.
double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
#define FELDOR_IMPORT_BENCH(f)                                                                     \
    BENCHMARK(f)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ComputeStatistics( \
        "min", Min)

FELDOR_IMPORT_BENCH(BM_ImportEznec);
FELDOR_IMPORT_BENCH(BM_BareParseEznec);
FELDOR_IMPORT_BENCH(BM_Import4nec2);
FELDOR_IMPORT_BENCH(BM_BareParse4nec2);
FELDOR_IMPORT_BENCH(BM_ImportNec2c);
FELDOR_IMPORT_BENCH(BM_BareParseNec2c);

}  // namespace

BENCHMARK_MAIN();
