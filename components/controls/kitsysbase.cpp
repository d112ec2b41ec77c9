#include "components/controls/kitsysbase.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/sys/SystemInfo.h"

namespace kit {

namespace {

constexpr const char* kLabelChange = "Disk:Label";

bool hasOption(const std::string& options, const std::string& name) {
    std::size_t start = 0;
    while (start <= options.size()) {
        const std::size_t end = options.find(',', start);
        const std::string opt = options.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (opt == name || opt.rfind(name + "=", 0) == 0) return true;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

// What a file system of the given type can do, as the platform's file-system flags say it.
TKitSysFileSystemOptions optionsOf(const std::string& fs, const std::string& mountOptions) {
    TKitSysFileSystemOptions o;
    static const char* const posixNative[] = {"ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "jfs", "reiserfs",
                                              "zfs",  "tmpfs", "overlay", "nilfs2", "bcachefs"};
    static const char* const quotaCapable[] = {"ext3", "ext4", "xfs", "btrfs", "f2fs", "jfs", "reiserfs", "tmpfs"};
    bool native = false;
    for (const char* n : posixNative) native = native || fs == n;
    if (native) {
        o.Include(fsCaseIsPreserved).Include(fsCaseSensitive).Include(fsSupportsUnicode);
        if (!hasOption(mountOptions, "noacl")) o.Include(fsPersistentACLs);
        for (const char* q : quotaCapable)
            if (fs == q) o.Include(fsSupportsQuotas);
    } else if (fs == "vfat" || fs == "exfat") {
        o.Include(fsCaseIsPreserved).Include(fsSupportsUnicode);
    } else if (fs == "ntfs" || fs == "ntfs3" || fs == "fuseblk") {
        o.Include(fsCaseIsPreserved).Include(fsSupportsUnicode).Include(fsPersistentACLs).Include(fsSupportsCompression);
    }
    if (fs == "btrfs" || fs == "f2fs" || fs == "zfs") o.Include(fsSupportsCompression);
    if (hasOption(mountOptions, "compress") || hasOption(mountOptions, "compress-force")) o.Include(fsIsCompressed);
    return o;
}

bool rootIsCompressed(const std::string& root) {
    struct statx sx;
    if (::statx(AT_FDCWD, root.c_str(), 0, STATX_BASIC_STATS, &sx) != 0) return false;
    return (sx.stx_attributes_mask & STATX_ATTR_COMPRESSED) && (sx.stx_attributes & STATX_ATTR_COMPRESSED);
}

// Integers, characters, strings, enumerations, floats and sets come as their text; string
// lists as comma text; anything else the listing cannot show.
std::string listValue(const TKitSysProperty& p) {
    switch (p.PropKind) {
    case TKitSysProperty::Kind::Value: return p.Text;
    case TKitSysProperty::Kind::Strings: return p.Strings ? p.Strings->CommaText() : "";
    default: return "UNKNOWN";
    }
}

}  // namespace

EOSError::EOSError(int code, const std::string& message)
    : rtl::Exception(rtl::Format("Systemfehler. Code: %d.\n%s", code, message)), ErrorCode(code) {}

const char* KitSysDriveTypeName(TKitSysDriveType t) {
    static const char* const names[] = {"dtUnknown", "dtNoRootDir", "dtFloppy", "dtFixed",
                                        "dtNetwork", "dtCDROM",     "dtRAM"};
    return t >= dtUnknown && t <= dtRAM ? names[t] : "";
}

const char* KitSysFileSystemOptionName(TKitSysFileSystemOption o) {
    static const char* const names[] = {"fsCaseIsPreserved", "fsCaseSensitive",       "fsSupportsUnicode",
                                        "fsPersistentACLs",  "fsSupportsCompression", "fsIsCompressed",
                                        "fsSupportsQuotas"};
    return o >= fsCaseIsPreserved && o <= fsSupportsQuotas ? names[o] : "";
}

// ---- TKitSysLog ----------------------------------------------------------------------------

void TKitSysLog::Log(const std::string& Description, const std::string& OldValue, const std::string& NewValue,
                     rtl::TDateTime DateTime) {
    if (OnLog) OnLog(this, Description, OldValue, NewValue, DateTime);
}

// ---- TKitSysObject -------------------------------------------------------------------------

TKitSysObject::TKitSysObject(rtl::TComponent* Owner) : owner_(Owner) {}
TKitSysObject::~TKitSysObject() = default;

void TKitSysObject::AddChange(const std::string& Name, const std::string& OldValue, const std::string& NewValue) {
    for (auto it = changes_.begin(); it != changes_.end(); ++it) {
        if ((*it)->Name != Name) continue;
        if (NewValue == (*it)->OldValue)
            changes_.erase(it);  // the value went back
        else
            (*it)->NewValue = NewValue;
        return;
    }
    changes_.push_back(std::make_unique<TPropChange>(TPropChange{Name, OldValue, NewValue}));
}

void TKitSysObject::CommitChange(const std::string& Name) {
    for (auto it = changes_.begin(); it != changes_.end(); ++it) {
        if ((*it)->Name != Name) continue;
        const TPropChange c = **it;
        changes_.erase(it);
        if (OnPropChange) OnPropChange(this, c.Name, c.OldValue, c.NewValue, rtl::Now());
        return;
    }
}

void TKitSysObject::PublishedProperties(std::vector<TKitSysProperty>& /*Props*/) const {}

void TKitSysObject::GetProperties(rtl::TStrings& Strings) const { KitListProperties(this, "", false, Strings); }
void TKitSysObject::GetPropertiesTyped(rtl::TStrings& Strings) const { KitListProperties(this, "", true, Strings); }

void KitListProperties(const rtl::TPersistent* Object, const std::string& Prefix, bool Typed, rtl::TStrings& Strings) {
    if (!Object) return;
    if (const auto* so = dynamic_cast<const TKitSysPropertySource*>(Object)) {
        std::vector<TKitSysProperty> props;
        so->PublishedProperties(props);
        for (const auto& p : props) {
            if (p.PropKind == TKitSysProperty::Kind::Object) {
                KitListProperties(p.Object, Prefix + p.Name + ".", Typed, Strings);
                continue;
            }
            const std::string value = listValue(p);
            Strings.Add(Typed ? Prefix + p.Name + ": " + p.TypeName + " = " + value : Prefix + p.Name + " = " + value);
        }
    }
    if (const auto* coll = dynamic_cast<const rtl::TCollection*>(Object)) {
        for (int i = 0; i < coll->Count(); ++i)
            KitListProperties(coll->Items(i), Prefix + "Item[" + std::to_string(i) + "].", Typed, Strings);
    }
}

// ---- TKitSysBaseComponent ------------------------------------------------------------------

TKitSysBaseComponent::TKitSysBaseComponent(rtl::TComponent* AOwner) : TKitSysComponent(AOwner) {}

TKitSysBaseComponent::~TKitSysBaseComponent() {
    if (object_) object_->OnPropChange = nullptr;
    object_.reset();
}

void TKitSysBaseComponent::SetSysObject(std::unique_ptr<TKitSysObject> Object) {
    object_ = std::move(Object);
    if (!object_) return;
    object_->OnPropChange = [this](rtl::TObject* /*Sender*/, const std::string& desc, const std::string& oldValue,
                                   const std::string& newValue, rtl::TDateTime when) {
        if (sysLog_) sysLog_->Log(desc, oldValue, newValue, when);
    };
}

void TKitSysBaseComponent::SetSysLog(TKitSysLog* Value) {
    if (Value == sysLog_) return;
    if (sysLog_) RemoveFreeNotification(sysLog_);
    sysLog_ = Value;
    if (sysLog_) FreeNotification(sysLog_);
}

void TKitSysBaseComponent::Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) {
    TKitSysComponent::Notification(AComponent, Operation);
    if (Operation == rtl::TOperation::opRemove && AComponent == sysLog_) sysLog_ = nullptr;
}

void TKitSysBaseComponent::RetrieveObject() {
    if (object_) object_->Retrieve();
}

void TKitSysBaseComponent::Refresh() {
    if (OnRefresh) OnRefresh(this);
    RetrieveObject();
    retrieved_ = true;
    if (OnAfterRefresh) OnAfterRefresh(this);
}

void TKitSysBaseComponent::Loaded() {
    TKitSysComponent::Loaded();
    if (AutoRetrieve) Refresh();
}

// ---- TKitSysDriveObject --------------------------------------------------------------------

TKitSysDriveObject::TKitSysDriveObject(rtl::TComponent* Owner) : TKitSysObject(Owner) {}

void TKitSysDriveObject::SetDrive(char Value) {
    if (Value == drive_) return;
    char c = Value >= 'a' && Value <= 'z' ? static_cast<char>(Value - 32) : Value;
    if (c < 'A' || c > 'Z') {
        // The current directory's drive letter; a path of this system starts with '/'.
        const std::string cwd = sys::CurrentDirectory();
        const char first = cwd.empty() ? '\0' : cwd[0];
        c = first >= 'a' && first <= 'z' ? static_cast<char>(first - 32) : first;
        if (c < 'A' || c > 'Z') c = 'C';
    }
    drive_ = c;
    Retrieve();
}

void TKitSysDriveObject::SetVolumeLabel(const std::string& Value) {
    if (Value == volumeLabel_) return;
    AddChange(kLabelChange, volumeLabel_, Value);
    // Relabelling a mounted file system is an administrator's task on this system; the
    // request is refused as the platform refuses a label it cannot write.
    const int err = ENOTSUP;
    throw EOSError(err, std::strerror(err));
}

void TKitSysDriveObject::Retrieve() {
    const std::string root = sys::DriveRoot(drive_);
    sys::VolumeInfo v;
    if (!root.empty()) v = sys::GetVolumeInfo(root);
    driveType_ = static_cast<TKitSysDriveType>(root.empty() ? sys::DriveNoRootDir : v.DriveType);
    diskSize_ = v.DiskSize;
    diskFree_ = v.DiskFree;
    // Every field comes from this query: nothing is left from a drive read before.
    fileSystem_.clear();
    serialNumber_.clear();
    volumeLabel_.clear();
    sectorsPerCluster_ = bytesPerSector_ = maximumLength_ = 0;
    options_ = {};
    if (diskSize_ == -1 && driveType_ != dtNetwork) return;  // no medium
    sectorsPerCluster_ = v.SectorsPerCluster;
    bytesPerSector_ = v.BytesPerSector;
    maximumLength_ = v.MaximumLength;
    fileSystem_ = v.FileSystem;
    volumeLabel_ = v.VolumeLabel;
    serialNumber_ = rtl::IntToHex(v.SerialNumber >> 16, 4) + "-" + rtl::IntToHex(v.SerialNumber & 0xFFFF, 4);
    options_ = optionsOf(v.FileSystem, v.MountOptions);
    if (rootIsCompressed(root)) options_.Include(fsIsCompressed);
}

void TKitSysDriveObject::PublishedProperties(std::vector<TKitSysProperty>& Props) const {
    auto value = [&](const char* name, const char* type, std::string text) {
        TKitSysProperty p;
        p.Name = name;
        p.TypeName = type;
        p.Text = std::move(text);
        Props.push_back(std::move(p));
    };
    std::string opts = "[";
    for (int o = fsCaseIsPreserved; o <= fsSupportsQuotas; ++o) {
        const auto e = static_cast<TKitSysFileSystemOption>(o);
        if (!options_.Contains(e)) continue;
        if (opts.size() > 1) opts += ",";
        opts += KitSysFileSystemOptionName(e);
    }
    opts += "]";
    value("DriveType", "TKitSysDriveType", KitSysDriveTypeName(driveType_));
    value("Drive", "Char", std::string(1, drive_));
    value("FileSystem", "string", fileSystem_);
    value("SerialNumber", "string", serialNumber_);
    value("VolumeLabel", "string", volumeLabel_);
    value("DiskSize", "Int64", std::to_string(diskSize_));
    value("DiskFree", "Int64", std::to_string(diskFree_));
    value("SectorsPerCluster", "Cardinal", std::to_string(sectorsPerCluster_));
    value("BytesPerSector", "Cardinal", std::to_string(bytesPerSector_));
    value("MaximumLength", "Cardinal", std::to_string(maximumLength_));
    value("Options", "TKitSysFileSystemOptions", opts);
}

// ---- TKitSysDrive --------------------------------------------------------------------------

TKitSysDrive::TKitSysDrive(rtl::TComponent* AOwner) : TKitSysBaseComponent(AOwner) {
    SetSysObject(std::make_unique<TKitSysDriveObject>(this));
}

}  // namespace kit
