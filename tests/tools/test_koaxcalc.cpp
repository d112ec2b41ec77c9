// The coax calculator driven through its controls: start values, band choice, no band, the
// frequency limit, a click on a list item, the posted calculation after leaving a field, and
// the single-choice helpers of the check lists.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Presenter.h"
#include "platform/rtl/SysUtils.h"
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

TEST_F(KoaxCalc, NotANumberLeavesTheOutputs) {
    f->EditCableLength->SetText("zehn");
    EXPECT_THROW(f->CalcCable(nullptr), rtl::EConvertError);
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
