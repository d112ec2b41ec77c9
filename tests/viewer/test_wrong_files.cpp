// A file that cannot be read, chosen in "&Öffnen" or in an import, leaves the field shown as it
// was: the command reads into a field of its own and puts it in place only when all was read.
// The open dialog of "&Öffnen" has its own title and proposes no near-field file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

gui::FileDialogResult Chosen(std::vector<std::string> files) {
    gui::FileDialogResult r;
    r.accepted = true;
    r.files = std::move(files);
    r.filterIndex = 2;
    return r;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// An electric EZNEC file of a 3 x 3 grid at 1,5 m.
void WriteEznec(const std::string& path) {
    std::string s = "Feldor test\r\n\r\nPower = 100 watts\r\n\r\nElectric Field (V/m, RMS)\r\n\r\n"
                    "X (m)     Y (m)     Z (m)       Ex           Ey           Ez           E total\r\n";
    for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 1; ++j)
            s += std::to_string(i) + "  " + std::to_string(j) +
                 "  1.5  1.0E+00  2.0E+00  2.0E+00  3.0E+00\r\n";
    WriteBytes(path, s);
}

const std::string kSamples = std::string(FELDOR_SOURCE_DIR) + "/samples/";
const std::string kData = FELDOR_TEST_DATA;

}  // namespace

class WrongFileTest : public ViewerFixture {
protected:
    // What a user sees of the field and what "&Speichern" would write.
    struct State {
        int points, planes, measuringPoints, antenne, boden, fieldType, band, mode;
        double power, powerShow;
        std::string plane, saveTarget, loadedFile, readOut;
        bool shown;
        gdi::TColor antenneLabel, mapPixel, markPixel;
        bool operator==(const State&) const = default;
    };
    State Take() const {
        return State{PointCount(),
                     form->CBPlanes->Items()->Count(),
                     FormMessExport->nof(),
                     Antenne->Count(),
                     Boden->Count(),
                     form->RGFeldTyp->ItemIndex(),
                     form->CBBand->ItemIndex(),
                     form->CBMode->ItemIndex(),
                     Power,
                     PowerShow,
                     form->CBPlanes->Text(),
                     SaveTarget,
                     LoadedFile,
                     form->LAField->Caption(),
                     FieldShown,
                     form->laAntenne->Color(),
                     form->ImageFeld->Canvas()->Pixels(284, 284),
                     form->ImagePlay->Canvas()->Pixels(100, 200)};
    }
    // The example with two measuring points, its second plane at 50 W, the read-out on the map.
    void OpenExample() {
        StartUp();
        form->MIDebugMode->SetChecked(false);
        presenter->fileAnswers.push_back(Chosen({kSamples + "Beispiel.fdr"}));
        form->MIOeffnen->Click();
        ASSERT_EQ(PointCount(), 20172);
        form->CBPlanes->SetItemIndex(1);
        form->CBPlaneshange(nullptr);
        form->EditPWRShow->SetText("50");
        form->EditPWRShowExit(nullptr);
        for (int px : {100, 300}) form->ImagePlay->OnMouseDown(form->ImagePlay, gui::mbLeft, 0, px, 200);
        ASSERT_EQ(FormMessExport->nof(), 2);
        form->ImageFeldMouseMove(nullptr, 0, 200, 200);
        ASSERT_FALSE(form->LAField->Caption().empty());
    }
};

