// The dialog "Schnittebene": the two end points of the cut line and its number of points.
#pragma once

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TFormPktEingabe : public gui::TForm {
public:
    explicit TFormPktEingabe(rtl::TComponent* owner);

    gui::TGroupBox *GBPunkt1 = nullptr, *GBPunkt2 = nullptr, *GBAnzahl = nullptr;
    gui::TEdit *EditP1x = nullptr, *EditP1y = nullptr, *EditP2x = nullptr, *EditP2y = nullptr;
    gui::TEdit* EditPunktZahl = nullptr;
    gui::TLabel* LAAnzahl = nullptr;
    gui::TButton* ButClose = nullptr;

    double P1x = 0, P1y = -5, P2x = 0, P2y = 15;
    int PunktZahl = 20;

    void FormCreate(rtl::TObject* Sender);
    // Writes the fields into the edits.
    void FormShow(rtl::TObject* Sender);
    // Reads the edits back into the fields, in order; the first one that is no number ends the
    // reading with an error box, and the dialog closes all the same.
    void FormClose(rtl::TObject* Sender, gui::TCloseAction& Action);
    void ButCloseClick(rtl::TObject* Sender);
};
