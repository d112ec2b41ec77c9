// The concrete items and lists of the containers: bitmaps, image strips, string lists and wave
// sounds, the container with one list of each kind, and the application-wide container.
#include <algorithm>
#include <mutex>

#include "components/base/KitDrawBitmap.h"
#include "components/base/KitStreamUtils.h"
#include "components/base/kitcont.h"
#include "platform/rtl/SysUtils.h"

namespace kit {

using namespace gdi;

namespace {

[[noreturn]] void ReadError() { throw rtl::EReadError(rtl::msg::ReadError); }

// Widest image strip (and so the largest X an offset entry holds).
constexpr long long kMaxStripWidth = 32768;

// Copies source's rectangle to dest's at (x, y) as it is, whatever copy mode dest has.
void CopyPlain(TCanvas& dest, int x, int y, const TCanvas& source, const TRect& sr) {
    const TCopyMode old = dest.CopyMode;
    dest.CopyMode = cmSrcCopy;
    dest.CopyRect(Bounds(x, y, sr.Width(), sr.Height()), source, sr);
    dest.CopyMode = old;
}

void FillBlack(TBitmap& bitmap, const TRect& r) {
    TCanvas& c = *bitmap.Canvas();
    const TColor old = c.Brush()->Color();
    c.Brush()->SetColor(clBlack);
    c.FillRect(r);
    c.Brush()->SetColor(old);
}

}  // namespace

int KitSavePixelFormatColors(TKitSavePixelFormat Format) {
    switch (Format) {
        case spfMono: return 2;
        case spf4bit: return 16;
        case spf8bit: return 256;
        default: return -1;
    }
}

std::uint8_t KitSavePixelFormatFlags(TKitSavePixelFormat Format) {
    switch (Format) {
        case spfMono: return kifMono;
        case spf4bit: return kif4bit;
        case spf8bit: return kif8bit;
        default: return 0;
    }
}

TKitSavePixelFormat KitSavePixelFormatOfFlags(std::uint8_t Flags) {
    if (Flags & kifMono) return spfMono;
    if (Flags & kif4bit) return spf4bit;
    if (Flags & kif8bit) return spf8bit;
    return spfDefault;
}

void TKitCustomImageList::Assign(const rtl::TPersistent* Source) {
    if (auto* src = dynamic_cast<const TKitCustomImageList*>(Source); src && typeid(*src) == typeid(*this))
        DefaultPixelFormat = src->DefaultPixelFormat;
    TKitCustomContainer::Assign(Source);
}

// ---- Bitmap item ----------------------------------------------------------------------------

TKitBitmapListItem::TKitBitmapListItem(rtl::TComponent* AOwner)
    : TKitListItem(AOwner), bitmap_(std::make_unique<TBitmap>()) {}

TKitBitmapListItem::~TKitBitmapListItem() = default;

TBitmap* TKitBitmapListItem::Bitmap() {
    const auto state = ComponentState();
    if (bitmap_->Empty() && !state.Contains(rtl::csLoading) && !state.Contains(rtl::csDesigning))
        FillFromStorage();
    return bitmap_.get();
}

void TKitBitmapListItem::FillFromStorage() {
    TKitCustomContainer* c = Container();
    if (!c) return;
    BeginUpdate();
    try {
        switch (c->StorageKind) {
            case 1:
                KitLoadBitmapFromContainer(KitGetPrefixPath(c->StoragePrefix, true) + c->StorageFile, Ident(),
                                           *bitmap_);
                break;
            case 4: {
                const std::string dir = c->StoragePrefix == ppFixed ? rtl::ExtractFilePath(c->StorageFile)
                                                                     : KitGetPrefixPath(c->StoragePrefix, true);
                const std::string stem = rtl::ExtractFileName(c->StorageFile).substr(0, 3);
                bitmap_->LoadFromFile(dir + stem + rtl::IntToStr(Ident()) + ".bmp");
                break;
            }
            default:  // 2, the program's bitmap resources: this program has none
                break;
        }
    } catch (...) {
        EndUpdate(false);
        throw;
    }
    EndUpdate(false);
}

void TKitBitmapListItem::SetBitmap(const TBitmap* Value) {
    if (Value) bitmap_->Assign(*Value);
    else bitmap_->Assign(TBitmap());
    Change();
}

void TKitBitmapListItem::Clear() {
    // The same bitmap object stays, so that pointers handed out remain valid.
    bitmap_->Assign(TBitmap());
}

std::uint8_t TKitBitmapListItem::GetFlags() const {
    std::uint8_t f = TKitListItem::GetFlags() | KitSavePixelFormatFlags(PixelFormat);
    if (!bitmap_->Empty()) f |= kifData;
    return f;
}

void TKitBitmapListItem::WriteData(rtl::TStream& Stream) {
    WriteHeader(Stream);
    if (!bitmap_->Empty()) KitWriteBitmap(Stream, *bitmap_, Compressed(), KitSavePixelFormatColors(PixelFormat));
}

void TKitBitmapListItem::ReadData(rtl::TStream& Stream) {
    const std::uint8_t flags = ReadHeader(Stream);
    PixelFormat = KitSavePixelFormatOfFlags(flags);
    if (flags & kifData) {
        TBitmap b;
        KitReadBitmap(Stream, b, Compressed());
        bitmap_->Assign(b);
    } else {
        Clear();
    }
}

void TKitBitmapListItem::Assign(const rtl::TPersistent* Source) {
    if (auto* src = dynamic_cast<const TKitBitmapListItem*>(Source)) {
        if (src == this) return;
        AssignHeader(*src);
        bitmap_->Assign(*src->bitmap_);
        PixelFormat = src->PixelFormat;
        Change();
        return;
    }
    TKitListItem::Assign(Source);
}

// ---- String item ----------------------------------------------------------------------------

TKitStringListItem::TKitStringListItem(rtl::TComponent* AOwner)
    : TKitListItem(AOwner), items_(std::make_unique<rtl::TStringList>()) {}

TKitStringListItem::~TKitStringListItem() = default;

std::uint8_t TKitStringListItem::GetFlags() const {
    return TKitListItem::GetFlags() | (items_->Count() > 0 ? kifData : 0);
}

void TKitStringListItem::WriteData(rtl::TStream& Stream) {
    WriteHeader(Stream);
    if (items_->Count() > 0) KitWriteStrings(Stream, *items_, Compressed());
}

void TKitStringListItem::ReadData(rtl::TStream& Stream) {
    const std::uint8_t flags = ReadHeader(Stream);
    if (flags & kifData) {
        rtl::TStringList lines;
        KitReadStrings(Stream, lines, Compressed());
        items_->Clear();
        items_->AddStrings(lines);
    } else {
        items_->Clear();
    }
}

void TKitStringListItem::Assign(const rtl::TPersistent* Source) {
    if (auto* src = dynamic_cast<const TKitStringListItem*>(Source)) {
        if (src == this) return;
        AssignHeader(*src);
        items_->Clear();
        items_->AddStrings(*src->items_);
        Change();
        return;
    }
    if (auto* lines = dynamic_cast<const rtl::TStrings*>(Source)) {
        if (lines == items_.get()) return;
        items_->Clear();
        items_->AddStrings(*lines);
        Change();
        return;
    }
    TKitListItem::Assign(Source);
}

// ---- Wave item ------------------------------------------------------------------------------

TKitWaveListItem::TKitWaveListItem(rtl::TComponent* AOwner)
    : TKitListItem(AOwner), wave_(std::make_unique<TKitWave>()) {}

TKitWaveListItem::~TKitWaveListItem() = default;

std::uint8_t TKitWaveListItem::GetFlags() const {
    return TKitListItem::GetFlags() | (wave_->IsEmpty() ? 0 : kifData);
}

void TKitWaveListItem::WriteData(rtl::TStream& Stream) {
    WriteHeader(Stream);
    if (!wave_->IsEmpty()) KitWriteWave(Stream, *wave_, Compressed());
}

void TKitWaveListItem::ReadData(rtl::TStream& Stream) {
    const std::uint8_t flags = ReadHeader(Stream);
    if (flags & kifData) KitReadWave(Stream, *wave_, Compressed());
    else wave_->Clear();
}

void TKitWaveListItem::Assign(const rtl::TPersistent* Source) {
    if (auto* src = dynamic_cast<const TKitWaveListItem*>(Source)) {
        if (src == this) return;
        AssignHeader(*src);
        wave_->Assign(src->wave_.get());
        Change();
        return;
    }
    TKitListItem::Assign(Source);
}

// ---- Image item -----------------------------------------------------------------------------

TKitImageListItem::TKitImageListItem(rtl::TComponent* AOwner)
    : TKitListItem(AOwner), strip_(std::make_unique<TBitmap>()), mask_(std::make_unique<TBitmap>()) {
    Reset();
}

TKitImageListItem::~TKitImageListItem() = default;

std::unique_ptr<TKitImageListItem> TKitImageListItem::CreateSize(int Width, int Height) {
    if (Width < 1 || Height < 1) KitRaiseGraphicError(msg::InvalidImageSize);
    auto item = std::make_unique<TKitImageListItem>(nullptr);
    item->width_ = Width;
    item->height_ = Height;
    item->Reset();
    return item;
}

void TKitImageListItem::SetAllocBy(int Value) {
    Value = std::max(1, Value);
    if (Value == allocBy_) return;
    allocBy_ = Value;
    Change();
}

void TKitImageListItem::SetWidth(int Value) {
    if (Value < 1 || Value == width_) return;
    width_ = Value;
    Reset();
    Change();
}

void TKitImageListItem::SetHeight(int Value) {
    if (Value < 1 || Value == height_) return;
    height_ = Value;
    Reset();
    Change();
}

void TKitImageListItem::SetMasked(bool Value) {
    if (Value == masked_) return;
    masked_ = Value;
    if (!Value) {
        mask_->SetWidth(0);
    } else {
        mask_->SetMonochrome(true);
        mask_->SetSize(strip_->Width(), height_);
        // Images without a mask of their own are opaque.
        if (!mask_->Empty()) FillBlack(*mask_, Rect(0, 0, mask_->Width(), mask_->Height()));
    }
    RebuildOffsets(GetCount());
    Change();
}

void TKitImageListItem::RebuildOffsets(int Count) {
    offsets_.resize(static_cast<std::size_t>(Count));
    for (int i = 0; i < Count; ++i) offsets_[static_cast<std::size_t>(i)] = i * width_;
}

void TKitImageListItem::Reset() {
    BeginUpdate();
    strip_->SetMonochrome(false);
    strip_->SetSize(0, height_);
    if (masked_) {
        mask_->SetMonochrome(true);
        mask_->SetSize(0, height_);
    } else {
        mask_->Assign(TBitmap());
    }
    usedWidth_ = 0;
    offsets_.clear();
    EndUpdate(false);
}

bool TKitImageListItem::CheckImage(const TBitmap* Bitmap) const {
    if (!Bitmap) return false;
    if (Bitmap->Height() == height_ && Bitmap->Width() >= width_ && Bitmap->Width() % width_ == 0) return true;
    KitRaiseGraphicError(msg::InvalidImageSize);
}

void TKitImageListItem::Widen(long long NewWidth) {
    strip_->SetSize(static_cast<int>(NewWidth), height_);
    if (masked_) {
        const int old = mask_->Width();
        mask_->SetMonochrome(true);
        mask_->SetSize(static_cast<int>(NewWidth), height_);
        if (NewWidth > old) FillBlack(*mask_, Rect(old, 0, static_cast<int>(NewWidth), height_));
    }
}

int TKitImageListItem::AllocImage() {
    const long long x = usedWidth_;
    const long long used = x + width_;
    if (strip_->Width() < used) {
        const long long wider = strip_->Width() + static_cast<long long>(allocBy_) * width_;
        if (wider > kMaxStripWidth) KitRaiseGraphicError(msg::TooManyImages);
        Widen(wider);
    }
    usedWidth_ = static_cast<int>(used);
    offsets_.push_back(static_cast<std::int32_t>(x));
    return GetCount() - 1;
}

int TKitImageListItem::Add(TBitmap* Image, TBitmap* Mask) {
    if (!Image && !Mask) return AllocImage();
    CheckImage(Image);
    if (masked_ && Mask) CheckImage(Mask);
    const int index = AllocImage();
    Replace(index, Image, Mask);
    return index;
}

int TKitImageListItem::ImageX(int Index) const {
    if (Index < 0 || Index >= GetCount()) rtl::RaiseRangeError();
    return offsets_[static_cast<std::size_t>(Index)] & 0xFFFF;
}

void TKitImageListItem::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
    const int x = ImageX(Index);
    CheckImage(Image);
    if (masked_ && Mask) CheckImage(Mask);
    const TRect src = Rect(0, 0, width_, height_);
    if (Image) CopyPlain(*strip_->Canvas(), x, 0, *Image->Canvas(), src);
    if (masked_) {
        if (Mask) CopyPlain(*mask_->Canvas(), x, 0, *Mask->Canvas(), src);
        else FillBlack(*mask_, Bounds(x, 0, width_, height_));
    }
    Change();
}

