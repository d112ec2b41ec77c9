// The information label: its text (caption, tabs, colon, value, digit mask), the memory figure
// against the kernel's own, the timer items of the polled kinds, and polling that repaints only
// on a change.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "components/base/kitapp.h"
#include "components/base/kitsysin.h"
#include "components/controls/KitCustomStatusBar.h"
#include "components/controls/KitInformationLabel.h"
#include "platform/gui/Forms.h"
#include "platform/sys/SystemInfo.h"
#include "tests/components/controls/SysFixture.h"
#include "tests/gui/GuiFixture.h"

using namespace kit;

namespace {

// Counts the refreshes a poll causes.
class CountingLabel : public TKitInformationLabel {
public:
    explicit CountingLabel(rtl::TComponent* owner) : TKitInformationLabel(owner) {}
    int refreshes = 0;
    void ContentChanged(rtl::TObject* s) override {
        ++refreshes;
        TKitInformationLabel::ContentChanged(s);
    }
};

std::string Text(TKitInformationLabel* l) {
    std::string s;
    l->BuildText(s);
    return s;
}

std::string Info(TKitInfoType kind) {
    std::string v;
    KitGetInfo(kind, 0, "", v);
    return v;
}

// The kinds of the system-information window's 42 labels.
const std::vector<TKitInfoType> kWindowKinds = {
    itUser, itWinDir, itCurrentDir32, itSystemDir, itTempPath32, itComputerName32,
    itReg_Owner32, itReg_Company32, itVersion, itMajorVerNr32, itBuildNr32, itPlatformID32,
    itPlatform32, itDOSVersion, itColorDepth, itScreenSaverDelay, itProcessorCont32,
    itProcessor32, itMemFree32, itMemPageFree32, itMemPageTotal32, itMemVirtFree32,
    itMemVirtTotal32, itFreeGDIRes, itFreeSysRes, itFreeUserRes, itMemSize, itMemLoaded32,
    itCurrentDiskFree32, itCurrentDiskSize32, itNumLock, itCapsLock, itScroll,
    itCurrentDateTime, itProgCompany, itProgName, itProgVersion, itFileVersion,
    itProgCopyright, itProgTrademark, itProgDescription, itProgComments};

}  // namespace

TEST(kitNumberMask, DigitsFromTheRight) {
    struct Case {
        const char *value, *mask, *result;
    };
    for (const Case& c : {Case{"7654321", "0.000.000", "7.654.321"}, Case{"98", "0000", "0098"},
                          Case{"987654", "0.000", "987.654"}, Case{"1234567890", "0.000.000", "1234.567.890"},
                          Case{"5", "", "5"}, Case{"", "00", "00"}, Case{"12", "0 kB", "12 kB"}}) {
        EXPECT_EQ(KitApplyNumberMask(c.value, c.mask), c.result) << c.value << " " << c.mask;
    }
}

class kitInformationLabel : public GuiFixture {
protected:
    gui::TForm* form = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 400, 300);
    }
    template <class T = TKitInformationLabel>
    T* Make(TKitInfoType kind) {
        auto* l = new T(form);
        l->SetParent(form);
        l->SetInfo(kind);
        return l;
    }
};

TEST_F(kitInformationLabel, TextFromCaptionTabsColonAndValue) {
    const std::string user = Info(itUser);
    auto* l = Make(itUser);
    EXPECT_EQ(Text(l), "Username\t" + user);
    struct Case {
        int tabs, colon;
        const char* caption;
        bool standard;
        std::string want;
    };
    for (const Case& c : {Case{2, -1, "", true, "Username\t\t" + user},
                          Case{1, 0, "", true, "Username:\t" + user},
                          Case{1, 1, "", true, "Username\t:" + user},
                          Case{2, 2, "", true, "Username\t\t:" + user},
                          Case{1, 5, "", true, "Username\t" + user},
                          Case{0, -1, "", true, "Username" + user},
                          Case{0, -1, "Wer", true, "Username " + user},
                          Case{0, -1, "Wer", false, "Wer " + user},
                          Case{1, 0, "Wer", false, "Wer:\t" + user},
                          Case{-1, -1, "", true, "Username" + std::string(255, '\t') + user}}) {
        l->SetInsertTabs(static_cast<std::int8_t>(c.tabs));
        l->SetInsertColon(static_cast<std::int8_t>(c.colon));
        l->SetCaption(c.caption);
        l->SetUseStandardCaption(c.standard);
        EXPECT_EQ(Text(l), c.want) << c.tabs << " " << c.colon << " " << c.caption;
    }
}

