// TComponent ownership, streams and string lists.
#include "platform/rtl/Classes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cxxabi.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <map>

#include "platform/rtl/FileReplace.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

namespace rtl {

// ---- TObject --------------------------------------------------------------------------------

std::string ClassNameOf(const std::type_info& type) {
    int status = 0;
    char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : type.name();
    std::free(demangled);
    // Drop the namespaces of the class itself (not those inside template arguments).
    const std::size_t angle = name.find('<');
    const std::size_t colon = name.rfind("::", angle);
    if (colon != std::string::npos) name.erase(0, colon + 2);
    return name;
}

std::string TObject::ClassName() const { return ClassNameOf(typeid(*this)); }

// ---- TPersistent ----------------------------------------------------------------------------

void TPersistent::Assign(const TPersistent* Source) {
    if (!Source) AssignError(nullptr);
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) const {
    if (!Dest) throw EConvertError(Format(msg::AssignError, ClassName(), "nil"));
    Dest->AssignError(this);
}

void TPersistent::DefineProperties(TFiler* /*Filer*/) {}

void TPersistent::AssignError(const TPersistent* Source) const {
    const std::string sourceName = Source ? Source->ClassName() : std::string("nil");
    throw EConvertError(Format(msg::AssignError, sourceName, ClassName()));
}

// ---- Loading scope ----------------------------------------------------------------------------

namespace {
// The innermost active scope takes new components; every scope still alive (ending ones
// included) drops a component that is freed.
thread_local TLoadingScope* t_loadingScope = nullptr;
thread_local std::vector<TLoadingScope*> t_liveScopes;
}  // namespace

TLoadingScope::TLoadingScope() : outer_(t_loadingScope) {
    t_loadingScope = this;
    t_liveScopes.push_back(this);
}

TLoadingScope::~TLoadingScope() noexcept(false) {
    struct Unlink {
        TLoadingScope* self;
        ~Unlink() { t_liveScopes.erase(std::remove(t_liveScopes.begin(), t_liveScopes.end(), self), t_liveScopes.end()); }
    } unlink{this};
    if (!active_) return;
    if (std::uncaught_exceptions() > 0) {
        // Left by an exception: whatever was built stops loading, without Loaded.
        t_loadingScope = outer_;
        active_ = false;
        for (TComponent* c : created_)
            if (c) c->state_.Exclude(csLoading).Exclude(csReading);
        created_.clear();
        return;
    }
    End();
}

void TLoadingScope::End() {
    if (!active_) return;
    t_loadingScope = outer_;
    active_ = false;
    for (TComponent* c : created_)
        if (c) c->state_.Exclude(csReading);
    // Entries freed by a Loaded are set to nullptr by Unregister, so the walk stays valid.
    std::size_t i = 0;
    try {
        for (; i < created_.size(); ++i)
            if (TComponent* c = created_[i]) c->Loaded();
    } catch (...) {
        for (std::size_t k = i; k < created_.size(); ++k)
            if (created_[k]) created_[k]->state_.Exclude(csLoading);
        created_.clear();
        throw;
    }
    created_.clear();
}

void TLoadingScope::Register(TComponent* c) {
    c->state_.Include(csLoading).Include(csReading);
    created_.push_back(c);
}

void TLoadingScope::Unregister(TComponent* c) {
    for (auto& p : created_)
        if (p == c) p = nullptr;
}

// ---- TComponent ----------------------------------------------------------------------------

TComponent::TComponent(TComponent* owner) {
    if (t_loadingScope) t_loadingScope->Register(this);
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    for (TLoadingScope* s : t_liveScopes) s->Unregister(this);
    // Everyone linked through FreeNotification hears of it; the links go both ways.
    while (!freeNotifies_.empty()) {
        TComponent* c = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& back = c->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        c->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Destroying() {
    if (state_.Contains(csDestroying)) return;
    state_.Include(csDestroying);
    for (TComponent* c : components_) c->Destroying();
}

void TComponent::FreeNotification(TComponent* c) {
    // A link to a component on its way out would outlive it.
    if (!c || c == this || state_.Contains(csDestroying) || c->state_.Contains(csDestroying)) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end()) {
        freeNotifies_.push_back(c);
        c->freeNotifies_.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* c) {
    if (!c) return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), c), freeNotifies_.end());
    auto& back = c->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::SetDesigning(bool value) {
    if (value) state_.Include(csDesigning);
    else state_.Exclude(csDesigning);
    for (TComponent* c : components_) c->SetDesigning(value);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) RaiseListIndexError(index);
    return components_[static_cast<std::size_t>(index)];
}

