// The application object and its timer pool, driven by injected ticks of the hidden window
// (and once by the real window timer).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "components/base/kitapp.h"
#include "components/base/kitprocs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/InstanceLock.h"

using namespace kit;

namespace {

class kitApp : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/feldor-kitapp-XXXXXX";
        dir = mkdtemp(pattern);
        sys::TInstanceLock::SetDirectory(dir);
        app = std::make_unique<TKitApplication>();
    }
    void TearDown() override {
        app.reset();
        sys::TInstanceLock::SetDirectory("");
        std::filesystem::remove_all(dir);
    }
    // One tick of the pool's window timer.
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            gui::TMessage m{gui::WM_TIMER, 1, 0, 0};
            app->TimerPool->WndProc(m);
        }
    }
    // A handler that records the pool tick (1-based since the last start) of each firing.
    rtl::TNotifyEvent recorder(std::vector<int>& log) {
        return [this, &log](rtl::TObject* sender) {
            EXPECT_EQ(sender, app->TimerPool.get());
            log.push_back(app->TimerPool->Counter());
        };
    }

    std::string dir;
    std::unique_ptr<TKitApplication> app;
};

TEST_F(kitApp, ItemsFireOnTheirShareOfTheTicks) {
    std::vector<int> h, g;
    EXPECT_FALSE(app->TimerPool->Active());
    EXPECT_EQ(app->TimerPool->MinInterval(), 50);
    EXPECT_EQ(app->AddTimer(250, recorder(h)), 0xFD01);
    tick(3);
    // The second Add restarts the window timer: both items count from there.
    EXPECT_EQ(app->AddTimer(1000, recorder(g)), 0xFD02);
    EXPECT_TRUE(app->TimerPool->Active());
    EXPECT_EQ(app->TimerPool->Counter(), 1);
    tick(40);
    EXPECT_EQ(h, (std::vector<int>{5, 10, 15, 20, 25, 30, 35, 40}));
    EXPECT_EQ(g, (std::vector<int>{20, 40}));
    EXPECT_EQ(app->GetTimer(0xFD01)->Ticks(), 5);
    EXPECT_EQ(app->GetTimer(0xFD01)->Counter, 8);
    EXPECT_EQ(app->GetTimer(0xFD03), nullptr);
}

TEST_F(kitApp, BadIntervalIsRefusedAndTheSlotStaysFree) {
    for (int interval : {75, 0, 25, 120}) {
        SCOPED_TRACE(interval);
        try {
            app->AddTimer(static_cast<std::uint16_t>(interval), [](rtl::TObject*) {});
            FAIL() << "no exception";
        } catch (const rtl::Exception& e) {
            EXPECT_EQ(e.Message, "Interval not compatible with MinInterval property!");
        }
    }
    EXPECT_EQ(app->TimerPool->Count(), 0);
    EXPECT_FALSE(app->TimerPool->Active());
    EXPECT_EQ(app->AddTimer(100, nullptr), 0xFD01);
}

TEST_F(kitApp, TwoHundredFiftySlotsThenNone) {
    for (int i = 0; i < 250; ++i) ASSERT_EQ(app->AddTimer(50, nullptr), 0xFD01 + i);
    EXPECT_EQ(app->AddTimer(50, nullptr), 0);
    EXPECT_EQ(app->TimerPool->Count(), 250);
    // A freed slot is handed out again, lowest first.
    app->RemoveTimer(0xFD07);
    app->RemoveTimer(0xFD03);
    EXPECT_EQ(app->AddTimer(50, nullptr), 0xFD03);
    EXPECT_EQ(app->AddTimer(50, nullptr), 0xFD07);
    EXPECT_EQ(app->AddTimer(50, nullptr), 0);
}

TEST_F(kitApp, RemoveTimerIgnoresForeignIDsAndStopsWithTheLastItem) {
    const auto a = app->AddTimer(50, nullptr);
    const auto b = app->AddTimer(100, nullptr);
    // An item of the pool outside the slot range: the slot table is not touched for it.
    app->TimerPool->Add(0xFE00, 50, nullptr);
    for (std::uint16_t id : {0, 64768, 0xFD05}) app->RemoveTimer(id);
    EXPECT_EQ(app->TimerPool->Count(), 3);
    app->RemoveTimer(0xFE00);
    EXPECT_EQ(app->TimerPool->Count(), 2);
    app->RemoveTimer(a);
    EXPECT_TRUE(app->TimerPool->Active());
    app->RemoveTimer(b);
    EXPECT_EQ(app->TimerPool->Count(), 0);
    EXPECT_FALSE(app->TimerPool->Active());
    EXPECT_EQ(app->AddTimer(50, nullptr), 0xFD01);
}

