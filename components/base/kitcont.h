// Containers of the component library: non-visual components that own a list of items of one
// class (bitmaps, image strips, string lists, wave sounds), the change links through which the
// controls that show them repaint, the item stream layout, the container stream and container
// files, and the application-wide container.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "components/base/KitWave.h"
#include "components/base/kitcomponent.h"
#include "components/base/kitprocs.h"
#include "platform/gdi/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/TaggedStream.h"

namespace kit {

class TKitBaseContainer;
class TKitCustomContainer;
class TKitBitmapListItem;

// ---- Container kinds ----------------------------------------------------------------------
inline constexpr int ckImageList = 0;
inline constexpr int ckBitmapList = 1;
inline constexpr int ckWaveList = 2;
inline constexpr int ckStringList = 3;
inline constexpr int ckGlyphList = 4;
inline constexpr int ckRichTextList = 5;
inline constexpr int ckUnknown = 6;  // KitReadContainerHeader: no signature matched

// The file signature of a kind (0..5); empty for any other kind.
std::string KitGetContainerSignature(int Kind);
// The extension of a kind, with a leading "." when WithDot is set and it is not empty; empty for
// a kind outside the table.
std::string KitGetContainerExt(int Kind, bool WithDot);

// Item header flags.
inline constexpr std::uint8_t kifCompressed = 0x01;
inline constexpr std::uint8_t kifDescription = 0x02;
inline constexpr std::uint8_t kifIdent = 0x04;
inline constexpr std::uint8_t kifData = 0x08;
inline constexpr std::uint8_t kifMono = 0x10;
inline constexpr std::uint8_t kif4bit = 0x20;
inline constexpr std::uint8_t kif8bit = 0x40;

// Longest item description (the header stores it as a short string).
inline constexpr int KitMaxDescription = 255;

// ---- Change link --------------------------------------------------------------------------
// Registered with a container, it hears of every change of the container, also while the
// container's update lock is set. Freeing it unregisters it.
class TKitChangeLink : public rtl::TObject {
public:
    TKitChangeLink() = default;
    ~TKitChangeLink() override;
    TKitChangeLink(const TKitChangeLink&) = delete;
    TKitChangeLink& operator=(const TKitChangeLink&) = delete;

    TKitBaseContainer* Sender = nullptr;
    rtl::TNotifyEvent OnChange;
    // Calls OnChange(Sender) when assigned.
    virtual void Change();
};

class TKitBaseContainer : public TKitCustomComponent {
public:
    explicit TKitBaseContainer(rtl::TComponent* AOwner);
    ~TKitBaseContainer() override;

    // The links in registration order, then the inherited Change (OnChange unless locked).
    void Change() override;
    // Sets Link's Sender and appends it; a link registered elsewhere moves here.
    void RegisterChanges(TKitChangeLink* Link);
    // Removes Link when present and clears its Sender; nothing for a link registered elsewhere.
    void UnRegisterChanges(TKitChangeLink* Link);
    int LinkCount() const { return static_cast<int>(links_.size()); }

private:
    std::vector<TKitChangeLink*> links_;
};

// ---- Items --------------------------------------------------------------------------------
// An item of a container. Its data is written in the item stream layout: a header (flags,
// Description when not empty, Ident when not 0) followed by the item class's own data. The same
// layout is the item's binary "Internal" property.
class TKitListItem : public TKitCustomComponent {
public:
    explicit TKitListItem(rtl::TComponent* AOwner);

    const std::string& Description() const { return description_; }
    // Cut to at most 255 bytes, at a character boundary.
    void SetDescription(const std::string& Value);
    std::uint16_t Ident() const { return ident_; }
    void SetIdent(std::uint16_t Value);
    bool Compressed() const { return compressed_; }
    void SetCompressed(bool Value);

    virtual void Clear() {}
    virtual bool IsEmpty() const { return false; }
    virtual void ReadData(rtl::TStream& /*Stream*/) {}
    virtual void WriteData(rtl::TStream& /*Stream*/) {}
    // The header flag byte: Compressed, Description, Ident here; the item classes add theirs.
    virtual std::uint8_t GetFlags() const;

    // The inherited Change, then the owning container's ItemChanged.
    void Change() override;
    // Reads the item as a form description holds it (its defined properties) and, when Parent
    // is a container, adds the item to it.
    void ReadState(rtl::TStream& Stream, rtl::TComponent* Parent);

