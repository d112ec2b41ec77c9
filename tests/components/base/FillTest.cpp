// Shape fill, fill object and alpha object: defaults, painting by style and tile mode,
// notifications, assignment and the image-list coupling of the alpha object.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "components/base/kitfill.h"
#include "components/base/kitsysin.h"
#include "platform/rtl/Filer.h"

using namespace gdi;
using namespace kit;

namespace {

std::unique_ptr<TBitmap> Solid(int w, int h, TColor c) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush()->SetColor(c);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

int CountChanges(TKitObject& o, int& counter) {
    o.OnChange = [&counter](rtl::TObject*) { ++counter; };
    return counter;
}

// Images of one colour each in list 0, 4 x 4 pixels, changed with one notification.
class TColorImageList : public TKitImageList {
public:
    explicit TColorImageList(rtl::TComponent* owner) : TKitImageList(owner) {}
    std::vector<TColor> colors;
    void SetColors(std::vector<TColor> c) {
        colors = std::move(c);
        Change();
    }
    bool HasImage(int ListIndex, int ImageIndex) override {
        return ListIndex == 0 && ImageIndex >= 0 && ImageIndex < static_cast<int>(colors.size());
    }
    void GetBitmap(int ListIndex, int ImageIndex, TBitmap* Bitmap) override {
        if (!Bitmap || !HasImage(ListIndex, ImageIndex)) return;
        Bitmap->Assign(*Solid(4, 4, colors[static_cast<std::size_t>(ImageIndex)]));
    }
};

}  // namespace

TEST(KitFillObject, DefaultsPaintNothing) {
    TKitShapeFill shape;
    EXPECT_EQ(shape.Style(), sfBrush);
    EXPECT_EQ(shape.TileMode(), tmTile);

    TKitFillObject fill;
    EXPECT_EQ(fill.Style(), sfNone);
    EXPECT_EQ(fill.TileMode(), tmTile);
    EXPECT_EQ(fill.Alignment(), agTopLeft);
    EXPECT_EQ(fill.Options(), (TKitFillOptions{foFillInner, foGrUseBitmap}));
    EXPECT_TRUE(fill.IsEmptyFill());

    auto canvas = Solid(20, 20, clBlack);
    EXPECT_FALSE(fill.FillCanvas(*canvas->Canvas(), Rect(0, 0, 20, 20), clLime));
    for (int y = 0; y < 20; y += 19)
        for (int x = 0; x < 20; x += 19) EXPECT_EQ(canvas->Canvas()->Pixels(x, y), clBlack);

    std::string s;
    fill.GetSummary(s);
    EXPECT_EQ(s, "{Disabled}");
    shape.SetStyle(sfGradient);
    shape.GetSummary(s);
    EXPECT_EQ(s, "{Gradient}");
}

TEST(KitFillObject, EmptyPictureFillsOnlyTheInnerPart) {
    for (TKitFillStyle style : {sfBitmap, sfBitmapList}) {
        for (bool inner : {true, false}) {
            SCOPED_TRACE(testing::Message() << "style " << int(style) << " inner " << inner);
            TKitFillObject fill;
            fill.SetStyle(style);
            EXPECT_TRUE(fill.IsEmptyFill());
            if (!inner) fill.SetOptions({foGrUseBitmap});
            auto canvas = Solid(10, 10, clBlack);
            EXPECT_FALSE(fill.FillCanvas(*canvas->Canvas(), Rect(2, 2, 8, 8), clLime));
            EXPECT_EQ(canvas->Canvas()->Pixels(2, 2), inner ? clLime : clBlack);
            EXPECT_EQ(canvas->Canvas()->Pixels(7, 7), inner ? clLime : clBlack);
            EXPECT_EQ(canvas->Canvas()->Pixels(8, 8), clBlack);
        }
    }
}

TEST(KitFillObject, AlignedBitmapWithOffset) {
    TKitFillObject fill;
    fill.SetStyle(sfBitmap);
    fill.SetTileMode(tmNone);
    fill.SetAlignment(agBottomRight);
    fill.SetOffsetX(-5);
    fill.SetBitmap(Solid(10, 10, clRed).get());

    auto canvas = Solid(100, 50, clBlack);
    EXPECT_TRUE(fill.FillCanvas(*canvas->Canvas(), Rect(0, 0, 100, 50), clLime));
    TCanvas& c = *canvas->Canvas();
    EXPECT_EQ(c.Pixels(85, 40), clRed);  // top-left of the bitmap
    EXPECT_EQ(c.Pixels(94, 49), clRed);
    EXPECT_EQ(c.Pixels(84, 40), clLime);  // the inner part around it
    EXPECT_EQ(c.Pixels(95, 49), clLime);
    EXPECT_EQ(c.Pixels(85, 39), clLime);
    EXPECT_EQ(c.Pixels(0, 0), clLime);
}

