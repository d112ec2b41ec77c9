#include "tools/Zweidrahtleitung.h"

#include <cmath>

#include "foundation/ArrayLib.h"
#include "foundation/ListPlot.h"
#include "platform/rtl/SysUtils.h"
#include "radio/UnitConversionLib.h"

namespace {

double Impedance(double D, double d, double er) { return 120 / std::sqrt(er) * std::log(2 * D / d); }

gui::TLabel* MakeLabel(gui::TWinControl* parent, const char* text, int left, int top) {
    auto* l = new gui::TLabel(parent->Owner());
    l->SetParent(parent);
    l->SetCaption(text);
    l->SetLeft(left);
    l->SetTop(top);
    return l;
}

gui::TEdit* MakeEdit(gui::TWinControl* parent, int left, int top) {
    auto* e = new gui::TEdit(parent->Owner());
    e->SetParent(parent);
    e->SetBounds(left, top, 80, 23);
    return e;
}

gui::TComboBox* MakeLengthUnit(gui::TWinControl* parent, int left, int top) {
    auto* c = new gui::TComboBox(parent->Owner());
    c->SetParent(parent);
    c->SetBounds(left, top, 56, 23);
    for (const char* u : {"m", "dm", "cm", "mm", "µm"}) c->Items()->Add(u);
    c->SetItemIndex(3);
    return c;
}

// The dimensions: two wire cross-sections, the spacing D between their centres and the
// diameter d of one.
void DrawSketch(gdi::TBitmap& b) {
    gdi::TCanvas& c = *b.Canvas();
    const int w = b.Width(), h = b.Height();
    c.Brush()->SetColor(gdi::clWhite);
    c.FillRect(gdi::Rect(0, 0, w, h));
    const int r = 12, y = h / 2, x1 = w / 4, x2 = 3 * w / 4, dimY = y - r - 8;
    c.Brush()->SetColor(gdi::clGray);
    c.Ellipse(x1 - r, y - r, x1 + r, y + r);
    c.Ellipse(x2 - r, y - r, x2 + r, y + r);
    c.Pen()->SetColor(gdi::clBlack);
    c.MoveTo(x1, dimY);
    c.LineTo(x2, dimY);
    c.MoveTo(x1, dimY - 4);
    c.LineTo(x1, y);
    c.MoveTo(x2, dimY - 4);
    c.LineTo(x2, y);
    c.MoveTo(x2 - r, y + r + 4);
    c.LineTo(x2 + r, y + r + 4);
    c.Brush()->SetStyle(gdi::bsClear);
    c.Font()->SetHeight(-13);
    c.TextOut((x1 + x2) / 2 - c.TextWidth("D") / 2, dimY - c.TextHeight("D") - 1, "D");
    c.TextOut(x2 - c.TextWidth("d") / 2, y + r + 6, "d");
}

}  // namespace

TFormZweidrahtleitung::TFormZweidrahtleitung(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormZweidrahtleitung");
    SetCaption("Zweidrahtleitung");
    SetBorderStyle(gui::bsSingle);
    SetBorderIcons(gui::biSystemMenu);
    SetPosition(gui::poScreenCenter);
    SetClientWidth(640);
    SetClientHeight(336);

    GBMasse = new gui::TGroupBox(this);
    GBMasse->SetParent(this);
    GBMasse->SetCaption("Maße");
    GBMasse->SetBounds(8, 8, 240, 112);
    IMSkizze = new gui::TImage(this);
    IMSkizze->SetParent(GBMasse);
    IMSkizze->SetBounds(10, 22, 220, 80);
    {
        gdi::TBitmap sketch(220, 80);
        DrawSketch(sketch);
        IMSkizze->Picture()->Assign(&sketch);
    }

    GBRechner = new gui::TGroupBox(this);
    GBRechner->SetParent(this);
    GBRechner->SetCaption("Impedanz-Rechner");
    GBRechner->SetBounds(8, 128, 240, 200);
    MakeLabel(GBRechner, "Abstand D", 10, 27);
    EditAbstand = MakeEdit(GBRechner, 96, 24);
    CBUnitAbstand = MakeLengthUnit(GBRechner, 180, 24);
    MakeLabel(GBRechner, "Durchmesser d", 10, 56);
    EditDurchmesser = MakeEdit(GBRechner, 96, 53);
    CBUnitDurchmesser = MakeLengthUnit(GBRechner, 180, 53);
    MakeLabel(GBRechner, "Epsilon R", 10, 85);
    EditEpsilonR = MakeEdit(GBRechner, 96, 82);
    TechnicalLine1 = new kit::TKitTechnicalLine(this);
    TechnicalLine1->SetParent(GBRechner);
    TechnicalLine1->SetBounds(106, 106, 60, 57);
    TechnicalLine1->SetLineType(kit::lsStraightTopToBottom);
    TechnicalLine1->SetLineEndingsign(kit::leClosedArrowDown);
    TechnicalLine1->SetSignSize(20);
    TechnicalLine1->SetFillColor(gdi::clYellow);
    MakeLabel(GBRechner, "Impedanz", 10, 168);
    EditImpedanz = MakeEdit(GBRechner, 96, 165);
    EditImpedanz->SetWidth(140);
    EditImpedanz->SetReadOnly(true);
    EditImpedanz->SetTabStop(false);

    GBGrafik = new gui::TGroupBox(this);
    GBGrafik->SetParent(this);
    GBGrafik->SetCaption("Grafik");
    GBGrafik->SetBounds(256, 8, 376, 320);
    IMZweidraht = new gui::TImage(this);
    IMZweidraht->SetParent(GBGrafik);
    IMZweidraht->SetBounds(8, 20, 360, 292);

    auto run = [this](rtl::TObject* s) { calc(s); };
    EditAbstand->OnChange = CBUnitAbstand->OnChange = run;
    EditDurchmesser->OnChange = CBUnitDurchmesser->OnChange = run;
    EditEpsilonR->OnChange = run;
    // The start values, set with the events in place as a loaded window has them: the loading
    // scope keeps calc from running until the window is complete.
    EditAbstand->SetText("60");
    EditDurchmesser->SetText("4");
    EditEpsilonR->SetText("1");
    OnCreate = [this](rtl::TObject* s) { FormCreate(s); };
    OnActivate = [this](rtl::TObject* s) { FormActivate(s); };
}

