// The main window of the viewer: menus, the plane, field and limit controls on the left, the
// map with its overlay and marks on the right. Its operations work on the data model of
// FeldorVars.h. The implementation is split by topic: FeldorMain.cpp (start-up, settings,
// window commands), FeldorPlanes.cpp (point set and planes), FeldorImport.cpp (imports and
// reset), FeldorGeometry.cpp (antenna and ground files), FeldorMap.cpp (colour map),
// FeldorLimits.cpp (limits, reference, colour scale, display power), FeldorFile.cpp (field
// file), FeldorImpedance.cpp, FeldorOverlay.cpp, FeldorMouse.cpp (read-out and measuring
// points), FeldorCut.cpp (cut line), FeldorPicture.cpp (picture export), FeldorTools.cpp
// (info menu and tool launchers).
#pragma once

#include <memory>
#include <string>

#include "platform/gui/Controls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "viewer/FeldorVars.h"

class TEditAlign;
class TFormProgInfo;
class TFormMessExport;

class TFormFeldor : public gui::TForm {
public:
    explicit TFormFeldor(rtl::TComponent* owner);
    ~TFormFeldor() override;

    // ---- Menu -------------------------------------------------------------------------------
    gui::TMainMenu* MainMenu = nullptr;
    gui::TMenuItem *MIDatei = nullptr, *MIOeffnen = nullptr, *MISave = nullptr,
                   *MISaveAs = nullptr, *MIClearAll = nullptr, *MIEZNECOpen = nullptr,
                   *MINecWinOpen = nullptr, *MI4nec2open = nullptr, *MIMMANAOpen = nullptr,
                   *MINachladen = nullptr, *MIImpedanzfeldnachbilden = nullptr,
                   *MISavePicture = nullptr, *MIClipPicture = nullptr,
                   *MIEinzelbilderSpeichern = nullptr, *MIBeenden = nullptr;
    gui::TMenuItem *MIInfo = nullptr, *MIHilfe = nullptr, *MICopyRight = nullptr,
                   *MISkriptfenster = nullptr, *MIMesswertfenster = nullptr, *MIURLs = nullptr,
                   *MIRAVK = nullptr, *MIEZNEC = nullptr, *MINECWinPro = nullptr,
                   *MI4Nec2 = nullptr, *MIMMANA = nullptr, *MIDebugMode = nullptr;
    gui::TMenuItem *MIDarstellung = nullptr, *MISchnittDefinition = nullptr,
                   *MIVertical = nullptr, *MIOvrLayColor = nullptr;
    gui::TMenuItem *MITools = nullptr, *MIFakeEZNEC = nullptr, *MIDezimaltrennzeichen = nullptr,
                   *MISysInfo = nullptr, *MIZweidrahtleitung = nullptr, *MISchwingkreis = nullptr,
                   *MIBEMFVGrenzwerte = nullptr, *MIKoaxRechner = nullptr;
    gui::TMenuItem *MITest = nullptr, *MITestForms = nullptr, *MITestRoutines = nullptr,
                   *MITestDialogs = nullptr;

    // ---- Controls ---------------------------------------------------------------------------
    gui::TGroupBox* GBGeometrie = nullptr;
    gui::TLabel *LAxRange = nullptr, *LAyRange = nullptr, *LAcoords = nullptr,
                *LAField = nullptr, *LATest = nullptr;
    gui::TComboBox* CBPlanes = nullptr;
    gui::TButton *ButTooglePlus = nullptr, *ButToggleMinus = nullptr;
    gui::TRadioGroup* RGKomponente = nullptr;
    gui::TRadioGroup* RGFeldTyp = nullptr;

    gui::TGroupBox* GBOverLay = nullptr;
    gui::TLabel *laBoden = nullptr, *laAntenne = nullptr;
    gui::TButton *ButZeigen = nullptr, *ButHideOvl = nullptr;

    gui::TGroupBox* GBLeistung = nullptr;
    gui::TLabel *LAPWRin = nullptr, *LAPWRShow = nullptr;
    TEditAlign *EditPWRin = nullptr, *EditPWRShow = nullptr;
    gui::TScrollBar* SBPowerShow = nullptr;
    gui::TButton *But10 = nullptr, *But100 = nullptr, *But750 = nullptr;

    gui::TGroupBox* GBGrenzwerte = nullptr;
    gui::TLabel *LABand = nullptr, *LAMode = nullptr, *LAPS = nullptr, *LAHSM = nullptr;
    gui::TComboBox *CBBand = nullptr, *CBMode = nullptr;
    TEditAlign *EditPS = nullptr, *EditHsm = nullptr;

