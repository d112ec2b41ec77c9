// The field file: byte layout, round trips, refusal of damaged files, safe saving and the
// "&Öffnen" / "&Speichern" / "Speichern &unter .." commands.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/FileStreamUtilsLib.h"
#include "platform/rtl/ProcessSetup.h"
#include "platform/rtl/TaggedStream.h"
#include "viewer/FileProgress.h"
#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

// The error text of a file that is cut short or no field file, after "Datei <name>: ".
const std::string kNoFieldFile = "Die Datei ist unvollständig oder keine Feldor-Felddatei";

std::string ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteBytes(const std::string& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint64_t> Bits(const DoubleArray& a) {
    std::vector<std::uint64_t> v;
    for (double d : a) v.push_back(std::bit_cast<std::uint64_t>(d));
    return v;
}

class FieldFileTest : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        SaveTarget.clear();
        LoadedFile.clear();
        StartUp();
    }
    void TearDown() override {
        const char* argv[] = {"feldor"};
        rtl::SetCommandLine(1, const_cast<char**>(argv));
        SaveTarget.clear();
        LoadedFile.clear();
        ViewerFixture::TearDown();
    }
    std::string File(const std::string& name) const { return dir + "/" + name; }

    // A small field: E and H planes at 2 m on a 3 x 3 grid, impedance points at 202 m, and a few
    // points at a height of no plane carrying the awkward values.
    static void FillField() {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                const double x = i * 0.5, y = j * 0.5, e = 1 + i + 3 * j;
                AppendFieldPoint(x, y, 2, e, e / 2, e / 3, e / 4);
                AppendFieldPoint(x, y, 102, e / 100, 0.1, 0.2, 0.3);
                AppendFieldPoint(x, y, 202, 100, 5, 1.7e308, 0.1);
            }
        const double odd[] = {std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::denorm_min(),
                              -0.0,
                              std::nextafter(202.0, 0.0)};
        for (double v : odd) AppendFieldPoint(v, -v, 1000, v, v, v, v);
    }
    // An electric plane at 2 m on an n x n grid (the map needs two distinct x and y).
    static void AddGrid(int n) {
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) AppendFieldPoint(i, j, 2, 1 + i + j, 1, 1, 1);
    }
    // The point set and the settings a load must leave alone when it refuses a file.
    struct Snapshot {
        std::vector<std::vector<std::uint64_t>> arrays;
        double power, powerShow;
        int band, mode, antenne, boden;
        std::string loadedFile;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot Take() const {
        Snapshot s;
        for (const DoubleArray* a : {&tx, &ty, &tz, &tE, &tEx, &tEy, &tEz}) s.arrays.push_back(Bits(*a));
        s.power = Power;
        s.powerShow = PowerShow;
        s.band = form->CBBand->ItemIndex();
        s.mode = form->CBMode->ItemIndex();
        s.antenne = Antenne->Count();
        s.boden = Boden->Count();
        s.loadedFile = LoadedFile;
        return s;
    }
    int ProgressWindows() const {
        int n = 0;
        for (int i = 0; i < form->ComponentCount(); ++i)
            if (dynamic_cast<TFormFileProgress*>(form->Components(i))) ++n;
        return n;
    }
    // Runs a command as the menu does: an escaping error is shown in the error box.
    template <class F>
    void AsMenuCommand(F&& f) {
        gui::InvokeHandler(form, std::forward<F>(f));
    }
    std::string LastBoxText() const {
        return presenter->boxes.empty() ? std::string() : presenter->boxes.back().text;
    }
};

TEST_F(FieldFileTest, EmptyViewerIsTheSeventySixByteFile) {
    Power = 1;
    PowerShow = 750;
    form->CBBand->SetItemIndex(2);
    form->CBMode->SetItemIndex(1);
    const std::string file = File("leer.fdr");
    form->SaveFDRDatei(file);

    std::string expected;
    for (int i = 0; i < 7; ++i) expected += "\xFF\xFF\xFF\xFF";
    expected += "\x01";
    expected += std::string("\x05\x00\x00\x00\x00\x00\x00\x00\x80\xFF\x3F", 11);
    expected += std::string("\x05\x00\x00\x00\x00\x00\x00\x80\xBB\x08\x40", 11);
    expected += "\x02\x02";
    expected += "\x02\x01";
    expected += std::string("\x00", 1);
    for (int i = 0; i < 2; ++i)
        expected += std::string("\x01\x02\xFF\x02\xFF\x02\xFF\x02\xFF\x00", 10);
    ASSERT_EQ(expected.size(), 76u);
    EXPECT_EQ(ReadBytes(file), expected);
    EXPECT_EQ(SaveTarget, file);
    EXPECT_EQ(ProgressWindows(), 0);
    EXPECT_FALSE(gui::TBusyScope::Active());
}

