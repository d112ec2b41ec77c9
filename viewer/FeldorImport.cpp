// Main window: the reset, the script-window log and the import commands.
#include <memory>
#include <string>
#include <vector>

#include "foundation/DateTimeLib.h"
#include "foundation/DebugLib.h"
#include "platform/rtl/SysUtils.h"
#include "viewer/FeldorU.h"
#include "viewer/MessExport.h"
#include "viewer/ProgInfo.h"

using namespace FeldorU;

namespace {

void ClearImage(gui::TImage* image) {
    gdi::TBitmap* bmp = image->Picture()->Bitmap();
    gdi::TCanvas* c = bmp->Canvas();
    c->Brush()->SetColor(gdi::clWhite);
    c->Brush()->SetStyle(gdi::bsSolid);
    c->FillRect(gdi::Rect(0, 0, bmp->Width(), bmp->Height()));
    image->Invalidate();
}

// The files of an import that gave no field point, named as the readers' errors name a file.
std::string NoPointsText(const std::vector<std::string>& Files) {
    if (Files.size() == 1)
        return rtl::Format("Datei %s: In der Datei wurden keine Feldpunkte gefunden", Files[0]);
    std::string names;
    for (const std::string& f : Files) names += (names.empty() ? "" : ", ") + f;
    return rtl::Format("In den Dateien %s wurden keine Feldpunkte gefunden", names);
}

// The overlay labels' colour while no geometry is loaded.
constexpr gdi::TColor kNoGeometryColor = 0x7E82FE;

// The antenna and ground geometry of an import's folder, read before the field shown is
// replaced: the viewer's geometry and its labels are as before when the read fails.
struct NewGeometry {
    std::unique_ptr<TAntPoints> antenne, boden;
    gdi::TColor antenneColor = kNoGeometryColor, bodenColor = kNoGeometryColor;

    // Into the viewer after its reset.
    void PutInPlace(TFormFeldor& form) {
        Antenne = std::move(antenne);
        Boden = std::move(boden);
        form.laAntenne->SetColor(antenneColor);
        form.laBoden->SetColor(bodenColor);
    }
};

NewGeometry ReadGeometryBeside(TFormFeldor& form, const std::string& Dir) {
    std::unique_ptr<TAntPoints> keptAntenne = std::move(Antenne), keptBoden = std::move(Boden);
    const gdi::TColor keptAntenneColor = form.laAntenne->Color();
    const gdi::TColor keptBodenColor = form.laBoden->Color();
    auto restore = [&] {
        Antenne = std::move(keptAntenne);
        Boden = std::move(keptBoden);
        form.laAntenne->SetColor(keptAntenneColor);
        form.laBoden->SetColor(keptBodenColor);
    };
    NewGeometry g;
    Antenne = std::make_unique<TAntPoints>();
    Boden = std::make_unique<TAntPoints>();
    form.laAntenne->SetColor(kNoGeometryColor);
    form.laBoden->SetColor(kNoGeometryColor);
    try {
        form.AntBodenNachLaden(Dir);
    } catch (...) {
        restore();
        throw;
    }
    g.antenne = std::move(Antenne);
    g.boden = std::move(Boden);
    g.antenneColor = form.laAntenne->Color();
    g.bodenColor = form.laBoden->Color();
    restore();
    return g;
}

}  // namespace

void TFormFeldor::addInfo(const std::string& Text) {
    if (FormProgInfo) FormProgInfo->addLine(Text);
}

void TFormFeldor::InitApplication() {
    if (FormProgInfo) FormProgInfo->clear(this);
    ClearFeld2Dim();
    ClearDoubleArray(PlaneList);
    FieldShown = false;
    FieldLoaded = false;
    CurrentPlane = std::make_unique<TSkalarFeld2>();  // no read-out from a plane no longer shown
    Power = 1;
    for (gui::TImage* image : {ImageFeld, ImageOvl, ImagePlay}) ClearImage(image);
    ReadOutAtCursor();  // the read-out goes with the map
    Boden = std::make_unique<TAntPoints>();
    Antenne = std::make_unique<TAntPoints>();
    CBPlanes->Items()->Clear();
    CBPlanes->SetText("-keine-");
    laBoden->SetColor(kNoGeometryColor);
    laAntenne->SetColor(kNoGeometryColor);
    if (FormMessExport) FormMessExport->MessPktClear(this);
    static constexpr BezugsWert rows[8] = {{0, 0, 0},      {1, 0.005, 10},  {3, 0.01, 50},
                                           {5, 0.02, 100}, {10, 0.05, 377}, {25, 0.1, 600},
                                           {50, 0.2, 1000}, {100, 0.5, 2000}};
    for (int k = 1; k <= 7; ++k) BezugsTabelle[k] = rows[k];
    CutPointCount = 20;
    CutSecondClick = false;
    DebugMode = MIDebugMode->Checked();
    CutP1x = 0;
    CutP1y = -5;
    CutP2x = 0;
    CutP2y = 15;
    LoadedFile.clear();
    // "&Speichern" must not write the emptied viewer over the file it came from.
    SaveTarget.clear();
}

