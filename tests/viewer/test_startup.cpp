// Start-up, settings file, timer and window commands of the main window.
#include <gtest/gtest.h>

#include <QWidget>
#include <QWindow>

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "FailingAllocation.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/LocaleStore.h"
#include "tests/support/EventLoop.h"
#include "tests/support/ProcessMemory.h"
#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// A folder that refuses new files; a privileged user writes anyway, then there is none.
std::optional<std::string> ReadOnlyFolder(const std::string& path) {
    namespace fs = std::filesystem;
    fs::create_directories(path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string probe = path + "/probe";
    if (!std::ofstream(probe)) return path + "/";
    fs::remove(probe);
    return std::nullopt;
}

using testsupport::ResetPeak;
using testsupport::StatusKb;

QWindow* NativeWindow(const gui::TCustomForm* f) { return f->ClientWidget()->window()->windowHandle(); }

}  // namespace

class StartupTest : public ViewerFixture {
protected:
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(dir + "/ro", std::filesystem::perms::owner_all, ec);
        ViewerFixture::TearDown();
    }
    // Starts anew (after CloseWindows), with the data reset.
    void Restart() {
        viewer->CloseWindows();
        ResetData();
        StartUp();
    }
};

TEST_F(StartupTest, FirstStartUsesDefaultsAndCloseWritesAllFifteenEntriesInOrder) {
    StartUp();
    EXPECT_EQ(form->Caption().rfind("Feldor  v 1.1.4  ", 0), 0u) << form->Caption();
    // At 10/10, or at the left edge of a screen narrower than the window.
    const gdi::TRect work = gui::Screen()->WorkAreaRect();
    const int left = form->Width() <= work.Width() ? 10 : work.Left;
    EXPECT_EQ(form->Top(), 10);
    EXPECT_EQ(form->Left(), left);
    EXPECT_EQ(FormProgInfo->Width(), 300);
    EXPECT_EQ(FormProgInfo->Height(), 300);
    EXPECT_TRUE(FormProgInfo->Visible());
    EXPECT_TRUE(FormMessExport->Visible());
    EXPECT_EQ(EZNECDir, ProgDir);
    EXPECT_EQ(FeldorDir, ProgDir);
    EXPECT_DOUBLE_EQ(ArrowPos, 0.8);
    EXPECT_FALSE(rtl::FileExists(IniPath()));

    // The two windows' places are those they were given beside the main window.
    const std::string messTop = "MessTop=" + std::to_string(FormMessExport->Top());
    const std::string messLeft = "MessLeft=" + std::to_string(FormMessExport->Left());
    const std::string skriptTop = "SkriptTop=" + std::to_string(FormProgInfo->Top());
    const std::string skriptLeft = "SkriptLeft=" + std::to_string(FormProgInfo->Left());
    form->Close();
    const std::string ini = ReadFile(IniPath());
    const std::string keys[] = {"EZNECDir=",  "MMANADir=", "4nec2Dir=", "NECWinProDir=",
                                "FeldorDir=", "Top=10",    "Left=" + std::to_string(left), messTop,
                                messLeft,     skriptTop,   skriptLeft,  "SkriptWidth=300",
                                "SkriptHeight=300", "Skript=1", "Messwert=1"};
    std::size_t pos = 0;
    for (const std::string& key : keys) {
        const std::size_t at = ini.find(key, pos);
        ASSERT_NE(at, std::string::npos) << key << " missing or out of order in\n" << ini;
        pos = at;
    }
    EXPECT_NE(ini.find("[Verzeichnisse]"), std::string::npos);
    EXPECT_NE(ini.find("[Fensterpositionen]"), std::string::npos);
    EXPECT_NE(ini.find("[Fenster]"), std::string::npos);
}

