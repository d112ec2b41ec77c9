// The list box with an image beside each item, from an image container: item i shows image i,
// or each item text carries its image number after a delimiter ("Red|3"). The base of the check
// list box. The derived base below is for list boxes that only read an image list box's form
// properties.
#pragma once

#include <memory>
#include <string>

#include "components/base/KitCaptions.h"
#include "components/base/kitcont.h"
#include "components/controls/KitCustomListBox.h"

namespace kit {

enum TKitImageBoxOption : unsigned {
    lboImageListOrder = 1, lboCheckImageNr = 2, lboCalcHeight = 4, lboTransparentImages = 8
};
using TKitImageBoxOptions = unsigned;  // a set of TKitImageBoxOption

class TKitCustomImageListBox : public TKitCustomListBox {
public:
    explicit TKitCustomImageListBox(rtl::TComponent* AOwner);
    ~TKitCustomImageListBox() override;

    TKitCustomImageList* ImageList() const { return imageList_; }
    void SetImageList(TKitCustomImageList* Value);
    int ListIndex() const { return listIndex_; }
    // Negative and unchanged values are ignored.
    void SetListIndex(int Value);
    int DefaultItem() const { return defaultItem_; }
    void SetDefaultItem(int Value);
    TKitImageBoxOptions Options() const { return options_; }
    // lboCalcHeight switches the variable item heights on.
    void SetOptions(TKitImageBoxOptions Value);
    TKitGlyphTextLayout* Layout() const { return layout_.get(); }
    void SetLayout(const TKitGlyphTextLayout* Value) { layout_->Assign(Value); }
    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char Value);
    // One empty item per image; the items are then not editable.
    bool FillFromImages() const { return fillFromImages_; }
    void SetFillFromImages(bool Value);

    // The image of an item; -1 for none.
    int GetImageIndex(int Index);

    virtual int ItemImageHeight(int Index);
    virtual int ItemImageWidth(int Index);
    virtual void ImageListChange(rtl::TObject* Sender);

    int ItemTextWidth(int Index) override;
    bool CanEdit() override;
    gdi::TRect GetItemRect(int Index) override;
    std::string GetItemText(int Index) override;

protected:
    void DefineProperties(rtl::TFiler* Filer) override;
    void Loaded() override;
    void Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) override;
    void DrawItem(int Index, gdi::TRect Rect, gui::TOwnerDrawState State) override;
    void MeasureItem(int Index, int& Height) override;
    // The item's text as drawn: the part before the delimiter with lboCheckImageNr.
    std::string DrawnText(int Index);

private:
    int ImageCount();
    void Refill();

    TKitCustomImageList* imageList_ = nullptr;
    int listIndex_ = 0;
    std::unique_ptr<TKitChangeLink> changeLink_;
    int defaultItem_ = -1;
    TKitImageBoxOptions options_ = lboImageListOrder | lboCheckImageNr;
    std::unique_ptr<TKitGlyphTextLayout> layout_;
    char delimiter_ = '|';
    bool fillFromImages_ = false;
};

// Reads and drops the image list box's properties "DefaultItem", "Delimiter" and "Options" of
// a form file written for one.
class TKitCustomDerivedImageListBox : public TKitCustomListBox {
public:
    using TKitCustomListBox::TKitCustomListBox;

protected:
    void DefineProperties(rtl::TFiler* Filer) override;
};

}  // namespace kit
