#include "viewer/MessExport.h"

#include <cmath>
#include <string>

#include "foundation/MathLib.h"
#include "foundation/StringGridUtilsLib.h"
#include "platform/rtl/SysUtils.h"
#include "viewer/FeldorU.h"

namespace {

constexpr const char* kHeader = "MP;x [m];y [m];z [m];Feld;%gwPS;%gwHSM";

template <class Handler>
gui::TButton* MakeButton(TFormMessExport* form, const std::string& caption, int left,
                         Handler handler) {
    auto* b = new gui::TButton(form);
    b->SetParent(form);
    b->SetBounds(left, 280, 105, 25);
    b->SetCaption(caption);
    b->OnClick = [form, handler](rtl::TObject* s) { (form->*handler)(s); };
    return b;
}

// A percentage of a limit; a point taken where the limit does not exist has none ("---").
std::string PercentText(double v) { return std::isfinite(v) ? rtl::Format("%5.1f", v) : "---"; }

// The marks on the map follow the list.
void RedrawMarks(rtl::TObject* Sender) {
    if (FeldorU::FormFeldor) FeldorU::FormFeldor->MessPktUpdate(Sender);
}

}  // namespace

TFormMessExport::TFormMessExport(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormMessExport");
    SetCaption("Messwert-Export");
    SetBorderStyle(gui::bsToolWindow);
    SetLeft(20);
    SetTop(20);
    SetClientWidth(441);
    SetClientHeight(313);

    SGExport = new TBKStringGrid(this);
    SGExport->SetParent(this);
    SGExport->SetBounds(8, 8, 425, 264);
    SGExport->SetColCount(8);
    SGExport->SetFixedCols(0);
    SGExport->SetDefaultColWidth(50);
    SGExport->SetDefaultRowHeight(16);
    SGExport->SetScrollBars(gui::ssVertical);

    ButClear = MakeButton(this, "Liste löschen", 8, &TFormMessExport::ButClearClick);
    ButDelete = MakeButton(this, "Eintrag löschen", 118, &TFormMessExport::ButDeleteClick);
    ButSave = MakeButton(this, "Liste Speichern", 328, &TFormMessExport::ButSaveClick);

    SaveDialogListe = new gui::TSaveDialog(this);
    SaveDialogListe->DefaultExt = ".txt";
    SaveDialogListe->FileName = "Messwertliste.txt";
    SaveDialogListe->Filter = "Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*";

    OnCreate = [this](rtl::TObject* s) { FormCreate(s); };
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

void TFormMessExport::UpdateGrid(rtl::TObject* Sender) {
    clear(Sender);
    StringGridSetHeader(*SGExport, kHeader);
    const int n = nof();
    SGExport->SetRowCount(n + 1);
    for (int i = 1; i <= n; ++i) {
        const int k = i - 1;
        SGExport->SetCells(0, i, rtl::Format("MP%5d", i));
        SGExport->SetCells(1, i, rtl::Format("%5.1f", x[k]));
        SGExport->SetCells(2, i, rtl::Format("%5.1f", y[k]));
        SGExport->SetCells(3, i, rtl::Format("%5.1f", z[k]));
        SGExport->SetCells(4, i, rtl::Format("%5.4f", Feld[k]));
        SGExport->SetCells(5, i, PercentText(gwPS[k]));
        SGExport->SetCells(6, i, PercentText(gwHSM[k]));
        // A label the arrays lack (Text is not counted by nof) leaves the cell empty.
        SGExport->SetCells(7, i, k < Text.Length() ? rtl::Format("%5s  ", Text[k]) : "");
    }
}

void TFormMessExport::MessPktClear(rtl::TObject* Sender) {
    for (DoubleArray* a : {&x, &y, &z, &Feld, &gwPS, &gwHSM}) ClearDoubleArray(*a);
    ClearStringArray(Text);
    UpdateGrid(Sender);
}

void TFormMessExport::clear(rtl::TObject*) { StringGridClear(*SGExport); }

void TFormMessExport::ButClearClick(rtl::TObject* Sender) {
    MessPktClear(Sender);
    RedrawMarks(Sender);
}

// The point of the grid's current row goes; the heading row (index -1) removes nothing.
void TFormMessExport::ButDeleteClick(rtl::TObject* Sender) {
    const int r = SGExport->Row() - 1;
    for (DoubleArray* a : {&x, &y, &z, &Feld, &gwPS, &gwHSM}) RemoveDoubles(*a, r, 1);
    RemoveStrings(Text, r, 1);
    UpdateGrid(Sender);
    RedrawMarks(Sender);
}

void TFormMessExport::ButSaveClick(rtl::TObject*) {
    SaveDialogListe->InitialDir = InitialDir;
    if (SaveDialogListe->Execute()) StringGridSaveToFile(*SGExport, SaveDialogListe->FileName, 0);
}

void TFormMessExport::FormCreate(rtl::TObject*) { InitialDir.clear(); }
