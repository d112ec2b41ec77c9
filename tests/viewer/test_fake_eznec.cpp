// The synthetic EZNEC file window: generated text, refusal of bad input, saving, and the round
// trip of saved files through the EZNEC reader; the launcher in the tools menu.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/DateTimeLib.h"
#include "platform/rtl/SysUtils.h"
#include "viewer/FakeEZNECFile.h"
#include "viewer/FeldorVars.h"
#include "viewer/NearFieldReaders.h"
#include "ViewerFixture.h"

namespace {

std::string ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> DirEntries(const std::string& d) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(d))
        names.push_back(e.path().filename().string());
    return names;
}

// The points and powers one EZNEC read gives.
struct ReadBack {
    DoubleArray tx, ty, tz, tE, tEx, tEy, tEz;
    double power = -1, powerShow = -1;
    nearfield::ReaderContext ctx;
    ReadBack() {
        ctx.Points = {&tx, &ty, &tz, &tE, &tEx, &tEy, &tEz};
        ctx.Power = &power;
        ctx.PowerShow = &powerShow;
        ctx.Progress = [](int) {};
        ctx.Pump = [] {};
        ctx.Info = [](const std::string&) {};
    }
};

class FakeEznecTest : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        ownApp = std::make_unique<gui::TApplication>();
        ownApp->SetTitle("Feldor");
        app = ownApp.get();
        fake.reset(gui::CreateForm<TFormFakeEZNECFile>(nullptr));
    }
    void TearDown() override {
        fake.reset();
        ownApp.reset();
        ViewerFixture::TearDown();
    }
    std::unique_ptr<gui::TApplication> ownApp;
    // The memo's lines.
    std::vector<std::string> MemoLines() const {
        std::vector<std::string> v;
        const rtl::TStrings* lines = fake->Memo->Lines();
        for (int i = 0; i < lines->Count(); ++i) v.push_back(lines->Get(i));
        return v;
    }
    // A click as the user makes it: an exception ends in the error box.
    static void UserClick(gui::TButton* b) { gui::InvokeHandler(b, [b] { b->Click(); }); }
    // Saves the memo through the dialog to `path`; returns the dialog request.
    gui::FileDialogRequest SaveTo(const std::string& path) {
        presenter->fileAnswers.push_back({true, {path}, 1});
        UserClick(fake->ButSave);
        EXPECT_FALSE(presenter->fileDialogs.empty());
        return presenter->fileDialogs.empty() ? gui::FileDialogRequest{}
                                              : presenter->fileDialogs.back();
    }
    void SetGrid(const char* const (&texts)[9]) {
        gui::TEdit* edits[9] = {fake->EditStartX, fake->EditStopX, fake->EditStepX,
                                fake->EditStartY, fake->EditStopY, fake->EditStepY,
                                fake->EditStartZ, fake->EditStopZ, fake->EditStepZ};
        for (int i = 0; i < 9; ++i) edits[i]->SetText(texts[i]);
    }

    std::unique_ptr<TFormFakeEZNECFile> fake;
};

