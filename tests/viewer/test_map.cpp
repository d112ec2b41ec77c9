// The colour map of a plane: pixels, extent and screen mapping, the reference of the colour
// scale, display power, failures that leave the map as it was, and the plane, component and
// field-type controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <random>

#include "tests/support/FocusKeys.h"
#include "foundation/ColorLib.h"
#include "foundation/MathLib.h"
#include "radio/AfuLib.h"
#include "viewer/FeldorVars.h"
#include "viewer/SkalarFeld2.h"
#include "tests/support/EventLoop.h"
#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

using ValueFn = std::function<double(double x, double y)>;

// A regular grid of samples from (x0, y0) to (x1, y1), row by row.
std::unique_ptr<TSkalarFeld2> Grid(double x0, double x1, double dx, double y0, double y1,
                                   double dy, const ValueFn& value) {
    auto p = std::make_unique<TSkalarFeld2>();
    const int nx = static_cast<int>(std::lround((x1 - x0) / dx));
    const int ny = static_cast<int>(std::lround((y1 - y0) / dy));
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) {
            const double x = x0 + i * dx, y = y0 + j * dy;
            p->Add(x, y, value(x, y));
        }
    return p;
}

gdi::TColor MapPixel(TFormFeldor* form, int x, int y) {
    const gdi::TBitmap* b = form->ImageFeld->Picture()->Graphic();
    const std::uint8_t* p = b->ScanLine(y) + 3 * x;
    return gdi::RGB(p[2], p[1], p[0]);
}

gdi::TBitmap& MapBitmap(TFormFeldor* form) { return *form->ImageFeld->Picture()->Bitmap(); }

// The map's colour of a displayed value against the reference of the scale.
gdi::TColor Expected(double shown, double bezug) {
    return ValueToScaleColor(static_cast<double>(Clip01(shown / bezug)));
}

class MapTest : public ViewerFixture {
protected:
    // Start-up with a field type and reference chosen without a plane being rendered.
    void Ready(int feldTypItem = 0, int bezugItem = 0) {
        StartUp();
        RGSilently(form->RGFeldTyp, feldTypItem);
        form->UpdateGrenzwerte(nullptr);
        RGSilently(form->RGBezug, bezugItem);
    }
    static void RGSilently(gui::TRadioGroup* rg, int item) {
        auto handler = rg->OnClick;
        rg->OnClick = nullptr;
        rg->SetItemIndex(item);
        rg->OnClick = handler;
    }
    // Puts one plane of E points at the given height into the point set.
    static void AddEPlane(double z, int n = 5) {
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) AppendFieldPoint(i, j, z, z + i, i, j, -1);
    }
};

TEST_F(MapTest, ExamplePlaneGivesOnePixelPerGridPointAndTheScreenMapping) {
    Ready(0, 0);
    ArrowPos = 1.0;
    Power = 100;
    PowerShow = 750;
    // Every sample a value of its own; the maximum sits at (10, 20).
    CurrentPlane = Grid(-10, 10, 0.5, 0, 20, 0.5, [](double x, double y) {
        return 3 + 0.37 * (x + 10) + 0.11 * y * y;
    });
    form->FeldShow2();

    EXPECT_TRUE(FieldShown);
    EXPECT_DOUBLE_EQ(PixelPerMeter, 2);
    EXPECT_DOUBLE_EQ(ScreenScale, 28.45);
    EXPECT_DOUBLE_EQ(ScreenOriginX, -10);
    EXPECT_DOUBLE_EQ(ScreenOriginY, 20);
    EXPECT_DOUBLE_EQ(PlaneXMin, -10);
    EXPECT_DOUBLE_EQ(PlaneXMax, 10);
    EXPECT_DOUBLE_EQ(PlaneYMin, 0);
    EXPECT_DOUBLE_EQ(PlaneYMax, 20);
    EXPECT_EQ(form->LAxRange->Caption(), "x-Intervall: -10,0 m ... 10,0 m");
    EXPECT_EQ(form->LAyRange->Caption(), "y-Intervall: 0,0 m ... 20,0 m");
    ASSERT_EQ(MapBitmap(form).Width(), 41);
    ASSERT_EQ(MapBitmap(form).Height(), 41);

    // Stretched proportionally from the top-left corner over the whole image.
    EXPECT_TRUE(form->ImageFeld->Stretch());
    EXPECT_TRUE(form->ImageFeld->Proportional());
    EXPECT_EQ(form->ImageFeld->DestRect(), gdi::Rect(0, 0, 569, 569));

    // Every pixel: its sample's value at the display power (as ScaleFieldStrength gives it)
    // against the maximum, north up.
    const double fmax = ScaleFieldStrength(3 + 0.37 * 20 + 0.11 * 400, Power, PowerShow);
    EXPECT_DOUBLE_EQ(BezugsFeld, fmax);
    const TSkalarFeld2& p = *CurrentPlane;
    for (int k = 0; k < p.Count(); ++k) {
        const int px = static_cast<int>(std::lround((p.x[k] + 10) * 2));
        const int py = 40 - static_cast<int>(std::lround(p.y[k] * 2));
        ASSERT_EQ(MapPixel(form, px, py),
                  Expected(ScaleFieldStrength(p.Feld[k], Power, PowerShow), BezugsFeld))
            << "sample " << k;
    }
    EXPECT_EQ(MapPixel(form, 40, 0), gdi::TColor{0x0000FF});  // the maximum is full red
    // The sample (-10, 20) is pixel (0, 0), the sample (10, 0) pixel (40, 40).
    EXPECT_EQ(MapPixel(form, 0, 0), Expected(ScaleFieldStrength(3 + 44, Power, PowerShow), fmax));
    EXPECT_EQ(MapPixel(form, 40, 40),
              Expected(ScaleFieldStrength(3 + 0.37 * 20, Power, PowerShow), fmax));
}

