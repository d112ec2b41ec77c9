// The vertical section "Feldstärkeverteilung in der Schnittebene": the field in the vertical
// plane through the cut line, sampled from every horizontal plane of the field type on display,
// laid out in a grid of true aspect ratio, interpolated and drawn with the map's colour scale.
#pragma once

#include "foundation/ClassesLib.h"
#include "foundation/TwoDimArray.h"
#include "foundation/cUtils.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

class TFormVertikal : public gui::TForm {
public:
    // Width of the section image at design: the grid has one column more.
    static constexpr int kImageWidth = 569;
    // The section is at most this many times as high as it is wide.
    static constexpr int kMaxAspect = 4;
    // Number of cut points a section is built from.
    static constexpr int kMinCutPoints = 2;
    static constexpr int kMaxCutPoints = 1000;

    // The grid height in cells minus one for a height range ZRange over a cut of length RRange
    // drawn Width cells wide: Round(ZRange / RRange * Width), so that a cell is as high as it is
    // wide. -1 when no section can be formed: a range that is not above 0 or not finite, or a
    // section more than kMaxAspect times as high as wide.
    static int GridHeight(double ZRange, double RRange, int Width);

    explicit TFormVertikal(rtl::TComponent* owner);

    // ---- Components -------------------------------------------------------------------------
    gui::TMainMenu* MainMenu = nullptr;
    gui::TMenuItem *MIDatei = nullptr, *MISavePicture = nullptr, *MIPictureToClipboard = nullptr,
                   *MISchliessen = nullptr;
    gui::TMenuItem *MIInterpolation = nullptr, *MIIntPolOnOff = nullptr,
                   *MIInfoInterpolation = nullptr;
    gui::TPanel* PanelFeld = nullptr;
    gui::TImage* ImageVertFeld = nullptr;
    gui::TGroupBox* GBPosition = nullptr;
    gui::TLabel *LaIntCoords = nullptr, *LaHorInt = nullptr, *LaVertInt = nullptr, *LaX = nullptr,
                *LaY = nullptr, *LaZ = nullptr, *LaField = nullptr, *LACoords = nullptr;
    gui::TGroupBox* GBInfo = nullptr;
    gui::TMemo* Memo = nullptr;
    gui::TSavePictureDialog* SavePictureDialog = nullptr;

    // ---- Samples and grid -------------------------------------------------------------------
    DoubleArray SampleX, SampleY;       // the cut point of each sample (m)
    DoubleArray SampleZ;                // stored height of the sample's plane, with the type offset
    DoubleArray SampleValue;            // value of the plane's sample nearest to the cut point
    DoubleArray GridZ;                  // copy of SampleZ; the grid is laid out from it
    DoubleArray SampleR;                // distance along the cut from the first cut point (m)
    int VertWidth = 0, VertHeight = 0;  // grid size in cells minus one
    double RRange = 0, ZRange = 0;
    Vektor2Array CutPoints;
    bool DebugMode = true;  // trace and timing lines into Memo

    // [column][row], row 0 at the top; -1: no value.
    TwoDimArrayDouble VertGrid;
    double minR = 0, maxR = 0, minZ = 0, maxZ = 0;
    bool Interpolation = true;

    // ---- Operations -------------------------------------------------------------------------
    // Collects the samples behind a wait window, then computes and draws the section.
    void VertAfterStart();
    void process(rtl::TObject* Sender);
    void PicRefresh(rtl::TObject* Sender);
    void ImageCalc(rtl::TObject* Sender);
    void ImageDraw(rtl::TObject* Sender);
    // The read-out for an image position; a position outside the grid raises the range error.
    void updateCoordsInfo(int X, int Y);
    void ImageVertFeldMouseMove(rtl::TObject* Sender, gui::TShiftState Shift, int X, int Y);
    void MISavePictureClick(rtl::TObject* Sender);
    void MIPictureToClipboardClick(rtl::TObject* Sender);
    void MIIntPolOnOffClick(rtl::TObject* Sender);
    void MIInfoInterpolationClick(rtl::TObject* Sender);
    void FormCreate(rtl::TObject* Sender);
    void FormClose(rtl::TObject* Sender, gui::TCloseAction& Action);

private:
    void Trace(const std::string& Line);
    // Item of the main window's field-type group when the samples were collected (0 E, 1 H,
    // 2 impedance); scaling and read-out follow the samples, not a later choice.
    int SampleFeldTyp = -1;
};