TEST_F(StartupTest, SettingsAreReadAtTheNextStart) {
    {
        rtl::TIniFile ini(IniPath());
        ini.WriteString("verzeichnisse", "eznecdir", "/data/eznec");  // keys are case-insensitive
        ini.WriteInteger("Fensterpositionen", "Top", 120);
        ini.WriteString("Fensterpositionen", "Left", "links");       // no integer: default
        ini.WriteInteger("Fensterpositionen", "SkriptWidth", 410);
        ini.WriteInteger("Fenster", "Skript", 0);
        ini.WriteInteger("Fenster", "Messwert", 7);                  // any other integer: True
    }
    StartUp();
    EXPECT_EQ(EZNECDir, "/data/eznec");
    EXPECT_EQ(MMANADir, ProgDir);
    EXPECT_EQ(form->Top(), 120);
    const gdi::TRect work = gui::Screen()->WorkAreaRect();
    EXPECT_EQ(form->Left(), form->Width() <= work.Width() ? 10 : work.Left);
    EXPECT_EQ(FormProgInfo->Width(), 410);
    EXPECT_FALSE(FormProgInfo->Visible());
    EXPECT_TRUE(FormMessExport->Visible());
}

TEST_F(StartupTest, AcceptedSeparatorCorrectionEndsWithoutWritingSettings) {
    sys::SetLocaleSeparators({'.', ',', ',', ','});
    viewer->AnswerQuestions(true);
    StartUp();
    const std::vector<std::pair<std::string, std::string>> asked = {
        {"Feldor: Trennzeichen",
         "Ihr Computer ist nicht auf normgerechte Trennzeichen eingestellt.\r\n"
         "Sollen die Einstellungen korrigiert werden?"}};
    EXPECT_EQ(viewer->questions, asked);
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].text,
              "Die Anwendung wird nach der Umschaltung geschlossen. \r\nStarten Sie dann bitte neu!");
    EXPECT_TRUE(app->Terminated());
    const sys::LocaleSeparators s = sys::GetLocaleSeparators();
    EXPECT_EQ(s.Decimal, ',');
    EXPECT_EQ(s.Thousand, '.');
    app->Run();  // returns at once: the end was requested
    viewer->CloseWindows();
    EXPECT_FALSE(rtl::FileExists(IniPath()));
}

TEST_F(StartupTest, DeclinedOrClosedSeparatorQuestionRunsOnWithTheLocaleUnchanged) {
    for (bool closed : {false, true}) {
        SCOPED_TRACE(closed ? "closed" : "Nein");
        sys::SetLocaleSeparators({'.', ',', ',', ','});
        if (closed) {
            // The window's close box: the dialog ends without either button.
            presenter->formHandler = [](gui::TCustomForm& f) {
                f.Close();
                return gui::mrNone;
            };
        } else {
            viewer->AnswerQuestions(false);
        }
        StartUp();
        EXPECT_EQ(presenter->modalForms.size(), 1u);
        EXPECT_TRUE(presenter->boxes.empty());
        EXPECT_FALSE(app->Terminated());
        EXPECT_EQ(sys::GetLocaleSeparators().Decimal, '.');
        TearDown();
        SetUp();
    }
}

TEST_F(StartupTest, TimerCopiesWindowVisibilityIntoMenuAndSettings) {
    StartUp();
    FormProgInfo->Close();  // the script window only hides itself
    EXPECT_FALSE(FormProgInfo->Visible());
    form->TimerTimer(form->Timer);
    EXPECT_FALSE(form->MISkriptfenster->Checked());
    EXPECT_FALSE(SkriptVisible);
    EXPECT_TRUE(form->MIMesswertfenster->Checked());
    form->Close();
    rtl::TIniFile ini(IniPath());
    EXPECT_FALSE(ini.ReadBool("Fenster", "Skript", true));
}

TEST_F(StartupTest, WindowCommandsToggleWindowsAndDebugMode) {
    StartUp();
    form->MIMesswertfenster->Click();
    EXPECT_FALSE(FormMessExport->Visible());
    EXPECT_FALSE(form->MIMesswertfenster->Checked());
    form->MIMesswertfenster->Click();
    EXPECT_TRUE(FormMessExport->Visible());

    EXPECT_TRUE(form->MIDebugMode->Checked());
    form->MIDebugMode->Click();
    EXPECT_FALSE(DebugMode);
    EXPECT_FALSE(form->MIDebugMode->Checked());
}

