#include "tools/Grenzwerttabelle.h"

#include <string>

#include "foundation/DirectoryUtilsLib.h"
#include "foundation/FormatLib.h"
#include "foundation/StringGridUtilsLib.h"
#include "radio/AfuLib.h"
#include "radio/ExposureLimitLib.h"
#include "radio/HsmLib.h"
#include "tools/FormLib.h"

namespace {

// Pacemaker limits are electric field strengths; 1000 / Z0 turns V/m into mA/m.
constexpr double HsmToMilliAmperePerMetre = 1000 / FreeSpaceImpedance;

// Modes of columns 2..7.
constexpr int TableModes[] = {amCW, amSSB, amAM, amFM, amTV, amGSM};

}  // namespace

TFormGrenzwerttabelle::TFormGrenzwerttabelle(rtl::TComponent* owner) : gui::TForm(owner)
{
    SetName("FormGrenzwerttabelle");
    SetCaption("Grenzwerte zur Berechnung der Anzeige nach BEMFV");
    SetBorderStyle(gui::bsSingle);
    SetBorderIcons(gui::biSystemMenu);
    SetPosition(gui::poScreenCenter);
    SetClientWidth(558);
    SetClientHeight(450);

    StringGrid1 = new gui::TStringGrid(this);
    StringGrid1->SetParent(this);
    StringGrid1->SetBounds(21, 8, 516, 384);
    StringGrid1->SetColCount(8);
    StringGrid1->SetRowCount(21);
    StringGrid1->SetFixedRows(2);
    StringGrid1->SetFixedCols(1);
    StringGrid1->SetDefaultColWidth(64);
    StringGrid1->SetDefaultRowHeight(18);

    CBAutoMode = new gui::TCheckBox(this);
    CBAutoMode->SetParent(this);
    CBAutoMode->SetBounds(21, 402, 516, 17);
    CBAutoMode->SetCaption(
        "Automatisch ungünstigere Betriebsart wählen, falls kein Grenzwert existiert.");
    CBAutoMode->OnClick = [this](rtl::TObject*) { fill(); };

    CBhFeld = new gui::TCheckBox(this);
    CBhFeld->SetParent(this);
    CBhFeld->SetBounds(21, 426, 516, 17);
    CBhFeld->SetCaption("mag. Feldstärken");
    CBhFeld->OnClick = [this](rtl::TObject*) { fill(); };

    PopupMenu = new gui::TPopupMenu(this);
    PMISave = new gui::TMenuItem(this);
    PMISave->SetCaption("Speichern (*.txt)");
    PMISave->OnClick = [this](rtl::TObject* S) { PMISaveClick(S); };
    PopupMenu->Items()->Add(PMISave);
    PMICopy = new gui::TMenuItem(this);
    PMICopy->SetCaption("Kopieren");
    PMICopy->OnClick = [this](rtl::TObject* S) { PMICopyClick(S); };
    PopupMenu->Items()->Add(PMICopy);
    gui::SetPopupMenu(StringGrid1, PopupMenu);

    OnCreate = [this](rtl::TObject* S) { FormCreate(S); };
}

void TFormGrenzwerttabelle::FormCreate(rtl::TObject*) { fill(); }

void TFormGrenzwerttabelle::fill()
{
    StringGridSetHeader(*StringGrid1, "Band;PS;CW;SSB;AM;FM;TV;GSM");
    const bool Magnetic = CBhFeld->Checked();
    const int FieldKind = Magnetic ? 2 : 1;
    const double PsFactor = Magnetic ? 1000 : 1;
    const double HsmFactor = Magnetic ? HsmToMilliAmperePerMetre : 1;
    const std::string Unit = Magnetic ? "mA/m" : "V/m";
    for (int Col = 1; Col <= 7; ++Col) StringGrid1->SetCells(Col, 1, Unit);

    const bool AutoMode = CBAutoMode->Checked();
    for (int Band = 1; Band <= BandCount; ++Band) {
        const int Row = Band + 1;
        double FAtMin = 0;
        StringGrid1->SetCells(0, Row, AfuBandName(Band));
        StringGrid1->SetCells(
            1, Row, FormatPositive("%6.2f", PsBandMinimum(Band, FieldKind, FAtMin) * PsFactor));
        for (int I = 0; I < 6; ++I) {
            const int Mode = AutoMode ? HsmEffectiveMode(TableModes[I], Band) : TableModes[I];
            StringGrid1->SetCells(
                I + 2, Row,
                FormatPositive("%6.2f", HsmBandMinimum(Band, Mode, FAtMin) * HsmFactor));
        }
    }
}

void TFormGrenzwerttabelle::PMISaveClick(rtl::TObject*)
{
    std::string FileName = GetDeskTopDir() + "Grenzwerte Export.txt";
    if (ExecuteTextSaveDialog(FileName)) StringGridSaveToFile(*StringGrid1, FileName, 0);
}

void TFormGrenzwerttabelle::PMICopyClick(rtl::TObject*)
{
    StringGridCopyToClipboard(*StringGrid1);
}