TEST_F(FieldFileTest, SaveAndLoadRoundTripEveryValue) {
    FillField();
    Power = 100;
    PowerShow = 750;
    form->CBBand->SetItemIndex(-1);
    form->CBMode->SetItemIndex(3);
    Antenne->Add("4", 0, -2.5, 10);
    Antenne->Add("Mast-Fuß", 0.1, 1e-300, -0.0);
    Antenne->Add(std::string(300, 'L'), 1, 2, 3);
    Boden->Add("1", -5, -5, 0);
    Boden->Add("1", 5, -5, 0);
    const Snapshot saved = Take();
    const std::vector<std::string> names(Antenne->Names.begin(), Antenne->Names.end());
    const std::string file = File("feld.fdr");
    form->SaveFDRDatei(file);

    const std::string bytes = ReadBytes(file);
    EXPECT_NE(bytes.find(std::string("\x14\x09\x00\x00\x00Mast-Fu\xC3\x9F", 14)), std::string::npos)
        << "a name with an umlaut is tag 20 with UTF-8 bytes";
    EXPECT_NE(bytes.find(std::string("\x0C\x2C\x01\x00\x00LLL", 8)), std::string::npos)
        << "a name of 300 characters is tag 12";
    // The value list right behind the seven arrays: band -1 is 02 FF.
    const std::size_t list = 7 * 4 + 7 * 8 * static_cast<std::size_t>(tx.Length());
    EXPECT_EQ(bytes.substr(list + 23, 5), std::string("\x02\xFF\x02\x03\x00", 5));

    form->InitApplication();
    ASSERT_EQ(PointCount(), 0);
    form->LoadFDRDatei(file);

    Snapshot loaded = Take();
    loaded.loadedFile = saved.loadedFile;
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(form->CBBand->ItemIndex(), -1);
    EXPECT_EQ(std::vector<std::string>(Antenne->Names.begin(), Antenne->Names.end()), names);
    EXPECT_EQ(Bits(Antenne->y), Bits(DoubleArray({-2.5, 1e-300, 2})));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(Antenne->z[1]), std::bit_cast<std::uint64_t>(-0.0));
    EXPECT_EQ(Boden->Count(), 2);
    EXPECT_EQ(LoadedFile, file);
    EXPECT_EQ(FeldorDir, dir + "/");
    EXPECT_TRUE(HasEPlanes);
    EXPECT_TRUE(HasHPlanes);
    EXPECT_TRUE(HasZPlanes);
    EXPECT_TRUE(FieldShown);
    EXPECT_EQ(ProgressWindows(), 0);
}

TEST_F(FieldFileTest, TruncatedFileIsRefusedAndChangesNothing) {
    FillField();
    Antenne->Add("4", 0, 0, 1);
    Antenne->Add("0", 0, 5, 1);
    Boden->Add("1", 0, 0, 0);
    const std::string file = File("ganz.fdr");
    form->SaveFDRDatei(file);
    const std::string bytes = ReadBytes(file);

    // The viewer holds other data while the damaged files are offered.
    form->InitApplication();
    AppendFieldPoint(1, 2, 3, 4, 5, 6, 7);
    Power = 42;
    Antenne->Add("7", 1, 1, 1);
    LoadedFile = "vorher.fdr";
    const Snapshot before = Take();

    const std::string cut = File("kurz.fdr");
    for (std::size_t len = 0; len < bytes.size(); ++len) {
        SCOPED_TRACE(len);
        WriteBytes(cut, bytes.substr(0, len));
        try {
            form->LoadFDRDatei(cut);
            ADD_FAILURE() << "a file cut to " << len << " bytes was taken";
        } catch (const rtl::EReadError& e) {
            EXPECT_EQ(e.Message, "Datei " + cut + ": " + kNoFieldFile);
        }
        ASSERT_EQ(Take(), before);
    }
    EXPECT_EQ(ProgressWindows(), 0);
    EXPECT_FALSE(gui::TBusyScope::Active());

    // Through the menu path one error box names the file, and the viewer goes on working.
    presenter->boxes.clear();
    AsMenuCommand([&] { form->LoadFDRDatei(cut); });
    EXPECT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(LastBoxText(), "Datei " + cut + ": " + kNoFieldFile + ".");
    form->InitApplication();
    form->LoadFDRDatei(file);
    EXPECT_EQ(PointCount(), 33);
    EXPECT_EQ(Antenne->Count(), 2);
}

