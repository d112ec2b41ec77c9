#include "components/base/KitCaptions.h"

namespace kit {

namespace {
// The setter pattern of property objects: store a differing value and announce it.
template <class T, class U>
void Set(TKitObject& o, T& field, U value) {
    if (field == static_cast<T>(value)) return;
    field = static_cast<T>(value);
    o.Change();
}
}  // namespace

// ---- TKit3DCaption -----------------------------------------------------------------------------

void TKit3DCaption::SetDisabledStyle(TKitDisabledStyle value) { Set(*this, disabledStyle_, value); }
void TKit3DCaption::SetDepth(int index, std::uint8_t value) { Set(*this, depth_[index & 1], value); }
void TKit3DCaption::SetEffectColor(int index, gdi::TColor value) { Set(*this, color_[index & 1], value); }
void TKit3DCaption::SetStyle(TKitThreeDStyle value) { Set(*this, style_, value); }
void TKit3DCaption::SetOrientation(TKitThreeDOrientation value) { Set(*this, orientation_, value); }
void TKit3DCaption::SetTracing(int value) { Set(*this, tracing_, value); }

void TKit3DCaption::Copy3D(const TKit3DCaption& s) {
    disabledStyle_ = s.disabledStyle_;
    depth_[0] = s.depth_[0];
    depth_[1] = s.depth_[1];
    color_[0] = s.color_[0];
    color_[1] = s.color_[1];
    style_ = s.style_;
    orientation_ = s.orientation_;
    tracing_ = s.tracing_;
}

void TKit3DCaption::Assign(const rtl::TPersistent* Source) {
    if (Source == this) return;
    if (auto* s = dynamic_cast<const TKit3DCaption*>(Source)) {
        Copy3D(*s);
        Change();
        return;
    }
    TKitObject::Assign(Source);
}

void TKit3DCaption::GetSummary(std::string& Text) {
    static const char* const words[] = {"Disabled", "sunken", "raised", "sunken shadow",
                                        "raised shadow", "PColor sunken", "PColor raised",
                                        "shadow", "outline", "extrude", "extrude enh"};
    Text = std::string("{") + words[style_] + "}";
}

// ---- TKitFxCaption -----------------------------------------------------------------------------

void TKitFxCaption::SetAngle(TKitAngle value) {
    if (value == 360) value = 0;
    Set(*this, angle_, value);
}

void TKitFxCaption::SetPosIndex(int index, std::uint16_t value) { Set(*this, pos_[index & 1], value); }

void TKitFxCaption::SetPos(std::uint16_t x, std::uint16_t y) {
    BeginUpdate();
    SetPosX(x);
    SetPosY(y);
    EndUpdate(false);
}

void TKitFxCaption::Assign(const rtl::TPersistent* Source) {
    if (Source == this) return;
    if (auto* s = dynamic_cast<const TKitFxCaption*>(Source)) {
        BeginUpdate();
        TKit3DCaption::Assign(s);
        pos_[0] = s->pos_[0];
        pos_[1] = s->pos_[1];
        angle_ = s->angle_;
        EndUpdate(true);
        return;
    }
    TKit3DCaption::Assign(Source);
}

void TKitFxCaption::GetSummary(std::string& Text) {
    TKit3DCaption::GetSummary(Text);
    if (angle_ == 0) return;
    if (Text == "{Disabled}") Text = "{";
    else Text.back() = ',';
    Text += " rot: " + std::to_string(angle_) + "\xC2\xB0}";
}

// ---- TKitGlyphTextLayout -----------------------------------------------------------------------

void TKitGlyphTextLayout::SetAlignText2Glyph(TKitTextArrange value) { Set(*this, alignText2Glyph_, value); }
void TKitGlyphTextLayout::SetOffset(int index, int value) { Set(*this, offset_[index & 1], value); }
void TKitGlyphTextLayout::SetSpacing(int value) { Set(*this, spacing_, value); }
void TKitGlyphTextLayout::SetAlignment(TKitAlignment value) { Set(*this, alignment_, value); }

void TKitGlyphTextLayout::Assign(const rtl::TPersistent* Source) {
    if (Source == this) return;
    if (auto* s = dynamic_cast<const TKitGlyphTextLayout*>(Source)) {
        alignment_ = s->alignment_;
        alignText2Glyph_ = s->alignText2Glyph_;
        offset_[0] = s->offset_[0];
        offset_[1] = s->offset_[1];
        spacing_ = s->spacing_;
        Change();
        return;
    }
    TKitObject::Assign(Source);
}

// ---- TKitButtonLayout --------------------------------------------------------------------------

void TKitButtonLayout::SetArrow(bool value) { Set(*this, arrow_, value); }
void TKitButtonLayout::SetArrowColor(gdi::TColor value) { Set(*this, arrowColor_, value); }
void TKitButtonLayout::SetArrowIndent(int value) { Set(*this, arrowIndent_, value); }
void TKitButtonLayout::SetArrowPosition(TKitArrowPosition value) { Set(*this, arrowPosition_, value); }
void TKitButtonLayout::SetArrowSize(TKitDDArrowSize value) { Set(*this, arrowSize_, value); }

void TKitButtonLayout::Assign(const rtl::TPersistent* Source) {
    if (Source == this) return;
    if (auto* s = dynamic_cast<const TKitButtonLayout*>(Source)) {
        BeginUpdate();
        SetAlignment(s->Alignment());
        SetAlignText2Glyph(s->AlignText2Glyph());
        SetOffsetX(s->OffsetX());
        SetOffsetY(s->OffsetY());
        SetSpacing(s->Spacing());
        arrow_ = s->arrow_;
        arrowIndent_ = s->arrowIndent_;
        arrowPosition_ = s->arrowPosition_;
        arrowColor_ = s->arrowColor_;
        arrowSize_ = s->arrowSize_;
        EndUpdate(true);
        return;
    }
    TKitGlyphTextLayout::Assign(Source);
}

}  // namespace kit
