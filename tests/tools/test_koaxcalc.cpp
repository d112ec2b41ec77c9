// The coax calculator driven through its controls: start values, band choice, no band, the
// frequency limit, a click on a list item, the posted calculation after leaving a field, bad
// numbers reported once per entry as a user types and clicks with no result beside them,
// results too long for their field,
// and the single-choice helpers of the check lists.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <memory>
#include <string>

#include "tests/support/FocusKeys.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Presenter.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/EventLoop.h"
#include "tests/tools/ToolFixture.h"
#include "tools/CheckListBoxUtilsLib.h"
#include "tools/KoaxCalc.h"
#include "tools/SplashLib.h"

namespace {

class KoaxCalc : public ToolFixture {
protected:
    void SetUp() override {
        ToolFixture::SetUp();
        f.reset(gui::CreateForm<TFormKoaxCalc>(nullptr));
    }
    void TearDown() override {
        f.reset();
        ToolFixture::TearDown();
    }
    // The checked items of a list, as their indexes.
    static std::vector<int> CheckedItems(TCheckListBoxType& clb) {
        std::vector<int> result;
        for (int i = 0; i < clb.Count(); ++i)
            if (clb.Checked(i)) result.push_back(i);
        return result;
    }
    void ExpectOutputs(const std::string& att100, const std::string& att, const std::string& conn) {
        EXPECT_EQ(f->EditAtt100->Text(), att100);
        EXPECT_EQ(f->EditAtt->Text(), att);
        EXPECT_EQ(f->EditKonnektorAtt->Text(), conn);
    }
    void ChooseBand(const std::string& name) {
        const int index = f->CBBands->Items()->IndexOf(name);
        ASSERT_GE(index, 0) << name;
        f->CBBands->SetItemIndex(index);
        f->CBBandsClick(f->CBBands);
    }