TEST_F(FieldFileTest, ForeignFilesAreRefused) {
    auto block = [](std::initializer_list<double> values) {
        rtl::TMemoryStream s;
        WriteDoubleArray(s, DoubleArray(values));
        return std::string(reinterpret_cast<const char*>(s.Memory()), s.Size());
    };
    auto tail = [] {
        rtl::TMemoryStream s;
        {
            rtl::TWriter w(s);
            w.WriteListBegin();
            w.WriteFloat(1);
            w.WriteFloat(750);
            w.WriteInteger(2);
            w.WriteInteger(1);
            w.WriteListEnd();
        }
        TAntPoints().SaveToStream(s);
        TAntPoints().SaveToStream(s);
        return std::string(reinterpret_cast<const char*>(s.Memory()), s.Size());
    };
    std::string unequal;
    for (int k = 0; k < 6; ++k) unequal += block({1, 2});
    unequal += block({1}) + tail();

    std::string goodArrays;
    for (int k = 0; k < 7; ++k) goodArrays += block({1});
    const std::string unknownTag = goodArrays + std::string("\x01\x07", 2) + tail().substr(2);
    const std::string wrongKind = goodArrays + std::string("\x01\x06\x00", 3) + tail().substr(12);

    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"arrays of different lengths", unequal},
        {"a text file", "Power = 100 watts\r\nX Y Z\r\n"},
        {"a negative count", std::string("\xFE\xFF\xFF\xFF", 4) + tail()},
        {"an unknown tag", unknownTag},
        {"a string where the power belongs", wrongKind},
    };
    const Snapshot before = Take();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = File("fremd.fdr");
        WriteBytes(file, c.bytes);
        try {
            form->LoadFDRDatei(file);
            ADD_FAILURE() << "taken";
        } catch (const rtl::EReadError& e) {
            EXPECT_EQ(e.Message, "Datei " + file + ": " + kNoFieldFile);
        }
        EXPECT_EQ(Take(), before);
    }

    // A missing file: the platform's open error.
    try {
        form->LoadFDRDatei(File("fehlt.fdr"));
        ADD_FAILURE() << "taken";
    } catch (const rtl::EFOpenError& e) {
        EXPECT_EQ(e.Message.rfind("Datei " + File("fehlt.fdr") + " kann nicht geöffnet werden. ", 0), 0u)
            << e.Message;
    }
    EXPECT_EQ(ProgressWindows(), 0);
}

TEST_F(FieldFileTest, FailedSaveKeepsThePreviousFile) {
    const std::string file = File("alt.fdr");
    AppendFieldPoint(0, 0, 2, 1, 1, 1, 1);
    form->SaveFDRDatei(file);
    const std::string old = ReadBytes(file);
    SaveTarget = "bisher.fdr";

    // A field far larger than the file-size limit set for this process: the write fails.
    for (int i = 0; i < 20000; ++i) AppendFieldPoint(i, 0, 2, 1, 1, 1, 1);
    // The write meets the limit as in the program, with its start-up's signal handling.
    struct sigaction previous {};
    sigaction(SIGXFSZ, nullptr, &previous);
    rtl::SetUpProcess();
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    presenter->boxes.clear();
    AsMenuCommand([&] { form->SaveFDRDatei(file); });
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_EQ(LastBoxText(), "Datei " + file + " kann nicht geschrieben werden. Die Datei ist zu groß.");
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_EQ(SaveTarget, "bisher.fdr");
    EXPECT_EQ(ProgressWindows(), 0);
    EXPECT_FALSE(gui::TBusyScope::Active());
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().extension() == ".tmp") left.push_back(e.path());
    EXPECT_TRUE(left.empty()) << left.front();

    // A directory that does not exist: the creation error names the chosen file.
    const std::string nowhere = dir + "/fehlt/feld.fdr";
    try {
        form->SaveFDRDatei(nowhere);
        ADD_FAILURE() << "saved";
    } catch (const rtl::EFCreateError& e) {
        EXPECT_EQ(e.Message.rfind("Datei " + nowhere + " kann nicht erstellt werden. ", 0), 0u)
            << e.Message;
    }
    EXPECT_EQ(SaveTarget, "bisher.fdr");

    // The same save without the limit replaces the file.
    form->SaveFDRDatei(file);
    EXPECT_EQ(ReadBytes(file).size(), 7 * 4 + 7 * 8 * 20001u + 28 + 20);
    EXPECT_EQ(SaveTarget, file);
}

