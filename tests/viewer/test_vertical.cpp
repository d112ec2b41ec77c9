// The cut line and the vertical section: the cut-line dialog, the line on the map, the samples,
// the grid with its interpolation, the picture, the read-out, the section's commands and the
// inputs that give no section.
#include <gtest/gtest.h>

#include <QAction>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "ViewerFixture.h"
#include "foundation/ColorLib.h"
#include "foundation/MathLib.h"
#include "foundation/TwoDimArray.h"
#include "platform/gui/Clipbrd.h"
#include "radio/AfuLib.h"
#include "viewer/FeldorVars.h"
#include "viewer/PktEingabe.h"
#include "viewer/SkalarFeld2.h"
#include "viewer/Vertikal.h"

using namespace FeldorU;

namespace {

// A value of its own for every grid point of every plane.
double FieldValue(double x, double y, double z) {
    return 1 + 0.05 * (x + 10) + 0.001 * (y + 10) + 10 * z;
}

// A regular grid of points, x -10..10 and y -10..20 in steps of 1 m, at stored height z. The x
// component changes sign across the plane.
void AddGridPlane(double z) {
    for (int j = -10; j <= 20; ++j)
        for (int i = -10; i <= 10; ++i)
            AppendFieldPoint(i, j, z, FieldValue(i, j, z), 5 * std::sin(0.7 * i + 0.3 * j + z), j,
                             z);
}

gdi::TColor PicturePixel(const gui::TImage* image, int x, int y) {
    const std::uint8_t* p = image->Picture()->Graphic()->ScanLine(y) + 3 * x;
    return gdi::RGB(p[2], p[1], p[0]);
}

// The grid as the section lays it out, with the interpolation done by the library searches
// (NextValidRow / NextValidCol from every empty cell anew).
TwoDimArrayDouble ReferenceGrid(const TFormVertikal& s, bool interpolate) {
    const int w = s.VertWidth, h = s.VertHeight;
    TwoDimArrayDouble g;
    SetSize2D(g, w + 1, h + 1);
    Fill2D(g, -1);
    for (int i = 0; i < s.SampleR.Length(); ++i) {
        const long long c =
            rtl::Round(static_cast<long double>(w) / s.RRange * (s.SampleR[i] - s.minR));
        const long long r =
            h - rtl::Round(static_cast<long double>(h) / s.ZRange * (s.GridZ[i] - s.minZ));
        g[static_cast<int>(c)][static_cast<int>(r)] =
            ScaleFieldStrength(s.SampleValue[i], Power, PowerShow);
    }
    if (interpolate) {
        for (int r = 0; r <= h; ++r)
            for (int c = 1; c <= w; ++c) {
                if (!(g[c][r] < 0)) continue;
                const int b = NextValidRow(g, static_cast<int16_t>(c), static_cast<int16_t>(r));
                if (b < 0) continue;
                const int a = c - 1;
                const long double va = g[a][r], vb = g[b][r];
                g[c][r] = static_cast<double>(va + (vb - va) / (b - a) * (c - a));
            }
        for (int c = 0; c <= w; ++c)
            for (int r = 1; r <= h; ++r) {
                if (!(g[c][r] < 0)) continue;
                const int b = NextValidCol(g, static_cast<int16_t>(r), static_cast<int16_t>(c));
                if (b < 0) continue;
                const int a = r - 1;
                const long double va = g[c][a], vb = g[c][b];
                g[c][r] = static_cast<double>(va + (vb - va) / (b - a) * (r - a));
            }
    }
    for (int c = 0; c <= w; ++c)
        for (int r = 0; r <= h; ++r)
            if (g[c][r] < 0) g[c][r] = 0;
    return g;
}

class VerticalTest : public ViewerFixture {
protected:
    // Start-up, the planes at the given stored heights, the first plane rendered with the plane
    // maximum as reference.
    void Load(const std::vector<double>& heights) {
        StartUp();
        for (double z : heights) AddGridPlane(z);
        ShowFirstEPlane();
        form->RGBezug->SetItemIndex(0);
        ASSERT_TRUE(FieldShown);
        ASSERT_GT(BezugsFeld, 0);
    }
    void Cut(double x1, double y1, double x2, double y2, int n) {
        CutP1x = x1;
        CutP1y = y1;
        CutP2x = x2;
        CutP2y = y2;
        CutPointCount = n;
    }
    std::vector<TFormVertikal*> Sections() const {
        std::vector<TFormVertikal*> result;
        for (int i = 0; i < form->ComponentCount(); ++i)
            if (auto* s = dynamic_cast<TFormVertikal*>(form->Components(i))) result.push_back(s);
        return result;
    }
    TFormVertikal* Open() {
        const std::size_t before = Sections().size();
        form->MIVerticalClick(nullptr);
        const std::vector<TFormVertikal*> all = Sections();
        if (all.size() != before + 1) return nullptr;
        return all.back();
    }
    gdi::TColor PlayPixel(int x, int y) const { return form->ImagePlay->Canvas()->Pixels(x, y); }
    // The overlay mapping of a world point onto the map image.
    static gdi::TPoint Screen(double x, double y) {
        const long double s = ScreenScale;
        return {static_cast<int>(rtl::Round((x - PlaneXMin) * s)),
                static_cast<int>(rtl::Round((static_cast<long double>(PlaneYMax) - PlaneYMin) * s) -
                                 rtl::Round((y - PlaneYMin) * s))};
    }
};

TEST_F(VerticalTest, DefaultCutThroughThreePlanesWithoutInterpolation) {
    Load({2, 5, 8});
    ASSERT_EQ(CutPointCount, 20);  // the default cut (0, -5) to (0, 15)
    TFormVertikal* s = Open();
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(presenter->boxes.empty());
    EXPECT_EQ(s->Caption(), "Feldstärkeverteilung in der Schnittebene");
    ASSERT_EQ(s->CutPoints.Length(), 20);
    EXPECT_EQ(CutPoints, s->CutPoints);

    // 20 samples per plane, in plane order, each the value of the grid point nearest to it.
    ASSERT_EQ(s->SampleValue.Length(), 60);
    for (int i = 0; i < 60; ++i) {
        const int k = i % 20;
        const double z = i < 20 ? 2 : i < 40 ? 5 : 8;
        EXPECT_EQ(s->SampleX[i], 0);
        EXPECT_NEAR(s->SampleY[i], -5 + k * 20.0 / 19, 1e-12) << i;
        EXPECT_EQ(s->SampleZ[i], z);
        EXPECT_EQ(s->GridZ[i], z);
        EXPECT_EQ(s->SampleValue[i], FieldValue(0, std::nearbyint(s->SampleY[i]), z)) << i;
        EXPECT_NEAR(s->SampleR[i], k * 20.0 / 19, 1e-12);
    }
    EXPECT_NEAR(s->RRange, 20, 1e-12);
    EXPECT_EQ(s->ZRange, 6);
    EXPECT_EQ(s->VertWidth, 569);
    EXPECT_EQ(s->VertHeight, 171);

    s->MIIntPolOnOffClick(nullptr);
    EXPECT_FALSE(s->Interpolation);
    EXPECT_EQ(s->MIIntPolOnOff->Caption(), "&Einschalten");

    // Plane 8 m is row 0, plane 5 m row 85 (171 - Round(85.5)), plane 2 m row 171; every other
    // cell is 0 and black.
    const int rowOf[3] = {171, 85, 0};
    std::vector<char> isSample(570 * 172, 0);
    for (int i = 0; i < 60; ++i) {
        const int c = static_cast<int>(rtl::Round(569.0L / s->RRange * s->SampleR[i]));
        const int r = rowOf[i / 20];
        isSample[static_cast<std::size_t>(c * 172 + r)] = 1;
        EXPECT_EQ(s->VertGrid[c][r], ScaleFieldStrength(s->SampleValue[i], Power, PowerShow));
    }
    ASSERT_EQ(s->ImageVertFeld->Picture()->Width(), 570);
    ASSERT_EQ(s->ImageVertFeld->Picture()->Height(), 172);
    int samples = 0;
    for (int c = 0; c <= 569; ++c)
        for (int r = 0; r <= 171; ++r) {
            const double v = s->VertGrid[c][r];
            const gdi::TColor pixel = PicturePixel(s->ImageVertFeld, c, r);
            if (isSample[static_cast<std::size_t>(c * 172 + r)]) {
                ++samples;
                ASSERT_EQ(pixel, ValueToScaleColor(static_cast<double>(Clip01(v / BezugsFeld))));
            } else {
                ASSERT_EQ(v, 0) << c << "," << r;
                ASSERT_EQ(pixel, gdi::clBlack);
            }
        }
    EXPECT_EQ(samples, 60);

    // The window takes the grid's size.
    EXPECT_EQ(s->Height(), 80 + 171 + 64);
    EXPECT_EQ(s->PanelFeld->Width(), 585);
    EXPECT_EQ(s->PanelFeld->Height(), 187);
    EXPECT_EQ(s->ImageVertFeld->Width(), 569);
    EXPECT_EQ(s->ImageVertFeld->Height(), 171);
}

TEST_F(VerticalTest, InterpolationMatchesTheSearchFromEveryEmptyCell) {
    Load({1, 2, 4.5, 9});
    // The x component: negative values count as empty cells.
    form->RGKomponente->SetItemIndex(1);
    Cut(-7.3, -8.1, 9.6, 17.2, 37);
    TFormVertikal* s = Open();
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(s->Interpolation);
    bool negative = false;
    for (double v : s->SampleValue) negative = negative || v < 0;
    ASSERT_TRUE(negative);

    const auto same = [&](const TwoDimArrayDouble& want) {
        ASSERT_EQ(TwoDimRows(s->VertGrid), s->VertWidth + 1);
        for (int c = 0; c <= s->VertWidth; ++c)
            for (int r = 0; r <= s->VertHeight; ++r)
                ASSERT_EQ(s->VertGrid[c][r], want[c][r]) << c << "," << r;
    };
    same(ReferenceGrid(*s, true));
    s->MIIntPolOnOffClick(nullptr);
    same(ReferenceGrid(*s, false));
    s->MIIntPolOnOffClick(nullptr);
    EXPECT_EQ(s->MIIntPolOnOff->Caption(), "&Ausschalten");
    same(ReferenceGrid(*s, true));

    // Every pixel in the map's colours.
    for (int c = 0; c <= s->VertWidth; c += 7)
        for (int r = 0; r <= s->VertHeight; r += 3)
            ASSERT_EQ(
                PicturePixel(s->ImageVertFeld, c, r),
                ValueToScaleColor(static_cast<double>(Clip01(s->VertGrid[c][r] / BezugsFeld))));

    // A later change of display power shows at the next toggle.
    const std::vector<double> before(s->VertGrid[3].begin(), s->VertGrid[3].end());
    PowerShow = 10;
    s->MIIntPolOnOffClick(nullptr);
    s->MIIntPolOnOffClick(nullptr);
    same(ReferenceGrid(*s, true));
    EXPECT_NE(std::vector<double>(s->VertGrid[3].begin(), s->VertGrid[3].end()), before);
}

TEST_F(VerticalTest, SampleIsTheSampleNearestSampleFindsIncludingTiesAndNaN) {
    Load({1, 2, 3});
    // Plane 3: a scattered cloud with repeated coordinates (ties between different values)
    // and one point whose x is not a number; the cut runs halfway between grid columns, so the
    // grid planes tie too.
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-20, 40);
    for (int k = 0; k < 400; ++k) {
        const double x = coord(rng) * 0.25, y = coord(rng) * 0.5;
        AppendFieldPoint(x, y, 3, 1000 + k, 0, 0, 0);
        if (k % 5 == 0) AppendFieldPoint(x, y, 3, 5000 + k, 0, 0, 0);
    }
    Cut(0.5, -5, 0.5, 15, 41);
    TFormVertikal* s = Open();
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->SampleValue.Length(), 3 * 41);
    for (int p = 0; p < 3; ++p) {
        const auto plane = form->LoadPlane(1 + p, 0);
        for (int k = 0; k < 41; ++k) {
            const int i = p * 41 + k;
            EXPECT_EQ(s->SampleValue[i],
                      plane->Value(plane->NearestSample(s->SampleX[i], s->SampleY[i])))
                << "plane " << p << " point " << k;
        }
    }
    // A plane whose middle sample has an x that is not a number: NearestSample's ordering then
    // gives other indices than the smallest distance would.
    for (int k = 0; k < 21; ++k) {
        const double x = k == 10 ? std::numeric_limits<double>::quiet_NaN() : coord(rng) * 0.1;
        AppendFieldPoint(x, coord(rng) * 0.3, 4, 2000 + k, 0, 0, 0);
    }
    form->afterLoading();
    TFormVertikal* t = Open();
    ASSERT_NE(t, nullptr);
    // The map's plane is the one shown before.
    EXPECT_DOUBLE_EQ(CurrentHeight, 1);
    EXPECT_EQ(CurrentPlane->Count(), 21 * 31);
    EXPECT_DOUBLE_EQ(PlaneHeight, 1);
    ASSERT_EQ(t->SampleValue.Length(), 4 * 41);
    const auto plane = form->LoadPlane(4, 0);
    int unlikeSmallest = 0;
    for (int k = 0; k < 41; ++k) {
        const int i = 3 * 41 + k;
        const double x = t->SampleX[i], y = t->SampleY[i];
        const int j = plane->NearestSample(x, y);
        EXPECT_EQ(t->SampleValue[i], plane->Value(j)) << k;
        int smallest = -1;
        double best = std::numeric_limits<double>::infinity();
        for (int m = 0; m < plane->Count(); ++m) {
            const double d = std::hypot(plane->x[m] - x, plane->y[m] - y);
            if (d < best) best = d, smallest = m;
        }
        unlikeSmallest += j != smallest;
    }
    EXPECT_GT(unlikeSmallest, 0);
}