void TKitImageListItem::ReplaceMasked(int Index, TBitmap* Image, TColor TransparentColor) {
    if (!CheckImage(Image)) {
        Replace(Index, nullptr, nullptr);
        return;
    }
    if (masked_) {
        TBitmap mask, image;
        KitCreateMaskedImage(*Image, &mask, &image, TransparentColor);
        Replace(Index, &image, &mask);
    } else {
        Replace(Index, Image, nullptr);
    }
}

void TKitImageListItem::AddImages(TKitImageListItem& Source) {
    if (Source.width_ != width_ || Source.height_ != height_) KitRaiseGraphicError(msg::InvalidImageSize);
    const int count = Source.GetCount();
    if (count == 0) return;
    const long long needed = usedWidth_ + static_cast<long long>(count) * width_;
    if (needed > kMaxStripWidth) KitRaiseGraphicError(msg::TooManyImages);
    BeginUpdate();
    const int at = usedWidth_;
    const TRect src = Rect(0, 0, count * width_, height_);
    if (strip_->Width() < needed) Widen(needed);
    CopyPlain(*strip_->Canvas(), at, 0, *Source.strip_->Canvas(), src);
    if (masked_) {
        if (Source.masked_) CopyPlain(*mask_->Canvas(), at, 0, *Source.mask_->Canvas(), src);
        else FillBlack(*mask_, Bounds(at, 0, src.Width(), height_));
    }
    for (int i = 0; i < count; ++i) offsets_.push_back(GetCount() * width_);
    usedWidth_ = static_cast<int>(needed);
    EndUpdate(true);
}