TEST_F(FieldFileTest, SaveKeepsTheFilesPermissionsAndLinks) {
    namespace fs = std::filesystem;
    const std::string real = File("echt.fdr");
    WriteBytes(real, "alt");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string link = File("link.fdr");
    fs::create_symlink(real, link);

    AppendFieldPoint(0, 0, 2, 1, 1, 1, 1);
    form->SaveFDRDatei(link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real).size(), 7 * 12u + 28 + 20);
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(FieldFileTest, OpenAndSaveCommands) {
    const std::string f = File("F.fdr");
    FeldorDir = dir + "/";

    // No target yet: "&Speichern" asks for a name, proposing the loaded file.
    AddGrid(2);
    LoadedFile = "vorschlag.fdr";
    presenter->fileAnswers.push_back({true, {f}, 2});
    form->MISaveClick(nullptr);
    ASSERT_EQ(presenter->fileDialogs.size(), 1u);
    const gui::FileDialogRequest& save = presenter->fileDialogs[0];
    EXPECT_EQ(save.kind, gui::FileDialogRequest::Kind::Save);
    EXPECT_EQ(save.filter, "Alle Dateien (*.*)|*.*|FELDOR - Datei (*.fdr)|*.fdr");
    EXPECT_EQ(save.filterIndex, 2);
    EXPECT_EQ(save.defaultExt, "fdr");
    EXPECT_EQ(save.initialDir, dir + "/");
    EXPECT_EQ(save.fileName, "vorschlag.fdr");
    EXPECT_FALSE(save.overwritePrompt);
    EXPECT_EQ(SaveTarget, f);

    // "&Öffnen" resets, asks, loads F and makes it the save target.
    SaveTarget.clear();
    presenter->fileAnswers.push_back({true, {f}, 2});
    form->MIOeffnenClick(nullptr);
    ASSERT_EQ(presenter->fileDialogs.size(), 2u);
    const gui::FileDialogRequest& open = presenter->fileDialogs[1];
    EXPECT_EQ(open.kind, gui::FileDialogRequest::Kind::Open);
    EXPECT_EQ(open.filter, "Alle Dateien (*.*)|*.*|FELDOR - Datei (*.fdr)|*.fdr");
    EXPECT_EQ(open.filterIndex, 2);
    EXPECT_EQ(open.defaultExt, "fdr");
    EXPECT_EQ(PointCount(), 4);
    EXPECT_EQ(SaveTarget, f);
    EXPECT_EQ(LoadedFile, f);

    // "&Speichern" right after writes F again without a question.
    form->MISaveClick(nullptr);
    EXPECT_EQ(presenter->fileDialogs.size(), 2u);

    // A later import (here: points added after a reset) is not the data of F: the reset
    // forgets the target, so "&Speichern" asks; cancelled, F stays.
    form->InitApplication();
    EXPECT_EQ(SaveTarget, "");
    AddGrid(3);
    form->MISaveClick(nullptr);
    ASSERT_EQ(presenter->fileDialogs.size(), 3u);
    EXPECT_EQ(presenter->fileDialogs[2].kind, gui::FileDialogRequest::Kind::Save);
    EXPECT_EQ(ReadBytes(f).size(), 7 * (4 + 4 * 8u) + 28 + 20);

    // Cancelling "&Öffnen" keeps the field and its save target.
    SaveTarget = f;
    form->MIOeffnenClick(nullptr);
    EXPECT_EQ(presenter->fileDialogs.size(), 4u);
    EXPECT_EQ(PointCount(), 9);
    EXPECT_EQ(SaveTarget, f);

    // "Speichern &unter .." cancelled writes nothing.
    form->MISaveAsClick(nullptr);
    EXPECT_EQ(ReadBytes(f).size(), 7 * (4 + 4 * 8u) + 28 + 20);
}

