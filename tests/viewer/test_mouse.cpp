// The read-out under the mouse, measuring points by click and their marks, the Shift+click end
// points of the cut line, and the mouse being ignored while no plane is on the map.
#include <gtest/gtest.h>

#include <QCursor>
#include <QPoint>

#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <utility>

#include "foundation/FormatLib.h"
#include "radio/AfuLib.h"
#include "viewer/SkalarFeld2.h"
#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

double ExampleValue(double x, double y) { return 1 + 0.5 * (x + 10) + 0.25 * y; }

class MouseTest : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        StartUp();
    }
    // An E plane at 2 m through the point set: x -10..10 and y 0..20 in steps of 0.5 m, shown
    // at twice the field strength (100 W file power, 400 W display power). The map scale is
    // then 28.45 pixels per metre with the origin (-10, 20).
    void LoadExamplePlane() {
        for (int j = 0; j <= 40; ++j)
            for (int i = 0; i <= 40; ++i) {
                const double x = -10 + 0.5 * i, y = 0.5 * j;
                AppendFieldPoint(x, y, 2, ExampleValue(x, y), 0, 0, 0);
            }
        HasEPlanes = true;
        form->afterLoading();
        Power = 100;
        PowerShow = 400;
        FieldShown = true;
        form->UpdatePicture(form);
        ASSERT_DOUBLE_EQ(ScreenScale, 28.45);
    }
    void Move(int x, int y) { form->ImageFeld->OnMouseMove(form->ImageFeld, 0, x, y); }
    void Click(int x, int y, gui::TMouseButton b = gui::mbLeft, gui::TShiftState s = 0) {
        form->ImagePlay->OnMouseDown(form->ImagePlay, b, s, x, y);
    }
    gdi::TColor PlayPixel(int x, int y) { return form->ImagePlay->Canvas()->Pixels(x, y); }
    static void SilentItem(gui::TRadioGroup* rg, int item) {
        auto handler = rg->OnClick;
        rg->OnClick = nullptr;
        rg->SetItemIndex(item);
        rg->OnClick = handler;
    }
};

TEST_F(MouseTest, ReadOutShowsPositionNearestGridPointAndValue) {
    LoadExamplePlane();
    struct Case {
        int px, py;
        const char* coords;
        const char* square;
        double gx, gy;  // the nearest grid point
    };
    const Case cases[] = {
        {0, 0, "x: -10,0 m   y: 20,0 m", "x: -10,0 m   y: 20,0 m", -10, 20},
        {569, 569, "x: 10,0 m   y: 0,0 m", "x: 10,0 m   y: 0,0 m", 10, 0},
        // (100, 200) is (-6.485, 12.970): the nearest grid point is (-6.5, 13).
        {100, 200, "x: -6,5 m   y: 13,0 m", "x: -6,5 m   y: 13,0 m", -6.5, 13},
        // (290, 10) is (0.193, 19.649): grid point (0, 19.5).
        {290, 10, "x: 0,2 m   y: 19,6 m", "x: 0,0 m   y: 19,5 m", 0, 19.5},
    };
    for (const Case& c : cases) {
        Move(c.px, c.py);
        EXPECT_EQ(form->LAcoords->Caption(), std::string("Koordinaten   ") + c.coords)
            << c.px << "," << c.py;
        EXPECT_EQ(form->LATest->Caption(), std::string("Feldquadrat   ") + c.square);
        EXPECT_EQ(form->LAField->Caption(),
                  rtl::Format("Feldstärke    %2.1f V/m", 2 * ExampleValue(c.gx, c.gy)));
    }
}

