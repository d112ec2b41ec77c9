// Framework for system-information components: a system object holds the values of one system
// entity, reads them (Retrieve), lists them as text and records changes of its writable values;
// a base component wraps one object and forwards committed changes to a system log component.
// The drive-information component is the one concrete pair.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"

namespace kit {

// The platform's last-system-error exception.
class EOSError : public rtl::Exception {
public:
    EOSError(int code, const std::string& message);
    const char* ClassName() const noexcept override { return "EOSError"; }
    int ErrorCode = 0;
};

using TKitSysAboutVar = std::string;
using TKitSysLogChangeEvent =
    std::function<void(rtl::TObject* Sender, const std::string& propertyDescription, const std::string& oldValue,
                       const std::string& newValue, rtl::TDateTime datetime)>;

class TKitSysComponent : public rtl::TComponent {
public:
    using rtl::TComponent::TComponent;
    TKitSysAboutVar About;
};

class TKitSysLog : public TKitSysComponent {
public:
    using TKitSysComponent::TKitSysComponent;
    TKitSysLogChangeEvent OnLog;
    void Log(const std::string& Description, const std::string& OldValue, const std::string& NewValue,
             rtl::TDateTime DateTime);
};

struct TPropChange {
    std::string Name, OldValue, NewValue;
};

// One published property of a system object, as the listing sees it.
struct TKitSysProperty {
    enum class Kind { Value, Strings, Object, Unknown };
    std::string Name;
    std::string TypeName;
    Kind PropKind = Kind::Value;
    std::string Text;                              // Value: the value as text
    const rtl::TStrings* Strings = nullptr;        // Strings: listed as comma text
    const rtl::TPersistent* Object = nullptr;      // Object: listed recursively
};

// An object whose published properties the listing can show: system objects, and collections
// or collection items that want to be listed.
class TKitSysPropertySource {
public:
    virtual ~TKitSysPropertySource() = default;
    // The published properties, in declaration order.
    virtual void PublishedProperties(std::vector<TKitSysProperty>& Props) const = 0;
};

class TKitSysObject : public rtl::TPersistent, public TKitSysPropertySource {
public:
    explicit TKitSysObject(rtl::TComponent* Owner);
    ~TKitSysObject() override;

    rtl::TComponent* OwnerComponent() const { return owner_; }
    TKitSysLogChangeEvent OnPropChange;
    // The class name followed by ".lsi".
    std::string Name() const { return ClassName() + ".lsi"; }

    // One line per published property in declaration order: Prefix name " = " value, or with
    // types Prefix name ": " type " = " value.
    virtual void GetProperties(rtl::TStrings& Strings) const;
    virtual void GetPropertiesTyped(rtl::TStrings& Strings) const;
    virtual void Retrieve() = 0;
    virtual void Apply() = 0;
    // What a descendant may tell about its entity: whether the system has it, a description
    // and a category. The base answers True, "" and ""; no object of this library overrides
    // them.
    virtual bool Available() const { return true; }
    virtual std::string Description() const { return {}; }
    virtual std::string Category() const { return {}; }

    // Records a pending change; a change back to the pending change's old value drops it.
    void AddChange(const std::string& Name, const std::string& OldValue, const std::string& NewValue);
    // Reports the pending change of Name through OnPropChange and drops it.
    void CommitChange(const std::string& Name);
    const std::vector<std::unique_ptr<TPropChange>>& PendingChanges() const { return changes_; }

    void PublishedProperties(std::vector<TKitSysProperty>& Props) const override;

private:
    rtl::TComponent* owner_;
    std::vector<std::unique_ptr<TPropChange>> changes_;
};

// Lists Object's published properties (when it is a property source), then, for a collection,
// each item with the prefix extended by "Item[i].".
void KitListProperties(const rtl::TPersistent* Object, const std::string& Prefix, bool Typed, rtl::TStrings& Strings);

class TKitSysBaseComponent : public TKitSysComponent {
public:
    explicit TKitSysBaseComponent(rtl::TComponent* AOwner);
    ~TKitSysBaseComponent() override;