TEST_F(kitInformationLabel, MemorySizeIsTheKernelsMemTotal) {
    const std::string kb = systest::procValue("/proc/meminfo", "MemTotal");  // "16318304 kB"
    ASSERT_FALSE(kb.empty());
    const unsigned long long total = std::stoull(kb);
    auto* l = Make(itMemSize);
    l->SetInsertTabs(3);  // as in the system-information window
    EXPECT_EQ(Text(l), "Memory size\t\t\t" + std::to_string(total * 1024));

    // Kilobytes in groups of three digits (the mask reaches two separators).
    l->SetDividerValue(1024);
    l->SetNumberFormat("0.000.000");
    std::string grouped = std::to_string(total);
    for (int dots = 0, pos = static_cast<int>(grouped.size()) - 3; dots < 2 && pos > 0; ++dots, pos -= 3)
        grouped.insert(static_cast<std::size_t>(pos), ".");
    EXPECT_EQ(Text(l), "Memory size\t\t\t" + grouped);

    // The mask applies to numeric kinds only.
    l->SetInfo(itUser);
    EXPECT_EQ(Text(l), "Username\t\t\t" + Info(itUser));
}

TEST_F(kitInformationLabel, OnlyLockKeyAndClockLabelsHoldATimerItem) {
    const int before = KitApplication->TimerPool->Count();
    auto* l = Make(itWinDir);
    EXPECT_EQ(l->TimerID(), 0);
    EXPECT_EQ(KitApplication->TimerPool->Count(), before);

    l->SetInfo(itNumLock);
    ASSERT_NE(l->TimerID(), 0);
    TKitTimerItem* item = KitApplication->GetTimer(l->TimerID());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Interval(), 250);
    EXPECT_TRUE(item->Enabled());
    const std::uint16_t id = l->TimerID();
    l->SetInfo(itCurrentDateTime);
    EXPECT_EQ(l->TimerID(), id) << "the item is kept and re-timed";
    EXPECT_EQ(KitApplication->GetTimer(id)->Interval(), 1000);
    l->SetInfo(itWinDir);
    EXPECT_EQ(l->TimerID(), 0);
    EXPECT_EQ(KitApplication->TimerPool->Count(), before);

    l->SetInfo(itScroll);
    EXPECT_EQ(KitApplication->TimerPool->Count(), before + 1);
    delete l;
    EXPECT_EQ(KitApplication->TimerPool->Count(), before);
}

TEST_F(kitInformationLabel, SixSystemInformationWindowsOpenOneAfterTheOther) {
    const int before = KitApplication->TimerPool->Count();
    std::vector<gui::TForm*> windows;
    for (int w = 0; w < 6; ++w) {
        gui::TForm* f = nullptr;
        app.CreateForm(f);
        EXPECT_NO_THROW({
            for (TKitInfoType kind : kWindowKinds) {
                auto* l = new TKitInformationLabel(f);
                l->SetParent(f);
                l->SetInfo(kind);
            }
        }) << "window " << w + 1;
        windows.push_back(f);
    }
    EXPECT_EQ(kWindowKinds.size(), 42u);
    EXPECT_EQ(KitApplication->TimerPool->Count(), before + 6 * 4);
    for (gui::TForm* f : windows) delete f;
    EXPECT_EQ(KitApplication->TimerPool->Count(), before);
}

TEST_F(kitInformationLabel, NoFreeTimerItemIsReported) {
    std::vector<std::uint16_t> taken;
    for (std::uint16_t id; (id = KitApplication->AddTimer(1000, nullptr)) != 0;) taken.push_back(id);
    auto* plain = Make(itUser);  // needs no item
    EXPECT_EQ(plain->TimerID(), 0);
    auto* l = Make(itUser);
    try {
        l->SetInfo(itCapsLock);
        ADD_FAILURE() << "no exception";
    } catch (const rtl::EOutOfResources& e) {
        EXPECT_STREQ(e.what(), "Nicht genügend Timer verfügbar");
    }
    for (std::uint16_t id : taken) KitApplication->RemoveTimer(id);
}