    // The container that owns the item (nullptr when none).
    TKitCustomContainer* Container() const;

protected:
    void WriteHeader(rtl::TStream& Stream);
    // Sets Compressed, Description and Ident from the header and returns the flags.
    std::uint8_t ReadHeader(rtl::TStream& Stream);
    // "Internal": the item stream layout, always written.
    void DefineProperties(rtl::TFiler* Filer) override;
    void AssignHeader(const TKitListItem& Source);

private:
    std::string description_;
    std::uint16_t ident_ = 0;
    bool compressed_ = false;
};

using TKitListItemClass = rtl::TClassRef<TKitListItem, rtl::TComponent*>;
using TKitGetChildProc = std::function<void(rtl::TComponent* Child)>;

// ---- Containers ---------------------------------------------------------------------------
class TKitCustomContainer : public TKitBaseContainer {
public:
    TKitCustomContainer(rtl::TComponent* AOwner, TKitListItemClass ItemClass, int ContainerKind);
    ~TKitCustomContainer() override;

    bool DefaultCompressed = false;
    TKitPathPrefix StoragePrefix = ppProgram;
    std::uint8_t StorageKind = 0;
    std::string StorageFile;

    const TKitListItemClass& ItemClass() const { return itemClass_; }
    int ContainerKind() const { return containerKind_; }

    virtual int Count() const { return static_cast<int>(items_.size()); }
    virtual bool IsEmpty() const { return Count() == 0; }
    // The range error outside 0..Count-1.
    virtual TKitListItem* Items(int Index) const;
    // Reads a container stream; a count or offset table that the stream cannot hold raises the
    // read error before any item is read. A failing item is dropped, the items before it stay.
    virtual void LoadFromStream(rtl::TStream& Stream, bool WithOffsets);
    virtual void SaveToStream(rtl::TStream& Stream, bool WithOffsets);

    // Appends Item (the container becomes its owner) or, for nullptr, a new item of ItemClass;
    // then Change. Returns the new index. An item not of ItemClass raises EConvertError.
    int AddItem(TKitListItem* Item);
    void CopyItems(const TKitCustomContainer& Source);
    void Clear();
    // Fires OnChange with Item as Sender (no links, no update lock).
    void ItemChanged(TKitListItem* Item);

    void Assign(const rtl::TPersistent* Source) override;
    // Hands every item to Proc (the items are the container's children in a form description).
    virtual void GetChildren(const TKitGetChildProc& Proc, rtl::TComponent* Root);
    // Items read back from a form description are owned by the container.
    virtual rtl::TComponent* GetChildOwner() { return this; }

protected:
    void Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) override;

private:
    TKitListItemClass itemClass_;
    int containerKind_;
    std::vector<TKitListItem*> items_;
    bool clearing_ = false;
};

// ---- Container files ----------------------------------------------------------------------
// Reads a container file's signature and count: returns the kind (6 for no known signature).
// For a kind 0..5 the count must fit the file and, when Offsets is given, it receives the
// offset table, each entry checked against the file; a damaged header raises the read error.
int KitReadContainerHeader(const std::string& FileName, int& Count, std::vector<int>* Offsets);
// Positions Stream at Offsets[Index] and lets Item read itself. False when Offsets is nullptr;
// the range error for an Index outside the table, the read error for an offset outside Stream.
bool KitLoadItemAt(rtl::TStream& Stream, const std::vector<int>* Offsets, int Index, TKitListItem& Item);
// Reads item Index of a container file; without Offsets the header is read first and the
// file must be of Kind ("Datei %s kann nicht geöffnet werden").
bool KitLoadContainerItem(const std::string& FileName, int Kind, const std::vector<int>* Offsets,
                          TKitListItem& Item, int Index);
bool KitLoadBitmapFromContainer(const std::string& FileName, int Index, gdi::TBitmap& Bitmap);
[[noreturn]] void KitRaiseGraphicError(const std::string& Msg);

namespace msg {
inline constexpr const char* FileOpenError = "Datei %s kann nicht geöffnet werden";
inline constexpr const char* InvalidImageSize = "Ungültige Grafikgröße";
inline constexpr const char* TooManyImages = "Zu viele Bilder";
}  // namespace msg

// ---- Image and bitmap lists ---------------------------------------------------------------
enum TKitSavePixelFormat { spfDefault, spfMono, spf4bit, spf8bit };
// The colour count a save pixel format writes with (-1, 2, 16, 256), and its flag bits.
int KitSavePixelFormatColors(TKitSavePixelFormat Format);
std::uint8_t KitSavePixelFormatFlags(TKitSavePixelFormat Format);
TKitSavePixelFormat KitSavePixelFormatOfFlags(std::uint8_t Flags);

