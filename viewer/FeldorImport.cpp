// Main window: the reset, the script-window log and the import commands.
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

}  // namespace

void TFormFeldor::addInfo(const std::string& Text) {
    if (FormProgInfo) FormProgInfo->addLine(Text);
}

void TFormFeldor::InitApplication() {
    if (FormProgInfo) FormProgInfo->clear(this);
    ClearFeld2Dim();
    ClearDoubleArray(PlaneList);
    FieldShown = false;
    Power = 1;
    for (gui::TImage* image : {ImageFeld, ImageOvl, ImagePlay}) ClearImage(image);
    Boden = std::make_unique<TAntPoints>();
    Antenne = std::make_unique<TAntPoints>();
    CBPlanes->Items()->Clear();
    CBPlanes->SetText("-keine-");
    laBoden->SetColor(0x7E82FE);
    laAntenne->SetColor(0x7E82FE);
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
}

void TFormFeldor::MIClearAllClick(rtl::TObject*) { InitApplication(); }

// Stand-ins: the import commands are not built yet; their handlers are bound and do nothing.
void TFormFeldor::MIEZNECOpenClick(rtl::TObject*) {}
void TFormFeldor::MINecWinOpenClick(rtl::TObject*) {}
void TFormFeldor::MI4nec2openClick(rtl::TObject*) {}
void TFormFeldor::MIMMANAOpenClick(rtl::TObject*) {}