TEST_F(StartupTest, MainMenuHasEveryItemWithItsShortcutAndVisibility) {
    StartUp();
    struct Item {
        gui::TMenuItem* item;
        const char* caption;
        const char* shortCut;
        bool visible;
    } items[] = {
        {form->MIOeffnen, "&Öffnen", "Ctrl+L", true},
        {form->MISave, "&Speichern", "Ctrl+S", true},
        {form->MISaveAs, "Speichern &unter ..", "", true},
        {form->MIEZNECOpen, "&EZNEC Öffnen", "Ctrl+E", true},
        {form->MISavePicture, "&Grafik speichern", "Ctrl+G", true},
        {form->MIClipPicture, "Grafik in &Zwischenablage", "Ctrl+Z", true},
        {form->MIBeenden, "&Beenden", "Ctrl+X", true},
        {form->MIFakeEZNEC, "Erzeuge &Fake-EZNEC Files", "", false},
        {form->MITest, "&Test", "", false},
        {form->MIVertical, "&Vertikalschnitt zeigen", "", true},
        {form->MIKoaxRechner, "Koax-Rechner", "", true},
    };
    for (const Item& i : items) {
        EXPECT_EQ(i.item->Caption(), i.caption);
        EXPECT_EQ(i.item->ShortCut(), *i.shortCut ? gui::TextToShortCut(i.shortCut) : gui::scNone)
            << i.caption;
        EXPECT_EQ(i.item->Visible(), i.visible) << i.caption;
    }
    gui::TMenuItem* root = form->MainMenu->Items();
    ASSERT_EQ(root->Count(), 5);
    int lines = 0;
    for (int i = 0; i < form->MIDatei->Count(); ++i) lines += form->MIDatei->Items(i)->IsLine();
    EXPECT_EQ(form->MIDatei->Count(), 19);
    EXPECT_EQ(lines, 5);
    EXPECT_EQ(form->MIURLs->Count(), 5);
}

TEST_F(StartupTest, BeendenClosesTheMainWindowAndWritesTheSettings) {
    StartUp();
    form->MIBeenden->Click();
    EXPECT_TRUE(rtl::FileExists(IniPath()));
}

// Feldor.ini cannot be written: closing reports it once and the program still ends.
TEST_F(StartupTest, UnwritableSettingsFileIsReportedOnceAndTheProgramEnds) {
    std::vector<std::pair<std::string, std::string>> cases = {{"a system folder", "/proc/"}};
    if (auto ro = ReadOnlyFolder(dir + "/ro")) cases.emplace_back("read-only folder", *ro);
    for (const auto& [name, progDir] : cases) {
        SCOPED_TRACE(name);
        FeldorU::ProgDirOverride = progDir;
        Restart();
        presenter->boxes.clear();
        form->Close();
        ASSERT_EQ(presenter->boxes.size(), 1u);
        const std::string& text = presenter->boxes[0].text;
        EXPECT_EQ(text.rfind("Datei " + progDir + "Feldor.ini kann nicht erstellt werden. ", 0), 0u)
            << text;
        EXPECT_TRUE(app->Terminated());
        app->Run();  // returns at once: the program ends
        EXPECT_EQ(presenter->boxes.size(), 1u);
    }
}

