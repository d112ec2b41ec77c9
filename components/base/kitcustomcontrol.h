// Base of the library's self-drawn windowed controls (panels, the edit, the status bar): a
// transparent mode that takes the background from the parent, a background-effect object, a
// flat frame that becomes a full frame while the control is focused or under the mouse, themed
// frames, a reference to an image container, mouse enter and exit events, and the private
// messages by which parents tell their children that the background under them changed.
// Descendants publish what they use.
#pragma once

#include <memory>
#include <string>

#include "components/base/KitFormShape.h"
#include "components/base/KitMessages.h"
#include "components/base/kitbmp.h"
#include "components/base/kitcont.h"
#include "components/base/kitcomponent.h"
#include "platform/gdi/Drawing.h"
#include "platform/gui/Controls.h"

namespace kit {

class TKitCustomControl : public gui::TCustomControl {
public:
    explicit TKitCustomControl(rtl::TComponent* AOwner);
    ~TKitCustomControl() override;

    TKitAboutVar About;

    bool Transparent() const { return transparent_; }
    // Recreates the window; csOpaque follows the opposite of the value.
    void SetTransparent(bool Value);
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    bool CtlXP() const { return ctlXP_; }
    void SetCtlXP(bool Value);
    // The class library's 3-D look: the flat frames draw two rings with it, one without.
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool Value) { ctl3D_ = Value; }

    TKitCustomImageList* ImageList() const { return imageList_; }
    // Nil is allowed: the control then shows no image.
    void SetImageList(TKitCustomImageList* Value);
    // Index 0 ImageIndex, 1 ListIndex; negative and unchanged values are ignored.
    int GetIndex(int Index) const { return Index == 0 ? imageIndex_ : listIndex_; }
    void SetIndex(int Index, int Value);
    int ImageIndex() const { return imageIndex_; }
    int ListIndex() const { return listIndex_; }
    void SetImageIndex(int Value) { SetIndex(0, Value); }
    void SetListIndex(int Value) { SetIndex(1, Value); }

    TKitBitmapEffectObject* BackFX() const { return backFX_.get(); }
    // Copies Value into the owned object.
    void SetBackFX(const TKitBitmapEffectObject* Value) { backFX_->Assign(Value); }

    bool MouseInside() const { return mouseInside_; }
    bool FocusedFlag() const { return focusedFlag_; }
    bool ThemePainted() const { return themePainted_; }

    rtl::TNotifyEvent OnGotFocus;
    rtl::TNotifyEvent OnLostFocus;
    rtl::TNotifyEvent OnMouseEnter;
    rtl::TNotifyEvent OnMouseExit;

    // Themed frames are drawn: the class supports them, themes are on and CtlXP is set.
    bool PaintThemed();
    void DrawThemedFrame(gdi::TCanvas& Canvas, const gdi::TRect& Rect);
    // Fills Rect of the client area with the background (nothing when themed).
    void FillBackRect(const gdi::TRect& Rect);
    void DrawDesignFrame();

    // Background-bitmap protocol between panels and their children (the base has none).
    virtual gdi::TBitmap* GetBackBitmap() { return nullptr; }
    virtual bool HasBackBitmap() { return false; }
    virtual bool DrawBackBitmap(gdi::TCanvas& Canvas, const gdi::TRect& Rect, gdi::TPoint Origin,
                                unsigned short Flags);
    virtual void BackMapPoint(gdi::TPoint P, gdi::TPoint& Result) { Result = P; }
    gdi::HPALETTE GetBackPalette();

protected:
    virtual void BackgroundChanged();
    virtual bool ThemeParentBackOK() { return true; }
    virtual bool ThemedFrameSupported() { return false; }
    virtual bool ThemedTransparent();
    virtual void ReservedHook() {}
    virtual void FlatChanged() {}
    virtual bool TransparentBack();
    virtual void PaintBackground();
    virtual void BackFXChange(rtl::TObject* Sender);
    virtual bool DesignFrameNeeded() { return true; }
    virtual bool IsReadOnly() { return false; }
    virtual void ImageListChange(rtl::TObject* Sender);
    virtual void MouseEnter();
    virtual void MouseExit();
    virtual void DrawFlatFrame();
    virtual void DrawFlatFrameHot();
    virtual void GetThemePart(std::string& ClassName, int& Part, int& State);

    void WndProc(gui::TMessage& Message) override;
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void DoEnter() override;
    void DoExit() override;
    void Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) override;
    void DefineProperties(rtl::TFiler* Filer) override;

    bool Loading() const { return ComponentState().Contains(rtl::csLoading); }
    bool Designing() const { return ComponentState().Contains(rtl::csDesigning); }

private:
    void WMEraseBkgnd(gui::TMessage& Message);
    void ParentBackChanged();

    bool themePainted_ = false;
    bool mouseInside_ = false;
    bool focusedFlag_ = false;
    bool flat_ = false;
    bool transparent_ = false;
    TKitCustomImageList* imageList_ = nullptr;
    int imageIndex_ = 0;
    int listIndex_ = 0;
    std::unique_ptr<TKitChangeLink> changeLink_;
    std::unique_ptr<TKitBitmapEffectObject> backFX_;
    bool ctlXP_ = true;
    bool ctl3D_ = true;
};

// Index in Form's components of the first one of ComponentClass; -1 when Form is nil or not a
// form, the class is nil, or there is none.
int KitFindComponentIndex(rtl::TComponent* Form, const rtl::TComponentClass& ComponentClass);

}  // namespace kit
