#include "viewer/Vertikal.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "foundation/ColorLib.h"
#include "foundation/DebugLib.h"
#include "foundation/DirectoryUtilsLib.h"
#include "foundation/MathLib.h"
#include "foundation/VektorLib.h"
#include "platform/gui/Clipbrd.h"
#include "platform/rtl/SysUtils.h"
#include "radio/AfuLib.h"
#include "viewer/FeldorU.h"
#include "viewer/PleaseWait.h"
#include "viewer/SkalarFeld2.h"
#include "viewer/VectorState.h"

using namespace FeldorU;

namespace {

using Clock = std::chrono::steady_clock;

int ElapsedMs(Clock::time_point since) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

// Linear interpolation across the empty cells (< 0) of one line of the grid: each empty cell
// after the first takes the value between its predecessor (perhaps just filled) and the next
// valid cell (>= 0) of the line; without a valid cell after it, it stays empty. `at(i)` is the
// i-th cell of the line. The next valid cell is searched once and kept while the walk has not
// passed it: cells after the walk's position do not change, so it stays the first valid one.
template <class Cell>
void InterpolateLine(int last, Cell at) {
    int b = -1;
    bool searched = false;
    for (int c = 1; c <= last; ++c) {
        if (!(at(c) < 0)) continue;
        if (!searched || b < c) {
            b = -1;
            for (int j = c + 1; j <= last; ++j) {
                if (at(j) >= 0) {
                    b = j;
                    break;
                }
            }
            searched = true;
        }
        if (b < 0) return;  // no valid cell after c, nor after any later cell
        const int a = c - 1;
        const long double va = at(a);
        const long double vb = at(b);
        at(c) = static_cast<double>(va + (vb - va) / (b - a) * (c - a));
    }
}

// The column pointers of a grid of width + 1 columns of height + 1 rows each (checked).
std::vector<double*> Columns(TwoDimArrayDouble& grid, int width, int height) {
    if (TwoDimRows(grid) != width + 1) rtl::RaiseRangeError();
    std::vector<double*> cols(static_cast<std::size_t>(width) + 1);
    for (int c = 0; c <= width; ++c) {
        DoubleArray& column = grid[c];
        if (column.Length() != height + 1) rtl::RaiseRangeError();
        cols[static_cast<std::size_t>(c)] = column.data();
    }
    return cols;
}

// The extremes of a non-empty array (values that are not numbers take no part).
void MinMax(const DoubleArray& a, double& lo, double& hi) {
    if (a.empty()) rtl::RaiseRangeError();
    lo = std::numeric_limits<double>::infinity();
    hi = -lo;
    for (double v : a) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
}

gui::TLabel* MakeLabel(TFormVertikal* form, gui::TWinControl* parent, const char* name,
                       const char* caption, int left, int top) {
    auto* l = new gui::TLabel(form);
    l->SetName(name);
    l->SetParent(parent);
    l->SetLeft(left);
    l->SetTop(top);
    l->SetCaption(caption);
    return l;
}

using Handler = void (TFormVertikal::*)(rtl::TObject*);

gui::TMenuItem* AddItem(TFormVertikal* form, gui::TMenuItem* parent, const char* caption,
                        Handler handler = nullptr) {
    auto* item = new gui::TMenuItem(form);
    item->SetCaption(caption);
    if (handler) item->OnClick = [form, handler](rtl::TObject* s) { (form->*handler)(s); };
    parent->Add(item);
    return item;
}

constexpr const char* kNoSection =
    "Die Schnittebene kann nicht berechnet werden: sie braucht mindestens zwei Ebenen und eine "
    "Schnittlinie mit Länge, und sie darf höchstens viermal so hoch wie breit sein";

}  // namespace

int TFormVertikal::GridHeight(double ZRange, double RRange, int Width) {
    if (!(ZRange > 0 && RRange > 0 && std::isfinite(ZRange) && std::isfinite(RRange)) || Width < 1)
        return -1;
    const long double h = static_cast<long double>(ZRange) / RRange * Width;
    if (!(h <= static_cast<long double>(kMaxAspect) * Width + 0.5L)) return -1;
    const long long rounded = rtl::Round(h);
    if (rounded > static_cast<long long>(kMaxAspect) * Width) return -1;
    return static_cast<int>(rounded);
}

