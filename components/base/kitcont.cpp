// Change links, the container and item base classes, the container stream and container files.
#include "components/base/kitcont.h"

#include <algorithm>

#include "components/base/KitStreamUtils.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/SysUtils.h"

namespace kit {

namespace {

struct KindEntry {
    const char* signature;
    const char* ext;
};
constexpr KindEntry kKinds[] = {
    {"KITIML30", "iml"}, {"KITBML30", "bmp"}, {"KITWVL30", "wav"},
    {"KITSLL30", "txt"}, {"KITGLL50", "*"},   {"KITRTL50", "rtf"},
};
constexpr int kKindCount = 6;

[[noreturn]] void ReadError() { throw rtl::EReadError(rtl::msg::ReadError); }

// The longest prefix of s of at most max bytes that does not end inside a UTF-8 sequence.
std::string CutUtf8(const std::string& s, std::size_t max) {
    if (s.size() <= max) return s;
    std::size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return s.substr(0, n);
}

}  // namespace

std::string KitGetContainerSignature(int Kind) {
    return Kind >= 0 && Kind < kKindCount ? kKinds[Kind].signature : "";
}

std::string KitGetContainerExt(int Kind, bool WithDot) {
    if (Kind < 0 || Kind >= kKindCount) return "";
    const std::string ext = kKinds[Kind].ext;
    return WithDot && !ext.empty() ? "." + ext : ext;
}

// ---- TKitChangeLink -------------------------------------------------------------------------

TKitChangeLink::~TKitChangeLink() {
    if (Sender) Sender->UnRegisterChanges(this);
}

void TKitChangeLink::Change() {
    if (OnChange) OnChange(Sender);
}

// ---- TKitBaseContainer ----------------------------------------------------------------------

TKitBaseContainer::TKitBaseContainer(rtl::TComponent* AOwner) : TKitCustomComponent(AOwner) {}

TKitBaseContainer::~TKitBaseContainer() {
    while (!links_.empty()) {
        TKitChangeLink* link = links_.back();
        links_.pop_back();
        link->Sender = nullptr;
    }
}

void TKitBaseContainer::Change() {
    // A link's handler may unregister links: walk a copy and skip those gone meanwhile.
    const std::vector<TKitChangeLink*> links = links_;
    for (TKitChangeLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Change();
    TKitCustomComponent::Change();
}

void TKitBaseContainer::RegisterChanges(TKitChangeLink* Link) {
    if (!Link) return;
    if (Link->Sender == this) return;
    if (Link->Sender) Link->Sender->UnRegisterChanges(Link);
    Link->Sender = this;
    links_.push_back(Link);
}

void TKitBaseContainer::UnRegisterChanges(TKitChangeLink* Link) {
    auto it = std::find(links_.begin(), links_.end(), Link);
    if (it == links_.end()) return;
    links_.erase(it);
    Link->Sender = nullptr;
}

// ---- TKitListItem ---------------------------------------------------------------------------

TKitListItem::TKitListItem(rtl::TComponent* AOwner) : TKitCustomComponent(AOwner) {}

void TKitListItem::SetDescription(const std::string& Value) {
    std::string v = CutUtf8(Value, KitMaxDescription);
    if (v == description_) return;
    description_ = std::move(v);
    Change();
}

void TKitListItem::SetIdent(std::uint16_t Value) {
    if (Value == ident_) return;
    ident_ = Value;
    Change();
}

void TKitListItem::SetCompressed(bool Value) {
    if (Value == compressed_) return;
    compressed_ = Value;
    Change();
}

std::uint8_t TKitListItem::GetFlags() const {
    std::uint8_t f = 0;
    if (compressed_) f |= kifCompressed;
    if (!description_.empty()) f |= kifDescription;
    if (ident_ != 0) f |= kifIdent;
    return f;
}

TKitCustomContainer* TKitListItem::Container() const {
    return dynamic_cast<TKitCustomContainer*>(Owner());
}

void TKitListItem::Change() {
    TKitCustomComponent::Change();
    if (ComponentState().Contains(rtl::csDestroying)) return;
    if (TKitCustomContainer* c = Container()) c->ItemChanged(this);
}

void TKitListItem::ReadState(rtl::TStream& Stream, rtl::TComponent* Parent) {
    rtl::ReadDefinedProperties(*this, Stream);
    if (auto* c = dynamic_cast<TKitCustomContainer*>(Parent)) c->AddItem(this);
}

void TKitListItem::WriteHeader(rtl::TStream& Stream) {
    const std::uint8_t flags = GetFlags();
    KitWriteByte(Stream, flags);
    if (flags & kifDescription) KitWriteShortString(Stream, description_);
    if (flags & kifIdent) KitWriteInteger(Stream, ident_);
}

std::uint8_t TKitListItem::ReadHeader(rtl::TStream& Stream) {
    const std::uint8_t flags = KitReadByte(Stream);
    std::string description;
    if (flags & kifDescription) KitReadShortString(Stream, description);
    const int ident = (flags & kifIdent) ? KitReadInteger(Stream) : 0;
    compressed_ = (flags & kifCompressed) != 0;
    description_ = std::move(description);
    ident_ = static_cast<std::uint16_t>(ident);
    return flags;
}

void TKitListItem::AssignHeader(const TKitListItem& Source) {
    compressed_ = Source.compressed_;
    description_ = Source.description_;
    ident_ = Source.ident_;
}

void TKitListItem::DefineProperties(rtl::TFiler* Filer) {
    TKitCustomComponent::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Internal", [this](rtl::TStream& s) { ReadData(s); }, [this](rtl::TStream& s) { WriteData(s); },
        true);
}

// ---- TKitCustomContainer --------------------------------------------------------------------

TKitCustomContainer::TKitCustomContainer(rtl::TComponent* AOwner, TKitListItemClass ItemClass,
                                         int ContainerKind)
    : TKitBaseContainer(AOwner), itemClass_(std::move(ItemClass)), containerKind_(ContainerKind) {}

TKitCustomContainer::~TKitCustomContainer() {
    BeginUpdate();
    clearing_ = true;
    std::vector<TKitListItem*> items;
    items.swap(items_);
    for (auto it = items.rbegin(); it != items.rend(); ++it) delete *it;
}

TKitListItem* TKitCustomContainer::Items(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(items_.size())) rtl::RaiseRangeError();
    return items_[static_cast<std::size_t>(Index)];
}

