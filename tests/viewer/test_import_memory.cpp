// Peak memory of an import of 1,000,000 points through the menu: at most 1.5 times the raw point
// data (seven doubles, 56 bytes a point) above what the process held before, plus a fixed
// allowance for the read buffer, the map and the script window, also for files that are not
// plain ASCII; a geometry file larger than any real one is refused before it is read. The peak
// is the kernel's high-water mark of the resident set, reset before the import.
#include <gtest/gtest.h>

#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/ProcessMemory.h"
#include "viewer/NearFieldReaders.h"
#include "ViewerFixture.h"

#if defined(__SANITIZE_ADDRESS__)
#define FELDOR_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define FELDOR_SANITIZED 1
#endif
#endif

using namespace FeldorU;

namespace {

using testsupport::ResetPeak;
using testsupport::StatusKb;

constexpr int kSide = 100;  // 100 x 100 points per plane

// Title: a line of text before the power line (an encoding's letters in it).
void WriteEznec(const std::string& path, int points, const char* title = "Memory test") {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "%s\n\nPower = 100 watts\n\nElectric Field (V/m, RMS)\n\n", title);
    std::fprintf(f, "X (m)     Y (m)     Z (m)       Ex           Ey           Ez           E total\n");
    for (int i = 0; i < points; ++i) {
        const int r = i % (kSide * kSide);
        const double x = 0.5 * (r % kSide), y = 0.5 * (r / kSide), z = 0.5 + 0.5 * (i / (kSide * kSide));
        const double e = 30 / (1 + x + y + z);
        std::fprintf(f, "%9.3f %9.3f %9.3f   %10.4E   %10.4E   %10.4E   %10.4E\n", x, y, z, e, e / 2,
                     e / 3, e * 1.2);
    }
    std::fclose(f);
}

// Half the points electric, half magnetic, on the same planes: the import adds the impedance
// planes (another half).
void Write4nec2(const std::string& path, int points) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "\n INPUT POWER   =  1.0000E+02 Watts\n\n");
    for (int block = 0; block < 2; ++block) {
        std::fprintf(f, block == 0 ? " NEAR ELECTRIC FIELDS\n\n\n\n\n" : " NEAR MAGNETIC FIELDS\n\n\n\n\n");
        for (int i = 0; i < points / 2; ++i) {
            const int r = i % (kSide * kSide);
            const double x = 0.5 * (r % kSide), y = 0.5 * (r / kSide), z = 0.5 + 0.5 * (i / (kSide * kSide));
            const double v = (block == 0 ? 50 : 0.1) / (1 + x + y + z);
            std::fprintf(f, "%10.4f%10.4f%10.4f  %11.4E %7.2f  %11.4E %7.2f  %11.4E %7.2f\n", x, y, z,
                         v, 10.0, v / 2, 20.0, v / 3, 30.0);
        }
        std::fprintf(f, "\n\n");
    }
    std::fclose(f);
}

// Electric MMANA points with a unit line in Windows-1252 ("Feldstärke" with the byte 0xE4).
void WriteMMana(const std::string& path, int points) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "Feldst\xE4rke V/m\n");
    for (int i = 0; i < points; ++i) {
        const int r = i % (kSide * kSide);
        const double x = 0.5 * (r % kSide), y = 0.5 * (r / kSide), z = 0.5 + 0.5 * (i / (kSide * kSide));
        std::fprintf(f, "%.3f,%.3f,%.3f,0,0,0,%.4f\n", x, y, z, 30 / (1 + x + y + z));
    }
    std::fclose(f);
}