TFormVertikal::TFormVertikal(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormVertikal");
    SetCaption("Feldstärkeverteilung in der Schnittebene");
    SetBorderIcons(gui::biSystemMenu);
    SetWidth(607);
    SetPosition(gui::poMainFormCenter);
    SetHeight(244);

    MainMenu = new gui::TMainMenu(this);
    gui::TMenuItem* root = MainMenu->Items();
    MIDatei = AddItem(this, root, "&Datei");
    MISavePicture = AddItem(this, MIDatei, "&Grafik speichern", &TFormVertikal::MISavePictureClick);
    MIPictureToClipboard = AddItem(this, MIDatei, "Grafik in &Zwischenablage",
                                   &TFormVertikal::MIPictureToClipboardClick);
    AddItem(this, MIDatei, "-");
    MISchliessen = AddItem(this, MIDatei, "&Schliessen");
    MISchliessen->OnClick = [this](rtl::TObject*) { Close(); };
    MIInterpolation = AddItem(this, root, "&Interpolation");
    MIIntPolOnOff =
        AddItem(this, MIInterpolation, "&Ausschalten", &TFormVertikal::MIIntPolOnOffClick);
    AddItem(this, MIInterpolation, "-");
    MIInfoInterpolation = AddItem(this, MIInterpolation, "&Info Interpolation",
                                  &TFormVertikal::MIInfoInterpolationClick);

    GBPosition = new gui::TGroupBox(this);
    GBPosition->SetName("GBPosition");
    GBPosition->SetParent(this);
    GBPosition->SetBounds(4, 0, 585, 76);
    GBPosition->SetCaption("Position");
    LaIntCoords = MakeLabel(this, GBPosition, "LaIntCoords", "Pixel", 8, 16);
    LACoords = MakeLabel(this, GBPosition, "LACoords", "Koordinaten", 8, 36);
    LaField = MakeLabel(this, GBPosition, "LaField", "Feldstärke", 8, 56);
    LaHorInt = MakeLabel(this, GBPosition, "LaHorInt", "Horizontales Intervall", 220, 16);
    LaVertInt = MakeLabel(this, GBPosition, "LaVertInt", "Vertikales Intervall", 220, 36);
    LaX = MakeLabel(this, GBPosition, "LaX", "X", 470, 16);
    LaY = MakeLabel(this, GBPosition, "LaY", "Y", 470, 36);
    LaZ = MakeLabel(this, GBPosition, "LaZ", "Z", 470, 56);

    PanelFeld = new gui::TPanel(this);
    PanelFeld->SetName("PanelFeld");
    PanelFeld->SetParent(this);
    PanelFeld->SetBevelOuter(gui::bvLowered);
    PanelFeld->SetColor(gdi::clGray);
    PanelFeld->SetCaption("");
    PanelFeld->SetBounds(4, 80, kImageWidth + 16, 116);
    ImageVertFeld = new gui::TImage(this);
    ImageVertFeld->SetName("ImageVertFeld");
    ImageVertFeld->SetParent(PanelFeld);
    ImageVertFeld->SetBounds(8, 8, kImageWidth, 100);
    ImageVertFeld->SetStretch(true);
    ImageVertFeld->SetProportional(true);
    ImageVertFeld->OnMouseMove = [this](rtl::TObject* s, gui::TShiftState sh, int x, int y) {
        ImageVertFeldMouseMove(s, sh, x, y);
    };

    GBInfo = new gui::TGroupBox(this);
    GBInfo->SetName("GBInfo");
    GBInfo->SetParent(this);
    GBInfo->SetBounds(4, 200, 585, 120);
    GBInfo->SetCaption("Info");
    GBInfo->SetVisible(false);
    Memo = new gui::TMemo(this);
    Memo->SetName("Memo");
    Memo->SetParent(GBInfo);
    Memo->SetBounds(8, 16, 569, 96);
    Memo->SetScrollBars(gui::ssVertical);

    SavePictureDialog = new gui::TSavePictureDialog(this);

    OnCreate = [this](rtl::TObject* s) { FormCreate(s); };
    OnClose = [this](rtl::TObject* s, gui::TCloseAction& a) { FormClose(s, a); };
}