// Images addressed by a list index (the item) and an image index (the image in the item).
class TKitCustomImageList : public TKitCustomContainer {
public:
    using TKitCustomContainer::TKitCustomContainer;

    TKitSavePixelFormat DefaultPixelFormat = spfDefault;

    void Assign(const rtl::TPersistent* Source) override;

    virtual gdi::TCanvas* GetCanvas(int ListIndex) = 0;
    virtual void GetImageRect(int ListIndex, int ImageIndex, gdi::TRect& Rect) = 0;
    // Which 0: width, 1: height of one image; 0 for a list index outside the list.
    virtual int GetDimension(int ListIndex, int Which) = 0;
    virtual int GetImageCount(int ListIndex) = 0;
    virtual bool HasImage(int ListIndex, int ImageIndex) = 0;
    virtual void GetBitmap(int ListIndex, int ImageIndex, gdi::TBitmap* Bitmap) = 0;
    virtual bool IsMasked(int ListIndex) = 0;
    virtual bool IsTransparent(int ListIndex) = 0;
    virtual gdi::TColor GetTransparentColor(int ListIndex, int ImageIndex) = 0;
    virtual gdi::TColor GetPixel(gdi::TPoint P, int ListIndex, int ImageIndex) = 0;
    virtual void Draw(gdi::TCanvas& Canvas, int X, int Y, int ListIndex, int ImageIndex) = 0;
    virtual void DrawExt(gdi::TCanvas& Canvas, const gdi::TRect& Rect, unsigned Flags, int ListIndex,
                         int ImageIndex, gdi::TRect& DrawnRect) = 0;
    virtual void DrawClip(gdi::TCanvas& Canvas, const gdi::TRect& Rect, unsigned Flags,
                          std::uint32_t ClipOffset, gdi::TColor TransparentColor, int ListIndex,
                          int ImageIndex) = 0;

protected:
    bool InRange(int ListIndex) const { return ListIndex >= 0 && ListIndex < Count(); }
};

// One bitmap per item.
class TKitBitmapListItem : public TKitListItem {
public:
    explicit TKitBitmapListItem(rtl::TComponent* AOwner);
    ~TKitBitmapListItem() override;

    // At run time an empty bitmap is first filled from the owning container's storage.
    gdi::TBitmap* Bitmap();
    // The bitmap as it stands, without filling.
    gdi::TBitmap& RawBitmap() { return *bitmap_; }
    // Copies Value into the item's bitmap and announces the change.
    void SetBitmap(const gdi::TBitmap* Value);
    TKitSavePixelFormat PixelFormat = spfDefault;

    void Clear() override;
    bool IsEmpty() const override { return bitmap_->Empty(); }
    void ReadData(rtl::TStream& Stream) override;
    void WriteData(rtl::TStream& Stream) override;
    std::uint8_t GetFlags() const override;
    void Assign(const rtl::TPersistent* Source) override;

private:
    void FillFromStorage();
    std::unique_ptr<gdi::TBitmap> bitmap_;
};

// Strips of equally sized images with an optional monochrome mask (white: transparent).
class TKitImageListItem : public TKitListItem {
public:
    explicit TKitImageListItem(rtl::TComponent* AOwner);
    ~TKitImageListItem() override;
    // An item without owner; "Ungültige Grafikgröße" when either size is below 1.
    static std::unique_ptr<TKitImageListItem> CreateSize(int Width, int Height);

    int AllocBy() const { return allocBy_; }
    void SetAllocBy(int Value);  // at least 1
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Below 1 or unchanged: ignored; otherwise all images are removed.
    void SetWidth(int Value);
    void SetHeight(int Value);
    bool Masked() const { return masked_; }
    void SetMasked(bool Value);
    int UsedWidth() const { return usedWidth_; }
    TKitSavePixelFormat PixelFormat = spfDefault;
    gdi::TColor BkColor = gdi::clNone;
    gdi::TColor BlendColor = gdi::clNone;
    std::uint8_t DrawingStyle = 2;  // 0 focus blend, 1 selected blend, 2 normal, 3 transparent
    std::uint8_t ImageType = 0;     // 1 draws the mask instead of the image

    gdi::TBitmap& Strip() { return *strip_; }
    gdi::TBitmap& MaskBitmap() { return *mask_; }

    int GetCount() const { return static_cast<int>(offsets_.size()); }
    bool IsEmpty() const override { return offsets_.empty(); }
    void Clear() override { Reset(); }
    void Reset();