// Each wrong choice gives one box that names the file, and leaves points, measuring points,
// plane, field type, powers, band and mode, overlay, save target and read-out as they were.
TEST_F(WrongFileTest, WrongFilesKeepTheFieldShown) {
    OpenExample();
    const State before = Take();
    ASSERT_EQ(before.saveTarget, kSamples + "Beispiel.fdr");
    ASSERT_NE(before.mapPixel, gdi::clWhite);
    ASSERT_GT(before.antenne, 0);

    const std::string field = dir + "/Feld.fdr";
    std::filesystem::copy_file(kSamples + "Beispiel.fdr", field);
    const std::string random = dir + "/zufall.txt";
    {
        std::mt19937 gen(37);
        std::string bytes(20000, '\0');
        for (char& c : bytes) c = static_cast<char>(gen());
        WriteBytes(random, bytes);
    }
    const std::string cutField = dir + "/kurz.fdr";
    WriteBytes(cutField, ReadBytes(field).substr(0, 100000));
    const std::string folder = dir + "/Ordner";
    std::filesystem::create_directory(folder);
    const std::string good = dir + "/gut.txt";
    WriteEznec(good);
    // A good file whose folder holds a broken antenna file.
    const std::string geoDir = dir + "/geo";
    std::filesystem::create_directory(geoDir);
    WriteEznec(geoDir + "/gut.txt");
    WriteBytes(geoDir + "/Antenne.txt", "4;0;0;1\r\n0;0;5,5;x1\r\n");
    const std::string noPoints = kData + "/eznec/no_column_title.txt";

    struct Case {
        gui::TMenuItem* item;
        std::vector<std::string> files;
        std::string named;  // the file the box names
    };
    const std::string report = kSamples + "dipol20m.out";  // nec2c's near-field report
    const std::vector<Case> cases = {
        {form->MIOeffnen, {report}, report},
        {form->MIOeffnen, {random}, random},
        {form->MIOeffnen, {cutField}, cutField},
        {form->MIOeffnen, {folder}, folder},
        {form->MIEZNECOpen, {field}, field},
        {form->MIEZNECOpen, {random}, random},
        {form->MIEZNECOpen, {kData + "/eznec/truncated.txt"}, kData + "/eznec/truncated.txt"},
        {form->MIEZNECOpen, {good, random}, random},
        {form->MIEZNECOpen, {noPoints, folder}, folder},
        {form->MIEZNECOpen, {geoDir + "/gut.txt"}, geoDir + "/Antenne.txt"},
        {form->MIEZNECOpen, {dir + "/fehlt.txt"}, dir + "/fehlt.txt"},
        {form->MI4nec2open, {field}, field},
        {form->MI4nec2open, {random}, random},
        {form->MI4nec2open, {kData + "/4nec2/truncated.out"}, kData + "/4nec2/truncated.out"},
        {form->MI4nec2open, {folder}, folder},
        {form->MIMMANAOpen, {field}, field},
        {form->MIMMANAOpen, {random}, random},
        {form->MIMMANAOpen, {kData + "/mmana/truncated.txt"}, kData + "/mmana/truncated.txt"},
        {form->MIMMANAOpen, {kData + "/mmana/one_line.txt", folder}, folder},
        {form->MINecWinOpen, {field}, field},
        {form->MINecWinOpen, {random}, random},
        {form->MINecWinOpen, {folder}, folder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item->Caption() + " " + c.files.front());
        presenter->fileAnswers.push_back(Chosen(c.files));
        presenter->boxes.clear();
        gui::InvokeHandler(form, [&] { c.item->Click(); });
        ASSERT_EQ(presenter->boxes.size(), 1u);
        EXPECT_NE(presenter->boxes[0].text.find(c.named), std::string::npos)
            << presenter->boxes[0].text;
        EXPECT_TRUE(Take() == before);
        EXPECT_EQ(PointCount(), 20172);
        EXPECT_EQ(FormMessExport->nof(), 2);
        EXPECT_EQ(form->CBPlanes->Text(), before.plane);
        EXPECT_EQ(SaveTarget, before.saveTarget);
    }
    EXPECT_FALSE(gui::TBusyScope::Active());

    // The viewer goes on working: a good file with a folder beside it is read, the folder
    // logged with no points.
    presenter->fileAnswers.push_back(Chosen({folder, good}));
    presenter->boxes.clear();
    gui::InvokeHandler(form, [&] { form->MIEZNECOpen->Click(); });
    EXPECT_TRUE(presenter->boxes.empty()) << presenter->boxes[0].text;
    EXPECT_EQ(PointCount(), 9);
    EXPECT_TRUE(FieldShown);
    EXPECT_EQ(FormMessExport->nof(), 0);
    EXPECT_EQ(SaveTarget, "");
    const std::string log = FormProgInfo->MeInfo->Lines()->Text();
    EXPECT_NE(log.find("neu: 0    gesamt: 0 "), std::string::npos) << log;
    EXPECT_NE(log.find("neu: 9    gesamt: 9 "), std::string::npos) << log;
}

// The names of files that give no field point, a folder among them, in one box.
TEST_F(WrongFileTest, FolderIsNamedAsAFileWithoutPoints) {
    StartUp();
    const std::string folder = dir + "/Ordner";
    std::filesystem::create_directory(folder);
    const std::string noPoints = kData + "/eznec/no_column_title.txt";
    struct Case {
        std::vector<std::string> files;
        std::string text;
    } cases[] = {
        {{folder}, "Datei " + folder + ": In der Datei wurden keine Feldpunkte gefunden."},
        {{noPoints, folder},
         "In den Dateien " + noPoints + ", " + folder + " wurden keine Feldpunkte gefunden."},
    };
    for (const Case& c : cases) {
        presenter->fileAnswers.push_back(Chosen(c.files));
        presenter->boxes.clear();
        gui::InvokeHandler(form, [&] { form->MIEZNECOpen->Click(); });
        ASSERT_EQ(presenter->boxes.size(), 1u);
        EXPECT_EQ(presenter->boxes[0].text, c.text);
        EXPECT_EQ(form->CBPlanes->Text(), "-keine-");
    }
}

// "&Öffnen" shows its own title over the field-file filter, whatever import came before, and
// proposes the field file shown, never a near-field file.
TEST_F(WrongFileTest, OpenDialogHasItsOwnTitleAndProposesNoReport) {
    StartUp();
    const std::string good = dir + "/gut.txt";
    WriteEznec(good);
    for (gui::TMenuItem* import : {form->MI4nec2open, form->MIEZNECOpen}) {
        presenter->fileAnswers.push_back(Chosen({import == form->MIEZNECOpen ? good
                                                 : kData + "/4nec2/e_and_h.out"}));
        import->Click();
        ASSERT_TRUE(FieldShown);
        form->MIOeffnen->Click();  // cancelled
        const gui::FileDialogRequest& d = presenter->fileDialogs.back();
        EXPECT_EQ(d.title, "Feldor-Datei öffnen");
        EXPECT_EQ(d.filter, "Alle Dateien (*.*)|*.*|FELDOR - Datei (*.fdr)|*.fdr");
        EXPECT_EQ(d.filterIndex, 2);
        EXPECT_EQ(d.fileName, "");
    }
    presenter->fileAnswers.push_back(Chosen({kSamples + "Beispiel.fdr"}));
    form->MIOeffnen->Click();
    ASSERT_EQ(PointCount(), 20172);
    form->MIOeffnen->Click();
    EXPECT_EQ(presenter->fileDialogs.back().fileName, kSamples + "Beispiel.fdr");
    EXPECT_EQ(presenter->fileDialogs.back().title, "Feldor-Datei öffnen");

    // The imports keep their own titles after it.
    form->MIMMANAOpen->Click();
    EXPECT_EQ(presenter->fileDialogs.back().title, "MMANA Nahfeld-Ausgabedatei laden");
}