TEST_F(kitApp, RepeatCountDisablesAfterTheLastFiring) {
    int calls = 0;
    const auto id = app->AddTimer(50, [&](rtl::TObject*) { ++calls; });
    TKitTimerItem* item = app->GetTimer(id);
    item->RepeatCount = 3;
    tick(6);
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(item->Enabled());
    // Disabled items keep the window timer running; their ticks fire nothing.
    EXPECT_TRUE(app->TimerPool->Active());
    item->SetEnabled(true);
    EXPECT_EQ(item->Counter, 0);
    tick(1);
    EXPECT_EQ(calls, 4);

    item->RepeatCount = 0;
    item->SetEnabled(false);
    item->SetEnabled(true);
    EXPECT_FALSE(item->Enabled());
}

TEST_F(kitApp, SetIntervalKeepsTheGrid) {
    const auto id = app->AddTimer(200, nullptr);
    TKitTimerItem* item = app->GetTimer(id);
    struct Case { int set, interval, ticks; };
    for (const Case c : {Case{0, 50, 1}, Case{120, 50, 1}, Case{100, 100, 2}, Case{1000, 1000, 20},
                         Case{65535, 1000, 20}, Case{65500, 65500, 1310}}) {
        SCOPED_TRACE(c.set);
        item->SetInterval(static_cast<std::uint16_t>(c.set));
        EXPECT_EQ(item->Interval(), c.interval);
        EXPECT_EQ(item->Ticks(), c.ticks);
    }
}

TEST_F(kitApp, ItemWithoutHandlerReportsThroughThePoolEvent) {
    std::vector<std::pair<int, int>> seen;
    app->TimerPool->OnTimer = [&](rtl::TObject* sender, std::uint16_t ident, int counter) {
        EXPECT_EQ(sender, app->TimerPool.get());
        seen.emplace_back(ident, counter);
    };
    app->AddTimer(100, nullptr);
    tick(4);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0xFD01, 1}, {0xFD01, 2}}));
}

TEST_F(kitApp, FailingHandlerIsShownAndTheOthersKeepTheirRate) {
    gui::ScriptedPresenter presenter;
    gui::TApplication application;
    std::vector<int> bad, good;
    app->AddTimer(250, [&](rtl::TObject*) {
        bad.push_back(app->TimerPool->Counter());
        throw rtl::Exception("Zeitgeber kaputt");
    });
    app->AddTimer(250, recorder(good));
    tick(11);
    EXPECT_EQ(bad, (std::vector<int>{5, 10}));
    EXPECT_EQ(good, (std::vector<int>{5, 10}));
    ASSERT_EQ(presenter.boxes.size(), 2u);
    EXPECT_EQ(presenter.boxes[0].text, "Zeitgeber kaputt.");
    EXPECT_FALSE(app->TimerPool->InTick());
}

TEST_F(kitApp, HandlerMayRemoveItsOwnItem) {
    std::vector<int> other;
    std::uint16_t self = 0;
    int calls = 0;
    self = app->AddTimer(50, [&](rtl::TObject*) {
        ++calls;
        app->RemoveTimer(self);
    });
    app->AddTimer(100, recorder(other));
    tick(4);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(app->TimerPool->Count(), 1);
    EXPECT_EQ(app->GetTimer(self), nullptr);
    EXPECT_FALSE(other.empty());
}

