#include "viewer/FeldorVars.h"

#include "foundation/ArrayLib.h"

namespace FeldorU {

TFormFeldor* FormFeldor = nullptr;
DoubleArray tx, ty, tz, tE, tEx, tEy, tEz;
DoubleArray PlaneList;
std::unique_ptr<TSkalarFeld2> CurrentPlane;
double PlaneHeight = 0;
double CurrentHeight = 0;
bool HasEPlanes = false, HasHPlanes = false, HasZPlanes = false;
bool FieldShown = false;
bool FieldLoaded = false;
double Power = 1;
double PowerShow = 750;
int16_t FeldTyp = 1;
double GrenzwertPS = 0, GrenzwertHSM = 0, BezugsFeld = 0, ArrowPos = 0.8;
double PlaneXMin = 0, PlaneXMax = 0, PlaneYMin = 0, PlaneYMax = 0, PixelPerMeter = 0,
       ScreenScale = 0, ScreenOriginX = 0, ScreenOriginY = 0;
BezugsWert BezugsTabelle[8];
std::unique_ptr<TAntPoints> Antenne = std::make_unique<TAntPoints>();
std::unique_ptr<TAntPoints> Boden = std::make_unique<TAntPoints>();
gdi::TColor ColorOrigin = 0x0054A6, ColorBoden = 0x31637B, ColorMessPkt = 0x00DEFF;
double CutP1x = 0, CutP1y = -5, CutP2x = 0, CutP2y = 15;
int CutPointCount = 20;
bool CutSecondClick = false;
Vektor2Array CutPoints;
bool DebugMode = true;

std::string ProgDir, ProgTitle, ProgVersion, ProgNotice;
std::string EZNECDir, MMANADir, Dir4nec2, NECWinProDir, FeldorDir;
int MessTop = 20, MessLeft = 20, SkriptTop = 30, SkriptLeft = 30, SkriptHeight = 300,
    SkriptWidth = 300;
bool SkriptVisible = true, MesswertVisible = true;
std::string SaveTarget, LoadedFile;
std::string ProgDirOverride;

}  // namespace FeldorU

using namespace FeldorU;

void ClearFeld2Dim() {
    for (DoubleArray* a : {&tx, &ty, &tz, &tE, &tEx, &tEy, &tEz}) ClearDoubleArray(*a);
}

void AppendFieldPoint(double x, double y, double z, double E, double Ex, double Ey, double Ez) {
    tx.push_back(x);
    ty.push_back(y);
    tz.push_back(z);
    tE.push_back(E);
    tEx.push_back(Ex);
    tEy.push_back(Ey);
    tEz.push_back(Ez);
}

DoubleArray FieldPlanes(const DoubleArray& Heights, int Kind) {
    DoubleArray h = Heights;
    SortDoubles(h);
    RemoveDuplicateDoubles(h, true);
    switch (Kind) {
        case 1:
            RemoveOutside(h, EWindowLo, EWindowHi);
            break;
        case 2:
            RemoveOutside(h, HWindowLo, HWindowHi);
            ArraySubConst(h, HOffset);
            break;
        case 3:
            RemoveOutside(h, ZWindowLo, ZWindowHi);
            ArraySubConst(h, ZOffset);
            break;
        default:
            break;
    }
    return h;
}
