// Timer, panel, image and radio group.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/Graphics.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"

class QButtonGroup;
class QTimer;

namespace gui {

// ---- TTimer -------------------------------------------------------------------------------------
// Fires OnTimer every Interval milliseconds while Enabled and Interval > 0. Changing Interval or
// Enabled starts the period anew.
class TTimer : public rtl::TComponent {
public:
    explicit TTimer(rtl::TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);

    TNotifyEvent OnTimer;

protected:
    // Runs OnTimer.
    virtual void Timer();

private:
    void Update();
    QTimer* timer_ = nullptr;
    bool enabled_ = true;
    unsigned interval_ = 1000;
};

// ---- TPanel -------------------------------------------------------------------------------------
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A self-drawn container. Paint draws, from the client area's edge inwards: the outer bevel
// (BevelWidth lines; lowered: shadow above and left, highlight below and right; any other cut
// the other way round), BorderWidth lines in Color, the inner bevel, then fills the rest with
// Color and draws the caption centred vertically, placed by Alignment. The bevel colours are the
// light and dark colours of the desktop's 3-D look. BorderStyle bsSingle gives the window a
// sunken client edge (WS_EX_CLIENTEDGE); the client area lies inside it. A change of the bevels
// or the border width aligns the children anew.
class TPanel : public TCustomControl {
public:
    explicit TPanel(rtl::TComponent* owner);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut b);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut b);
    // At least 1.
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int w);
    // At least 0.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);

protected:
    void CreateParams(TCreateParams& params) override;
    // Aligned children stay inside the border width and the bevels.
    void AdjustClientRect(gdi::TRect& rect) override;
    void Paint() override;
    void TextChanged() override;

private:
    void FrameChanged();
    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
    TAlignment alignment_ = taCenter;
};

// ---- TImage -------------------------------------------------------------------------------------
// Shows Picture's bitmap without smoothing. Placement (as on the original platform): the picture
// at its own size at the top-left; Stretch fills the control; Proportional keeps the aspect
// ratio (with Stretch always, without Stretch only to shrink a picture larger than the control),
// anchored top-left; Center centres the result. Transparent leaves the bitmap's transparent
// colour (its bottom-left pixel unless fixed) undrawn. Mouse coordinates are control coordinates.
// Drawing on Canvas shows at the next paint; Invalidate / Repaint ask for it explicitly.
class TImage : public TGraphicControl {
public:
    explicit TImage(rtl::TComponent* owner);
    ~TImage() override;

    gdi::TPicture* Picture() const { return picture_.get(); }
    // The canvas of the picture's bitmap; an empty picture first gets a bitmap of the control's
    // size.
    gdi::TCanvas* Canvas();

    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Proportional() const { return proportional_; }
    void SetProportional(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    // Where the picture is drawn, in control coordinates.
    gdi::TRect DestRect() const;

    void Invalidate() override;
    void Repaint() override;

protected:
    void Paint() override;

private:
    void PictureChanged();
    void SyncTransparency();
    std::unique_ptr<gdi::TPicture> picture_;
    QImage display_;  // converted copy for painting, rebuilt after a change
    bool dirty_ = true;
    bool stretch_ = false;
    bool proportional_ = false;
    bool center_ = false;
    bool transparent_ = false;
    bool syncing_ = false;
};

// ---- TRadioGroup --------------------------------------------------------------------------------
// A group of radio buttons, one per line of Items, in Columns columns filled top to bottom.
// OnClick runs when the selection changes, by the user or by setting ItemIndex in code (values
// outside the items clamp to -1 .. Count-1; -1 selects nothing and runs no handler). Changing
// the items keeps the numeric ItemIndex (clamped) and runs no handler.
class TRadioGroup : public TWinControl {
public:
    explicit TRadioGroup(rtl::TComponent* owner);
    ~TRadioGroup() override;

    rtl::TStrings* Items() const { return items_.get(); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int Columns() const { return columns_; }
    void SetColumns(int n);

protected:
    void TextChanged() override;
    void BoundsChanged() override;

private:
    friend class RadioStrings;
    void ItemInserted(int index, const std::string& s);
    void ItemDeleted(int index);
    void ItemChanged(int index, const std::string& s);
    void ItemsCleared();
    void Arrange();
    void CheckButtons();
    void UserClicked(int index);
    std::unique_ptr<rtl::TStrings> items_;
    std::vector<QWidget*> buttons_;  // QRadioButton, children of the group's widget
    QButtonGroup* group_ = nullptr;
    int itemIndex_ = -1;
    int columns_ = 1;
};

}  // namespace gui
