// The road of one import: reset, dialog, readers, log lines, geometry, planes and picture.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

// An EZNEC near-field file of a 3 x 3 grid at the heights given.
void WriteEznec(const std::string& path, bool magnetic, std::initializer_list<double> heights) {
    std::ofstream f(path, std::ios::binary);
    f << "Feldor test\r\n\r\nFrequency = 14.15 MHz\r\nPower = 100 watts\r\n\r\n"
      << (magnetic ? "Magnetic Field (A/m, RMS)" : "Electric Field (V/m, RMS)") << "\r\n\r\n"
      << "X (m)     Y (m)     Z (m)       Ex           Ey           Ez           E total\r\n";
    for (double z : heights)
        for (int i = -1; i <= 1; ++i)
            for (int j = -1; j <= 1; ++j)
                f << i * 0.5 << "  " << j * 0.5 << "  " << z << "  1.0E+00  2.0E+00  2.0E+00  3.0E+00\r\n";
}

gui::FileDialogResult Chosen(std::initializer_list<std::string> files) {
    gui::FileDialogResult r;
    r.accepted = true;
    r.files = files;
    r.filterIndex = 2;
    return r;
}

}  // namespace

class ImportTest : public ViewerFixture {};

TEST_F(ImportTest, ElectricAndMagneticFilesGiveBothPlaneListsAndTwoLogLines) {
    StartUp();
    WriteEznec(dir + "/e.txt", false, {1.5, 2.0});
    WriteEznec(dir + "/h.txt", true, {1.5, 2.0});
    presenter->fileAnswers.push_back(Chosen({dir + "/e.txt", dir + "/h.txt"}));
    form->MIEZNECOpen->Click();

    ASSERT_EQ(presenter->fileDialogs.size(), 1u);
    const gui::FileDialogRequest& d = presenter->fileDialogs[0];
    EXPECT_EQ(d.title, "EZNEC Nahfeld-Ausgabedatei laden");
    EXPECT_EQ(d.filter, "Alle Dateien (*.*)|*.*|EZNEC - NF Ausgabedatei (*.txt)|*.txt");
    EXPECT_EQ(d.filterIndex, 2);
    EXPECT_TRUE(d.multiSelect);

    rtl::TStrings* log = FormProgInfo->MeInfo->Lines();
    int logLines = 0;
    for (int i = 0; i < log->Count(); ++i) {
        const std::string line = log->Get(i);
        if (line.find(" Uhr - # FeldPunkte neu: ") == std::string::npos) continue;
        ++logLines;
        EXPECT_NE(line.find(logLines == 1 ? "neu: 18    gesamt: 18 " : "neu: 18    gesamt: 36 "),
                  std::string::npos)
            << line;
    }
    EXPECT_EQ(logLines, 2);
    EXPECT_TRUE(HasEPlanes);
    EXPECT_TRUE(HasHPlanes);
    EXPECT_TRUE(FieldShown);
    EXPECT_EQ(PlaneList, DoubleArray({1.5, 2.0}));
    EXPECT_EQ(form->CBPlanes->Items()->Count(), 2);
    EXPECT_DOUBLE_EQ(PowerShow, 750);
    EXPECT_EQ(EZNECDir, dir);
    EXPECT_EQ(CurrentPlane->Count(), 9);
}

