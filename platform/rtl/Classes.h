// Object model roots, string lists and streams.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

class TPersistent : public TObject {};

enum class TOperation { opInsert, opRemove };

// An owner frees the components it owns, in reverse order of insertion; a component removed
// from its owner (or destroyed) is announced to the owner through Notification.
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

    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    void DestroyComponents();

protected:
    virtual void Notification(TComponent* component, TOperation operation);

private:
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::string name_;
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
    void SaveToFile(const std::string& fileName);
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

// Opening failures raise EFOpenError / EFCreateError with the platform's texts.
class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, unsigned mode);
    ~TFileStream() override;
    long long Read(void* buffer, long long count) override;
    long long Write(const void* buffer, long long count) override;
    long long Seek(long long offset, TSeekOrigin origin) override;
    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
    int fd_ = -1;
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
    void AddStrings(const TStrings& other);
    virtual int IndexOf(std::string_view s) const;       // case-insensitive, as the platform
    std::string operator[](int index) const { return Get(index); }
    // Lines joined with CR LF after each line; SetText splits at CR LF, LF or CR.
    std::string Text() const;
    void SetText(std::string_view text);
    std::string CommaText() const;
    void LoadFromFile(const std::string& fileName);    // EFOpenError when it cannot be opened
    void SaveToFile(const std::string& fileName) const;
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
    bool Sorted = false;       // keep sorted on Add (case-insensitive, as the platform)
    void Sort();
    TNotifyEvent OnChange;

protected:
    void Changed() override;

private:
    std::vector<std::string> items_;
};

// Decodes file bytes as the text-file rule says (UTF-8 when valid, else Windows-1252).
std::string DecodeTextBytes(std::string_view bytes);

}  // namespace rtl
