// The near-field readers on the fixture files, number by number, with their errors, gauge
// values and powers; the line splitting and the number conversion they rely on.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QApplication>
#include <QCloseEvent>
#include <QWidget>

#include "foundation/MathLib.h"
#include "foundation/StrUtilsLib.h"
#include "platform/gui/ComCtrls.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "viewer/FeldorVars.h"
#include "viewer/FileProgress.h"
#include "viewer/NearFieldReaders.h"
#include "viewer/ProgInfo.h"
#include "ViewerFixture.h"

using namespace nearfield;

namespace {

const std::string Data = FELDOR_TEST_DATA;

// A reader run into arrays of its own, pumping after every point.
struct ReaderRun {
    DoubleArray tx, ty, tz, tE, tEx, tEy, tEz;
    double power = -1, powerShow = -1;
    std::vector<int> gauge;
    int pumps = 0;
    std::vector<std::string> info;
    ReaderContext ctx;

    ReaderRun() {
        ctx.Points = {&tx, &ty, &tz, &tE, &tEx, &tEy, &tEz};
        ctx.Power = &power;
        ctx.PowerShow = &powerShow;
        ctx.Progress = [this](int p) { gauge.push_back(p); };
        ctx.Pump = [this] { ++pumps; };
        ctx.Info = [this](const std::string& s) { info.push_back(s); };
        ctx.PumpInterval = std::chrono::steady_clock::duration::zero();
    }
    int Count() const { return tE.Length(); }
};

enum class Reader { Eznec, NecWin, FourNec2, MMana };

void Load(Reader r, const std::string& file, ReaderContext& ctx) {
    switch (r) {
        case Reader::Eznec: LoadEznec(file, ctx); break;
        case Reader::NecWin: LoadNecWin(file, ctx); break;
        case Reader::FourNec2: Load4nec2(file, ctx); break;
        case Reader::MMana: LoadMMana(file, ctx); break;
    }
}

enum class Err { None, Index, Range, Convert };

const char* ErrName(Err e) {
    switch (e) {
        case Err::None: return "no error";
        case Err::Index: return "index error";
        case Err::Range: return "range error";
        case Err::Convert: return "conversion error";
    }
    return "?";
}

// Runs the reader and tells which error ended it.
Err LoadAndClassify(Reader r, const std::string& file, ReaderRun& run) {
    try {
        Load(r, file, run.ctx);
    } catch (const rtl::EStringListError&) {
        return Err::Index;
    } catch (const rtl::ERangeError&) {
        return Err::Range;
    } catch (const rtl::EConvertError&) {
        return Err::Convert;
    }
    return Err::None;
}

// Exact for 0, otherwise within a relative 1e-9 (values given with ten digits or more).
bool Near(double actual, double expected) {
    if (expected == 0) return actual == 0;
    return std::fabs(actual - expected) <= 1e-9 * std::fabs(expected);
}

struct Pt {
    int i;
    double x, y, z, E, Ex, Ey, Ez;
};

void ExpectPoint(const ReaderRun& run, const Pt& p, const std::string& where) {
    ASSERT_LT(p.i, run.Count()) << where;
    const double got[7] = {run.tx[p.i], run.ty[p.i], run.tz[p.i], run.tE[p.i],
                           run.tEx[p.i], run.tEy[p.i], run.tEz[p.i]};
    const double want[7] = {p.x, p.y, p.z, p.E, p.Ex, p.Ey, p.Ez};
    const char* names[7] = {"x", "y", "z", "E", "Ex", "Ey", "Ez"};
    for (int k = 0; k < 7; ++k)
        EXPECT_TRUE(Near(got[k], want[k]))
            << where << " point " << p.i << " " << names[k] << ": " << got[k] << " != " << want[k];
}

struct Case {
    Reader reader;
    const char* file;
    int count;
    double power;
    Err err;
    std::vector<Pt> points;
    std::vector<int> gauge;  // checked when not empty
};

// Points shared by several fixtures.
const Pt EzFirst{0, -0.5, 0.0, 1.5, 5.0016, 4.9633, 0, 0.6181};
const Pt NecE0{0, -1.0, 2.0, 1.5, 3.5355339059327373, 2.1213203435596424, 2.8284271247461898, 0};
const Pt NecH3{3, -1.0, 2.0, 101.5, 0.05, 0.03, 0, 0.04};
const Pt SmallE1{1, 0.0, 2.0, 1.5, 5.017346877, 5.017346877, 4.050731907e-10, 2.948423146e-09};
const Pt E4nec0{0, -1.0, 2.0, 1.5, 5.045308919, 4.951939499, 0.1295348912, 0.9574225817};
const Pt H4nec{3, -1.0, 2.0, 101.5, 0.03493883502, 8.1342e-05, 0.034565, 0.0050967};

Pt At(int i, Pt p) {
    p.i = i;
    return p;
}

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = rtl::FormatSettings();
        rtl::FormatSettings().DecimalSeparator = ',';
    }
    void TearDown() override { rtl::FormatSettings() = saved; }
    rtl::TFormatSettings saved;
};

}  // namespace