TEST_F(VerticalTest, DiagonalCutAndTheReadOut) {
    Load({2, 5, 8});
    Cut(10, 0, 0, 10, 20);
    TFormVertikal* s = Open();
    ASSERT_NE(s, nullptr);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(s->SampleR[p * 20], 0);
        for (int k = 1; k < 20; ++k) EXPECT_GT(s->SampleR[p * 20 + k], s->SampleR[p * 20 + k - 1]);
        EXPECT_NEAR(s->SampleR[p * 20 + 19], 10 * std::sqrt(2.0), 1e-12);
    }
    ASSERT_EQ(s->VertHeight, 241);  // Round(6 / 14.142 * 569)

    // Top-left: the first cut point on the highest plane.
    s->updateCoordsInfo(0, 0);
    EXPECT_EQ(s->LaIntCoords->Caption(), "Pixel X:   0  Y:   0");
    EXPECT_EQ(s->LACoords->Caption(), "Rel. Koordinaten R: 0,00  Z: 8,00");
    EXPECT_EQ(s->LaField->Caption(),
              rtl::Format("Feldstärke    %4.3f ", s->VertGrid[0][0]) + "V/m");
    EXPECT_EQ(s->LaHorInt->Caption(), "Hori. Intervall rMin: 0,00  rMax: 14,14");
    EXPECT_EQ(s->LaVertInt->Caption(), "Vert. Intervall zMin: 2,00  zMax: 8,00");
    EXPECT_EQ(s->LaX->Caption(), "X: 10,00  ");
    EXPECT_EQ(s->LaY->Caption(), "Y: 0,00  ");
    EXPECT_EQ(s->LaZ->Caption(), "Z: 8,00  ");
    // Bottom-right: the last cut point on the lowest plane.
    s->updateCoordsInfo(569, 241);
    EXPECT_EQ(s->LaX->Caption(), "X: 0,00  ");
    EXPECT_EQ(s->LaY->Caption(), "Y: 10,00  ");
    EXPECT_EQ(s->LaZ->Caption(), "Z: 2,00  ");
    // In between the distance maps back onto the line.
    s->updateCoordsInfo(284, 120);
    EXPECT_EQ(s->LaIntCoords->Caption(), "Pixel X: 284  Y: 120");
    EXPECT_EQ(s->LaX->Caption(), "X: 5,01  ");  // 10 - 10 * 284 / 569
    EXPECT_EQ(s->LaY->Caption(), "Y: 4,99  ");
    EXPECT_EQ(s->LaZ->Caption(), "Z: 5,01  ");  // 6 * 121 / 241 + 2

    // Outside the grid: the range error, which the mouse handler swallows.
    EXPECT_THROW(s->updateCoordsInfo(600, 0), rtl::ERangeError);
    EXPECT_NO_THROW(s->ImageVertFeldMouseMove(nullptr, 0, 600, 0));
    EXPECT_NO_THROW(s->ImageVertFeldMouseMove(nullptr, 0, -4, 10));
    EXPECT_EQ(s->LaIntCoords->Caption(), "Pixel X: 284  Y: 120");
}