int TKitCustomContainer::AddItem(TKitListItem* Item) {
    if (!Item) {
        Item = itemClass_.CreateOwned(this);
    } else {
        if (!itemClass_.IsClassOf(Item))
            throw rtl::EConvertError(rtl::Format(rtl::msg::AssignError, Item->ClassName(), ClassName()));
        InsertComponent(Item);
    }
    if (std::find(items_.begin(), items_.end(), Item) == items_.end()) items_.push_back(Item);
    Change();
    return static_cast<int>(std::find(items_.begin(), items_.end(), Item) - items_.begin());
}

void TKitCustomContainer::CopyItems(const TKitCustomContainer& Source) {
    if (&Source == this) return;
    for (TKitListItem* src : Source.items_) {
        std::unique_ptr<TKitListItem> item = itemClass_.Create(nullptr);
        item->Assign(src);
        TKitListItem* raw = item.release();
        InsertComponent(raw);
        items_.push_back(raw);
    }
    Change();
}

void TKitCustomContainer::Clear() {
    clearing_ = true;
    std::vector<TKitListItem*> items;
    items.swap(items_);
    try {
        for (auto it = items.rbegin(); it != items.rend(); ++it) delete *it;
    } catch (...) {
        clearing_ = false;
        throw;
    }
    clearing_ = false;
    Change();
}

void TKitCustomContainer::ItemChanged(TKitListItem* Item) {
    if (OnChange) OnChange(Item);
}

void TKitCustomContainer::Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) {
    if (Operation == rtl::TOperation::opRemove) {
        auto it = std::find(items_.rbegin(), items_.rend(), AComponent);
        if (it != items_.rend()) {
            // An item freed or taken away from outside leaves the list; its siblings need no news.
            items_.erase(std::next(it).base());
            return;
        }
        if (clearing_) return;
    }
    TKitBaseContainer::Notification(AComponent, Operation);
}

void TKitCustomContainer::Assign(const rtl::TPersistent* Source) {
    auto* src = dynamic_cast<const TKitCustomContainer*>(Source);
    if (src && typeid(*src) == typeid(*this)) {
        if (src == this) return;
        BeginUpdate();
        try {
            Clear();
            DefaultCompressed = src->DefaultCompressed;
            CopyItems(*src);
        } catch (...) {
            EndUpdate(true);
            throw;
        }
        EndUpdate(true);
        return;
    }
    TKitBaseContainer::Assign(Source);
}

void TKitCustomContainer::GetChildren(const TKitGetChildProc& Proc, rtl::TComponent* /*Root*/) {
    const std::vector<TKitListItem*> items = items_;
    for (TKitListItem* item : items) Proc(item);
}

