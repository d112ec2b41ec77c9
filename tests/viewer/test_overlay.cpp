// The antenna and ground overlay on ImageOvl: origin dot, antenna segments coloured by their
// names, ground segments, and the overlay's transparent colour.
#include <gtest/gtest.h>

#include "foundation/ColorLib.h"
#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

class OverlayTest : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        StartUp();
        // 10 pixels per metre over x -5..15 and y -5..15: world (x, y) is pixel
        // (10 x + 50, 150 - 10 y).
        ScreenScale = 10;
        PlaneXMin = -5;
        PlaneXMax = 15;
        PlaneYMin = -5;
        PlaneYMax = 15;
    }
    gdi::TColor Pixel(int x, int y) const { return form->ImageOvl->Canvas()->Pixels(x, y); }
    static gdi::TColor IndexColor(int index) { return gdi::ColorToPixel(ColorIndexToColor(index)); }
};

TEST_F(OverlayTest, OriginAntennaAndGround) {
    Antenne->Add("4", 0, 0, 10);
    Antenne->Add("0", 0, 5, 10);
    Antenne->Add("7", 3, 0, 10);
    Antenne->Add("kein Index", 3, 5, 10);  // the last name is never read
    Boden->Add("1", 8, 0, 0);
    Boden->Add("1", 8, 5, 0);
    Boden->Add("1", 12, 5, 0);
    form->DrawAnt();

    EXPECT_EQ(Pixel(48, 151), ColorOrigin) << "origin dot beside the first wire";
    EXPECT_EQ(Pixel(50, 125), IndexColor(4)) << "wire (0,0)-(0,5)";
    EXPECT_EQ(Pixel(49, 110), IndexColor(4)) << "three pixels wide";
    EXPECT_EQ(Pixel(51, 110), IndexColor(4));
    EXPECT_EQ(Pixel(65, 125), gdi::clWhite) << "name 0: no segment (0,5)-(3,0)";
    EXPECT_EQ(Pixel(80, 125), IndexColor(7)) << "wire (3,0)-(3,5)";
    EXPECT_EQ(Pixel(130, 125), ColorBoden) << "ground (8,0)-(8,5)";
    EXPECT_EQ(Pixel(150, 100), ColorBoden) << "ground (8,5)-(12,5)";
    EXPECT_EQ(Pixel(150, 130), gdi::clWhite);
    EXPECT_EQ(Pixel(300, 300), gdi::clWhite);
}

TEST_F(OverlayTest, GroundNamesOtherThanOneLiftThePen) {
    Boden->Add("1", 0, 10, 0);
    Boden->Add(" 1", 5, 10, 0);
    Boden->Add("2", 5, 0, 0);
    Boden->Add("1", 10, 0, 0);
    form->DrawAnt();
    EXPECT_EQ(Pixel(75, 50), ColorBoden) << "(0,10)-(5,10)";
    EXPECT_EQ(Pixel(100, 100), gdi::clWhite) << "' 1' is not \"1\"";
    EXPECT_EQ(Pixel(125, 150), gdi::clWhite) << "'2' lifts the pen";

    // A single ground point draws nothing.
    form->InitApplication();
    ScreenScale = 10;
    Boden->Add("1", 0, 10, 0);
    form->DrawAnt();
    EXPECT_EQ(Pixel(60, 50), gdi::clWhite);
}

TEST_F(OverlayTest, BadAntennaNameStopsTheDrawingAfterEarlierSegments) {
    Antenne->Add("4", 0, 0, 0);
    Antenne->Add("x", 0, 5, 0);
    Antenne->Add("4", 5, 5, 0);
    Antenne->Add("4", 5, 0, 0);
    EXPECT_THROW(form->DrawAnt(), rtl::EConvertError);
    EXPECT_EQ(Pixel(50, 125), IndexColor(4));
    EXPECT_EQ(Pixel(100, 125), gdi::clWhite);
}

TEST_F(OverlayTest, WhiteStaysTransparentWhateverTheCornerHolds) {
    // A ground line through the bottom-left pixel of the 569 x 569 layer.
    PlaneYMax = 56.8 - 5;  // the bottom row is y = -5
    Boden->Add("1", -5, -5, 0);
    Boden->Add("1", 0, -5, 0);
    form->DrawAnt();
    gdi::TBitmap* bmp = form->ImageOvl->Picture()->Bitmap();
    ASSERT_EQ(bmp->Height(), 569);
    EXPECT_EQ(bmp->Canvas()->Pixels(0, 568), ColorBoden);
    EXPECT_EQ(bmp->TransparentColor(), gdi::clWhite);
    EXPECT_TRUE(form->ImageOvl->Transparent());
}

TEST_F(OverlayTest, ShowAndHide) {
    Antenne->Add("4", 0, 0, 0);
    Antenne->Add("4", 0, 5, 0);
    form->ButHideOvlClick(nullptr);
    EXPECT_FALSE(form->ImageOvl->Visible());
    form->ButZeigenClick(nullptr);
    EXPECT_TRUE(form->ImageOvl->Visible());
    EXPECT_EQ(Pixel(50, 125), IndexColor(4));
    form->ButHideOvlClick(nullptr);
    EXPECT_FALSE(form->ImageOvl->Visible());
    EXPECT_EQ(Pixel(50, 125), IndexColor(4)) << "the drawing stays while hidden";
}

TEST_F(OverlayTest, WithoutARenderedPlaneEverythingLandsTopLeft) {
    ScreenScale = 0;
    form->DrawAnt();
    EXPECT_EQ(Pixel(1, 1), ColorOrigin);
    EXPECT_EQ(Pixel(10, 10), gdi::clWhite);
}

}  // namespace