// After a change of plane, component, field type or display power the read-out holds nothing
// of the map drawn before: with the mouse away from the map it is empty, with the mouse over the
// map it reads the new map there.
TEST_F(MouseTest, ReadOutFollowsTheMapShown) {
    // E planes at 1 m and 5 m, the 5 m plane with ten times the values.
    for (double z : {1.0, 5.0})
        for (int j = 0; j <= 40; ++j)
            for (int i = 0; i <= 40; ++i) {
                const double x = -10 + 0.5 * i, y = 0.5 * j;
                AppendFieldPoint(x, y, z, (z > 1 ? 10 : 1) * ExampleValue(x, y), 0, 0, 0);
            }
    HasEPlanes = true;
    form->afterLoading();
    Power = 100;
    PowerShow = 100;
    FieldShown = true;
    form->UpdatePicture(form);
    form->Show();
    app->ProcessMessages();
    ASSERT_TRUE(form->ImageFeld->Showing());
    ASSERT_EQ(form->CBPlanes->ItemIndex(), 0);

    const auto empty = [this] {
        return form->LAcoords->Caption().empty() && form->LAField->Caption().empty() &&
               form->LATest->Caption().empty();
    };
    // (100, 200) is nearest to the grid point (-6.5, 13).
    const auto valueAt = [](double factor) {
        return rtl::Format("Feldstärke    %2.1f V/m", factor * ExampleValue(-6.5, 13));
    };
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"next plane", [this] { form->ButTooglePlus->Click(); }},
        {"component", [this] { form->RGKomponente->SetItemIndex(form->RGKomponente->ItemIndex() == 0 ? 3 : 0); }},
        {"field type", [this] { form->RGFeldTyp->SetItemIndex(1); }},  // no H planes: back to E
        {"display power", [this] { form->But100->Click(); }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        // Away from the map (the mouse left it over a control that does not empty the read-out).
        Move(100, 200);
        ASSERT_FALSE(empty());
        QCursor::setPos(QPoint(-500, -500));
        change();
        EXPECT_TRUE(empty()) << form->LAField->Caption();
    }

    // Over the map: the new plane is read out under the mouse.
    const gdi::TPoint at = form->ImageFeld->ClientToScreen({100, 200});
    QCursor::setPos(QPoint(at.X, at.Y));
    form->RGKomponente->SetItemIndex(0);
    form->CBPlanes->SetItemIndex(0);
    form->UpdatePicture(form);
    EXPECT_EQ(form->LAField->Caption(), valueAt(1));
    form->ButTooglePlus->Click();
    ASSERT_EQ(form->CBPlanes->ItemIndex(), 1);
    EXPECT_EQ(form->LAField->Caption(), valueAt(10));
    EXPECT_EQ(form->LATest->Caption(), "Feldquadrat   x: -6,5 m   y: 13,0 m");
}

TEST_F(MouseTest, ReadOutAgreesWithThePlanesNearestSampleSearch) {
    LoadExamplePlane();
    // The same points imported a second time with other values: every nearest distance is
    // shared by two samples, and the plane's own tie rule decides which value is shown.
    for (int j = 0; j <= 40; ++j)
        for (int i = 0; i <= 40; ++i) {
            const double x = -10 + 0.5 * i, y = 0.5 * j;
            AppendFieldPoint(x, y, 2, 100 + i + 41 * j, 0, 0, 0);
        }
    form->UpdatePicture(form);
    const TSkalarFeld2& plane = *CurrentPlane;
    ASSERT_EQ(plane.Count(), 2 * 41 * 41);
    for (int py = 0; py < 569; py += 23)
        for (int px = 0; px < 569; px += 19) {
            Move(px, py);
            const double wx = px / ScreenScale + ScreenOriginX;
            const double wy = -py / ScreenScale + ScreenOriginY;
            const int k = plane.NearestSample(wx, wy);
            ASSERT_EQ(form->LAField->Caption(),
                      rtl::Format("Feldstärke    %2.1f V/m", 2 * plane.Value(k)))
                << px << "," << py;
            ASSERT_EQ(form->LATest->Caption(),
                      rtl::Format("Feldquadrat   x: %2.1f m   y: %2.1f m", plane.x[k], plane.y[k]));
        }

    // Distinct samples at irregular places: the single nearest one.
    CurrentPlane = std::make_unique<TSkalarFeld2>();
    const double xs[] = {-10, -3.3, 0.7, 4.1, 10, 2.2};
    const double ys[] = {0, 7.7, 19.1, 3.3, 20, 12.5};
    for (int k = 0; k < 6; ++k) CurrentPlane->Add(xs[k], ys[k], k + 1);
    for (int py = 0; py < 569; py += 31)
        for (int px = 0; px < 569; px += 29) {
            Move(px, py);
            const int k = CurrentPlane->NearestSample(px / ScreenScale + ScreenOriginX,
                                                      -py / ScreenScale + ScreenOriginY);
            ASSERT_EQ(form->LAField->Caption(),
                      rtl::Format("Feldstärke    %2.1f V/m", 2.0 * (k + 1)));
        }
}

