#include "components/base/KitShadow.h"

#include <algorithm>
#include <cstring>

#include "components/base/KitStreamUtils.h"

namespace kit {

using namespace gdi;

// ---- TKitShadow ----------------------------------------------------------------------------

void TKitShadow::SetColor(TColor Value) {
    if (Value == color_) return;
    color_ = Value;
    Change();
}

void TKitShadow::SetDepth(TKitShadowDepth Value) {
    if (Value == depth_) return;
    depth_ = Value;
    Change();
}

void TKitShadow::SetStyle(TKitShadowStyle Value) {
    if (Value == style_) return;
    style_ = Value;
    Change();
}

void TKitShadow::Assign(const rtl::TPersistent* Source) {
    if (auto* s = dynamic_cast<const TKitShadow*>(Source)) {
        style_ = s->style_;
        color_ = s->color_;
        depth_ = s->depth_;
        Change();
        return;
    }
    TKitObject::Assign(Source);
}

void TKitShadow::GetSummary(std::string& Text) {
    static const char* const words[] = {"Disabled", "solid", "tracing"};
    Text = words[style_];
    if (style_ != hssNone) Text += ", " + std::to_string(depth_);
    Text = "{" + Text + "}";
}

// ---- TKitPointList -------------------------------------------------------------------------

void TKitPointList::GetPoint(int Index, TPoint& P) const {
    if (Index > Count() - 1) return;
    const auto e = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(Items(Index)));
    P.X = static_cast<int>(e >> 16);
    P.Y = static_cast<std::int16_t>(e & 0xFFFF);
}

void TKitPointList::SetPoint(int Index, const TPoint& P) {
    if (Index > Count() - 1) return;
    SetItems(Index, reinterpret_cast<void*>(static_cast<std::uintptr_t>(Pack(P))));
    Changed();
}

void TKitPointList::AddPoint(const TPoint& P) {
    SetPoint(Add(nullptr), P);
    Changed();
}

void TKitPointList::Changed() {
    if (UpdateCount <= 0 && OnChange) OnChange(this);
}

// ---- TKitRegionMask ------------------------------------------------------------------------

TKitRegionMask::TKitRegionMask()
    : borderUp_(std::make_unique<TBitmap>()),
      borderDn_(std::make_unique<TBitmap>()),
      border_(std::make_unique<TBitmap>()) {}

TKitRegionMask::~TKitRegionMask() = default;

void TKitRegionMask::SetRegionDataSize(int Value) {
    if (Value <= 0) {
        FreeRegionData();
        return;
    }
    data_.resize(static_cast<std::size_t>(Value), 0);
    size_ = Value;
}

void TKitRegionMask::AllocRegionData() {
    data_.assign(static_cast<std::size_t>(std::max(size_, 0)), 0);
}

void TKitRegionMask::FreeRegionData() {
    data_.clear();
    data_.shrink_to_fit();
    size_ = 0;
}

void TKitRegionMask::SetRegionData(const std::uint8_t* Data, int Count) {
    if (!Data || Count <= 0) {
        FreeRegionData();
        return;
    }
    data_.assign(Data, Data + Count);
    size_ = Count;
}

void TKitRegionMask::Assign(const rtl::TPersistent* Source) {
    if (Source == this) return;  // freeing first would lose the own data
    if (auto* m = dynamic_cast<const TKitRegionMask*>(Source)) {
        FreeRegionData();
        if (m->size_ > 0) {
            Compressed = m->Compressed;
            SetRegionData(m->data_.data(), m->size_);
            border_->Assign(*m->border_);
            borderUp_->Assign(*m->borderUp_);
            borderDn_->Assign(*m->borderDn_);
        }
        return;
    }
    TKitObject::Assign(Source);
}

void TKitRegionMask::ReadRegionData(rtl::TStream& Stream) {
    // The block takes RegionDataSize bytes; with no size set before, the stored block's own.
    const long long count = size_ > 0 ? size_ : Stream.Size() - Stream.Position();
    FreeRegionData();
    if (count <= 0) return;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    Stream.ReadBuffer(bytes.data(), count);  // too few bytes: the stream read error
    data_ = std::move(bytes);
    size_ = static_cast<int>(count);
}

void TKitRegionMask::WriteBitmap(rtl::TStream& Stream, const TBitmap& Bitmap) const {
    KitWriteByte(Stream, Compressed ? 1 : 0);
    KitWriteBitmap(Stream, Bitmap, Compressed, -1);
}

void TKitRegionMask::ReadBitmap(rtl::TStream& Stream, std::unique_ptr<TBitmap>& Bitmap) {
    if (!Bitmap) Bitmap = std::make_unique<TBitmap>();
    Compressed = KitReadByte(Stream) != 0;
    KitReadBitmap(Stream, *Bitmap, Compressed);
}

void TKitRegionMask::DefineProperties(rtl::TFiler* Filer) {
    TKitObject::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "RegionData", [this](rtl::TStream& s) { ReadRegionData(s); },
        [this](rtl::TStream& s) { s.WriteBuffer(data_.data(), size_); }, size_ != 0);
    Filer->DefineBinaryProperty(
        "BorderBmp", [this](rtl::TStream& s) { ReadBitmap(s, border_); },
        [this](rtl::TStream& s) { WriteBitmap(s, *border_); }, !border_->Empty());
    Filer->DefineBinaryProperty(
        "BorderUpBmp", [this](rtl::TStream& s) { ReadBitmap(s, borderUp_); },
        [this](rtl::TStream& s) { WriteBitmap(s, *borderUp_); }, !borderUp_->Empty());
    Filer->DefineBinaryProperty(
        "BorderDnBmp", [this](rtl::TStream& s) { ReadBitmap(s, borderDn_); },
        [this](rtl::TStream& s) { WriteBitmap(s, *borderDn_); }, !borderDn_->Empty());
}

}  // namespace kit