TEST(KitFillObject, TileModes) {
    // A 4 x 4 picture in a 12 x 12 rectangle of a black canvas, background lime. Tiling draws
    // whole tiles one row and column beyond the rectangle; the other modes stay inside.
    struct Case {
        TKitTileMode mode;
        TColor corner, middle, outside;
    } cases[] = {
        {tmCenter, clLime, clRed, clBlack},  // inner part first, then the centred picture
        {tmStretch, clRed, clRed, clBlack},
        {tmTile, clRed, clRed, clRed},
        {tmNone, clRed, clLime, clBlack},  // top left, the rest inner part
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(int(k.mode));
        TKitFillObject fill;
        fill.SetStyle(sfBitmap);
        fill.SetTileMode(k.mode);
        fill.SetBitmap(Solid(4, 4, clRed).get());
        auto canvas = Solid(14, 14, clBlack);
        EXPECT_TRUE(fill.FillCanvas(*canvas->Canvas(), Rect(1, 1, 13, 13), clLime));
        EXPECT_EQ(canvas->Canvas()->Pixels(1, 1), k.corner);
        EXPECT_EQ(canvas->Canvas()->Pixels(6, 6), k.middle);
        EXPECT_EQ(canvas->Canvas()->Pixels(12, 12), k.mode == tmNone ? clLime : k.corner);
        EXPECT_EQ(canvas->Canvas()->Pixels(13, 13), k.outside);
    }
}

TEST(KitFillObject, TileStartsAtTheRectangleAndStretchCoversIt) {
    auto pic = Solid(2, 2, clRed);
    pic->Canvas()->SetPixels(0, 0, clBlue);
    TKitFillObject fill;
    fill.SetStyle(sfBitmap);
    fill.SetBitmap(pic.get());
    auto canvas = Solid(10, 10, clBlack);
    fill.FillCanvas(*canvas->Canvas(), Rect(1, 1, 9, 9), clLime);
    EXPECT_EQ(canvas->Canvas()->Pixels(1, 1), clBlue);
    EXPECT_EQ(canvas->Canvas()->Pixels(3, 3), clBlue);
    EXPECT_EQ(canvas->Canvas()->Pixels(2, 3), clRed);

    fill.SetTileMode(tmStretch);
    fill.FillCanvas(*canvas->Canvas(), Rect(1, 1, 9, 9), clLime);
    EXPECT_EQ(canvas->Canvas()->Pixels(4, 4), clBlue);  // the top-left quarter is blue
    EXPECT_EQ(canvas->Canvas()->Pixels(5, 4), clRed);
    EXPECT_EQ(canvas->Canvas()->Pixels(8, 8), clRed);
}

TEST(KitFillObject, BrushHatchGapsShowTheBackground) {
    TKitFillObject fill;
    fill.SetStyle(sfBrush);
    fill.Brush()->SetColor(clRed);
    fill.Brush()->SetStyle(bsHorizontal);
    auto canvas = Solid(16, 16, clBlack);
    EXPECT_TRUE(fill.FillCanvas(*canvas->Canvas(), Rect(0, 0, 16, 16), clLime));
    EXPECT_EQ(canvas->Canvas()->Pixels(3, 0), clRed);  // the hatch lines every 8 rows
    EXPECT_EQ(canvas->Canvas()->Pixels(3, 8), clRed);
    EXPECT_EQ(canvas->Canvas()->Pixels(3, 1), clLime);
    EXPECT_EQ(canvas->Canvas()->Pen()->Color(), clLime);

    fill.Brush()->SetStyle(bsSolid);
    fill.FillCanvas(*canvas->Canvas(), Rect(0, 0, 16, 16), clLime);
    EXPECT_EQ(canvas->Canvas()->Pixels(3, 1), clRed);
}

