// Object model roots, class references and the class registry, components, lists, collections,
// streams and string lists.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "platform/rtl/Sets.h"
#include "platform/rtl/SysUtils.h"

namespace rtl {

class TObject {
public:
    virtual ~TObject() = default;
    // The name of the object's class without its namespace ("TStringList").
    std::string ClassName() const;
};

// The class name that ClassName gives for objects of the given type.
std::string ClassNameOf(const std::type_info& type);

using TNotifyEvent = std::function<void(TObject* sender)>;

class EOutOfResources : public EOutOfMemory {
public:
    using EOutOfMemory::EOutOfMemory;
    const char* ClassName() const noexcept override { return "EOutOfResources"; }
};
class EClassNotFound : public EFilerError {
public:
    using EFilerError::EFilerError;
    const char* ClassName() const noexcept override { return "EClassNotFound"; }
};
class EBitsError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EBitsError"; }
};

namespace msg {
inline constexpr const char* AssignError = "%s kann nicht zu %s zugewiesen werden.";
inline constexpr const char* ListCapacityError = "Listenkapazität überschreitet das Maximum (%d)";
inline constexpr const char* ListCountError = "Listenanzahl überschreitet das Maximum (%d)";
inline constexpr const char* BitsIndexError = "Bit-Index außerhalb des gültigen Bereichs";
inline constexpr const char* ClassNotFound = "Klasse %s nicht gefunden";
inline constexpr const char* UnknownProperty = "Eigenschaft %s existiert nicht";
// The reason in the open error for a pipe, a device or a socket: only regular files are read.
inline constexpr const char* NotARegularFile = "Keine gewöhnliche Datei";
}  // namespace msg

class TFiler;
class TReader;
class TWriter;
class TStream;

// ---- TPersistent ---------------------------------------------------------------------------
// Assign copies another object into this one. A class that knows its sources overrides Assign
// and passes every other source to the inherited one; the base lets the source assign itself
// through AssignTo, whose base raises the assignment error (EConvertError naming both classes,
// "nil" for a missing source).
class TPersistent : public TObject {
public:
    virtual void Assign(const TPersistent* Source);

protected:
    virtual void AssignTo(TPersistent* Dest) const;
    // Declares the properties the object writes and reads itself (see TFiler).
    virtual void DefineProperties(TFiler* Filer);
    // Raises the assignment error for Source (may be nullptr) assigned to this object.
    [[noreturn]] void AssignError(const TPersistent* Source) const;

    friend class TFiler;
};

// A filer is handed to DefineProperties, which names each property it writes and reads itself
// with a reader and a writer callback: DefineProperty for values of the tagged value stream
// (integers, floats, strings, lists), DefineBinaryProperty for raw bytes. HasData False means
// there is nothing to write (the property keeps its default). WriteDefinedProperties and
// ReadDefinedProperties (platform/rtl/Filer.h) run them over a stream.
class TFiler : public TObject {
public:
    using TReaderProc = std::function<void(TReader& reader)>;
    using TWriterProc = std::function<void(TWriter& writer)>;
    using TStreamProc = std::function<void(TStream& stream)>;

    virtual void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                                bool HasData) = 0;
    virtual void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData,
                                      TStreamProc WriteData, bool HasData) = 0;

protected:
    static void CallDefineProperties(TPersistent& instance, TFiler* filer) {
        instance.DefineProperties(filer);
    }
};

// ---- TComponent ----------------------------------------------------------------------------
enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : std::uint8_t { csLoading, csReading, csDesigning, csDestroying };
using TComponentState = TSet<TComponentStateFlag, std::uint8_t>;

// An owner frees the components it owns, in reverse order of insertion; a component removed
// from its owner (or destroyed) is announced to the owner through Notification. Components
// linked with FreeNotification hear of each other's destruction the same way.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;  // EListError outside 0..Count-1
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    int Tag = 0;

    TComponentState ComponentState() const { return state_; }

    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    void DestroyComponents();

    // Links this component and c both ways: whichever is destroyed first is announced to the
    // other through Notification(…, opRemove). Unlinked by RemoveFreeNotification or on
    // destruction; ignored while either is being destroyed.
    void FreeNotification(TComponent* c);
    void RemoveFreeNotification(TComponent* c);

    // Sets csDestroying on this component and everything it owns, recursively. The destructor
    // does it first thing; a descendant whose destructor must see the flag calls it itself.
    void Destroying();

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    // Called once the component and its owned components were built inside a loading scope,
    // in creation order; the base clears csLoading.
    virtual void Loaded();
    void SetDesigning(bool value);

