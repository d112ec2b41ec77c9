// The antenna and ground overlay on ImageOvl: origin dot, antenna segments coloured by their
// names, ground segments, and the overlay's transparent colour.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

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

// The geometry files: the points of every line, or the file and the line named with what a point
// line should hold. x, y and z are read in this order, so a line with two faults reports the first
// whatever the compiler; files larger than any geometry file are refused before they are read.
TEST_F(OverlayTest, GeometryFilesGiveTheirPointsOrSayWhatIsWrong) {
    const std::string data = std::string(FELDOR_TEST_DATA) + "/geometry/";
    const std::string point = "Hier wird ein Punkt „Name;x;y;z“ erwartet (z. B. „4;0;-2,5;10“)";
    std::string many;
    for (int i = 0; i < 32768; ++i) many += "1;" + std::to_string(i % 100) + ";0;0\n";
    const auto write = [this](const std::string& name, const std::string& bytes, long long size = -1) {
        const std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        if (size >= 0 && ::truncate(path.c_str(), size) != 0) ADD_FAILURE() << path;
        return path;
    };
    const auto utf16 = [](std::string_view ascii) {  // little-endian, as Windows writes it
        std::string r;
        for (char ch : ascii) r += std::string{ch, '\0'};
        return r;
    };
    const std::string utf16Note = "; die Datei ist UTF-16-kodiert, lesbar sind nur UTF-8 und Windows-1252";
    const struct {
        std::string file;
        int points;            // in the set afterwards
        std::string error;     // after "Datei <file>", empty: none
        std::string lastName;  // of the last point read
    } cases[] = {
        {data + "basic/Antenne.txt", 4, "", "9"},
        {data + "crlf.txt", 3, "", "0"},
        {data + "five_fields.txt", 2, "", "B"},
        {data + "dot_decimal.txt", 1, ", Zeile 2: " + point + ", doch „0.5“ ist keine Zahl", "4"},
        {data + "empty_last_line.txt", 3, ", Zeile 4: " + point, "0"},
        {write("two_faults.txt", "1;0.5;0\n"), 0, ", Zeile 1: " + point + ", doch „0.5“ ist keine Zahl", ""},
        {write("no_z.txt", "1;2,5;1\r\n"), 0, ", Zeile 1: " + point, ""},
        {write("bad_z.txt", "4;1;2;3\r4;1;2;z\r"), 1, ", Zeile 2: " + point + ", doch „z“ ist keine Zahl", "4"},
        {write("names.txt", "\xEF\xBB\xBF" "Boden \xFC;1;2;3"), 1, "", "Boden ü"},  // Windows-1252
        {write("many.txt", many), 32767, ", Zeile 32768: Eine Geometriedatei hat höchstens 32767 Punkte", "1"},
        // a value beyond the range of Double is no coordinate
        {write("overflow.txt", "4;0;0;1\n4;0;-1e999;1\n"), 1,
         ", Zeile 2: " + point + ", doch „-1e999“ liegt außerhalb des Zahlenbereichs", "4"},
        // a quoted word shows its control characters (C0, and C1 from Windows-1252's 0x81)
        {write("control.txt", "4;1\x01;2;3\n"), 0, ", Zeile 1: " + point + ", doch „1�“ ist keine Zahl", ""},
        {write("c1.txt", "4;\x81" "1;2;3\n"), 0, ", Zeile 1: " + point + ", doch „�1“ ist keine Zahl", ""},
        // UTF-16 (zero bytes beside each character), with and without a byte-order mark
        {write("utf16_bom.txt", "\xFF\xFE" + utf16("4;-5,05;0;10\r\n")), 0,
         ", Zeile 1: " + point + ", doch „�-�5�,�0�5�“ ist keine Zahl" + utf16Note, ""},
        {write("utf16.txt", utf16("4;-5,05;0;10\r\n0;5,05;0;10\r\n")), 0,
         ", Zeile 1: " + point + ", doch „�-�5�,�0�5�“ ist keine Zahl" + utf16Note, ""},
        {write("huge.txt", "1;0;0;0\n", 64LL << 20), 0,
         ": Die Datei ist größer als 4 MB; so große Geometriedateien gibt es nicht", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Antenne->Add("alt", 9, 9, 9);  // replaced by the file
        try {
            form->LoadAntenne(c.file);
            EXPECT_EQ(c.error, "");
        } catch (const rtl::Exception& e) {
            EXPECT_EQ(e.Message, "Datei " + c.file + c.error);
            EXPECT_EQ(std::count_if(e.Message.begin(), e.Message.end(),
                                    [](char ch) { return static_cast<unsigned char>(ch) < 0x20; }),
                      0);
        }
        ASSERT_EQ(Antenne->Count(), c.points);
        EXPECT_EQ(Antenne->x.Length(), c.points);
        EXPECT_EQ(Antenne->z.Length(), c.points);
        if (c.points > 0) EXPECT_EQ(Antenne->Names[c.points - 1], c.lastName);
    }
    form->LoadBoden(data + "basic/Boden.txt");
    ASSERT_EQ(Boden->Count(), 5);
    EXPECT_EQ(Boden->x[3], -2.5);
    EXPECT_EQ(Boden->y[4], 7.5);
}

}  // namespace
