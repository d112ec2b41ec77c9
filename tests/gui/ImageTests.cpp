// TImage: placement, painting without smoothing, transparency, mouse coordinates.
#include <QImage>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

class guiImage : public GuiFixture {
protected:
    TForm* form = nullptr;
    TPanel* panel = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 300, 300);
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBevelOuter(bvNone);
        panel->SetBounds(0, 0, 200, 200);
        panel->SetColor(gdi::clGray);
        form->Show();
    }
    TImage* MakeImage(int w, int h) {
        auto* img = new TImage(form);
        img->SetParent(panel);
        img->SetBounds(0, 0, w, h);
        return img;
    }
    // A 2 x 2 bitmap: red, lime / blue, white.
    static void FillQuad(gdi::TBitmap* b) {
        b->SetSize(2, 2);
        gdi::TCanvas* c = b->Canvas();
        c->SetPixels(0, 0, gdi::clRed);
        c->SetPixels(1, 0, gdi::clLime);
        c->SetPixels(0, 1, gdi::clBlue);
        c->SetPixels(1, 1, gdi::clWhite);
    }
};

TEST_F(guiImage, DestRectFollowsStretchProportionalAndCenter) {
    TImage* img = MakeImage(100, 50);
    img->Picture()->Bitmap()->SetSize(20, 10);
    struct Case {
        bool stretch, proportional, center;
        gdi::TRect expected;
    } cases[] = {
        {false, false, false, gdi::Rect(0, 0, 20, 10)},
        {true, false, false, gdi::Rect(0, 0, 100, 50)},
        {true, true, false, gdi::Rect(0, 0, 100, 50)},
        {false, true, false, gdi::Rect(0, 0, 20, 10)},   // proportional alone only shrinks
        {false, false, true, gdi::Rect(40, 20, 60, 30)},
    };
    for (const Case& c : cases) {
        img->SetStretch(c.stretch);
        img->SetProportional(c.proportional);
        img->SetCenter(c.center);
        EXPECT_EQ(img->DestRect(), c.expected) << c.stretch << c.proportional << c.center;
    }
    img->Picture()->Bitmap()->SetSize(41, 20);  // wider than tall, into 100 x 50
    img->SetStretch(true);
    img->SetProportional(true);
    img->SetCenter(false);
    EXPECT_EQ(img->DestRect(), gdi::Rect(0, 0, 100, 48));
    img->Picture()->Bitmap()->SetSize(400, 400);  // larger: shrinks without Stretch
    img->SetStretch(false);
    EXPECT_EQ(img->DestRect(), gdi::Rect(0, 0, 50, 50));
}

TEST_F(guiImage, StretchedBitmapIsShownWithoutSmoothing) {
    TImage* img = MakeImage(40, 40);
    img->SetStretch(true);
    FillQuad(img->Picture()->Bitmap());
    img->Repaint();
    const QImage shot = panel->Widget()->grab(QRect(0, 0, 40, 40)).toImage();
    ASSERT_EQ(shot.size(), QSize(40, 40));
    // Every pixel of each quarter has exactly its bitmap pixel's colour.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const QRgb want = x < 20 ? (y < 20 ? qRgb(255, 0, 0) : qRgb(0, 0, 255))
                                     : (y < 20 ? qRgb(0, 255, 0) : qRgb(255, 255, 255));
            ASSERT_EQ(shot.pixel(x, y) & 0xFFFFFF, want & 0xFFFFFF) << x << "," << y;
        }
}

TEST_F(guiImage, TransparentImageLetsTheParentShowThrough) {
    TImage* img = MakeImage(40, 40);
    img->SetStretch(true);
    img->SetTransparent(true);
    FillQuad(img->Picture()->Bitmap());
    // The bottom-left pixel (blue) is the transparent colour.
    img->Picture()->Bitmap()->Canvas()->SetPixels(0, 1, gdi::clBlue);
    img->Invalidate();
    EXPECT_TRUE(img->Picture()->Bitmap()->Transparent());
    const QImage shot = panel->Widget()->grab().toImage();
    EXPECT_EQ(shot.pixel(5, 30) & 0xFFFFFF, qRgb(128, 128, 128) & 0xFFFFFF);  // panel grey
    EXPECT_EQ(shot.pixel(5, 5) & 0xFFFFFF, qRgb(255, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(shot.pixel(35, 35) & 0xFFFFFF, qRgb(255, 255, 255) & 0xFFFFFF);
}

TEST_F(guiImage, CanvasOfAnEmptyPictureHasTheControlSize) {
    TImage* img = MakeImage(57, 169);
    gdi::TCanvas* c = img->Canvas();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(img->Picture()->Width(), 57);
    EXPECT_EQ(img->Picture()->Height(), 169);
    EXPECT_EQ(img->Canvas(), c);
}

TEST_F(guiImage, MouseEventsCarryControlCoordinates) {
    TImage* img = MakeImage(100, 100);
    img->SetLeft(30);
    int downX = -1, downY = -1, clicks = 0;
    TMouseButton button = mbMiddle;
    img->OnMouseDown = [&](rtl::TObject* s, TMouseButton b, TShiftState, int x, int y) {
        EXPECT_EQ(s, img);
        button = b;
        downX = x;
        downY = y;
    };
    img->OnClick = [&](rtl::TObject*) { ++clicks; };
    bool panelSaw = false;
    panel->OnMouseDown = [&](rtl::TObject*, TMouseButton, TShiftState, int, int) { panelSaw = true; };
    SendClick(panel->Widget(), QPoint(30 + 12, 34));  // the parent routes it to the image
    EXPECT_EQ(button, mbLeft);
    EXPECT_EQ(downX, 12);
    EXPECT_EQ(downY, 34);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(panelSaw);  // input stays with the control it hit
}