private:
    friend class TLoadingScope;

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::string name_;
    TComponentState state_;
};

// The loading bracket for windows built in code. Every component created while a scope is
// active gets csLoading and csReading; End (or the destructor) clears csReading on all of
// them and then calls Loaded on each, in creation order. Components freed inside the bracket
// are dropped from it. When the scope is left by an exception, the flags are cleared and no
// Loaded is called. Scopes nest; a component belongs to the innermost one.
class TLoadingScope {
public:
    TLoadingScope();
    ~TLoadingScope() noexcept(false);
    TLoadingScope(const TLoadingScope&) = delete;
    TLoadingScope& operator=(const TLoadingScope&) = delete;

    // Ends the bracket; an exception from a Loaded passes to the caller (the flags of the
    // components not reached yet are cleared).
    void End();
    bool Active() const { return active_; }

private:
    friend class TComponent;
    void Register(TComponent* c);
    void Unregister(TComponent* c);

    std::vector<TComponent*> created_;
    TLoadingScope* outer_ = nullptr;
    bool active_ = true;
};

// ---- Class references and the class registry ---------------------------------------------
// A class reference names a class and creates instances of it: Create runs the constructor
// chain of the referenced class, whatever the reference's base, as a virtual constructor does.
template <class Base, class... Args>
class TClassRef {
public:
    using Factory = Base* (*)(Args...);

    constexpr TClassRef() = default;  // nil

    template <class T>
    static TClassRef Of() {
        static_assert(std::is_base_of_v<Base, T>, "a class reference holds descendants of its base");
        TClassRef r;
        r.type_ = &typeid(T);
        r.make_ = [](Args... args) -> Base* {
            if constexpr (std::is_constructible_v<T, Args...>)
                return new T(std::forward<Args>(args)...);
            else
                return new T(nullptr, std::forward<Args>(args)...);  // a component without owner
        };
        r.isA_ = [](const Base* p) { return dynamic_cast<const T*>(p) != nullptr; };
        return r;
    }

    explicit operator bool() const { return make_ != nullptr; }
    // A new instance; the caller owns it. EInvalidOperation for a nil reference.
    std::unique_ptr<Base> Create(Args... args) const { return std::unique_ptr<Base>(New(args...)); }
    // For classes whose constructor hands the object to an owner passed in (a component's
    // owner, a collection item's collection): that owner frees it.
    Base* CreateOwned(Args... args) const { return New(args...); }
    std::string ClassName() const { return type_ ? ClassNameOf(*type_) : std::string("nil"); }
    // True when p is an instance of the referenced class or of a descendant.
    bool IsClassOf(const Base* p) const { return isA_ && p && isA_(p); }
    const std::type_info* Type() const { return type_; }

    friend bool operator==(const TClassRef& a, const TClassRef& b) {
        if (!a.type_ || !b.type_) return a.type_ == b.type_;
        return *a.type_ == *b.type_;
    }

private:
    Base* New(Args... args) const {
        if (!make_) throw EInvalidOperation("nil");
        return make_(std::forward<Args>(args)...);
    }

    const std::type_info* type_ = nullptr;
    Factory make_ = nullptr;
    bool (*isA_)(const Base*) = nullptr;
};

using TPersistentClass = TClassRef<TPersistent>;
// Components are created with their owner (CreateOwned when the owner is not nullptr).
using TComponentClass = TClassRef<TComponent, TComponent*>;

// Registered classes are found by their ClassName, ignoring case. Components are created
// without an owner (InsertComponent gives them one).
void RegisterClass(const TPersistentClass& cls);
template <class T>
void RegisterClass() {
    RegisterClass(TPersistentClass::Of<T>());
}
void UnRegisterClass(const TPersistentClass& cls);
TPersistentClass GetClass(std::string_view name);   // nil when not registered
TPersistentClass FindClass(std::string_view name);  // EClassNotFound when not registered

// ---- TList ----------------------------------------------------------------------------------
// A list of pointers. Index errors raise EListError "Listenindex überschreitet das Maximum (%d)".
class TList : public TObject {
public:
    using TListSortCompare = int (*)(void* item1, void* item2);