TEST_F(ReaderTest, FixturesGiveTheDocumentedPoints) {
    const Pt basic0{0, -10.0, 5.0, 2.0, 0.374, 0.1, 0.2, 0.3};
    const Pt basic3{3, 0.5, 0.0, 1.5, 5.0016, 4.9633, 0, 0.6181};
    const Pt ezCenter{1, 0.0, 0.0, 1.5, 5.0242, 5.0242, 0, 0};
    const std::vector<Case> cases = {
        // EZNEC
        {Reader::Eznec, "eznec/basic.txt", 4, 100, Err::None, {basic0, basic3}, {0, 33, 67, 100}},
        {Reader::Eznec, "eznec/crlf.txt", 4, 100, Err::None, {basic0, basic3}, {0, 33, 67, 100}},
        {Reader::Eznec, "eznec/cp1252_header.txt", 4, 100, Err::None, {basic0, basic3}, {}},
        {Reader::Eznec, "eznec/magnetic.txt", 4, 100, Err::None,
         {{0, -10.0, 5.0, 102.0, 0.374, 0.1, 0.2, 0.3},
          {1, -0.5, 0.0, 101.5, 0.021534, 0, 0.021493, 0.0013352}}, {}},
        {Reader::Eznec, "eznec/power_dot.txt", 1, 1.5, Err::None, {EzFirst}, {}},
        {Reader::Eznec, "eznec/power_comma.txt", 1, 1.5, Err::None, {EzFirst}, {}},
        {Reader::Eznec, "eznec/both_types.txt", 2, 100, Err::None, {EzFirst}, {}},
        {Reader::Eznec, "eznec/no_type.txt", 2, 100, Err::None, {EzFirst}, {}},
        {Reader::Eznec, "eznec/rounding.txt", 5, 100, Err::None,
         {{0, 0.2, 1, 1.5, 1, 1, 0, 0}, {1, 0.3, 1, 1.5, 1, 1, 0, 0}, {2, 0.3, 1, 1.5, 1, 1, 0, 0},
          {3, 0.8, 1, 1.5, 1, 1, 0, 0}, {4, -0.2, 1, 1.5, 1, 1, 0, 0}}, {}},
        {Reader::Eznec, "eznec/one_point.txt", 1, 100, Err::None, {At(0, ezCenter)}, {100}},
        {Reader::Eznec, "eznec/last_line_empty.txt", 3, 100, Err::None, {EzFirst}, {0, 50, 100}},
        {Reader::Eznec, "eznec/last_line_blank.txt", 3, 100, Err::None, {EzFirst}, {0, 50, 100}},
        {Reader::Eznec, "eznec/last_line_two_chars.txt", 3, 100, Err::Range, {EzFirst}, {}},
        {Reader::Eznec, "eznec/truncated.txt", 2, 100, Err::Range, {EzFirst, ezCenter}, {}},
        {Reader::Eznec, "eznec/no_power.txt", 0, 100, Err::Index, {}, {}},
        {Reader::Eznec, "eznec/no_column_title.txt", 0, 100, Err::None, {}, {}},
        {Reader::Eznec, "eznec/empty.txt", 0, 100, Err::Index, {}, {}},
        // NEC-Win Pro
        {Reader::NecWin, "nwp/basic.nou", 6, 100, Err::None, {NecE0, NecH3}, {0, 50, 100, 0, 50, 100}},
        {Reader::NecWin, "nwp/crlf.nou", 6, 100, Err::None, {NecE0, NecH3}, {}},
        {Reader::NecWin, "nwp/count.nou", 8, 100, Err::None,
         {NecE0, {7, 2.0, 2.0, 101.5, 0.0348544638, 0.00015517, 0.033471, 0.0097212}}, {}},
        {Reader::NecWin, "nwp/empty_line_in_e.nou", 2, 100, Err::None, {SmallE1}, {}},
        {Reader::NecWin, "nwp/no_magnetic.nou", 2, 100, Err::Index, {SmallE1}, {}},
        {Reader::NecWin, "4nec2/no_power.out", 0, 100, Err::Index, {}, {}},
        {Reader::NecWin, "4nec2/e_and_h.out", 0, 80.897, Err::None, {}, {}},
        // 4nec2
        {Reader::FourNec2, "4nec2/e_and_h.out", 6, 80.897, Err::None, {E4nec0, H4nec}, {}},
        {Reader::FourNec2, "4nec2/crlf.out", 6, 80.897, Err::None, {E4nec0, H4nec}, {}},
        {Reader::FourNec2, "4nec2/unmended.out", 6, 80.897, Err::None, {E4nec0, H4nec}, {}},
        {Reader::FourNec2, "4nec2/e_only.out", 3, 80.897, Err::None, {E4nec0}, {}},
        {Reader::FourNec2, "4nec2/h_only.out", 3, 80.897, Err::None, {At(0, H4nec)}, {}},
        {Reader::FourNec2, "4nec2/page_header.out", 5, 80.897, Err::None, {}, {0, 100, 0, 50, 100}},
        {Reader::FourNec2, "4nec2/last_block_at_eof.out", 6, 80.897, Err::None, {E4nec0, H4nec}, {}},
        {Reader::FourNec2, "4nec2/truncated.out", 5, 80.897, Err::Range,
         {{4, 0.0, 2.0, 101.5, 0.0353225015, 2.3928e-13, 0.034943, 0.0051639}}, {}},
        {Reader::FourNec2, "4nec2/sqrt2.out", 2, 80.897, Err::None,
         {{0, 0, 0, 1.5, 1, 1, 0, 0},
          {1, 0, 0, 101.5, 1.4142135623730951, 1.4142135623730951, 0, 0}}, {100, 100}},
        {Reader::FourNec2, "4nec2/no_power.out", 0, 100, Err::Index, {}, {}},
        // MMANA
        {Reader::MMana, "mmana/basic.txt", 3, 50, Err::None,
         {{0, 1.0, -2.5, 3.0, 10, 0, 0, 10}, {2, 0.0, 2.0, 1.5, 5.017346877, 0, 0, 5.017346877}},
         {33, 67, 100}},
        {Reader::MMana, "mmana/crlf.txt", 3, 50, Err::None,
         {{0, 1.0, -2.5, 3.0, 10, 0, 0, 10}, {2, 0.0, 2.0, 1.5, 5.017346877, 0, 0, 5.017346877}}, {}},
        {Reader::MMana, "mmana/magnetic.txt", 2, 50, Err::None,
         {{0, 1.04, -2.5, 103.0, 10, 0, 0, 10},
          {1, -1.0, 2.0, 101.5, 0.02470560383, 0, 0, 0.02470560383}}, {}},
        {Reader::MMana, "mmana/both.txt", 4, 50, Err::None,
         {{0, 1.0, -2.5, 3.0, 10, 0, 0, 10},
          {1, 0.3, -0.3, 1.5, 3.5355339059327373, 0, 0, 3.5355339059327373},
          {2, 1.04, -2.5, 103.0, 10, 0, 0, 10},
          {3, 0.26, -0.3, 101.5, 3.5355339059327373, 0, 0, 3.5355339059327373}},
         {50, 100, 50, 100}},
        {Reader::MMana, "mmana/empty_line.txt", 10, 50, Err::None,
         {{0, 0.0, 0.0, 1.5, 7.071067811865475, 0, 0, 7.071067811865475},
          {9, 9.0, 0.0, 1.5, 0.7071067811865475, 0, 0, 0.7071067811865475}}, {}},
        {Reader::MMana, "mmana/one_line.txt", 0, 50, Err::None, {}, {}},
        {Reader::MMana, "mmana/no_unit.txt", 0, 50, Err::Index, {}, {}},
        {Reader::MMana, "mmana/truncated.txt", 2, 50, Err::Range,
         {{1, -1.0, 2.0, 1.5, 5.045348305, 0, 0, 5.045348305}}, {}},
    };
    for (const Case& c : cases) {
        ReaderRun run;
        const Err err = LoadAndClassify(c.reader, Data + "/" + c.file, run);
        SCOPED_TRACE(c.file);
        EXPECT_EQ(ErrName(err), std::string(ErrName(c.err)));
        EXPECT_EQ(run.Count(), c.count);
        EXPECT_EQ(run.tx.Length(), run.Count());
        EXPECT_EQ(run.tEz.Length(), run.Count());
        EXPECT_DOUBLE_EQ(run.power, c.power);
        EXPECT_EQ(run.powerShow, 750);
        for (const Pt& p : c.points) ExpectPoint(run, p, c.file);
        if (!c.gauge.empty()) {
            EXPECT_EQ(run.gauge, c.gauge);
        }
        EXPECT_EQ(run.pumps, static_cast<int>(run.gauge.size()));
        EXPECT_TRUE(run.info.empty());
    }
}