TEST_F(MouseTest, ValueTextByFieldTypeWithCaps) {
    struct Case {
        int feldTypItem;
        double value;  // sample value; E and H are doubled by the display power
        const char* text;
    };
    const Case cases[] = {
        {0, 125000, "Feldstärke    >100000,0 V/m"},
        {0, 50000, "Feldstärke    100000,0 V/m"},
        {0, 0.04, "Feldstärke    0,1 V/m"},
        {1, 600, "Feldstärke    >1000,000 A/m"},
        {1, 0.0125, "Feldstärke    0,025 A/m"},
        {2, 377, "Impedanz      377,000 Ohm"},  // impedance is not rescaled
        {2, 250000, "Impedanz      >100000,000 Ohm"},
    };
    Power = 100;
    PowerShow = 400;
    for (const Case& c : cases) {
        SilentItem(form->RGFeldTyp, c.feldTypItem);
        form->UpdateGrenzwerte(nullptr);
        ASSERT_EQ(FeldTyp, c.feldTypItem + 1);
        CurrentPlane = std::make_unique<TSkalarFeld2>();
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 3; ++i) CurrentPlane->Add(i, j, c.value);
        form->FeldShow2();
        Move(100, 100);
        EXPECT_EQ(form->LAField->Caption(), c.text) << c.feldTypItem << " " << c.value;
    }
}

TEST_F(MouseTest, LeavingTheMapEmptiesTheLabels) {
    LoadExamplePlane();
    Move(10, 10);
    ASSERT_FALSE(form->LAcoords->Caption().empty());
    form->GBSkala->OnMouseMove(form->GBSkala, 0, 3, 3);
    EXPECT_EQ(form->LAcoords->Caption(), "");
    EXPECT_EQ(form->LAField->Caption(), "");
    EXPECT_EQ(form->LATest->Caption(), "");
}

// The reset whitens the map and empties the read-out with it: no coordinates or value of the
// field before stay beside the white map, and moving over it shows none. A failed import or
// open resets nothing: the map and its read-out stay.
TEST_F(MouseTest, ResetEmptiesTheReadOutWithTheMap) {
    const std::string damagedField = dir + "/kaputt.fdr";
    {
        std::ofstream f(damagedField, std::ios::binary);
        f << "kein Feld";
    }
    const std::string damagedImport = std::string(FELDOR_TEST_DATA) + "/eznec/truncated.txt";
    const std::pair<const char*, std::function<void()>> failures[] = {
        {"failed import",
         [&] {
             presenter->fileAnswers.push_back({true, {damagedImport}, 1});
             EXPECT_FALSE(gui::InvokeHandler(form, [&] { form->MIEZNECOpen->Click(); }));
         }},
        {"failed open",
         [&] {
             presenter->fileAnswers.push_back({true, {damagedField}, 1});
             EXPECT_FALSE(gui::InvokeHandler(form, [&] { form->MIOeffnen->Click(); }));
         }},
    };
    const std::string coords = "Koordinaten   x: -6,5 m   y: 13,0 m";
    LoadExamplePlane();
    Move(100, 200);
    ASSERT_EQ(form->LAcoords->Caption(), coords);
    const std::string value = form->LAField->Caption();
    for (const auto& [what, fail] : failures) {
        SCOPED_TRACE(what);
        fail();
        EXPECT_TRUE(FieldShown);
        EXPECT_EQ(form->LAcoords->Caption(), coords);
        EXPECT_EQ(form->LAField->Caption(), value);
        Move(100, 200);
        EXPECT_EQ(form->LAcoords->Caption(), coords);
    }

    form->MIClearAll->Click();
    EXPECT_FALSE(FieldShown);
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(form->LAcoords->Caption(), "") << pass;
        EXPECT_EQ(form->LAField->Caption(), "") << pass;
        EXPECT_EQ(form->LATest->Caption(), "") << pass;
        Move(100, 200);  // over the white map
    }
}