void TFormVertikal::Trace(const std::string& Line) {
    if (DebugMode) Memo->Lines()->Add(Line);
}

void TFormVertikal::FormCreate(rtl::TObject*) {
    DebugMode = true;
    Interpolation = true;
    MIIntPolOnOff->SetCaption("&Ausschalten");
}

void TFormVertikal::FormClose(rtl::TObject*, gui::TCloseAction& Action) { Action = gui::caFree; }

void TFormVertikal::VertAfterStart() {
    // No user input while the samples are collected and messages are pumped.
    gui::TBusyScope busy;
    auto* wait = new TFormPleaseWait(this);
    wait->Execute();
    try {
        process(this);
    } catch (...) {
        wait->Close();
        throw;
    }
    wait->Close();
    PicRefresh(this);
}

void TFormVertikal::process(rtl::TObject*) {
    const Clock::time_point start = Clock::now();
    TFormFeldor* main = FormFeldor;
    if (!main) rtl::RaiseRangeError();

    if (DebugMode) {
        Trace("DebugInfo in TFormVertikal.process:");
        for (int i = 0; i < CutPoints.Length(); ++i)
            Trace(rtl::Format("%2d --> x: %5.3f    y: %5.3f", i, CutPoints[i].X, CutPoints[i].Y));
    }

    for (DoubleArray* a : {&SampleX, &SampleY, &SampleZ, &SampleValue, &GridZ, &SampleR})
        a->clear();

    // The stored heights of the planes of the field type on display.
    SampleFeldTyp = main->RGFeldTyp->ItemIndex();
    const double offset = SampleFeldTyp == 1 ? HOffset : SampleFeldTyp == 2 ? ZOffset : 0;
    const int component = main->RGKomponente->ItemIndex();
    const int points = CutPoints.Length();
    const int total = PlaneList.Length() * points;
    for (DoubleArray* a : {&SampleX, &SampleY, &SampleZ, &SampleValue, &GridZ, &SampleR})
        a->reserve(total);

    for (double height : PlaneList) {
        const double h = height + offset;
        const std::unique_ptr<TSkalarFeld2> plane = main->LoadPlane(h, component);
        ClearUpperVectorState();
        const TNearestSampleGrid nearest(*plane);
        for (const Vektor2& p : CutPoints) {
            const double x = static_cast<double>(p.X);
            const double y = static_cast<double>(p.Y);
            const int j = nearest.Nearest(x, y);
            SampleX.push_back(x);
            SampleY.push_back(y);
            SampleZ.push_back(h);
            SampleValue.push_back(plane->Value(j));
        }
    }

    // Distances along the cut from its first point.
    if (points > 0) {
        const Vektor2 p0 = CutPoints[0];
        for (int i = 0; i < SampleX.Length(); ++i) {
            GridZ.push_back(SampleZ[i]);
            const long double dx = SampleX[i] - p0.X;
            const long double dy = SampleY[i] - p0.Y;
            SampleR.push_back(static_cast<double>(std::sqrt(dx * dx + dy * dy)));
        }
    }

    // The map's plane again.
    CurrentPlane = main->LoadPlane(CurrentHeight, component);

    if (DebugMode) {
        double minX = 0, maxX = 0, minY = 0, maxY = 0;
        if (!SampleX.empty()) {
            MinMax(SampleX, minX, maxX);
            MinMax(SampleY, minY, maxY);
        }
        Trace(rtl::Format("minX: %5.3f", minX));
        Trace(rtl::Format("maxX: %5.3f", PlaneXMax));
        Trace(rtl::Format("minY: %5.3f", minY));
        Trace(rtl::Format("maxY: %5.3f", PlaneYMax));
        Trace("CalcTimeInfo in TFormVertikal.process");
        Trace(rtl::Format("ProcessTime: %1d ms ", ElapsedMs(start)));
    }
}

