// The separator dialog (separators, their codes, the convention mark, the buttons and the timer)
// and the system-information window (its labels, its timer items, several windows at once).
#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "components/base/kitapp.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "platform/sys/LocaleStore.h"
#include "tools/DecimalSeperator.h"
#include "tools/SysInfo.h"

namespace {

class SeparatorDialog : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/feldor-separators-XXXXXX";
        dir = mkdtemp(pattern);
        sys::SetLocaleStoreDirectory(dir);
        sys::SetLocaleSeparators({',', '.', ';', '.'});
        app = std::make_unique<gui::TApplication>();
        app->SetTitle("Feldor");
        f.reset(gui::CreateForm<TFormDecimalSeperator>(nullptr));
    }
    void TearDown() override {
        f.reset();
        app.reset();
        sys::SetLocaleStoreDirectory("");
        std::filesystem::remove_all(dir);
    }
    void ExpectShown(const std::string& codes, const std::string& chars, const std::string& country,
                     gdi::TColor color) {
        EXPECT_EQ(f->EditDeciSep->Text() + " " + f->EditTausiSep->Text() + " " +
                      f->EditListSep->Text() + " " + f->EditCTausiSep->Text(),
                  codes);
        EXPECT_EQ(f->LABDeciSep->Caption() + f->LABTausiSep->Caption() + f->LabListSep->Caption() +
                      f->LabCTausiSep->Caption(),
                  chars);
        EXPECT_EQ(f->LaCountry->Caption(), country);
        EXPECT_EQ(f->LaCountry->Color(), color);
    }

    std::string dir;
    gui::ScriptedPresenter presenter;
    std::unique_ptr<gui::TApplication> app;
    std::unique_ptr<TFormDecimalSeperator> f;
};

TEST_F(SeparatorDialog, ShowsTheSeparatorsAndTheConvention) {
    EXPECT_EQ(f->Caption().rfind("Feldor v1.0 ", 0), 0u);
    ExpectShown("44 46 59 46", ",.;.", "DL", 0x83E2AB);

    f->ButUSA->Click();
    ExpectShown("46 44 59 46", ".,;.", "US", 0x7E82FE);
    EXPECT_EQ(sys::GetLocaleSeparators().Decimal, '.');
    EXPECT_EQ(sys::GetLocaleSeparators().Thousand, ',');

    f->ButDeutsch->Click();
    ExpectShown("44 46 59 46", ",.;.", "DL", 0x83E2AB);

    // Decimal and thousands both ',': neither convention.
    f->ButTKomma->Click();
    ExpectShown("44 44 59 46", ",,;.", "None", 0x00FFFF);
}

TEST_F(SeparatorDialog, EachButtonWritesItsSeparator) {
    struct Case {
        gui::TButton* button;
        std::string codes;
    };
    for (const Case& c : {Case{f->BUTPUNKT, "46 46 59 46"}, Case{f->BUTKomma, "44 46 59 46"},
                          Case{f->ButTKomma, "44 44 59 46"}, Case{f->ButTPunkt, "44 46 59 46"},
                          Case{f->ButListkomma, "44 46 44 46"}, Case{f->ButListSemi, "44 46 59 46"},
                          Case{f->ButCTKomma, "44 46 59 44"}, Case{f->ButCTPunkt, "44 46 59 46"}}) {
        SCOPED_TRACE(c.button->Name());
        c.button->Click();
        EXPECT_EQ(f->EditDeciSep->Text() + " " + f->EditTausiSep->Text() + " " +
                      f->EditListSep->Text() + " " + f->EditCTausiSep->Text(),
                  c.codes);
    }
    const sys::LocaleSeparators s = sys::GetLocaleSeparators();
    EXPECT_EQ(std::string({s.Decimal, s.Thousand, s.List, s.CurrencyThousand}), ",.;.");
}