    std::unique_ptr<TFormKoaxCalc> f;
};

TEST_F(KoaxCalc, OpensWithTheFifthCableAndThePLConnectorAt10MHz) {
    EXPECT_EQ(f->CLBKabelTyp->Count(), 20);
    EXPECT_EQ(f->CLBKonnektorTyp->Count(), 4);
    EXPECT_EQ(f->CBBands->Items()->Count(), 22);  // "--- Kein ---" and 21 bands
    EXPECT_EQ(CheckedItems(*f->CLBKabelTyp), std::vector<int>{4});
    EXPECT_EQ(f->CLBKabelTyp->ItemIndex(), 4);
    EXPECT_EQ(CheckedItems(*f->CLBKonnektorTyp), std::vector<int>{2});
    EXPECT_EQ(f->CLBKonnektorTyp->Items()->Get(2), "PL");
    EXPECT_EQ(f->EditFrequenz->Text(), "10,0");
    EXPECT_EQ(f->EditCableLength->Text(), "10,00");
    EXPECT_EQ(f->CBBands->Text(), "--- Kein ---");  // 10 MHz lies in no band
    ExpectOutputs(" 4,70", " 0,47", " 0,30");
    EXPECT_TRUE(presenter.boxes.empty());
}

TEST_F(KoaxCalc, LogoIsThePictureOfTheSplashWindow) {
    gdi::TBitmap logo;
    LoadSplashLogo(logo);
    gdi::TBitmap* shown = f->ImgLogo->Picture()->Bitmap();
    ASSERT_EQ(shown->Width(), logo.Width());
    ASSERT_EQ(shown->Height(), logo.Height());
    for (int y = 0; y < logo.Height(); y += 5)
        for (int x = 0; x < logo.Width(); x += 5)
            ASSERT_EQ(shown->Canvas()->Pixels(x, y), logo.Canvas()->Pixels(x, y)) << x << "," << y;
}

TEST_F(KoaxCalc, BandChoiceSetsTheCentreFrequency) {
    ChooseBand("2m");
    EXPECT_EQ(f->EditFrequenz->Text(), "145,00");
    EXPECT_EQ(f->CBBands->Text(), "2m");
    ExpectOutputs("18,70", " 1,87", " 0,75");

    ChooseBand("40m");
    EXPECT_EQ(f->EditFrequenz->Text(), "  7,10");
    EXPECT_EQ(f->CBBands->Text(), "40m");
}

TEST_F(KoaxCalc, NoBandGivesNoValuesWithoutFailing) {
    ChooseBand("--- Kein ---");
    EXPECT_EQ(f->EditFrequenz->Text(), "   -99");
    EXPECT_EQ(f->CBBands->ItemIndex(), 0);
    ExpectOutputs("---", "---", "---");
}

TEST_F(KoaxCalc, FrequencyOutsideTheCableTableGivesNoCableLoss) {
    // Below the cable table (0.1 MHz) there is no loss per 100 m, so none for any length either.
    for (const char* length : {"-3", "10,00", "0"}) {
        SCOPED_TRACE(length);
        f->EditFrequenz->SetText("0,05");
        f->EditCableLength->SetText(length);
        f->CalcCable(nullptr);
        EXPECT_EQ(f->EditAtt100->Text(), "---");
        EXPECT_EQ(f->EditAtt->Text(), "---");
    }
    // Inside the table a negative length gives no loss either.
    f->EditFrequenz->SetText("10,0");
    f->EditCableLength->SetText("-3");
    f->CalcCable(nullptr);
    ExpectOutputs(" 4,70", "---", " 0,30");
    EXPECT_TRUE(presenter.boxes.empty());
}

TEST_F(KoaxCalc, FrequencyLimitWarnsAndKeepsTheOutputs) {
    f->EditFrequenz->SetText("20000");
    f->CalcCable(nullptr);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].type, gui::TMsgDlgType::mtWarning);
    EXPECT_EQ(presenter.boxes[0].text, "Dieses Programm arbeitet nur mit Frequenzen unterhalb von 20 GHz!");
    EXPECT_EQ(f->EditFrequenz->Text(), "1000");
    ExpectOutputs(" 4,70", " 0,47", " 0,30");

    // Just below the limit it calculates; the connector table ends at 5600 MHz.
    presenter.boxes.clear();
    f->EditFrequenz->SetText("19999");
    f->CalcCable(nullptr);
    EXPECT_EQ(f->EditKonnektorAtt->Text(), "---");
    EXPECT_NE(f->EditAtt100->Text(), " 4,70");
}

TEST_F(KoaxCalc, ClickOnAnItemChecksExactlyThatItem) {
    const std::string before = f->EditAtt100->Text();
    const gdi::TRect r = f->CLBKabelTyp->ItemRect(7);
    const gui::LPARAM at = gui::MakeLParam(6, (r.Top + r.Bottom) / 2);
    f->CLBKabelTyp->Perform(gui::WM_LBUTTONDOWN, gui::MK_LBUTTON, at);
    f->CLBKabelTyp->Perform(gui::WM_LBUTTONUP, 0, at);
    EXPECT_EQ(CheckedItems(*f->CLBKabelTyp), std::vector<int>{7});
    EXPECT_EQ(f->CLBKabelTyp->ItemIndex(), 7);
    EXPECT_NE(f->EditAtt100->Text(), before);
}

TEST_F(KoaxCalc, LeavingAFieldCalculatesAfterTheFocusChange) {
    f->EditFrequenz->SetText("7,05");
    f->EditFrequenz->OnExit(f->EditFrequenz);
    EXPECT_EQ(f->CBBands->Text(), "--- Kein ---");  // not yet: the calculation is posted
    app->ProcessMessages();
    EXPECT_EQ(f->CBBands->Text(), "40m");
}

