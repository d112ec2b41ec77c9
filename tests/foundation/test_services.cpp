#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "foundation/DateTimeLib.h"
#include "foundation/DebugLib.h"
#include "foundation/DirectoryUtilsLib.h"
#include "foundation/FileLib.h"
#include "foundation/FileStreamUtilsLib.h"
#include "foundation/cDateTime.h"
#include "foundation/ComboBoxUtilsLib.h"
#include "foundation/MemoUtilsLib.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "platform/rtl/DateUtils.h"

namespace {

// ---- Message boxes ------------------------------------------------------------------------------

struct BoxCase {
    const char* Name;
    void (*Show)();
    gui::TMsgDlgType Type;
    const char* Text;
};

const BoxCase kBoxCases[] = {
    {"msgInfo", [] { msgInfo("Fertig"); }, gui::TMsgDlgType::mtInformation, "Fertig"},
    {"msgWarning", [] { msgWarning("Achtung"); }, gui::TMsgDlgType::mtWarning, "Achtung"},
    {"msgError", [] { msgError("Kaputt"); }, gui::TMsgDlgType::mtError, "Kaputt"},
    {"msgFileNotFound", [] { msgFileNotFound("/tmp/x.nf"); }, gui::TMsgDlgType::mtError,
     "Die Datei\r\n\r\n/tmp/x.nf\r\n\r\nkonnte nicht gefunden werden!"},
    {"NoFloatMessage", [] { NoFloatMessage("1,2,3"); }, gui::TMsgDlgType::mtWarning,
     "\"1,2,3\" ist kein gültiger Gleitkommawert!"},
    {"NotFinishedMessage", [] { NotFinishedMessage("Export"); }, gui::TMsgDlgType::mtWarning,
     "An der Routine Exportmuss noch gearbeitet werden"},
    {"WarnWithDetail empty", [] { WarnWithDetail("Text", ""); }, gui::TMsgDlgType::mtWarning,
     "Text"},
    {"WarnWithDetail", [] { WarnWithDetail("Text", "Ort"); }, gui::TMsgDlgType::mtWarning,
     "Ort\r\nText"},
    {"WarnNumber", [] { WarnNumber(-42, "Zeile"); }, gui::TMsgDlgType::mtWarning,
     "Zeile\r\n-42"},
};

TEST(DebugLib, BoxesShowTheirTextsModally)
{
    for (const BoxCase& C : kBoxCases) {
        gui::ScriptedPresenter Presenter;
        C.Show();
        ASSERT_EQ(Presenter.boxes.size(), 1u) << C.Name;
        const gui::MessageBoxRequest& Box = Presenter.boxes[0];
        EXPECT_EQ(Box.text, C.Text) << C.Name;
        EXPECT_EQ(Box.type, C.Type) << C.Name;
        EXPECT_EQ(Box.buttons, gui::TMsgDlgButtons(gui::mbOK)) << C.Name;
    }
}

TEST(DebugLib, CaptionFollowsTheKindOfBox)
{
    gui::ScriptedPresenter Presenter;
    gui::TApplication App;
    App.SetTitle("Feldor");
    msgWarning("a");
    msgError("b");
    msgInfo("c");
    msgFileNotFound("d");
    ASSERT_EQ(Presenter.boxes.size(), 4u);
    EXPECT_EQ(Presenter.boxes[0].caption, "Warnung");
    EXPECT_EQ(Presenter.boxes[1].caption, "Fehler");
    EXPECT_EQ(Presenter.boxes[2].caption, "Informationen");
    EXPECT_EQ(Presenter.boxes[3].caption, "Fehler");
}

TEST(DebugLib, DebugNopShowsNothing)
{
    gui::ScriptedPresenter Presenter;
    DebugNop();
    EXPECT_TRUE(Presenter.boxes.empty());
}

// ---- Memo and combo box ------------------------------------------------------------------------

TEST(MemoUtilsLib, ClearAndAdd)
{
    gui::TApplication App;
    gui::TMemo Memo(nullptr);
    Memo.Lines()->Add("alt");
    MemoClear(Memo);
    EXPECT_EQ(Memo.Lines()->Count(), 0);
    MemoAdd(Memo, "erste", "");
    MemoAdd(Memo, "zweite", "> ");
    ASSERT_EQ(Memo.Lines()->Count(), 2);
    EXPECT_EQ(Memo.Lines()->Get(0), "erste");
    EXPECT_EQ(Memo.Lines()->Get(1), "> zweite");
}

TEST(ComboBoxUtilsLib, ClearEmptiesItemsAndText)
{
    gui::TApplication App;
    gui::TComboBox CB(nullptr);
    int Changes = 0;
    CB.OnChange = [&](rtl::TObject*) { ++Changes; };
    CBAddItem(CB, "2,0");
    CBAddItem(CB, "5,0");
    CB.SetItemIndex(1);
    EXPECT_EQ(CB.Text(), "5,0");
    CBClear(CB);
    EXPECT_EQ(CB.Items()->Count(), 0);
    EXPECT_EQ(CB.Text(), "");
    CB.SetText("-keine-");
    CBClear(CB);
    EXPECT_EQ(CB.Text(), "");
    EXPECT_EQ(Changes, 0);  // code changes run no handler
}

// The templates serve any combo box with the platform's Items() / SetText interface.
TEST(ComboBoxUtilsLib, TemplatesServeOtherComboBoxes)
{
    struct OtherCombo {
        rtl::TStringList List;
        std::string TextValue = "x";
        rtl::TStrings* Items() { return &List; }
        void SetText(const std::string& S) { TextValue = S; }
    } CB;
    CBAddItem(CB, "LW");
    EXPECT_EQ(CB.List.Count(), 1);
    CBClear(CB);
    EXPECT_EQ(CB.List.Count(), 0);
    EXPECT_EQ(CB.TextValue, "");
}

// ---- DoubleArray stream ---------------------------------------------------------------------------

std::vector<std::uint8_t> Bytes(rtl::TMemoryStream& S)
{
    return std::vector<std::uint8_t>(S.Memory(), S.Memory() + S.Size());
}

void PutBytes(rtl::TMemoryStream& S, const std::vector<std::uint8_t>& B)
{
    S.Write(B.data(), static_cast<long long>(B.size()));
    S.SetPosition(0);
}

TEST(FileStreamUtilsLib, WritesTheFieldFileLayout)
{
    rtl::TMemoryStream Empty;
    WriteDoubleArray(Empty, DoubleArray{});
    EXPECT_EQ(Bytes(Empty), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));

