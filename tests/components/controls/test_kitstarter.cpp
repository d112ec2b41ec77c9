// The starter component: shell verbs, errors, the watch of a started program on the timer pool
// and the automatic start.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "components/base/kitapp.h"
#include "components/controls/kitstarter.h"
#include "platform/rtl/DateUtils.h"
#include "platform/sys/Process.h"
#include "platform/sys/Shell.h"

using namespace kit;

namespace {

namespace fs = std::filesystem;

void WriteFile(const std::string& path, const std::string& text, fs::perms perms) {
    std::ofstream(path, std::ios::binary) << text;
    fs::permissions(path, perms);
}

std::string WaitForFile(const std::string& path) {
    for (int i = 0; i < 500 && !fs::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Pool ticks of the application's timer pool, as its hidden window would get them.
void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
        gui::TMessage m{gui::WM_TIMER, 1, 0, 0};
        KitApplication->TimerPool->WndProc(m);
    }
}

class kitStarter : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/feldor-starter-XXXXXX";
        dir = mkdtemp(pattern);
        WriteFile(dir + "/opener", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + dir + "/opened\"\n",
                  fs::perms::owner_all);
        sys::SetShellOpener(dir + "/opener");
        WriteFile(dir + "/doc.txt", "x", fs::perms::owner_read | fs::perms::owner_write);
        WriteFile(dir + "/quick", "#!/bin/sh\nexit 0\n", fs::perms::owner_all);
        poolItems = KitApplication->TimerPool->Count();
    }
    void TearDown() override {
        sys::SetShellOpener("");
        fs::remove_all(dir);
        EXPECT_EQ(KitApplication->TimerPool->Count(), poolItems);
    }
    // Records the events of a starter as "name:sender" (sender "self", "nil" or "other").
    void Record(TKitStarter& s) {
        auto rec = [this, &s](const char* name) {
            return [this, &s, name](rtl::TObject* sender) {
                events.push_back(std::string(name) + ":" + (sender == &s ? "self" : sender ? "other" : "nil"));
            };
        };
        s.OnBeforeStart = rec("before");
        s.OnAfterStart = rec("after");
        s.OnError = rec("error");
        s.OnFinished = rec("finished");
    }

    std::string dir;
    int poolItems = 0;
    std::vector<std::string> events;
};

TEST_F(kitStarter, DefaultsAndADormantAutoStartPoll) {
    TKitStarter s(nullptr);
    EXPECT_EQ(s.StartOperation(), smOpen);
    EXPECT_EQ(s.StartOption(), soSW_SHOW);
    EXPECT_FALSE(s.AutoStart());
    EXPECT_FALSE(s.Wait());
    EXPECT_EQ(s.StartTime()->Value, rtl::EncodeDate(1990, 1, 1));
    EXPECT_EQ(s.ExitTimerID(), 0);
    TKitTimerItem* poll = KitApplication->GetTimer(s.AutoStartTimerID());
    ASSERT_NE(poll, nullptr);
    EXPECT_EQ(poll->Interval(), 1000);
    EXPECT_FALSE(poll->Enabled());
    s.SetAutoStart(true);
    EXPECT_TRUE(poll->Enabled());
    s.SetAutoStart(false);
    EXPECT_FALSE(poll->Enabled());
    EXPECT_EQ(KitApplication->TimerPool->Count(), poolItems + 1);
}

TEST_F(kitStarter, ExploreOpensTheFolderOfAFile) {
    TKitStarter s(nullptr);
    s.SetStartOperation(smExplore);
    s.SetCommand(dir + "/doc.txt");
    s.SetParameters("-x");
    s.Start();
    EXPECT_EQ(s.ErrorCode(), 0);
    EXPECT_EQ(WaitForFile(dir + "/opened"), dir + "/\n");
}