    int Count() const { return static_cast<int>(items_.size()); }
    void SetCount(int count);  // new entries are nullptr
    int Capacity() const { return capacity_; }
    void SetCapacity(int capacity);  // EListError below Count
    void* Items(int index) const;
    void SetItems(int index, void* item);
    void* operator[](int index) const { return Items(index); }

    int Add(void* item);
    void Insert(int index, void* item);  // index 0..Count
    void Delete(int index);
    int Remove(void* item);  // index it had, or -1
    int IndexOf(void* item) const;
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);
    void Pack();  // drops the nullptr entries
    void Sort(TListSortCompare compare);
    void Clear();
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }
    virtual ~TList() override = default;

private:
    void CheckIndex(int index) const;
    void Grow();

    std::vector<void*> items_;
    int capacity_ = 0;
};

// ---- TBits ----------------------------------------------------------------------------------
// A growable bit array. Reading outside 0..Size-1 or a negative index raises EBitsError;
// setting a bit beyond the end grows the array.
class TBits : public TObject {
public:
    int Size() const { return static_cast<int>(bits_.size()); }
    void SetSize(int size);
    bool Bits(int index) const;
    void SetBits(int index, bool value);
    bool operator[](int index) const { return Bits(index); }
    // Index of the first False bit (Size when all are set).
    int OpenBit() const;

private:
    std::vector<bool> bits_;
};

// ---- Collections ----------------------------------------------------------------------------
class TCollection;

// An item of a collection: created with its collection, which owns and frees it.
class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    TCollection* Collection() const { return collection_; }
    void SetCollection(TCollection* value);  // moves the item to another collection
    int Index() const;                       // -1 without a collection
    virtual void SetIndex(int value);
    int ID() const { return id_; }
    virtual std::string DisplayName() const { return ClassName(); }

protected:
    // Tells the collection: Update(this), or Update(nullptr) when AllItems.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

using TCollectionItemClass = TClassRef<TCollectionItem, TCollection*>;

// Items of one item class, in order. Update(Item) runs after a change of Item, or with nullptr
// after a change of the collection (items added, removed, moved, cleared), unless an update
// is under way (BeginUpdate … EndUpdate, counted; the last EndUpdate calls Update(nullptr)).
class TCollection : public TPersistent {
public:
    explicit TCollection(TCollectionItemClass itemClass);
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    const TCollectionItemClass& ItemClass() const { return itemClass_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;  // EListError outside 0..Count-1
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;
    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // From another collection: the items are replaced by new items of this collection's item
    // class, each assigned from the source's item.
    void Assign(const TPersistent* Source) override;

protected:
    virtual void Update(TCollectionItem* Item);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    TCollectionItemClass itemClass_;
    std::vector<TCollectionItem*> items_;
    int updateCount_ = 0;
    int nextId_ = 0;
};

// ---- Streams -----------------------------------------------------------------------------
enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    virtual long long Read(void* buffer, long long count) = 0;
    virtual long long Write(const void* buffer, long long count) = 0;
    virtual long long Seek(long long offset, TSeekOrigin origin) = 0;
    long long Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(long long pos) { Seek(pos, TSeekOrigin::soBeginning); }
    virtual long long Size();
    // Whole-buffer transfers: EReadError ("Stream-Lesefehler") / EWriteError on a short count.
    void ReadBuffer(void* buffer, long long count);
    void WriteBuffer(const void* buffer, long long count);
    long long CopyFrom(TStream& source, long long count);  // count 0: the whole source

protected:
    // The error WriteBuffer raises when Write took fewer bytes: "Stream-Schreibfehler"; a
    // stream on a file names the file and the system's reason instead.
    [[noreturn]] virtual void RaiseWriteError();
};

class TMemoryStream : public TStream {
public:
    long long Read(void* buffer, long long count) override;
    long long Write(const void* buffer, long long count) override;
    long long Seek(long long offset, TSeekOrigin origin) override;
    long long Size() override { return static_cast<long long>(data_.size()); }
    void Clear();
    void SetSize(long long size);
    const std::uint8_t* Memory() const { return data_.data(); }
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);  // replaces the file once complete (FileReplace.h)
    void LoadFromStream(TStream& s);
    void SaveToStream(TStream& s);

