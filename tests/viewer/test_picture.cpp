// Picture export: the composed map (file and clipboard), the three layer pictures, cancelled
// dialogs and file errors; the measuring-point labels without a rim on the layer and in the
// pictures. Saved files are read back with Qt's own BMP reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QString>

#include "foundation/BitMapToolsLib.h"
#include "foundation/ColorLib.h"
#include "foundation/GrafikToolsLib.h"
#include "platform/gui/Clipbrd.h"
#include "tests/support/DigitGlyphs.h"
#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

constexpr const char* kNothingSaved = "Es wurde keine Bilddatei gespeichert!";

class PictureTest : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        StartUp();
    }
    // An E plane at 2 m, x -10..10 and y 0..yMax in steps of 0.5 m, its values spread over
    // the colour scale.
    void LoadPlane(double yMax = 20) {
        const int ny = static_cast<int>(yMax * 2);
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= 40; ++i)
                AppendFieldPoint(-10 + 0.5 * i, 0.5 * j, 2, 1 + i + 2 * j, 0, 0, 0);
        HasEPlanes = true;
        form->afterLoading();
        FieldShown = true;
        SilentItem(form->RGBezug, 0);  // referred to the plane maximum
        form->UpdatePicture(form);
    }
    // An antenna wire on the overlay and a measuring point at pixel (100, 200).
    void DrawOverlayAndMark() {
        Antenne->Add("4", 0, 10, 0);
        Antenne->Add("4", 0, 15, 0);
        form->ButZeigenClick(nullptr);
        form->ImageOvlMouseDown(form->ImageFeld, gui::mbLeft, 0, 100, 200);
        ASSERT_EQ(FormMessExport->nof(), 1);
    }
    static void SilentItem(gui::TRadioGroup* rg, int item) {
        auto handler = rg->OnClick;
        rg->OnClick = nullptr;
        rg->SetItemIndex(item);
        rg->OnClick = handler;
    }
    static QImage Load(const std::string& path) {
        return QImage(QString::fromStdString(path), "BMP");
    }
    static gdi::TColor At(const QImage& img, int x, int y) {
        const QRgb p = img.pixel(x, y);
        return gdi::RGB(qRed(p), qGreen(p), qBlue(p));
    }
    static gdi::TColor At(gdi::TBitmap& bmp, int x, int y) { return bmp.Canvas()->Pixels(x, y); }
    gdi::TBitmap& Layer(gui::TImage* image) { return *image->Picture()->Bitmap(); }
    static std::string Where(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

    // Compares a composed picture with the layers: the marks layer over the overlay over the
    // map scaled to 569 x 569 on black, each layer without its background colour. Returns how
    // many pixels each layer gave.
    struct Counts {
        int map = 0, ovl = 0, play = 0;
    };
    Counts ExpectComposed(const QImage& img, gdi::TColor ovlBackground,
                          gdi::TColor playBackground) {
        Counts n;
        EXPECT_EQ(img.width(), 569);
        EXPECT_EQ(img.height(), 569);
        if (img.width() != 569 || img.height() != 569) return n;
        auto fitted = FitBitmap(Layer(form->ImageFeld), 569, 569);
        gdi::TBitmap& ovl = Layer(form->ImageOvl);
        gdi::TBitmap& play = Layer(form->ImagePlay);
        for (int y = 0; y < 569; ++y)
            for (int x = 0; x < 569; ++x) {
                gdi::TColor want;
                if (const gdi::TColor p = At(play, x, y); p != playBackground) {
                    want = p;
                    ++n.play;
                } else if (const gdi::TColor o = At(ovl, x, y); o != ovlBackground) {
                    want = o;
                    ++n.ovl;
                } else if (x < fitted->Width() && y < fitted->Height()) {
                    want = At(*fitted, x, y);
                    ++n.map;
                } else {
                    want = gdi::clBlack;
                }
                if (At(img, x, y) != want) {
                    ADD_FAILURE() << "pixel " << x << "," << y;
                    return n;
                }
            }
        return n;
    }
    bool NoBmpWritten() const {
        for (const auto& e : std::filesystem::directory_iterator(dir))
            if (e.path().extension() == ".bmp") return false;
        return true;
    }
};

