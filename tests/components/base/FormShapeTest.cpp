// The shaped form on a form: the window region it builds, the order of the region update and
// the size message, the hit test that drags the form, the background it paints and hands to
// transparent controls, and the one-per-form rule while designing.
#include <gtest/gtest.h>

#include <QImage>

#include <memory>
#include <vector>

#include "components/base/KitFormShape.h"
#include "components/base/kitapp.h"
#include "platform/gdi/Regions.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WindowShapes.h"
#include "tests/gdi/RegionHelpers.h"
#include "tests/gui/GuiFixture.h"

using namespace kit;
using namespace gdi;
using gdi::test::Rgn;

namespace {

QRgb Rgb(TColor c) { return ColorToQColor(c).rgb(); }

// The form's window region now (empty handle content when it has none).
bool WindowRegionEquals(gui::TCustomForm* f, HRGN expected) {
    Rgn got(CreateRectRgn(0, 0, 0, 0));
    if (gui::GetWindowRgn(f, got) == RGN_ERROR) return false;
    return EqualRgn(got, expected);
}

class DesignForm : public gui::TForm {
public:
    explicit DesignForm(rtl::TComponent* owner) : gui::TForm(owner) {}
    void Designing(bool v) { SetDesigning(v); }
};

}  // namespace

class kitFormShape : public GuiFixture {
protected:
    gui::TForm* form = nullptr;
    void SetUp() override { app.CreateForm(form); }
    // A shaped form of w x h made as forms are loaded (Loaded builds the region).
    TKitFormShape* Make(gui::TFormBorderStyle style, int w, int h) {
        form->SetBorderStyle(style);
        form->SetBounds(50, 40, w, h);
        rtl::TLoadingScope loading;
        return new TKitFormShape(form);
    }
};

TEST_F(kitFormShape, DefaultShapeIsARoundedRectangleOverTheWholeFramelessWindow) {
    for (gui::TFormBorderStyle style : {gui::bsNone, gui::bsSingle, gui::bsSizeable}) {
        SCOPED_TRACE(style);
        for (bool caption : {true, false}) {
            auto* shape = Make(style, 200, 100);
            shape->SetShowFormCaption(caption);
            EXPECT_TRUE(form->Frameless());
            EXPECT_EQ(form->BorderStyle(), style);
            EXPECT_EQ(form->ClientWidth(), 200);
            EXPECT_EQ(form->ClientHeight(), 100);
            Rgn expected(CreateRoundRectRgn(-1, -1, 201, 101, 20, 20));
            EXPECT_TRUE(WindowRegionEquals(form, expected));
            EXPECT_EQ(shape->BodyRect(), Rect(-1, -1, 201, 101));
            delete shape;
        }
    }
}

TEST_F(kitFormShape, ShadowDepthIsPartOfTheWindowRegion) {
    auto* shape = Make(gui::bsNone, 100, 50);
    shape->Region()->SetShape(rsRect);
    shape->Region()->Shadow()->SetStyle(hssSolid);
    Rgn expected(CreateRectRgn(-1, -1, 95, 45));
    Rgn moved(CreateRectRgn(5, 5, 101, 51));
    CombineRgn(expected, expected, moved, RGN_OR);
    EXPECT_TRUE(WindowRegionEquals(form, expected));
    EXPECT_FALSE(PtInRegion(expected, 99, 2));  // the corner beside the shadow stays out
}

TEST_F(kitFormShape, SizeMessageFindsTheNewRegionAlreadyInPlace) {
    TRect boxAtSize{};
    int sizes = 0;
    // An older hook: it sees what the shape passes on to the form.
    gui::TWindowHook older(form, [&](gui::TMessage& m, const gui::TWndMethod& next) {
        if (m.Msg == gui::WM_SIZE) {
            ++sizes;
            Rgn r(CreateRectRgn(0, 0, 0, 0));
            gui::GetWindowRgn(form, r);
            GetRgnBox(r, boxAtSize);
        }
        next(m);
    });
    auto* shape = Make(gui::bsNone, 200, 100);
    shape->Region()->SetShape(rsElliptic);
    sizes = 0;
    form->SetBounds(50, 40, 300, 150);
    EXPECT_GE(sizes, 1);
    EXPECT_EQ(boxAtSize, Rect(-1, -1, 301, 151));
    Rgn expected(CreateEllipticRgn(-1, -1, 301, 151));
    EXPECT_TRUE(WindowRegionEquals(form, expected));
}

