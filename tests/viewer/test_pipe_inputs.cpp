// A named pipe where the viewer expects a file (near-field file, field file, geometry file, the
// command line's file, Feldor.ini) is refused at once with the open error, never waited on.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>

#include "tests/support/BlockingFifo.h"
#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

using Clock = std::chrono::steady_clock;

std::string Refusal(const std::string& file) {
    return "Datei " + file + " kann nicht geöffnet werden. Keine gewöhnliche Datei.";
}

gui::FileDialogResult Chosen(const std::string& file) {
    gui::FileDialogResult r;
    r.accepted = true;
    r.files = {file};
    r.filterIndex = 2;
    return r;
}

}  // namespace

class PipeInputTest : public ViewerFixture {
protected:
    void TearDown() override {
        const char* argv[] = {"feldor"};
        rtl::SetCommandLine(1, const_cast<char**>(argv));
        ViewerFixture::TearDown();
    }
};

// Each command chooses the pipe (or finds it beside its near-field file) and ends with one error
// box that names it.
TEST_F(PipeInputTest, MenuCommandsRefuseAPipeAtOnce) {
    StartUp();
    const std::string good = dir + "/e.txt";
    {
        std::ofstream f(good, std::ios::binary);
        f << "Feldor test\r\n\r\nPower = 100 watts\r\n\r\nElectric Field (V/m, RMS)\r\n\r\n"
             "X (m)     Y (m)     Z (m)       Ex           Ey           Ez           E total\r\n";
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                f << i << "  " << j << "  2  1.0E+00  2.0E+00  2.0E+00  3.0E+00\r\n";
    }
    const struct {
        const char* name;
        gui::TMenuItem* item;
        std::string pipe;     // made as a pipe
        std::string choose;  // the file chosen in the dialog
    } cases[] = {
        {"EZNEC", form->MIEZNECOpen, dir + "/nf.txt", dir + "/nf.txt"},
        {"NEC-Win Pro", form->MINecWinOpen, dir + "/nf.nou", dir + "/nf.nou"},
        {"4nec2", form->MI4nec2open, dir + "/nf.csv", dir + "/nf.csv"},
        {"MMANA", form->MIMMANAOpen, dir + "/nf.txt", dir + "/nf.txt"},
        {"field file", form->MIOeffnen, dir + "/feld.fdr", dir + "/feld.fdr"},
        {"Antenne.txt", form->MIEZNECOpen, dir + "/Antenne.txt", good},
        {"Boden.txt", form->MIEZNECOpen, dir + "/Boden.txt", good},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BlockingFifo pipe(c.pipe);
        presenter->boxes.clear();
        presenter->fileAnswers.push_back(Chosen(c.choose));
        const auto start = Clock::now();
        gui::InvokeHandler(form, [&] { c.item->Click(); });
        const auto took = Clock::now() - start;
        EXPECT_FALSE(pipe.Unblocked());
        EXPECT_LT(took, std::chrono::seconds(3));
        ASSERT_EQ(presenter->boxes.size(), 1u);
        EXPECT_EQ(presenter->boxes[0].text, Refusal(c.pipe));
        EXPECT_TRUE(pipe.StillAFifo());
    }
}

TEST_F(PipeInputTest, FieldFileOnTheCommandLineIsRefusedAtOnce) {
    BlockingFifo pipe(dir + "/start.fdr");
    std::string arg0 = "feldor", arg1 = pipe.Path();
    char* argv[] = {arg0.data(), arg1.data()};
    rtl::SetCommandLine(2, argv);
    const auto start = Clock::now();
    // An error here ends the program with the start-up error box (the main block shows it).
    try {
        StartUp();
        ADD_FAILURE() << "opened";
    } catch (const rtl::EFOpenError& e) {
        EXPECT_EQ(e.Message + ".", Refusal(pipe.Path()));
    }
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
    EXPECT_FALSE(pipe.Unblocked());
}

// A pipe named Feldor.ini: said once at the start, the defaults hold, and closing leaves it.
TEST_F(PipeInputTest, SettingsFileThatIsAPipeIsSaidOnceAndLeftAlone) {
    BlockingFifo pipe(IniPath());
    const auto start = Clock::now();
    StartUp();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].text,
              Refusal(IniPath()) +
                  "\r\nFeldor beginnt mit den Grundeinstellungen und überschreibt die Datei beim "
                  "Beenden nicht.");
    EXPECT_EQ(form->Top(), 10);
    EXPECT_EQ(EZNECDir, dir + "/");

    form->Close();
    EXPECT_TRUE(app->Terminated());
    EXPECT_EQ(presenter->boxes.size(), 1u);
    EXPECT_FALSE(pipe.Unblocked());
    EXPECT_TRUE(pipe.StillAFifo());
}