// nec2c writes no blank line under "NEAR ELECTRIC FIELDS" (the classic layout has one): each block
// is found by its first data line, so both layouts give every point, and the same points.
TEST_F(ReaderTest, Nec2cReportReadsLikeTheClassicLayout) {
    const auto arrays = [](const ReaderRun& r) {
        return std::vector<std::vector<double>>{r.tx.vec(), r.ty.vec(), r.tz.vec(), r.tE.vec(),
                                                r.tEx.vec(), r.tEy.vec(), r.tEz.vec()};
    };
    ReaderRun classic;
    Load4nec2(Data + "/4nec2/e_and_h.out", classic.ctx);
    ASSERT_EQ(classic.Count(), 6);
    ReaderRun unmended;
    Load4nec2(Data + "/4nec2/unmended.out", unmended.ctx);
    EXPECT_EQ(arrays(unmended), arrays(classic));

    // A report nec2c writes now, from the fixture's deck.
    if (std::system("command -v nec2c >/dev/null 2>&1") != 0) GTEST_SKIP() << "nec2c is not installed";
    const std::string out = ::testing::TempDir() + "/feldor_nec2c_e_and_h.out";
    const std::string cmd = "nec2c -i '" + Data + "/4nec2/e_and_h.nec' -o '" + out + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    {
        NearFieldText text = NearFieldText::FromFile(out);
        int title = -1;
        for (int i = 0; i < text.Count() && title < 0; ++i)
            if (text[i].find("NEAR ELECTRIC FIELDS") != std::string_view::npos) title = i;
        ASSERT_GE(title, 0);
        EXPECT_FALSE(text[title + 1].empty()) << "nec2c now writes the blank line itself";
    }
    ReaderRun fresh;
    Load4nec2(out, fresh.ctx);
    EXPECT_EQ(arrays(fresh), arrays(classic));
    EXPECT_DOUBLE_EQ(fresh.power, classic.power);
    std::remove(out.c_str());

    // Hand-made: the first data line right under the title, or three lines below it.
    const std::string head = "INPUT POWER = 1.0000E+02 WATTS\n";
    const std::string data = "   -1.0000    2.0000    1.5000   3.0000E+00  0.00   4.0000E+00  0.00   0.0000E+00  0.00\n";
    for (const std::string& layout : {std::string("NEAR ELECTRIC FIELDS\n"),
                                      std::string("NEAR ELECTRIC FIELDS\n X  Y  Z\n\n METERS\n")}) {
        ReaderRun run;
        NearFieldText t = NearFieldText::FromText(head + layout + data + data + "\n");
        Read4nec2(t, run.ctx);
        EXPECT_EQ(run.Count(), 2) << layout;
    }
}

TEST_F(ReaderTest, NecWinReadsAsManyMagneticLinesAsElectricOnes) {
    ReaderRun run;
    LoadNecWin(Data + "/nwp/count.nou", run.ctx);
    ASSERT_EQ(run.Count(), 8);
    for (int i = 0; i < run.Count(); ++i) {
        EXPECT_LE(run.tx[i], 2.0) << i;  // the magnetic lines with x 3 and 4 are not read
        EXPECT_EQ(run.tz[i] > 50, i >= 4) << i;
    }
}

TEST_F(ReaderTest, PageHeaderEndsThe4nec2Block) {
    ReaderRun run;
    Load4nec2(Data + "/4nec2/page_header.out", run.ctx);
    ASSERT_EQ(run.Count(), 5);
    EXPECT_EQ(run.tx[0], -1.0);
    EXPECT_EQ(run.tx[1], 0.0);
    EXPECT_EQ(run.tz[2], 101.5);  // the third point is already magnetic
}

// Numbers are held as Double: a peak value written as the square root of 2 gives exactly 1, and
// 0.35 (just below in binary) rounds to 0.3.
TEST_F(ReaderTest, DoubleValuesGiveExactResults) {
    ReaderRun run;
    Load4nec2(Data + "/4nec2/sqrt2.out", run.ctx);
    ASSERT_EQ(run.Count(), 2);
    EXPECT_EQ(run.tEx[0], 1.0);
    EXPECT_EQ(run.tE[0], 1.0);
    EXPECT_EQ(run.tEx[1], 1.4142135623730951);
    EXPECT_EQ(run.tE[1], 1.4142135623730951);
    ReaderRun r;
    LoadEznec(Data + "/eznec/rounding.txt", r.ctx);
    ASSERT_EQ(r.Count(), 5);
    EXPECT_EQ(r.tx.vec(), (std::vector<double>{0.2, 0.3, 0.3, 0.8, -0.2}));
}

TEST_F(ReaderTest, SampleDipoleReport) {
    const std::string file = std::string(FELDOR_SOURCE_DIR) + "/samples/dipol20m.out";
    ReaderRun r4;
    Load4nec2(file, r4.ctx);
    ASSERT_EQ(r4.Count(), 13448);
    EXPECT_EQ(r4.power, 100);
    ExpectPoint(r4, {0, -10.0, -10.0, 0.5, 2.141115935, 1.042133974, 0.3522098877, 1.836921996}, "4nec2");
    ExpectPoint(r4, {6724, -10.0, -10.0, 100.5, 0.01352319194, 0.0013565, 0.013042, 0.003308}, "4nec2");
    for (int i = 0; i < r4.Count(); ++i) {
        const double z = r4.tz[i];
        if (i < 6724) {
            ASSERT_TRUE(z >= 0.5 && z <= 2.0) << i;
        } else {
            ASSERT_TRUE(z >= 100.5 && z <= 102.0) << i;
        }
    }
    ReaderRun rn;
    LoadNecWin(file, rn.ctx);
    EXPECT_EQ(rn.Count(), 13440);
}

// Errors leave the reader with the platform's error classes; the points before stay and the
// message says what the reader expected.
TEST_F(ReaderTest, ErrorsSayWhatTheReaderExpected) {
    ReaderRun run;
    const std::string head = "Power = 100 watts\nElectric\nX Y Z\n";
    NearFieldText t = NearFieldText::FromText(head + "1 2 3 4 5 6 7\n1 2 3 4 5 6 1-2\n1 2 3 4 5 6 7\n");
    try {
        ReadEznec(t, run.ctx);
        FAIL() << "no error";
    } catch (const rtl::EConvertError& e) {
        EXPECT_EQ(e.Message, "Hier wird eine Zeile mit Koordinaten und Feldstärken erwartet, doch „1-2“ "
                             "ist keine Zahl; die Datei ist keine EZNEC-Nahfeldausgabe");
    }
    EXPECT_EQ(run.Count(), 1);

    NearFieldText none = NearFieldText::FromText("Input = 5\nX\n1 2 3 4 5 6 7");
    try {
        ReadEznec(none, run.ctx);
        FAIL() << "no error";
    } catch (const rtl::EStringListError& e) {
        EXPECT_EQ(e.Message, "Die Datei enthält keine Zeile, die mit „Power“ beginnt; die Datei ist "
                             "keine EZNEC-Nahfeldausgabe");
    }
    EXPECT_THROW(LoadEznec(Data + "/eznec/does_not_exist.txt", run.ctx), rtl::EFOpenError);
    EXPECT_EQ(run.Count(), 1);
}