TEST_F(PictureTest, ComposedPictureShowsMapOverlayAndMarksWithoutLayerBackgrounds) {
    LoadPlane();
    DrawOverlayAndMark();
    presenter->fileAnswers.push_back({true, {dir + "/bild"}, 2});
    form->MISavePictureClick(nullptr);

    ASSERT_EQ(presenter->fileDialogs.size(), 1u);
    const gui::FileDialogRequest& r = presenter->fileDialogs[0];
    EXPECT_EQ(r.kind, gui::FileDialogRequest::Kind::Save);
    EXPECT_EQ(r.filter, "Alle Dateien (*.*)|*.*|BitMap-Bild (*.bmp)|*.bmp");
    EXPECT_EQ(r.filterIndex, 2);
    EXPECT_EQ(r.fileName, "Draufsicht.bmp");
    EXPECT_TRUE(presenter->boxes.empty());

    // The name without extension gets ".bmp"; the file is a BMP that Qt reads.
    const QImage img = Load(dir + "/bild.bmp");
    ASSERT_FALSE(img.isNull());
    // Overlay cleared white, marks layer black: both are left out.
    const Counts n = ExpectComposed(img, gdi::clWhite, gdi::clBlack);
    EXPECT_GT(n.map, 300000);
    EXPECT_GT(n.ovl, 100);
    EXPECT_GT(n.play, 40);
    EXPECT_EQ(At(img, 284, 200), gdi::ColorToPixel(ColorIndexToColor(4)));
    EXPECT_EQ(At(img, 95, 205), ColorMessPkt);

    // With the marks layer cleared white and a line on it (the cut line's state), white is
    // left out instead.
    CanvasClearWhite(form->ImagePlay->Canvas());
    Layer(form->ImagePlay).SetTransparentColor(gdi::clDefault);  // the corner pixel decides
    form->ImagePlay->Canvas()->Pen()->SetWidth(3);
    CanvasLine(form->ImagePlay->Canvas(), 50, 500, 500, 50, gdi::clLime);
    presenter->fileAnswers.push_back({true, {dir + "/bild2.bmp"}, 2});
    form->MISavePictureClick(nullptr);
    const QImage img2 = Load(dir + "/bild2.bmp");
    ASSERT_FALSE(img2.isNull());
    const Counts n2 = ExpectComposed(img2, gdi::clWhite, gdi::clWhite);
    EXPECT_GT(n2.map, 300000);
    EXPECT_GT(n2.play, 400);
    EXPECT_EQ(At(img2, 275, 275), gdi::clLime);
}