TEST(KitFillObject, BrushBitmapIsThePattern) {
    auto pattern = Solid(16, 16, clRed);
    pattern->Canvas()->SetPixels(10, 10, clBlue);
    pattern->Canvas()->SetPixels(2, 2, clYellow);
    TKitFillObject fill;
    fill.SetStyle(sfBrushBitmap);
    fill.SetBitmap(pattern.get());

    const bool wasNT = KitIsWinNT;
    for (bool nt : {true, false}) {
        SCOPED_TRACE(nt);
        KitIsWinNT = nt;
        auto canvas = Solid(20, 20, clBlack);
        EXPECT_TRUE(fill.FillCanvas(*canvas->Canvas(), Rect(0, 0, 20, 20), clLime));
        // The whole bitmap repeats from the device origin, or only its top-left 8 x 8 pixels.
        EXPECT_EQ(canvas->Canvas()->Pixels(10, 10), nt ? clBlue : clYellow);
        EXPECT_EQ(canvas->Canvas()->Pixels(18, 18), clYellow);  // (2, 2) again in both
        EXPECT_EQ(canvas->Canvas()->Brush()->Bitmap(), nullptr);  // pattern cleared afterwards
    }
    KitIsWinNT = wasNT;

    // Without a bitmap the canvas brush fills as it is.
    fill.SetBitmap(nullptr);
    auto canvas = Solid(4, 4, clBlack);
    canvas->Canvas()->Brush()->SetColor(clAqua);
    EXPECT_TRUE(fill.FillCanvas(*canvas->Canvas(), Rect(0, 0, 4, 4), clLime));
    EXPECT_EQ(canvas->Canvas()->Pixels(1, 1), clAqua);
}

TEST(KitFillObject, GradientPaintsAsTheGradientRoutine) {
    TKitFillObject fill;
    fill.SetStyle(sfGradient);
    fill.Gradient()->SetStyle(gstHorizontal);
    fill.Gradient()->SetEndColor(clYellow);
    auto a = Solid(40, 20, clBlack);
    auto b = Solid(40, 20, clBlack);
    EXPECT_TRUE(fill.FillCanvas(*a->Canvas(), Rect(3, 2, 37, 18), clLime));
    KitPaintGradient(*b->Canvas(), Rect(3, 2, 37, 18), gstHorizontal, &fill.Gradient()->Colors(), 0,
                     kpgOffscreen, 0);
    EXPECT_TRUE(a->Image() == b->Image());
    EXPECT_NE(a->Canvas()->Pixels(3, 2), a->Canvas()->Pixels(36, 2));
}

TEST(KitFillObject, PlacementNotifiesOnlyWhenItShows) {
    TKitFillObject fill;
    int changes = 0;
    CountChanges(fill, changes);
    fill.SetStyle(sfBitmap);
    EXPECT_EQ(changes, 1);
    fill.SetOffsetX(3);  // tiled: the offset does not show
    fill.SetAlignment(agCenter);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(fill.OffsetX(), 3);
    fill.SetTileMode(tmNone);
    EXPECT_EQ(changes, 2);
    fill.SetOffsetX(4);
    fill.SetOffsetY(1);
    fill.SetOffsetY(1);  // unchanged
    EXPECT_EQ(changes, 4);

    // Owned objects report through the fill.
    fill.Brush()->SetColor(clRed);
    fill.Gradient()->SetColorCount(4);
    fill.Bitmap()->SetSize(3, 3);
    EXPECT_EQ(changes, 7);
    // The list bitmap does not.
    fill.SetListBitmap(Solid(2, 2, clRed).get());
    EXPECT_EQ(changes, 7);
    EXPECT_EQ(fill.ListBitmap()->Width(), 2);
}

