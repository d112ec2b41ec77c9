// The shaped form: a component on a form that gives the form the outline of a region, paints
// the form's background with a fill (or the region mask's border bitmap), paints the region's
// shadow and border, lets the user drag the form by any free spot of its client area and hands
// its background picture to transparent controls. It sees the form's messages through the
// window-procedure hook. At most one sits on a form.
//
// On this platform a shaped top-level form is frameless: its region covers the whole window
// and the frame and caption sizes are 0.
#pragma once

#include <memory>

#include "components/base/KitRegions.h"
#include "components/base/kitcont.h"
#include "components/base/kitfill.h"
#include "components/base/kitwndproc.h"
#include "platform/gdi/Graphics.h"

namespace kit {

class TKitFormShape : public TKitWndProcComponent {
public:
    // Raises KitEOneInstError while the owner is being designed and is not a form or already
    // holds a shaped form.
    explicit TKitFormShape(rtl::TComponent* AOwner);
    ~TKitFormShape() override;

    // ---- Background service for transparent controls ----
    // UseRgnBitmap with shape rsBitmap; otherwise a fill style other than sfNone outside design
    // time.
    virtual bool HasBackground() const;
    // The mask's border bitmap (UseRgnBitmap, rsBitmap), else the painted fill when the fill
    // style is not sfNone, else nullptr. Owned by the shape.
    virtual gdi::TBitmap* BackgroundBitmap() const;
    // A point of the form's client area in background-bitmap coordinates (the same point).
    virtual gdi::TPoint MapPoint(gdi::TPoint P) const { return P; }
    gdi::TBitmap* GetBackBitmap() const { return BackgroundBitmap(); }
    void BackMapPoint(gdi::TPoint P, gdi::TPoint& Result) const { Result = MapPoint(P); }
    // With a background: copies the background's rectangle of Rect's size at Origin into Rect
    // of Canvas. Returns HasBackground.
    bool CopyBackground(gdi::TCanvas& Canvas, const gdi::TRect& Rect, unsigned Flags, gdi::TPoint Origin);

    // ---- Properties ----
    TKitBorderRegion* Region() const { return region_.get(); }
    void SetRegion(const TKitRegion* Value) { region_->Assign(Value); }
    TKitFillObject* FillObject() const { return fillObject_.get(); }
    void SetFillObject(const TKitFillObject* Value) { fillObject_->Assign(Value); }
    // Index 0 ShowFormCaption, 1 FormDragable, 2 UseRgnBitmap.
    bool GetFlag(int Index) const;
    void SetFlag(int Index, bool Value);
    bool ShowFormCaption() const { return showFormCaption_; }
    void SetShowFormCaption(bool Value) { SetFlag(0, Value); }
    bool FormDragable() const { return formDragable_; }
    void SetFormDragable(bool Value) { SetFlag(1, Value); }
    bool UseRgnBitmap() const { return useRgnBitmap_; }
    void SetUseRgnBitmap(bool Value) { SetFlag(2, Value); }
    // Not owned; the shape hears of the container's changes and of its destruction.
    TKitCustomImageList* ImageList() const { return imageList_; }
    void SetImageList(TKitCustomImageList* Value);
    bool IsImageListStored() const;
    // Index 0 ListIndex, 1 ImageIndex; only stored.
    int GetIndex(int Index) const { return Index == 0 ? listIndex_ : imageIndex_; }
    void SetIndex(int Index, int Value) { (Index == 0 ? listIndex_ : imageIndex_) = Value; }
    int ListIndex() const { return listIndex_; }
    int ImageIndex() const { return imageIndex_; }

    // The painted fill (the background handed to transparent controls).
    gdi::TBitmap* BackBitmap() const { return backBitmap_.get(); }
    // The rectangle of the last region update (window coordinates).
    const gdi::TRect& BodyRect() const { return bodyRect_; }

    // Builds the form's window region from Region (nothing while loading).
    void UpdateRegion();
    // Paints the background, the shadow and the border on Canvas (the form's client canvas
    // when nullptr).
    void PaintForm(gdi::TCanvas* Canvas);

    void GetChange(rtl::TObject* Sender) override;
    void WndProc(gui::TMessage& Message) override;

protected:
    void Loaded() override;
    void Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) override;
    // "Internal": an application-wide image list.
    void DefineProperties(rtl::TFiler* Filer) override;

private:
    bool designing() const { return ComponentState().Contains(rtl::csDesigning); }

    std::unique_ptr<TKitBorderRegion> region_;
    bool useRgnBitmap_ = true;
    bool rightDown_ = false;  // right button down on the non-client area
    bool formDragable_ = true;
    bool showFormCaption_ = true;
    std::unique_ptr<TKitFillObject> fillObject_;
    std::unique_ptr<gdi::TBitmap> backBitmap_;
    gdi::TRect bodyRect_{};
    int listIndex_ = 0, imageIndex_ = 0;
    std::unique_ptr<TKitChangeLink> changeLink_;
    TKitCustomImageList* imageList_ = nullptr;
};

}  // namespace kit
