// The window "Erzeuge Fake-EZNEC Files": writes a synthetic near-field text in the EZNEC layout,
// a constant field (electric or magnetic) on a regular x/y/z grid, into its memo and saves it.
#pragma once

#include <string>

#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TFormFakeEZNECFile : public gui::TForm {
public:
    explicit TFormFakeEZNECFile(rtl::TComponent* owner);

    // Most data lines a grid may produce; a larger grid is refused with a warning.
    static constexpr long long MaxDataLines = 1000000;

    gui::TGroupBox* GBKoordinaten = nullptr;
    gui::TEdit *EditStartX = nullptr, *EditStopX = nullptr, *EditStepX = nullptr;
    gui::TEdit *EditStartY = nullptr, *EditStopY = nullptr, *EditStepY = nullptr;
    gui::TEdit *EditStartZ = nullptr, *EditStopZ = nullptr, *EditStepZ = nullptr;
    gui::TRadioGroup* RGFeldTyp = nullptr;
    gui::TEdit* EditLeistung = nullptr;
    gui::TEdit* EditFrequenz = nullptr;
    gui::TButton* ButErzeugen = nullptr;
    gui::TButton* ButSave = nullptr;
    gui::TMemo* Memo = nullptr;
    gui::TSaveDialog* SaveDialog = nullptr;

    // Start directory of the save dialog.
    std::string InitialDir;

    void FormCreate(rtl::TObject* Sender);
    // Fills the memo with the header and one data line per grid point.
    void ButErzeugenClick(rtl::TObject* Sender);
    // Saves the memo's lines (CR LF) to a file chosen in the save dialog.
    void ButSaveClick(rtl::TObject* Sender);
};
