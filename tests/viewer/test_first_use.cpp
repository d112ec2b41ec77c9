// What a new user meets: the field type after an import, no read-out from data not on the map,
// line scans drawn as a strip, the clean end after the separator correction.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

// An EZNEC near-field file at one height over the grid points given.
void WriteEznec(const std::string& path, bool magnetic, double z,
                const std::vector<std::pair<double, double>>& points) {
    std::ofstream f(path, std::ios::binary);
    f << "Feldor test\r\n\r\nFrequency = 14.15 MHz\r\nPower = 100 watts\r\n\r\n"
      << (magnetic ? "Magnetic Field (A/m, RMS)" : "Electric Field (V/m, RMS)") << "\r\n\r\n"
      << "X (m)     Y (m)     Z (m)       Ex           Ey           Ez           E total\r\n";
    for (const auto& [x, y] : points)
        f << x << "  " << y << "  " << z << "  1.0E+00  2.0E+00  2.0E+00  "
          << (magnetic ? "1.0E-01" : "3.0E+00") << "\r\n";
}

std::vector<std::pair<double, double>> Grid3x3() {
    std::vector<std::pair<double, double>> p;
    for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 1; ++j) p.emplace_back(i, j);
    return p;
}

gui::FileDialogResult Chosen(const std::vector<std::string>& files) {
    gui::FileDialogResult r;
    r.accepted = true;
    r.files = files;
    r.filterIndex = 2;
    return r;
}

}  // namespace

class FirstUseTest : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        StartUp();
        WriteEznec(dir + "/e.txt", false, 2, Grid3x3());
        WriteEznec(dir + "/h.txt", true, 2, Grid3x3());
    }
    void Import(const std::vector<std::string>& names) {
        std::vector<std::string> files;
        for (const auto& n : names) files.push_back(dir + "/" + n);
        presenter->fileAnswers.push_back(Chosen(files));
        form->MIEZNECOpen->Click();
    }
    // The boxes shown since the last call.
    std::vector<std::string> TakeBoxes() {
        std::vector<std::string> texts;
        for (const auto& b : presenter->boxes) texts.push_back(b.text);
        presenter->boxes.clear();
        return texts;
    }
    gui::TImage* Map() const { return form->ImageFeld; }
};

TEST_F(FirstUseTest, FieldTypeFollowsWhatWasLoaded) {
    struct Case {
        const char* name;
        int selected;
        std::vector<std::string> files;
        int shown;
        bool impedance;
    };
    const Case cases[] = {
        {"E only while H is selected", 1, {"e.txt"}, 0, false},
        {"E only while Z is selected", 2, {"e.txt"}, 0, false},
        {"H only while E is selected", 0, {"h.txt"}, 1, false},
        {"H only while Z is selected", 2, {"h.txt"}, 1, false},
        {"E and H while Z is selected", 2, {"e.txt", "h.txt"}, 2, true},
        {"E and H while H is selected", 1, {"e.txt", "h.txt"}, 1, true},
        {"E and H while E is selected", 0, {"e.txt", "h.txt"}, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // An empty viewer with the field type the user chose.
        form->MIClearAllClick(nullptr);
        HasEPlanes = HasHPlanes = HasZPlanes = false;
        form->RGFeldTyp->SetItemIndex(c.selected);
        TakeBoxes();

        Import(c.files);
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{});  // no error box, no warning
        EXPECT_EQ(form->RGFeldTyp->ItemIndex(), c.shown);
        EXPECT_EQ(HasZPlanes, c.impedance);
        EXPECT_TRUE(FieldShown);
        EXPECT_EQ(form->CBPlanes->Text(), "2,0");
        EXPECT_DOUBLE_EQ(CurrentHeight, 2 + 100 * c.shown);
        ASSERT_EQ(CurrentPlane->Count(), 9);
        if (c.shown == 2) {
            // The impedance |E| / |H| = 3 / 0.1 of every sample is on the map.
            EXPECT_DOUBLE_EQ(CurrentPlane->Value(4), 30.0);
            EXPECT_EQ(Map()->Picture()->Bitmap()->Width(), 3);
        }
    }
}