    // False for nullptr; True for Height rows and a whole multiple of Width columns; otherwise
    // "Ungültige Grafikgröße".
    bool CheckImage(const gdi::TBitmap* Bitmap) const;
    // Room for one more image; "Zu viele Bilder" (item unchanged) when the strip would pass
    // 32768 pixels. Returns its index.
    int AllocImage();
    int Add(gdi::TBitmap* Image, gdi::TBitmap* Mask);
    void Replace(int Index, gdi::TBitmap* Image, gdi::TBitmap* Mask);
    void ReplaceMasked(int Index, gdi::TBitmap* Image, gdi::TColor TransparentColor);
    void AddImages(TKitImageListItem& Source);

    // The image's X in the strip; the range error outside 0..Count-1.
    int ImageX(int Index) const;
    void GetImage(int Index, gdi::TBitmap* Bitmap);
    // Empty for an index outside the images.
    void GetImageRect(int Index, gdi::TRect& Rect) const;
    // $FFFFFF for an index outside the images.
    gdi::TColor GetTransparentColor(int Index);
    gdi::TColor GetPixel(gdi::TPoint P, int Index);
    // Drawing an index outside the images draws nothing.
    void Draw(gdi::TCanvas& Canvas, int X, int Y, int Index);
    void DrawExt(gdi::TCanvas& Canvas, const gdi::TRect& Rect, gdi::TRect& DrawnRect, int Index,
                 unsigned Flags);
    void DrawClip(gdi::TCanvas& Canvas, const gdi::TRect& Rect, unsigned Flags,
                  std::uint32_t ClipOffset, gdi::TColor TransparentColor, int Index);
    // Blend pattern in BlendColor: a checkerboard (Half) or three pixels of four.
    void Dither(gdi::TBitmap& Bitmap, bool Half) const;

    void ReadData(rtl::TStream& Stream) override;
    void WriteData(rtl::TStream& Stream) override;
    std::uint8_t GetFlags() const override;
    void Assign(const rtl::TPersistent* Source) override;
    // The image block (count, strip, mask); the strip must hold exactly count images of the
    // item's size, or the read error is raised and the item keeps its images.
    void ReadImages(rtl::TStream& Stream);
    void WriteImages(rtl::TStream& Stream);

protected:
    // "Internal", and "Bitmap" (never written): the image block alone.
    void DefineProperties(rtl::TFiler* Filer) override;

private:
    void MaskDraw(gdi::TCanvas& Canvas, int X, int Y, int Index);
    void Widen(long long NewWidth);
    void RebuildOffsets(int Count);

    int allocBy_ = 4;
    int height_ = 16;
    int usedWidth_ = 0;
    int width_ = 16;
    bool masked_ = false;
    std::unique_ptr<gdi::TBitmap> strip_;
    std::unique_ptr<gdi::TBitmap> mask_;
    std::vector<std::int32_t> offsets_;
};

class TKitStringListItem : public TKitListItem {
public:
    explicit TKitStringListItem(rtl::TComponent* AOwner);
    ~TKitStringListItem() override;
    rtl::TStringList& Items() { return *items_; }

    void Clear() override { items_->Clear(); }
    bool IsEmpty() const override { return items_->Count() == 0; }
    void ReadData(rtl::TStream& Stream) override;
    void WriteData(rtl::TStream& Stream) override;
    std::uint8_t GetFlags() const override;
    void Assign(const rtl::TPersistent* Source) override;

private:
    std::unique_ptr<rtl::TStringList> items_;
};

class TKitWaveListItem : public TKitListItem {
public:
    explicit TKitWaveListItem(rtl::TComponent* AOwner);
    ~TKitWaveListItem() override;
    TKitWave& Wave() { return *wave_; }

    void Clear() override { wave_->Clear(); }
    bool IsEmpty() const override { return wave_->IsEmpty(); }
    void ReadData(rtl::TStream& Stream) override;
    void WriteData(rtl::TStream& Stream) override;
    std::uint8_t GetFlags() const override;
    void Assign(const rtl::TPersistent* Source) override;

private:
    std::unique_ptr<TKitWave> wave_;
};

class TKitBitmapList : public TKitCustomImageList {
public:
    explicit TKitBitmapList(rtl::TComponent* AOwner);
    TKitBitmapListItem* Item(int Index) const { return static_cast<TKitBitmapListItem*>(Items(Index)); }