TEST_F(kitFormShape, HitTestTurnsFreeClientSpotsIntoTheCaption) {
    auto* shape = Make(gui::bsNone, 200, 100);
    auto* image = new gui::TImage(form);
    image->SetParent(form);
    image->SetBounds(10, 10, 30, 30);
    form->Show();
    ProcessFor(20);
    auto hit = [&](int x, int y) {
        const TPoint s = form->ClientToScreen({x, y});
        return form->Perform(gui::WM_NCHITTEST, 0, gui::MakeLParam(s.X, s.Y));
    };
    EXPECT_EQ(hit(100, 60), gui::HTCAPTION);
    EXPECT_EQ(hit(20, 20), gui::HTCLIENT);  // on a control
    image->SetEnabled(false);
    EXPECT_EQ(hit(20, 20), gui::HTCAPTION);  // disabled controls do not count
    form->Perform(gui::WM_NCRBUTTONDOWN, gui::HTCAPTION, 0);
    EXPECT_EQ(hit(100, 60), gui::HTCLIENT);  // right button held
    form->Perform(gui::WM_NCRBUTTONUP, gui::HTCAPTION, 0);
    EXPECT_EQ(hit(100, 60), gui::HTCAPTION);
    shape->SetFormDragable(false);
    EXPECT_EQ(hit(100, 60), gui::HTCLIENT);
}

TEST_F(kitFormShape, LeftPressOnAFreeSpotDragsTheForm) {
    Make(gui::bsNone, 200, 100);
    form->Show();
    ProcessFor(20);
    QWidget* client = form->ClientWidget();
    const QPoint at = client->mapToGlobal(QPoint(0, 0));
    auto send = [&](QEvent::Type t, QPoint p, Qt::MouseButtons held) {
        QMouseEvent e(t, QPointF(client->mapFromGlobal(at + p)), QPointF(at + p), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(client, &e);
    };
    send(QEvent::MouseButtonPress, {100, 50}, Qt::LeftButton);
    send(QEvent::MouseMove, {130, 70}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {130, 70}, Qt::NoButton);
    EXPECT_EQ(form->Left(), 80);
    EXPECT_EQ(form->Top(), 60);
}

TEST_F(kitFormShape, FillIsTheFormsBackgroundAndTransparentControlsCopyIt) {
    form->SetColor(clBlue);
    auto* shape = Make(gui::bsNone, 120, 80);
    shape->Region()->SetShape(rsRect);
    shape->FillObject()->SetStyle(sfBrush);
    shape->FillObject()->Brush()->SetColor(clRed);
    form->Show();
    ProcessFor(20);
    form->Repaint();
    const QImage shot = form->ClientWidget()->grab().toImage();
    EXPECT_EQ(shot.pixel(60, 40), Rgb(clRed));
    EXPECT_EQ(shot.pixel(60, 0), Rgb(clBlack));  // the single border along the edge
    EXPECT_TRUE(shape->HasBackground());
    ASSERT_EQ(shape->BackgroundBitmap(), shape->BackBitmap());
    EXPECT_EQ(shape->BackBitmap()->Width(), 120);
    EXPECT_EQ(shape->BackBitmap()->Height(), 80);

    TBitmap target(10, 10);
    EXPECT_TRUE(shape->CopyBackground(*target.Canvas(), Rect(0, 0, 10, 10), 0, {50, 30}));
    EXPECT_EQ(target.Canvas()->Pixels(5, 5), clRed);
    TPoint mapped;
    shape->BackMapPoint({7, 9}, mapped);
    EXPECT_EQ(mapped, (TPoint{7, 9}));

    // Without a fill the form erases in its colour and hands out nothing.
    shape->FillObject()->SetStyle(sfNone);
    form->Repaint();
    EXPECT_EQ(form->ClientWidget()->grab().toImage().pixel(60, 40), Rgb(clBlue));
    EXPECT_FALSE(shape->HasBackground());
    EXPECT_EQ(shape->BackgroundBitmap(), nullptr);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 10, 10));
    EXPECT_FALSE(shape->CopyBackground(*target.Canvas(), Rect(0, 0, 10, 10), 0, {50, 30}));
    EXPECT_EQ(target.Canvas()->Pixels(5, 5), clWhite);
}