TEST_F(VerticalTest, HPlanesTwiceAndAReadOutThatFollowsTheSamples) {
    StartUp();
    for (double z : {1.0, 3.0, 6.0}) AddGridPlane(z);        // E
    for (double z : {101.0, 103.0, 106.0}) AddGridPlane(z);  // H
    HasEPlanes = HasHPlanes = true;
    form->afterLoading();
    FieldShown = true;
    form->RGFeldTyp->SetItemIndex(1);
    ASSERT_GE(CurrentHeight, 100);
    const DoubleArray planes = PlaneList;

    TFormVertikal* a = Open();
    TFormVertikal* b = Open();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->SampleZ, b->SampleZ);
    EXPECT_EQ(a->SampleZ[0], 101);
    EXPECT_EQ(a->SampleZ[a->SampleZ.High()], 106);
    EXPECT_EQ(PlaneList, planes);

    // The main window turns to E; the section still holds H samples.
    form->RGFeldTyp->SetItemIndex(0);
    ASSERT_LT(CurrentHeight, 100);
    a->updateCoordsInfo(0, 0);
    EXPECT_EQ(a->LaZ->Caption(), "Z: 6,00  ");
    EXPECT_EQ(a->LaVertInt->Caption(), "Vert. Intervall zMin: 1,00  zMax: 6,00");
    EXPECT_EQ(a->LaField->Caption().substr(a->LaField->Caption().size() - 3), "A/m");
    EXPECT_EQ(a->LACoords->Caption(), "Rel. Koordinaten R: 0,00  Z: 6,00");
}

