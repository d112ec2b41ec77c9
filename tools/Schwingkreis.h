// The window "Schwingkreis": the resonance of an LC circuit solved three ways, the frequency
// from L and C, the capacitance from L and f, the inductance from C and f. Every change of an
// input or of its unit recomputes its group.
#pragma once

#include <string>

#include "components/controls/KitTechnicalLine.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "tools/NumberFieldLib.h"

class TFormSchwingkreis : public gui::TForm {
public:
    explicit TFormSchwingkreis(rtl::TComponent* owner);

    gui::TGroupBox* GBFrequenz = nullptr;
    gui::TGroupBox* GBKapazitaet = nullptr;
    gui::TGroupBox* GBInduktivitaet = nullptr;
    gui::TEdit* EditL1 = nullptr;
    gui::TComboBox* CBLUnit1 = nullptr;
    gui::TEdit* EditC1 = nullptr;
    gui::TComboBox* CBCUnit1 = nullptr;
    gui::TEdit* EditF1 = nullptr;
    gui::TEdit* EditL2 = nullptr;
    gui::TComboBox* CBLunit2 = nullptr;
    gui::TEdit* editF2 = nullptr;
    gui::TComboBox* CBFUnit2 = nullptr;
    gui::TEdit* EditC2 = nullptr;
    gui::TEdit* EditC3 = nullptr;
    gui::TComboBox* CBCunit3 = nullptr;
    gui::TEdit* EditF3 = nullptr;
    gui::TComboBox* CBFunit3 = nullptr;
    gui::TEdit* EditL3 = nullptr;
    kit::TKitTechnicalLine* TechnicalLine1 = nullptr;
    kit::TKitTechnicalLine* TechnicalLine2 = nullptr;
    kit::TKitTechnicalLine* TechnicalLine3 = nullptr;

    void FormCreate(rtl::TObject* Sender);
    void Calc1(rtl::TObject* Sender);
    void Calc2(rtl::TObject* Sender);
    void Calc3(rtl::TObject* Sender);

private:
    bool Building() const { return ComponentState().Contains(rtl::csLoading); }

    // Each input's bad text, reported once.
    TReportedText reportedL1_, reportedC1_, reportedL2_, reportedF2_, reportedC3_, reportedF3_;
};