TEST_F(SeparatorDialog, TimerShowsAChangeMadeElsewhere) {
    sys::SetLocaleSeparators({'.', ',', ',', ','});
    EXPECT_EQ(f->LaCountry->Caption(), "DL");
    f->TimerTimer(f->Timer);
    ExpectShown("46 44 44 44", ".,,,", "US", 0x7E82FE);
    EXPECT_EQ(TFormDecimalSeperator::TickCount(), 1);
}

TEST_F(SeparatorDialog, SystemDataIsReadUnderTheWaitCursor) {
    // Every tenth tick reads the system data, with the processor's clock: half a second.
    std::vector<int> shown;  // the cursor when the clock is written, -1 for the windows' own
    f->EditSpeed->SetText("");
    f->EditSpeed->OnChange = [&](rtl::TObject*) {
        const QCursor* c = QGuiApplication::overrideCursor();
        shown.push_back(c ? static_cast<int>(c->shape()) : -1);
    };
    for (int tick = 0; tick < 10; ++tick) f->TimerTimer(f->Timer);
    EXPECT_EQ(shown, std::vector<int>{Qt::WaitCursor});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(SeparatorDialog, SystemData) {
    EXPECT_TRUE(std::regex_match(f->EditScreen->Text(), std::regex("[0-9]+x[0-9]+")))
        << f->EditScreen->Text();
    EXPECT_TRUE(std::regex_match(f->EditSpeed->Text(), std::regex(" *[0-9]+,[0-9]{3} MHz")))
        << f->EditSpeed->Text();
    EXPECT_FALSE(f->EditTempPath->Text().empty());
}

class SysInfoWindow : public ::testing::Test {
protected:
    void SetUp() override { app = std::make_unique<gui::TApplication>(); }
    void TearDown() override { app.reset(); }
    gui::ScriptedPresenter presenter;
    std::unique_ptr<gui::TApplication> app;
};

std::string MemTotalBytes() {
    std::ifstream in("/proc/meminfo");
    std::string key;
    unsigned long long kb = 0;
    std::string unit;
    while (in >> key >> kb >> unit)
        if (key == "MemTotal:") return std::to_string(kb * 1024);
    return {};
}

TEST_F(SysInfoWindow, LabelsShowTheFactsOfThisMachine) {
    std::unique_ptr<TFormSysInfo> f(gui::CreateForm<TFormSysInfo>(nullptr));
    EXPECT_EQ(f->Caption(), "Systeminformationen");
    ASSERT_EQ(f->Labels.size(), 42u);
    TFormSysInfo::TInformationLabel* memory = nullptr;
    TFormSysInfo::TInformationLabel* clock = nullptr;
    for (auto* l : f->Labels) {
        if (l->Info() == kit::itMemSize) memory = l;
        if (l->Info() == kit::itCurrentDateTime) clock = l;
    }
    ASSERT_TRUE(memory && clock);
    std::string memoryText, clockText;
    memory->BuildText(memoryText);
    clock->BuildText(clockText);
    EXPECT_EQ(memoryText, "Memory size\t\t\t" + MemTotalBytes());
    EXPECT_TRUE(std::regex_match(clockText,
                                 std::regex("Date and time\t\t\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d")))
        << clockText;
}

TEST_F(SysInfoWindow, SixWindowsAtOnceAndTheirTimersComeBack) {
    const int before = kit::KitApplication->TimerPool->Count();
    std::vector<TFormSysInfo*> windows;
    for (int i = 0; i < 6; ++i) {
        ASSERT_NO_THROW(windows.push_back(gui::CreateForm<TFormSysInfo>(nullptr)));
        windows.back()->Show();
    }
    // Only the three lock-key labels and the clock of each window poll.
    EXPECT_EQ(kit::KitApplication->TimerPool->Count(), before + 6 * 4);
    for (auto* w : windows) w->Close();
    app->ProcessMessages();
    EXPECT_EQ(kit::KitApplication->TimerPool->Count(), before);
}

}  // namespace