// Cancelling "&Öffnen" or an import dialog changes nothing: the field shown, its planes, map,
// geometry, measuring points, script lines, save target and directories stay.
TEST_F(ImportTest, CancelledDialogKeepsTheFieldShown) {
    StartUp();
    const std::string example = std::string(FELDOR_SOURCE_DIR) + "/samples/Beispiel.fdr";
    presenter->fileAnswers.push_back(Chosen({example}));
    form->MIOeffnen->Click();
    ASSERT_EQ(PointCount(), 20172);
    for (int px : {100, 300}) form->ImagePlay->OnMouseDown(form->ImagePlay, gui::mbLeft, 0, px, 200);
    ASSERT_EQ(FormMessExport->nof(), 2);

    struct State {
        int points, planes, measuringPoints, antenne, scriptLines;
        std::string plane, saveTarget, loadedFile, dirs;
        bool shown;
        gdi::TColor mapPixel, markPixel;
        bool operator==(const State&) const = default;
    };
    auto take = [&] {
        return State{PointCount(),
                     form->CBPlanes->Items()->Count(),
                     FormMessExport->nof(),
                     Antenne->Count(),
                     FormProgInfo->MeInfo->Lines()->Count(),
                     form->CBPlanes->Text(),
                     SaveTarget,
                     LoadedFile,
                     EZNECDir + "|" + Dir4nec2 + "|" + MMANADir + "|" + NECWinProDir + "|" + FeldorDir,
                     FieldShown,
                     form->ImageFeld->Canvas()->Pixels(284, 284),
                     form->ImagePlay->Canvas()->Pixels(100, 200)};
    };
    const State before = take();
    ASSERT_EQ(before.saveTarget, example);
    ASSERT_NE(before.mapPixel, gdi::clWhite);

    for (gui::TMenuItem* item : {form->MIOeffnen, form->MIEZNECOpen, form->MINecWinOpen,
                                 form->MI4nec2open, form->MIMMANAOpen}) {
        SCOPED_TRACE(item->Caption());
        const std::size_t asked = presenter->fileDialogs.size();
        item->Click();  // no answer queued: the presenter cancels
        EXPECT_EQ(presenter->fileDialogs.size(), asked + 1);
        EXPECT_TRUE(take() == before);
        EXPECT_EQ(PointCount(), 20172);
        EXPECT_EQ(FormMessExport->nof(), 2);
    }
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_F(ImportTest, MissingFileIsLoggedWithNoPoints) {
    StartUp();
    presenter->fileAnswers.push_back(Chosen({dir + "/fehlt.txt"}));
    form->MIEZNECOpen->Click();
    EXPECT_EQ(PointCount(), 0);
    EXPECT_NE(FormProgInfo->MeInfo->Lines()->Text().find("neu: 0    gesamt: 0 "), std::string::npos);
}

TEST_F(ImportTest, NecWinReportsAMissingFileInABox) {
    StartUp();
    presenter->fileAnswers.push_back(Chosen({dir + "/fehlt.nou"}));
    form->MINecWinOpen->Click();
    ASSERT_FALSE(presenter->boxes.empty());
    EXPECT_EQ(presenter->boxes[0].text,
              "Die Datei\r\n\r\n" + dir + "/fehlt.nou\r\n\r\nkonnte nicht gefunden werden!");
    EXPECT_EQ(FormProgInfo->MeInfo->Text().find(" Uhr - "), std::string::npos);
}

TEST_F(ImportTest, GeometryOfTheImportDirectoryIsLoadedAndReloaded) {
    StartUp();
    const std::string geo = std::string(FELDOR_TEST_DATA) + "/geometry/basic";
    WriteEznec(dir + "/e.txt", false, {1.5});
    presenter->fileAnswers.push_back(Chosen({dir + "/e.txt"}));
    form->MIEZNECOpen->Click();
    EXPECT_EQ(Antenne->Count(), 0);  // no geometry beside the import

    EZNECDir = geo;
    form->MINachladen->Click();
    EXPECT_EQ(Antenne->Count(), 4);
    EXPECT_EQ(Antenne->Names[0], "4");
    EXPECT_DOUBLE_EQ(Antenne->y[1], 5);
    EXPECT_GT(Boden->Count(), 0);
    EXPECT_EQ(form->laAntenne->Color(), 0x83E2ABu);
}

TEST_F(ImportTest, ReaderErrorEndsTheCommandWithTheErrorBox) {
    StartUp();
    const std::string bad = std::string(FELDOR_TEST_DATA) + "/eznec/truncated.txt";
    WriteEznec(dir + "/e.txt", false, {1.5});
    presenter->fileAnswers.push_back(Chosen({bad, dir + "/e.txt"}));
    presenter->boxes.clear();
    // As a user's menu choice: the error leaves the handler and reaches the error box, which
    // names the file and the line; the files after it are not read.
    EXPECT_FALSE(gui::InvokeHandler(form, [&] { form->MIEZNECOpen->Click(); }));
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].type, gui::TMsgDlgType::mtError);
    EXPECT_EQ(presenter->boxes[0].text, "Datei " + bad + ", Zeile 11: Hier wird eine Zeile mit "
                                        "Koordinaten und Feldstärken erwartet; die Datei ist "
                                        "unvollständig oder keine EZNEC-Nahfeldausgabe.");
    EXPECT_FALSE(FieldShown);
    EXPECT_EQ(PointCount(), 2);  // the points read before the bad line stay

    // The viewer goes on working.
    presenter->fileAnswers.push_back(Chosen({dir + "/e.txt"}));
    form->MIEZNECOpen->Click();
    EXPECT_TRUE(FieldShown);
    EXPECT_EQ(PointCount(), 9);
}

// Files that are read without an error but give no field point are named in one box; the
// command ends there, before a plane is looked for.
TEST_F(ImportTest, FilesWithoutFieldPointsAreNamed) {
    StartUp();
    const std::string data = FELDOR_TEST_DATA;
    const std::string noTitle = data + "/eznec/no_column_title.txt";  // no line begins with "X"
    const std::string unitsOnly = data + "/mmana/one_line.txt";
    std::filesystem::copy_file(noTitle, dir + "/copy.txt");
    struct Case {
        gui::TMenuItem* item;
        std::vector<std::string> files;
        std::string text;
    };
    const Case cases[] = {
        {form->MIEZNECOpen, {noTitle},
         "Datei " + noTitle + ": In der Datei wurden keine Feldpunkte gefunden."},
        {form->MIMMANAOpen, {unitsOnly},
         "Datei " + unitsOnly + ": In der Datei wurden keine Feldpunkte gefunden."},
        {form->MIEZNECOpen, {noTitle, dir + "/copy.txt"},
         "In den Dateien " + noTitle + ", " + dir + "/copy.txt wurden keine Feldpunkte gefunden."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        gui::FileDialogResult chosen{true, c.files, 2};
        presenter->fileAnswers.push_back(chosen);
        presenter->boxes.clear();
        EXPECT_FALSE(gui::InvokeHandler(form, [&] { c.item->Click(); }));
        ASSERT_EQ(presenter->boxes.size(), 1u);
        EXPECT_EQ(presenter->boxes[0].type, gui::TMsgDlgType::mtError);
        EXPECT_EQ(presenter->boxes[0].text, c.text);
        EXPECT_FALSE(FieldShown);
        EXPECT_EQ(form->CBPlanes->Text(), "-keine-");
    }
}

TEST_F(ImportTest, GeometryErrorNamesTheFileAndTheLine) {
    StartUp();
    {
        std::ofstream f(dir + "/Antenne.txt", std::ios::binary);
        f << "4;0;0;1\r\n0;0;5,5;x1\r\n";
    }
    EZNECDir = dir;
    presenter->boxes.clear();
    EXPECT_FALSE(gui::InvokeHandler(form, [&] { form->MINachladen->Click(); }));
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].text,
              "Datei " + dir + "/Antenne.txt, Zeile 2: Hier wird ein Punkt „Name;x;y;z“ erwartet "
              "(z. B. „4;0;-2,5;10“), doch „x1“ ist keine Zahl.");
    EXPECT_EQ(Antenne->Count(), 1);
}