TEST_F(PictureTest, MarkLabelsHaveNoRimOnTheLayerOrInThePictures) {
    LoadPlane();
    // Ten points 100 pixels apart, labelled "MP 1" .. "MP10" below right of their crosses.
    std::vector<gdi::TPoint> marks;
    for (int i = 0; i < 10; ++i) {
        marks.push_back(gdi::Point(40 + 100 * (i % 5), 100 + 200 * (i / 5)));
        form->ImageOvlMouseDown(form->ImageFeld, gui::mbLeft, 0, marks.back().X, marks.back().Y);
    }
    ASSERT_EQ(FormMessExport->nof(), 10);
    // The label cells with a margin of two pixels; the cross's arm reaches into the corner.
    const auto eachLabelPixel = [&](const std::function<void(int, int, int)>& visit) {
        for (int i = 0; i < 10; ++i)
            for (int y = marks[i].Y + 8; y < marks[i].Y + 30; ++y)
                for (int x = marks[i].X + 8; x < marks[i].X + 50; ++x) visit(i, x, y);
    };

    // On the layer a pixel is either the mark colour or the black key: smoothed letters would
    // leave blends of the two, which the key does not take out.
    gdi::TBitmap& play = Layer(form->ImagePlay);
    int ink = 0;
    std::string rim;
    eachLabelPixel([&](int, int x, int y) {
        const gdi::TColor p = At(play, x, y);
        if (p != ColorMessPkt && p != gdi::clBlack && rim.empty()) rim = Where(x, y);
        ink += p == ColorMessPkt;
    });
    EXPECT_EQ(rim, "");
    EXPECT_GT(ink, 10 * 30);

    // The two-colour numbers still read: digits that small letters merge differ clearly.
    std::vector<digits::Glyph> labels(10);
    eachLabelPixel([&](int i, int x, int y) {
        digits::Glyph& g = labels[static_cast<std::size_t>(i)];
        g.w = 42;
        g.h = 22;
        g.ink.resize(42 * 22);
        g.ink[static_cast<std::size_t>((y - marks[i].Y - 8) * 42 + x - marks[i].X - 8)] =
            At(play, x, y) == ColorMessPkt ? 1 : 0;
    });
    for (const auto& pair : digits::kConfusable) {
        if (pair[0] == 0) continue;
        EXPECT_GE(digits::Difference(labels[pair[0] - 1], labels[pair[1] - 1]), digits::kClearDifference)
            << pair[0] << "/" << pair[1];
    }

    // The composed picture shows the map itself around the letters, the layer picture black.
    presenter->fileAnswers.push_back({true, {dir + "/marken.bmp"}, 2});
    form->MISavePictureClick(nullptr);
    presenter->fileAnswers.push_back({true, {dir + "/marken.bmp"}, 2});
    form->MIEinzelbilderSpeichernClick(nullptr);
    const QImage composed = Load(dir + "/marken.bmp");
    const QImage layer = Load(dir + "/marken MPs.bmp");
    ASSERT_FALSE(composed.isNull());
    ASSERT_FALSE(layer.isNull());
    auto fitted = FitBitmap(Layer(form->ImageFeld), 569, 569);
    std::string composedRim, layerRim;
    eachLabelPixel([&](int, int x, int y) {
        const gdi::TColor c = At(composed, x, y);
        if (c != ColorMessPkt && c != At(*fitted, x, y) && composedRim.empty()) composedRim = Where(x, y);
        const gdi::TColor l = At(layer, x, y);
        if (l != ColorMessPkt && l != gdi::clBlack && layerRim.empty()) layerRim = Where(x, y);
    });
    EXPECT_EQ(composedRim, "");
    EXPECT_EQ(layerRim, "");
}

TEST_F(PictureTest, MapKeepsItsAspectOnBlack) {
    LoadPlane(10);  // 41 x 21 grid points
    ASSERT_EQ(Layer(form->ImageFeld).Width(), 41);
    ASSERT_EQ(Layer(form->ImageFeld).Height(), 21);
    presenter->fileAnswers.push_back({true, {dir + "/breit.bmp"}, 2});
    form->MISavePictureClick(nullptr);
    const QImage img = Load(dir + "/breit.bmp");
    ASSERT_FALSE(img.isNull());
    const Counts n = ExpectComposed(img, gdi::clWhite, gdi::clWhite);
    EXPECT_GT(n.map, 150000);
    EXPECT_EQ(At(img, 300, 500), gdi::clBlack);
    EXPECT_NE(At(img, 300, 100), gdi::clBlack);
}

TEST_F(PictureTest, ClipboardReceivesTheComposedPicture) {
    LoadPlane();
    DrawOverlayAndMark();
    gui::Clipboard()->Clear();
    form->MIClipPictureClick(nullptr);
    gdi::TBitmap clip;
    ASSERT_TRUE(gui::Clipboard()->GetBitmap(clip));
    const Counts n = ExpectComposed(clip.ToQImage(), gdi::clWhite, gdi::clBlack);
    EXPECT_GT(n.ovl, 100);
    EXPECT_GT(n.play, 40);
    EXPECT_TRUE(presenter->fileDialogs.empty());
}