// Sizes from Feldor.ini stay between a usable minimum and the screen's work area. A script window
// too large to lie anywhere beside the main window's controls is cut to the room right of and
// below the map's top left corner and lies there; places off the screen are not kept.
TEST_F(StartupTest, ScriptWindowSizeFromTheSettingsFileIsBoundedByTheScreen) {
    const gdi::TRect work = gui::Screen()->WorkAreaRect();
    ASSERT_FALSE(work.IsEmpty());
    for (const char* value : {"100000", "2147483647", "0", "-300"}) {
        SCOPED_TRACE(value);
        {
            rtl::TIniFile ini(IniPath());
            ini.WriteString("Fensterpositionen", "SkriptWidth", value);
            ini.WriteString("Fensterpositionen", "SkriptHeight", value);
            ini.WriteInteger("Fensterpositionen", "SkriptLeft", -150);
            ini.WriteInteger("Fensterpositionen", "SkriptTop", 40000);
        }
        Restart();
        ProcessUntil([this] {
            return form->FrameExtentsMeasured() && FormProgInfo->FrameExtentsMeasured();
        });
        ProcessFor(1);
        const QRect frame = FormProgInfo->Widget()->frameGeometry();
        const QPoint map = form->PanelFeld->Widget()->mapToGlobal(QPoint(0, 0));
        const bool large = value[0] != '0' && value[0] != '-';
        if (large) {
            EXPECT_EQ(frame.topLeft(), map);
            EXPECT_EQ(frame.left() + frame.width(), work.Right);
            EXPECT_EQ(frame.top() + frame.height(), work.Bottom);
        } else {
            EXPECT_GE(FormProgInfo->Width(), 100);
            EXPECT_GE(FormProgInfo->Height(), 60);
            EXPECT_GT(FormProgInfo->ClientHeight(), 0);
            // Beside the main window, or over its map.
            if (frame.intersects(form->Widget()->frameGeometry())) {
                EXPECT_GE(frame.left(), map.x());
                EXPECT_GE(frame.top(), map.y());
            }
            EXPECT_GE(frame.left(), work.Left);
            EXPECT_GE(frame.top(), work.Top);
        }
        EXPECT_LE(FormProgInfo->MeInfo->Width(), work.Width());
        EXPECT_LE(frame.left() + frame.width(), work.Right);
        EXPECT_LE(frame.top() + frame.height(), work.Bottom);
        EXPECT_TRUE(FormProgInfo->Visible());
    }
}

// The script and measured-values windows belong to the main window, so that they stay above it.
TEST_F(StartupTest, ScriptAndMeasuredValuesWindowsStayAboveTheMainWindow) {
    StartUp();
    for (gui::TCustomForm* f : {static_cast<gui::TCustomForm*>(FormProgInfo),
                                static_cast<gui::TCustomForm*>(FormMessExport)}) {
        SCOPED_TRACE(f->Caption());
        EXPECT_EQ(f->PopupParent(), form);
        ASSERT_NE(NativeWindow(f), nullptr);
        EXPECT_EQ(NativeWindow(f)->transientParent(), NativeWindow(form));
    }
}

// "Ja" on a machine whose locale store cannot be written: the program says so, naming the
// folder, and goes on as after "Nein" (no end, the program's own numbers with the comma).
TEST_F(StartupTest, SeparatorCorrectionThatCannotBeStoredIsReported) {
    struct Case {
        std::string name, folder;
    };
    std::vector<Case> cases;
    if (auto ro = ReadOnlyFolder(dir + "/ro")) {
        sys::SetLocaleStoreDirectory(*ro);
        cases.push_back({"read-only store folder", *ro});
    }
    cases.push_back({"a store folder that cannot be made", "/proc/feldor-gibt-es-nicht"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.name == "read-only store folder") {
            // The store was written before the folder became read-only.
            std::filesystem::permissions(c.folder, std::filesystem::perms::owner_all);
            sys::SetLocaleStoreDirectory(c.folder);
            sys::SetLocaleSeparators({'.', ',', ',', ','});
            ASSERT_TRUE(ReadOnlyFolder(c.folder));
        } else {
            // Nothing stored: the values come from the environment's locale, here "C".
            setenv("LC_ALL", "C", 1);
            sys::SetLocaleStoreDirectory(c.folder);
        }
        sys::LoadFormatSettingsFromLocale();
        ASSERT_EQ(rtl::FormatSettings().DecimalSeparator, '.');
        viewer->questions.clear();
        presenter->boxes.clear();
        viewer->AnswerQuestions(true);
        Restart();
        unsetenv("LC_ALL");
        EXPECT_EQ(viewer->questions.size(), 1u);
        ASSERT_EQ(presenter->boxes.size(), 1u);
        const std::string& text = presenter->boxes[0].text;
        EXPECT_NE(text.find(c.folder), std::string::npos) << text;
        EXPECT_NE(text.find("nicht gespeichert"), std::string::npos) << text;
        EXPECT_FALSE(app->Terminated());
        EXPECT_EQ(sys::GetLocaleSeparators().Decimal, '.');
        EXPECT_EQ(rtl::FormatSettings().DecimalSeparator, ',');
        EXPECT_EQ(rtl::FormatSettings().ThousandSeparator, '.');
        EXPECT_TRUE(FormProgInfo->Visible());
    }
}