void TKitImageListItem::GetImage(int Index, TBitmap* Bitmap) {
    if (!Bitmap) return;
    const int x = ImageX(Index);
    Bitmap->SetSize(width_, height_);
    CopyPlain(*Bitmap->Canvas(), 0, 0, *strip_->Canvas(), Bounds(x, 0, width_, height_));
}

void TKitImageListItem::GetImageRect(int Index, TRect& R) const {
    if (Index < 0 || Index >= GetCount()) {
        R = TRect{};
        return;
    }
    const int x = ImageX(Index);
    R = Rect(x, 0, x + width_, height_);
}

TColor TKitImageListItem::GetTransparentColor(int Index) {
    if (Index < 0 || Index >= GetCount()) return clWhite;
    return strip_->Canvas()->Pixels(ImageX(Index), height_ - 1);
}

TColor TKitImageListItem::GetPixel(TPoint P, int Index) {
    if (Index < 0 || Index >= GetCount()) return clWhite;
    return strip_->Canvas()->Pixels(ImageX(Index) + P.X, P.Y);
}

void TKitImageListItem::MaskDraw(TCanvas& Canvas, int X, int Y, int Index) {
    TRect r;
    GetImageRect(Index, r);
    const TCopyMode old = Canvas.CopyMode;
    const TColor text = Canvas.SetTextColor(clBlack);
    const TColor back = Canvas.SetBkColor(clWhite);
    const TRect dest = Bounds(X, Y, width_, height_);
    Canvas.CopyMode = cmSrcAnd;
    Canvas.CopyRect(dest, *mask_->Canvas(), r);
    Canvas.CopyMode = cmSrcPaint;
    Canvas.CopyRect(dest, *strip_->Canvas(), r);
    Canvas.CopyMode = old;
    Canvas.SetTextColor(text);
    Canvas.SetBkColor(back);
}