void TFormZweidrahtleitung::FormCreate(rtl::TObject*) {
    SetCaption(Caption() + " v1.0 - Wellenwiderstand einer Paralleldrahtleitung");
}

void TFormZweidrahtleitung::FormActivate(rtl::TObject* s) {
    calc(s);
    calcGrafik();
}

// All three inputs are read on every change, so that a text is warned about when its field
// comes to hold it, whatever the others hold.
void TFormZweidrahtleitung::calc(rtl::TObject*) {
    if (Building()) return;
    const TFieldNumber D =
        ReadNumberField(EditAbstand->Text(), LengthFactor(CBUnitAbstand->Text()), reportedAbstand_);
    const TFieldNumber d = ReadNumberField(EditDurchmesser->Text(),
                                           LengthFactor(CBUnitDurchmesser->Text()), reportedDurchmesser_);
    const TFieldNumber er = ReadNumberField(EditEpsilonR->Text(), 1, reportedEpsilonR_);
    if (!d.Empty && !er.Empty) calcGrafik();
    // No impedance beside a text that is not a number.
    if (D.Bad || d.Bad || er.Bad) {
        EditImpedanz->SetText("");
        return;
    }
    if (D.Empty || d.Empty || er.Empty) return;
    // Negative values give no result, like 0.
    if (D.Value <= 0 || d.Value <= 0 || er.Value <= 0) {
        EditImpedanz->SetText("");
        return;
    }
    // Wires whose diameter is not below their spacing touch or overlap: there is no line. Equal
    // lengths in different units ("0,4 cm" and "4 mm") may differ in the last digit.
    if (d.Value >= D.Value * (1 - 1e-12)) {
        EditImpedanz->SetText("---");
        return;
    }
    EditImpedanz->SetText(" " + rtl::Format("%4.1f Ohm", Impedance(D.Value, d.Value, er.Value)));
}

void TFormZweidrahtleitung::calcGrafik() {
    long double dv = 0, erv = 0;
    const double d = rtl::TryStrToFloat(EditDurchmesser->Text(), dv)
                         ? static_cast<double>(dv * LengthFactor(CBUnitDurchmesser->Text())) : 0;
    const double er = rtl::TryStrToFloat(EditEpsilonR->Text(), erv) ? static_cast<double>(erv) : 0;
    if (d <= 0 || er <= 0) return;

    DoubleArray Ds, Zs;
    Linspace(200, Ds, 0.01, 0.1);
    Zs.SetLength(Ds.Length());
    for (int i = 0; i < Ds.Length(); ++i) Zs[i] = Impedance(Ds[i], d, er);

    TListPlot plot(IMZweidraht->Width(), IMZweidraht->Height());
    plot.AxisLimits(0, 0.1, 30, 1000);
    plot.XData1 = Ds;
    plot.YData1 = Zs;
    plot.Init();
    DoubleArray steps;
    AxisSteps(steps, 0, 0.1, 0.01);
    plot.DrawXGrid(steps);
    AxisSteps(steps, 30, 1000, 100);
    plot.DrawYGrid(steps);
    plot.XLabelFactor = 1000;
    AxisSteps(steps, 0, 0.1, 0.02);
    plot.DrawXLabel(steps);
    AxisSteps(steps, 30, 1000, 200);
    plot.DrawYLabel(steps, 0);
    plot.DrawAxis(true);
    plot.DrawY1();
    plot.xTitle("D [mm]");
    plot.yTitle("Z [Ohm]");
    IMZweidraht->Picture()->Assign(static_cast<gdi::TBitmap*>(&plot));
}