TEST(KitFillObject, AssignKeepsThePlacement) {
    TKitFillObject src;
    src.SetStyle(sfBitmapList);
    src.SetTileMode(tmStretch);
    src.SetOptions({foQuickDraw});
    src.Brush()->SetColor(clRed);
    src.SetBitmap(Solid(3, 3, clRed).get());
    src.SetListBitmap(Solid(5, 2, clBlue).get());
    src.Gradient()->SetEndColor(clLime);
    src.SetAlignment(agCenter);
    src.SetOffsetX(7);

    TKitFillObject dst;
    dst.SetAlignment(agBottomLeft);
    dst.SetOffsetY(-2);
    int changes = 0;
    CountChanges(dst, changes);
    dst.Assign(&src);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(dst.Style(), sfBitmapList);
    EXPECT_EQ(dst.TileMode(), tmStretch);
    EXPECT_EQ(dst.Options(), TKitFillOptions{foQuickDraw});
    EXPECT_EQ(dst.Brush()->Color(), clRed);
    EXPECT_EQ(dst.Bitmap()->Width(), 3);
    EXPECT_EQ(dst.ListBitmap()->Width(), 5);
    EXPECT_EQ(dst.Gradient()->EndColor(), clLime);
    EXPECT_EQ(dst.Alignment(), agBottomLeft);
    EXPECT_EQ(dst.OffsetX(), 0);
    EXPECT_EQ(dst.OffsetY(), -2);

    // A plain shape fill takes the shape part of a fill object.
    TKitShapeFill shape;
    shape.Assign(&src);
    EXPECT_EQ(shape.Style(), sfBitmapList);
    EXPECT_EQ(shape.ListBitmap()->Width(), 5);
    EXPECT_THROW(dst.Assign(static_cast<const rtl::TPersistent*>(src.Gradient())), rtl::EConvertError);
}

TEST(KitAlphaObject, ActiveSummaryAndStoredStrength) {
    TKitAlphaObject alpha;
    EXPECT_FLOAT_EQ(alpha.Strength(), 0.6f);
    struct Case {
        TKitFillStyle style;
        float strength;
        bool active;
        const char* summary;
    } cases[] = {
        {sfNone, 0.6f, false, "{Disabled}"},
        {sfNone, 0.2f, false, "{Disabled}"},
        {sfGradient, 1.0f, false, "{Enabled (grad), strength: 1,000}"},
        {sfGradient, 0.6f, true, "{Enabled (grad), strength: 0,600}"},
        {sfBrush, 0.0f, true, "{Enabled (brush), strength: 0,000}"},
        {sfBitmapList, 0.25f, true, "{Enabled (bmp), strength: 0,250}"},
        {sfBrushBitmap, 2.0f, true, "{Enabled (), strength: 2,000}"},
    };
    rtl::TFormatSettings saved = rtl::FormatSettings();
    rtl::FormatSettings().DecimalSeparator = ',';
    for (const Case& k : cases) {
        alpha.FillObject()->SetStyle(k.style);
        alpha.SetStrength(k.strength);
        EXPECT_EQ(alpha.IsActive(), k.active) << k.summary;
        std::string s;
        alpha.GetSummary(s);
        EXPECT_EQ(s, k.summary);
    }
    rtl::FormatSettings() = saved;

    alpha.SetStrength(0.6f);
    EXPECT_FALSE(alpha.IsStrengthStored());
    alpha.SetStrength(0.5f);
    EXPECT_TRUE(alpha.IsStrengthStored());
    alpha.SetStrength(0.6000004f);  // the same to six decimals
    EXPECT_FALSE(alpha.IsStrengthStored());
}

TEST(KitAlphaObject, ListBitmapFollowsTheImageList) {
    TColorImageList list(nullptr);
    list.colors = {clRed, clBlue};
    TKitAlphaObject alpha;
    int changes = 0;
    CountChanges(alpha, changes);
    TBitmap& lb = *alpha.FillObject()->ListBitmap();

    alpha.SetImageList(&list);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(alpha.IsImageListStored());
    ASSERT_EQ(lb.Width(), 4);
    EXPECT_EQ(lb.Canvas()->Pixels(0, 0), clRed);

    alpha.SetImageIndex(1);
    EXPECT_EQ(lb.Canvas()->Pixels(0, 0), clBlue);
    alpha.SetImageIndex(1);  // unchanged, refreshed and reported all the same
    EXPECT_EQ(changes, 3);

    list.SetColors({clRed, clYellow});  // the container's change reaches the object
    EXPECT_EQ(lb.Canvas()->Pixels(0, 0), clYellow);
    EXPECT_EQ(changes, 4);

    for (auto [listIndex, imageIndex] : {std::pair{0, 2}, {0, -1}, {1, 0}, {-1, 0}}) {
        alpha.SetImageIndex(1);
        alpha.SetListIndex(0);
        ASSERT_FALSE(lb.Empty());
        alpha.SetListIndex(listIndex);
        alpha.SetImageIndex(imageIndex);
        EXPECT_TRUE(lb.Empty()) << listIndex << " " << imageIndex;
    }

    // Another list: the old one's changes no longer arrive.
    TColorImageList other(nullptr);
    other.colors = {clAqua};
    alpha.SetListIndex(0);
    alpha.SetImageIndex(0);
    alpha.SetImageList(&other);
    EXPECT_EQ(lb.Canvas()->Pixels(0, 0), clAqua);
    const int before = changes;
    list.SetColors({clRed});
    EXPECT_EQ(changes, before);
    alpha.SetImageList(nullptr);
    EXPECT_TRUE(lb.Empty());
    EXPECT_FALSE(alpha.IsImageListStored());
}