// Any failure while the settings are written, not only a file error, is shown once and the
// program still ends.
TEST_F(StartupTest, NoMemoryWhileWritingTheSettingsIsReportedOnceAndTheProgramEnds) {
    std::string text = "[Fenster]\r\nSkript=1\r\n";
    text.resize(512 * 1024 - 2, ';');
    text += "\r\n";
    std::ofstream(IniPath(), std::ios::binary) << text;
    StartUp();
    presenter->boxes.clear();
    {
        FailLargeAllocations noMemory(256 * 1024);  // the file is read before it is rewritten
        gui::InvokeHandler(form, [&] { form->Close(); });
    }
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].text, "Zu wenig Arbeitsspeicher.");
    EXPECT_TRUE(app->Terminated());
    EXPECT_EQ(ReadFile(IniPath()), text);
}

// A Feldor.ini that exists but cannot be read is said once at the start; the defaults hold and
// closing leaves the file as it is.
TEST_F(StartupTest, SettingsFileThatCannotBeReadIsSaidOnceAndKept) {
    std::string large = "[Fensterpositionen]\r\nTop=77\r\n";
    large.resize(static_cast<std::size_t>(rtl::MaxIniFileSize) + 1, ';');
    struct Case {
        const char* name;
        std::function<void()> make;
        std::string reason;
    };
    std::vector<Case> cases = {
        {"a folder", [&] { std::filesystem::create_directory(IniPath()); }, rtl::SysErrorMessage(EISDIR)},
        {"larger than 1 MB", [&] { std::ofstream(IniPath(), std::ios::binary) << large; },
         "Die Datei ist größer als 1 MB"},
    };
    if (geteuid() != 0)  // root reads anyway
        cases.push_back({"no read permission",
                         [&] {
                             std::ofstream(IniPath(), std::ios::binary) << large.substr(0, 30);
                             std::filesystem::permissions(IniPath(), std::filesystem::perms::owner_write);
                         },
                         "Zugriff verweigert"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(IniPath());
        c.make();
        const auto before = std::filesystem::status(IniPath());
        const std::string content = ReadFile(IniPath());
        presenter->boxes.clear();
        Restart();
        ASSERT_EQ(presenter->boxes.size(), 1u);
        EXPECT_EQ(presenter->boxes[0].text,
                  "Datei " + IniPath() + " kann nicht geöffnet werden. " + c.reason +
                      ".\r\nFeldor beginnt mit den Grundeinstellungen und überschreibt die Datei "
                      "beim Beenden nicht.");
        EXPECT_EQ(form->Top(), 10);
        form->Close();
        EXPECT_TRUE(app->Terminated());
        EXPECT_EQ(presenter->boxes.size(), 1u);
        EXPECT_EQ(std::filesystem::status(IniPath()).type(), before.type());
        EXPECT_EQ(std::filesystem::status(IniPath()).permissions(), before.permissions());
        EXPECT_EQ(ReadFile(IniPath()), content);
    }
    std::filesystem::remove_all(IniPath());
}

// A settings file of any size costs no memory: one far larger than a real one is not read.
TEST_F(StartupTest, LargeSettingsFileIsNotRead) {
    StartUp();
    {
        std::ofstream(IniPath(), std::ios::binary) << "[Fensterpositionen]\r\nTop=77\r\n";
    }
    std::filesystem::resize_file(IniPath(), 64 << 20);  // sparse: no disk space
    if (!ResetPeak()) GTEST_SKIP() << "no /proc/self/clear_refs";
    const long before = StatusKb("VmRSS");
    form->ReadSettings();
    const long peak = StatusKb("VmHWM");
    ASSERT_GT(before, 0);
    EXPECT_LT(peak - before, 4 * 1024) << "kB above the resident set before";
    EXPECT_EQ(form->Top(), 10);
    EXPECT_TRUE(form->SettingsUnreadable);
}