    rtl::TMemoryStream One;
    WriteDoubleArray(One, DoubleArray{1.0});
    EXPECT_EQ(Bytes(One), (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
}

TEST(FileStreamUtilsLib, ReadsBackToBackArrays)
{
    rtl::TMemoryStream S;
    WriteDoubleArray(S, DoubleArray{1.0, 2.5});
    WriteDoubleArray(S, DoubleArray{});
    WriteDoubleArray(S, DoubleArray{-3.25});
    S.SetPosition(0);

    DoubleArray A{9, 9, 9};
    ReadDoubleArray(S, A);
    EXPECT_EQ(A.vec(), (std::vector<double>{1.0, 2.5}));
    A = DoubleArray{7};
    ReadDoubleArray(S, A);
    EXPECT_EQ(A.Length(), 0);
    ReadDoubleArray(S, A);
    EXPECT_EQ(A.vec(), (std::vector<double>{-3.25}));
    EXPECT_EQ(S.Position(), S.Size());
}

TEST(FileStreamUtilsLib, RefusesBlocksThatCannotBeWhole)
{
    struct Case { const char* Name; std::vector<std::uint8_t> Data; };
    const Case Cases[] = {
        // Count 2, one and a half doubles follow.
        {"truncated block", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0, 0, 0}},
        // 2^31 - 1 as High: 16 GiB announced, nothing there.
        {"huge count", {0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"negative count", {0xFE, 0xFF, 0xFF, 0xFF}},
        {"short count word", {0x01, 0x00}},
    };
    for (const Case& C : Cases) {
        rtl::TMemoryStream S;
        PutBytes(S, C.Data);
        DoubleArray A{5, 6};
        try {
            ReadDoubleArray(S, A);
            ADD_FAILURE() << C.Name << ": no error";
        } catch (const rtl::EReadError& E) {
            EXPECT_EQ(E.Message, "Stream-Lesefehler") << C.Name;
        }
        EXPECT_EQ(A.Length(), 0) << C.Name;
    }
}

// ---- Time -------------------------------------------------------------------------------------------

TEST(cDateTime, DiffMilliseconds)
{
    const rtl::TDateTime Day = rtl::EncodeDate(2024, 3, 1);
    const rtl::TDateTime D1 = Day + rtl::EncodeTime(12, 0, 0, 0);
    const rtl::TDateTime D2 = Day + rtl::EncodeTime(12, 0, 1, 500);
    EXPECT_EQ(DiffMilliseconds(D1, D2), 1500);
    EXPECT_EQ(DiffMilliseconds(D2, D1), -1500);
    EXPECT_EQ(DiffMilliseconds(D1, D1), 0);
    // Held in 32 bits: 30 days (2 592 000 000 ms) wrap to a negative value.
    EXPECT_EQ(DiffMilliseconds(Day, Day + 30), 2592000000LL - 4294967296LL);
}

TEST(DateTimeLib, NowStrings)
{
    const std::time_t T = std::time(nullptr);
    std::tm Local{};
    localtime_r(&T, &Local);
    const std::string Year = NowYearString();
    EXPECT_EQ(Year, std::to_string(Local.tm_year + 1900));
    EXPECT_EQ(NowDateString(), rtl::DateToStr(rtl::Date()));
    EXPECT_EQ(NowTimeString().size(), 8u);
}

// ---- Files and folders -----------------------------------------------------------------------------

TEST(FileLib, FileNameWithoutExt)
{
    struct Case { const char* In; const char* Out; };
    const Case Cases[] = {
        {"bild.bmp", "bild"},
        {"/home/u/nf/dipol.nf", "/home/u/nf/dipol"},
        {"/x/archiv.tar.gz", "/x/archiv.tar"},
        {"/a.b/c", "/a.b/c"},  // a dot in a folder name is no extension
        {"/a.b/datei.txt", "/a.b/datei"},
        {"ohne", "ohne"},
        {"", ""},
    };
    for (const Case& C : Cases) EXPECT_EQ(FileNameWithoutExt(C.In), C.Out) << C.In;
}

TEST(FileLib, FoldersGetATrailingDelimiter)
{
    EXPECT_EQ(IncludeTrailingBackslash(""), "/");
    EXPECT_EQ(IncludeTrailingBackslash("/tmp"), "/tmp/");
    EXPECT_EQ(IncludeTrailingBackslash("/tmp/"), "/tmp/");
    EXPECT_EQ(FileDirectory("/home/u/feld.fld"), "/home/u/");
    EXPECT_EQ(FileDirectory("/home/u/"), "/home/u/");
}

// Sets an environment variable for the scope of a test.
class EnvOverride {
public:
    EnvOverride(const char* Name, const char* Value) : name_(Name)
    {
        if (const char* Old = std::getenv(Name)) old_ = Old;
        if (Value)
            setenv(Name, Value, 1);
        else
            unsetenv(Name);
    }
    ~EnvOverride()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(DirectoryUtilsLib, DesktopFolder)
{
    namespace fs = std::filesystem;
    const fs::path Home = fs::temp_directory_path() / ("feldor-desktop-" + std::to_string(getpid()));
    fs::remove_all(Home);
    fs::create_directories(Home);
    EnvOverride HomeVar("HOME", Home.c_str());
    EnvOverride Config("XDG_CONFIG_HOME", nullptr);
    {
        EnvOverride Xdg("XDG_DESKTOP_DIR", nullptr);
        EXPECT_EQ(GetDeskTopDir(), Home.string() + "/");  // no Desktop folder: home
        fs::create_directory(Home / "Desktop");
        EXPECT_EQ(GetDeskTopDir(), (Home / "Desktop").string() + "/");
        // The desktop environment's own name for it wins over ~/Desktop.
        fs::create_directory(Home / ".config");
        std::ofstream(Home / ".config" / "user-dirs.dirs")
            << "# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
               "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
        EXPECT_EQ(GetDeskTopDir(), (Home / "Schreibtisch").string() + "/");
        std::ofstream(Home / ".config" / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"Schreibtisch\"\n";
        EXPECT_EQ(GetDeskTopDir(), (Home / "Desktop").string() + "/") << "a relative entry is ignored";
    }
    {
        EnvOverride Xdg("XDG_DESKTOP_DIR", "/srv/schreibtisch");
        EXPECT_EQ(GetDeskTopDir(), "/srv/schreibtisch/");
    }
    fs::remove_all(Home);
}

}  // namespace