void TKitImageListItem::Dither(TBitmap& Bitmap, bool Half) const {
    if (Bitmap.Empty() || BlendColor == clNone) return;
    auto set = [Half](int x, int y) { return Half ? ((x ^ y) & 1) != 0 : !((x & 1) && (y & 1)); };
    const TPixelFormat pf = Bitmap.PixelFormat();
    if (pf != pf24bit && pf != pf32bit) {
        TCanvas& c = *Bitmap.Canvas();
        for (int y = 0; y < Bitmap.Height(); ++y)
            for (int x = 0; x < Bitmap.Width(); ++x)
                if (set(x, y)) c.SetPixels(x, y, BlendColor);
        return;
    }
    const TColor rgb = ColorToPixel(BlendColor);
    const std::uint8_t bgr[3] = {static_cast<std::uint8_t>(GetBValue(rgb)), static_cast<std::uint8_t>(GetGValue(rgb)),
                                 static_cast<std::uint8_t>(GetRValue(rgb))};
    const int step = pf == pf24bit ? 3 : 4;
    for (int y = 0; y < Bitmap.Height(); ++y) {
        std::uint8_t* row = Bitmap.ScanLine(y);
        for (int x = 0; x < Bitmap.Width(); ++x)
            if (set(x, y)) std::copy(bgr, bgr + 3, row + x * step);
    }
    Bitmap.Modified();
}