void TComponent::InsertComponent(TComponent* c) {
    if (!c || c->owner_ == this) return;
    if (c->owner_) c->owner_->RemoveComponent(c);
    components_.push_back(c);
    c->owner_ = this;
    Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
    if (!c || c->owner_ != this) return;
    auto it = std::find(components_.begin(), components_.end(), c);
    if (it != components_.end()) components_.erase(it);
    c->owner_ = nullptr;
    Notification(c, TOperation::opRemove);
}

void TComponent::DestroyComponents() {
    // Last inserted first; each one is taken out of the list before it is freed.
    while (!components_.empty()) {
        TComponent* c = components_.back();
        components_.pop_back();
        c->owner_ = nullptr;
        delete c;
    }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    // As on the platform: the owner passes the news on to everything it owns.
    for (std::size_t i = components_.size(); i-- > 0;) {
        if (i >= components_.size()) continue;
        TComponent* c = components_[i];
        if (c != component) c->Notification(component, operation);
    }
}

// ---- Class registry --------------------------------------------------------------------------

namespace {
std::map<std::string, TPersistentClass>& registry() {
    static std::map<std::string, TPersistentClass> classes;
    return classes;
}
}  // namespace

void RegisterClass(const TPersistentClass& cls) {
    if (!cls) return;
    registry()[UpperCase(cls.ClassName())] = cls;
}

void UnRegisterClass(const TPersistentClass& cls) {
    auto& r = registry();
    auto it = r.find(UpperCase(cls.ClassName()));
    if (it != r.end() && it->second == cls) r.erase(it);
}

TPersistentClass GetClass(std::string_view name) {
    auto& r = registry();
    auto it = r.find(UpperCase(name));
    return it == r.end() ? TPersistentClass() : it->second;
}

TPersistentClass FindClass(std::string_view name) {
    TPersistentClass cls = GetClass(name);
    if (!cls) throw EClassNotFound(Format(msg::ClassNotFound, std::string(name)));
    return cls;
}

// ---- TList ------------------------------------------------------------------------------------

void TList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
}

void TList::Grow() {
    const int delta = capacity_ > 64 ? capacity_ / 4 : capacity_ > 8 ? 16 : 4;
    SetCapacity(capacity_ + delta);
}

void TList::SetCapacity(int capacity) {
    if (capacity < Count()) throw EListError(Format(msg::ListCapacityError, capacity));
    items_.reserve(static_cast<std::size_t>(capacity));
    capacity_ = capacity;
}

void TList::SetCount(int count) {
    if (count < 0) throw EListError(Format(msg::ListCountError, count));
    if (count > capacity_) SetCapacity(count);
    items_.resize(static_cast<std::size_t>(count), nullptr);
}

void* TList::Items(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)];
}

void TList::SetItems(int index, void* item) {
    CheckIndex(index);
    items_[static_cast<std::size_t>(index)] = item;
}

int TList::Add(void* item) {
    const int index = Count();
    Insert(index, item);
    return index;
}

void TList::Insert(int index, void* item) {
    if (index < 0 || index > Count()) RaiseListIndexError(index);
    if (Count() == capacity_) Grow();
    items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
}

int TList::Remove(void* item) {
    const int index = IndexOf(item);
    if (index >= 0) Delete(index);
    return index;
}

int TList::IndexOf(void* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
}