TEST_F(MapTest, PowerRescalingMatchesScaleFieldStrengthBitForBit) {
    // The map takes the square root once per plane; that must equal the per-sample call.
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mag(-30, 30);
    const double powers[] = {1, 2, 7.5, 100, 333, 750, 1000, 0.3};
    for (double pOld : powers)
        for (double pNew : powers) {
            const long double factor = std::sqrt(static_cast<long double>(pNew) / pOld);
            for (int i = 0; i < 2000; ++i) {
                const double e = std::ldexp(std::uniform_real_distribution<double>(-1, 1)(rng),
                                            static_cast<int>(mag(rng)));
                ASSERT_EQ(ScaleFieldStrength(e, pOld, pNew), static_cast<double>(e * factor))
                    << e << " " << pOld << " " << pNew;
            }
        }
}

TEST_F(MapTest, AValueEqualToTheReferenceTakesTheColourAtTheArrow) {
    Ready(0, 0);
    Power = PowerShow = 1;
    // One row: 0, 10, ..., 100 against the plane maximum.
    CurrentPlane = Grid(0, 10, 1, 0, 0, 1, [](double x, double) { return 10 * x; });
    for (double arrow : {1.0, 0.8, 0.5}) {
        ArrowPos = arrow;
        form->FeldShow2();
        EXPECT_DOUBLE_EQ(BezugsFeld, 100 * (1 / arrow));
        EXPECT_EQ(MapPixel(form, 10, 0), ValueToScaleColor(arrow)) << arrow;
        EXPECT_EQ(MapPixel(form, 0, 0), gdi::clBlack);
    }
    EXPECT_NE(MapPixel(form, 10, 0), gdi::TColor{0x0000FF});

    // Against the fixed 10 V/m with the arrow at 0.8: 10 V/m in the arrow's colour, red from
    // 12.5 V/m on.
    RGSilently(form->RGBezug, 6);
    ArrowPos = 0.8;
    CurrentPlane = Grid(0, 3, 1, 0, 0, 1, [](double x, double) { return 7.5 + 2.5 * x; });
    form->FeldShow2();
    EXPECT_EQ(MapPixel(form, 1, 0), ValueToScaleColor(0.8));
    EXPECT_EQ(MapPixel(form, 2, 0), gdi::TColor{0x0000FF});
    EXPECT_EQ(MapPixel(form, 3, 0), gdi::TColor{0x0000FF});
    EXPECT_EQ(MapPixel(form, 0, 0), ValueToScaleColor(0.6));
}

