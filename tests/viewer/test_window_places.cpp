// Where the viewer's windows open: the measured-values and script windows beside the main
// window's controls, stored places kept or brought wholly onto the screen and written back as
// read, and
// the windows opened later belonging to the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/rtl/IniFiles.h"
#include "tests/support/EventLoop.h"
#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

QWindow* NativeWindow(const gui::TCustomForm* f) {
    return f->ClientWidget()->window()->windowHandle();
}

QRect FrameOf(const gui::TCustomForm* f) { return f->Widget()->frameGeometry(); }

// Whether the window lies on the main window's title bar, menu bar or the controls left of the
// map, as the window system shows them.
bool CoversControls(const gui::TCustomForm* f, const TFormFeldor* main) {
    const QRect frame = FrameOf(main);
    const QPoint map = main->PanelFeld->Widget()->mapToGlobal(QPoint(0, 0));
    const QRect r = FrameOf(f);
    return r.intersects(frame) && (r.left() < map.x() || r.top() < map.y());
}

gdi::TRect Frame(const QWidget* w) {
    const QRect r = w->frameGeometry();
    return gdi::Bounds(r.x(), r.y(), r.width(), r.height());
}

// Wholly on the screen, or, for a window larger than the work area, at its top or left edge.
bool OnScreenAsFarAsItFits(const QWidget* w) {
    return gui::WindowOntoScreen(Frame(w), gui::WorkAreas()) == Frame(w);
}

bool WhollyOnScreen(const QWidget* w) { return gui::WindowOnScreen(Frame(w), gui::WorkAreas()); }

std::vector<gui::TCustomForm*> ToolWindows() {
    return {FormMessExport, FormProgInfo};
}

// Waits until the window system has framed the start-up windows (at once on the test platform).
void WaitUntilFramed(const TFormFeldor* main) {
    ProcessUntil([main] {
        return main->FrameExtentsMeasured() && FormMessExport->FrameExtentsMeasured() &&
               FormProgInfo->FrameExtentsMeasured();
    });
    ProcessFor(1);
}

}  // namespace

class WindowPlaces : public ViewerFixture {
protected:
    void WriteIni(const std::vector<std::pair<const char*, std::string>>& entries) {
        rtl::TIniFile ini(IniPath());
        for (const auto& [key, value] : entries) ini.WriteString("Fensterpositionen", key, value);
    }
    int Stored(const char* key) const {
        return rtl::TIniFile(IniPath()).ReadInteger("Fensterpositionen", key, -99999);
    }
};

// The first start: both windows in sight above the main window, off its menu bar and controls,
// inside the work area and not on each other; closing stores where they are.
TEST_F(WindowPlaces, FirstStartPutsTheWindowsBesideTheMainWindowsControls) {
    StartUp();
    WaitUntilFramed(form);
    const gdi::TRect work = form->WorkArea();
    for (gui::TCustomForm* f : ToolWindows()) {
        SCOPED_TRACE(f->Caption());
        EXPECT_TRUE(f->Visible());
        EXPECT_EQ(f->PopupParent(), form);
        EXPECT_FALSE(CoversControls(f, form));
        const QRect r = FrameOf(f);
        EXPECT_GE(r.left(), work.Left);
        EXPECT_GE(r.top(), work.Top);
        EXPECT_LE(r.left() + r.width(), work.Right);
        EXPECT_LE(r.top() + r.height(), work.Bottom);
    }
    EXPECT_FALSE(FrameOf(FormMessExport).intersects(FrameOf(FormProgInfo)));

    const int messTop = FormMessExport->Top(), skriptLeft = FormProgInfo->Left();
    form->Close();
    EXPECT_EQ(Stored("MessTop"), messTop);
    EXPECT_EQ(Stored("SkriptLeft"), skriptLeft);
    EXPECT_EQ(Stored("Top"), 10);
    // A main window wider than the screen goes to its left edge.
    EXPECT_EQ(Stored("Left"), form->Width() <= work.Width() ? 10 : work.Left);
}

