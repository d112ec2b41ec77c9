#include "components/controls/KitGraphicLabel.h"

#include "components/base/KitDrawBitmap.h"

namespace kit {

using namespace gdi;
using gui::TMessage;

TKitCustomGraphicLabel::TKitCustomGraphicLabel(rtl::TComponent* AOwner) : TKitGraphicControl(AOwner) {
    gui::TControlStyle style = ControlStyle();
    style.Include(gui::csReplicatable);
    SetControlStyle(style);
    SetTransparent(false);  // csOpaque with it
    fontFX_ = std::make_unique<TKitFxCaption>();
    fontFX_->OnChange = [this](rtl::TObject* s) { ContentChanged(s); };
    fillObject_ = std::make_unique<TKitFillObject>();
    fillObject_->SetStyle(sfNone);
    fillObject_->OnChange = [this](rtl::TObject* s) { ContentChanged(s); };
    SetColor(clWindow);
    SetParentColor(true);
    settingFont_ = true;
    Font()->SetName("Arial");
    Font()->SetSize(24);
    settingFont_ = false;
}

TKitCustomGraphicLabel::~TKitCustomGraphicLabel() {
    fontFX_->OnChange = nullptr;
    fillObject_->OnChange = nullptr;
    fontFX_.reset();
    fillObject_.reset();
}

TKitTransformParams TKitCustomGraphicLabel::Params() const {
    TKitTransformParams p;
    p.Transform = transform_;
    p.Toggle = toggle_;
    p.Factor = factor_;
    p.InvertCaption = invertCaption_;
    p.Perspective = perspective_;
    p.PerspectiveDepth = perspectiveDepth_;
    p.Attributes = attributes_;
    return p;
}

void TKitCustomGraphicLabel::SetToggle(TKitToggle Value) {
    if (toggle_ == Value) return;
    toggle_ = Value;
    if (attributes_.Contains(taToggled)) ContentChanged(this);
}

int TKitCustomGraphicLabel::GetInteger(int Index) const {
    return Index == 4 ? perspectiveDepth_ : factor_;
}

void TKitCustomGraphicLabel::SetInteger(int Index, int Value) {
    if (Index == 2) {
        if (factor_ == Value) return;
        factor_ = Value;
        ContentChanged(this);
    } else if (Index == 4) {
        if (perspectiveDepth_ == Value) return;
        perspectiveDepth_ = Value;
        if (attributes_.Contains(taPerspective)) ContentChanged(this);
    }
}

void TKitCustomGraphicLabel::SetTransform(TKitTransLabelTypes Value) {
    if (transform_ == Value) return;
    transform_ = Value;
    ContentChanged(this);
}

void TKitCustomGraphicLabel::SetAttributes(TKitTransLabelAttr Value) {
    if (attributes_ == Value) return;
    attributes_ = Value;
    ContentChanged(this);
}

void TKitCustomGraphicLabel::SetPerspective(TKitPerspective Value) {
    if (perspective_ == Value) return;
    perspective_ = Value;
    ContentChanged(this);
}

bool TKitCustomGraphicLabel::GetBoolean(int Index) const {
    return Index == 1 ? autoSize_ : invertCaption_;
}

void TKitCustomGraphicLabel::SetBoolean(int Index, bool Value) {
    bool& field = Index == 1 ? autoSize_ : invertCaption_;
    if (field == Value) return;
    field = Value;
    ContentChanged(this);
}

void TKitCustomGraphicLabel::SetBrushBackColor(TColor Value) {
    if (brushBackColor_ == Value) return;
    brushBackColor_ = Value;
    ContentChanged(this);
}

void TKitCustomGraphicLabel::Assign(const rtl::TPersistent* Source) {
    auto* src = dynamic_cast<const TKitCustomGraphicLabel*>(Source);
    if (!src) {
        TKitGraphicControl::Assign(Source);
        return;
    }
    // Field copies below: one refresh at the end, not one per property.
    autoSize_ = false;
    fontFX_->Assign(src->fontFX_.get());
    Font()->Assign(*const_cast<TKitCustomGraphicLabel*>(src)->Font());
    fillObject_->Assign(src->fillObject_.get());
    attributes_ = src->attributes_;
    perspective_ = src->perspective_;
    transform_ = src->transform_;
    perspectiveDepth_ = src->perspectiveDepth_;
    toggle_ = src->toggle_;
    factor_ = src->factor_;
    autoSize_ = src->autoSize_;
    ContentChanged(this);
}

void TKitCustomGraphicLabel::ContentChanged(rtl::TObject* Sender) {
    if (Loading() || !Parent()) return;
    if (autoSize_) {
        TRect r = Rect(0, 0, 0, 0);
        const std::string text = Caption();
        KitCalcTransformedTextRect(*Canvas(), r, *Font(), *fontFX_, text, Params());
        const int space = GetBevelSpace();
        SetBounds(Left(), Top(), r.Right + space, r.Bottom + space);
    }
    TKitGraphicControl::ContentChanged(Sender);
}

void TKitCustomGraphicLabel::GetCaptionText(std::string& S) { S = Caption(); }

void TKitCustomGraphicLabel::ImageListChange(rtl::TObject* Sender) {
    if (!ImageEmpty()) {
        TBitmap picture;
        ImageList()->GetBitmap(ListIndex(), ImageIndex(), &picture);
        fillObject_->SetListBitmap(&picture);
    } else {
        fillObject_->SetListBitmap(nullptr);
    }
    if (!Loading()) TKitGraphicControl::ImageListChange(Sender);
}

void TKitCustomGraphicLabel::WndProc(TMessage& m) {
    std::weak_ptr<void> life = LifeToken();
    TKitGraphicControl::WndProc(m);
    if (life.expired() || Destroying()) return;
    if (m.Msg == gui::CM_FONTCHANGED || m.Msg == gui::CM_TEXTCHANGED) ContentChanged(this);
}

void TKitCustomGraphicLabel::Paint() {
    if (Loading() || settingFont_) return;
    TCanvas& c = *Canvas();
    if (Caption().empty()) TKitGraphicControl::Paint();
    TRect R = ClientRect();
    if (!Transparent()) {
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(Color());
        c.FillRect(R);
    }
    TRect inner;
    Bevel()->PaintBevel(c, R, Bevel()->BorderColor() == Color() || Transparent(), inner);
    R = inner;
    std::string text;
    GetCaptionText(text);
    if (fillObject_->IsEmptyFill()) {
        c.Font()->Assign(*Font());
        KitDrawTransformedText(c, R, *Font(), *fontFX_, text, Params());
        return;
    }
    PaintFilled(c, R, text);
}

// The letters are drawn into a picture keyed on BrushBackColor; the pixels in Font.Color (the
// faces) take the fill, the 3D copies keep their colours, and the key pixels are left out. The
// keys need letters in exactly these colours, so they are drawn without smoothing.
void TKitCustomGraphicLabel::PaintFilled(TCanvas& c, const TRect& R, const std::string& text) {
    if (R.IsEmpty()) return;
    const auto textBitmap = std::make_unique<TBitmap>();
    const auto fillBitmap = std::make_unique<TBitmap>();
    KitPrepareBitmap(textBitmap.get(), R, brushBackColor_);
    const TRect R0 = Rect(0, 0, textBitmap->Width(), textBitmap->Height());
    TCanvas& tc = *textBitmap->Canvas();
    TFont letters(*Font());
    letters.SetQuality(gdi::fqNonAntialiased);
    tc.Font()->Assign(letters);
    KitDrawTransformedText(tc, R0, letters, *fontFX_, text, Params());
    fillBitmap->SetSize(R0.Width(), R0.Height());
    const TColor back = fillObject_->Style() == sfBrush ? brushBackColor_ : Font()->Color();
    fillObject_->FillCanvas(*fillBitmap->Canvas(), R0, back);
    KitDrawBitmapOnBack(&c, R, textBitmap.get(), fillBitmap.get(), Font()->Color(), brushBackColor_);
}

}  // namespace kit