TEST_F(kitStarter, ShellErrorsGoToOnErrorWithoutSender) {
    struct Case {
        TKitStarterOperation op;
        std::string command;
        int error;
    };
    const Case cases[] = {{smPrint, dir + "/doc.txt", 31}, {smEdit, dir + "/doc.txt", 31},
                          {smProperties, dir + "/doc.txt", 31}, {smOpen, dir + "/missing.txt", 2},
                          {smOpen, dir + "/nowhere/missing.txt", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command + " " + KitStarterVerb(c.op));
        TKitStarter s(nullptr);
        Record(s);
        events.clear();
        s.SetStartOperation(c.op);
        s.SetCommand(c.command);
        s.Start();
        EXPECT_EQ(s.ErrorCode(), c.error);
        EXPECT_EQ(events, (std::vector<std::string>{"before:self", "error:nil", "after:self"}));
        EXPECT_EQ(s.ExitTimerID(), 0);
    }
}

// A starter whose shell start hands the target on and yields no process.
class NoProcessStarter : public TKitStarter {
public:
    using TKitStarter::TKitStarter;

protected:
    sys::TShellResult Execute(sys::TShellVerb, const std::string&, const std::string&, const std::string&) override {
        return {0, 0};
    }
};

TEST_F(kitStarter, WithoutProcessTheNextExitPollFinishes) {
    NoProcessStarter s(nullptr);
    Record(s);
    s.SetCommand(dir + "/doc.txt");
    s.Start();
    EXPECT_EQ(events, (std::vector<std::string>{"before:self", "after:self"}));
    EXPECT_EQ(s.ProcessHandle(), nullptr);
    ASSERT_NE(s.ExitTimerID(), 0);
    Ticks(10);  // the first poll after 500 ms
    EXPECT_EQ(events, (std::vector<std::string>{"before:self", "after:self", "finished:self"}));
    EXPECT_EQ(s.ExitTimerID(), 0);
    EXPECT_FALSE(s.ExitCode().has_value());
}

TEST_F(kitStarter, TheOpenerIsWatchedAndItsExitCodeRead) {
    for (int code : {0, 3}) {
        SCOPED_TRACE(code);
        WriteFile(dir + "/opener", "#!/bin/sh\nexit " + std::to_string(code) + "\n", fs::perms::owner_all);
        TKitStarter s(nullptr);
        Record(s);
        events.clear();
        s.SetCommand(dir + "/doc.txt");
        s.Start();
        ASSERT_NE(s.ProcessHandle(), nullptr);
        s.ProcessHandle()->Wait();
        EXPECT_FALSE(s.ExitCode().has_value());
        Ticks(10);
        EXPECT_EQ(events, (std::vector<std::string>{"before:self", "after:self", "finished:self"}));
        EXPECT_EQ(s.ExitCode(), code);
        // The next start forgets how the last one ended.
        s.OnFinished = nullptr;
        s.Start();
        EXPECT_FALSE(s.ExitCode().has_value());
    }
}

TEST_F(kitStarter, StartedProgramIsWatchedOnThePool) {
    TKitStarter s(nullptr);
    Record(s);
    s.SetCommand(dir + "/quick");
    s.SetWait(true);  // returns once the program has ended
    s.Start();
    ASSERT_NE(s.ExitTimerID(), 0);
    TKitTimerItem* poll = KitApplication->GetTimer(s.ExitTimerID());
    ASSERT_NE(poll, nullptr);
    EXPECT_EQ(poll->Interval(), 500);
    EXPECT_EQ(events, (std::vector<std::string>{"before:self", "after:self"}));
    Ticks(10);  // the first poll after 500 ms
    EXPECT_EQ(events.back(), "finished:self");
    EXPECT_EQ(s.ExitTimerID(), 0);
    EXPECT_EQ(s.ProcessHandle(), nullptr);
    Ticks(20);
    EXPECT_EQ(std::count(events.begin(), events.end(), "finished:self"), 1);
}