void TKitImageListItem::Draw(TCanvas& Canvas, int X, int Y, int Index) {
    if (Index < 0 || Index >= GetCount()) return;
    TRect r;
    GetImageRect(Index, r);
    if (masked_ && ImageType == 0) {
        const bool direct = DrawingStyle == 3 || (DrawingStyle == 2 && BkColor == clNone);
        if (direct) {
            MaskDraw(Canvas, X, Y, Index);
            return;
        }
        TBitmap tmp(width_, height_);
        TCanvas& t = *tmp.Canvas();
        t.Brush()->SetColor(BkColor);
        t.FillRect(Rect(0, 0, width_, height_));
        MaskDraw(t, 0, 0, Index);
        if (DrawingStyle == 0 || DrawingStyle == 1) Dither(tmp, DrawingStyle == 1);
        CopyPlain(Canvas, X, Y, t, Rect(0, 0, width_, height_));
        return;
    }
    TBitmap& source = masked_ ? *mask_ : *strip_;
    Canvas.CopyRect(Bounds(X, Y, width_, height_), *source.Canvas(), r);
}

void TKitImageListItem::DrawExt(TCanvas& Canvas, const TRect& R, TRect& DrawnRect, int Index, unsigned Flags) {
    DrawnRect = TRect{};
    if (Index < 0 || Index >= GetCount()) return;
    TRect r;
    GetImageRect(Index, r);
    if (masked_)
        KitDrawBitmapEx(Canvas, R, strip_->Canvas(), r, Flags | kdfMask, 0, 0, mask_->Canvas(), DrawnRect);
    else
        KitDrawBitmapEx(Canvas, R, strip_->Canvas(), r, Flags, GetTransparentColor(Index) | 0x02000000u, 0,
                        nullptr, DrawnRect);
}

void TKitImageListItem::DrawClip(TCanvas& Canvas, const TRect& R, unsigned Flags, std::uint32_t ClipOffset,
                                 TColor TransparentColor, int Index) {
    if (Index < 0 || Index >= GetCount()) return;
    TRect r;
    GetImageRect(Index, r);
    if (masked_)
        KitDrawBitmapExClip(Canvas, R, strip_->Canvas(), r, Flags | kdfMask, ClipOffset, 0, mask_->Canvas());
    else
        KitDrawBitmapExClip(Canvas, R, strip_->Canvas(), r, Flags, ClipOffset, TransparentColor, nullptr);
}

std::uint8_t TKitImageListItem::GetFlags() const {
    return TKitListItem::GetFlags() | KitSavePixelFormatFlags(PixelFormat);
}

void TKitImageListItem::WriteImages(rtl::TStream& Stream) {
    const int count = GetCount();
    KitWriteInteger(Stream, count);
    if (count == 0) return;
    const int w = count * width_;
    strip_->SetWidth(w);
    KitWriteBitmap(Stream, *strip_, Compressed(), KitSavePixelFormatColors(PixelFormat));
    if (masked_) {
        mask_->SetWidth(w);
        KitWriteBitmap(Stream, *mask_, Compressed(), 2);
    }
}

void TKitImageListItem::WriteData(rtl::TStream& Stream) {
    WriteHeader(Stream);
    KitWriteInteger(Stream, height_);
    KitWriteInteger(Stream, width_);
    KitWriteInteger(Stream, allocBy_);
    KitWriteByte(Stream, masked_ ? 1 : 0);
    WriteImages(Stream);
}

namespace {

// An image block read for an item of width x height: the strip and mask must hold exactly
// count images of that size.
struct ImageBlock {
    int count = 0;
    TBitmap strip, mask;
};

void ReadImageBlock(rtl::TStream& Stream, int width, int height, bool masked, bool compressed, ImageBlock& block) {
    if (Stream.Size() - Stream.Position() < 4) ReadError();
    block.count = KitReadInteger(Stream);
    if (block.count < 0 || static_cast<long long>(block.count) * width > kMaxStripWidth) ReadError();
    if (block.count == 0) return;
    const int w = block.count * width;
    KitReadBitmap(Stream, block.strip, compressed);
    if (block.strip.Width() != w || block.strip.Height() != height) ReadError();
    if (masked) {
        KitReadBitmap(Stream, block.mask, compressed);
        if (block.mask.Width() != w || block.mask.Height() != height) ReadError();
        block.mask.SetMonochrome(true);
    }
}

}  // namespace