// The window shown and active, driven by mouse clicks and key presses sent to its widgets.
class KoaxCalcTyping : public KoaxCalc {
protected:
    void SetUp() override {
        KoaxCalc::SetUp();
        f->Show();
        QApplication::setActiveWindow(f->Widget());
        ASSERT_TRUE(ProcessUntil([&] { return f->Active(); }));
    }
    static void Key(int key, const QString& text = QString()) { PressKeyOnFocus(key, text); }
    // A click into the field: the focus moves there, and the field that had it runs its exit.
    void ClickInto(kit::TKitEdit& field) {
        QWidget* w = field.Widget();
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        const QPointF global = w->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &release);
        ASSERT_TRUE(ProcessUntil([&] { return field.Focused(); }));
        app->ProcessMessages();
    }
    // Clicks into the field, replaces its text by typing and leaves it with Enter.
    void Enter(kit::TKitEdit& field, const std::string& text) {
        ClickInto(field);
        field.SelectAll();
        for (const QChar ch : QString::fromStdString(text)) Key(Qt::Key_unknown, QString(ch));
        ASSERT_EQ(field.Text(), text);
        Key(Qt::Key_Return, QStringLiteral("\r"));
        ASSERT_TRUE(ProcessUntil([&] { return !field.Focused(); }));
        app->ProcessMessages();
    }
    std::size_t Boxes() const { return presenter.boxes.size(); }
};

TEST_F(KoaxCalcTyping, BadNumberIsReportedOncePerEntry) {
    Enter(*f->EditFrequenz, "14.2");
    ASSERT_EQ(Boxes(), 1u);
    EXPECT_EQ(presenter.boxes[0].type, gui::TMsgDlgType::mtError);
    EXPECT_EQ(presenter.boxes[0].text, "'14.2' ist kein gültiger Gleitkommawert.");
    EXPECT_TRUE(f->EditCableLength->Focused());  // Enter moved on to the next field

    // Back into the field to correct it, out and in again: the length field's exit
    // recalculates, but the unchanged text is not reported again.
    // No result stands beside the bad text (the 10 MHz results would be read as its results).
    ClickInto(*f->EditFrequenz);
    ClickInto(*f->EditCableLength);
    ClickInto(*f->EditFrequenz);
    EXPECT_EQ(Boxes(), 1u);
    ExpectOutputs("---", "---", "---");
    EXPECT_EQ(f->CBBands->Text(), "--- Kein ---");

    // Another bad text is a new entry.
    Enter(*f->EditFrequenz, "14.3");
    ASSERT_EQ(Boxes(), 2u);
    EXPECT_EQ(presenter.boxes[1].text, "'14.3' ist kein gültiger Gleitkommawert.");

    // Corrected, it calculates; the same bad text typed after that is reported again.
    Enter(*f->EditFrequenz, "14,2");
    EXPECT_EQ(Boxes(), 2u);
    EXPECT_EQ(f->CBBands->Text(), "20m");
    const std::string att100 = f->EditAtt100->Text();
    EXPECT_NE(att100, " 4,70");
    Enter(*f->EditFrequenz, "14.2");
    EXPECT_EQ(Boxes(), 3u);
    ExpectOutputs("---", "---", "---");
    EXPECT_EQ(f->CBBands->Text(), "--- Kein ---");

    // The length field keeps its own account: its bad text is reported once, while the
    // frequency's (already reported) is not reported again.
    Enter(*f->EditCableLength, "zehn");
    ASSERT_EQ(Boxes(), 4u);
    EXPECT_EQ(presenter.boxes[3].text, "'zehn' ist kein gültiger Gleitkommawert.");
    ExpectOutputs("---", "---", "---");
    ClickInto(*f->EditCableLength);
    ClickInto(*f->EditFrequenz);
    EXPECT_EQ(Boxes(), 4u);
    Enter(*f->EditFrequenz, "14,2");
    Enter(*f->EditCableLength, "10");
    EXPECT_EQ(Boxes(), 4u);
    EXPECT_EQ(f->EditAtt100->Text(), att100);
}