    gdi::TCanvas* GetCanvas(int ListIndex) override;
    void GetImageRect(int ListIndex, int ImageIndex, gdi::TRect& Rect) override;
    int GetDimension(int ListIndex, int Which) override;
    int GetImageCount(int ListIndex) override;
    bool HasImage(int ListIndex, int ImageIndex) override;
    void GetBitmap(int ListIndex, int ImageIndex, gdi::TBitmap* Bitmap) override;
    bool IsMasked(int /*ListIndex*/) override { return false; }
    bool IsTransparent(int ListIndex) override;
    gdi::TColor GetTransparentColor(int ListIndex, int ImageIndex) override;
    gdi::TColor GetPixel(gdi::TPoint P, int ListIndex, int ImageIndex) override;
    void Draw(gdi::TCanvas& Canvas, int X, int Y, int ListIndex, int ImageIndex) override;
    void DrawExt(gdi::TCanvas& Canvas, const gdi::TRect& Rect, unsigned Flags, int ListIndex,
                 int ImageIndex, gdi::TRect& DrawnRect) override;
    void DrawClip(gdi::TCanvas& Canvas, const gdi::TRect& Rect, unsigned Flags,
                  std::uint32_t ClipOffset, gdi::TColor TransparentColor, int ListIndex,
                  int ImageIndex) override;
};

class TKitImageList : public TKitCustomImageList {
public:
    explicit TKitImageList(rtl::TComponent* AOwner);
    TKitImageListItem* Item(int Index) const { return static_cast<TKitImageListItem*>(Items(Index)); }

    gdi::TCanvas* GetCanvas(int ListIndex) override;
    void GetImageRect(int ListIndex, int ImageIndex, gdi::TRect& Rect) override;
    int GetDimension(int ListIndex, int Which) override;
    int GetImageCount(int ListIndex) override;
    bool HasImage(int ListIndex, int ImageIndex) override;
    void GetBitmap(int ListIndex, int ImageIndex, gdi::TBitmap* Bitmap) override;
    bool IsMasked(int ListIndex) override;
    bool IsTransparent(int ListIndex) override;
    gdi::TColor GetTransparentColor(int ListIndex, int ImageIndex) override;
    gdi::TColor GetPixel(gdi::TPoint P, int ListIndex, int ImageIndex) override;
    void Draw(gdi::TCanvas& Canvas, int X, int Y, int ListIndex, int ImageIndex) override;
    void DrawExt(gdi::TCanvas& Canvas, const gdi::TRect& Rect, unsigned Flags, int ListIndex,
                 int ImageIndex, gdi::TRect& DrawnRect) override;
    void DrawClip(gdi::TCanvas& Canvas, const gdi::TRect& Rect, unsigned Flags,
                  std::uint32_t ClipOffset, gdi::TColor TransparentColor, int ListIndex,
                  int ImageIndex) override;
};

class TKitStringList : public TKitCustomContainer {
public:
    explicit TKitStringList(rtl::TComponent* AOwner);
    TKitStringListItem* GetItem(int Index) const { return static_cast<TKitStringListItem*>(Items(Index)); }
};

class TKitWaveList : public TKitCustomContainer {
public:
    explicit TKitWaveList(rtl::TComponent* AOwner);
    TKitWaveListItem* GetItem(int Index) const { return static_cast<TKitWaveListItem*>(Items(Index)); }
};

// One list of each kind. At design time a change of one of its lists is copied into the list of
// the same kind in KitAppContainer.
class TKitContainer : public TKitBaseContainer {
public:
    explicit TKitContainer(rtl::TComponent* AOwner);
    ~TKitContainer() override;

    TKitBitmapList* BitmapList() const { return bitmapList_; }
    TKitImageList* ImageList() const { return imageList_; }
    TKitWaveList* WaveList() const { return waveList_; }
    TKitStringList* StringList() const { return stringList_; }

    void GetChange(rtl::TObject* Sender) override;
    // For tests and design tools: sets or clears csDesigning on the container and its lists.
    void SetDesignMode(bool Value) { SetDesigning(Value); }

private:
    TKitBitmapList* bitmapList_ = nullptr;
    TKitImageList* imageList_ = nullptr;
    TKitWaveList* waveList_ = nullptr;
    TKitStringList* stringList_ = nullptr;
};

// The application-wide container; nullptr before start-up and after shut-down.
extern TKitContainer* KitAppContainer;
// Start-up of the unit: creates KitAppContainer. Counted: only the first of balanced calls works.
void KitContInitialize();
// Shut-down: frees KitAppContainer when the last KitContInitialize is balanced.
void KitContFinalize();

// The application-wide lists as the "Internal" property of a control refers to them.
bool KitIsInternalList(const TKitCustomImageList* List);
void KitWriteInternalList(rtl::TWriter& Writer, const TKitCustomImageList* List);
TKitCustomImageList* KitReadInternalList(rtl::TReader& Reader);
bool KitIsBitmapList(const TKitCustomImageList* List);

}  // namespace kit