TEST_F(kitFormShape, BitmapShapeSizesTheFormToTheBorderBitmapAndShowsIt) {
    auto* shape = Make(gui::bsNone, 200, 100);
    TKitRegionMask* mask = shape->Region()->Mask();
    TBitmap* bmp = mask->BorderBmp();
    bmp->SetSize(60, 40);
    bmp->Canvas()->Brush()->SetColor(clLime);
    bmp->Canvas()->FillRect(Rect(0, 0, 60, 40));
    Rgn data(CreateEllipticRgn(0, 0, 60, 40));
    std::vector<std::uint8_t> bytes(GetRegionData(data, 0, nullptr));
    GetRegionData(data, static_cast<std::uint32_t>(bytes.size()), bytes.data());
    mask->SetRegionData(bytes.data(), static_cast<int>(bytes.size()));
    shape->Region()->SetShape(rsBitmap);

    const int depth = shape->Region()->Shadow()->Depth();
    EXPECT_EQ(form->Width(), 60 + depth);
    EXPECT_EQ(form->Height(), 40 + depth);
    EXPECT_TRUE(WindowRegionEquals(form, data));
    EXPECT_TRUE(shape->HasBackground());
    EXPECT_EQ(shape->BackgroundBitmap(), bmp);
    form->Show();
    ProcessFor(20);
    form->Repaint();
    EXPECT_EQ(form->ClientWidget()->grab().toImage().pixel(30, 20), Rgb(clLime));
}

TEST_F(kitFormShape, ShapeWithoutRegionDataLeavesTheWholeWindowAndItsSize) {
    auto* shape = Make(gui::bsNone, 200, 100);
    shape->Region()->SetShape(rsPointList);  // no points
    Rgn probe(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(gui::GetWindowRgn(form, probe), RGN_ERROR);
    EXPECT_TRUE(form->Widget()->mask().isEmpty());
    shape->Region()->SetShape(rsBitmap);  // no border bitmap, no mask data
    EXPECT_EQ(form->Width(), 200);
    EXPECT_EQ(form->Height(), 100);
    EXPECT_EQ(gui::GetWindowRgn(form, probe), RGN_ERROR);
}

TEST_F(kitFormShape, OnlyOnePerFormWhileDesigning) {
    auto* designed = new DesignForm(&app);
    designed->Designing(true);
    new TKitFormShape(designed);
    EXPECT_THROW(new TKitFormShape(designed), KitEOneInstError);
    // At run time a second one is not refused.
    new TKitFormShape(form);
    EXPECT_NO_THROW(new TKitFormShape(form));
}

TEST_F(kitFormShape, ImageListChangesReachTheShapeUntilTheListIsFreed) {
    auto* shape = Make(gui::bsNone, 100, 60);
    int changes = 0;
    shape->OnChange = [&](rtl::TObject*) { ++changes; };
    auto* list = new TKitImageList(form);
    shape->SetImageList(list);
    EXPECT_EQ(changes, 1);
    list->Change();
    EXPECT_EQ(changes, 2);
    delete list;
    EXPECT_EQ(shape->ImageList(), nullptr);
    EXPECT_EQ(changes, 3);
    EXPECT_FALSE(shape->IsImageListStored());
    // The region is still built on changes.
    shape->Region()->SetShape(rsRect);
    Rgn expected(CreateRectRgn(-1, -1, 101, 61));
    EXPECT_TRUE(WindowRegionEquals(form, expected));
}