    gui::TGroupBox* GBSkala = nullptr;
    gui::TImage* ColorScaleImage = nullptr;
    gui::TRadioGroup* RGBezug = nullptr;

    gui::TPanel* PanelFeld = nullptr;
    gui::TImage *ImageFeld = nullptr, *ImageOvl = nullptr, *ImagePlay = nullptr;

    gui::TOpenDialog* OpenDialog = nullptr;
    gui::TSaveDialog* SaveDialog = nullptr;
    gui::TSaveDialog* SavePictureDialog = nullptr;
    gui::TTimer* Timer = nullptr;

    // ---- Start-up, settings, window commands ------------------------------------------------
    void FormCreate(rtl::TObject* Sender);
    void ReadSettings();
    void afterAllCreated();
    void FormClose(rtl::TObject* Sender, gui::TCloseAction& Action);
    void TimerTimer(rtl::TObject* Sender);
    void MISkriptfensterClick(rtl::TObject* Sender);
    void MIMesswertfensterClick(rtl::TObject* Sender);
    void MIDebugModeClick(rtl::TObject* Sender);
    void MIBeendenClick(rtl::TObject* Sender);
    // Settings file beside the executable.
    std::string SettingsFileName() const;
    // Writes the settings file from the live windows; raises the file-creation error.
    void WriteSettings();
    // Feldor.ini exists but could not be read at start: it is left as it is at close.
    bool SettingsUnreadable = false;

    // ---- Point set and planes ---------------------------------------------------------------
    std::unique_ptr<TSkalarFeld2> LoadPlane(double Height, int Component);
    void ShowPlane(double Height);
    void afterLoading();
    void whatLoaded();

    // ---- Imports, reset, script window ------------------------------------------------------
    void MIEZNECOpenClick(rtl::TObject* Sender);
    void MINecWinOpenClick(rtl::TObject* Sender);
    void MI4nec2openClick(rtl::TObject* Sender);
    void MIMMANAOpenClick(rtl::TObject* Sender);
    void MIClearAllClick(rtl::TObject* Sender);
    void InitApplication();
    void addInfo(const std::string& Text);
    // The readers: one near-field file into Into, its points, powers and log lines, or without
    // one into the viewer's point set, powers and script window.
    void LadenFeld2Dim(const std::string& FileName, FeldorU::FieldPoints* Into = nullptr);
    void LadenFeld2DimNecWin(const std::string& FileName, FeldorU::FieldPoints* Into = nullptr);
    void LadenFeld2Dim4nec2(const std::string& FileName, FeldorU::FieldPoints* Into = nullptr);
    void LadenFeld2DimMMAna(const std::string& FileName, FeldorU::FieldPoints* Into = nullptr);

    // ---- Antenna and ground geometry --------------------------------------------------------
    void LoadAntenne(const std::string& FileName);
    void LoadBoden(const std::string& FileName);
    void AntBodenNachLaden(const std::string& Dir);
    void MINachladenClick(rtl::TObject* Sender);

    // ---- Field file -------------------------------------------------------------------------
    void SaveFDRDatei(const std::string& FileName);
    void LoadFDRDatei(const std::string& FileName);
    void MIOeffnenClick(rtl::TObject* Sender);
    void MISaveClick(rtl::TObject* Sender);
    void MISaveAsClick(rtl::TObject* Sender);

    // ---- Impedance field --------------------------------------------------------------------
    void constructZPlane();
    // The impedance planes of every E height that has an H height, whatever field type is
    // selected (constructZPlane over those heights); sets HasZPlanes.
    void BuildZPlanes();
    void MIImpedanzfeldnachbildenClick(rtl::TObject* Sender);

    // ---- Colour map -------------------------------------------------------------------------
    void FeldShow2();
    void UpdatePicture(rtl::TObject* Sender);
    void CBPlaneshange(rtl::TObject* Sender);
    // Return and leaving the plane combo: a text that names no plane gives way to the height of
    // the plane shown.
    void CBPlanesKeyDown(rtl::TObject* Sender, unsigned short& Key, gui::TShiftState Shift);
    void CBPlanesExit(rtl::TObject* Sender);
    void ButTooglePlusClick(rtl::TObject* Sender);
    void ButToggleMinusClick(rtl::TObject* Sender);
    void UpdateFeldChange(rtl::TObject* Sender);
    void UpDateFeld(rtl::TObject* Sender);

