#include "tools/KoaxCalc.h"

#include "tools/SplashLib.h"

#include <cmath>

#include "foundation/DebugLib.h"
#include "foundation/FormatLib.h"
#include "foundation/MathLib.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/SysUtils.h"
#include "radio/AfuLib.h"
#include "radio/CableLib.h"

namespace {

// Posted by a number field that lost the focus: the calculation runs after the focus change,
// because it can open a modal warning.
constexpr unsigned WM_CALCCABLE = gui::WM_USER + 1;

void MakeCaption(gui::TForm* form, const char* text, int top) {
    auto* l = new gui::TLabel(form);
    l->SetParent(form);
    l->SetAutoSize(false);
    l->SetAlignment(gui::taRightJustify);
    l->Font()->SetHeight(-17);
    l->SetCaption(text);
    l->SetBounds(8, top + 4, 178, 20);
}

kit::TKitEdit* MakeField(gui::TForm* form, const char* name, int top, bool output) {
    auto* e = new kit::TKitEdit(form);
    e->SetName(name);
    e->SetParent(form);
    e->SetBounds(194, top, 96, 27);
    e->Font()->SetHeight(-15);
    if (output) {
        e->SetReadOnly(true);
        e->SetTabStop(false);
        e->SetColor(gdi::clBtnFace);
    } else {
        e->SetTabOnEnter(true);
    }
    return e;
}

TCheckListBoxType* MakeList(gui::TForm* form, gui::TGroupBox* group, const char* name) {
    auto* l = new TCheckListBoxType(form);
    l->SetName(name);
    l->SetParent(group);
    l->SetBounds(8, 18, group->ClientWidth() - 16, group->ClientHeight() - 26);
    return l;
}

}  // namespace

TFormKoaxCalc::TFormKoaxCalc(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormKoaxCalc");
    SetCaption("Dämpfung von Koaxkabeln und Konnektoren");
    SetBorderStyle(gui::bsSingle);
    SetBorderIcons(gui::biSystemMenu);
    SetPosition(gui::poScreenCenter);
    // Belongs to the main window: stays above it, not lost behind it.
    if (gui::Application) SetPopupParent(gui::Application->MainForm());
    SetClientWidth(517);
    SetClientHeight(379);

    MakeCaption(this, "Frequenz [MHz]", 12);
    EditFrequenz = MakeField(this, "EditFrequenz", 12, false);
    EditFrequenz->SetAlignment(gui::taCenter);
    EditFrequenz->Font()->SetStyle(gdi::fsBold);

    MakeCaption(this, "Afu-Band", 46);
    CBBands = new kit::TKitComboBox(this);
    CBBands->SetName("CBBands");
    CBBands->SetParent(this);
    CBBands->SetStyle(gui::csDropDownList);
    CBBands->SetBounds(194, 46, 96, 27);
    CBBands->SetTabStop(false);
    CBBands->SetDropDownCount(12);

    MakeCaption(this, "Dämpfung [dB/100m]", 80);
    EditAtt100 = MakeField(this, "EditAtt100", 80, true);
    MakeCaption(this, "Kabellänge [m]", 114);
    EditCableLength = MakeField(this, "EditCableLength", 114, false);
    MakeCaption(this, "Kabeldämpfung [dB]", 148);
    EditAtt = MakeField(this, "EditAtt", 148, true);
    MakeCaption(this, "Konnektordämpfung [dB]", 182);
    EditKonnektorAtt = MakeField(this, "EditKonnektorAtt", 182, true);

    GBKabelTyp = new gui::TGroupBox(this);
    GBKabelTyp->SetParent(this);
    GBKabelTyp->SetCaption("Kabeltyp");
    GBKabelTyp->SetBounds(302, 6, 207, 246);
    CLBKabelTyp = MakeList(this, GBKabelTyp, "CLBKabelTyp");
    GBKonnektorTyp = new gui::TGroupBox(this);
    GBKonnektorTyp->SetParent(this);
    GBKonnektorTyp->SetCaption("Konnektortyp");
    GBKonnektorTyp->SetBounds(302, 258, 207, 113);
    CLBKonnektorTyp = MakeList(this, GBKonnektorTyp, "CLBKonnektorTyp");

    ImgLogo = new gui::TImage(this);
    ImgLogo->SetParent(this);
    ImgLogo->SetProportional(true);
    ImgLogo->SetBounds(8, 222, 282, 149);
    DrawLogo();

    EditFrequenz->OnExit = EditCableLength->OnExit = [this](rtl::TObject*) {
        gui::PostMessage(this, WM_CALCCABLE);
    };
    CBBands->OnClick = [this](rtl::TObject* s) { CBBandsClick(s); };
    // A click on an item's check box selects the item first and then toggles its mark: both
    // end in the single choice of the item.
    CLBKabelTyp->OnClick = CLBKabelTyp->OnClickCheck = [this](rtl::TObject* s) { CLBKabelTypClick(s); };
    CLBKonnektorTyp->OnClick = CLBKonnektorTyp->OnClickCheck = [this](rtl::TObject* s) {
        CLBKonnektorTypClick(s);
    };
    OnClose = [this](rtl::TObject* s, gui::TCloseAction& a) { FormClose(s, a); };
    OnCreate = [this](rtl::TObject* s) { FormCreate(s); };
}