// Written for a test; removed with the object.
struct TempFile {
    explicit TempFile(const std::string& name, const std::string& bytes, long long size = -1)
        : path(::testing::TempDir() + "/" + name) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return;
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fflush(f);
        // The rest up to Size as a hole of zero bytes: a large file that takes no room.
        if (size > static_cast<long long>(bytes.size()) && ftruncate(fileno(f), size) != 0) path.clear();
        std::fclose(f);
    }
    ~TempFile() { std::remove(path.c_str()); }
    std::string path;
};

// An error names the file and, where the reader knows it, the line (from 1), and says in words
// what the reader expected there.
TEST_F(ReaderTest, ErrorsNameTheFileAndTheLine) {
    const std::string fieldLine = "Hier wird eine Zeile mit Koordinaten und Feldstärken erwartet";
    const TempFile badNumber("feldor_bad_number.txt",
                             "Power = 100 watts\nElectric\nX Y Z\n1 2 3 4 5 6 7\n1 2 3 4 5 6 1-2\n");
    const TempFile badPower("feldor_bad_power.txt", "Power = , watts\nX\n1 2 3 4 5 6 7\n");
    const TempFile noPower("feldor_no_power.txt", "Power = watts\nX\n1 2 3 4 5 6 7\n");
    const TempFile huge("feldor_huge.txt", "Power = 1 watts\nX\n1 2 1E19 4 5 6 7\n");
    const TempFile necNoPower("feldor_nec_no_power.out", "INPUT POWER = WATTS\n");
    const TempFile necBadPower("feldor_nec_bad_power.out", "INPUT POWER = 1.0E+02.5 WATTS\n");
    // The magnetic block of a NEC-Win Pro report is as long as the electric one (three lines):
    // here the file ends after two.
    const std::string nwp = [] {
        std::ifstream in(Data + "/nwp/basic.nou", std::ios::binary);
        std::string t((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::size_t end = t.find("NEAR MAGNETIC FIELDS");
        for (int k = 0; k < 7; ++k) end = t.find('\n', end) + 1;
        t.resize(end);
        return t;
    }();
    const TempFile necWinCut("feldor_cut.nou", nwp);
    const TempFile mmanaLong("feldor_long_field.txt",
                             "V/m\n1,2,3,4,5,6,7\n1,2," + std::string(100, 'x') + ",4,5,6,7\n");
    const TempFile mmanaUmlaut("feldor_umlaut_field.txt", "V/m\n1,2,3,4,5,6,\xFC\n");
    // A value beyond the range of Double would be read as infinite.
    const TempFile ezOverflow("feldor_overflow.txt", "Power = 100 watts\nX\n1 2 3 4 1e999 6 7\n");
    const TempFile nwpOverflow("feldor_overflow.nou", [] {
        std::ifstream in(Data + "/nwp/basic.nou", std::ios::binary);
        std::string t((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        t.replace(t.find("7.0956E+00"), 10, "7.0956E999");
        return t;
    }());
    const TempFile fourOverflow("feldor_overflow.out", [] {
        std::ifstream in(Data + "/4nec2/e_and_h.out", std::ios::binary);
        std::string t((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        t.replace(t.find("5.1639E-03"), 10, "   -1e999 ");
        return t;
    }());
    const TempFile mmanaOverflow("feldor_overflow_mmana.txt", "V/m\n1,2,3,4,5,6,1e400\n");
    // UTF-16 text (little-endian, as Windows writes it), with and without a byte-order mark.
    const auto utf16 = [](std::string_view ascii) {
        std::string r;
        for (char ch : ascii) r += std::string{ch, '\0'};
        return r;
    };
    const TempFile ezUtf16("feldor_utf16.txt", "\xFF\xFE" + utf16("Power = 100 watts\r\nX\r\n1 2 3 4 5 6 7\r\n"));
    const TempFile mmanaUtf16("feldor_utf16_mmana.txt", utf16("V/m\r\n1,2,3,4,5,6,7\r\n"));
    // nec2c's report of the example, cut short inside an electric line
    const TempFile dipoleCut("feldor_dipole_cut.out", [] {
        std::ifstream in(std::string(FELDOR_SOURCE_DIR) + "/samples/dipol20m.out", std::ios::binary);
        std::string t((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::size_t at = t.find("NEAR ELECTRIC FIELDS");
        for (int k = 0; k < 100; ++k) at = t.find('\n', at) + 1;
        t.resize(at + 50);
        return t;
    }());
    const struct {
        Reader reader;
        std::string file;
        std::string where;  // after "Datei <file>"
        std::string text;
    } cases[] = {
        // a file cut short in a data line
        {Reader::Eznec, Data + "/eznec/truncated.txt", ", Zeile 11: ",
         fieldLine + "; die Datei ist unvollständig oder keine EZNEC-Nahfeldausgabe"},
        {Reader::FourNec2, Data + "/4nec2/truncated.out", ", Zeile 35: ",
         fieldLine + "; die Datei ist unvollständig oder keine 4nec2-Nahfeldausgabe"},
        {Reader::MMana, Data + "/mmana/truncated.txt", ", Zeile 4: ",
         "Hier wird eine durch Kommas geteilte Zeile mit Koordinaten und Feldstärke erwartet; die "
         "Datei ist unvollständig oder keine MMANA-Nahfeldausgabe"},
        {Reader::Eznec, badNumber.path, ", Zeile 5: ",
         fieldLine + ", doch „1-2“ ist keine Zahl; die Datei ist keine EZNEC-Nahfeldausgabe"},
        {Reader::NecWin, badNumber.path, ": ",
         "Die Datei enthält keine Zeile mit „INPUT POWER“; die Datei ist keine NEC-Win-Pro-Ausgabe"},
        {Reader::Eznec, badPower.path, ", Zeile 1: ",
         "Hier wird die Leistung erwartet (z. B. „Power = 100 watts“), doch „,“ ist keine Zahl; die "
         "Datei ist keine EZNEC-Nahfeldausgabe"},
        {Reader::Eznec, noPower.path, ", Zeile 1: ",
         "Hier wird die Leistung erwartet (z. B. „Power = 100 watts“); die Datei ist keine "
         "EZNEC-Nahfeldausgabe"},
        {Reader::Eznec, huge.path, ", Zeile 3: ",
         fieldLine + ", doch eine Koordinate ist zu groß; die Datei ist keine EZNEC-Nahfeldausgabe"},
        {Reader::FourNec2, necNoPower.path, ", Zeile 1: ",
         "Hier wird die Eingangsleistung erwartet (z. B. „INPUT POWER = 1.0000E+02 WATTS“); die "
         "Datei ist keine 4nec2-Nahfeldausgabe"},
        {Reader::NecWin, necBadPower.path, ", Zeile 1: ",
         "Hier wird die Eingangsleistung erwartet (z. B. „INPUT POWER = 1.0000E+02 WATTS“), doch "
         "„1.0E+02.5“ ist keine Zahl; die Datei ist keine NEC-Win-Pro-Ausgabe"},
        {Reader::NecWin, necWinCut.path, ": ",
         "Die Datei endet, bevor die magnetischen Feldstärken so viele Zeilen haben wie die "
         "elektrischen; die Datei ist unvollständig"},
        // a long word is cut in the text; a Windows-1252 byte is shown decoded
        {Reader::MMana, mmanaLong.path, ", Zeile 3: ",
         "Hier wird eine durch Kommas geteilte Zeile mit Koordinaten und Feldstärke erwartet, doch „" +
             std::string(40, 'x') + "…“ ist keine Zahl; die Datei ist keine MMANA-Nahfeldausgabe"},
        {Reader::MMana, mmanaUmlaut.path, ", Zeile 2: ",
         "Hier wird eine durch Kommas geteilte Zeile mit Koordinaten und Feldstärke erwartet, doch "
         "„ü“ ist keine Zahl; die Datei ist keine MMANA-Nahfeldausgabe"},
        {Reader::FourNec2, dipoleCut.path, ", Zeile 240: ",
         fieldLine + "; die Datei ist unvollständig oder keine 4nec2-Nahfeldausgabe"},
        {Reader::Eznec, ezOverflow.path, ", Zeile 3: ",
         fieldLine + ", doch „1e999“ liegt außerhalb des Zahlenbereichs; die Datei ist keine "
                     "EZNEC-Nahfeldausgabe"},
        {Reader::NecWin, nwpOverflow.path, ", Zeile 20: ",
         fieldLine + ", doch „7.0956E999“ liegt außerhalb des Zahlenbereichs; die Datei ist keine "
                     "NEC-Win-Pro-Ausgabe"},
        {Reader::FourNec2, fourOverflow.path, ", Zeile 128: ",
         fieldLine + ", doch „-1e999“ liegt außerhalb des Zahlenbereichs; die Datei ist keine "
                     "4nec2-Nahfeldausgabe"},
        {Reader::MMana, mmanaOverflow.path, ", Zeile 2: ",
         "Hier wird eine durch Kommas geteilte Zeile mit Koordinaten und Feldstärke erwartet, doch "
         "„1e400“ liegt außerhalb des Zahlenbereichs; die Datei ist keine MMANA-Nahfeldausgabe"},
        // UTF-16: the encoding is named
        {Reader::Eznec, ezUtf16.path, ": ",
         "Die Datei enthält keine Zeile, die mit „Power“ beginnt; die Datei ist keine "
         "EZNEC-Nahfeldausgabe; die Datei ist UTF-16-kodiert, lesbar sind nur UTF-8 und Windows-1252"},
        {Reader::MMana, mmanaUtf16.path, ": ",
         "Die erste Zeile nennt weder „V/m“ noch „AT/m“; die Datei enthält kein MMANA-Nahfeld; die "
         "Datei ist UTF-16-kodiert, lesbar sind nur UTF-8 und Windows-1252"},
        // no line to name: the power line, a title or the units are missing
        {Reader::Eznec, Data + "/eznec/no_power.txt", ": ",
         "Die Datei enthält keine Zeile, die mit „Power“ beginnt; die Datei ist keine EZNEC-Nahfeldausgabe"},
        {Reader::Eznec, Data + "/eznec/empty.txt", ": ",
         "Die Datei enthält keine Zeile, die mit „Power“ beginnt; die Datei ist keine EZNEC-Nahfeldausgabe"},
        {Reader::NecWin, Data + "/nwp/no_magnetic.nou", ": ",
         "Die Datei enthält keine Zeile mit „NEAR MAGNETIC FIELDS“; die Datei ist unvollständig oder "
         "keine NEC-Win-Pro-Ausgabe"},
        {Reader::FourNec2, Data + "/4nec2/no_power.out", ": ",
         "Die Datei enthält keine Zeile mit „INPUT POWER“; die Datei ist keine 4nec2-Nahfeldausgabe"},
        {Reader::MMana, Data + "/mmana/no_unit.txt", ": ",
         "Die erste Zeile nennt weder „V/m“ noch „AT/m“; die Datei enthält kein MMANA-Nahfeld"},
        {Reader::MMana, Data + "/eznec/empty.txt", ": ",
         "Die erste Zeile nennt weder „V/m“ noch „AT/m“; die Datei enthält kein MMANA-Nahfeld"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ReaderRun run;
        try {
            Load(c.reader, c.file, run.ctx);
            ADD_FAILURE() << "no error";
        } catch (const rtl::Exception& e) {
            EXPECT_EQ(e.Message, "Datei " + c.file + c.where + c.text);
        }
    }
    // The opening error names the file already.
    ReaderRun run;
    const std::string missing = Data + "/eznec/does_not_exist.txt";
    try {
        LoadEznec(missing, run.ctx);
        ADD_FAILURE() << "no error";
    } catch (const rtl::EFOpenError& e) {
        EXPECT_EQ(e.Message.rfind("Datei " + missing + " kann nicht geöffnet werden. ", 0), 0u) << e.Message;
    }
}

// Copies a fixture with word K of its line Line (from 0) replaced by Text, the blanks kept.
std::string WithWord(const std::string& fixture, int Line, int K, const std::string& Text) {
    std::ifstream in(Data + "/" + fixture, std::ios::binary);
    std::string t((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t at = 0;
    for (int i = 0; i < Line; ++i) at = t.find('\n', at) + 1;
    for (int k = 0;; ++k) {
        at = t.find_first_not_of(' ', at);
        const std::size_t end = t.find_first_of(" \r\n", at);
        if (k == K) return t.replace(at, end - at, Text);
        at = end;
    }
}

// Text where a NEC report has a number ("NaN", "INF" as a Fortran runtime writes a value that
// is not finite) is refused with the line and the word: read as a separator, it would let the
// next column be read in its place (the phase 150.11 as the magnitude 7.0956). Every column
// of a data line, magnitudes and phases, electric and magnetic.
TEST_F(ReaderTest, TextInANecDataLineIsRefused) {
    const std::string line = "Hier wird eine Zeile mit Koordinaten und Feldstärken erwartet, doch ";
    struct Fixture {
        Reader reader;
        const char* file;
        int electric, magnetic;  // the second data line of each block, from 0
        const char* format;
    };
    const Fixture fixtures[] = {{Reader::NecWin, "nwp/basic.nou", 19, 37, "NEC-Win-Pro-Ausgabe"},
                                {Reader::FourNec2, "4nec2/e_and_h.out", 113, 127, "4nec2-Nahfeldausgabe"}};
    struct Column {
        int word;
        std::string text;
    };
    std::vector<Column> columns;
    for (int word : {3, 5, 7})
        for (const char* text : {"NaN", "INF", "-Inf", "nan", "Infinity"}) columns.push_back({word, text});
    for (int word : {4, 6, 8}) columns.push_back({word, "NaN"});
    columns.push_back({3, "1.#QNAN"});    // another runtime's way
    columns.push_back({7, "4.1697E-09x"});  // text joined to a number
    for (const Fixture& f : fixtures)
        for (int block : {f.electric, f.magnetic})
            for (const Column& c : columns) {
                const TempFile file("feldor_text_in_line.out", WithWord(f.file, block, c.word, c.text));
                SCOPED_TRACE(std::string(f.file) + " line " + std::to_string(block + 1) + " word " +
                             std::to_string(c.word) + " " + c.text);
                ReaderRun run;
                try {
                    Load(f.reader, file.path, run.ctx);
                    ADD_FAILURE() << "no error";
                } catch (const rtl::EConvertError& e) {
                    EXPECT_EQ(e.Message, "Datei " + file.path + ", Zeile " + std::to_string(block + 1) +
                                             ": " + line + "„" + c.text + "“ ist keine Zahl; die Datei ist keine " +
                                             f.format);
                }
                // Only the points of the lines before it: one electric line, or the electric
                // block and one magnetic line.
                EXPECT_EQ(run.Count(), block == f.electric ? 1 : 4);
            }
}

// Whatever a file holds, a reader that stops on it says so in words: no text of the class
// library's generic errors reaches the user. Every test file and random bytes (also after the
// lines that lead each reader to its data lines) through all four readers.
TEST_F(ReaderTest, NoErrorShowsAClassLibraryText) {
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(Data))
        if (e.is_regular_file()) files.push_back(e.path().string());
    const char* heads[] = {"", "Power = 100 watts\nX\n", "INPUT POWER = 1 W\nNEAR ELECTRIC FIELDS\n",
                           "V/m AT/m\n"};
    std::mt19937 rng(11);
    std::vector<std::unique_ptr<TempFile>> random;
    for (int k = 0; k < 8; ++k) {
        std::string bytes(20000, '\0');
        for (char& ch : bytes) ch = static_cast<char>(rng());
        random.push_back(std::make_unique<TempFile>("feldor_random" + std::to_string(k), heads[k % 4] + bytes));
        files.push_back(random.back()->path);
    }
    const char* generic[] = {"Listenindex", "Bereichsprüfung", "Gleitkommawert", "Stream-Lesefehler",
                             "Ungültige Gleitkommaoperation"};
    int errors = 0;
    for (const std::string& file : files)
        for (Reader r : {Reader::Eznec, Reader::NecWin, Reader::FourNec2, Reader::MMana}) {
            ReaderRun run;
            try {
                Load(r, file, run.ctx);
            } catch (const rtl::Exception& e) {
                ++errors;
                EXPECT_EQ(e.Message.rfind("Datei " + file, 0), 0u) << e.Message;
                for (const char* g : generic)
                    EXPECT_EQ(e.Message.find(g), std::string::npos) << e.Message;
            }
        }
    EXPECT_GT(errors, 100);
}

// A line longer than any near-field line (64 KiB) ends the reading as soon as it is seen, with the
// file and the line named, also in a 2 GB file without a line end (a hole: it takes no room).
TEST_F(ReaderTest, OverlongLineEndsTheReadingAtOnce) {
    const std::string title = "Feldor test\n";
    const std::string eznec = "Power = 100 watts\nX\n   1.0  2.0  3.0  1.0  0.0  0.0  1.0\n";
    const TempFile noEnd("feldor_no_end.txt", "", 2LL << 30);
    const TempFile afterUmlaut("feldor_umlaut.txt", "Feldst\xC3\xA4rke\r\nzwei\r\n", 8 << 20);
    const TempFile atLimit("feldor_at_limit.txt", std::string(MaxLineLength, 'a') + "\n" + eznec);
    const TempFile overLimit("feldor_over_limit.txt", title + std::string(MaxLineLength + 1, 'a') + "\n" + eznec);
    const TempFile overDecoded("feldor_over_decoded.txt",
                               "\xFC\n" + std::string(MaxLineLength + 1, 'a') + "\n" + eznec);
    ASSERT_FALSE(noEnd.path.empty());
    ASSERT_FALSE(afterUmlaut.path.empty());
    const struct {
        Reader reader;
        std::string file;
        int line;  // 0: read without error
    } cases[] = {
        {Reader::FourNec2, noEnd.path, 1},
        {Reader::Eznec, noEnd.path, 1},
        {Reader::MMana, afterUmlaut.path, 3},  // decoded as a whole after the non-ASCII line
        {Reader::NecWin, afterUmlaut.path, 3},
        {Reader::Eznec, atLimit.path, 0},
        {Reader::Eznec, overLimit.path, 2},
        {Reader::Eznec, overDecoded.path, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ReaderRun run;
        if (c.line == 0) {
            Load(c.reader, c.file, run.ctx);
            EXPECT_EQ(run.Count(), 1);
            continue;
        }
        try {
            Load(c.reader, c.file, run.ctx);
            ADD_FAILURE() << "no error";
        } catch (const ELineTooLong& e) {
            EXPECT_EQ(e.Line, c.line);
            EXPECT_EQ(e.Message, rtl::Format("Datei %s, Zeile %d: Die Zeile ist länger als 65536 "
                                             "Bytes; so lange Zeilen hat keine Nahfeld-Ausgabe",
                                             c.file, c.line));
        }
        EXPECT_EQ(run.Count(), 0);
    }
}

// Every letter but E and e, '_', '|', controls and non-ASCII characters separate words.
TEST_F(ReaderTest, DataWordsAreRunsOfNumberCharacters) {
    ReaderRun run;
    NearFieldText t = NearFieldText::FromText(
        "Power = 100 watts\nX\n1.04|2.0_3.0\t4.0 x5.0 \xC3\xBC" "6,0 V7.0e+00 trailing\n");
    ReadEznec(t, run.ctx);
    ASSERT_EQ(run.Count(), 1);
    ExpectPoint(run, {0, 1.0, 2.0, 3.0, 7.0, 4.0, 5.0, 6.0}, "words");
}

// The locale copy's separator decides: with '.' every number with a '.' (turned into ',') fails.
TEST_F(ReaderTest, ConversionFollowsTheLocaleCopy) {
    rtl::FormatSettings().DecimalSeparator = '.';
    ReaderRun run;
    EXPECT_THROW(LoadEznec(Data + "/eznec/basic.txt", run.ctx), rtl::EConvertError);
    EXPECT_EQ(run.Count(), 0);
    EXPECT_THROW(NumberWordToFloat("1.5"), rtl::EConvertError);
    EXPECT_EQ(NumberWordToFloat("15"), 15.0L);
}

TEST_F(ReaderTest, PowerNotAboveZeroKeepsTheDefault) {
    struct PowerCase {
        Reader reader;
        std::string text;
        double power;
        bool logged;
    } cases[] = {
        {Reader::Eznec, "Power = 0 watts\nX\n1 2 3 4 5 6 7\n", 100, true},
        {Reader::Eznec, "Power = 0,000 watts\nX\n1 2 3 4 5 6 7\n", 100, true},
        {Reader::Eznec, "Power = -5 watts\nX\n1 2 3 4 5 6 7\n", 5, false},  // '-' is no power character
        {Reader::Eznec, "Power = 12.5 watts\nX\n1 2 3 4 5 6 7\n", 12.5, false},
        {Reader::FourNec2, "INPUT POWER =  0.0000E+00 WATTS\n", 100, true},
        {Reader::NecWin, "INPUT POWER = -1.0000E+02 WATTS\n", 100, true},
        {Reader::FourNec2, "INPUT POWER = 2.5E+01 INPUT POWER = 1.0000E+01 WATTS\n", 10, false},
    };
    for (const PowerCase& c : cases) {
        SCOPED_TRACE(c.text);
        ReaderRun run;
        NearFieldText t = NearFieldText::FromText(c.text);
        if (c.reader == Reader::Eznec) ReadEznec(t, run.ctx);
        else if (c.reader == Reader::NecWin) ReadNecWin(t, run.ctx);
        else Read4nec2(t, run.ctx);
        EXPECT_EQ(run.power, c.power);
        EXPECT_EQ(run.info.size(), c.logged ? 1u : 0u);
        if (c.logged && !run.info.empty()) {
            EXPECT_NE(run.info[0].find("100 W"), std::string::npos) << run.info[0];
        }
    }
}

// Without a per-point pump, progress comes when the interval has passed and at a block's end.
TEST_F(ReaderTest, PumpingIsPacedButEndsAtTheLastPoint) {
    ReaderRun run;
    run.ctx.PumpInterval = std::chrono::hours(1);
    Load4nec2(std::string(FELDOR_SOURCE_DIR) + "/samples/dipol20m.out", run.ctx);
    EXPECT_EQ(run.Count(), 13448);
    EXPECT_EQ(run.gauge, (std::vector<int>{100, 100}));
    EXPECT_EQ(run.pumps, 2);
}

// The default context appends to the viewer's point set and sets its powers; points add up.
TEST_F(ReaderTest, DefaultContextAppendsToThePointSet) {
    ClearFeld2Dim();
    FeldorU::Power = 1;
    FeldorU::PowerShow = 10;
    ReaderContext ctx;
    LoadMMana(Data + "/mmana/basic.txt", ctx);
    LoadMMana(Data + "/mmana/basic.txt", ctx);
    EXPECT_EQ(FeldorU::PointCount(), 6);
    EXPECT_EQ(FeldorU::tx.Length(), 6);
    EXPECT_EQ(FeldorU::tz[3], 3.0);
    EXPECT_EQ(FeldorU::Power, 50);
    EXPECT_EQ(FeldorU::PowerShow, 750);
    ClearFeld2Dim();
}

TEST(GaugePercentTest, RoundsHalfToEvenAndHandlesOneLine) {
    EXPECT_EQ(GaugePercent(0, 3), 0);
    EXPECT_EQ(GaugePercent(1, 3), 33);
    EXPECT_EQ(GaugePercent(2, 3), 67);
    EXPECT_EQ(GaugePercent(1, 8), 12);  // 12.5
    EXPECT_EQ(GaugePercent(3, 8), 38);  // 37.5
    EXPECT_EQ(GaugePercent(0, 0), 100);
}

// The line buffer splits and decodes exactly as the string list does.
TEST(NearFieldTextTest, SameLinesAsTheStringList) {
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(Data))
        if (e.is_regular_file()) files.push_back(e.path().string());
    files.push_back(std::string(FELDOR_SOURCE_DIR) + "/samples/dipol20m.out");
    const std::string odd = ::testing::TempDir() + "/feldor_odd_lines.txt";
    {
        std::FILE* f = std::fopen(odd.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        const char bytes[] = "\xEF\xBB\xBF" "a\r\rb\r\n\r\nc\n\nd\re\xFC\xF6\x80\r";
        std::fwrite(bytes, 1, sizeof bytes - 1, f);
        std::fclose(f);
    }
    files.push_back(odd);
    ASSERT_GT(files.size(), 40u);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        rtl::TStringList sl;
        sl.LoadFromFile(file);
        const NearFieldText t = NearFieldText::FromFile(file);
        ASSERT_EQ(t.Count(), sl.Count());
        for (int i = 0; i < sl.Count(); ++i) ASSERT_EQ(std::string(t[i]), sl[i]) << "line " << i;
        EXPECT_THROW(t[t.Count()], rtl::EStringListError);
        EXPECT_THROW(t[-1], rtl::EStringListError);
    }
    std::remove(odd.c_str());
}

// Large files are read in pieces: lines and CR LF pairs that straddle a piece, CR-only line ends
// and a non-ASCII byte far into the file give the same lines as the string list.
TEST(NearFieldTextTest, PiecewiseReadingOfLargeFiles) {
    std::mt19937 rng(5);
    std::string base;
    const char* ends[] = {"\n", "\r\n", "\r"};
    while (base.size() < 1200000) {
        base += std::string(rng() % 120, static_cast<char>('a' + rng() % 26));
        base += ends[rng() % 3];
    }
    // A CR LF pair across the first piece boundary (256 KiB), a CR at the end of the second.
    base.replace(256 * 1024 - 1, 2, "\r\n");
    base.replace(512 * 1024 - 1, 2, "\rx");
    struct Variant {
        const char* name;
        std::string text;
    } variants[] = {
        {"ascii", base},
        {"cp1252 late", base.substr(0, 1000000) + "\xFC\xE4" + base.substr(1000000)},
        {"utf8 late", base.substr(0, 900000) + "\xC3\xBC" + base.substr(900000)},
        {"cr only", [] {
             std::string s;
             for (int k = 0; k < 12; ++k) s += std::string(60000, 'x') + "\r";
             return s + "\r";
         }()},
        // the last line without an end, across the first piece boundary
        {"no line end", base.substr(0, 230000) + std::string(60000, 'z')},
    };
    const std::string file = ::testing::TempDir() + "/feldor_large_lines.txt";
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        std::FILE* f = std::fopen(file.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(v.text.data(), 1, v.text.size(), f);
        std::fclose(f);
        rtl::TStringList sl;
        sl.LoadFromFile(file);
        const NearFieldText t = NearFieldText::FromFile(file);
        ASSERT_EQ(t.Count(), sl.Count());
        for (int i = 0; i < sl.Count(); ++i) ASSERT_EQ(std::string(t[i]), sl[i]) << "line " << i;
    }
    std::remove(file.c_str());
}

// The fast conversion path gives bit-identical results to StrToFloat(DotToComma(word)).
TEST(NumberWordTest, FastPathIsBitIdentical) {
    rtl::TFormatSettings saved = rtl::FormatSettings();
    rtl::FormatSettings().DecimalSeparator = ',';
    std::mt19937_64 rng(20240611);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto digits = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s.push_back(static_cast<char>('0' + pick(10)));
        return s;
    };
    int fastCount = 0, total = 0;
    for (int k = 0; k < 200000; ++k) {
        std::string w;
        char buf[64];
        switch (pick(4)) {
            case 0: {  // printf forms of random doubles over many magnitudes
                const double v = std::ldexp(static_cast<double>(rng() >> 11), pick(120) - 90) *
                                 (pick(2) ? -1 : 1);
                const char* fmts[] = {"%.4E", "%10.4f", "%.17g", "%.6e", "%.3f", "%.19g"};
                std::snprintf(buf, sizeof buf, fmts[pick(6)], v);
                w = buf;
                while (!w.empty() && w[0] == ' ') w.erase(0, 1);
                break;
            }
            default: {  // random decimal words
                if (pick(3) == 0) w.push_back(pick(2) ? '-' : '+');
                w += digits(pick(22));
                if (pick(3)) {
                    w.push_back(pick(2) ? '.' : ',');
                    w += digits(pick(22));
                }
                if (pick(2)) {
                    w.push_back(pick(2) ? 'E' : 'e');
                    if (pick(2)) w.push_back(pick(2) ? '-' : '+');
                    w += digits(pick(4));
                }
                break;
            }
        }
        ++total;
        long double slow = 0;
        std::string slowError;
        try {
            slow = rtl::StrToFloat(DotToComma(w));
        } catch (const rtl::EConvertError& e) {
            slowError = e.Message;
        }
        long double fast = 0;
        if (FastDecimalToFloat(w, fast)) {
            ++fastCount;
            ASSERT_TRUE(slowError.empty()) << w;
            ASSERT_TRUE(fast == slow && std::signbit(fast) == std::signbit(slow)) << w;
        }
        // The public conversion falls back for the rest: same value or same error.
        try {
            const long double v = NumberWordToFloat(w);
            ASSERT_TRUE(slowError.empty()) << w;
            ASSERT_TRUE(v == slow && std::signbit(v) == std::signbit(slow)) << w;
        } catch (const rtl::EConvertError& e) {
            ASSERT_EQ(e.Message, slowError) << w;
        }
    }
    EXPECT_GT(fastCount, total / 2);  // the comparison covers the fast path, not only the fallback
    rtl::FormatSettings() = saved;
}

// The inline coordinate rounding equals RoundDigits(1, v) bit for bit, ties and errors included.
TEST(RoundCoordinateTest, SameAsRoundDigits) {
    std::mt19937_64 rng(77);
    std::vector<double> values = {0.25, 0.35, -0.25, -0.35, 0.05, 0.15, 2.5, -2.45, 1e15, -1e17,
                                  4.6e17, 1e18, 1e300, -0.0, 0.0, -0.04, 123456.75};
    for (int k = 0; k < 200000; ++k) {
        const int e = static_cast<int>(rng() % 70) - 40;
        double v = std::ldexp(static_cast<double>(rng() >> 11), e - 53) * ((rng() & 1) ? -1 : 1);
        if (k % 3 == 0) v = std::round(v * 100) / 100 + 0.05;  // near the halfway points
        values.push_back(v);
    }
    int errors = 0;
    for (double v : values) {
        double slow = 0;
        try {
            slow = static_cast<double>(RoundDigits(1, v));
        } catch (const rtl::EInvalidOp&) {
            ++errors;
            EXPECT_THROW(RoundCoordinate(v), rtl::EInvalidOp) << v;
            continue;
        }
        const double fast = RoundCoordinate(v);
        ASSERT_TRUE(fast == slow && std::signbit(fast) == std::signbit(slow)) << v;
    }
    EXPECT_EQ(errors, 2);  // 1e18 and 1e300 lie outside the 64-bit range after scaling
    EXPECT_THROW(RoundCoordinate(1e300 * 1e10), rtl::EInvalidOp);  // infinite
    EXPECT_THROW(RoundCoordinate(std::nan("")), rtl::EInvalidOp);
}

// ---- Through the main window -------------------------------------------------------------

namespace {

class ReaderFrameTest : public ViewerFixture {
protected:
    // Top-level windows of the progress window's kind that still exist.
    static int ProgressWindows() {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowTitle().startsWith("Datei ")) ++n;
        return n;
    }
    std::string WriteFile(const std::string& name, const std::string& text) {
        const std::string path = dir + "/" + name;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) {
            ADD_FAILURE() << "cannot write " << path;
            return path;
        }
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        return path;
    }
};

}  // namespace

TEST(FileProgressTest, ClosesOnlyAtTheEndOfTheGauge) {
    gui::TApplication app;
    TFormFileProgress p(nullptr);
    EXPECT_EQ(p.ClientWidth(), 303);
    EXPECT_EQ(p.ClientHeight(), 40);
    EXPECT_EQ(p.FileGauge->BoundsRect(), gdi::Bounds(16, 8, 273, 25));
    p.Show();
    p.FileGauge->SetProgress(99);
    p.Close();
    EXPECT_TRUE(p.Visible());
    p.FileGauge->SetProgress(150);
    EXPECT_EQ(p.FileGauge->Progress(), 100);
    p.Close();
    EXPECT_FALSE(p.Visible());
}

// The frame reads into the point set, logs a power that is not above 0 and removes its progress
// window; a close request for the main window made during the read waits until the read is over.
TEST_F(ReaderFrameTest, ReadsLogsAndDefersAClose) {
    CreateWindows();
    const std::string file =
        WriteFile("zero.txt", "Power = 0 watts\nX\n1 2 3 4 5 6 7\n1 2 3,5 4 5 6 7\n");
    QCoreApplication::postEvent(form->Widget(), new QCloseEvent);
    form->LadenFeld2Dim(file);
    EXPECT_FALSE(app->Terminated());
    EXPECT_EQ(FeldorU::PointCount(), 2);
    EXPECT_EQ(FeldorU::tz[1], 3.5);
    EXPECT_EQ(FeldorU::Power, 100);
    EXPECT_EQ(FeldorU::PowerShow, 750);
    EXPECT_EQ(ProgressWindows(), 0);
    const std::string log = FormProgInfo->MeInfo->Lines()->Text();
    EXPECT_NE(log.find("nicht größer als 0"), std::string::npos) << log;
    QCoreApplication::processEvents();
    EXPECT_TRUE(app->Terminated());
}

// A failing reader still closes and frees its progress window; the error reaches the caller and
// the points read before stay.
TEST_F(ReaderFrameTest, FailingReaderRemovesItsWindow) {
    CreateWindows();
    EXPECT_THROW(form->LadenFeld2DimMMAna(Data + "/mmana/truncated.txt"), rtl::ERangeError);
    EXPECT_EQ(FeldorU::PointCount(), 2);
    EXPECT_EQ(FeldorU::Power, 50);
    EXPECT_EQ(ProgressWindows(), 0);
    EXPECT_THROW(form->LadenFeld2DimNecWin(Data + "/nwp/missing.nou"), rtl::EFOpenError);
    EXPECT_EQ(ProgressWindows(), 0);
}