TEST_F(FirstUseTest, ImpedanceShownBeforeAnImportOfElectricDataOnly) {
    Import({"e.txt", "h.txt"});
    form->RGFeldTyp->SetItemIndex(2);
    ASSERT_EQ(form->RGFeldTyp->ItemIndex(), 2);
    TakeBoxes();
    Import({"e.txt"});
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{});
    EXPECT_FALSE(HasZPlanes);
    EXPECT_EQ(form->RGFeldTyp->ItemIndex(), 0);
    EXPECT_TRUE(FieldShown);
}

TEST_F(FirstUseTest, NoReadOutOrMeasuringPointFromDataNotOnTheMap) {
    Import({"e.txt"});
    ASSERT_TRUE(FieldShown);
    form->ImageFeldMouseMove(Map(), 0, 284, 284);
    EXPECT_NE(form->LAField->Caption(), "");

    auto expectDead = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_FALSE(FieldShown);
        form->FormMouseMove(form, 0, 0, 0);
        form->ImageFeldMouseMove(Map(), 0, 284, 284);
        EXPECT_EQ(form->LAField->Caption(), "");
        EXPECT_EQ(form->LAcoords->Caption(), "");
        form->ImageOvlMouseDown(Map(), gui::mbLeft, 0, 284, 284);
        EXPECT_EQ(FormMessExport->nof(), 0);
    };
    form->MIClearAllClick(nullptr);
    expectDead("after the reset");
    EXPECT_EQ(CurrentPlane->Count(), 0);  // the reset forgets the plane

    // An import that draws nothing: the chosen file is gone.
    Import({"fehlt.txt"});
    TakeBoxes();
    expectDead("after an import that drew nothing");

    // A plane that cannot be drawn (grid step below 0.05 m) after one that was.
    Import({"e.txt"});
    ASSERT_TRUE(FieldShown);
    AppendFieldPoint(0, 0, 3, 1, 1, 1, 1);
    AppendFieldPoint(0.04, 0, 3, 1, 1, 1, 1);
    EXPECT_THROW(form->ShowPlane(3), rtl::Exception);
    expectDead("after a failed rendering");
}

TEST_F(FirstUseTest, LineScanIsDrawnAsAStripWithItsReadOut) {
    struct Case {
        const char* name;
        std::vector<std::pair<double, double>> points;
        int width, height;
    };
    const Case cases[] = {
        {"one column", {{1, -2}, {1, -1}, {1, 0}, {1, 1}, {1, 2}}, 1, 5},
        {"one row", {{-2, 1}, {-1, 1}, {0, 1}}, 3, 1},
        {"one point", {{4, 4}}, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteEznec(dir + "/scan.txt", false, 2, c.points);
        Import({"scan.txt"});
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{});
        ASSERT_TRUE(FieldShown);
        const gdi::TBitmap* bmp = Map()->Picture()->Bitmap();
        EXPECT_EQ(bmp->Width(), c.width);
        EXPECT_EQ(bmp->Height(), c.height);
        EXPECT_GT(ScreenScale, 0);
        // The read-out and a measuring point at the first sample.
        const auto [x, y] = c.points.front();
        const int px = static_cast<int>((x - ScreenOriginX) * ScreenScale);
        const int py = static_cast<int>((ScreenOriginY - y) * ScreenScale);
        form->ImageFeldMouseMove(Map(), 0, px, py);
        EXPECT_EQ(form->LATest->Caption(),
                  rtl::Format("Feldquadrat   x: %2.1f m   y: %2.1f m", x, y));
        EXPECT_EQ(form->LAField->Caption(), "Feldstärke    8,2 V/m");  // 3 V/m at 750 W of 100
        form->ImageOvlMouseDown(Map(), gui::mbLeft, 0, px, py);
        EXPECT_EQ(FormMessExport->nof(), 1);
    }
}