void TKitImageListItem::ReadImages(rtl::TStream& Stream) {
    ImageBlock block;
    ReadImageBlock(Stream, width_, height_, masked_, Compressed(), block);
    Reset();
    if (block.count == 0) return;
    strip_->Assign(block.strip);
    if (masked_) mask_->Assign(block.mask);
    else mask_->SetWidth(0);
    usedWidth_ = strip_->Width();
    RebuildOffsets(block.count);
}

void TKitImageListItem::ReadData(rtl::TStream& Stream) {
    const std::uint8_t flags = ReadHeader(Stream);
    if (Stream.Size() - Stream.Position() < 13) ReadError();
    const int height = KitReadInteger(Stream);
    const int width = KitReadInteger(Stream);
    const int allocBy = KitReadInteger(Stream);
    const bool masked = KitReadByte(Stream) != 0;
    if (height < 1 || width < 1) ReadError();
    ImageBlock block;
    ReadImageBlock(Stream, width, height, masked, Compressed(), block);
    PixelFormat = KitSavePixelFormatOfFlags(flags);
    height_ = height;
    width_ = width;
    allocBy_ = std::max(1, allocBy);
    masked_ = masked;
    Reset();
    if (block.count == 0) return;
    strip_->Assign(block.strip);
    if (masked_) mask_->Assign(block.mask);
    usedWidth_ = strip_->Width();
    RebuildOffsets(block.count);
}

void TKitImageListItem::Assign(const rtl::TPersistent* Source) {
    auto* src = dynamic_cast<const TKitImageListItem*>(Source);
    if (!src) {
        TKitListItem::Assign(Source);
        return;
    }
    if (src == this) return;
    AssignHeader(*src);
    PixelFormat = src->PixelFormat;
    allocBy_ = src->allocBy_;
    BkColor = src->BkColor;
    BlendColor = src->BlendColor;
    DrawingStyle = src->DrawingStyle;
    height_ = src->height_;
    ImageType = src->ImageType;
    masked_ = src->masked_;
    width_ = src->width_;
    Reset();
    AddImages(*const_cast<TKitImageListItem*>(src));
    Change();
}

void TKitImageListItem::DefineProperties(rtl::TFiler* Filer) {
    TKitListItem::DefineProperties(Filer);
    Filer->DefineBinaryProperty("Bitmap", [this](rtl::TStream& s) { ReadImages(s); }, nullptr, false);
}

// ---- Lists ----------------------------------------------------------------------------------

namespace {

// The item class of each kind is registered once, by the first container of that kind.
template <class Item>
void RegisterItemClass() {
    static std::once_flag once;
    std::call_once(once, [] { rtl::RegisterClass<Item>(); });
}

}  // namespace

TKitBitmapList::TKitBitmapList(rtl::TComponent* AOwner)
    : TKitCustomImageList(AOwner, TKitListItemClass::Of<TKitBitmapListItem>(), ckBitmapList) {
    RegisterItemClass<TKitBitmapListItem>();
}

TCanvas* TKitBitmapList::GetCanvas(int ListIndex) { return Item(ListIndex)->Bitmap()->Canvas(); }

void TKitBitmapList::GetImageRect(int ListIndex, int /*ImageIndex*/, TRect& R) {
    const TBitmap* b = Item(ListIndex)->Bitmap();
    R = Rect(0, 0, b->Width(), b->Height());
}

int TKitBitmapList::GetDimension(int ListIndex, int Which) {
    if (!InRange(ListIndex)) return 0;
    const TBitmap* b = Item(ListIndex)->Bitmap();
    return Which == 0 ? b->Width() : b->Height();
}

int TKitBitmapList::GetImageCount(int ListIndex) {
    if (!InRange(ListIndex)) return 0;
    return Item(ListIndex)->Bitmap()->Empty() ? 0 : 1;
}

bool TKitBitmapList::HasImage(int ListIndex, int /*ImageIndex*/) {
    return InRange(ListIndex) && !Item(ListIndex)->Bitmap()->Empty();
}