// The program's logo, the picture the splash window shows.
void TFormKoaxCalc::DrawLogo() {
    gdi::TBitmap logo;
    LoadSplashLogo(logo);
    ImgLogo->Picture()->Assign(&logo);
}

void TFormKoaxCalc::WndProc(gui::TMessage& Message) {
    if (Message.Msg == WM_CALCCABLE) {
        CalcCable(this);
        return;
    }
    gui::TForm::WndProc(Message);
}

void TFormKoaxCalc::FormCreate(rtl::TObject*) {
    CLBClear(*CLBKabelTyp);
    for (int16_t i = 1; i <= 20; ++i) CLBKabelTyp->Items()->Add(CableName(i));
    CLBClear(*CLBKonnektorTyp);
    for (uint16_t i = 1; i <= 4; ++i) CLBKonnektorTyp->Items()->Add(ConnectorName(i));
    CBBands->Items()->Clear();
    CBBands->Items()->Add("--- Kein ---");
    for (int i = 1; i <= AfuBandCount(20000); ++i) CBBands->Items()->Add(AfuBandName(i));
    CLBCheckOnly(*CLBKabelTyp, 4);
    CLBCheckOnly(*CLBKonnektorTyp, 2);
    EditCableLength->SetText("10,00");
    EditFrequenz->SetText("10,0");
    CBBands->SetItemIndex(2);
    CalcCable(this);
}

void TFormKoaxCalc::ShowResult(kit::TKitEdit& field, double value) {
    std::string text = FormatPositive("%5.2f", value);
    // A number cut by the field would read as a smaller one.
    const gdi::TRect& area = field.TextRect();
    if (!std::isfinite(value) || field.MeasureText(text) > area.Right - area.Left) text = "---";
    field.SetText(text);
}

void TFormKoaxCalc::CalcCable(rtl::TObject*) {
    const auto cable = static_cast<int16_t>(CLBKabelTyp->ItemIndex() + 1);
    const std::string lengthText = EditCableLength->Text();
    const std::string fText = EditFrequenz->Text();
    long double lengthValue = 0, fValue = 0;
    const bool lengthOk = rtl::TryStrToFloat(lengthText, lengthValue);
    const bool fOk = rtl::TryStrToFloat(fText, fValue);
    if (lengthOk) reportedCableLength_.Forget();
    if (fOk) reportedFrequenz_.Forget();
    if (!lengthOk || !fOk) {
        // No result is left beside a text that is not a number: it would be read as the
        // result for that text.
        EditAtt100->SetText("---");
        EditAtt->SetText("---");
        EditKonnektorAtt->SetText("---");
        const int16_t band = fOk ? AfuBandOfFreq(static_cast<double>(fValue)) : int16_t(-1);
        CBBands->SetItemIndex(band >= 0 ? band : 0);
        // A text is reported (the platform's conversion error) when the field has come to hold
        // it; leaving the other field recalculates without reporting it again.
        if (!lengthOk && reportedCableLength_.ReportNow(lengthText)) rtl::StrToFloat(lengthText);
        if (!fOk && reportedFrequenz_.ReportNow(fText)) rtl::StrToFloat(fText);
        return;
    }
    const double length = static_cast<double>(lengthValue);
    const double f = static_cast<double>(fValue);
    if (f >= 20000) {
        msgWarning("Dieses Programm arbeitet nur mit Frequenzen unterhalb von 20 GHz!");
        EditFrequenz->SetText("1000");
        return;
    }
    const double a100 = CableAtt(cable, f);
    // A frequency outside the cable table has no loss per 100 m, and so no loss of the length
    // either (the no-value times a negative length would read as a positive loss).
    const double a = a100 > 0 ? a100 / 100 * length : NoValue;
    const int16_t band = AfuBandOfFreq(f);
    CBBands->SetItemIndex(band >= 0 ? band : 0);
    ShowResult(*EditAtt100, a100);
    ShowResult(*EditAtt, a);
    // The connector counts from 0. No connector chosen, or no frequency (the -99 of "no band"),
    // gives no value rather than the table's first segment extended below zero.
    const int connector = CLBKonnektorTyp->ItemIndex();
    const double c =
        connector >= 0 && f > 0 ? ConnectorAtt(static_cast<uint16_t>(connector), f) : NoValue;
    ShowResult(*EditKonnektorAtt, c);
}

void TFormKoaxCalc::CBBandsClick(rtl::TObject* Sender) {
    EditFrequenz->SetText(FormatAuto(AfuBandCenter(CBBands->ItemIndex())));
    CalcCable(Sender);
}

void TFormKoaxCalc::CLBKabelTypClick(rtl::TObject* Sender) {
    CLBCheckOnly(*CLBKabelTyp, static_cast<int16_t>(CLBKabelTyp->ItemIndex()));
    CalcCable(Sender);
}

void TFormKoaxCalc::CLBKonnektorTypClick(rtl::TObject* Sender) {
    CLBCheckOnly(*CLBKonnektorTyp, static_cast<int16_t>(CLBKonnektorTyp->ItemIndex()));
    CalcCable(Sender);
}

void TFormKoaxCalc::FormClose(rtl::TObject*, gui::TCloseAction& Action) { Action = gui::caFree; }