private:
    std::vector<std::uint8_t> data_;
    long long pos_ = 0;
};

// File modes as on the original platform.
inline constexpr unsigned fmCreate = 0xFF00;
inline constexpr unsigned fmOpenRead = 0x0000;
inline constexpr unsigned fmOpenWrite = 0x0001;
inline constexpr unsigned fmOpenReadWrite = 0x0002;
inline constexpr unsigned fmShareDenyWrite = 0x0020;
inline constexpr unsigned fmShareDenyNone = 0x0040;

// Opening failures raise EFOpenError / EFCreateError with the platform's texts. Opening an
// existing file accepts only a regular file: a folder, pipe, device or socket is refused at once
// (a pipe without a writer would otherwise block the open for good).
// Whole reads and writes on a file descriptor, as the file streams do them: interrupted calls
// are repeated; a read stops at the end of the file, a write at its first failure, whose errno
// (EIO for a write that made no progress) goes to error.
long long ReadFromFd(int fd, void* buffer, long long count);
long long WriteToFd(int fd, const void* buffer, long long count, int& error);
long long SeekFd(int fd, long long offset, TSeekOrigin origin);

class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, unsigned mode);
    ~TFileStream() override;
    long long Read(void* buffer, long long count) override;
    long long Write(const void* buffer, long long count) override;
    long long Seek(long long offset, TSeekOrigin origin) override;
    const std::string& FileName() const { return fileName_; }

protected:
    // EWriteError "Datei <name> kann nicht geschrieben werden. <reason>".
    [[noreturn]] void RaiseWriteError() override;

private:
    std::string fileName_;
    int fd_ = -1;
    int writeError_ = 0;  // errno of the last write that fell short
};

// ---- String lists ------------------------------------------------------------------------
// Text files are read as UTF-8 when valid, else as Windows-1252; lines end in CR LF, LF or CR.
// Files are written as UTF-8 with CR LF line ends.
class TStrings : public TPersistent {
public:
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;     // EStringListError outside the list
    virtual void Put(int index, const std::string& s) = 0;
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int Add(const std::string& s);
    // An object pointer per line (not owned); the base keeps none.
    virtual TObject* Objects(int index) const;
    virtual void PutObject(int index, TObject* object);
    virtual int AddObject(const std::string& s, TObject* object);
    virtual void InsertObject(int index, const std::string& s, TObject* object);
    int IndexOfObject(const TObject* object) const;
    virtual void Exchange(int index1, int index2);
    void AddStrings(const TStrings& other);  // lines and their objects
    virtual int IndexOf(std::string_view s) const;       // case-insensitive, as the platform
    std::string operator[](int index) const { return Get(index); }
    // Lines joined with CR LF after each line; SetText splits at CR LF, LF or CR.
    std::string Text() const;
    void SetText(std::string_view text);
    std::string CommaText() const;
    void LoadFromFile(const std::string& fileName);    // EFOpenError when it cannot be opened
    void SaveToFile(const std::string& fileName) const;  // replaces the file once complete
    void LoadFromStream(TStream& s);
    void SaveToStream(TStream& s) const;
    // Name=Value access.
    std::string Names(int index) const;
    std::string Values(std::string_view name) const;
    void SetValue(std::string_view name, std::string_view value);
    int IndexOfName(std::string_view name) const;
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate() { if (updateCount_ > 0) --updateCount_; if (!updateCount_) Changed(); }

protected:
    virtual void Changed() {}
    int updateCount_ = 0;
};

class TStringList : public TStrings {
public:
    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& s) override;
    int AddObject(const std::string& s, TObject* object) override;
    TObject* Objects(int index) const override;
    void PutObject(int index, TObject* object) override;
    void InsertObject(int index, const std::string& s, TObject* object) override;
    void Exchange(int index1, int index2) override;
    bool Sorted = false;       // keep sorted on Add (case-insensitive, as the platform)
    void Sort();               // lines keep their objects
    TNotifyEvent OnChange;

protected:
    void Changed() override;

private:
    struct Item {
        std::string text;
        TObject* object = nullptr;
    };
    std::vector<Item> items_;
};

// Decodes file bytes as the text-file rule says (UTF-8 when valid, else Windows-1252).
std::string DecodeTextBytes(std::string_view bytes);

}  // namespace rtl