void TKitBitmapList::GetBitmap(int ListIndex, int /*ImageIndex*/, TBitmap* Bitmap) {
    if (!Bitmap) return;
    Bitmap->Assign(*Item(ListIndex)->Bitmap());
}

bool TKitBitmapList::IsTransparent(int ListIndex) {
    return InRange(ListIndex) && Item(ListIndex)->Bitmap()->Transparent();
}

TColor TKitBitmapList::GetTransparentColor(int ListIndex, int /*ImageIndex*/) {
    if (!InRange(ListIndex)) return clWhite;
    return Item(ListIndex)->Bitmap()->TransparentColor();
}

TColor TKitBitmapList::GetPixel(TPoint P, int ListIndex, int /*ImageIndex*/) {
    if (!InRange(ListIndex)) return clWhite;
    return Item(ListIndex)->Bitmap()->Canvas()->Pixels(P.X, P.Y);
}

void TKitBitmapList::Draw(TCanvas& Canvas, int X, int Y, int ListIndex, int /*ImageIndex*/) {
    TBitmap& b = *Item(ListIndex)->Bitmap();
    TRect drawn;
    KitDrawBitmap(Canvas, Bounds(X, Y, b.Width(), b.Height()), b, 0, 0, drawn);
}

void TKitBitmapList::DrawExt(TCanvas& Canvas, const TRect& R, unsigned Flags, int ListIndex, int /*ImageIndex*/,
                             TRect& DrawnRect) {
    TBitmap& b = *Item(ListIndex)->Bitmap();
    KitDrawBitmap(Canvas, R, b, Flags, b.TransparentColor(), DrawnRect);
}

void TKitBitmapList::DrawClip(TCanvas& Canvas, const TRect& R, unsigned Flags, std::uint32_t ClipOffset,
                              TColor TransparentColor, int ListIndex, int /*ImageIndex*/) {
    KitDrawBitmapClip(Canvas, R, *Item(ListIndex)->Bitmap(), Flags, ClipOffset, TransparentColor);
}

TKitImageList::TKitImageList(rtl::TComponent* AOwner)
    : TKitCustomImageList(AOwner, TKitListItemClass::Of<TKitImageListItem>(), ckImageList) {
    RegisterItemClass<TKitImageListItem>();
}

TCanvas* TKitImageList::GetCanvas(int ListIndex) { return Item(ListIndex)->Strip().Canvas(); }

void TKitImageList::GetImageRect(int ListIndex, int ImageIndex, TRect& R) {
    Item(ListIndex)->GetImageRect(ImageIndex, R);
}

int TKitImageList::GetDimension(int ListIndex, int Which) {
    if (!InRange(ListIndex)) return 0;
    return Which == 0 ? Item(ListIndex)->Width() : Item(ListIndex)->Height();
}

int TKitImageList::GetImageCount(int ListIndex) {
    return InRange(ListIndex) ? Item(ListIndex)->GetCount() : -1;
}

bool TKitImageList::HasImage(int ListIndex, int ImageIndex) {
    return InRange(ListIndex) && ImageIndex >= 0 && ImageIndex < Item(ListIndex)->GetCount();
}

void TKitImageList::GetBitmap(int ListIndex, int ImageIndex, TBitmap* Bitmap) {
    if (!Bitmap) return;
    Item(ListIndex)->GetImage(ImageIndex, Bitmap);
}

bool TKitImageList::IsMasked(int ListIndex) { return Item(ListIndex)->Masked(); }

bool TKitImageList::IsTransparent(int ListIndex) {
    return InRange(ListIndex) && Item(ListIndex)->Strip().Transparent();
}

TColor TKitImageList::GetTransparentColor(int ListIndex, int ImageIndex) {
    if (!InRange(ListIndex)) return clWhite;
    return Item(ListIndex)->GetTransparentColor(ImageIndex);
}

TColor TKitImageList::GetPixel(TPoint P, int ListIndex, int ImageIndex) {
    if (!InRange(ListIndex)) return clWhite;
    return Item(ListIndex)->GetPixel(P, ImageIndex);
}

void TKitImageList::Draw(TCanvas& Canvas, int X, int Y, int ListIndex, int ImageIndex) {
    Item(ListIndex)->Draw(Canvas, X, Y, ImageIndex);
}

void TKitImageList::DrawExt(TCanvas& Canvas, const TRect& R, unsigned Flags, int ListIndex, int ImageIndex,
                            TRect& DrawnRect) {
    Item(ListIndex)->DrawExt(Canvas, R, DrawnRect, ImageIndex, Flags);
}