TEST_F(FakeEznecTest, DefaultGridRoundTripsThroughTheReader) {
    struct Case {
        int item;
        const char* file;
        double stored;    // height offset the reader gives the field type
        double value;     // total and z component
        const char* maxLine;
        const char* typeLine;
        const char* columns;
    };
    const Case cases[] = {
        {0, "E.txt", 0, 1, "Max field = 100,0000 V/m RMS", "Electric (E) Field (V/m RMS)",
         "X (m)      Y (m)      Z (m)       Ex Mag     Ey Mag     Ez Mag     Etot"},
        {1, "H.txt", 100, 0.00265, "Max field = 100,0000 A/m RMS", "Magnetic (H) Field (A/m RMS)",
         "X (m)      Y (m)      Z (m)       Hx Mag     Hy Mag     Hz Mag     Htot"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        fake->RGFeldTyp->SetItemIndex(c.item);
        const std::string dateBefore = NowDateString();
        UserClick(fake->ButErzeugen);
        const std::string dateAfter = NowDateString();
        EXPECT_TRUE(presenter->boxes.empty());

        const std::vector<std::string> lines = MemoLines();
        ASSERT_EQ(lines.size(), 14u + 75u);
        EXPECT_EQ(lines[0], "                      EZNEC+ ver. 4.0");
        EXPECT_EQ(lines[1], "");
        EXPECT_EQ(lines[2].substr(0, 40), "40m-Dipol" + std::string(31, ' '));
        const std::string date = lines[2].substr(40, dateBefore.size());
        EXPECT_TRUE(date == dateBefore || date == dateAfter) << lines[2];
        EXPECT_EQ(lines[2][51], ' ');
        EXPECT_NE(lines[2][52], ' ');
        EXPECT_EQ(lines[4], "         --------------- NEAR-FIELD PATTERN DATA ---------------");
        EXPECT_EQ(lines[6], "Frequency = 7,05 MHz");
        EXPECT_EQ(lines[7], "Power = 100 watts");
        EXPECT_EQ(lines[8], c.maxLine);
        EXPECT_EQ(lines[9], " at X,Y,Z = 1, 1, 1 m");
        EXPECT_EQ(lines[11], c.typeLine);
        EXPECT_EQ(lines[13], c.columns);
        for (int i : {3, 5, 10, 12}) EXPECT_EQ(lines[i], "");
        // x fastest, then y, z slowest; fields at the fixed columns.
        EXPECT_EQ(lines[14].substr(0, 33), "-10,00000  -10,00000   2,00000   ");
        EXPECT_EQ(lines[15].substr(0, 11), "-5,00000   ");
        EXPECT_EQ(lines[19].substr(0, 19), "-10,00000  -5,00000");
        EXPECT_EQ(lines[88].substr(0, 33), "10,00000   10,00000   12,00000   ");
        if (c.item == 0)
            EXPECT_EQ(lines[14].substr(33), " 0,00000    0,00000    1,00000    1,00000");
        else
            EXPECT_EQ(lines[14].substr(33), " 0,00000    0,00000    0,00265    0,00265");

        const std::string path = dir + "/" + c.file;
        const gui::FileDialogRequest req = SaveTo(path);
        EXPECT_EQ(req.kind, gui::FileDialogRequest::Kind::Save);
        EXPECT_EQ(req.fileName, c.file);
        EXPECT_EQ(req.defaultExt, "txt");
        EXPECT_EQ(req.filter, "Alle Dateien (*.*)|*.*|TextDateien (*.txt)|*.txt");
        EXPECT_EQ(req.initialDir, fake->InitialDir);

        std::string expected;
        for (const std::string& l : lines) expected += l + "\r\n";
        EXPECT_EQ(ReadBytes(path), expected);

        ReadBack r;
        nearfield::LoadEznec(path, r.ctx);
        ASSERT_EQ(r.tE.Length(), 75);
        EXPECT_EQ(r.power, 100);
        std::set<double> xs(r.tx.begin(), r.tx.end()), ys(r.ty.begin(), r.ty.end()),
            zs(r.tz.begin(), r.tz.end());
        EXPECT_EQ(xs, (std::set<double>{-10, -5, 0, 5, 10}));
        EXPECT_EQ(ys, (std::set<double>{-10, -5, 0, 5, 10}));
        EXPECT_EQ(zs, (std::set<double>{2 + c.stored, 7 + c.stored, 12 + c.stored}));
        for (int i = 0; i < 75; ++i) {
            EXPECT_DOUBLE_EQ(r.tE[i], c.value);
            EXPECT_DOUBLE_EQ(r.tEz[i], c.value);
            EXPECT_EQ(r.tEx[i], 0);
            EXPECT_EQ(r.tEy[i], 0);
        }
        EXPECT_EQ(r.tx[1], -5);
        EXPECT_EQ(r.ty[5], -5);
        EXPECT_EQ(r.tz[25], 7 + c.stored);
    }
}

TEST_F(FakeEznecTest, HeaderNumbers) {
    struct Case {
        const char* power;
        const char* freq;
        const char* powerLine;
        const char* freqLine;
        double readPower;
    };
    const Case cases[] = {
        {"100,4", "7,05", "Power = 100 watts", "Frequency = 7,05 MHz", 100},
        {"1e2", "14", "Power = 100 watts", "Frequency = 14,00 MHz", 100},
        {"2,5", "3,6", "Power = 3 watts", "Frequency = 3,60 MHz", 3},
        {"750", "144,3", "Power = 750 watts", "Frequency = 144,30 MHz", 750},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.power);
        fake->EditLeistung->SetText(c.power);
        fake->EditFrequenz->SetText(c.freq);
        UserClick(fake->ButErzeugen);
        const std::vector<std::string> lines = MemoLines();
        ASSERT_GE(lines.size(), 14u);
        EXPECT_EQ(lines[7], c.powerLine);
        EXPECT_EQ(lines[6], c.freqLine);
        ReadBack r;
        auto text = nearfield::NearFieldText::FromText(fake->Memo->Lines()->Text());
        nearfield::ReadEznec(text, r.ctx);
        EXPECT_EQ(r.power, c.readPower);
    }
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_F(FakeEznecTest, NonNumbersChangeNothing) {
    fake->Memo->SetText("unverändert");
    struct Case {
        gui::TEdit* edit;
        const char* text;
        const char* box;  // warning text, or the error box
    };
    const Case cases[] = {
        {fake->EditFrequenz, "7.05", "Frequenz muss eine Gleitkommezahl sein!"},
        {fake->EditFrequenz, "", "Frequenz muss eine Gleitkommezahl sein!"},
        {fake->EditLeistung, "100 W", "Leistung muss eine Gleikommazahl sein!"},
        {fake->EditLeistung, "1,2,3", "'1,2,3' ist kein gültiger Gleitkommawert."},
        {fake->EditFrequenz, "7-05", "'7-05' ist kein gültiger Gleitkommawert."},
        {fake->EditStartX, "a", "'a' ist kein gültiger Gleitkommawert."},
        {fake->EditStepZ, "", "'' ist kein gültiger Gleitkommawert."},
        {fake->EditStopY, "1e400", "'1e400' ist kein gültiger Gleitkommawert."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string old = c.edit->Text();
        c.edit->SetText(c.text);
        presenter->boxes.clear();
        UserClick(fake->ButErzeugen);
        ASSERT_EQ(presenter->boxes.size(), 1u);
        EXPECT_EQ(presenter->boxes[0].text, c.box);
        EXPECT_EQ(fake->Memo->Text(), "unverändert");
        c.edit->SetText(old);
    }
}

TEST_F(FakeEznecTest, EndlessOrHugeGridsAreRefused) {
    fake->Memo->SetText("unverändert");
    const std::string tooLarge =
        "Das Gitter ergibt mehr als 1000000 Datenzeilen! Bitte Start, Stop oder Step ändern.";
    struct Case {
        const char* grid[9];
        std::string box;
    };
    const Case cases[] = {
        {{"-10", "10", "0", "-10", "10", "5", "2", "12", "5"},
         "Die Schrittweite (Step) für X muss größer als 0 sein!"},
        {{"-10", "10", "5", "-10", "10", "-1", "2", "12", "5"},
         "Die Schrittweite (Step) für Y muss größer als 0 sein!"},
        // Even a start above the stop, which would give one value, needs a positive step.
        {{"-10", "10", "5", "-10", "10", "5", "12", "2", "0"},
         "Die Schrittweite (Step) für Z muss größer als 0 sein!"},
        // One axis alone too long.
        {{"0", "1000", "0,0001", "0", "0", "1", "0", "0", "1"}, tooLarge},
        // 1001 x 1000 x 1 lines.
        {{"0", "1000", "1", "0", "999", "1", "0", "0", "1"}, tooLarge},
        // The step no longer changes the value: the axis would never end.
        {{"1e20", "1,0000000000001e20", "1", "0", "0", "1", "0", "0", "1"}, tooLarge},
        // A step below the resolution of the start value.
        {{"0", "0", "1", "0", "0", "1", "1e300", "1e301", "1"}, tooLarge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        SetGrid(c.grid);
        presenter->boxes.clear();
        UserClick(fake->ButErzeugen);
        ASSERT_EQ(presenter->boxes.size(), 1u);
        EXPECT_EQ(presenter->boxes[0].text, c.box);
        EXPECT_EQ(presenter->boxes[0].type, gui::TMsgDlgType::mtWarning);
        EXPECT_EQ(fake->Memo->Text(), "unverändert");
    }
}

TEST_F(FakeEznecTest, AxisValuesAndColumns) {
    struct Case {
        const char* grid[9];
        std::vector<double> x, y, z;  // the values read back, in file order of first appearance
    };
    const Case cases[] = {
        // Start above stop: one value on that axis.
        {{"10", "-10", "5", "0", "1", "1", "7", "7", "1"}, {10}, {0, 1}, {7}},
        // Stop between two steps: the last value stays below the stop.
        {{"0", "1", "0,4", "0", "0", "1", "2", "2", "1"}, {0, 0.4, 0.8}, {0}, {2}},
        // Numbers wider than a column stay apart from the next one.
        {{"-1000", "-1000", "1", "10000", "10000", "1", "-99999", "-99999", "1"},
         {-1000}, {10000}, {-99999}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.grid[0]);
        SetGrid(c.grid);
        UserClick(fake->ButErzeugen);
        ASSERT_TRUE(presenter->boxes.empty());
        const std::size_t n = c.x.size() * c.y.size() * c.z.size();
        ASSERT_EQ(static_cast<std::size_t>(fake->Memo->Lines()->Count()), 14 + n);
        ReadBack r;
        auto text = nearfield::NearFieldText::FromText(fake->Memo->Lines()->Text());
        nearfield::ReadEznec(text, r.ctx);
        ASSERT_EQ(static_cast<std::size_t>(r.tE.Length()), n);
        for (std::size_t k = 0; k < c.z.size(); ++k)
            for (std::size_t j = 0; j < c.y.size(); ++j)
                for (std::size_t i = 0; i < c.x.size(); ++i) {
                    const int p = static_cast<int>((k * c.y.size() + j) * c.x.size() + i);
                    EXPECT_DOUBLE_EQ(r.tx[p], c.x[i]);
                    EXPECT_DOUBLE_EQ(r.ty[p], c.y[j]);
                    EXPECT_DOUBLE_EQ(r.tz[p], c.z[k]);
                    EXPECT_EQ(r.tE[p], 1);
                }
    }
    // The widest case: each number begins after at least one blank.
    const std::string last = fake->Memo->Lines()->Get(14);
    EXPECT_EQ(last.substr(0, 36), "-1000,00000 10000,00000 -99999,00000");
}

TEST_F(FakeEznecTest, SavingWritesTheMemoAsShownAndNeverHalfAFile) {
    UserClick(fake->ButErzeugen);
    fake->Memo->Lines()->Put(0, "von Hand geändert");

    // Cancelled: nothing written.
    const std::vector<std::string> empty = DirEntries(dir);
    UserClick(fake->ButSave);
    EXPECT_EQ(presenter->fileDialogs.size(), 1u);
    EXPECT_EQ(DirEntries(dir), empty);

    // Replaces an existing file completely, keeping its permissions.
    const std::string path = dir + "/feld.txt";
    {
        std::ofstream(path) << std::string(100000, 'x');
    }
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    SaveTo(path);
    EXPECT_TRUE(presenter->boxes.empty());
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes, fake->Memo->Lines()->Text());
    const std::string first = "von Hand geändert\r\n";
    EXPECT_EQ(bytes.substr(0, first.size()), first);
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);

    // Failures: the error box, nothing left behind, the target untouched.
    std::filesystem::create_directory(dir + "/ordner.txt");
    const std::vector<std::string> before = DirEntries(dir);
    struct Case {
        std::string path;
        std::string box;
    };
    const Case cases[] = {
        {dir + "/fehlt/feld.txt", "Datei " + dir + "/fehlt/feld.txt kann nicht erstellt werden. "},
        {dir + "/ordner.txt", "Datei " + dir + "/ordner.txt kann nicht erstellt werden. "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        presenter->boxes.clear();
        SaveTo(c.path);
        ASSERT_EQ(presenter->boxes.size(), 1u);
        EXPECT_EQ(presenter->boxes[0].type, gui::TMsgDlgType::mtError);
        EXPECT_EQ(presenter->boxes[0].text.substr(0, c.box.size()), c.box);
        EXPECT_EQ(DirEntries(dir), before);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir + "/ordner.txt"));
}

TEST_F(FakeEznecTest, FormCreateStartsAtTheDesktop) {
    const std::string desk = dir + "/Schreibtisch";
    std::filesystem::create_directory(desk);
    const char* old = std::getenv("XDG_DESKTOP_DIR");
    const std::string saved = old ? old : "";
    setenv("XDG_DESKTOP_DIR", desk.c_str(), 1);
    std::unique_ptr<TFormFakeEZNECFile> f(gui::CreateForm<TFormFakeEZNECFile>(nullptr));
    if (old) setenv("XDG_DESKTOP_DIR", saved.c_str(), 1); else unsetenv("XDG_DESKTOP_DIR");
    EXPECT_EQ(f->InitialDir, desk + "/");
}

class FakeEznecMenuTest : public ViewerFixture {};

TEST_F(FakeEznecMenuTest, RunsItsOwnModalWindow) {
    StartUp();
    FeldorU::EZNECDir = dir + "/eznec/";
    const int owned = app->ComponentCount();
    const std::string path = dir + "/E.txt";
    presenter->fileAnswers.push_back({true, {path}, 1});
    bool shown = false;
    presenter->formHandler = [&](gui::TCustomForm& f) {
        auto* w = dynamic_cast<TFormFakeEZNECFile*>(&f);
        EXPECT_NE(w, nullptr);
        if (!w) return gui::mrCancel;
        shown = true;
        EXPECT_EQ(w->Owner(), nullptr);
        EXPECT_EQ(w->InitialDir, FeldorU::EZNECDir);
        w->ButErzeugen->Click();
        w->ButSave->Click();
        return gui::mrCancel;
    };
    form->MIFakeEZNECClick(form);
    EXPECT_TRUE(shown);
    EXPECT_EQ(presenter->modalForms, std::vector<std::string>{"Erzeuge Fake-EZNEC Files"});
    ASSERT_EQ(presenter->fileDialogs.size(), 1u);
    EXPECT_EQ(presenter->fileDialogs[0].initialDir, dir + "/eznec/");
    EXPECT_EQ(app->ComponentCount(), owned);
    ReadBack r;
    nearfield::LoadEznec(path, r.ctx);
    EXPECT_EQ(r.tE.Length(), 75);
}

}  // namespace