namespace {

// Reads a count and, with offsets, its table, and checks them against the stream: the items
// need at least their flag byte each, and every offset handed out lies behind the table.
int ReadCheckedCount(rtl::TStream& Stream, bool WithOffsets, std::vector<int>* Offsets) {
    const long long start = Stream.Position();
    const long long size = Stream.Size();
    if (size - start < 4) ReadError();
    const int count = KitReadInteger(Stream);
    // Every item takes at least its flag byte, and every table entry four bytes.
    const long long perItem = WithOffsets ? 5 : 1;
    if (count < 0 || static_cast<long long>(count) * perItem > size - Stream.Position()) ReadError();
    if (!WithOffsets || count == 0) return count;
    const long long tableEnd = Stream.Position() + 4LL * count;
    std::vector<int> table(static_cast<std::size_t>(count));
    for (int& off : table) {
        off = KitReadInteger(Stream);
        if (Offsets && (off < tableEnd || off >= size)) ReadError();
    }
    if (Offsets) *Offsets = std::move(table);
    return count;
}

}  // namespace

void TKitCustomContainer::SaveToStream(rtl::TStream& Stream, bool WithOffsets) {
    KitWriteInteger(Stream, Count());
    if (!WithOffsets || Count() == 0) {
        for (TKitListItem* item : items_) item->WriteData(Stream);
        return;
    }
    const long long p = Stream.Position();
    Stream.SetPosition(p + 4LL * Count());
    std::vector<long long> positions;
    positions.reserve(items_.size());
    for (TKitListItem* item : items_) {
        positions.push_back(Stream.Position());
        item->WriteData(Stream);
    }
    const long long e = Stream.Position();
    Stream.SetPosition(p);
    for (long long pos : positions) KitWriteInteger(Stream, static_cast<int>(pos));
    Stream.SetPosition(e);
}

void TKitCustomContainer::LoadFromStream(rtl::TStream& Stream, bool WithOffsets) {
    BeginUpdate();
    try {
        Clear();
        const int count = ReadCheckedCount(Stream, WithOffsets, nullptr);
        for (int i = 0; i < count; ++i) {
            const int index = AddItem(nullptr);
            TKitListItem* item = items_[static_cast<std::size_t>(index)];
            try {
                item->ReadData(Stream);
            } catch (...) {
                delete item;  // leaves the list through Notification
                throw;
            }
        }
    } catch (...) {
        EndUpdate(true);
        throw;
    }
    EndUpdate(true);
}

// ---- Container files ------------------------------------------------------------------------

int KitReadContainerHeader(const std::string& FileName, int& Count, std::vector<int>* Offsets) {
    rtl::TFileStream file(FileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    std::uint8_t sig[9] = {};
    const long long got = file.Read(sig, 9);
    int kind = ckUnknown;
    if (got == 9 && sig[0] == 8) {
        for (int k = 0; k < kKindCount; ++k) {
            if (std::equal(sig + 1, sig + 9, kKinds[k].signature)) {
                kind = k;
                break;
            }
        }
    }
    if (kind == ckUnknown) {
        file.SetPosition(std::min<long long>(got, 9));
        Count = KitReadInteger(file);
        return kind;
    }
    std::vector<int> table;
    Count = ReadCheckedCount(file, true, Offsets ? &table : nullptr);
    if (Offsets) *Offsets = std::move(table);
    return kind;
}

bool KitLoadItemAt(rtl::TStream& Stream, const std::vector<int>* Offsets, int Index, TKitListItem& Item) {
    if (!Offsets) return false;
    if (Index < 0 || Index >= static_cast<int>(Offsets->size())) rtl::RaiseRangeError();
    const int off = (*Offsets)[static_cast<std::size_t>(Index)];
    if (off < 0 || off >= Stream.Size()) ReadError();
    Stream.SetPosition(off);
    Item.ReadData(Stream);
    return true;
}

bool KitLoadContainerItem(const std::string& FileName, int Kind, const std::vector<int>* Offsets,
                          TKitListItem& Item, int Index) {
    std::vector<int> own;
    if (!Offsets) {
        int count = 0;
        if (KitReadContainerHeader(FileName, count, &own) != Kind)
            throw rtl::Exception(rtl::Format(msg::FileOpenError, FileName));
        Offsets = &own;
    }
    rtl::TFileStream file(FileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    return KitLoadItemAt(file, Offsets, Index, Item);
}

bool KitLoadBitmapFromContainer(const std::string& FileName, int Index, gdi::TBitmap& Bitmap) {
    TKitBitmapListItem item(nullptr);
    const bool ok = KitLoadContainerItem(FileName, ckBitmapList, nullptr, item, Index);
    if (ok) Bitmap.Assign(item.RawBitmap());
    return ok;
}

void KitRaiseGraphicError(const std::string& Msg) { throw gdi::EInvalidGraphicOperation(Msg); }

}  // namespace kit