// Open A, try a damaged B, then Ctrl+S: A keeps its data whatever the user answers.
TEST_F(FieldFileTest, FailedOpenNeverLeadsToAnOverwrittenFile) {
    const std::string a = File("A.fdr");
    const std::string b = File("B.fdr");
    AddGrid(4);
    form->SaveFDRDatei(a);
    const std::string original = ReadBytes(a);
    WriteBytes(b, original.substr(0, original.size() / 2));

    presenter->fileAnswers.push_back({true, {a}, 2});
    AsMenuCommand([&] { form->MIOeffnen->Click(); });
    ASSERT_EQ(PointCount(), 16);
    ASSERT_EQ(SaveTarget, a);

    presenter->boxes.clear();
    presenter->fileAnswers.push_back({true, {b}, 2});
    AsMenuCommand([&] { form->MIOeffnen->Click(); });
    EXPECT_EQ(LastBoxText(), "Datei " + b + ": " + kNoFieldFile + ".");
    // The field of A stays shown with its save target: Ctrl+S writes A's own data back.
    EXPECT_EQ(PointCount(), 16);
    EXPECT_EQ(SaveTarget, a);
    AsMenuCommand([&] { form->MISave->Click(); });
    EXPECT_EQ(ReadBytes(a), original);

    // Emptied, Ctrl+S asks for a name as "Speichern unter" does; cancelled, nothing is written.
    form->MIClearAll->Click();
    EXPECT_EQ(SaveTarget, "");
    const std::size_t asked = presenter->fileDialogs.size();
    AsMenuCommand([&] { form->MISave->Click(); });
    ASSERT_EQ(presenter->fileDialogs.size(), asked + 1);
    EXPECT_EQ(presenter->fileDialogs.back().kind, gui::FileDialogRequest::Kind::Save);
    EXPECT_EQ(ReadBytes(a), original);

    // Choosing A for the empty field, by either command, is refused with the reason.
    for (gui::TMenuItem* item : {form->MISave, form->MISaveAs}) {
        SCOPED_TRACE(item->Caption());
        presenter->boxes.clear();
        presenter->fileAnswers.push_back({true, {a}, 2});
        AsMenuCommand([&] { item->Click(); });
        EXPECT_EQ(LastBoxText(), "Das Feld enthält keine Punkte.\r\nDie vorhandene Datei " + a +
                                     " wird nicht überschrieben.");
        EXPECT_EQ(ReadBytes(a), original);
        EXPECT_EQ(SaveTarget, "");
        EXPECT_EQ(ProgressWindows(), 0);
    }

    // An empty field still goes to a new file.
    const std::string fresh = File("neu.fdr");
    presenter->fileAnswers.push_back({true, {fresh}, 2});
    AsMenuCommand([&] { form->MISave->Click(); });
    EXPECT_EQ(ReadBytes(fresh).size(), 76u);
    EXPECT_EQ(SaveTarget, fresh);
}

TEST_F(FieldFileTest, FieldFileNamedOnTheCommandLineIsOpenedAtStart) {
    AddGrid(2);
    const std::string file = File("start.fdr");
    form->SaveFDRDatei(file);
    viewer->CloseWindows();
    ResetData();

    std::string arg0 = "feldor", arg1 = file;
    char* argv[] = {arg0.data(), arg1.data()};
    rtl::SetCommandLine(2, argv);
    StartUp();
    EXPECT_EQ(PointCount(), 4);
    EXPECT_EQ(LoadedFile, file);
    EXPECT_TRUE(FieldShown);
}

TEST(PointListTest, LayoutAndAppendingLoad) {
    TAntPoints p;
    p.Add("1", 0.5, -1, 2);
    p.x.push_back(7);  // one x more than names: written and read as it stands
    rtl::TMemoryStream s;
    EXPECT_TRUE(p.SaveToStream(s));
    const std::string ext05("\x05\x00\x00\x00\x00\x00\x00\x00\x80\xFE\x3F", 11);
    const std::string extM1("\x05\x00\x00\x00\x00\x00\x00\x00\x80\xFF\xBF", 11);
    const std::string ext2("\x05\x00\x00\x00\x00\x00\x00\x00\x80\x00\x40", 11);
    const std::string ext7("\x05\x00\x00\x00\x00\x00\x00\x00\xE0\x01\x40", 11);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(s.Memory()), s.Size()),
              std::string("\x01\x02\x00\x02\x01\x02\x00\x02\x00\x06\x01" "1", 12) + ext05 + ext7 +
                  extM1 + ext2 + std::string("\x00", 1));
    s.WriteBuffer("\xAB", 1);

    TAntPoints q;
    q.Add("0", 9, 9, 9);
    s.SetPosition(0);
    EXPECT_TRUE(q.LoadFromStream(s));
    EXPECT_EQ(s.Position(), s.Size() - 1) << "left directly behind the list";
    EXPECT_EQ(q.Names.Length(), 2);
    EXPECT_EQ(q.x.Length(), 3);
    EXPECT_EQ(q.x[2], 7.0);
    EXPECT_EQ(q.Trim(), 2);

    // A list announcing more points than the stream holds appends nothing.
    rtl::TMemoryStream bad;
    bad.WriteBuffer("\x01\x04\xFF\xFF\x00\x00\x02\xFF\x02\xFF\x02\xFF\x06\x01" "A", 15);
    bad.SetPosition(0);
    EXPECT_THROW(q.LoadFromStream(bad), rtl::EReadError);
    EXPECT_EQ(q.Names.Length(), 2);
}

}  // namespace
