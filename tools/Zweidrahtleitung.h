// The window "Zweidrahtleitung": the characteristic impedance of a two-wire line from the wire
// spacing, the wire diameter and the relative permittivity, and a graph of the impedance over
// the spacing for the entered diameter.
#pragma once

#include "components/controls/KitTechnicalLine.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "tools/NumberFieldLib.h"

class TFormZweidrahtleitung : public gui::TForm {
public:
    explicit TFormZweidrahtleitung(rtl::TComponent* owner);

    gui::TGroupBox* GBMasse = nullptr;
    gui::TImage* IMSkizze = nullptr;
    gui::TGroupBox* GBRechner = nullptr;
    gui::TEdit* EditAbstand = nullptr;
    gui::TComboBox* CBUnitAbstand = nullptr;
    gui::TEdit* EditDurchmesser = nullptr;
    gui::TComboBox* CBUnitDurchmesser = nullptr;
    gui::TEdit* EditEpsilonR = nullptr;
    gui::TEdit* EditImpedanz = nullptr;
    kit::TKitTechnicalLine* TechnicalLine1 = nullptr;
    gui::TGroupBox* GBGrafik = nullptr;
    gui::TImage* IMZweidraht = nullptr;

    void FormCreate(rtl::TObject* Sender);
    void FormActivate(rtl::TObject* Sender);
    void calc(rtl::TObject* Sender);
    void calcGrafik();

private:
    bool Building() const { return ComponentState().Contains(rtl::csLoading); }

    // Each input's bad text, reported once.
    TReportedText reportedAbstand_, reportedDurchmesser_, reportedEpsilonR_;
};