TEST(KitAlphaObject, FreeingTheListLeavesNoReference) {
    TKitAlphaObject alpha;
    auto list = std::make_unique<TColorImageList>(nullptr);
    list->colors = {clRed};
    alpha.SetImageList(list.get());
    ASSERT_FALSE(alpha.FillObject()->ListBitmap()->Empty());
    int changes = 0;
    CountChanges(alpha, changes);
    list.reset();
    EXPECT_EQ(alpha.ImageList(), nullptr);
    EXPECT_TRUE(alpha.FillObject()->ListBitmap()->Empty());
    EXPECT_EQ(changes, 1);
    alpha.SetImageIndex(0);  // would reach into the freed list otherwise
    EXPECT_TRUE(alpha.FillObject()->ListBitmap()->Empty());

    // The other way round: the alpha object dies first, the list lives on and changes.
    TColorImageList survivor(nullptr);
    survivor.colors = {clRed};
    {
        TKitAlphaObject shortLived;
        shortLived.SetImageList(&survivor);
    }
    survivor.SetColors({clBlue});
}

TEST(KitAlphaObject, AssignMovesTheLink) {
    TColorImageList list(nullptr);
    list.colors = {clRed, clLime};
    TKitAlphaObject src;
    src.FillObject()->SetStyle(sfBitmapList);
    src.SetStrength(0.3f);
    src.SetImageIndex(1);
    src.SetImageList(&list);

    TKitAlphaObject dst;
    dst.Assign(&src);
    EXPECT_EQ(dst.ImageList(), &list);
    EXPECT_EQ(dst.ImageIndex(), 1);
    EXPECT_FLOAT_EQ(dst.Strength(), 0.3f);
    EXPECT_EQ(dst.FillObject()->Style(), sfBitmapList);
    EXPECT_EQ(dst.FillObject()->ListBitmap()->Canvas()->Pixels(0, 0), clLime);
    list.SetColors({clRed, clBlue});
    EXPECT_EQ(dst.FillObject()->ListBitmap()->Canvas()->Pixels(0, 0), clBlue);

    // No application-wide list here: nothing goes into "Internal".
    rtl::TMemoryStream stream;
    rtl::WriteDefinedProperties(dst, stream);
    stream.SetPosition(0);
    TKitAlphaObject back;
    rtl::ReadDefinedProperties(back, stream);
    EXPECT_EQ(back.ImageList(), nullptr);
}

TEST(KitAlphaObject, TheApplicationWideImageListByNameAndItsImages) {
    KitContInitialize();
    TKitImageList* shared = KitAppContainer->ImageList();
    TKitImageListItem* item = shared->Item(shared->AddItem(nullptr));
    item->SetWidth(4);
    item->SetHeight(4);
    item->Add(Solid(4, 4, clRed).get(), nullptr);
    item->Add(Solid(4, 4, clLime).get(), nullptr);

    TKitAlphaObject alpha;
    alpha.SetImageIndex(1);
    alpha.SetImageList(shared);
    EXPECT_FALSE(alpha.IsImageListStored());
    TBitmap& lb = *alpha.FillObject()->ListBitmap();
    ASSERT_EQ(lb.Width(), 4);
    EXPECT_EQ(lb.Canvas()->Pixels(3, 3), clLime);

    rtl::TMemoryStream stream;
    rtl::WriteDefinedProperties(alpha, stream);
    stream.SetPosition(0);
    TKitAlphaObject back;
    rtl::ReadDefinedProperties(back, stream);
    EXPECT_EQ(back.ImageList(), shared);
    EXPECT_EQ(back.FillObject()->ListBitmap()->Canvas()->Pixels(0, 0), clRed);

    // The container goes at shut-down; neither object keeps a reference into it.
    KitContFinalize();
    EXPECT_EQ(KitAppContainer, nullptr);
    EXPECT_EQ(alpha.ImageList(), nullptr);
    EXPECT_EQ(back.ImageList(), nullptr);
    EXPECT_TRUE(lb.Empty());
}