TEST_F(kitStarter, RunningProgramKeepsItsPollUntilItEnds) {
    WriteFile(dir + "/slow", "#!/bin/sh\nsleep 1\n", fs::perms::owner_all);
    TKitStarter s(nullptr);
    Record(s);
    s.SetCommand(dir + "/slow");
    s.Start();
    ASSERT_NE(s.ProcessHandle(), nullptr);
    EXPECT_TRUE(s.ProcessHandle()->Running());
    Ticks(10);
    EXPECT_NE(s.ExitTimerID(), 0);
    // A second start drops the watch of the first: the pool keeps one exit poll.
    const int items = KitApplication->TimerPool->Count();
    s.Start();
    EXPECT_EQ(KitApplication->TimerPool->Count(), items);
    s.ProcessHandle()->Wait();
    Ticks(10);
    EXPECT_EQ(s.ExitTimerID(), 0);
    EXPECT_EQ(std::count(events.begin(), events.end(), "finished:self"), 1);
}

TEST_F(kitStarter, WithoutOnFinishedTheHandleIsKept) {
    TKitStarter s(nullptr);
    s.SetCommand(dir + "/quick");
    s.SetWait(true);
    s.Start();
    EXPECT_EQ(s.ExitTimerID(), 0);
    EXPECT_EQ(KitApplication->TimerPool->Count(), poolItems + 1);
}

// A starter whose clock the test sets.
class ClockedStarter : public TKitStarter {
public:
    using TKitStarter::TKitStarter;
    rtl::TDateTime now = 0;

protected:
    rtl::TDateTime CurrentTime() const override { return now; }
};

TEST_F(kitStarter, AutoStartAtTheFirstPollAtOrAfterStartTime) {
    const double second = 1.0 / 86400;
    const rtl::TDateTime at = rtl::EncodeDate(2030, 5, 1) + rtl::EncodeTime(12, 0, 0, 0);
    ClockedStarter s(nullptr);
    int starts = 0;
    s.OnBeforeStart = [&](rtl::TObject*) { ++starts; };
    s.SetCommand("/bin/true");
    s.StartTime()->Value = at;
    s.now = at - 10 * second;
    s.SetAutoStart(true);
    for (double t : {-5.0, -1.0, -0.2}) {
        s.now = at + t * second;
        s.AutoStartPoll(nullptr);
    }
    EXPECT_EQ(starts, 0);
    s.now = at + 0.6 * second;  // the poll missed the exact second
    s.AutoStartPoll(nullptr);
    EXPECT_EQ(starts, 1);
    s.now = at + 1.6 * second;
    s.AutoStartPoll(nullptr);
    EXPECT_EQ(starts, 1);

    // A start time already past when the automatic start is switched on never starts.
    s.SetAutoStart(false);
    s.now = at + 60 * second;
    s.SetAutoStart(true);
    s.now = at + 61 * second;
    s.AutoStartPoll(nullptr);
    EXPECT_EQ(starts, 1);
}

TEST_F(kitStarter, AutoStartPollRunsOnThePool) {
    TKitStarter s(nullptr);
    int starts = 0;
    s.OnBeforeStart = [&](rtl::TObject*) { ++starts; };
    s.SetCommand("/bin/true");
    rtl::TDateTime soon = rtl::Now() + 0.3 / 86400;
    TKitDateTime t;
    t.Value = soon;
    s.SetStartTime(&t);
    s.SetAutoStart(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    Ticks(20);
    EXPECT_EQ(starts, 1);
}

TEST_F(kitStarter, NoFreeTimer) {
    std::vector<std::uint16_t> taken;
    for (std::uint16_t id; (id = KitApplication->AddTimer(1000, nullptr)) != 0;) taken.push_back(id);
    try {
        TKitStarter s(nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const rtl::EOutOfResources& e) {
        EXPECT_EQ(e.Message, "Nicht genügend Timer verfügbar");
    }
    for (auto id : taken) KitApplication->RemoveTimer(id);
}

}  // namespace