// A start on a machine with other separators, answered "Ja": the info box, then the program
// ends without an error box and without loading the field file it was started with.
TEST(FirstStartTest, AcceptedSeparatorCorrectionEndsCleanly) {
    HeadlessViewer viewer;
    sys::SetLocaleSeparators({'.', ',', ',', ','});
    sys::LoadFormatSettingsFromLocale();
    std::string exe = "feldor", file = std::string(FELDOR_SOURCE_DIR) + "/samples/Beispiel.fdr";
    char* argv[] = {exe.data(), file.data(), nullptr};
    rtl::SetCommandLine(2, argv);
    viewer.AnswerQuestions(true);
    ClearFeld2Dim();

    viewer.StartUp();
    rtl::SetCommandLine(1, argv);
    EXPECT_EQ(viewer.questions.size(), 1u);
    ASSERT_EQ(viewer.presenter->boxes.size(), 1u);
    EXPECT_EQ(viewer.presenter->boxes[0].text,
              "Die Anwendung wird nach der Umschaltung geschlossen. \r\nStarten Sie dann bitte neu!");
    EXPECT_TRUE(viewer.app->Terminated());
    EXPECT_EQ(FeldorU::PointCount(), 0);
    EXPECT_FALSE(FormMessExport->Visible());
    EXPECT_FALSE(FormProgInfo->Visible());
    viewer.app->Run();  // returns at once
    EXPECT_EQ(viewer.presenter->boxes.size(), 1u);
    // The next start finds the German separators.
    EXPECT_EQ(sys::GetLocaleSeparators().Decimal, ',');
    EXPECT_EQ(sys::GetLocaleSeparators().Thousand, '.');
}

// "Nein" on a machine with the decimal point: the example is drawn without an error box, the
// program's own numbers use the comma, the user's store stays as it was and the next start
// asks again.
TEST(FirstStartTest, DeclinedSeparatorCorrectionStillDrawsTheExample) {
    HeadlessViewer viewer;
    sys::SetLocaleSeparators({'.', ',', ',', ','});
    sys::LoadFormatSettingsFromLocale();
    const std::string store = [] {
        std::ifstream in(sys::LocaleStoreFileName(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    ASSERT_FALSE(store.empty());
    std::string exe = "feldor", file = std::string(FELDOR_SOURCE_DIR) + "/samples/Beispiel.fdr";
    char* argv[] = {exe.data(), file.data(), nullptr};
    rtl::SetCommandLine(2, argv);
    viewer.AnswerQuestions(false);
    ClearFeld2Dim();

    viewer.StartUp();
    rtl::SetCommandLine(1, argv);
    EXPECT_EQ(viewer.questions.size(), 1u);
    std::vector<std::string> boxes;
    for (const auto& b : viewer.presenter->boxes) boxes.push_back(b.text);
    EXPECT_EQ(boxes, std::vector<std::string>{});
    EXPECT_FALSE(viewer.app->Terminated());
    ASSERT_TRUE(FieldShown);
    EXPECT_GT(PointCount(), 0);
    EXPECT_NE(viewer.form->CBPlanes->Text().find(','), std::string::npos)
        << viewer.form->CBPlanes->Text();
    EXPECT_EQ(viewer.form->EditPS->Text().find('.'), std::string::npos)
        << viewer.form->EditPS->Text();
    // The map holds colours, not the white of an empty viewer.
    gdi::TBitmap* map = viewer.form->ImageFeld->Picture()->Bitmap();
    int coloured = 0;
    for (int y = 0; y < map->Height(); y += 7)
        for (int x = 0; x < map->Width(); x += 7)
            coloured += map->Canvas()->Pixels(x, y) != gdi::clWhite;
    EXPECT_GT(coloured, 0);

    const std::string after = [] {
        std::ifstream in(sys::LocaleStoreFileName(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    EXPECT_EQ(after, store);

    // The next start asks again.
    viewer.CloseWindows();
    ClearFeld2Dim();
    viewer.questions.clear();
    sys::LoadFormatSettingsFromLocale();
    viewer.StartUp();
    EXPECT_EQ(viewer.questions.size(), 1u);
}