class ImportMemoryTest : public ViewerFixture {
protected:
    void Import(gui::TMenuItem* item, const std::string& file) {
        gui::FileDialogResult r;
        r.accepted = true;
        r.files = {file};
        r.filterIndex = 2;
        presenter->fileAnswers.push_back(r);
        item->Click();
    }
    // Imports File through Item and checks the peak against the points then in the set.
    void ExpectPeakNearTheData(gui::TMenuItem* item, const std::string& file, int minPoints,
                               const std::string& name) {
        malloc_trim(0);
        if (!ResetPeak() || StatusKb("VmHWM") < 0) GTEST_SKIP() << "no resettable peak here";
        const long base = StatusKb("VmRSS");
        Import(item, file);
        const long peak = StatusKb("VmHWM");
        ASSERT_GE(PointCount(), minPoints);
        const double raw = 56.0 * PointCount() / 1024;  // kB
        const double allowance = 4 * 1024;               // kB
        RecordProperty("peak_over_raw_" + name, std::to_string((peak - base) / raw));
        EXPECT_LE(peak - base, 1.5 * raw + allowance)
            << "base " << base << " kB, peak " << peak << " kB, points " << PointCount();
        std::remove(file.c_str());
    }
};

TEST_F(ImportMemoryTest, PeakOfAMillionPointsStaysNearTheData) {
#ifdef FELDOR_SANITIZED
    GTEST_SKIP() << "the sanitizers' own memory hides the figure";
#endif
    StartUp();
    form->MIDebugMode->SetChecked(false);
    nearfield::FrameWait = std::chrono::milliseconds(0);

    WriteEznec(dir + "/field.txt", 1'000'000);
    ExpectPeakNearTheData(form->MIEZNECOpen, dir + "/field.txt", 1'000'000, "eznec");

    // The reset gives the arrays' memory back.
    malloc_trim(0);
    const long before = StatusKb("VmRSS");
    form->MIClearAll->Click();
    malloc_trim(0);
    EXPECT_EQ(PointCount(), 0);
    EXPECT_LE(StatusKb("VmRSS"), before - static_cast<long>(56.0 * 1'000'000 / 1024));

    Write4nec2(dir + "/field.out", 1'000'000);
    ExpectPeakNearTheData(form->MI4nec2open, dir + "/field.out", 1'500'000, "4nec2");
    nearfield::FrameWait = std::chrono::milliseconds(200);
}

// A file with a byte above 127 is read in blocks as a plain ASCII one is: an EZNEC file with one
// UTF-8 letter in its title, and a MMANA file in Windows-1252.
TEST_F(ImportMemoryTest, PeakOfANonAsciiFileStaysNearTheData) {
#ifdef FELDOR_SANITIZED
    GTEST_SKIP() << "the sanitizers' own memory hides the figure";
#endif
    StartUp();
    form->MIDebugMode->SetChecked(false);
    nearfield::FrameWait = std::chrono::milliseconds(0);

    WriteEznec(dir + "/umlaut.txt", 1'000'000, "Feldst\xC3\xA4rke \xC3\xBC");
    ExpectPeakNearTheData(form->MIEZNECOpen, dir + "/umlaut.txt", 1'000'000, "eznec_utf8");
    form->MIClearAll->Click();

    WriteMMana(dir + "/cp1252.txt", 1'000'000);
    ExpectPeakNearTheData(form->MIMMANAOpen, dir + "/cp1252.txt", 1'000'000, "mmana_cp1252");
    nearfield::FrameWait = std::chrono::milliseconds(200);
}

// A geometry file larger than any real one (here 64 MB, a hole that takes no room on disk) is
// refused with its name before it is read.
TEST_F(ImportMemoryTest, LargeGeometryFileIsRefusedBeforeItIsRead) {
#ifdef FELDOR_SANITIZED
    GTEST_SKIP() << "the sanitizers' own memory hides the figure";
#endif
    StartUp();
    const std::string file = dir + "/Antenne.txt";
    {
        std::ofstream(file, std::ios::binary) << "4;0;-2,5;10\n";
    }
    ASSERT_EQ(::truncate(file.c_str(), 64LL << 20), 0);
    malloc_trim(0);
    if (!ResetPeak() || StatusKb("VmHWM") < 0) GTEST_SKIP() << "no resettable peak here";
    const long base = StatusKb("VmRSS");
    try {
        form->LoadAntenne(file);
        ADD_FAILURE() << "taken";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message.rfind("Datei " + file + ": ", 0), 0u) << e.Message;
    }
    const long peak = StatusKb("VmHWM");
    EXPECT_LE(peak - base, 4 * 1024) << "base " << base << " kB, peak " << peak << " kB";
    EXPECT_EQ(Antenne->Count(), 0);
}

}  // namespace