void TFormVertikal::PicRefresh(rtl::TObject* Sender) {
    gui::TBusyScope busy;
    if (gui::Application) gui::Application->ProcessMessages();
    ImageCalc(Sender);
    ImageDraw(Sender);
}

void TFormVertikal::ImageCalc(rtl::TObject*) {
    ClearUpperVectorState();
    const int n = GridZ.Length();
    if (n == 0 || SampleR.Length() != n || SampleValue.Length() != n)
        throw rtl::Exception(kNoSection);
    MinMax(GridZ, minZ, maxZ);
    MinMax(SampleR, minR, maxR);
    RRange = maxR - minR;
    ZRange = maxZ - minZ;

    const int width = ImageVertFeld->Width();
    const int height = GridHeight(ZRange, RRange, width);
    if (height < 0) throw rtl::Exception(kNoSection);
    VertWidth = width;
    VertHeight = height;

    SetSize2D(VertGrid, VertWidth + 1, VertHeight + 1);
    Fill2D(VertGrid, -1);
    std::vector<double*> cols = Columns(VertGrid, VertWidth, VertHeight);

    // E and H at the display power, impedance as it is.
    const bool scaled = SampleFeldTyp == 0 || SampleFeldTyp == 1;
    const long double perR = static_cast<long double>(VertWidth) / RRange;
    const long double perZ = static_cast<long double>(VertHeight) / ZRange;
    for (int i = 0; i < n; ++i) {
        const long long c = rtl::Round(perR * (SampleR[i] - minR));
        const long long r = VertHeight - rtl::Round(perZ * (GridZ[i] - minZ));
        if (c < 0 || c > VertWidth || r < 0 || r > VertHeight) rtl::RaiseRangeError();
        const double v = SampleValue[i];
        cols[static_cast<std::size_t>(c)][r] = scaled ? ScaleFieldStrength(v, Power, PowerShow) : v;
    }

    if (DebugMode) {
        Trace("DebugInfo in TFormVertikal.ImageCalc:");
        Trace(rtl::Format("VertWidth: %1d", VertWidth));
        Trace(rtl::Format("VertHeight: %1d", VertHeight));
        Trace(rtl::Format("minR: %5.3f", minR));
        Trace(rtl::Format("maxR: %5.3f", maxR));
        Trace(rtl::Format("minZ: %5.3f", minZ));
        Trace(rtl::Format("maxZ: %5.3f", maxZ));
    }

    if (Interpolation) {
        Clock::time_point t = Clock::now();
        for (int r = 0; r <= VertHeight; ++r)
            InterpolateLine(VertWidth, [&cols, r](int c) -> double& {
                return cols[static_cast<std::size_t>(c)][r];
            });
        if (DebugMode) {
            Trace("CalcTimeInfo in  TFormVertikal.ImageCalc:");
            Trace(rtl::Format("Horizontale Interpolation: %1d ms ", ElapsedMs(t)));
        }
        t = Clock::now();
        for (int c = 0; c <= VertWidth; ++c) {
            double* column = cols[static_cast<std::size_t>(c)];
            InterpolateLine(VertHeight, [column](int r) -> double& { return column[r]; });
        }
        if (DebugMode) {
            Trace("CalcTimeInfo in  TFormVertikal.ImageCalc:");
            Trace(rtl::Format("Vertikale Interpolation: %1d ms ", ElapsedMs(t)));
        }
    }

    const Clock::time_point t = Clock::now();
    for (int c = 0; c <= VertWidth; ++c) {
        double* column = cols[static_cast<std::size_t>(c)];
        for (int r = 0; r <= VertHeight; ++r)
            if (column[r] < 0) column[r] = 0;
    }
    if (DebugMode) {
        Trace("CalcTimeInfo in  TFormVertikal.ImageCalc:");
        Trace(rtl::Format("RestPunkte Nullsetzen: %1d ms ", ElapsedMs(t)));
    }
}