TEST_F(MapTest, DisplayPowerChangesEAndHButNotImpedance) {
    // E against the fixed 10 V/m: doubling the display power multiplies values by sqrt 2.
    Ready(0, 6);
    ArrowPos = 0.8;
    Power = 100;
    PowerShow = 100;
    CurrentPlane = Grid(0, 1, 1, 0, 1, 1, [](double, double) { return 5; });
    form->FeldShow2();
    EXPECT_DOUBLE_EQ(BezugsFeld, 12.5);
    EXPECT_EQ(MapPixel(form, 0, 0), Expected(5, 12.5));
    PowerShow = 200;
    form->FeldShow2();
    EXPECT_EQ(MapPixel(form, 0, 0), Expected(5 * std::sqrt(2.0), 12.5));
    EXPECT_NE(Expected(5, 12.5), Expected(5 * std::sqrt(2.0), 12.5));

    // Impedance against 377 Ohm: the power plays no part.
    RGSilently(form->RGFeldTyp, 2);
    form->UpdateGrenzwerte(nullptr);
    RGSilently(form->RGBezug, 6);
    CurrentPlane = Grid(0, 1, 1, 0, 1, 1, [](double, double) { return 200; });
    PowerShow = 100;
    form->FeldShow2();
    const gdi::TColor at100 = MapPixel(form, 1, 1);
    PowerShow = 1000;
    form->FeldShow2();
    EXPECT_EQ(MapPixel(form, 1, 1), at100);
    EXPECT_EQ(at100, Expected(200, 377 * (1 / 0.8)));
}

TEST_F(MapTest, ReferenceThatIsNotAboveZeroDrawsBlack) {
    Ready(0, 1);
    GrenzwertPS = NoValue;  // no limit for this band
    Power = PowerShow = 1;
    ArrowPos = 0.8;
    CurrentPlane = Grid(0, 2, 1, 0, 2, 1, [](double x, double) { return x - 1; });
    form->FeldShow2();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(MapPixel(form, x, y), gdi::clBlack) << x << "," << y;

    // A plane whose maximum is 0 under "max. Feldstärke".
    RGSilently(form->RGBezug, 0);
    CurrentPlane = Grid(0, 2, 1, 0, 2, 1, [](double, double) { return 0; });
    form->FeldShow2();
    EXPECT_EQ(MapPixel(form, 2, 2), gdi::clBlack);
    EXPECT_FALSE(std::isnan(ScreenScale));

    // Negative components under a positive reference are black as well.
    RGSilently(form->RGBezug, 3);
    CurrentPlane = Grid(0, 2, 1, 0, 2, 1, [](double x, double) { return x == 0 ? -3 : 1; });
    form->FeldShow2();
    EXPECT_EQ(MapPixel(form, 0, 0), gdi::clBlack);
    EXPECT_NE(MapPixel(form, 1, 0), gdi::clBlack);
}

TEST_F(MapTest, CoarseRowsAndSingleRowPlanes) {
    Ready(0, 0);
    ArrowPos = 1;
    // y step twice the x step: two rows per metre, every second row without a sample.
    CurrentPlane = Grid(0, 2, 0.5, 0, 2, 1, [](double, double) { return 1; });
    form->FeldShow2();
    ASSERT_EQ(MapBitmap(form).Width(), 5);
    ASSERT_EQ(MapBitmap(form).Height(), 5);
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(MapPixel(form, x, 0), gdi::TColor{0x0000FF});
        EXPECT_EQ(MapPixel(form, x, 1), gdi::clWhite);  // as a new bitmap has it
        EXPECT_EQ(MapPixel(form, x, 2), gdi::TColor{0x0000FF});
    }

    // All samples in one row: a bitmap one pixel high and a finite scale set by x alone.
    CurrentPlane = Grid(-2, 2, 0.5, 3, 3, 1, [](double x, double) { return x + 3; });
    form->FeldShow2();
    EXPECT_EQ(MapBitmap(form).Height(), 1);
    EXPECT_EQ(MapBitmap(form).Width(), 9);
    EXPECT_DOUBLE_EQ(ScreenScale, 569 * 2.0 / 8);
    EXPECT_DOUBLE_EQ(ScreenOriginY, 3);
}