TEST_F(PictureTest, LayerPicturesAreSavedUnscaledBesideTheChosenName) {
    LoadPlane();
    DrawOverlayAndMark();
    presenter->fileAnswers.push_back({true, {dir + "/plan.bmp"}, 2});
    form->MIEinzelbilderSpeichernClick(nullptr);

    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].text, "Info Einzelbilder");
    EXPECT_EQ(presenter->boxes[0].type, gui::TMsgDlgType::mtInformation);

    const QImage feld = Load(dir + "/plan Feld.bmp");
    const QImage ovl = Load(dir + "/plan Ovl.bmp");
    const QImage mps = Load(dir + "/plan MPs.bmp");
    ASSERT_FALSE(feld.isNull());
    ASSERT_FALSE(ovl.isNull());
    ASSERT_FALSE(mps.isNull());
    EXPECT_EQ(feld.size(), QSize(41, 41));
    EXPECT_EQ(ovl.size(), QSize(569, 569));
    EXPECT_EQ(mps.size(), QSize(569, 569));
    // Each layer as it stands, its background included.
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 41; ++x)
            ASSERT_EQ(At(feld, x, y), At(Layer(form->ImageFeld), x, y)) << x << "," << y;
    EXPECT_EQ(At(ovl, 284, 200), gdi::ColorToPixel(ColorIndexToColor(4)));
    EXPECT_EQ(At(ovl, 400, 400), gdi::clWhite);
    EXPECT_EQ(At(mps, 95, 205), ColorMessPkt);
    EXPECT_EQ(At(mps, 400, 400), gdi::clBlack);
}

TEST_F(PictureTest, CancelledDialogsWriteNothingAndWarn) {
    LoadPlane();
    form->MISavePictureClick(nullptr);
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].text, kNothingSaved);
    EXPECT_EQ(presenter->boxes[0].type, gui::TMsgDlgType::mtWarning);

    form->MIEinzelbilderSpeichernClick(nullptr);
    ASSERT_EQ(presenter->boxes.size(), 3u);
    EXPECT_EQ(presenter->boxes[1].text, "Info Einzelbilder");
    EXPECT_EQ(presenter->boxes[2].text, kNothingSaved);
    EXPECT_TRUE(NoBmpWritten());

    // The layer command takes the dialog as its last use left it.
    ASSERT_EQ(presenter->fileDialogs.size(), 2u);
    EXPECT_EQ(presenter->fileDialogs[1].filter, "Alle Dateien (*.*)|*.*|BitMap-Bild (*.bmp)|*.bmp");
    EXPECT_EQ(presenter->fileDialogs[1].filterIndex, 2);
    EXPECT_EQ(presenter->fileDialogs[1].fileName, "Draufsicht.bmp");
}

// The three layer pictures are saved together: one that cannot be written stops all three.
TEST_F(PictureTest, FileErrorStopsTheLayerPicturesAndWritesNoneOfThem) {
    LoadPlane();
    std::filesystem::create_directory(dir + "/plan Ovl.bmp");  // cannot be written as a file
    presenter->fileAnswers.push_back({true, {dir + "/plan.bmp"}, 2});
    EXPECT_THROW(form->MIEinzelbilderSpeichernClick(nullptr), rtl::Exception);
    EXPECT_FALSE(std::filesystem::exists(dir + "/plan Feld.bmp"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/plan MPs.bmp"));
    EXPECT_TRUE(std::filesystem::is_empty(dir + "/plan Ovl.bmp"));

    presenter->fileAnswers.push_back({true, {dir + "/fehlt/bild.bmp"}, 2});
    EXPECT_THROW(form->MISavePictureClick(nullptr), rtl::Exception);
}

}  // namespace