void TKitImageList::DrawClip(TCanvas& Canvas, const TRect& R, unsigned Flags, std::uint32_t ClipOffset,
                             TColor TransparentColor, int ListIndex, int ImageIndex) {
    Item(ListIndex)->DrawClip(Canvas, R, Flags, ClipOffset, TransparentColor, ImageIndex);
}

TKitStringList::TKitStringList(rtl::TComponent* AOwner)
    : TKitCustomContainer(AOwner, TKitListItemClass::Of<TKitStringListItem>(), ckStringList) {
    RegisterItemClass<TKitStringListItem>();
}

TKitWaveList::TKitWaveList(rtl::TComponent* AOwner)
    : TKitCustomContainer(AOwner, TKitListItemClass::Of<TKitWaveListItem>(), ckWaveList) {
    RegisterItemClass<TKitWaveListItem>();
}

// ---- TKitContainer --------------------------------------------------------------------------

TKitContainer::TKitContainer(rtl::TComponent* AOwner) : TKitBaseContainer(AOwner) {
    bitmapList_ = new TKitBitmapList(this);
    imageList_ = new TKitImageList(this);
    stringList_ = new TKitStringList(this);
    waveList_ = new TKitWaveList(this);
    for (TKitCustomContainer* list : {static_cast<TKitCustomContainer*>(bitmapList_),
                                      static_cast<TKitCustomContainer*>(imageList_),
                                      static_cast<TKitCustomContainer*>(stringList_),
                                      static_cast<TKitCustomContainer*>(waveList_)})
        list->OnChange = ChangeHandler();
}

TKitContainer::~TKitContainer() {
    for (TKitCustomContainer* list : {static_cast<TKitCustomContainer*>(bitmapList_),
                                      static_cast<TKitCustomContainer*>(imageList_),
                                      static_cast<TKitCustomContainer*>(stringList_),
                                      static_cast<TKitCustomContainer*>(waveList_)})
        list->OnChange = nullptr;
    delete bitmapList_;
    delete imageList_;
    delete stringList_;
    delete waveList_;
}

void TKitContainer::GetChange(rtl::TObject* Sender) {
    if (ComponentState().Contains(rtl::csDesigning) && KitAppContainer && this != KitAppContainer) {
        if (Sender == bitmapList_) KitAppContainer->BitmapList()->Assign(bitmapList_);
        else if (Sender == imageList_) KitAppContainer->ImageList()->Assign(imageList_);
        else if (Sender == waveList_) KitAppContainer->WaveList()->Assign(waveList_);
        else if (Sender == stringList_) KitAppContainer->StringList()->Assign(stringList_);
    }
    TKitBaseContainer::GetChange(Sender);
}

TKitContainer* KitAppContainer = nullptr;

namespace {
int g_contInitCount = 0;
}

void KitContInitialize() {
    if (g_contInitCount++ == 0) KitAppContainer = new TKitContainer(nullptr);
}

void KitContFinalize() {
    if (g_contInitCount == 0) return;
    if (--g_contInitCount == 0) {
        delete KitAppContainer;
        KitAppContainer = nullptr;
    }
}

// ---- The application-wide lists as a property value -----------------------------------------

bool KitIsInternalList(const TKitCustomImageList* List) {
    return List && KitAppContainer &&
           (List == KitAppContainer->BitmapList() || List == KitAppContainer->ImageList());
}

void KitWriteInternalList(rtl::TWriter& Writer, const TKitCustomImageList* List) {
    if (!List || !KitAppContainer) return;
    if (List == KitAppContainer->BitmapList()) Writer.WriteString(KitGetContainerSignature(ckBitmapList));
    else if (List == KitAppContainer->ImageList()) Writer.WriteString(KitGetContainerSignature(ckImageList));
}

TKitCustomImageList* KitReadInternalList(rtl::TReader& Reader) {
    const std::string s = Reader.ReadString();
    if (!KitAppContainer) return nullptr;
    if (s == KitGetContainerSignature(ckBitmapList)) return KitAppContainer->BitmapList();
    if (s == KitGetContainerSignature(ckImageList)) return KitAppContainer->ImageList();
    return nullptr;
}

bool KitIsBitmapList(const TKitCustomImageList* List) { return dynamic_cast<const TKitBitmapList*>(List) != nullptr; }

}  // namespace kit