TEST_F(MapTest, FailedRenderingLeavesMapAndMappingAsTheyWere) {
    Ready(0, 0);
    CurrentPlane = Grid(0, 4, 1, 0, 4, 1, [](double x, double) { return x; });
    form->FeldShow2();
    const gdi::TColor corner = MapPixel(form, 4, 0);
    const double scale = ScreenScale, bezug = BezugsFeld;
    const std::string xRange = form->LAxRange->Caption();

    auto unchanged = [&] {
        EXPECT_EQ(MapBitmap(form).Width(), 5);
        EXPECT_EQ(MapPixel(form, 4, 0), corner);
        EXPECT_DOUBLE_EQ(ScreenScale, scale);
        EXPECT_DOUBLE_EQ(BezugsFeld, bezug);
        EXPECT_DOUBLE_EQ(PlaneXMax, 4);
        EXPECT_DOUBLE_EQ(PixelPerMeter, 1);
        EXPECT_EQ(form->LAxRange->Caption(), xRange);
    };

    CurrentPlane = std::make_unique<TSkalarFeld2>();  // empty plane
    EXPECT_THROW(form->FeldShow2(), rtl::ERangeError);
    unchanged();


    // 0.1 m steps over 1 km: 10001 pixels wide is refused.
    CurrentPlane = std::make_unique<TSkalarFeld2>();
    CurrentPlane->Add(0, 0, 1);
    CurrentPlane->Add(0.1, 0, 1);
    CurrentPlane->Add(1000, 0.1, 1);
    try {
        form->FeldShow2();
        ADD_FAILURE() << "an oversized plane was drawn";
    } catch (const rtl::Exception& e) {
        EXPECT_NE(std::string(e.what()).find("10001 x 2"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("8192 x 8192"), std::string::npos) << e.what();
    }
    unchanged();

    // Not-a-number coordinates cannot make a bitmap either.
    CurrentPlane = std::make_unique<TSkalarFeld2>();
    CurrentPlane->Add(0, 0, 1);
    CurrentPlane->Add(1, 0, 1);
    CurrentPlane->Add(2, std::numeric_limits<double>::infinity(), 1);
    EXPECT_THROW(form->FeldShow2(), rtl::Exception);
    unchanged();

    // Up to 8192 pixels is fine.
    CurrentPlane = std::make_unique<TSkalarFeld2>();
    CurrentPlane->Add(0, 0, 1);
    CurrentPlane->Add(1, 0, 1);
    CurrentPlane->Add(8191, 0, 1);
    form->FeldShow2();
    EXPECT_EQ(MapBitmap(form).Width(), 8192);
}

class PlaneControlsTest : public MapTest {
protected:
    // Three E planes at 1, 2 and 3 m, listed in the plane combo, and a first rendering.
    void Loaded() {
        Ready(0, 1);
        for (double z : {1.0, 2.0, 3.0}) AddEPlane(z);
        ShowFirstEPlane();
    }
};

TEST_F(PlaneControlsTest, PlusAndMinusWrapAround) {
    Loaded();
    ASSERT_EQ(form->CBPlanes->Items()->Count(), 3);
    EXPECT_DOUBLE_EQ(CurrentHeight, 1.0);
    EXPECT_EQ(CurrentPlane->Count(), 25);

    form->ButToggleMinusClick(nullptr);  // first -> last
    EXPECT_EQ(form->CBPlanes->ItemIndex(), 2);
    EXPECT_DOUBLE_EQ(CurrentHeight, 3.0);
    EXPECT_DOUBLE_EQ(CurrentPlane->Value(1), 4.0);  // z + x of the plane at 3 m
    form->ButTooglePlusClick(nullptr);  // last -> first
    EXPECT_EQ(form->CBPlanes->ItemIndex(), 0);
    EXPECT_DOUBLE_EQ(CurrentHeight, 1.0);
    form->ButTooglePlusClick(nullptr);
    EXPECT_EQ(form->CBPlanes->ItemIndex(), 1);

    // From no selection "+" gives the first item, "-" the last but one.
    form->CBPlanes->SetItemIndex(-1);
    form->ButTooglePlusClick(nullptr);
    EXPECT_EQ(form->CBPlanes->ItemIndex(), 0);
    form->CBPlanes->SetItemIndex(-1);
    form->ButToggleMinusClick(nullptr);
    EXPECT_EQ(form->CBPlanes->ItemIndex(), 1);
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_F(PlaneControlsTest, PlusAndMinusOnAnEmptyComboDoNothing) {
    Ready();
    ASSERT_EQ(form->CBPlanes->Items()->Count(), 0);
    EXPECT_NO_THROW(form->ButTooglePlusClick(nullptr));
    EXPECT_NO_THROW(form->ButToggleMinusClick(nullptr));
    EXPECT_EQ(form->CBPlanes->Text(), "-keine-");
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_F(PlaneControlsTest, PlaneTextThatIsNoNumber) {
    Ready();
    form->UpdatePicture(nullptr);  // "-keine-"
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].text,
              "Fehler in TFormFeldor.UpdatePicture: CBPlanes.Text nicht vom Typ Float!");
    EXPECT_EQ(presenter->boxes[0].type, gui::TMsgDlgType::mtError);

    // Number characters that are no number: the conversion error reaches the caller.
    form->CBPlanes->SetText("1-2");
    EXPECT_THROW(form->UpdatePicture(nullptr), rtl::EConvertError);
}

// The plane combo typed into key by key, as the window system delivers the keys: a text on the
// way to a height leaves the map as it is and shows no box; a height of the list shows its plane
// at once; Return or leaving the combo brings back the height of the plane shown.
TEST_F(PlaneControlsTest, TypingIntoThePlaneComboShowsNoBoxPerKey) {
    Ready(0, 1);
    for (double z : {0.5, 2.0, 12.5}) AddEPlane(z);
    ShowFirstEPlane();
    ASSERT_DOUBLE_EQ(CurrentHeight, 0.5);
    form->Show();
    form->CBPlanes->SetFocus();
    ASSERT_TRUE(ProcessUntil([this] { return form->CBPlanes->Focused(); }));

    const auto key = [](int k, const QString& text = QString()) { PressKeyOnFocus(k, text); };
    const auto type = [&](const char* chars) {
        for (const char* c = chars; *c; ++c) {
            const int k = *c == ',' ? Qt::Key_Comma : *c == '-' ? Qt::Key_Minus
                                                                 : Qt::Key_0 + (*c - '0');
            key(*c >= 'a' ? Qt::Key_A + (*c - 'a') : k, QString(QChar(*c)));
        }
    };
    const auto erase = [&] {
        form->CBPlanes->SetSelStart(0);
        form->CBPlanes->SetSelLength(static_cast<int>(form->CBPlanes->Text().size()));
        key(Qt::Key_Backspace);
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        const char* text;  // the combo's text afterwards
        double shown;      // height of the plane on the map
        bool newPlane;     // the map was drawn anew
    };
    const Step steps[] = {
        {"text deleted", erase, "", 0.5, false},
        {"1", [&] { type("1"); }, "1", 0.5, false},
        {"12", [&] { type("2"); }, "12", 0.5, false},
        {"12,", [&] { type(","); }, "12,", 0.5, false},
        {"12,5", [&] { type("5"); }, "12,5", 12.5, true},
        {"deleted again", erase, "", 12.5, false},
        {"0", [&] { type("0"); }, "0", 12.5, false},
        {"0,", [&] { type(","); }, "0,", 12.5, false},
        {"0,1", [&] { type("1"); }, "0,1", 12.5, false},
        {"0,5", [&] { key(Qt::Key_Backspace); type("5"); }, "0,5", 0.5, true},
        {"0,57", [&] { type("7"); }, "0,57", 0.5, false},
        {"Return", [&] { key(Qt::Key_Return); }, "0,5", 0.5, false},
        {"2", [&] { erase(); type("2"); }, "2", 2.0, true},
        {"2-x", [&] { type("-x"); }, "2-x", 2.0, false},
        {"focus left", [&] {
             form->ButTooglePlus->SetFocus();
             ProcessUntil([this] { return !form->CBPlanes->Focused(); });
         }, "2,0", 2.0, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const TSkalarFeld2* before = CurrentPlane.get();
        step.act();
        EXPECT_EQ(form->CBPlanes->Text(), step.text);
        EXPECT_DOUBLE_EQ(CurrentHeight, step.shown);
        EXPECT_EQ(CurrentPlane.get() != before, step.newPlane);
        EXPECT_TRUE(presenter->boxes.empty()) << presenter->boxes.front().text;
    }
    // The height brought back is the selected item again: "+" goes on from it.
    EXPECT_EQ(form->CBPlanes->ItemIndex(), 1);
    form->ButTooglePlus->Click();
    EXPECT_DOUBLE_EQ(CurrentHeight, 12.5);

    // Without planes the combo's own text comes back.
    form->MIClearAllClick(nullptr);
    form->CBPlanes->SetFocus();
    ASSERT_TRUE(ProcessUntil([this] { return form->CBPlanes->Focused(); }));
    erase();
    type("3");
    key(Qt::Key_Return);
    EXPECT_EQ(form->CBPlanes->Text(), "-keine-");
    EXPECT_TRUE(presenter->boxes.empty());
}

// A height typed into the plane combo, which shows its plane, is where "+", "-", Return,
// leaving the combo and a change of the field type go on from, as if it had been chosen from
// the list (written as the list writes it once the typing is over).
TEST_F(PlaneControlsTest, TypedHeightIsThePlaneTheControlsGoOnFrom) {
    Ready(0, 1);
    for (double z : {0.5, 1.0, 1.5, 2.0}) AddEPlane(z);
    for (double z : {100.5, 101.0, 101.5, 102.0}) AddEPlane(z);  // H planes at the same heights
    HasHPlanes = true;
    ShowFirstEPlane();
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    ASSERT_TRUE(ProcessUntil([this] { return form->Active(); }));

    const auto typeIntoCombo = [&](const char* text) {
        form->CBPlanes->SetFocus();
        ASSERT_TRUE(ProcessUntil([this] { return form->CBPlanes->Focused(); }));
        form->CBPlanes->SetSelStart(0);
        form->CBPlanes->SetSelLength(static_cast<int>(form->CBPlanes->Text().size()));
        PressKeyOnFocus(Qt::Key_Backspace);
        for (const char* c = text; *c; ++c)
            PressKeyOnFocus(*c == ',' ? Qt::Key_Comma : Qt::Key_0 + (*c - '0'), QString(QChar(*c)));
    };
    struct Case {
        const char* typed;
        double typedShown;  // the plane shown once the text is typed
        const char* what;
        std::function<void()> act;
        double shown;  // the plane shown afterwards
        const char* text;
    };
    const Case cases[] = {
        {"1", 1.0, "+", [&] { form->ButTooglePlus->Click(); }, 1.5, "1,5"},
        {"1", 1.0, "-", [&] { form->ButToggleMinus->Click(); }, 0.5, "0,5"},
        {"2", 2.0, "+ on the last", [&] { form->ButTooglePlus->Click(); }, 0.5, "0,5"},
        {"0,50", 0.5, "- on the first", [&] { form->ButToggleMinus->Click(); }, 2.0, "2,0"},
        {"1", 1.0, "Return", [&] { PressKeyOnFocus(Qt::Key_Return); }, 1.0, "1,0"},
        {"1,50", 1.5, "focus left", [&] {
             form->ButTooglePlus->SetFocus();
             ProcessUntil([this] { return !form->CBPlanes->Focused(); });
         }, 1.5, "1,5"},
        {"1", 1.0, "field type H", [&] { form->RGFeldTyp->SetItemIndex(1); }, 101.0, "1,0"},
        {"2", 102.0, "field type E", [&] { form->RGFeldTyp->SetItemIndex(0); }, 2.0, "2,0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " then " + c.what);
        typeIntoCombo(c.typed);
        EXPECT_EQ(form->CBPlanes->Text(), c.typed);  // the text stays as typed
        EXPECT_DOUBLE_EQ(CurrentHeight, c.typedShown);
        c.act();
        EXPECT_DOUBLE_EQ(CurrentHeight, c.shown);
        EXPECT_EQ(form->CBPlanes->Text(), c.text);
        const int item = form->CBPlanes->ItemIndex();  // selected, not only written
        EXPECT_EQ(item >= 0 ? form->CBPlanes->Items()->Get(item) : "(none)", c.text);
    }
    EXPECT_TRUE(presenter->boxes.empty()) << presenter->boxes.front().text;
}

TEST_F(PlaneControlsTest, ComponentAndFieldTypeChooseThePlane) {
    Loaded();
    form->CBPlanes->SetItemIndex(1);
    form->RGKomponente->SetItemIndex(2);  // Y component, runs UpdatePicture
    EXPECT_DOUBLE_EQ(CurrentHeight, 2.0);
    EXPECT_DOUBLE_EQ(CurrentPlane->Value(5), 1.0);  // the y of the sample (0, 1)
    form->RGKomponente->SetItemIndex(0);

    // H planes get the offset of 100.
    for (double z : {101.0, 102.0}) AddEPlane(z);
    HasHPlanes = true;
    form->RGFeldTyp->SetItemIndex(1);
    EXPECT_EQ(form->RGFeldTyp->ItemIndex(), 1);
    EXPECT_EQ(PlaneList.Length(), 2);
    EXPECT_DOUBLE_EQ(CurrentHeight, 102.0);  // item 1 is kept
    EXPECT_EQ(FeldTyp, 2);
    EXPECT_EQ(form->RGBezug->ItemIndex(), 1);

    // "Z=E/H" without impedance planes while H planes exist selects "H-Feld".
    form->RGFeldTyp->SetItemIndex(0);
    form->RGFeldTyp->SetItemIndex(2);
    EXPECT_EQ(form->RGFeldTyp->ItemIndex(), 1);
    EXPECT_EQ(FeldTyp, 2);
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_F(PlaneControlsTest, ImpedancePlanesSwitchTheReferenceTo377Ohm) {
    Loaded();
    for (double z : {201.0, 202.0}) AddEPlane(z);
    HasZPlanes = true;
    form->RGFeldTyp->SetItemIndex(2);
    EXPECT_EQ(FeldTyp, 3);
    EXPECT_EQ(form->RGBezug->ItemIndex(), 6);
    EXPECT_EQ(form->RGBezug->Items()->Get(6), " 377 Ohm");
    EXPECT_DOUBLE_EQ(BezugsFeld, 377 / 0.8);
    EXPECT_GE(CurrentHeight, 200);
}

}  // namespace

namespace {

// The whole picture of scattered samples (several on one pixel, values beyond the reference,
// below 0 and not a number) against a rendering sample by sample with the library's rounding
// and colour calls.
TEST_F(MapTest, PictureEqualsASampleBySampleRendering) {
    Ready(0, 0);
    Power = 100;
    PowerShow = 750;
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> cell(2, 60);  // the two smallest x stay 0 and 0.5
    std::uniform_real_distribution<double> jitter(-0.24, 0.24), value(-5, 120);
    auto plane = std::make_unique<TSkalarFeld2>();
    for (int i = 0; i < 61; ++i) plane->Add(0.5 * i, 0, 1);  // the grid step 0.5 m
    for (int k = 0; k < 20000; ++k) {
        const double v = k % 997 == 0 ? std::nan("") : value(rng);
        plane->Add(0.5 * cell(rng) + jitter(rng), 0.5 * cell(rng) + jitter(rng), v);
    }
    const TSkalarFeld2 samples = *plane;
    CurrentPlane = std::move(plane);
    form->FeldShow2();

    double xMin = samples.x[0], xMax = xMin, yMin = samples.y[0], yMax = yMin, fMax = samples.Feld[0];
    for (int k = 0; k < samples.Count(); ++k) {
        xMin = std::min(xMin, samples.x[k]);
        xMax = std::max(xMax, samples.x[k]);
        yMin = std::min(yMin, samples.y[k]);
        yMax = std::max(yMax, samples.y[k]);
        fMax = std::max(fMax, samples.Feld[k]);
    }
    const double ppm = 2;
    const double bezug = ScaleFieldStrength(fMax, Power, PowerShow) * (1 / ArrowPos);
    const int h = static_cast<int>(std::nearbyint((yMax - yMin) * ppm)) + 1;
    std::map<std::pair<int, int>, gdi::TColor> expected;
    for (int k = 0; k < samples.Count(); ++k) {
        const int px = static_cast<int>(std::nearbyint((samples.x[k] - xMin) * ppm));
        const int py = h - static_cast<int>(std::nearbyint((samples.y[k] - yMin) * ppm)) - 1;
        expected[{px, py}] = ValueToScaleColor(static_cast<double>(
            Clip01(ScaleFieldStrength(samples.Feld[k], Power, PowerShow) / bezug)));
    }
    ASSERT_EQ(MapBitmap(form).Height(), h);
    for (const auto& [at, color] : expected)
        ASSERT_EQ(MapPixel(form, at.first, at.second), color) << at.first << ", " << at.second;
}

// Values over the whole range of a double (tiny, huge, beyond the 1e300 that the rescaling
// leaves alone, infinite, -0 and not a number), several display powers, samples off the picture
// (a coordinate that is not a number) and later samples on a pixel already drawn, against a
// rendering sample by sample. The count is odd, so the last block ends in a part-filled group.
TEST_F(MapTest, ExtremeValuesMatchASampleBySampleRendering) {
    Ready(0, 1);  // the reference is a limit, not the plane maximum
    const double inf = std::numeric_limits<double>::infinity();
    const double special[] = {0.0, -0.0, std::numeric_limits<double>::denorm_min(), -1e-310,
                              1e-300, 0.5, 1, 1e300, std::nextafter(1e300, inf), 1e301,
                              std::numeric_limits<double>::max(), inf, -inf, std::nan(""), -7};
    const std::pair<double, double> powers[] = {{100, 750}, {750, 100}, {3, 3}, {0, 50}};
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> mantissa(-1, 2);
    std::uniform_int_distribution<int> exponent(-1074, 1023);
    constexpr int nx = 61, ny = 41;
    for (const auto& [pOld, pNew] : powers) {
        for (const double limit : {37.25, 2e300}) {
            Power = pOld;
            PowerShow = pNew;
            GrenzwertPS = limit;
            auto plane = std::make_unique<TSkalarFeld2>();
            std::map<std::pair<int, int>, double> last;  // pixel -> the value drawn there
            const auto add = [&](int i, int j, double v) {
                plane->Add(0.5 * i, 0.5 * j, v);
                last[{i, ny - 1 - j}] = v;
            };
            int k = 0;
            for (int j = 0; j < ny; ++j)
                for (int i = 0; i < nx; ++i, ++k)
                    add(i, j, k % 3 == 0 ? special[(k / 3) % std::size(special)]
                                         : std::ldexp(mantissa(rng), exponent(rng)));
            for (int r = 0; r < 5; ++r) plane->Add(std::nan(""), 0.5 * r, 1e6);  // off the picture
            for (int r = 0; r < 8; ++r) add(r, r, special[r]);                    // drawn again
            plane->Add(0.5 * 3, std::nan(""), 2e6);                              // off the picture
            ASSERT_EQ(plane->Count() % 2, 1);
            CurrentPlane = std::move(plane);
            form->FeldShow2();

            const double bezug = limit * (1 / ArrowPos);
            ASSERT_EQ(MapBitmap(form).Width(), nx);
            ASSERT_EQ(MapBitmap(form).Height(), ny);
            for (const auto& [at, v] : last)
                ASSERT_EQ(MapPixel(form, at.first, at.second),
                          Expected(ScaleFieldStrength(v, Power, PowerShow), bezug))
                    << at.first << ", " << at.second << " " << std::hexfloat << v << " " << pOld << " "
                    << limit;
        }
    }
}

// The extent, the grid step and the plane maximum over short planes of 0, -0, values that are
// not numbers and odd counts: as std::min / std::max in sample order (the first of equal values
// stays, so 0 and -0 keep their order) and as getSteps.
TEST_F(MapTest, ExtentKeepsTheFirstOfEqualValuesAndTheStepOfGetSteps) {
    Ready(0, 0);
    Power = 100;
    PowerShow = 100;
    const double nan = std::nan("");
    const double coords[] = {-0.0, 0.0, 0.5, 1.0, -0.5, nan};
    const double values[] = {-0.0, 0.0, nan, 1.0};
    std::mt19937 rng(3);
    const auto same = [](double a, double b) {
        return a == b && std::signbit(a) == std::signbit(b);
    };
    for (int round = 0; round < 400; ++round) {
        const int n = 2 + round % 9;
        auto plane = std::make_unique<TSkalarFeld2>();
        for (int k = 0; k < n; ++k)
            plane->Add(coords[rng() % 6], coords[rng() % 3], values[rng() % 4]);
        const int a = static_cast<int>(rng() % n);
        const int b = (a + 1 + static_cast<int>(rng() % (n - 1))) % n;
        plane->x[a] = 0.5;  // two distinct x for a step of 0.5 m
        plane->x[b] = 1.0;
        const TSkalarFeld2 samples = *plane;
        double xMin = samples.x[0], xMax = xMin, yMin = samples.y[0], yMax = yMin;
        double fMax = samples.Feld[0];
        for (int k = 1; k < n; ++k) {
            // std::min / std::max keep a value that is not a number at the start: skip it.
            xMin = std::isnan(xMin) ? samples.x[k] : std::min(xMin, samples.x[k]);
            xMax = std::isnan(xMax) ? samples.x[k] : std::max(xMax, samples.x[k]);
            yMin = std::isnan(yMin) ? samples.y[k] : std::min(yMin, samples.y[k]);
            yMax = std::isnan(yMax) ? samples.y[k] : std::max(yMax, samples.y[k]);
            fMax = std::isnan(fMax) ? samples.Feld[k] : std::max(fMax, samples.Feld[k]);
        }
        CurrentPlane = std::move(plane);
        form->FeldShow2();
        const std::string at = "round " + std::to_string(round);
        ASSERT_TRUE(same(PlaneXMin, xMin)) << at;
        ASSERT_TRUE(same(PlaneXMax, xMax)) << at;
        ASSERT_TRUE(same(PlaneYMin, yMin)) << at;
        ASSERT_TRUE(same(PlaneYMax, yMax)) << at;
        ASSERT_EQ(PixelPerMeter, 1 / samples.getSteps(1)) << at;
        if (!std::isnan(fMax)) ASSERT_TRUE(same(BezugsFeld, fMax * (1 / ArrowPos))) << at;
    }
}

}  // namespace