    TKitSysLog* SysLog() const { return sysLog_; }
    void SetSysLog(TKitSysLog* Value);
    bool Retrieved() const { return GetRetrieved(); }
    bool AutoRetrieve = false;
    rtl::TNotifyEvent OnRefresh;
    rtl::TNotifyEvent OnAfterRefresh;

    // OnRefresh, RetrieveObject, Retrieved := True, OnAfterRefresh.
    void Refresh();
    TKitSysObject* SysObject() const { return object_.get(); }

protected:
    // Takes ownership of the component's system object and routes its changes to the log.
    void SetSysObject(std::unique_ptr<TKitSysObject> Object);
    virtual void RetrieveObject();
    virtual bool GetRetrieved() const { return retrieved_; }
    void Loaded() override;
    void Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) override;

private:
    TKitSysLog* sysLog_ = nullptr;
    bool retrieved_ = false;
    std::unique_ptr<TKitSysObject> object_;
};

enum TKitSysDriveType { dtUnknown, dtNoRootDir, dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM };
enum TKitSysFileSystemOption {
    fsCaseIsPreserved,
    fsCaseSensitive,
    fsSupportsUnicode,
    fsPersistentACLs,
    fsSupportsCompression,
    fsIsCompressed,
    fsSupportsQuotas,
};
using TKitSysFileSystemOptions = rtl::TSet<TKitSysFileSystemOption, std::uint8_t>;

// One drive. Drive "C" is the root file system; the other letters have no root here.
class TKitSysDriveObject : public TKitSysObject {
public:
    explicit TKitSysDriveObject(rtl::TComponent* Owner);

    TKitSysDriveType DriveType() const { return driveType_; }
    char Drive() const { return drive_; }
    // Upper-cased; a non-letter falls back to the current directory's letter, else "C"; then
    // Retrieve.
    void SetDrive(char Value);
    const std::string& FileSystem() const { return fileSystem_; }
    const std::string& SerialNumber() const { return serialNumber_; }
    const std::string& VolumeLabel() const { return volumeLabel_; }
    // Records the change and writes the label; EOSError when the system refuses (the change
    // stays pending).
    void SetVolumeLabel(const std::string& Value);
    std::int64_t DiskSize() const { return diskSize_; }
    std::int64_t DiskFree() const { return diskFree_; }
    std::uint32_t SectorsPerCluster() const { return sectorsPerCluster_; }
    std::uint32_t BytesPerSector() const { return bytesPerSector_; }
    std::uint32_t MaximumLength() const { return maximumLength_; }
    TKitSysFileSystemOptions Options() const { return options_; }

    void Retrieve() override;
    void Apply() override {}
    void PublishedProperties(std::vector<TKitSysProperty>& Props) const override;

private:
    TKitSysDriveType driveType_ = dtUnknown;
    char drive_ = 'C';
    std::string fileSystem_, serialNumber_, volumeLabel_;
    std::int64_t diskSize_ = 0, diskFree_ = 0;
    std::uint32_t sectorsPerCluster_ = 0, bytesPerSector_ = 0, maximumLength_ = 0;
    TKitSysFileSystemOptions options_;
};

class TKitSysDrive : public TKitSysBaseComponent {
public:
    explicit TKitSysDrive(rtl::TComponent* AOwner);
    TKitSysDriveObject* Drive() const { return static_cast<TKitSysDriveObject*>(SysObject()); }
    void SetDrive(TKitSysDriveObject* /*Value*/) {}
};

// Text of the enumerations, as the listing writes them.
const char* KitSysDriveTypeName(TKitSysDriveType t);
const char* KitSysFileSystemOptionName(TKitSysFileSystemOption o);

}  // namespace kit
