// The window "Dämpfung von Koaxkabeln und Konnektoren": the loss of a chosen coaxial cable over
// its length and of one connector at a frequency, the amateur band of that frequency, and the
// band centre as frequency when a band is chosen. Not modal; released when it is closed.
#pragma once

#include <string>

#include "components/controls/KitEdit.h"
#include "components/controls/kitcombo.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "tools/CheckListBoxUtilsLib.h"
#include "tools/NumberFieldLib.h"

class TFormKoaxCalc : public gui::TForm {
public:
    explicit TFormKoaxCalc(rtl::TComponent* owner);

    kit::TKitEdit* EditFrequenz = nullptr;
    kit::TKitComboBox* CBBands = nullptr;
    kit::TKitEdit* EditAtt100 = nullptr;
    kit::TKitEdit* EditCableLength = nullptr;
    kit::TKitEdit* EditAtt = nullptr;
    gui::TGroupBox* GBKabelTyp = nullptr;
    TCheckListBoxType* CLBKabelTyp = nullptr;
    gui::TGroupBox* GBKonnektorTyp = nullptr;
    TCheckListBoxType* CLBKonnektorTyp = nullptr;
    kit::TKitEdit* EditKonnektorAtt = nullptr;
    gui::TImage* ImgLogo = nullptr;

    void FormCreate(rtl::TObject* Sender);
    void CalcCable(rtl::TObject* Sender);
    void CBBandsClick(rtl::TObject* Sender);
    void CLBKabelTypClick(rtl::TObject* Sender);
    void CLBKonnektorTypClick(rtl::TObject* Sender);
    void FormClose(rtl::TObject* Sender, gui::TCloseAction& Action);

protected:
    void WndProc(gui::TMessage& Message) override;

private:
    void DrawLogo();
    // Shows a result, or "---" when it does not fit the field.
    static void ShowResult(kit::TKitEdit& field, double value);

    // The texts last reported as not a number, so that leaving and entering the fields again
    // without a change does not report the same text twice.
    TReportedText reportedFrequenz_;
    TReportedText reportedCableLength_;
};