void TFormVertikal::ImageDraw(rtl::TObject*) {
    ClearUpperVectorState();
    const Clock::time_point start = Clock::now();
    const std::vector<double*> cols = Columns(VertGrid, VertWidth, VertHeight);

    // The map's colouring: the value against the reference of the colour scale; a reference
    // that is not above 0 gives no scale and black.
    const double bezug = BezugsFeld;
    const bool noScale = !(bezug > 0);
    gdi::TBitmap bmp;
    bmp.SetPixelFormat(gdi::pf24bit);
    bmp.SetSize(VertWidth + 1, VertHeight + 1);
    std::vector<double> values(static_cast<std::size_t>(VertWidth) + 1);
    std::vector<gdi::TColor> colors(values.size(), gdi::clBlack);
    for (int r = 0; r <= VertHeight; ++r) {
        std::uint8_t* p = bmp.ScanLine(r);
        if (!noScale) {
            for (int c = 0; c <= VertWidth; ++c)
                values[static_cast<std::size_t>(c)] = static_cast<double>(
                    Clip01(cols[static_cast<std::size_t>(c)][r] / bezug));
            ValuesToScaleColors(values.data(), colors.data(), VertWidth + 1);
        }
        for (int c = 0; c <= VertWidth; ++c, p += 3) {
            const gdi::TColor color = colors[static_cast<std::size_t>(c)];
            p[0] = static_cast<std::uint8_t>(gdi::GetBValue(color));
            p[1] = static_cast<std::uint8_t>(gdi::GetGValue(color));
            p[2] = static_cast<std::uint8_t>(gdi::GetRValue(color));
        }
    }
    bmp.Modified();

    SetHeight(PanelFeld->Top() + VertHeight + 64);
    PanelFeld->SetWidth(VertWidth + 16);
    PanelFeld->SetHeight(VertHeight + 16);
    ImageVertFeld->SetWidth(VertWidth);
    ImageVertFeld->SetHeight(VertHeight);
    ImageVertFeld->Picture()->Assign(&bmp);

    if (DebugMode) {
        Trace("DebugInfo in TFormVertikal.ImageDraw:");
        Trace(rtl::Format("Power: %4.2f", Power));
        Trace(rtl::Format("PowerShow: %4.2f", PowerShow));
        Trace(rtl::Format("BezugsFeld: %4.2f", BezugsFeld));
        Trace(rtl::Format("VertWidth: %4d", VertWidth));
        Trace(rtl::Format("VertHeight: %4d", VertHeight));
        Trace(rtl::Format("FormVertikal.Height: %1d", Height()));
        Trace(rtl::Format("PanelFeld.Height: %1d", PanelFeld->Height()));
        Trace(rtl::Format("ImageVertFeld.Height: %1d", ImageVertFeld->Height()));
        Trace(rtl::Format("PanelFeld.Top: %1d", PanelFeld->Top()));
        Trace("CalcTimeInfo in  TFormVertikal.ImageDraw:");
        Trace(rtl::Format("Zeichnen: %1d ms ", ElapsedMs(start)));
    }
}

