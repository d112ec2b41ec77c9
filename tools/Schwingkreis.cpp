#include "tools/Schwingkreis.h"

#include <cmath>

#include "platform/rtl/SysUtils.h"
#include "radio/UnitConversionLib.h"

namespace {

constexpr double TwoPi = 6.283185307179586;
const gdi::TColor clLime = 0x00FF00;

gui::TGroupBox* MakeGroup(gui::TForm* form, const char* caption, int top) {
    auto* g = new gui::TGroupBox(form);
    g->SetParent(form);
    g->SetCaption(caption);
    g->SetBounds(8, top, 440, 96);
    return g;
}

void MakeLetter(gui::TGroupBox* g, const char* text, int top) {
    auto* l = new gui::TLabel(g->Owner());
    l->SetParent(g);
    l->SetCaption(text);
    l->Font()->SetName("Arial");
    l->Font()->SetHeight(-15);
    l->Font()->SetStyle(gdi::fsBold);
    l->SetBounds(12, top + 3, 14, 18);
}

gui::TEdit* MakeInput(gui::TGroupBox* g, int top) {
    auto* e = new gui::TEdit(g->Owner());
    e->SetParent(g);
    e->SetBounds(30, top, 100, 25);
    e->SetColor(clLime);
    e->Font()->SetName("Arial");
    e->Font()->SetHeight(-15);
    e->Font()->SetStyle(gdi::fsBold);
    return e;
}

gui::TComboBox* MakeUnit(gui::TGroupBox* g, int top, std::initializer_list<const char*> units, int start) {
    auto* c = new gui::TComboBox(g->Owner());
    c->SetParent(g);
    c->SetBounds(136, top, 64, 23);
    c->SetColor(gdi::clYellow);
    c->Font()->SetName("Arial");
    c->Font()->SetHeight(-13);
    for (const char* u : units) c->Items()->Add(u);
    c->SetItemIndex(start);
    return c;
}

gui::TEdit* MakeResult(gui::TGroupBox* g) {
    auto* e = new gui::TEdit(g->Owner());
    e->SetParent(g);
    e->SetBounds(280, 35, 148, 25);
    e->SetColor(gdi::clYellow);
    e->SetReadOnly(true);
    e->SetTabStop(false);
    e->Font()->SetName("Arial");
    e->Font()->SetHeight(-15);
    e->Font()->SetStyle(gdi::fsBold);
    return e;
}

kit::TKitTechnicalLine* MakeArrow(gui::TGroupBox* g, int left, int width) {
    auto* t = new kit::TKitTechnicalLine(g->Owner());
    t->SetParent(g);
    t->SetBounds(left, 35, width, 25);
    t->SetSignSize(20);
    t->SetFillColor(gdi::clYellow);
    return t;
}

const std::initializer_list<const char*> kInductance = {"H", "mH", "µH", "nH"};
const std::initializer_list<const char*> kCapacitance = {"F", "mF", "µF", "nF", "pF", "fF"};
const std::initializer_list<const char*> kFrequency = {"Hz", "kHz", "MHz", "GHz"};

// A group's result from its two inputs: empty while one of them is not a number, or is 0 or
// negative (no resonance); kept while one is empty; else the formula's text.
template <class Formula>
void ShowGroupResult(gui::TEdit& result, const TFieldNumber& a, const TFieldNumber& b, Formula text) {
    if (a.Bad || b.Bad) {
        result.SetText("");
        return;
    }
    if (a.Empty || b.Empty) return;
    if (a.Value <= 0 || b.Value <= 0) {
        result.SetText("");
        return;
    }
    result.SetText(" " + text(a.Value, b.Value));
}

}  // namespace

