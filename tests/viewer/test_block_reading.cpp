// Files read in blocks give what the whole text split into lines gives: the same points, powers,
// progress and errors, on the fixtures and on generated files whose line ends, blank lines and
// long lines fall at every place relative to the blocks.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <typeinfo>
#include <unistd.h>
#include <random>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "viewer/FileErrors.h"
#include "viewer/NearFieldReaders.h"

using namespace nearfield;

namespace {

struct Outcome {
    DoubleArray a[7];
    double power = -1, powerShow = -1;
    std::vector<int> gauge;
    std::vector<std::string> info;
    std::string error;  // type and message of the error that left the reader

    bool operator==(const Outcome& o) const {
        for (int k = 0; k < 7; ++k)
            if (a[k].Length() != o.a[k].Length() ||
                (!a[k].empty() &&
                 std::memcmp(a[k].data(), o.a[k].data(), sizeof(double) * a[k].vec().size()) != 0))
                return false;
        return power == o.power && powerShow == o.powerShow && gauge == o.gauge &&
               info == o.info && error == o.error;
    }
};

template <class Run>
Outcome Capture(Run run) {
    Outcome o;
    ReaderContext ctx;
    ctx.Points = {&o.a[0], &o.a[1], &o.a[2], &o.a[3], &o.a[4], &o.a[5], &o.a[6]};
    ctx.Power = &o.power;
    ctx.PowerShow = &o.powerShow;
    ctx.Progress = [&o](int p) { o.gauge.push_back(p); };
    ctx.Info = [&o](const std::string& s) { o.info.push_back(s); };
    ctx.PumpInterval = std::chrono::steady_clock::duration::zero();
    try {
        run(ctx);
    } catch (const rtl::Exception& e) {
        o.error = std::string(typeid(e).name()) + ": " + e.Message;
    }
    return o;
}

enum class Format { Eznec, NecWin, FourNec2, MMana };

// The file read in blocks against its whole text read into lines; what the blocks gave.
Outcome ExpectSameAsWholeText(Format f, const std::string& file) {
    const Outcome blocks = Capture([&](ReaderContext& c) {
        switch (f) {
            case Format::Eznec: LoadEznec(file, c); break;
            case Format::NecWin: LoadNecWin(file, c); break;
            case Format::FourNec2: Load4nec2(file, c); break;
            case Format::MMana: LoadMMana(file, c); break;
        }
    });
    const Outcome whole = Capture([&](ReaderContext& c) {
        // The powers set before the file is loaded and the error named, as the readers of a file
        // do it.
        *c.PowerShow = ReaderPowerShow;
        *c.Power = f == Format::MMana ? MMANAPower : ReaderPower;
        try {
            NearFieldText l = NearFieldText::FromFile(file);
            switch (f) {
                case Format::Eznec: ReadEznec(l, c); break;
                case Format::NecWin: ReadNecWin(l, c); break;
                case Format::FourNec2: Read4nec2(l, c); break;
                case Format::MMana: ReadMMana(l, c); break;
            }
        } catch (ELineTooLong& e) {
            NameFileInError(e, file, e.Line);
            throw;
        } catch (rtl::EFOpenError&) {
            throw;
        } catch (rtl::Exception& e) {
            NameFileInError(e, file, c.Line + 1);
            NameEncodingInError(e, file);
            throw;
        }
    });
    EXPECT_TRUE(blocks == whole) << file << ": " << blocks.a[3].Length() << " / "
                                 << whole.a[3].Length() << " points, errors '" << blocks.error
                                 << "' / '" << whole.error << "'";
    return blocks;
}

TEST(BlockReading, FixturesReadAsTheWholeText) {
    rtl::FormatSettings().DecimalSeparator = ',';
    namespace fs = std::filesystem;
    const fs::path data = FELDOR_TEST_DATA;
    const std::pair<const char*, Format> folders[] = {
        {"eznec", Format::Eznec},      {"fuzz/eznec", Format::Eznec}, {"nwp", Format::NecWin},
        {"4nec2", Format::FourNec2},   {"mmana", Format::MMana},
    };
    int files = 0;
    for (const auto& [folder, format] : folders)
        for (const auto& e : fs::directory_iterator(data / folder)) {
            ExpectSameAsWholeText(format, e.path().string());
            // Every file through every reader: the errors must agree too.
            for (Format other : {Format::Eznec, Format::NecWin, Format::FourNec2, Format::MMana})
                ExpectSameAsWholeText(other, e.path().string());
            ++files;
        }
    EXPECT_GT(files, 30);
}

class GeneratedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        rtl::FormatSettings().DecimalSeparator = ',';
        dir = std::filesystem::temp_directory_path() /
              ("feldor-blocks-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::filesystem::path dir;
};

// Large files (several blocks, thousands of lines past the checkpoints) with mixed line ends,
// a CR right before a block border, blank lines, a line as long as a line may be, and one longer;
// text in UTF-8, and text that one byte far into the file makes Windows-1252 as a whole (then a
// last line "\xC3\xBC" is two characters and read as a data line, not dropped).
TEST_F(GeneratedFiles, ReadAsTheWholeTextWhereverTheBlocksEnd) {
    std::mt19937 rng(3);
    const char* ends[] = {"\n", "\r\n", "\r"};
    const auto point = [&rng](std::string& t, int i, const char* end) {
        std::uniform_real_distribution<double> v(-30, 30);
        t += std::to_string(i % 50 * 0.5) + " " + std::to_string(i / 50 * 0.5) + " 2.5  " +
             std::to_string(v(rng)) + " 1.0E-01 " + std::to_string(v(rng)) + " 12 " +
             std::to_string(v(rng)) + " 0.5 " + std::to_string(std::abs(v(rng))) + end;
    };
    for (int variant = 0; variant < 6; ++variant) {
        const char* end = ends[variant % 3];
        const bool mixed = variant >= 3;
        std::uniform_int_distribution<int> pickEnd(0, 2);
        const auto e = [&]() { return mixed ? ends[pickEnd(rng)] : end; };

        std::string ez = variant == 4 ? "\xEF\xBB\xBF" : "";
        if (variant == 3 || variant == 5) ez += std::string("Feldst\xC3\xA4rke") + e();
        ez += std::string("Title") + e() + "Power = 100 watts" + e() + "Electric Field" + e() +
              "X (m) Y (m) Z (m)" + e();
        for (int i = 0; i < 12000; ++i) {
            point(ez, i, e());
            if (variant == 5 && i == 9000) ez += "1 2 3 4 5 6 7 \xFC" + std::string(e());
        }
        if (variant == 2) ez += std::string(MaxLineLength - 13, ' ') + "1 1 1 1 1 1 1" + e();
        if (variant == 3 || variant == 5) ez += "\xC3\xBC";  // one character in UTF-8 only
        else if (variant != 1) ez += "x";                    // a one-character last line
        const Outcome o = ExpectSameAsWholeText(Format::Eznec, Write("ez" + std::to_string(variant), ez));
        if (variant == 3) {
            EXPECT_EQ(o.error, "");
        } else if (variant == 5) {
            EXPECT_NE(o.error.find(", Zeile 12007: Hier wird eine Zeile mit"), std::string::npos) << o.error;
        }

        // 4nec2 with the magnetic block first: the reader goes back for the electric one.
        std::string nec = std::string("INPUT POWER =  2.5000E+01 Watts") + e() + e();
        nec += std::string("NEAR MAGNETIC FIELDS") + e() + e() + e() + e() + e();
        for (int i = 0; i < 9000; ++i) point(nec, i, e());
        nec += e();
        nec += std::string("NEAR ELECTRIC FIELDS") + e() + e() + e() + e() + e();
        for (int i = 0; i < 9000; ++i) point(nec, i, e());
        if (variant == 5) nec += "1 2 3 garbage" + std::string(e());
        if (variant == 2) nec += std::string(MaxLineLength + 1, '9') + e();  // the reading ends
        ExpectSameAsWholeText(Format::FourNec2, Write("nec" + std::to_string(variant), nec));
        ExpectSameAsWholeText(Format::NecWin, Write("nwp" + std::to_string(variant), nec));

        std::string mm = std::string("V/m AT/m") + e();
        for (int i = 0; i < 9000; ++i)
            mm += std::to_string(i % 40) + "," + std::to_string(i / 40) + ",1.5,a,b,c," +
                  std::to_string(i * 0.25) + e();
        // A field that is no number, quoted in the error as decoded.
        if (variant >= 3) mm += "1,2,3,4,5,6,\xC3\xA4" + std::string(e());
        if (variant == 5) mm += "\xFC" + std::string(e());
        const Outcome m = ExpectSameAsWholeText(Format::MMana, Write("mm" + std::to_string(variant), mm));
        if (variant >= 3) {
            EXPECT_NE(m.error.find(variant == 5 ? "doch „Ã¤“ ist" : "doch „ä“ ist"), std::string::npos)
                << m.error;
        }
    }
}

// A CR at every position around the first block border: an LF that follows in the next block
// belongs to the same line end.
TEST_F(GeneratedFiles, LineEndAcrossTheBlockBorder) {
    const std::size_t border = 256 * 1024;
    for (std::size_t at = border - 3; at <= border + 1; ++at) {
        std::string t = "Power = 10 watts\r\nX\r\n";
        const std::string line = "1 2 3 4 5 6 7\r\n";
        while (t.size() + line.size() + 13 < at) t += line;
        // The CR of this line at `at`.
        t += std::string(at - t.size() - 13, ' ') + "1 2 3 4 5 6 7\r\n" + line + line;
        ExpectSameAsWholeText(Format::Eznec, Write("cr" + std::to_string(at), t));
    }
}

}  // namespace