TEST_F(MouseTest, MouseIsIgnoredWhileNothingIsOnTheMap) {
    struct State {
        const char* name;
        std::function<void()> set;
    };
    const State states[] = {
        {"nothing rendered", [] { FieldShown = false; }},
        {"shown flag without a scale",
         [] {
             FieldShown = true;
             ScreenScale = 0;
             CurrentPlane = std::make_unique<TSkalarFeld2>();
             CurrentPlane->Add(0, 0, 1);
         }},
        {"empty plane",
         [] {
             FieldShown = true;
             ScreenScale = 10;
             CurrentPlane = std::make_unique<TSkalarFeld2>();
         }},
        {"no plane object",
         [] {
             FieldShown = true;
             ScreenScale = 10;
             CurrentPlane.reset();
         }},
    };
    for (const State& s : states) {
        s.set();
        form->LAcoords->SetCaption("Koordinaten");
        Move(50, 50);
        Click(50, 50);
        Click(50, 50, gui::mbLeft, gui::ssShift);
        EXPECT_EQ(form->LAcoords->Caption(), "Koordinaten") << s.name;
        EXPECT_EQ(FormMessExport->nof(), 0) << s.name;
        EXPECT_FALSE(CutSecondClick) << s.name;
        EXPECT_DOUBLE_EQ(CutP1y, -5) << s.name;
    }
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_F(MouseTest, ClickStoresAMeasuringPointWithItsMark) {
    LoadExamplePlane();
    Click(0, 0);
    // Any button stores a point: (100, 200) lies at (-6.485, 12.970).
    Click(100, 200, gui::mbRight);
    ASSERT_EQ(FormMessExport->nof(), 2);
    const TFormMessExport& m = *FormMessExport;
    EXPECT_DOUBLE_EQ(m.x[0], -10);
    EXPECT_DOUBLE_EQ(m.y[0], 20);
    EXPECT_DOUBLE_EQ(m.z[0], 2);
    EXPECT_DOUBLE_EQ(m.Feld[0], 2 * ExampleValue(-10, 20));
    EXPECT_EQ(m.Text[0], "E [V/m]");
    EXPECT_NEAR(m.x[1], 100 / 28.45 - 10, 1e-12);
    EXPECT_NEAR(m.y[1], 20 - 200 / 28.45, 1e-12);
    EXPECT_DOUBLE_EQ(m.Feld[1], 2 * ExampleValue(-6.5, 13));
    ASSERT_GT(GrenzwertPS, 0);
    ASSERT_GT(GrenzwertHSM, 0);
    EXPECT_DOUBLE_EQ(m.gwPS[1], 100 * m.Feld[1] / GrenzwertPS);
    EXPECT_DOUBLE_EQ(m.gwHSM[1], 100 * m.Feld[1] / GrenzwertHSM);
    EXPECT_EQ(FormMessExport->SGExport->RowCount(), 3);
    EXPECT_EQ(FormMessExport->SGExport->Cells(0, 2), "MP    2");

    // Crosses of half size 10 at the clicked pixels, on black.
    EXPECT_EQ(PlayPixel(5, 5), ColorMessPkt);
    EXPECT_EQ(PlayPixel(95, 205), ColorMessPkt);
    EXPECT_EQ(PlayPixel(108, 192), ColorMessPkt);
    EXPECT_EQ(PlayPixel(100, 190), gdi::clBlack);
    EXPECT_EQ(PlayPixel(300, 300), gdi::clBlack);
    EXPECT_TRUE(form->ImagePlay->Transparent());
    EXPECT_EQ(form->ImagePlay->Picture()->Bitmap()->TransparentColor(), gdi::clBlack);

    // The cut line clears the layer white and takes away the marks; the next point brings
    // them back on black.
    form->paintVerticalCut();
    Click(200, 200);
    EXPECT_EQ(PlayPixel(300, 300), gdi::clBlack);
    EXPECT_EQ(PlayPixel(5, 5), ColorMessPkt);
    EXPECT_EQ(form->ImagePlay->Picture()->Bitmap()->TransparentColor(), gdi::clBlack);
}

TEST_F(MouseTest, PlaneHeightAndValueByFieldType) {
    LoadExamplePlane();
    struct Case {
        double storedHeight;
        const char* label;
        double z;
        double factor;  // E and H at the display power, impedance as it is
    };
    const Case cases[] = {
        {2, "E [V/m]", 2, 2},
        {-1.5, "E [V/m]", -1.5, 2},
        {102, "H [A/m]", 2, 2},
        {202, "Z [Ohm]", 2, 1},
        {202.5, "Z [Ohm]", 2.5, 1},
    };
    int n = 0;
    for (const Case& c : cases) {
        CurrentHeight = c.storedHeight;
        Click(0, 0);
        ASSERT_EQ(FormMessExport->nof(), ++n);
        const int k = n - 1;
        EXPECT_EQ(FormMessExport->Text[k], c.label) << c.storedHeight;
        EXPECT_NEAR(FormMessExport->z[k], c.z, 1e-12) << c.storedHeight;
        EXPECT_DOUBLE_EQ(FormMessExport->Feld[k], c.factor * ExampleValue(-10, 20));
    }
}

// A limit that does not exist (-99, its A/m form, or the 0 of a limit outside its range) gives
// no percentage: "---" in the list, not a percentage of the marker.
TEST_F(MouseTest, PointsWhereALimitDoesNotExistListNoPercentage) {
    LoadExamplePlane();
    const double none = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double ps, hsm;
        double psPercent, hsmPercent;  // NaN: none
        const char* psCell;
        const char* hsmCell;
    } cases[] = {
        {-99, -99 / 376.9911184307752, none, none, "---", "---"},
        {0, 0, none, none, "---", "---"},
        {44.63, -99, 100 * 12.0 / 44.63, none, " 26,9", "---"},
        {-99, 168.1, none, 100 * 12.0 / 168.1, "---", "  7,1"},
        {24, 48, 50, 25, " 50,0", " 25,0"},
    };
    int n = 0;
    for (const Case& c : cases) {
        GrenzwertPS = c.ps;
        GrenzwertHSM = c.hsm;
        Click(0, 0);  // 12 V/m at the display power
        ASSERT_EQ(FormMessExport->nof(), ++n);
        const int k = n - 1;
        for (const auto& [stored, expected] : {std::pair{FormMessExport->gwPS[k], c.psPercent},
                                               std::pair{FormMessExport->gwHSM[k], c.hsmPercent}}) {
            if (std::isnan(expected))
                EXPECT_TRUE(std::isnan(stored)) << c.ps << " " << c.hsm << ": " << stored;
            else
                EXPECT_DOUBLE_EQ(stored, expected) << c.ps << " " << c.hsm;
        }
        EXPECT_EQ(FormMessExport->SGExport->Cells(5, n), c.psCell) << c.ps;
        EXPECT_EQ(FormMessExport->SGExport->Cells(6, n), c.hsmCell) << c.hsm;
    }
}