TEST_F(kitInformationLabel, PollingRefreshesOnlyOnAChange) {
    // Without an X server the key state is steadily unknown.
    const char* display = std::getenv("DISPLAY");
    const std::string savedDisplay = display ? display : "";
    unsetenv("DISPLAY");
    auto* l = Make<CountingLabel>(itNumLock);
    l->refreshes = 0;
    l->PollTimer(nullptr);
    EXPECT_EQ(l->refreshes, 1) << "the first poll counts as a change";
    l->PollTimer(nullptr);
    l->PollTimer(nullptr);
    EXPECT_EQ(l->refreshes, 1);
    EXPECT_EQ(Text(l), "NumLock\t" + Info(itNumLock));
    if (display) setenv("DISPLAY", savedDisplay.c_str(), 1);

    // Toggling the key on a reachable X server shows on a following poll.
    const auto on = sys::LockKeyOn(sys::LockKey::Num);
    if (on && sys::SetLockKey(sys::LockKey::Num, !*on)) {
        const std::string want = std::string("NumLock\t") + (*on ? "OFF" : "ON");
        const int before = l->refreshes;
        EXPECT_TRUE(ProcessUntil([&] {
            l->PollTimer(nullptr);
            return Text(l) == want;
        }));
        EXPECT_GT(l->refreshes, before);
        sys::SetLockKey(sys::LockKey::Num, *on);
    }

    // A disabled item does nothing; a label of another kind is not polled at all.
    KitApplication->GetTimer(l->TimerID())->SetEnabled(false);
    l->PollTimer(nullptr);
    l->SetInfo(itWinDir);
    const int n = l->refreshes;
    l->PollTimer(nullptr);
    EXPECT_EQ(l->refreshes, n);
}

TEST_F(kitInformationLabel, SetterRefreshes) {
    auto* l = Make<CountingLabel>(itUser);
    struct Step {
        const char* name;
        std::function<void()> set;
        bool refresh;
    };
    const std::vector<Step> steps = {
        {"date format on a non-clock label", [&] { l->SetDateTimeFormat("hh:mm"); }, false},
        {"number format on a text kind", [&] { l->SetNumberFormat("0.000"); }, false},
        {"divider", [&] { l->SetDividerValue(2); }, true},
        {"same divider", [&] { l->SetDividerValue(2); }, false},
        {"clock", [&] { l->SetInfo(itCurrentDateTime); }, true},
        {"date format on the clock", [&] { l->SetDateTimeFormat("dd.MM.yyyy"); }, true},
        {"memory", [&] { l->SetInfo(itMemSize); }, true},
        {"number format on memory", [&] { l->SetNumberFormat("0.000.000"); }, true},
        {"cpu speed", [&] { l->SetInfo(itCPUSpeed); }, true},
        {"number format on cpu speed", [&] { l->SetNumberFormat("0"); }, false},
    };
    for (const Step& s : steps) {
        const int n = l->refreshes;
        s.set();
        EXPECT_EQ(l->refreshes > n, s.refresh) << s.name;
    }
    EXPECT_EQ(l->DateTimeFormat(), "dd.MM.yyyy");
}

TEST_F(kitInformationLabel, AutoSizeFitsTheTextAndAStatusBarAddsItsOffset) {
    // Built as the windows build theirs: inside a loading bracket, sized when it ends.
    rtl::TLoadingScope loading;
    auto* l = Make(itUser);
    loading.End();
    const int w = l->Width(), h = l->Height();
    EXPECT_GT(w, 30);
    EXPECT_GT(h, 0);
    l->SetInsertTabs(3);
    EXPECT_GT(l->Width(), w) << "tabs widen the label";

    auto* bar = new TKitCustomStatusBar(form);
    bar->SetParent(form);
    bar->SetBounds(0, 200, 400, 30);
    auto* onBar = new TKitInformationLabel(bar);
    onBar->SetParent(bar);
    onBar->SetInfo(itUser);
    onBar->SetInsertTabs(3);
    EXPECT_EQ(onBar->Width(), l->Width());
    EXPECT_EQ(onBar->Height(), l->Height());

    l->SetAutoSize(false);
    l->SetBounds(0, 0, 17, 9);
    l->SetInsertTabs(1);
    EXPECT_EQ(l->Width(), 17);
    EXPECT_EQ(l->Height(), 9);
}

TEST_F(kitInformationLabel, ProcessorSpeedIsMeasuredOnce) {
    auto* l = Make(itCPUSpeed);  // sizing the label measured the clock
    const auto t0 = std::chrono::steady_clock::now();
    std::string first = Text(l), second = Text(l), third = Text(l);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(ms, 300) << "each measurement blocks for half a second";
    EXPECT_EQ(first, second);
    EXPECT_EQ(second, third);
    EXPECT_EQ(first.rfind("CPU Speed\t", 0), 0u);
}
