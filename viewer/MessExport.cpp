// Stand-in until the measured-values table is built: holds the points, shows no grid yet.
#include "viewer/MessExport.h"

#include "foundation/MathLib.h"

TFormMessExport::TFormMessExport(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormMessExport");
    SetCaption("Messwert-Export");
    SetBorderStyle(gui::bsToolWindow);
    SetBounds(20, 20, 441, 313);
}

int TFormMessExport::nof() const {
    return Min3Int(Min3Int(x.Length(), y.Length(), z.Length()), Feld.Length(),
                   MinI(gwPS.Length(), gwHSM.Length()));
}

void TFormMessExport::add(const std::string& T, double X, double Y, double Z, double F,
                          double PS, double HSM) {
    AppendDouble(x, X);
    AppendDouble(y, Y);
    AppendDouble(z, Z);
    AppendDouble(Feld, F);
    AppendDouble(gwPS, PS);
    AppendDouble(gwHSM, HSM);
    AppendString(Text, T);
    UpdateGrid(this);
}

void TFormMessExport::UpdateGrid(rtl::TObject*) {}

void TFormMessExport::MessPktClear(rtl::TObject*) {
    for (DoubleArray* a : {&x, &y, &z, &Feld, &gwPS, &gwHSM}) ClearDoubleArray(*a);
    ClearStringArray(Text);
    UpdateGrid(this);
}

void TFormMessExport::clear(rtl::TObject*) {}