struct Refusal {
    const char* name;
    std::vector<double> planes;
    double x1, y1, x2, y2;
    int count;
    const char* text;  // nullptr: the section opens
};

// Test listings show the case's name instead of its bytes.
void PrintTo(const Refusal& c, std::ostream* os) { *os << c.name; }

class VerticalInputTest : public VerticalTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(VerticalInputTest, RefusedWithAWarningOrOpened) {
    const Refusal& c = GetParam();
    if (c.planes.size() > 0) {
        Load(c.planes);
    } else {
        StartUp();
    }
    Cut(c.x1, c.y1, c.x2, c.y2, c.count);
    form->MIVerticalClick(nullptr);
    if (c.text) {
        ASSERT_EQ(presenter->boxes.size(), 1u);
        EXPECT_EQ(presenter->boxes[0].type, gui::TMsgDlgType::mtWarning);
        EXPECT_EQ(presenter->boxes[0].text, c.text);
        EXPECT_TRUE(Sections().empty());
    } else {
        EXPECT_TRUE(presenter->boxes.empty());
        ASSERT_EQ(Sections().size(), 1u);
        EXPECT_EQ(Sections()[0]->CutPoints.Length(), c.count);
        EXPECT_LE(Sections()[0]->VertHeight, 4 * 569);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VerticalInputTest,
    ::testing::Values(
        Refusal{"NoData",
                {},
                0,
                -5,
                0,
                15,
                20,
                "Es ist kein Feld geladen: ein Vertikalschnitt ist nicht möglich!"},
        Refusal{"OnePlane",
                {2},
                0,
                -5,
                0,
                15,
                20,
                "Für einen Vertikalschnitt werden mindestens zwei Ebenen gebraucht!"},
        Refusal{"OnePoint",
                {2, 5},
                0,
                -5,
                0,
                15,
                1,
                "Die Anzahl der Schnittpunkte muss zwischen 2 und 1000 liegen!"},
        Refusal{"NegativeCount",
                {2, 5},
                0,
                -5,
                0,
                15,
                -3,
                "Die Anzahl der Schnittpunkte muss zwischen 2 und 1000 liegen!"},
        Refusal{"TooManyPoints",
                {2, 5},
                0,
                -5,
                0,
                15,
                1001,
                "Die Anzahl der Schnittpunkte muss zwischen 2 und 1000 liegen!"},
        Refusal{"EqualEndPoints",
                {2, 5},
                3,
                4,
                3,
                4,
                20,
                "Die beiden Endpunkte der Schnittlinie fallen zusammen!"},
        Refusal{"TooShortForTheHeights",
                {0, 50},
                0,
                0,
                0,
                12.4,
                20,
                "Die Schnittlinie ist zu kurz für die Höhen der Ebenen: die Schnittebene wäre "
                "mehr als 4-mal so hoch wie breit!"},
        Refusal{"TwoPoints", {2, 5}, 0, -5, 0, 15, 2, nullptr},
        Refusal{"ThousandPoints", {2, 5}, 0, -5, 0, 15, 1000, nullptr},
        Refusal{"FourTimesAsHigh", {0, 50}, 0, 0, 0, 12.5, 20, nullptr}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST_F(VerticalTest, AFailedCollectionLeavesNoWindowAndTheMapsPlane) {
    Load({2, 5, 8});
    const TSkalarFeld2* shown = CurrentPlane.get();
    // No component selected: the planes come out empty and have no nearest sample.
    form->RGKomponente->SetItemIndex(-1);
    EXPECT_THROW(form->MIVerticalClick(nullptr), rtl::ERangeError);
    EXPECT_FALSE(gui::TBusyScope::Active());
    EXPECT_EQ(CurrentPlane.get(), shown);
    for (int i = 0; i < 5 && !Sections().empty(); ++i) app->ProcessMessages();
    EXPECT_TRUE(Sections().empty());

    // A grid that cannot be laid out (all samples at one height) is refused, not divided by 0.
    form->RGKomponente->SetItemIndex(0);
    TFormVertikal* s = Open();
    ASSERT_NE(s, nullptr);
    for (double& z : s->GridZ) z = 5;
    EXPECT_THROW(s->ImageCalc(nullptr), rtl::Exception);
}

TEST_F(VerticalTest, CutLineDialogAndTheLineOnTheMap) {
    Load({2, 5});
    // Marks on the play layer disappear with the line.
    form->ImagePlay->Canvas()->Brush()->SetColor(gdi::clBlack);
    form->ImagePlay->Canvas()->FillRect(gdi::Rect(0, 0, 569, 569));

    presenter->formHandler = [](gui::TCustomForm& f) {
        auto& d = dynamic_cast<TFormPktEingabe&>(f);
        EXPECT_EQ(d.EditP1x->Text(), "0,00");
        EXPECT_EQ(d.EditP1y->Text(), "-5,00");
        EXPECT_EQ(d.EditP2x->Text(), "0,00");
        EXPECT_EQ(d.EditP2y->Text(), "15,00");
        EXPECT_EQ(d.EditPunktZahl->Text(), "20");
        d.EditP1x->SetText("-8,5");
        d.EditP1y->SetText("2");
        d.EditP2x->SetText("6,25");
        d.EditP2y->SetText("12");
        d.EditPunktZahl->SetText("150");  // not held to the label's 20...100
        d.ButClose->Click();
        return gui::mrNone;
    };
    form->MISchnittDefinitionClick(nullptr);
    ASSERT_EQ(presenter->modalForms.size(), 1u);
    EXPECT_EQ(presenter->modalForms[0], "Schnittebene");
    EXPECT_TRUE(presenter->boxes.empty());
    EXPECT_EQ(CutP1x, -8.5);
    EXPECT_EQ(CutP1y, 2);
    EXPECT_EQ(CutP2x, 6.25);
    EXPECT_EQ(CutP2y, 12);
    EXPECT_EQ(CutPointCount, 150);

    // A lime line, three pixels wide, on white.
    const gdi::TPoint a = Screen(-8.5, 2), b = Screen(6.25, 12);
    const gdi::TPoint mid{(a.X + b.X) / 2, (a.Y + b.Y) / 2};
    EXPECT_EQ(PlayPixel(mid.X, mid.Y), gdi::clLime);
    EXPECT_EQ(PlayPixel(a.X, a.Y), gdi::clLime);
    EXPECT_EQ(PlayPixel(0, 0), gdi::clWhite);
    EXPECT_EQ(PlayPixel(0, 568), gdi::clWhite);
    EXPECT_EQ(PlayPixel(mid.X, mid.Y + 20), gdi::clWhite);
    EXPECT_TRUE(form->ImagePlay->Transparent());

    // Letters as the x of point 2: the fields read before take their new values.
    presenter->formHandler = [](gui::TCustomForm& f) {
        auto& d = dynamic_cast<TFormPktEingabe&>(f);
        d.EditP1x->SetText("1,5");
        d.EditP1y->SetText("-2,5");
        d.EditP2x->SetText("abc");
        d.EditP2y->SetText("99");
        d.EditPunktZahl->SetText("30");
        d.Close();
        return gui::mrNone;
    };
    form->MISchnittDefinitionClick(nullptr);
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].type, gui::TMsgDlgType::mtError);
    EXPECT_EQ(presenter->boxes[0].text,
              "TFormPktEingabe.FormClose: Typenumwandlung Str --> Real, Integer fehlgeschlagen");
    EXPECT_EQ(CutP1x, 1.5);
    EXPECT_EQ(CutP1y, -2.5);
    EXPECT_EQ(CutP2x, 6.25);
    EXPECT_EQ(CutP2y, 12);
    EXPECT_EQ(CutPointCount, 150);

    // A number beyond the range of Double fails the same way.
    presenter->formHandler = [](gui::TCustomForm& f) {
        auto& d = dynamic_cast<TFormPktEingabe&>(f);
        d.EditP1x->SetText("1E400");
        d.Close();
        return gui::mrNone;
    };
    form->MISchnittDefinitionClick(nullptr);
    ASSERT_EQ(presenter->boxes.size(), 2u);
    EXPECT_EQ(CutP1x, 1.5);
}

TEST_F(VerticalTest, LineFarOffTheMapDrawsItsVisiblePart) {
    Load({2, 5});
    const gdi::TPoint centre = Screen(0, 0);
    form->DrawLine(MakeVektor2(0, -1e12), MakeVektor2(0, 1e12));
    EXPECT_EQ(PlayPixel(centre.X, 0), gdi::clLime);
    EXPECT_EQ(PlayPixel(centre.X, 568), gdi::clLime);
    EXPECT_EQ(PlayPixel(centre.X + 5, 300), gdi::clWhite);
    form->DrawLine(MakeVektor2(-1e300, 0), MakeVektor2(1e300, 0));
    EXPECT_EQ(PlayPixel(0, centre.Y), gdi::clLime);
    EXPECT_EQ(PlayPixel(568, centre.Y), gdi::clLime);
    EXPECT_EQ(PlayPixel(centre.X, 0), gdi::clWhite);  // the earlier line is gone
    // Entirely off the map: only the white layer.
    form->DrawLine(MakeVektor2(1e9, 1e9), MakeVektor2(2e9, 1e9));
    EXPECT_EQ(PlayPixel(0, centre.Y), gdi::clWhite);

    // Through the bottom-left corner: white stays the transparent colour.
    form->DrawLine(MakeVektor2(PlaneXMin, PlaneYMin), MakeVektor2(PlaneXMax, PlaneYMax));
    const gdi::TBitmap* bmp = form->ImagePlay->Picture()->Graphic();
    EXPECT_EQ(PlayPixel(1, 567), gdi::clLime);
    EXPECT_EQ(PlayPixel(0, 568), gdi::clWhite);
    EXPECT_EQ(bmp->TransparentColor(), gdi::clWhite);
    EXPECT_TRUE(form->ImagePlay->Transparent());
}

TEST_F(VerticalTest, TraceLinesGoIntoTheHiddenMemo) {
    Load({2, 5, 8});
    // The planes are loaded (with their trace lines in the script window) while user input is
    // held back.
    int changes = 0, busy = 0;
    FormProgInfo->MeInfo->OnChange = [&](rtl::TObject*) {
        ++changes;
        busy += gui::TBusyScope::Active();
    };
    TFormVertikal* s = Open();
    ASSERT_NE(s, nullptr);
    EXPECT_GT(changes, 0);
    EXPECT_EQ(busy, changes);
    EXPECT_FALSE(gui::TBusyScope::Active());
    FormProgInfo->MeInfo->OnChange = nullptr;
    EXPECT_FALSE(s->GBInfo->Visible());
    const rtl::TStrings* lines = s->Memo->Lines();
    ASSERT_GT(lines->Count(), 21);
    EXPECT_EQ(lines->Get(0), "DebugInfo in TFormVertikal.process:");
    EXPECT_EQ(lines->Get(1), " 0 --> x: 0,000    y: -5,000");
    EXPECT_EQ(lines->Get(20), "19 --> x: 0,000    y: 15,000");
    EXPECT_EQ(lines->Get(21), "minX: 0,000");
    std::string all;
    for (int i = 0; i < lines->Count(); ++i) all += lines->Get(i) + "\n";
    for (const char* want :
         {"ProcessTime: ",
          "DebugInfo in TFormVertikal.ImageCalc:\nVertWidth: 569\nVertHeight: 171\nminR: "
          "0,000\nmaxR: 20,000\nminZ: 2,000\nmaxZ: 8,000\n",
          "CalcTimeInfo in  TFormVertikal.ImageCalc:\nHorizontale Interpolation: ",
          "Vertikale Interpolation: ", "RestPunkte Nullsetzen: ",
          "VertWidth:  569\nVertHeight:  171\nFormVertikal.Height: 315\nPanelFeld.Height: "
          "187\nImageVertFeld.Height: 171\nPanelFeld.Top: 80\nCalcTimeInfo in  "
          "TFormVertikal.ImageDraw:\nZeichnen: "})
        EXPECT_NE(all.find(want), std::string::npos) << want;

    // The main window's debug mode decides.
    form->MIDebugModeClick(nullptr);
    ASSERT_FALSE(DebugMode);
    TFormVertikal* quiet = Open();
    ASSERT_NE(quiet, nullptr);
    EXPECT_EQ(quiet->Memo->Lines()->Count(), 0);
}

TEST_F(VerticalTest, PictureFileClipboardInfoAndClose) {
    Load({2, 5, 8});
    TFormVertikal* s = Open();
    ASSERT_NE(s, nullptr);

    const std::string file = dir + "/Seite.bmp";
    gui::FileDialogResult yes;
    yes.accepted = true;
    yes.files = {file};
    yes.filterIndex = 2;
    presenter->fileAnswers.push_back(yes);
    s->MISavePictureClick(nullptr);
    ASSERT_EQ(presenter->fileDialogs.size(), 1u);
    const gui::FileDialogRequest& req = presenter->fileDialogs[0];
    EXPECT_EQ(req.kind, gui::FileDialogRequest::Kind::Save);
    EXPECT_EQ(req.fileName, "Seitenansicht w20,0.bmp");
    EXPECT_EQ(req.filter, "Alle Dateien (*.*)|*.*|BitMap-Bild (*.bmp)|*.bmp");
    EXPECT_EQ(req.filterIndex, 2);
    gdi::TBitmap saved;
    saved.LoadFromFile(file);
    ASSERT_EQ(saved.Width(), 570);
    ASSERT_EQ(saved.Height(), 172);
    for (int y : {0, 85, 171})
        for (int x : {0, 300, 569})
            EXPECT_EQ(saved.Canvas()->Pixels(x, y), PicturePixel(s->ImageVertFeld, x, y));
    EXPECT_TRUE(presenter->boxes.empty());

    s->MISavePictureClick(nullptr);  // cancelled
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].type, gui::TMsgDlgType::mtWarning);
    EXPECT_EQ(presenter->boxes[0].text, "Es wurde keine Bilddatei gespeichert!");

    s->MIPictureToClipboardClick(nullptr);
    gdi::TBitmap clip;
    ASSERT_TRUE(gui::Clipboard()->GetBitmap(clip));
    EXPECT_EQ(clip.Width(), 570);
    EXPECT_EQ(clip.Height(), 172);
    EXPECT_EQ(clip.Canvas()->Pixels(300, 85), PicturePixel(s->ImageVertFeld, 300, 85));

    s->MIInfoInterpolationClick(nullptr);
    ASSERT_EQ(presenter->boxes.size(), 2u);
    EXPECT_EQ(presenter->boxes[1].type, gui::TMsgDlgType::mtInformation);
    EXPECT_EQ(presenter->boxes[1].text,
              "Wenn die Interpolation ausgeschaltet ist, werden die realen gerechneten "
              "Datenpunkte sichtbar.\r\nIm eigeschalteten Zustand werden die Zwischenräume "
              "interpoliert. Dabei wird ein 2-dimensionales\r\nVerfahren angewendet, welches "
              "zuerst die horizontale und dann die vertikale Interpolation ausführt.\r\nUm die "
              "Anzahl der Datenpunkte in vertikaler Richtung zu vergrößern, muss bei EZNEC mit "
              "einer\r\nhöheren Ebenenzahl gerechnet werden.\r\nDie horizontalen Punkte werden "
              "durch die Anzahl der Punkte beim horizontalen Schnitt verändert.");

    // Each request opens a window of its own; closing one releases it.
    TFormVertikal* second = Open();
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(Sections().size(), 2u);
    s->Close();
    for (int i = 0; i < 5 && Sections().size() > 1; ++i) app->ProcessMessages();
    ASSERT_EQ(Sections().size(), 1u);
    EXPECT_EQ(Sections()[0], second);

    // "Datei > &Schliessen" closes its own window, as the menu choice runs it.
    TFormVertikal* third = Open();
    ASSERT_NE(third, nullptr);
    ASSERT_EQ(third->MISchliessen->Caption(), "&Schliessen");
    third->MISchliessen->Action()->trigger();
    for (int i = 0; i < 5 && Sections().size() > 1; ++i) app->ProcessMessages();
    ASSERT_EQ(Sections().size(), 1u);
    EXPECT_EQ(Sections()[0], second);
    second->MISchliessen->Action()->trigger();
    for (int i = 0; i < 5 && !Sections().empty(); ++i) app->ProcessMessages();
    EXPECT_TRUE(Sections().empty());
    EXPECT_EQ(presenter->boxes.size(), 2u);  // no box of its own
}

}  // namespace