void TFormFeldor::MIClearAllClick(rtl::TObject*) { InitApplication(); }

void TFormFeldor::ImportFiles(const char* Title, std::string& Dir, const char* Filter,
                              const char* DefaultExt, bool MultiFile, ReaderMethod Reader) {
    OpenDialog->Title = Title;
    OpenDialog->InitialDir = Dir;
    OpenDialog->Filter = Filter;
    OpenDialog->FilterIndex = 2;
    OpenDialog->DefaultExt = DefaultExt;
    if (MultiFile) OpenDialog->Options = gui::ofAllowMultiSelect;
    // A cancelled dialog leaves the field shown as it is.
    if (!OpenDialog->Execute()) return;

    // The chosen files are read into a field of their own; the field shown stays, untouched,
    // until every file has been read. A folder gives no field points, as a file without data.
    const std::string dir = rtl::ExtractFileDir(OpenDialog->FileName);
    auto field = std::make_unique<FieldPoints>();
    std::vector<std::string> read;
    std::string missing;
    auto readFile = [&](const std::string& file) {
        if (rtl::DirectoryExists(file)) {
            read.push_back(file);
        } else if (rtl::FileExists(file)) {
            (this->*Reader)(file, field.get());
            read.push_back(file);
        } else if (missing.empty()) {
            missing = file;
        }
    };
    if (MultiFile) {
        for (int i = 0; i < OpenDialog->Files()->Count(); ++i) {
            const int before = field->Count();
            readFile(OpenDialog->Files()->Get(i));
            field->Log.push_back(rtl::Format("%6s Uhr - # FeldPunkte neu: %1d    gesamt: %1d ",
                                             NowTimeString(), field->Count() - before,
                                             field->Count()));
        }
    } else {
        readFile(OpenDialog->FileName);
    }
    if (field->Count() == 0) {
        // Files read without an error that gave no field point leave nothing to show.
        if (!read.empty()) throw rtl::Exception(NoPointsText(read));
        if (!missing.empty()) msgFileNotFound(missing);
        return;
    }
    NewGeometry geometry = ReadGeometryBeside(*this, dir);

    // Everything is read: the new field takes the place of the one shown.
    InitApplication();
    TakeFieldPoints(*field);
    Power = field->Power;
    PowerShow = field->PowerShow;
    for (const std::string& line : field->Log) addInfo(line);
    field.reset();
    geometry.PutInPlace(*this);

    HasEPlanes = FieldPlanes(tz, 1).Length() > 0;
    HasHPlanes = FieldPlanes(tz, 2).Length() > 0;
    gui::Application->ProcessMessages();
    // The heights found are logged before the impedance planes join them; the impedance planes
    // exist before the field type is chosen, so that a selected "Z=E/H" finds them.
    whatLoaded();
    if (!MultiFile || (HasEPlanes && HasHPlanes)) BuildZPlanes();
    HasZPlanes = FieldPlanes(tz, 3).Length() > 0;
    afterLoading();
    DrawArrowInColorScale();
    FieldLoaded = true;
    UpdatePicture(this);
    Dir = dir;
}

void TFormFeldor::MIEZNECOpenClick(rtl::TObject*) {
    ImportFiles("EZNEC Nahfeld-Ausgabedatei laden", EZNECDir,
                "Alle Dateien (*.*)|*.*|EZNEC - NF Ausgabedatei (*.txt)|*.txt", "txt", true,
                &TFormFeldor::LadenFeld2Dim);
}

void TFormFeldor::MI4nec2openClick(rtl::TObject*) {
    ImportFiles("4nec2 Nahfeld-Ausgabedatei laden", Dir4nec2,
                "Alle Dateien (*.*)|*.*|Kommagetrennete Datei (*.csv)|*.csv", "csv", true,
                &TFormFeldor::LadenFeld2Dim4nec2);
}

void TFormFeldor::MIMMANAOpenClick(rtl::TObject*) {
    ImportFiles("MMANA Nahfeld-Ausgabedatei laden", MMANADir,
                "Alle Dateien (*.*)|*.*|TextDateien (*.txt)|*.txt", "txt", true,
                &TFormFeldor::LadenFeld2DimMMAna);
}

void TFormFeldor::MINecWinOpenClick(rtl::TObject*) {
    ImportFiles("NecWin Pro Nahfeld-Ausgabedatei laden", NECWinProDir,
                "Alle Dateien (*.*)|*.*|Nec-Win - Ausgabedatei (*.nou)|*.nou", "txt", false,
                &TFormFeldor::LadenFeld2DimNecWin);
}