void TList::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    void* item = items_[static_cast<std::size_t>(curIndex)];
    items_.erase(items_.begin() + curIndex);
    items_.insert(items_.begin() + newIndex, item);
}

void TList::Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }

void TList::Sort(TListSortCompare compare) {
    if (!compare) return;
    std::stable_sort(items_.begin(), items_.end(), [compare](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::Clear() {
    items_.clear();
    items_.shrink_to_fit();
    capacity_ = 0;
}

// ---- TBits ------------------------------------------------------------------------------------

void TBits::SetSize(int size) {
    if (size < 0) throw EBitsError(msg::BitsIndexError);
    bits_.resize(static_cast<std::size_t>(size), false);
}

bool TBits::Bits(int index) const {
    if (index < 0 || index >= Size()) throw EBitsError(msg::BitsIndexError);
    return bits_[static_cast<std::size_t>(index)];
}

void TBits::SetBits(int index, bool value) {
    if (index < 0) throw EBitsError(msg::BitsIndexError);
    if (index >= Size()) SetSize(index + 1);
    bits_[static_cast<std::size_t>(index)] = value;
}

int TBits::OpenBit() const {
    for (int i = 0; i < Size(); ++i)
        if (!bits_[static_cast<std::size_t>(i)]) return i;
    return Size();
}

// ---- Collections --------------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* value) {
    if (collection_ == value) return;
    if (collection_) collection_->RemoveItem(this);
    if (value) value->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!collection_) return -1;
    const auto& items = collection_->items_;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int value) {
    const int cur = Index();
    if (cur < 0 || cur == value) return;
    auto& items = collection_->items_;
    if (value < 0 || value >= static_cast<int>(items.size())) RaiseListIndexError(value);
    items.erase(items.begin() + cur);
    items.insert(items.begin() + value, this);
    Changed(true);
}

void TCollectionItem::Changed(bool AllItems) {
    if (collection_ && collection_->updateCount_ == 0) collection_->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(TCollectionItemClass itemClass) : itemClass_(std::move(itemClass)) {}

TCollection::~TCollection() {
    updateCount_ = 1;  // no Update calls while the items go
    while (!items_.empty()) delete items_.back();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    return items_[static_cast<std::size_t>(index)];
}

TCollectionItem* TCollection::Add() { return itemClass_.CreateOwned(this); }

TCollectionItem* TCollection::Insert(int index) {
    if (index < 0 || index > Count()) RaiseListIndexError(index);
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    try {
        while (!items_.empty()) delete items_.back();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : items_)
        if (item->id_ == id) return item;
    return nullptr;
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
    if (updateCount_ > 0) --updateCount_;
    Changed();
}

void TCollection::Changed() {
    if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem* /*Item*/) {}

void TCollection::Assign(const TPersistent* Source) {
    const auto* src = dynamic_cast<const TCollection*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    if (src == this) return;
    BeginUpdate();
    try {
        while (!items_.empty()) delete items_.back();
        for (TCollectionItem* item : src->items_) Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::InsertItem(TCollectionItem* item) {
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->collection_ = nullptr;
    Changed();
}

// ---- TStream -------------------------------------------------------------------------------

long long TStream::Size() {
    const long long pos = Seek(0, TSeekOrigin::soCurrent);
    const long long size = Seek(0, TSeekOrigin::soEnd);
    Seek(pos, TSeekOrigin::soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, long long count) {
    if (count > 0 && Read(buffer, count) != count) throw EReadError(msg::ReadError);
}

void TStream::WriteBuffer(const void* buffer, long long count) {
    if (count > 0 && Write(buffer, count) != count) RaiseWriteError();
}

void TStream::RaiseWriteError() { throw EWriteError(msg::WriteError); }

long long TStream::CopyFrom(TStream& source, long long count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    const long long result = count;
    std::vector<char> buf(static_cast<std::size_t>(std::min<long long>(count, 1 << 16)) + 1);
    while (count > 0) {
        const long long n = std::min<long long>(count, static_cast<long long>(buf.size()));
        source.ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        count -= n;
    }
    return result;
}

// ---- TMemoryStream -------------------------------------------------------------------------

long long TMemoryStream::Read(void* buffer, long long count) {
    const long long size = Size();
    if (count <= 0 || pos_ >= size) return 0;
    const long long n = std::min(count, size - pos_);
    std::memcpy(buffer, data_.data() + pos_, static_cast<std::size_t>(n));
    pos_ += n;
    return n;
}

long long TMemoryStream::Write(const void* buffer, long long count) {
    if (count <= 0) return 0;
    if (pos_ + count > Size()) data_.resize(static_cast<std::size_t>(pos_ + count));
    std::memcpy(data_.data() + pos_, buffer, static_cast<std::size_t>(count));
    pos_ += count;
    return count;
}

long long TMemoryStream::Seek(long long offset, TSeekOrigin origin) {
    switch (origin) {
    case TSeekOrigin::soBeginning: pos_ = offset; break;
    case TSeekOrigin::soCurrent: pos_ += offset; break;
    case TSeekOrigin::soEnd: pos_ = Size() + offset; break;
    }
    if (pos_ < 0) pos_ = 0;
    return pos_;
}

void TMemoryStream::Clear() {
    data_.clear();
    pos_ = 0;
}

void TMemoryStream::SetSize(long long size) {
    if (size < 0) size = 0;
    data_.resize(static_cast<std::size_t>(size));
    if (pos_ > size) pos_ = size;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const std::string& fileName) {
    TReplacingFileStream f(fileName);
    SaveToStream(f);
    f.Commit();
}

void TMemoryStream::LoadFromStream(TStream& s) {
    s.SetPosition(0);
    const long long n = s.Size();
    SetSize(n);
    pos_ = 0;
    if (n > 0) s.ReadBuffer(data_.data(), n);
}

void TMemoryStream::SaveToStream(TStream& s) {
    if (!data_.empty()) s.WriteBuffer(data_.data(), Size());
}

// ---- TFileStream ---------------------------------------------------------------------------

namespace {
std::string osErrorText(int err) { return SysErrorMessage(err); }
}  // namespace

TFileStream::TFileStream(const std::string& fileName, unsigned mode) : fileName_(fileName) {
    if ((mode & 0xFF00) == fmCreate) {
        fd_ = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd_ < 0) throw EFCreateError(Format(msg::FCreateError, fileName, osErrorText(errno)));
        return;
    }
    int flags = O_RDONLY;
    if ((mode & 3) == fmOpenWrite) flags = O_WRONLY;
    if ((mode & 3) == fmOpenReadWrite) flags = O_RDWR;
    // Without O_NONBLOCK, opening a named pipe waits for a writer; the descriptor is made
    // blocking again once it is known to be a regular file.
    fd_ = ::open(fileName.c_str(), flags | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        // ENXIO: a pipe without a reader (opened for writing) or a device that is not there.
        const int err = errno;
        throw EFOpenError(Format(msg::FOpenError, fileName, err == ENXIO ? msg::NotARegularFile : osErrorText(err)));
    }
    std::string reason;
    struct stat st;
    if (::fstat(fd_, &st) != 0)
        reason = osErrorText(errno);
    else if (S_ISDIR(st.st_mode))
        reason = osErrorText(EISDIR);
    else if (!S_ISREG(st.st_mode))
        reason = msg::NotARegularFile;
    else if (const int fl = ::fcntl(fd_, F_GETFL); fl < 0 || ::fcntl(fd_, F_SETFL, fl & ~O_NONBLOCK) != 0)
        reason = osErrorText(errno);
    if (!reason.empty()) {
        ::close(fd_);
        fd_ = -1;
        throw EFOpenError(Format(msg::FOpenError, fileName, reason));
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

long long ReadFromFd(int fd, void* buffer, long long count) {
    long long done = 0;
    char* p = static_cast<char*>(buffer);
    while (done < count) {
        const ssize_t n = ::read(fd, p + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

long long WriteToFd(int fd, const void* buffer, long long count, int& error) {
    long long done = 0;
    const char* p = static_cast<const char*>(buffer);
    while (done < count) {
        const ssize_t n = ::write(fd, p + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            break;
        }
        done += n;
    }
    return done;
}

long long SeekFd(int fd, long long offset, TSeekOrigin origin) {
    const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                       : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                          : SEEK_END;
    return static_cast<long long>(::lseek(fd, static_cast<off_t>(offset), whence));
}

long long TFileStream::Read(void* buffer, long long count) { return ReadFromFd(fd_, buffer, count); }

long long TFileStream::Write(const void* buffer, long long count) {
    return WriteToFd(fd_, buffer, count, writeError_);
}

void TFileStream::RaiseWriteError() {
    throw EWriteError(Format(msg::FWriteError, fileName_, osErrorText(writeError_ ? writeError_ : EIO)));
}

long long TFileStream::Seek(long long offset, TSeekOrigin origin) {
    return SeekFd(fd_, offset, origin);
}

// ---- Text decoding -------------------------------------------------------------------------

std::string DecodeTextBytes(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    AppendCp1252AsUtf8(out, bytes);
    return out;
}

// ---- TStrings ------------------------------------------------------------------------------

int TStrings::Add(const std::string& s) {
    const int index = Count();
    Insert(index, s);
    return index;
}

TObject* TStrings::Objects(int index) const {
    if (index < 0 || index >= Count()) throw EStringListError(Format(msg::ListIndexError, index));
    return nullptr;
}

void TStrings::PutObject(int /*index*/, TObject* /*object*/) {}

int TStrings::AddObject(const std::string& s, TObject* object) {
    const int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

int TStrings::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < Count(); ++i)
        if (Objects(i) == object) return i;
    return -1;
}

void TStrings::Exchange(int index1, int index2) {
    BeginUpdate();
    try {
        const std::string s1 = Get(index1);
        TObject* o1 = Objects(index1);
        Put(index1, Get(index2));
        PutObject(index1, Objects(index2));
        Put(index2, s1);
        PutObject(index2, o1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::AddStrings(const TStrings& other) {
    BeginUpdate();
    try {
        for (int i = 0; i < other.Count(); ++i) AddObject(other.Get(i), other.Objects(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(Get(i), s)) return i;
    return -1;
}

std::string TStrings::Text() const {
    std::string r;
    for (int i = 0; i < Count(); ++i) {
        r += Get(i);
        r += "\r\n";
    }
    return r;
}

void TStrings::SetText(std::string_view text) {
    BeginUpdate();
    try {
        Clear();
        std::size_t start = 0;
        const std::size_t n = text.size();
        std::size_t i = 0;
        while (i < n) {
            const char c = text[i];
            if (c == '\r' || c == '\n') {
                Add(std::string(text.substr(start, i - start)));
                if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
                ++i;
                start = i;
            } else {
                ++i;
            }
        }
        if (start < n) Add(std::string(text.substr(start)));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TStrings::CommaText() const {
    std::string r;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0) r.push_back(',');
        const std::string s = Get(i);
        bool quote = s.empty() && Count() == 1;
        for (char c : s)
            if (static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"') quote = true;
        if (!quote) {
            r += s;
            continue;
        }
        r.push_back('"');
        for (char c : s) {
            if (c == '"') r.push_back('"');
            r.push_back(c);
        }
        r.push_back('"');
    }
    return r;
}

void TStrings::LoadFromFile(const std::string& fileName) {
    TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}

void TStrings::SaveToFile(const std::string& fileName) const {
    TReplacingFileStream f(fileName);
    SaveToStream(f);
    f.Commit();
}

// The bytes are held once: valid UTF-8 is split as it stands, other text is decoded and the
// bytes freed before the lines are made.
void TStrings::LoadFromStream(TStream& s) {
    std::string bytes;
    const long long pos = s.Position();
    const long long size = s.Size();
    if (pos >= 0 && size > pos) bytes.reserve(static_cast<std::size_t>(size - pos));
    char buf[65536];
    for (;;) {
        const long long n = s.Read(buf, sizeof buf);
        if (n <= 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    std::size_t skip = 0;
    if (bytes.size() >= 3 && std::string_view(bytes).substr(0, 3) == "\xEF\xBB\xBF") skip = 3;  // BOM
    const std::string_view v = std::string_view(bytes).substr(skip);
    if (IsValidUtf8(v)) {
        SetText(v);
        return;
    }
    std::string text;
    text.reserve(v.size() + v.size() / 4);
    AppendCp1252AsUtf8(text, v);
    std::string().swap(bytes);
    SetText(text);
}

void TStrings::SaveToStream(TStream& s) const {
    const std::string t = Text();
    s.WriteBuffer(t.data(), static_cast<long long>(t.size()));
}

std::string TStrings::Names(int index) const {
    const std::string s = Get(index);
    const std::size_t p = s.find('=');
    return p == std::string::npos ? std::string() : s.substr(0, p);
}

int TStrings::IndexOfName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string s = Get(i);
        const std::size_t p = s.find('=');
        if (p != std::string::npos && SameText(std::string_view(s).substr(0, p), name)) return i;
    }
    return -1;
}

std::string TStrings::Values(std::string_view name) const {
    const int i = IndexOfName(name);
    if (i < 0) return {};
    const std::string s = Get(i);
    return s.substr(s.find('=') + 1);
}

void TStrings::SetValue(std::string_view name, std::string_view value) {
    const int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
        return;
    }
    const std::string line = std::string(name) + "=" + std::string(value);
    if (i >= 0) Put(i, line);
    else Add(line);
}

// ---- TStringList ---------------------------------------------------------------------------

namespace {
[[noreturn]] void stringListIndexError(int index) {
    throw EStringListError(Format(msg::ListIndexError, index));
}
}  // namespace

std::string TStringList::Get(int index) const {
    if (index < 0 || index >= Count()) stringListIndexError(index);
    return items_[static_cast<std::size_t>(index)].text;
}

void TStringList::Put(int index, const std::string& s) {
    if (index < 0 || index >= Count()) stringListIndexError(index);
    items_[static_cast<std::size_t>(index)].text = s;
    Changed();
}

TObject* TStringList::Objects(int index) const {
    if (index < 0 || index >= Count()) stringListIndexError(index);
    return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* object) {
    if (index < 0 || index >= Count()) stringListIndexError(index);
    items_[static_cast<std::size_t>(index)].object = object;
    Changed();
}

void TStringList::Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const std::string& s, TObject* object) {
    if (index < 0 || index > Count()) stringListIndexError(index);
    items_.insert(items_.begin() + index, Item{s, object});
    Changed();
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count()) stringListIndexError(index);
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    if (index1 < 0 || index1 >= Count()) stringListIndexError(index1);
    if (index2 < 0 || index2 >= Count()) stringListIndexError(index2);
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

int TStringList::Add(const std::string& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const std::string& s, TObject* object) {
    if (!Sorted) {
        const int index = Count();
        InsertObject(index, s, object);
        return index;
    }
    // Sorted: binary search; a duplicate is ignored (the platform's default) and its index
    // returned, its object unchanged.
    auto it = std::lower_bound(items_.begin(), items_.end(), s,
                               [](const Item& a, const std::string& b) { return CompareText(a.text, b) < 0; });
    const int index = static_cast<int>(it - items_.begin());
    if (it != items_.end() && CompareText(it->text, s) == 0) return index;
    items_.insert(it, Item{s, object});
    Changed();
    return index;
}

void TStringList::Sort() {
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Item& a, const Item& b) { return CompareText(a.text, b.text) < 0; });
    Changed();
}

void TStringList::Changed() {
    if (updateCount_ == 0 && OnChange) OnChange(this);
}

}  // namespace rtl