    // ---- Limits, reference, colour scale, display power -------------------------------------
    void UpdateGrenzwerte(rtl::TObject* Sender);
    void CBBandChange(rtl::TObject* Sender);
    void DrawColorScale();
    void DrawArrowInColorScale();
    void RGBezugClick(rtl::TObject* Sender);
    void ColorScaleImageMouseDown(rtl::TObject* Sender, gui::TMouseButton Button,
                                  gui::TShiftState Shift, int X, int Y);
    void SBPowerShowChange(rtl::TObject* Sender);
    void PowerUpdate();
    void But10Click(rtl::TObject* Sender);
    void But100Click(rtl::TObject* Sender);
    void But750Click(rtl::TObject* Sender);
    void EditPWRShowDblClick(rtl::TObject* Sender);
    void EditPWRShowExit(rtl::TObject* Sender);

    // ---- Overlay ----------------------------------------------------------------------------
    void DrawAnt();
    void ButZeigenClick(rtl::TObject* Sender);
    void ButHideOvlClick(rtl::TObject* Sender);

    // ---- Mouse read-out, measuring points, cut line -----------------------------------------
    void ImageFeldMouseMove(rtl::TObject* Sender, gui::TShiftState Shift, int X, int Y);
    void FormMouseMove(rtl::TObject* Sender, gui::TShiftState Shift, int X, int Y);
    // The read-out of the map as drawn now: the value under the mouse when it is over the map;
    // else a value of a map drawn before is emptied (the design captions stay until the mouse
    // first moves). Every rendering ends with it.
    void ReadOutAtCursor();
    bool ReadOutShown = false;  // the read-out labels hold a value
    void ImageOvlMouseDown(rtl::TObject* Sender, gui::TMouseButton Button,
                           gui::TShiftState Shift, int X, int Y);
    void MessPktUpdate(rtl::TObject* Sender);
    void MISchnittDefinitionClick(rtl::TObject* Sender);
    void MIVerticalClick(rtl::TObject* Sender);
    void paintVerticalCut();
    void DrawLine(const Vektor2& P1, const Vektor2& P2);

    // ---- Picture export ---------------------------------------------------------------------
    void MISavePictureClick(rtl::TObject* Sender);
    void MIClipPictureClick(rtl::TObject* Sender);
    void MIEinzelbilderSpeichernClick(rtl::TObject* Sender);

    // ---- Info menu, links, tools ------------------------------------------------------------
    void MIHilfeClick(rtl::TObject* Sender);
    void MICopyRightClick(rtl::TObject* Sender);
    void MIRAVKClick(rtl::TObject* Sender);
    void MIEZNECClick(rtl::TObject* Sender);
    void MINECWinProClick(rtl::TObject* Sender);
    void MI4Nec2Click(rtl::TObject* Sender);
    void MIMMANAClick(rtl::TObject* Sender);
    void MIOvrLayColorClick(rtl::TObject* Sender);
    void MIFakeEZNECClick(rtl::TObject* Sender);
    void MIDezimaltrennzeichenClick(rtl::TObject* Sender);
    void MISysInfoClick(rtl::TObject* Sender);
    void MIZweidrahtleitungClick(rtl::TObject* Sender);
    void MISchwingkreisClick(rtl::TObject* Sender);
    void MIBEMFVGrenzwerteClick(rtl::TObject* Sender);
    void MIKoaxRechnerClick(rtl::TObject* Sender);
    void MITestFormsClick(rtl::TObject* Sender);
    void MITestRoutinesClick(rtl::TObject* Sender);
    void MITestDialogsClick(rtl::TObject* Sender);

private:
    void BuildMenu();
    void BuildControls();
    using ReaderMethod = void (TFormFeldor::*)(const std::string&, FeldorU::FieldPoints*);
    // The road of one import: the dialog, then (once files are chosen) the readers into a field
    // of their own and the geometry beside them; only when all were read, the reset, the new
    // field in place, planes, picture and impedance planes. A file that cannot be read leaves
    // the field shown as it was. MultiFile: several files, each logged; otherwise the dialog's
    // one file, a missing file reported, impedance planes always built.
    void ImportFiles(const char* Title, std::string& Dir, const char* Filter,
                     const char* DefaultExt, bool MultiFile, ReaderMethod Reader);
};

// The windows created at start-up beside the main window (set by the main block).
extern TFormProgInfo* FormProgInfo;
extern TFormMessExport* FormMessExport;
