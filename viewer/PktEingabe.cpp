#include "viewer/PktEingabe.h"

#include <cmath>
#include <limits>

#include "foundation/DebugLib.h"
#include "platform/rtl/SysUtils.h"

namespace {

gui::TGroupBox* MakeGroup(TFormPktEingabe* form, const char* caption, int left, int top, int width,
                          int height) {
    auto* g = new gui::TGroupBox(form);
    g->SetParent(form);
    g->SetBounds(left, top, width, height);
    g->SetCaption(caption);
    return g;
}

gui::TLabel* MakeLabel(TFormPktEingabe* form, gui::TWinControl* parent, const char* caption,
                       int left, int top) {
    auto* l = new gui::TLabel(form);
    l->SetParent(parent);
    l->SetLeft(left);
    l->SetTop(top);
    l->SetCaption(caption);
    return l;
}

gui::TEdit* MakeEdit(TFormPktEingabe* form, gui::TWinControl* parent, const char* name, int left,
                     int top, int width) {
    auto* e = new gui::TEdit(form);
    e->SetName(name);
    e->SetParent(parent);
    e->SetBounds(left, top, width, 21);
    return e;
}

// StrToFloat of an edit as a Double: a number beyond the range of Double fails like any other
// text that is no number.
double EditToDouble(const gui::TEdit* edit) {
    const std::string text = edit->Text();
    const long double v = rtl::StrToFloat(text);
    if (!(std::fabs(v) <= std::numeric_limits<double>::max()))
        throw rtl::EConvertError(rtl::Format(rtl::msg::InvalidFloat, text));
    return static_cast<double>(v);
}

}  // namespace

TFormPktEingabe::TFormPktEingabe(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormPktEingabe");
    SetCaption("Schnittebene");
    SetBorderStyle(gui::bsToolWindow);
    SetWidth(224);
    SetPosition(gui::poMainFormCenter);
    SetHeight(240);

    GBPunkt1 = MakeGroup(this, "Punkt 1", 8, 8, 100, 76);
    MakeLabel(this, GBPunkt1, "X", 8, 22);
    EditP1x = MakeEdit(this, GBPunkt1, "EditP1x", 24, 18, 68);
    MakeLabel(this, GBPunkt1, "Y", 8, 48);
    EditP1y = MakeEdit(this, GBPunkt1, "EditP1y", 24, 44, 68);

    GBPunkt2 = MakeGroup(this, "Punkt 2", 116, 8, 100, 76);
    MakeLabel(this, GBPunkt2, "X", 8, 22);
    EditP2x = MakeEdit(this, GBPunkt2, "EditP2x", 24, 18, 68);
    MakeLabel(this, GBPunkt2, "Y", 8, 48);
    EditP2y = MakeEdit(this, GBPunkt2, "EditP2y", 24, 44, 68);

    GBAnzahl = MakeGroup(this, "Anzahl der Punkte", 8, 92, 208, 56);
    LAAnzahl = MakeLabel(this, GBAnzahl, "Anzahl (20...100)", 8, 24);
    EditPunktZahl = MakeEdit(this, GBAnzahl, "EditPunktZahl", 124, 20, 68);

    ButClose = new gui::TButton(this);
    ButClose->SetName("ButClose");
    ButClose->SetParent(this);
    ButClose->SetBounds(72, 160, 80, 25);
    ButClose->SetCaption("&Schliessen");
    ButClose->OnClick = [this](rtl::TObject* s) { ButCloseClick(s); };

    OnCreate = [this](rtl::TObject* s) { FormCreate(s); };
    OnShow = [this](rtl::TObject* s) { FormShow(s); };
    OnClose = [this](rtl::TObject* s, gui::TCloseAction& a) { FormClose(s, a); };
}

void TFormPktEingabe::FormCreate(rtl::TObject*) {
    P1x = 0;
    P1y = -5;
    P2x = 0;
    P2y = 15;
    PunktZahl = 20;
}

void TFormPktEingabe::FormShow(rtl::TObject*) {
    EditP1x->SetText(rtl::Format("%4.2f", P1x));
    EditP1y->SetText(rtl::Format("%4.2f", P1y));
    EditP2x->SetText(rtl::Format("%4.2f", P2x));
    EditP2y->SetText(rtl::Format("%4.2f", P2y));
    EditPunktZahl->SetText(rtl::Format("%1d", PunktZahl));
}

void TFormPktEingabe::FormClose(rtl::TObject*, gui::TCloseAction&) {
    try {
        P1x = EditToDouble(EditP1x);
        P1y = EditToDouble(EditP1y);
        P2x = EditToDouble(EditP2x);
        P2y = EditToDouble(EditP2y);
        PunktZahl = rtl::StrToInt(EditPunktZahl->Text());
    } catch (const rtl::EConvertError&) {
        msgError("TFormPktEingabe.FormClose: Typenumwandlung Str --> Real, Integer fehlgeschlagen");
    }
}

void TFormPktEingabe::ButCloseClick(rtl::TObject*) { Close(); }