TEST_F(KoaxCalc, ResultTooLongForItsFieldShowsNoValue) {
    struct Case {
        const char* length;
        const char* att;
    };
    // 4,70 dB per 100 m at 10 MHz.
    for (const Case& c : {Case{"10,00", " 0,47"}, Case{"100000", "4700,00"}, Case{"1e300", "---"},
                          Case{"1e400", "---"}}) {
        SCOPED_TRACE(c.length);
        f->EditCableLength->SetText(c.length);
        f->CalcCable(nullptr);
        EXPECT_EQ(f->EditAtt->Text(), c.att);
        EXPECT_EQ(f->EditAtt100->Text(), " 4,70");
    }
    // What is shown fits: the widest ordinary result is read in full.
    const gdi::TRect& area = f->EditAtt->TextRect();
    EXPECT_LE(f->EditAtt->MeasureText("4700,00"), area.Right - area.Left);
    EXPECT_TRUE(presenter.boxes.empty());
}

// While an entry is not a number, every result shows "---"; the band box follows a frequency
// that is a number. Each bad text is raised once.
TEST_F(KoaxCalc, NotANumberShowsNoResults) {
    struct Case {
        const char* frequency;
        const char* length;
        const char* band;
        bool raised;
    };
    for (const Case& c : {Case{"14,2", "zehn", "20m", true}, Case{"14,2", "zehn", "20m", false},
                          Case{"14.2", "10", "--- Kein ---", true}, Case{"7,1", "", "40m", true},
                          Case{"", "10", "--- Kein ---", true}}) {
        SCOPED_TRACE(std::string(c.frequency) + " MHz, " + c.length + " m");
        f->EditFrequenz->SetText(c.frequency);
        f->EditCableLength->SetText(c.length);
        if (c.raised)
            EXPECT_THROW(f->CalcCable(nullptr), rtl::EConvertError);
        else
            EXPECT_NO_THROW(f->CalcCable(nullptr));
        ExpectOutputs("---", "---", "---");
        EXPECT_EQ(f->CBBands->Text(), c.band);
    }
    // Both numbers again: the results come back.
    f->EditFrequenz->SetText("10,0");
    f->EditCableLength->SetText("10,00");
    f->CalcCable(nullptr);
    ExpectOutputs(" 4,70", " 0,47", " 0,30");
}

TEST_F(KoaxCalc, CheckHelpersKeepOneChoice) {
    CLBCheckOnly(*f->CLBKonnektorTyp, 0);
    EXPECT_EQ(CheckedItems(*f->CLBKonnektorTyp), std::vector<int>{0});
    EXPECT_EQ(f->CLBKonnektorTyp->ItemIndex(), 0);

    for (const int index : {20, -1}) {
        SCOPED_TRACE(index);
        presenter.boxes.clear();
        CLBSetCheck(*f->CLBKabelTyp, static_cast<std::int16_t>(index));
        ASSERT_EQ(presenter.boxes.size(), 1u);
        EXPECT_EQ(presenter.boxes[0].text.rfind(
                      "Fehler (CLBSetCheck: CLBKabelTyp): Index nicht im Bereich!", 0), 0u);
        EXPECT_EQ(f->CLBKabelTyp->ItemIndex(), -1);
    }
    CLBUncheckAll(*f->CLBKabelTyp);
    EXPECT_TRUE(CheckedItems(*f->CLBKabelTyp).empty());
    CLBClear(*f->CLBKabelTyp);
    EXPECT_EQ(f->CLBKabelTyp->Count(), 0);
}

TEST_F(KoaxCalc, ClosingReleasesTheWindow) {
    TFormKoaxCalc* shown = gui::CreateForm<TFormKoaxCalc>(nullptr);
    bool destroyed = false;
    shown->OnDestroy = [&](rtl::TObject*) { destroyed = true; };
    shown->Show();
    shown->Close();
    app->ProcessMessages();
    EXPECT_TRUE(destroyed);
}

}  // namespace