// A point on an impedance plane: neither limit exists for Z = E/H, in the list nor in the saved
// list.
TEST_F(MouseTest, ImpedancePointListsNoPercentage) {
    LoadExamplePlane();
    for (int j = 0; j <= 40; ++j)
        for (int i = 0; i <= 40; ++i) {
            const double x = -10 + 0.5 * i, y = 0.5 * j;
            AppendFieldPoint(x, y, 202, 116.7, 0, 0, 0);
        }
    HasZPlanes = true;
    form->RGFeldTyp->SetItemIndex(2);
    ASSERT_EQ(FeldTyp, 3);
    ASSERT_DOUBLE_EQ(CurrentHeight, 202);
    Click(0, 0);
    ASSERT_EQ(FormMessExport->nof(), 1);
    EXPECT_EQ(FormMessExport->SGExport->Cells(4, 1), "116,7000");
    EXPECT_EQ(FormMessExport->SGExport->Cells(5, 1), "---");
    EXPECT_EQ(FormMessExport->SGExport->Cells(6, 1), "---");

    const std::string path = dir + "/liste.txt";
    presenter->fileAnswers.push_back({true, {path}, 1});
    FormMessExport->ButSave->Click();
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\r\n  MP    1 ;    -10,0 ;     20,0 ;      2,0 ; 116,7000 ;      --- ;"
                        "      --- ;Z [Ohm]   ;\r\n"),
              std::string::npos)
        << text;
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_F(MouseTest, ShiftClicksSetTheCutEndPointsInTurn) {
    LoadExamplePlane();
    ASSERT_FALSE(CutSecondClick);
    Click(0, 0, gui::mbLeft, gui::ssShift);
    EXPECT_DOUBLE_EQ(CutP1x, -10);
    EXPECT_DOUBLE_EQ(CutP1y, 20);
    EXPECT_DOUBLE_EQ(CutP2x, 0);
    EXPECT_DOUBLE_EQ(CutP2y, 15);
    EXPECT_TRUE(CutSecondClick);

    Click(569, 569, gui::mbLeft, gui::ssShift | gui::ssLeft);
    EXPECT_NEAR(CutP2x, 10, 1e-12);
    EXPECT_NEAR(CutP2y, 0, 1e-12);
    EXPECT_DOUBLE_EQ(CutP1x, -10);
    EXPECT_FALSE(CutSecondClick);

    Click(100, 200, gui::mbLeft, gui::ssShift);
    EXPECT_NEAR(CutP1x, 100 / 28.45 - 10, 1e-12);
    EXPECT_NEAR(CutP2x, 10, 1e-12);
    EXPECT_TRUE(CutSecondClick);
    EXPECT_EQ(FormMessExport->nof(), 0) << "a Shift+click stores no measuring point";
}