// Places from Feldor.ini: wholly on the screen they are used and written back as read; partly or
// wholly off it (a larger or another monitor's layout) every window comes back wholly on the
// screen as far as it fits, the two that stay above the main window beside its controls and off
// each other, and the corrected places are stored.
TEST_F(WindowPlaces, StoredPlacesAreKeptOnTheScreenAndBroughtBackFromOffIt) {
    const gdi::TRect work = gui::Screen()->WorkAreaRect();
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, std::string>> entries;
        bool kept;
    };
    const Case cases[] = {
        {"on the screen",
         {{"Top", "40"}, {"Left", "50"}, {"MessTop", "120"}, {"MessLeft", "300"},
          {"SkriptTop", "350"}, {"SkriptLeft", "420"}},
         true},
        {"above and right of the screen",
         {{"Top", "-500"}, {"Left", "3000"}, {"MessTop", "-500"}, {"MessLeft", "3000"},
          {"SkriptTop", "-400"}, {"SkriptLeft", "3100"}},
         false},
        {"far off to the top left",
         {{"Top", "-5000"}, {"Left", "-5000"}, {"MessTop", "-5000"}, {"MessLeft", "-5000"},
          {"SkriptTop", "-5000"}, {"SkriptLeft", "-5000"}},
         false},
        {"below the screen", {{"MessTop", "40000"}, {"SkriptTop", "40000"}}, false},
        {"partly off the right edge",
         {{"MessTop", "10"}, {"MessLeft", std::to_string(work.Right - 200)}, {"SkriptTop", "360"},
          {"SkriptLeft", std::to_string(work.Right - 100)}},
         false},
        {"partly off the bottom edge",
         {{"MessTop", std::to_string(work.Bottom - 100)}, {"MessLeft", "300"},
          {"SkriptTop", std::to_string(work.Bottom - 50)}, {"SkriptLeft", "420"}},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(IniPath());
        WriteIni(c.entries);
        viewer->CloseWindows();
        ResetData();
        StartUp();
        WaitUntilFramed(form);
        const std::vector<gui::TCustomForm*> all = {form, FormMessExport, FormProgInfo};
        for (gui::TCustomForm* f : all) {
            SCOPED_TRACE(f->Caption());
            EXPECT_TRUE(OnScreenAsFarAsItFits(f->Widget()));
            EXPECT_EQ(FrameOf(f).topLeft(), QPoint(f->Left(), f->Top()));
        }
        for (gui::TCustomForm* f : ToolWindows()) EXPECT_TRUE(WhollyOnScreen(f->Widget()));
        if (c.kept) {
            // The main window, where it is wider than the screen, goes to the left edge.
            const int left = form->Width() <= work.Width() ? 50 : work.Left;
            EXPECT_EQ(FrameOf(form).topLeft(), QPoint(left, 40));
            EXPECT_EQ(FrameOf(FormMessExport).topLeft(), QPoint(300, 120));
            EXPECT_EQ(FrameOf(FormProgInfo).topLeft(), QPoint(420, 350));
        } else {
            for (gui::TCustomForm* f : ToolWindows())
                EXPECT_FALSE(CoversControls(f, form)) << f->Caption();
            EXPECT_FALSE(FrameOf(FormMessExport).intersects(FrameOf(FormProgInfo)));
        }
        const int top = form->Top(), mainLeft = form->Left();
        const int messLeft = FormMessExport->Left();
        const int skriptTop = FormProgInfo->Top();
        form->Close();
        EXPECT_EQ(Stored("Top"), top);
        EXPECT_EQ(Stored("MessLeft"), messLeft);
        EXPECT_EQ(Stored("SkriptTop"), skriptTop);
        if (c.kept) {
            for (const auto& [key, value] : c.entries)
                if (std::string(key) != "Left") EXPECT_EQ(Stored(key), std::stoi(value)) << key;
            EXPECT_EQ(Stored("Left"), mainLeft);
        }
    }
}

// A main window moved onto the screen (its place from a larger screen's layout) takes its
// controls to where a kept window may lie: a stored window now on them is placed anew beside
// them, one clear of them stays where it was.
TEST_F(WindowPlaces, AStoredWindowOnTheMovedMainWindowsControlsIsPlacedAnew) {
    WriteIni({{"Top", "10"}, {"Left", "2000"}, {"MessTop", "60"}, {"MessLeft", "20"},
              {"SkriptTop", "480"}, {"SkriptLeft", "480"}});
    StartUp();
    WaitUntilFramed(form);
    EXPECT_NE(form->Left(), 2000);
    EXPECT_TRUE(OnScreenAsFarAsItFits(form->Widget()));
    EXPECT_FALSE(CoversControls(FormMessExport, form));
    EXPECT_TRUE(WhollyOnScreen(FormMessExport->Widget()));
    EXPECT_EQ(FrameOf(FormProgInfo).topLeft(), QPoint(480, 480));
    EXPECT_FALSE(FrameOf(FormMessExport).intersects(FrameOf(FormProgInfo)));
}

// The section, coax and system-information windows stay in sight above the main window.
TEST_F(WindowPlaces, WindowsOpenedLaterBelongToTheMainWindow) {
    StartUp();
    for (int j = 0; j <= 4; ++j)
        for (int i = 0; i <= 4; ++i)
            for (double z : {1.0, 2.0}) AppendFieldPoint(i, j, z, 1 + i + j + z, 1, 1, 1);
    ShowFirstEPlane();
    CutP1x = 0;
    CutP1y = 0;
    CutP2x = 4;
    CutP2y = 4;
    CutPointCount = 20;
    form->MIVerticalClick(nullptr);
    form->MIKoaxRechnerClick(nullptr);
    form->MISysInfoClick(nullptr);

    const QString titles[] = {QStringLiteral("Feldstärkeverteilung in der Schnittebene"),
                              QStringLiteral("Dämpfung von Koaxkabeln und Konnektoren"),
                              QStringLiteral("Systeminformationen")};
    for (const QString& title : titles) {
        SCOPED_TRACE(title.toStdString());
        std::vector<QWidget*> windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == title) windows.push_back(w);
        ASSERT_EQ(windows.size(), 1u);
        ASSERT_NE(windows[0]->windowHandle(), nullptr);
        EXPECT_EQ(windows[0]->windowHandle()->transientParent(), NativeWindow(form));
        EXPECT_TRUE(OnScreenAsFarAsItFits(windows[0]));
        windows[0]->close();
    }
    app->ProcessMessages();
}