// Windows without a place of their own open over the main window, not at the screen's corner:
// the cut-line dialog and the first section centred on it, a second section cascaded from the
// first.
TEST_F(VerticalTest, DialogAndSectionsOpenOverTheMainWindow) {
    Load({2, 5});
    form->SetBounds(0, 0, form->Width(), form->Height());  // the whole test screen
    form->Show();
    auto centre = [](const gui::TCustomForm& f) {
        return gdi::TPoint{f.Left() + f.Width() / 2, f.Top() + f.Height() / 2};
    };
    const gdi::TPoint mainCentre = centre(*form);

    gdi::TPoint dialogCentre{};
    presenter->formHandler = [&](gui::TCustomForm& f) {
        dialogCentre = centre(f);
        return gui::mrCancel;
    };
    form->MISchnittDefinitionClick(nullptr);
    EXPECT_NEAR(dialogCentre.X, mainCentre.X, 1);
    EXPECT_NEAR(dialogCentre.Y, mainCentre.Y, 1);

    TFormVertikal* first = Open();
    ASSERT_NE(first, nullptr);
    // Its height follows the section after it was placed: the top edge shows where.
    EXPECT_NEAR(first->Left() + first->Width() / 2, mainCentre.X, 1);
    EXPECT_GT(first->Top(), form->Top());
    TFormVertikal* second = Open();
    ASSERT_NE(second, nullptr);
    const int step = second->Left() - first->Left();
    EXPECT_GE(step, 20);
    EXPECT_EQ(second->Top() - first->Top(), step);

    // With the earlier sections closed, the next one is centred again.
    first->Close();
    second->Close();
    app->ProcessMessages();
    TFormVertikal* third = Open();
    ASSERT_NE(third, nullptr);
    EXPECT_NEAR(third->Left() + third->Width() / 2, mainCentre.X, 1);
}