void TFormVertikal::updateCoordsInfo(int X, int Y) {
    const long double cellW = static_cast<long double>(ImageVertFeld->Width()) / VertWidth;
    const long double cellH = static_cast<long double>(ImageVertFeld->Height()) / VertHeight;
    const long long c = rtl::Round(X / cellW);
    const long long r = rtl::Round(Y / cellH);
    if (c < 0 || r < 0 || c > std::numeric_limits<int>::max() ||
        r > std::numeric_limits<int>::max())
        rtl::RaiseRangeError();
    const double v = VertGrid[static_cast<int>(c)][static_cast<int>(r)];

    const long double R = static_cast<long double>(RRange) * c / VertWidth + minR;
    const long double Zs = static_cast<long double>(ZRange) * (VertHeight - r) / VertHeight + minZ;

    if (CutPoints.Length() < 2) rtl::RaiseRangeError();
    const Vektor2 p0 = CutPoints[0];
    const Vektor2 pn = CutPoints[CutPoints.High()];
    const long double L = Vektor2Dist(p0, pn);
    const Vektor2 w = Vektor2Add(p0, Vektor2Scale(Vektor2Sub(pn, p0), static_cast<double>(R / L)));

    const char* unit = nullptr;
    double offset = 0;
    switch (SampleFeldTyp) {
        case 0: unit = "V/m"; break;
        case 1:
            unit = "A/m";
            offset = HOffset;
            break;
        case 2:
            unit = "Ohm";
            offset = ZOffset;
            break;
        default: return;
    }
    const long double Z = Zs - offset;

    LaIntCoords->SetCaption(rtl::Format("Pixel X: %3d  Y: %3d", c, r));
    LACoords->SetCaption(rtl::Format("Rel. Koordinaten R: %3.2f  Z: %3.2f", R, Z));
    LaField->SetCaption(rtl::Format("Feldstärke    %4.3f ", v) + unit);
    LaHorInt->SetCaption(rtl::Format("Hori. Intervall rMin: %3.2f  rMax: %3.2f", minR, maxR));
    LaVertInt->SetCaption(
        rtl::Format("Vert. Intervall zMin: %3.2f  zMax: %3.2f", minZ - offset, maxZ - offset));
    LaX->SetCaption(rtl::Format("X: %3.2f  ", w.X));
    LaY->SetCaption(rtl::Format("Y: %3.2f  ", w.Y));
    LaZ->SetCaption(rtl::Format("Z: %3.2f  ", Z));
}

void TFormVertikal::ImageVertFeldMouseMove(rtl::TObject*, gui::TShiftState, int X, int Y) {
    try {
        updateCoordsInfo(X, Y);
    } catch (...) {
        // A position outside the grid shows nothing.
    }
}

void TFormVertikal::MISavePictureClick(rtl::TObject*) {
    gdi::TBitmap copy;
    if (const gdi::TBitmap* b = ImageVertFeld->Picture()->Graphic()) copy.Assign(*b);
    SavePictureDialog->Filter = "Alle Dateien (*.*)|*.*|BitMap-Bild (*.bmp)|*.bmp";
    SavePictureDialog->FilterIndex = 2;
    SavePictureDialog->DefaultExt = ".bmp";
    SavePictureDialog->FileName = "Seitenansicht" + rtl::Format(" w%3.1f", RRange) + ".bmp";
    SavePictureDialog->InitialDir = GetDeskTopDir();
    if (SavePictureDialog->Execute())
        copy.SaveToFile(SavePictureDialog->FileName);
    else
        msgWarning("Es wurde keine Bilddatei gespeichert!");
}

void TFormVertikal::MIPictureToClipboardClick(rtl::TObject*) {
    gdi::TBitmap copy;
    if (const gdi::TBitmap* b = ImageVertFeld->Picture()->Graphic()) copy.Assign(*b);
    gui::Clipboard()->Assign(copy);
}

void TFormVertikal::MIIntPolOnOffClick(rtl::TObject* Sender) {
    gui::TBusyScope busy;
    Interpolation = !Interpolation;
    MIIntPolOnOff->SetCaption(Interpolation ? "&Ausschalten" : "&Einschalten");
    if (gui::Application) gui::Application->ProcessMessages();
    ImageCalc(Sender);
    ImageDraw(Sender);
}

void TFormVertikal::MIInfoInterpolationClick(rtl::TObject*) {
    msgInfo(
        "Wenn die Interpolation ausgeschaltet ist, werden die realen gerechneten Datenpunkte "
        "sichtbar.\r\n"
        "Im eigeschalteten Zustand werden die Zwischenräume interpoliert. Dabei wird ein "
        "2-dimensionales\r\n"
        "Verfahren angewendet, welches zuerst die horizontale und dann die vertikale "
        "Interpolation ausführt.\r\n"
        "Um die Anzahl der Datenpunkte in vertikaler Richtung zu vergrößern, muss bei EZNEC mit "
        "einer\r\n"
        "höheren Ebenenzahl gerechnet werden.\r\n"
        "Die horizontalen Punkte werden durch die Anzahl der Punkte beim horizontalen Schnitt "
        "verändert.");
}
