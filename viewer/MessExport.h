// The measured-values window "Messwert-Export": the measuring points clicked on the map, listed
// in a grid with their values and their percentages of the two limits; deleted one by one or all
// together, and saved as a text table.
#pragma once

#include <string>

#include "foundation/BKStringGrid.h"
#include "foundation/cUtils.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TFormMessExport : public gui::TForm {
public:
    explicit TFormMessExport(rtl::TComponent* owner);

    TBKStringGrid* SGExport = nullptr;
    gui::TButton* ButClear = nullptr;   // "Liste löschen"
    gui::TButton* ButDelete = nullptr;  // "Eintrag löschen"
    gui::TButton* ButSave = nullptr;    // "Liste Speichern"
    gui::TSaveDialog* SaveDialogListe = nullptr;

    // Start directory of the save dialog.
    std::string InitialDir;
    // One measuring point per index: clicked position (m), plane height without the field-type
    // offset (m), value at the display power, percentages of the person-protection and the
    // pacemaker limit (not a number where the limit does not exist: shown as "---"), unit label.
    DoubleArray x, y, z, Feld, gwPS, gwHSM;
    StringArray Text;

    // Number of measuring points: the length of the shortest number array.
    int nof() const;
    // Appends one measuring point and rebuilds the grid.
    void add(const std::string& Text, double x, double y, double z, double Feld, double gwPS,
             double gwHSM);
    // Rebuilds the grid from the arrays: the heading row, then one row per point.
    void UpdateGrid(rtl::TObject* Sender);
    // Removes every point and rebuilds the grid.
    void MessPktClear(rtl::TObject* Sender);
    // Empties every cell of the grid.
    void clear(rtl::TObject* Sender);

    void ButClearClick(rtl::TObject* Sender);
    void ButDeleteClick(rtl::TObject* Sender);
    void ButSaveClick(rtl::TObject* Sender);
    void FormCreate(rtl::TObject* Sender);
};
