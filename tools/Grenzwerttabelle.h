// The window "Grenzwerte zur Berechnung der Anzeige nach BEMFV": for the first 19 amateur bands
// the lowest person-protection limit and the lowest pacemaker limit of the modes CW, SSB, AM,
// FM, TV and GSM, as electric (V/m) or magnetic (mA/m) field strengths. Its popup menu saves
// the table as a padded text file or copies it to the clipboard.
#pragma once

#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

class TFormGrenzwerttabelle : public gui::TForm {
public:
    explicit TFormGrenzwerttabelle(rtl::TComponent* owner);

    // Bands shown, from band 1 on.
    static constexpr int BandCount = 19;

    gui::TStringGrid* StringGrid1 = nullptr;
    gui::TCheckBox* CBAutoMode = nullptr;
    gui::TCheckBox* CBhFeld = nullptr;
    gui::TPopupMenu* PopupMenu = nullptr;
    gui::TMenuItem* PMISave = nullptr;
    gui::TMenuItem* PMICopy = nullptr;

    void FormCreate(rtl::TObject* Sender);
    // Fills the table for the field kind and the fallback the check boxes choose.
    void fill();
    // Saves the table, after the save dialog, as padded text.
    void PMISaveClick(rtl::TObject* Sender);
    // Copies the table to the clipboard, cells separated by TAB.
    void PMICopyClick(rtl::TObject* Sender);
};