TEST_F(kitApp, NoWindowTimerLeavesNothingBehind) {
    gui::TUtilityWindow::SetTimersExhausted(true);
    try {
        app->AddTimer(50, nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const rtl::EOutOfResources& e) {
        EXPECT_EQ(e.Message, "Nicht genügend Timer verfügbar");
    }
    gui::TUtilityWindow::SetTimersExhausted(false);
    EXPECT_EQ(app->TimerPool->Count(), 0);
    EXPECT_FALSE(app->TimerPool->Active());
    EXPECT_EQ(app->AddTimer(50, nullptr), 0xFD01);
}

TEST_F(kitApp, PoolRules) {
    TKitTimerPool pool(nullptr);
    EXPECT_EQ(pool.MinInterval(), 1000);
    pool.SetMinInterval(50);  // only while loading
    EXPECT_EQ(pool.MinInterval(), 1000);
    pool.Add(7, 2000, nullptr);
    EXPECT_THROW(pool.Add(7, 1000, nullptr), rtl::Exception);
    EXPECT_EQ(pool.Count(), 1);
    EXPECT_EQ(pool.IndexOf(7), 0);
    EXPECT_EQ(pool.IndexOf(8), -1);
    {
        rtl::TLoadingScope loading;
        TKitTimerPool loaded(nullptr);
        loaded.SetMinInterval(100);
        EXPECT_EQ(loaded.MinInterval(), 100);
    }
    rtl::TList list;
    try {
        TKitTimerItem item(nullptr, &list, 1);
        FAIL() << "no exception";
    } catch (const rtl::EInvalidOperation& e) {
        EXPECT_EQ(e.Message, "TKitTimerItem: Invalid Owner or List");
    }
    EXPECT_THROW(TKitTimerItem(&pool, nullptr, 1), rtl::EInvalidOperation);
}

TEST_F(kitApp, RealWindowTimerTicks) {
    gui::TApplication application;
    int calls = 0;
    app->AddTimer(50, [&](rtl::TObject*) { ++calls; });
    QElapsedTimer clock;
    clock.start();
    while (calls < 2 && clock.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GE(calls, 2);
}

TEST_F(kitApp, ApplicationState) {
    EXPECT_EQ(app->Options, 0x36);
    EXPECT_EQ(app->CheckWidth, 13);
    EXPECT_EQ(app->CheckHeight, 13);
    EXPECT_EQ(app->CheckGlyphWidth(), 0);
    EXPECT_EQ(app->CheckGlyphHeight(), 0);
    EXPECT_NE(app->IniCtrl, nullptr);

    int changes = 0;
    app->OnKeyStateChange = [&](rtl::TObject* sender) {
        EXPECT_EQ(sender, app.get());
        ++changes;
    };
    EXPECT_EQ(app->KeyState(), 1);
    app->SetKeyState(1);
    app->SetKeyState(3);
    app->SetKeyState(3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(app->KeyState(), 3);

    // No theme library: themed drawing stays off whatever is asked.
    EXPECT_FALSE(app->ThemesEnabled());
    app->SetThemesEnabled(false);
    app->SetThemesEnabled(true);
    EXPECT_FALSE(app->ThemesEnabled());
}

TEST_F(kitApp, SecondApplicationObjectIsASecondInstance) {
    EXPECT_FALSE(app->SecondInstance);
    TKitApplication second;
    EXPECT_TRUE(second.SecondInstance);
}

TEST_F(kitApp, PatternBitmapIsACachedCheckerboard) {
    gdi::TBitmap* red = app->GetPatternBitmap(gdi::clRed);
    ASSERT_EQ(red->Width(), 8);
    ASSERT_EQ(red->Height(), 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(red->Canvas()->Pixels(x, y), (x + y) % 2 ? gdi::clRed : gdi::clWhite) << x << "," << y;
    red->Canvas()->SetPixels(0, 0, gdi::clBlack);
    EXPECT_EQ(app->GetPatternBitmap(gdi::clRed), red);
    EXPECT_EQ(red->Canvas()->Pixels(0, 0), gdi::clBlack);  // not rebuilt
    EXPECT_EQ(app->GetPatternBitmap(gdi::clBlue), red);
    EXPECT_EQ(red->Canvas()->Pixels(1, 0), gdi::clBlue);
}

TEST_F(kitApp, LogFileName) {
    const std::string exe = rtl::ParamStr(0);
    EXPECT_EQ(app->LogFileName(), KitProgramDir() + rtl::ExtractFileName(rtl::ChangeFileExt(exe, ".LOG")));
    app->SetLogFileName("sub/trace");
    EXPECT_EQ(app->LogFileName(), KitProgramDir() + "trace.LOG");
    app->SetLogFileName("trace.txt");
    EXPECT_EQ(app->LogFileName(), KitProgramDir() + "trace.txt");
    app->LogPathPrefix = ppFixed;
    app->SetLogFileName("/var/tmp/trace");
    EXPECT_EQ(app->LogFileName(), "/var/tmp/trace.LOG");
}

class Shaped : public rtl::TComponent {
public:
    using rtl::TComponent::TComponent;
};

TEST(kitAppUnit, SingleInstanceCheck) {
    gui::TApplication application;
    EXPECT_TRUE(KitIsInvalidInstance<Shaped>(nullptr, false));
    rtl::TComponent plain(nullptr);
    new Shaped(&plain);
    EXPECT_TRUE(KitIsInvalidInstance<Shaped>(&plain, false));
    gui::TForm form(nullptr);
    new Shaped(&form);
    EXPECT_FALSE(KitIsInvalidInstance<Shaped>(&form, false));
    new Shaped(&form);
    EXPECT_TRUE(KitIsInvalidInstance<Shaped>(&form, false));

    EXPECT_EQ(KitEOneInstError("TKitShapedForm", 0).Message,
              "TKitShapedForm:\rInvalid owner (<>TForm) or second instance on a form");
    EXPECT_EQ(KitEOneInstError("TKitShapedForm", 1).Message,
              "TKitShapedForm:\rAlready one TKitShapedForm control in this project!");
}

TEST(kitAppUnit, GlobalObjectIsMadeOnDemandAndFreedByTheOutermostFinalize) {
    KitAppInitialize();
    ASSERT_TRUE(KitApplication.Assigned());
    TKitApplication* first = KitApplication.Get();
    KitAppInitialize();
    KitAppFinalize();
    EXPECT_EQ(KitApplication.Get(), first);
    EXPECT_EQ(KitApplication->TimerPool->MinInterval(), 50);
    KitAppFinalize();
    EXPECT_FALSE(KitApplication.Assigned());
}

}  // namespace