TFormSchwingkreis::TFormSchwingkreis(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormSchwingkreis");
    SetCaption("Schwingkreis");
    SetBorderStyle(gui::bsSingle);
    SetBorderIcons(gui::biSystemMenu);
    SetPosition(gui::poScreenCenter);
    SetClientWidth(456);
    SetClientHeight(320);

    GBFrequenz = MakeGroup(this, "Frequenz gesucht", 8);
    MakeLetter(GBFrequenz, "L", 22);
    EditL1 = MakeInput(GBFrequenz, 22);
    CBLUnit1 = MakeUnit(GBFrequenz, 23, kInductance, 2);
    MakeLetter(GBFrequenz, "C", 56);
    EditC1 = MakeInput(GBFrequenz, 56);
    CBCUnit1 = MakeUnit(GBFrequenz, 57, kCapacitance, 4);
    TechnicalLine1 = MakeArrow(GBFrequenz, 210, 60);
    EditF1 = MakeResult(GBFrequenz);

    GBKapazitaet = MakeGroup(this, "Kapazität gesucht", 112);
    MakeLetter(GBKapazitaet, "L", 22);
    EditL2 = MakeInput(GBKapazitaet, 22);
    CBLunit2 = MakeUnit(GBKapazitaet, 23, kInductance, 2);
    MakeLetter(GBKapazitaet, "f", 56);
    editF2 = MakeInput(GBKapazitaet, 56);
    CBFUnit2 = MakeUnit(GBKapazitaet, 57, kFrequency, 2);
    TechnicalLine2 = MakeArrow(GBKapazitaet, 214, 52);
    EditC2 = MakeResult(GBKapazitaet);

    GBInduktivitaet = MakeGroup(this, "Induktivität gesucht", 216);
    MakeLetter(GBInduktivitaet, "C", 22);
    EditC3 = MakeInput(GBInduktivitaet, 22);
    CBCunit3 = MakeUnit(GBInduktivitaet, 23, kCapacitance, 4);
    MakeLetter(GBInduktivitaet, "f", 56);
    EditF3 = MakeInput(GBInduktivitaet, 56);
    CBFunit3 = MakeUnit(GBInduktivitaet, 57, kFrequency, 2);
    TechnicalLine3 = MakeArrow(GBInduktivitaet, 214, 52);
    EditL3 = MakeResult(GBInduktivitaet);

    auto calc1 = [this](rtl::TObject* s) { Calc1(s); };
    auto calc2 = [this](rtl::TObject* s) { Calc2(s); };
    auto calc3 = [this](rtl::TObject* s) { Calc3(s); };
    EditL1->OnChange = CBLUnit1->OnChange = EditC1->OnChange = CBCUnit1->OnChange = calc1;
    EditL2->OnChange = CBLunit2->OnChange = editF2->OnChange = CBFUnit2->OnChange = calc2;
    EditC3->OnChange = CBCunit3->OnChange = EditF3->OnChange = CBFunit3->OnChange = calc3;

    OnCreate = [this](rtl::TObject* s) { FormCreate(s); };
}

void TFormSchwingkreis::FormCreate(rtl::TObject*) {
    SetCaption(Caption() + " v1.1 - Resonanz eines LC-Kreises");
}

// Each group reads both of its inputs on every change, so that a text is warned about when its
// field comes to hold it, whatever the other field holds.
void TFormSchwingkreis::Calc1(rtl::TObject*) {
    if (Building()) return;
    const TFieldNumber C = ReadNumberField(EditC1->Text(), CapacitanceFactor(CBCUnit1->Text()), reportedC1_);
    const TFieldNumber L = ReadNumberField(EditL1->Text(), InductanceFactor(CBLUnit1->Text()), reportedL1_);
    ShowGroupResult(*EditF1, C, L, [](double C, double L) {
        return FormatWithPrefix("Hz", 1 / (std::sqrt(L * C) * TwoPi));
    });
}

void TFormSchwingkreis::Calc2(rtl::TObject*) {
    if (Building()) return;
    const TFieldNumber L = ReadNumberField(EditL2->Text(), InductanceFactor(CBLunit2->Text()), reportedL2_);
    const TFieldNumber f = ReadNumberField(editF2->Text(), FrequencyFactor(CBFUnit2->Text()), reportedF2_);
    ShowGroupResult(*EditC2, L, f, [](double L, double f) {
        const double x = 1 / (TwoPi * f);
        return FormatWithPrefix("F", x * x * (1 / L));
    });
}

void TFormSchwingkreis::Calc3(rtl::TObject*) {
    if (Building()) return;
    const TFieldNumber C = ReadNumberField(EditC3->Text(), CapacitanceFactor(CBCunit3->Text()), reportedC3_);
    const TFieldNumber f = ReadNumberField(EditF3->Text(), FrequencyFactor(CBFunit3->Text()), reportedF3_);
    ShowGroupResult(*EditL3, C, f, [](double C, double f) {
        const double x = 1 / (TwoPi * f);
        return FormatWithPrefix("H", x * x * (1 / C));
    });
}
