// The image list box: which image an item shows, the images drawn beside the texts and the
// item heights they need.
#include <memory>
#include <string>

#include "components/base/kitcont.h"
#include "components/controls/KitCustomImageListBox.h"
#include "tests/components/widgets/KitListFixture.h"

using namespace kit;

namespace {
class ImageListBox : public TKitCustomImageListBox {
public:
    using TKitCustomImageListBox::TKitCustomImageListBox;
};

// An image list with one strip of size x size images in the given colours.
std::unique_ptr<TKitImageList> Images(std::initializer_list<gdi::TColor> colours, int size = 16) {
    auto list = std::make_unique<TKitImageList>(nullptr);
    TKitImageListItem* strip = list->Item(list->AddItem(nullptr));
    strip->SetWidth(size);
    strip->SetHeight(size);
    for (gdi::TColor c : colours) {
        gdi::TBitmap b(size, size);
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->FillRect(gdi::Rect(0, 0, size, size));
        strip->Add(&b, nullptr);
    }
    return list;
}
}  // namespace

class kitImageListBox : public KitListFixture {};

// In image-list order item i shows image i while there is one; otherwise the number after the
// delimiter, DefaultItem for a text without one, and no image for a number that is none.
TEST_F(kitImageListBox, ImageOfAnItem) {
    auto images = Images({gdi::clRed, gdi::clLime, gdi::clBlue});
    auto* box = Make<ImageListBox>();
    for (const char* t : {"a", "b", "Red|2", "Red", "Red|x"}) box->Items()->Add(t);
    EXPECT_EQ(box->GetImageIndex(0), -1) << "no image list";
    box->SetImageList(images.get());
    struct Case { int item; int ordered; int delimited; };
    for (const Case& c : {Case{0, 0, -1}, Case{1, 1, -1}, Case{2, 2, 2}, Case{3, -1, -1}, Case{4, -1, -1}}) {
        box->SetOptions(lboImageListOrder | lboCheckImageNr);
        EXPECT_EQ(box->GetImageIndex(c.item), c.ordered) << c.item;
        box->SetOptions(lboCheckImageNr);
        EXPECT_EQ(box->GetImageIndex(c.item), c.delimited) << c.item;
    }
    box->SetDefaultItem(1);
    EXPECT_EQ(box->GetImageIndex(3), 1);
    EXPECT_EQ(box->GetImageIndex(4), -1);
    EXPECT_EQ(box->GetItemText(2), "Red");
    EXPECT_EQ(box->GetItemText(9), "");
    EXPECT_EQ(box->ItemImageWidth(2), 16);
    EXPECT_EQ(box->ItemImageWidth(4), 0);
    EXPECT_GT(box->ItemTextWidth(2), box->ItemTextWidth(4) + 16) << "an image widens the item";

    images.reset();
    EXPECT_EQ(box->ImageList(), nullptr) << "a freed image list lets go of the box";
    EXPECT_EQ(box->GetImageIndex(2), -1);
}

// The image is drawn at the item's left beside its text; an item past the images shows none.
TEST_F(kitImageListBox, ImagesAreDrawnBesideTheText) {
    auto images = Images({gdi::clRed, gdi::clLime});
    auto* box = Make<ImageListBox>(160, 100);
    box->SetImageList(images.get());
    Fill(box, 3);
    const QImage img = Grab(box);
    const int b = 2, m = 1;  // client edge and margin
    EXPECT_EQ(img.pixel(b + m + 4, b + 4), Rgb(gdi::clRed));
    EXPECT_EQ(img.pixel(b + m + 4, b + 16 + 4), Rgb(gdi::clLime));
    // The third item has no image: nothing of either image's colour where one would be.
    for (int y = b + 32; y < b + 48; ++y)
        for (int x = b + m; x < b + m + 16; ++x) {
            EXPECT_NE(img.pixel(x, y), Rgb(gdi::clRed)) << x << "," << y;
            EXPECT_NE(img.pixel(x, y), Rgb(gdi::clLime)) << x << "," << y;
        }
}

// With lboCalcHeight each item is as high as its image needs.
TEST_F(kitImageListBox, CalculatedHeightsFollowTheImages) {
    auto images = Images({gdi::clRed}, 24);
    auto* box = Make<ImageListBox>(160, 100);
    box->SetImageList(images.get());
    box->SetOptions(lboImageListOrder | lboCheckImageNr | lboCalcHeight);
    Fill(box, 3);
    EXPECT_EQ(box->ItemRect(1).Top, 24);
    EXPECT_EQ(box->ItemRect(2).Top - box->ItemRect(1).Top, 16) << "no image: the plain height";
}