TEST_F(MouseTest, MarksFollowTheCurrentMappingAndKeepBlackTransparent) {
    // 10 pixels per metre with the top-left corner at (0, 56.8): the bottom row is y = 0.
    ScreenScale = 10;
    ScreenOriginX = 0;
    ScreenOriginY = 56.8;
    FormMessExport->add("E [V/m]", 0, 0, 2, 1, 1, 1);     // the bottom-left corner
    FormMessExport->add("E [V/m]", 20, 46.8, 2, 1, 1, 1);  // pixel (200, 100)
    FormMessExport->add("E [V/m]", -1e12, 1e12, 2, 1, 1, 1);  // far off the map
    form->MessPktUpdate(nullptr);
    gdi::TBitmap* bmp = form->ImagePlay->Picture()->Bitmap();
    ASSERT_EQ(bmp->Height(), 569);
    EXPECT_EQ(PlayPixel(1, 567), ColorMessPkt);
    EXPECT_EQ(PlayPixel(5, 563), ColorMessPkt);
    EXPECT_EQ(bmp->TransparentColor(), gdi::clBlack) << "a mark in the corner keeps black";
    EXPECT_EQ(PlayPixel(205, 105), ColorMessPkt);
    EXPECT_EQ(PlayPixel(195, 105), ColorMessPkt);
    // The number is written below right of the cross, in the mark colour.
    int textPixels = 0;
    for (int y = 110; y < 130; ++y)
        for (int x = 210; x < 250; ++x) textPixels += PlayPixel(x, y) == ColorMessPkt;
    EXPECT_GT(textPixels, 10);
    EXPECT_EQ(PlayPixel(400, 400), gdi::clBlack);
}

}  // namespace
