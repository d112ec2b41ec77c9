// The measured-values window "Messwert-Export": the measuring points clicked on the map.
#pragma once

#include <string>

#include "foundation/cUtils.h"
#include "platform/gui/Forms.h"

class TFormMessExport : public gui::TForm {
public:
    explicit TFormMessExport(rtl::TComponent* owner);

    std::string InitialDir;
    DoubleArray x, y, z, Feld, gwPS, gwHSM;
    StringArray Text;

    // Number of measuring points: the length of the shortest number array.
    int nof() const;
    void add(const std::string& Text, double x, double y, double z, double Feld, double gwPS,
             double gwHSM);
    void UpdateGrid(rtl::TObject* Sender);
    void MessPktClear(rtl::TObject* Sender);
    void clear(rtl::TObject* Sender);
};
