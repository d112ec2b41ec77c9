// Main window: construction, start-up, settings file, timer and window commands.
#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "foundation/ColorLib.h"
#include "foundation/DebugLib.h"
#include "foundation/EditAlign.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/LocaleStore.h"
#include "tools/FormLib.h"
#include "tools/SysLib.h"
#include "tools/SplashLib.h"
#include "viewer/FeldorU.h"
#include "viewer/MessExport.h"
#include "viewer/ProgInfo.h"

using namespace FeldorU;

TFormProgInfo* FormProgInfo = nullptr;
TFormMessExport* FormMessExport = nullptr;

namespace {

constexpr const char* kNotice = "Feldstärken im Nahfeld von Amateurfunkantennen";
std::unique_ptr<TColorList> ColorList;

// The smallest script window that still shows its caption and a line of its memo.
constexpr int kMinSkriptWidth = 120;
constexpr int kMinSkriptHeight = 80;

// A window size from the settings file, kept between the minimum and the screen's work area
// (no upper bound when no screen is known).
int ClampedSize(int value, int minimum, int workArea) {
    if (workArea > 0) value = std::min(value, workArea);
    return std::max(minimum, value);
}

// Whether the settings file gave the measured-values / script window a place of its own.
bool MessPlaceStored = false;
bool SkriptPlaceStored = false;

// Whether the entry holds an integer (another text reads as the default).
bool HoldsInteger(const rtl::TIniFile& ini, const char* key) {
    return ini.ReadInteger("Fensterpositionen", key, 0) ==
           ini.ReadInteger("Fensterpositionen", key, 1);
}

// The measured-values and script windows stay above the main window, so they go beside its
// menu bar and left-hand controls: to the right of it where the work area has room, else over
// the lower right of the map. A place from the settings file is kept while the window lies
// wholly on the screens, and, where the main window had to be moved onto them (mainMoved), while
// it also leaves the main window's controls free; any other is placed anew there, clear of a
// window kept. A script window too large to lie anywhere beside the controls is cut down to the
// room right of and below the map's top left corner and placed anew.
void PlaceWindowsBesideControls(TFormFeldor* main, bool mainMoved) {
    const gui::TFrameExtents e = main->FrameExtents();
    const gdi::TRect frame = gdi::Bounds(main->Left(), main->Top(), main->Width(), main->Height());
    const int menuHeight = main->Height() - main->ClientHeight() - e.Top - e.Bottom;
    const gui::TPanel* panel = main->PanelFeld;
    const gdi::TRect map = gdi::Bounds(frame.Left + e.Left + panel->Left(),
                                       frame.Top + e.Top + menuHeight + panel->Top(),
                                       panel->Width(), panel->Height());
    const gdi::TRect work = main->WorkArea();
    const std::vector<gdi::TRect> screens = gui::WorkAreas();
    auto place = [&](const std::vector<gdi::TSize>& sizes) {
        return gui::PlaceBeside(work, frame, map, sizes);
    };
    auto clearOfControls = [&](const gdi::TRect& r) {
        const bool meets = r.Left < frame.Right && frame.Left < r.Right && r.Top < frame.Bottom &&
                           frame.Top < r.Bottom;
        return !meets || (r.Left >= map.Left && r.Top >= map.Top);
    };

    gdi::TSize skript{SkriptWidth, SkriptHeight};
    bool cut = false;
    if (!work.IsEmpty() && !clearOfControls(place({skript})[0])) {
        skript.cx =
            std::clamp(work.Right - std::max(map.Left, work.Left), kMinSkriptWidth, skript.cx);
        skript.cy =
            std::clamp(work.Bottom - std::max(map.Top, work.Top), kMinSkriptHeight, skript.cy);
        cut = true;
    }
    FormProgInfo->SetBounds(SkriptLeft, SkriptTop, skript.cx, skript.cy);
    FormMessExport->SetBounds(MessLeft, MessTop, FormMessExport->Width(), FormMessExport->Height());

    // The measured-values window keeps its client size, so it takes the frame it will get.
    const gui::TFrameExtents me =
        gui::TCustomForm::EstimatedFrameExtents(FormMessExport->BorderStyle());
    auto frameOf = [&me](gui::TCustomForm* f) {
        if (f == FormMessExport)
            return gdi::Bounds(f->Left(), f->Top(), f->ClientWidth() + me.Left + me.Right,
                               f->ClientHeight() + me.Top + me.Bottom);
        return gdi::Bounds(f->Left(), f->Top(), f->Width(), f->Height());
    };
    std::vector<gui::TCustomForm*> toPlace;
    std::vector<gdi::TRect> kept;
    auto decide = [&](gui::TCustomForm* f, bool stored) {
        const gdi::TRect b = frameOf(f);
        if (stored && gui::WindowOnScreen(b, screens) && (!mainMoved || clearOfControls(b)))
            kept.push_back(b);
        else toPlace.push_back(f);
    };
    decide(FormMessExport, MessPlaceStored);
    decide(FormProgInfo, SkriptPlaceStored && !cut);
    if (toPlace.empty() || work.IsEmpty()) return;
    std::vector<gdi::TSize> sizes;
    for (gui::TCustomForm* f : toPlace) {
        const gdi::TRect b = frameOf(f);
        sizes.push_back({b.Width(), b.Height()});
    }
    const std::vector<gdi::TRect> places = gui::PlaceBeside(work, frame, map, sizes, kept);
    for (std::size_t i = 0; i < toPlace.size(); ++i) {
        gui::TCustomForm* f = toPlace[i];
        f->SetBounds(places[i].Left, places[i].Top, f->Width(), f->Height());
    }
}

// The program's own number conversion with decimal comma and '.' as thousands separator,
// whatever the user's locale store says; the store is left as it is.
void UseGermanNumberFormatInProgram() {
    rtl::TFormatSettings& fs = rtl::FormatSettings();
    fs.DecimalSeparator = ',';
    fs.ThousandSeparator = '.';
}

using Handler = void (TFormFeldor::*)(rtl::TObject*);

gui::TMenuItem* AddItem(TFormFeldor* form, gui::TMenuItem* parent, const std::string& caption,
                        Handler handler = nullptr, const char* shortCut = nullptr) {
    auto* item = new gui::TMenuItem(form);
    item->SetCaption(caption);
    if (shortCut) item->SetShortCut(gui::TextToShortCut(shortCut));
    if (handler) item->OnClick = [form, handler](rtl::TObject* s) { (form->*handler)(s); };
    parent->Add(item);
    return item;
}

void AddLine(TFormFeldor* form, gui::TMenuItem* parent) { AddItem(form, parent, "-"); }

template <class T>
T* Place(T* control, gui::TWinControl* parent, int left, int top, int width, int height) {
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

gui::TLabel* MakeLabel(TFormFeldor* form, gui::TWinControl* parent, const std::string& caption,
                       int left, int top) {
    auto* l = new gui::TLabel(form);
    l->SetCaption(caption);
    l->SetParent(parent);
    l->SetLeft(left);
    l->SetTop(top);
    return l;
}

gui::TButton* MakeButton(TFormFeldor* form, gui::TWinControl* parent, const std::string& caption,
                         int left, int top, int width, int height, Handler handler) {
    auto* b = Place(new gui::TButton(form), parent, left, top, width, height);
    b->SetCaption(caption);
    b->OnClick = [form, handler](rtl::TObject* s) { (form->*handler)(s); };
    return b;
}

gui::TGroupBox* MakeGroup(TFormFeldor* form, const std::string& caption, int left, int top,
                          int width, int height) {
    auto* g = Place(new gui::TGroupBox(form), form, left, top, width, height);
    g->SetCaption(caption);
    return g;
}

gui::TRadioGroup* MakeRadioGroup(TFormFeldor* form, gui::TWinControl* parent,
                                 const std::string& caption,
                                 std::initializer_list<const char*> items, int columns,
                                 int left, int top, int width, int height) {
    auto* rg = Place(new gui::TRadioGroup(form), parent, left, top, width, height);
    rg->SetCaption(caption);
    for (const char* item : items) rg->Items()->Add(item);
    rg->SetColumns(columns);
    return rg;
}

TEditAlign* MakeEdit(TFormFeldor* form, gui::TWinControl* parent, int left, int top, int width,
                     int height) {
    auto* e = Place(new TEditAlign(form), parent, left, top, width, height);
    e->SetReadOnly(true);
    e->SetColor(gdi::clBtnFace);
    e->SetAlignment(gui::taRightJustify);
    return e;
}

gui::TImage* MakeImage(TFormFeldor* form, gui::TWinControl* parent, int left, int top,
                       int width, int height) {
    auto* img = Place(new gui::TImage(form), parent, left, top, width, height);
    img->Picture()->Bitmap()->SetSize(width, height);
    return img;
}

}  // namespace

TFormFeldor::TFormFeldor(rtl::TComponent* owner) : gui::TForm(owner) {
    FormFeldor = this;
    SetName("FormFeldor");
    SetBorderStyle(gui::bsSingle);
    SetBorderIcons(gui::biSystemMenu | gui::biMinimize);
    SetBounds(10, 10, 822, 636);
    BuildMenu();
    BuildControls();
    Timer = new gui::TTimer(this);
    Timer->SetEnabled(false);
    Timer->OnTimer = [this](rtl::TObject* s) { TimerTimer(s); };
    OnCreate = [this](rtl::TObject* s) { FormCreate(s); };
    OnClose = [this](rtl::TObject* s, gui::TCloseAction& a) { FormClose(s, a); };
    OnMouseMove = [this](rtl::TObject* s, gui::TShiftState sh, int x, int y) {
        FormMouseMove(s, sh, x, y);
    };
}

TFormFeldor::~TFormFeldor() {
    if (FormFeldor == this) FormFeldor = nullptr;
}

void TFormFeldor::BuildMenu() {
    MainMenu = new gui::TMainMenu(this);
    gui::TMenuItem* root = MainMenu->Items();
    auto* self = this;

    MIDatei = AddItem(self, root, "&Datei");
    MIOeffnen = AddItem(self, MIDatei, "&Öffnen", &TFormFeldor::MIOeffnenClick, "Ctrl+L");
    MISave = AddItem(self, MIDatei, "&Speichern", &TFormFeldor::MISaveClick, "Ctrl+S");
    MISaveAs = AddItem(self, MIDatei, "Speichern &unter ..", &TFormFeldor::MISaveAsClick);
    AddLine(self, MIDatei);
    MIClearAll = AddItem(self, MIDatei, "&Alles löschen", &TFormFeldor::MIClearAllClick);
    AddLine(self, MIDatei);
    MIEZNECOpen = AddItem(self, MIDatei, "&EZNEC Öffnen", &TFormFeldor::MIEZNECOpenClick, "Ctrl+E");
    MINecWinOpen = AddItem(self, MIDatei, "&NEC-Win Pro Öffnen", &TFormFeldor::MINecWinOpenClick);
    MI4nec2open = AddItem(self, MIDatei, "&4nec2 Öffnen", &TFormFeldor::MI4nec2openClick);
    MIMMANAOpen = AddItem(self, MIDatei, "MMANA Öffnen", &TFormFeldor::MIMMANAOpenClick);
    AddLine(self, MIDatei);
    MINachladen = AddItem(self, MIDatei, "Geometrie Nachladen", &TFormFeldor::MINachladenClick);
    MIImpedanzfeldnachbilden = AddItem(self, MIDatei, "Impedanzfeld nachbilden",
                                       &TFormFeldor::MIImpedanzfeldnachbildenClick);
    AddLine(self, MIDatei);
    MISavePicture = AddItem(self, MIDatei, "&Grafik speichern", &TFormFeldor::MISavePictureClick,
                            "Ctrl+G");
    MIClipPicture = AddItem(self, MIDatei, "Grafik in &Zwischenablage",
                            &TFormFeldor::MIClipPictureClick, "Ctrl+Z");
    MIEinzelbilderSpeichern = AddItem(self, MIDatei, "Einzelbilder speichern",
                                      &TFormFeldor::MIEinzelbilderSpeichernClick);
    AddLine(self, MIDatei);
    MIBeenden = AddItem(self, MIDatei, "&Beenden", &TFormFeldor::MIBeendenClick, "Ctrl+X");

    MIInfo = AddItem(self, root, "&Info");
    MIHilfe = AddItem(self, MIInfo, "&Hilfe", &TFormFeldor::MIHilfeClick);
    MICopyRight = AddItem(self, MIInfo, "&CopyRight", &TFormFeldor::MICopyRightClick);
    AddLine(self, MIInfo);
    MISkriptfenster = AddItem(self, MIInfo, "Skriptfenster", &TFormFeldor::MISkriptfensterClick);
    MIMesswertfenster =
        AddItem(self, MIInfo, "Messwertfenster", &TFormFeldor::MIMesswertfensterClick);
    AddLine(self, MIInfo);
    MIURLs = AddItem(self, MIInfo, "&URLs");
    MIRAVK = AddItem(self, MIURLs, "&RAVK", &TFormFeldor::MIRAVKClick);
    MIEZNEC = AddItem(self, MIURLs, "EZNEC", &TFormFeldor::MIEZNECClick);
    MINECWinPro = AddItem(self, MIURLs, "NECWin Pro", &TFormFeldor::MINECWinProClick);
    MI4Nec2 = AddItem(self, MIURLs, "4Nec2", &TFormFeldor::MI4Nec2Click);
    MIMMANA = AddItem(self, MIURLs, "MMANA", &TFormFeldor::MIMMANAClick);
    AddLine(self, MIInfo);
    MIDebugMode = AddItem(self, MIInfo, "DebugMode", &TFormFeldor::MIDebugModeClick);
    MIDebugMode->SetChecked(true);

    MIDarstellung = AddItem(self, root, "&Darstellung");
    MISchnittDefinition =
        AddItem(self, MIDarstellung, "&Schnitt festlegen", &TFormFeldor::MISchnittDefinitionClick);
    AddLine(self, MIDarstellung);
    MIVertical = AddItem(self, MIDarstellung, "&Vertikalschnitt zeigen", &TFormFeldor::MIVerticalClick);
    AddLine(self, MIDarstellung);
    MIOvrLayColor =
        AddItem(self, MIDarstellung, "&OverLay Farbzuordnung", &TFormFeldor::MIOvrLayColorClick);

    MITools = AddItem(self, root, "&Tools");
    MIFakeEZNEC = AddItem(self, MITools, "Erzeuge &Fake-EZNEC Files", &TFormFeldor::MIFakeEZNECClick);
    MIFakeEZNEC->SetVisible(false);
    MIDezimaltrennzeichen = AddItem(self, MITools, "Dezimaltrennzeichen",
                                    &TFormFeldor::MIDezimaltrennzeichenClick);
    MISysInfo = AddItem(self, MITools, "SysInfo", &TFormFeldor::MISysInfoClick);
    AddLine(self, MITools);
    MIZweidrahtleitung =
        AddItem(self, MITools, "Zweidrahtleitung", &TFormFeldor::MIZweidrahtleitungClick);
    MISchwingkreis = AddItem(self, MITools, "Schwingkreis", &TFormFeldor::MISchwingkreisClick);
    MIBEMFVGrenzwerte =
        AddItem(self, MITools, "BEMFV Grenzwerte", &TFormFeldor::MIBEMFVGrenzwerteClick);
    MIKoaxRechner = AddItem(self, MITools, "Koax-Rechner", &TFormFeldor::MIKoaxRechnerClick);

    MITest = AddItem(self, root, "&Test");
    MITest->SetVisible(false);
    MITestForms = AddItem(self, MITest, "TestForms", &TFormFeldor::MITestFormsClick);
    MITestRoutines = AddItem(self, MITest, "TestRoutines", &TFormFeldor::MITestRoutinesClick);
    MITestDialogs = AddItem(self, MITest, "TestDialogs", &TFormFeldor::MITestDialogsClick);

    SetMenu(MainMenu);
}

// The left column fits the client area that the 822 x 636 window leaves below a title bar and
// the menu bar (about 585 pixels).
void TFormFeldor::BuildControls() {
    auto* self = this;
    auto mouseMove = [this](rtl::TObject* s, gui::TShiftState sh, int x, int y) {
        FormMouseMove(s, sh, x, y);
    };

    // Geometry read-out and plane choice.
    GBGeometrie = MakeGroup(self, "Geometrie", 4, 0, 222, 112);
    LAxRange = MakeLabel(self, GBGeometrie, "x-Intervall", 8, 15);
    LAxRange->OnMouseMove = mouseMove;
    LAyRange = MakeLabel(self, GBGeometrie, "y-Intervall", 8, 29);
    LAcoords = MakeLabel(self, GBGeometrie, "Koordinaten", 8, 43);
    LAField = MakeLabel(self, GBGeometrie, "Feldstärke", 8, 57);
    LATest = MakeLabel(self, GBGeometrie, "", 8, 71);
    CBPlanes = Place(new gui::TComboBox(self), GBGeometrie, 8, 86, 120, 22);
    CBPlanes->SetText("-keine-");
    CBPlanes->OnChange = [this](rtl::TObject* s) { CBPlaneshange(s); };
    CBPlanes->OnKeyDown = [this](rtl::TObject* s, unsigned short& k, gui::TShiftState sh) {
        CBPlanesKeyDown(s, k, sh);
    };
    CBPlanes->OnExit = [this](rtl::TObject* s) { CBPlanesExit(s); };
    ButToggleMinus = MakeButton(self, GBGeometrie, "-", 134, 86, 36, 22,
                                &TFormFeldor::ButToggleMinusClick);
    ButTooglePlus = MakeButton(self, GBGeometrie, "+", 176, 86, 36, 22,
                               &TFormFeldor::ButTooglePlusClick);

    RGKomponente = MakeRadioGroup(self, self, "Feld-Komponente", {"Max.", "X", "Y", "Z"}, 4, 4,
                                  114, 222, 40);
    RGKomponente->SetItemIndex(0);
    RGKomponente->OnClick = [this](rtl::TObject* s) { UpdatePicture(s); };
    RGFeldTyp = MakeRadioGroup(self, self, "FeldTyp", {"E-Feld", "H-Feld", "Z=E/H"}, 3, 4, 156,
                               222, 40);
    RGFeldTyp->SetItemIndex(0);
    RGFeldTyp->OnClick = [this](rtl::TObject* s) { UpdateFeldChange(s); };

    // Overlay.
    GBOverLay = MakeGroup(self, "OverLay", 4, 198, 222, 42);
    laBoden = MakeLabel(self, GBOverLay, "Boden", 8, 19);
    laAntenne = MakeLabel(self, GBOverLay, "Antenne", 48, 19);
    ButZeigen = MakeButton(self, GBOverLay, "Zeigen", 100, 14, 52, 22, &TFormFeldor::ButZeigenClick);
    ButZeigen->OnMouseMove = mouseMove;
    ButHideOvl =
        MakeButton(self, GBOverLay, "Verbergen", 154, 14, 62, 22, &TFormFeldor::ButHideOvlClick);
    ButHideOvl->OnMouseMove = mouseMove;

    // Display power.
    GBLeistung = MakeGroup(self, "Leistung", 4, 242, 222, 88);
    LAPWRin = MakeLabel(self, GBLeistung, "File", 8, 18);
    EditPWRin = MakeEdit(self, GBLeistung, 40, 14, 64, 22);
    LAPWRShow = MakeLabel(self, GBLeistung, "Darst.", 112, 18);
    EditPWRShow = MakeEdit(self, GBLeistung, 150, 14, 64, 22);
    EditPWRShow->SetExitOnEnterKey(true);
    EditPWRShow->OnDblClick = [this](rtl::TObject* s) { EditPWRShowDblClick(s); };
    EditPWRShow->OnExit = [this](rtl::TObject* s) { EditPWRShowExit(s); };
    SBPowerShow = Place(new gui::TScrollBar(self), GBLeistung, 8, 40, 206, 17);
    SBPowerShow->SetMin(1);
    SBPowerShow->SetMax(1000);
    SBPowerShow->SetPosition(200);
    SBPowerShow->SetLargeChange(10);
    SBPowerShow->OnChange = [this](rtl::TObject* s) { SBPowerShowChange(s); };
    But10 = MakeButton(self, GBLeistung, "10 W", 8, 61, 64, 22, &TFormFeldor::But10Click);
    But100 = MakeButton(self, GBLeistung, "100 W", 79, 61, 64, 22, &TFormFeldor::But100Click);
    But750 = MakeButton(self, GBLeistung, "750 W", 150, 61, 64, 22, &TFormFeldor::But750Click);

    // Limits.
    GBGrenzwerte = MakeGroup(self, "Grenzwerte", 4, 332, 222, 66);
    GBGrenzwerte->OnMouseMove = mouseMove;
    LABand = MakeLabel(self, GBGrenzwerte, "Band", 8, 18);
    CBBand = Place(new gui::TComboBox(self), GBGrenzwerte, 44, 14, 62, 22);
    for (const char* b : {"LW", "160m", "80m", "40m", "30m", "20m", "17m", "15m", "12m", "10m",
                          "6m", "2m", "70cm", "23cm", "13cm", "9cm", "6cm", "3cm"})
        CBBand->Items()->Add(b);
    CBBand->SetItemIndex(2);
    CBBand->OnChange = [this](rtl::TObject* s) { CBBandChange(s); };
    LAMode = MakeLabel(self, GBGrenzwerte, "Mode", 112, 18);
    CBMode = Place(new gui::TComboBox(self), GBGrenzwerte, 150, 14, 64, 22);
    for (const char* m : {"CW", "SSB", "AM", "FM", "TV", "GSM", "DTX", "Alle"})
        CBMode->Items()->Add(m);
    CBMode->SetItemIndex(1);
    CBMode->OnChange = [this](rtl::TObject* s) { CBBandChange(s); };
    LAPS = MakeLabel(self, GBGrenzwerte, "PS", 8, 43);
    EditPS = MakeEdit(self, GBGrenzwerte, 60, 39, 46, 22);
    LAHSM = MakeLabel(self, GBGrenzwerte, "HSM", 112, 43);
    EditHsm = MakeEdit(self, GBGrenzwerte, 172, 39, 44, 22);

    // Colour scale and reference.
    GBSkala = MakeGroup(self, "Feldstärke-Skala", 4, 400, 222, 185);
    GBSkala->OnMouseMove = mouseMove;
    ColorScaleImage = MakeImage(self, GBSkala, 8, 14, 57, 169);
    ColorScaleImage->OnMouseDown = [this](rtl::TObject* s, gui::TMouseButton b,
                                          gui::TShiftState sh, int x, int y) {
        ColorScaleImageMouseDown(s, b, sh, x, y);
    };
    RGBezug = MakeRadioGroup(self, GBSkala, "Bezug",
                             {"max. Feldstärke", "Grenzwert PS", "Grenzwert HSM", "1 V/m", "3 V/m",
                              "5 V/m", "10 V/m", "25 V/m", "50 V/m", "100 V/m"},
                             1, 70, 8, 146, 176);
    RGBezug->SetItemIndex(1);
    RGBezug->OnClick = [this](rtl::TObject* s) { RGBezugClick(s); };

    // The map: colour map, overlay and marks stacked at the same place.
    PanelFeld = Place(new gui::TPanel(self), self, 230, 0, 585, 585);
    PanelFeld->SetColor(gdi::clGray);
    PanelFeld->SetCaption("");
    ImageFeld = MakeImage(self, PanelFeld, 8, 8, 569, 569);
    ImageOvl = MakeImage(self, PanelFeld, 8, 8, 569, 569);
    ImageOvl->SetTransparent(true);
    ImagePlay = MakeImage(self, PanelFeld, 8, 8, 569, 569);
    ImagePlay->SetTransparent(true);
    for (gui::TImage* img : {ImageFeld, ImageOvl, ImagePlay}) {
        img->OnMouseMove = [this](rtl::TObject* s, gui::TShiftState sh, int x, int y) {
            ImageFeldMouseMove(s, sh, x, y);
        };
        img->OnMouseDown = [this](rtl::TObject* s, gui::TMouseButton b, gui::TShiftState sh,
                                  int x, int y) { ImageOvlMouseDown(s, b, sh, x, y); };
    }

    OpenDialog = new gui::TOpenDialog(self);
    OpenDialog->Title = "EZNEC Nahfeld-Ausgabedatei laden";
    OpenDialog->Filter = "EZNEC - NF Ausgabedatei (*.txt)|*.txt|Alle Dateien (*.*)|*.*";
    OpenDialog->DefaultExt = "*.txt";
    SaveDialog = new gui::TSaveDialog(self);
    SavePictureDialog = new gui::TSaveDialog(self);
}

std::string TFormFeldor::SettingsFileName() const { return ProgDir + ProgTitle + ".ini"; }

void TFormFeldor::FormCreate(rtl::TObject*) {
    ProgTitle = gui::Application->Title();
    ProgVersion = "v 1.1.4";
    ProgNotice = kNotice;
    ProgDir = rtl::IncludeTrailingPathDelimiter(
        ProgDirOverride.empty() ? rtl::ExtractFilePath(gui::Application->ExeName()) : ProgDirOverride);
    CurrentPlane = std::make_unique<TSkalarFeld2>();
    ColorOrigin = 0x0054A6;
    ColorBoden = 0x31637B;
    ColorMessPkt = 0x00DEFF;
    SetCaption(ProgTitle + "  " + ProgVersion + "  " + ProgNotice);
    ColorList = std::make_unique<TColorList>();
    ColorList->SetDefaults();

    ReadSettings();

    auto* splash = gui::CreateForm<TFormSplash>(this);
    splash->TitleText = ProgTitle;
    splash->ShowLogo = true;
    splash->ShowLoadLine = true;
    splash->ShowBottomLine = true;
    splash->DisplayTime = 2500;
    splash->FontSize = 120;
    splash->WidthFactor = 1.1;
    splash->Borderless = true;
    splash->execute();

    if (!IsGermanNumberFormat()) {
        if (AskYesNo("Feldor: Trennzeichen",
                     "Ihr Computer ist nicht auf normgerechte Trennzeichen eingestellt.\r\n"
                     "Sollen die Einstellungen korrigiert werden?")) {
            if (SetGermanNumberFormat()) {
                msgInfo("Die Anwendung wird nach der Umschaltung geschlossen. \r\n"
                        "Starten Sie dann bitte neu!");
                gui::Application->Terminate();
                return;
            }
            msgError(rtl::Format("Die Trennzeichen konnten im Ordner\r\n%s\r\nnicht gespeichert "
                                 "werden.\r\nFeldor rechnet in dieser Sitzung mit Dezimalkomma "
                                 "und fragt beim nächsten Start wieder.",
                                 sys::LocaleStoreDirectory()));
        }
        // The locale stays as the user has it; the next start asks again.
        UseGermanNumberFormatInProgram();
    }
}

// The directories, window places and window choices of the settings file.
void TFormFeldor::ReadSettings() {
    rtl::TIniFile ini(SettingsFileName());
    // A file that cannot be read (no permission, no regular file, far too large) is said once;
    // the defaults hold and the file is not written over at close.
    SettingsUnreadable = false;
    try {
        ini.CheckReadable();
    } catch (const rtl::Exception& e) {
        SettingsUnreadable = true;
        msgError(e.Message + ".\r\nFeldor beginnt mit den Grundeinstellungen und überschreibt die "
                             "Datei beim Beenden nicht.");
    }
    EZNECDir = ini.ReadString("Verzeichnisse", "EZNECDir", ProgDir);
    MMANADir = ini.ReadString("Verzeichnisse", "MMANADir", ProgDir);
    Dir4nec2 = ini.ReadString("Verzeichnisse", "4nec2Dir", ProgDir);
    NECWinProDir = ini.ReadString("Verzeichnisse", "NECWinProDir", ProgDir);
    FeldorDir = ini.ReadString("Verzeichnisse", "FeldorDir", ProgDir);
    SetTop(ini.ReadInteger("Fensterpositionen", "Top", 10));
    SetLeft(ini.ReadInteger("Fensterpositionen", "Left", 10));
    MessTop = ini.ReadInteger("Fensterpositionen", "MessTop", 20);
    MessLeft = ini.ReadInteger("Fensterpositionen", "MessLeft", 20);
    MessPlaceStored = HoldsInteger(ini, "MessTop") || HoldsInteger(ini, "MessLeft");
    SkriptTop = ini.ReadInteger("Fensterpositionen", "SkriptTop", 30);
    SkriptLeft = ini.ReadInteger("Fensterpositionen", "SkriptLeft", 30);
    SkriptPlaceStored = HoldsInteger(ini, "SkriptTop") || HoldsInteger(ini, "SkriptLeft");
    const gdi::TRect work = gui::Screen()->WorkAreaRect();
    SkriptHeight = ClampedSize(ini.ReadInteger("Fensterpositionen", "SkriptHeight", 300),
                               kMinSkriptHeight, work.Height());
    SkriptWidth = ClampedSize(ini.ReadInteger("Fensterpositionen", "SkriptWidth", 300),
                              kMinSkriptWidth, work.Width());
    SkriptVisible = ini.ReadBool("Fenster", "Skript", true);
    MesswertVisible = ini.ReadBool("Fenster", "Messwert", true);
}

void TFormFeldor::afterAllCreated() {
    // The separator correction ends the program before anything is shown or loaded.
    if (gui::Application && gui::Application->Terminated()) return;
    // Both belong to the main window, so that they stay in sight above it; the main window is
    // on the screen first, so that the window manager knows what they belong to and its frame
    // is known when they are placed beside its controls.
    const int storedLeft = Left(), storedTop = Top();
    Show();
    PaintNow();
    FormProgInfo->SetPopupParent(this);
    FormMessExport->SetPopupParent(this);
    PlaceWindowsBesideControls(this, Left() != storedLeft || Top() != storedTop);
    FormProgInfo->SetVisible(SkriptVisible);
    FormMessExport->SetVisible(MesswertVisible);
    Timer->SetInterval(1000);
    Timer->SetEnabled(true);
    InitApplication();
    CBBandChange(nullptr);
    FormMessExport->clear(nullptr);
    FormMessExport->UpdateGrid(nullptr);
    ArrowPos = 0.8;
    DrawArrowInColorScale();
    if (rtl::ParamCount() >= 1) LoadFDRDatei(rtl::ParamStr(1));
}

void TFormFeldor::FormClose(rtl::TObject*, gui::TCloseAction&) {
    // Nothing that goes wrong while the settings are written (read-only folder, full disk, no
    // memory ...) keeps the program from ending: the failure is shown once in the error box,
    // which lets nothing escape, and the settings are not stored.
    try {
        WriteSettings();
    } catch (...) {
        try {
            try {
                throw;
            } catch (const std::bad_alloc&) {
                throw rtl::EOutOfMemory(rtl::msg::OutOfMemory);
            }
        } catch (...) {
            gui::HandleCurrentException(this);
        }
    }
}

void TFormFeldor::WriteSettings() {
    if (SettingsUnreadable) return;
    rtl::TIniFile ini(SettingsFileName());
    ini.WriteString("Verzeichnisse", "EZNECDir", EZNECDir);
    ini.WriteString("Verzeichnisse", "MMANADir", MMANADir);
    ini.WriteString("Verzeichnisse", "4nec2Dir", Dir4nec2);
    ini.WriteString("Verzeichnisse", "NECWinProDir", NECWinProDir);
    ini.WriteString("Verzeichnisse", "FeldorDir", FeldorDir);
    ini.WriteInteger("Fensterpositionen", "Top", Top());
    ini.WriteInteger("Fensterpositionen", "Left", Left());
    ini.WriteInteger("Fensterpositionen", "MessTop", FormMessExport->Top());
    ini.WriteInteger("Fensterpositionen", "MessLeft", FormMessExport->Left());
    ini.WriteInteger("Fensterpositionen", "SkriptTop", FormProgInfo->Top());
    ini.WriteInteger("Fensterpositionen", "SkriptLeft", FormProgInfo->Left());
    ini.WriteInteger("Fensterpositionen", "SkriptWidth", FormProgInfo->Width());
    ini.WriteInteger("Fensterpositionen", "SkriptHeight", FormProgInfo->Height());
    ini.WriteBool("Fenster", "Skript", SkriptVisible);
    ini.WriteBool("Fenster", "Messwert", MesswertVisible);
}

void TFormFeldor::TimerTimer(rtl::TObject*) {
    SkriptVisible = FormProgInfo->Visible();
    MISkriptfenster->SetChecked(SkriptVisible);
    MesswertVisible = FormMessExport->Visible();
    MIMesswertfenster->SetChecked(MesswertVisible);
}

void TFormFeldor::MISkriptfensterClick(rtl::TObject*) {
    SkriptVisible = !SkriptVisible;
    MISkriptfenster->SetChecked(SkriptVisible);
    FormProgInfo->SetVisible(SkriptVisible);
}

void TFormFeldor::MIMesswertfensterClick(rtl::TObject*) {
    MesswertVisible = !MesswertVisible;
    MIMesswertfenster->SetChecked(MesswertVisible);
    FormMessExport->SetVisible(MesswertVisible);
}

void TFormFeldor::MIDebugModeClick(rtl::TObject*) {
    MIDebugMode->SetChecked(!MIDebugMode->Checked());
    DebugMode = MIDebugMode->Checked();
}

void TFormFeldor::MIBeendenClick(rtl::TObject*) { Close(); }
