// System log, system objects and the drive component.
#include <gtest/gtest.h>

#include <sys/statvfs.h>

#include <memory>
#include <regex>

#include "components/controls/kitsysbase.h"

using namespace kit;

namespace {

std::vector<std::string> lines(const rtl::TStrings& s) {
    std::vector<std::string> v;
    for (int i = 0; i < s.Count(); ++i) v.push_back(s.Get(i));
    return v;
}

TEST(kitSysDrive, DriveCListsItsPropertiesInDeclarationOrder) {
    TKitSysDrive comp(nullptr);
    comp.Refresh();
    EXPECT_TRUE(comp.Retrieved());
    TKitSysDriveObject* d = comp.Drive();
    EXPECT_EQ(d->Name(), "TKitSysDriveObject.lsi");
    struct statvfs s;
    ASSERT_EQ(::statvfs("/", &s), 0);
    EXPECT_EQ(d->DiskSize(), static_cast<std::int64_t>(s.f_blocks * s.f_frsize));
    EXPECT_EQ(d->MaximumLength(), s.f_namemax);
    EXPECT_FALSE(d->FileSystem().empty());

    rtl::TStringList plain, typed;
    d->GetProperties(plain);
    d->GetPropertiesTyped(typed);
    const auto p = lines(plain);
    ASSERT_EQ(p.size(), 11u);
    const char* order[] = {"DriveType", "Drive", "FileSystem", "SerialNumber", "VolumeLabel", "DiskSize",
                           "DiskFree",  "SectorsPerCluster", "BytesPerSector", "MaximumLength", "Options"};
    for (std::size_t i = 0; i < p.size(); ++i) EXPECT_EQ(p[i].rfind(std::string(order[i]) + " = ", 0), 0u) << p[i];
    EXPECT_EQ(p[0], std::string("DriveType = ") + KitSysDriveTypeName(d->DriveType()));
    EXPECT_EQ(p[1], "Drive = C");
    EXPECT_EQ(p[5], "DiskSize = " + std::to_string(d->DiskSize()));
    EXPECT_TRUE(std::regex_match(p[3], std::regex("SerialNumber = [0-9A-F]{4}-[0-9A-F]{4}"))) << p[3];
    EXPECT_EQ(p[10].substr(p[10].size() - 1), "]");
    EXPECT_EQ(p[10].substr(0, 11), "Options = [");
    const auto t = lines(typed);
    EXPECT_EQ(t[0], std::string("DriveType: TKitSysDriveType = ") + KitSysDriveTypeName(d->DriveType()));
    EXPECT_EQ(t[10].substr(0, 37), "Options: TKitSysFileSystemOptions = [");
    if (d->FileSystem() == "ext4") {
        EXPECT_EQ(p[0], "DriveType = dtFixed");
        EXPECT_TRUE(d->Options().Contains(fsCaseSensitive));
        EXPECT_NE(p[10].find("fsCaseIsPreserved,fsCaseSensitive"), std::string::npos);
    }
}

TEST(kitSysDrive, LettersWithoutARootAndTheFallback) {
    TKitSysDriveObject d(nullptr);
    d.Retrieve();
    ASSERT_GT(d.DiskSize(), 0);
    d.SetDrive('d');
    EXPECT_EQ(d.Drive(), 'D');
    EXPECT_EQ(d.DriveType(), dtNoRootDir);
    EXPECT_EQ(d.DiskSize(), -1);
    // Nothing is left over from drive C.
    EXPECT_EQ(d.FileSystem(), "");
    EXPECT_EQ(d.SerialNumber(), "");
    EXPECT_EQ(d.BytesPerSector(), 0u);
    EXPECT_TRUE(d.Options().Empty());
    d.SetDrive('1');  // the current directory has no letter here: C
    EXPECT_EQ(d.Drive(), 'C');
    EXPECT_GT(d.DiskSize(), 0);
}

TEST(kitSysObject, PendingChanges) {
    TKitSysDriveObject d(nullptr);
    d.AddChange("Disk:Label", "A", "B");
    d.AddChange("Disk:Label", "B", "A");  // back to the old value
    EXPECT_TRUE(d.PendingChanges().empty());
    d.AddChange("Disk:Label", "A", "B");
    d.AddChange("Disk:Label", "B", "C");
    ASSERT_EQ(d.PendingChanges().size(), 1u);
    EXPECT_EQ(d.PendingChanges()[0]->OldValue, "A");
    EXPECT_EQ(d.PendingChanges()[0]->NewValue, "C");
    d.CommitChange("Other");  // nothing pending under that name
    EXPECT_EQ(d.PendingChanges().size(), 1u);
}

TEST(kitSysLog, CommittedChangesReachTheLogUntilItIsFreed) {
    rtl::TComponent owner(nullptr);
    auto* comp = new TKitSysDrive(&owner);
    auto* log = new TKitSysLog(&owner);
    comp->SetSysLog(log);
    std::vector<std::string> seen;
    log->OnLog = [&](rtl::TObject* sender, const std::string& what, const std::string& o, const std::string& n,
                     rtl::TDateTime when) {
        EXPECT_EQ(sender, log);
        EXPECT_GT(when, 40000.0);
        seen.push_back(what + ":" + o + ">" + n);
    };
    comp->Drive()->AddChange("Disk:Label", "alt", "neu");
    comp->Drive()->CommitChange("Disk:Label");
    EXPECT_EQ(seen, std::vector<std::string>{"Disk:Label:alt>neu"});
    EXPECT_TRUE(comp->Drive()->PendingChanges().empty());

    delete log;
    EXPECT_EQ(comp->SysLog(), nullptr);
    comp->Drive()->AddChange("Disk:Label", "neu", "x");
    comp->Drive()->CommitChange("Disk:Label");  // no log any more: nothing to report to
    EXPECT_EQ(seen.size(), 1u);
}

TEST(kitSysDrive, RefusedLabelRaisesAndStaysPending) {
    TKitSysDriveObject d(nullptr);
    d.Retrieve();
    const std::string label = d.VolumeLabel();
    EXPECT_THROW(d.SetVolumeLabel(label + "X"), EOSError);
    ASSERT_EQ(d.PendingChanges().size(), 1u);
    EXPECT_EQ(d.PendingChanges()[0]->Name, "Disk:Label");
    EXPECT_EQ(d.VolumeLabel(), label);
    d.SetVolumeLabel(label);  // unchanged: nothing happens
}

TEST(kitSysDrive, RefreshEventsAndAutoRetrieveAfterLoading) {
    std::vector<std::string> order;
    {
        TKitSysDrive comp(nullptr);
        comp.OnRefresh = [&](rtl::TObject*) { order.push_back("refresh:" + std::to_string(comp.Retrieved())); };
        comp.OnAfterRefresh = [&](rtl::TObject*) { order.push_back("after:" + std::to_string(comp.Retrieved())); };
        comp.Refresh();
    }
    EXPECT_EQ(order, (std::vector<std::string>{"refresh:0", "after:1"}));

    std::unique_ptr<TKitSysDrive> automatic, manual;
    {
        rtl::TLoadingScope scope;
        automatic = std::make_unique<TKitSysDrive>(nullptr);
        automatic->AutoRetrieve = true;
        manual = std::make_unique<TKitSysDrive>(nullptr);
    }
    EXPECT_TRUE(automatic->Retrieved());
    EXPECT_GT(automatic->Drive()->DiskSize(), 0);
    EXPECT_FALSE(manual->Retrieved());
}

}  // namespace

namespace {

// A listable object with every kind of property the listing knows.
class Part : public rtl::TCollectionItem, public TKitSysPropertySource {
public:
    using rtl::TCollectionItem::TCollectionItem;
    void PublishedProperties(std::vector<TKitSysProperty>& props) const override {
        props.push_back({"Index", "Integer", TKitSysProperty::Kind::Value, std::to_string(Index()), nullptr, nullptr});
    }
};

class Parts : public rtl::TCollection {
public:
    Parts() : rtl::TCollection(rtl::TCollectionItemClass::Of<Part>()) {}
};

class Probe : public TKitSysObject {
public:
    Probe() : TKitSysObject(nullptr) {
        names.Add("a");
        names.Add("b c");
        parts.Add();
        parts.Add();
    }
    void Retrieve() override {}
    void Apply() override {}
    void PublishedProperties(std::vector<TKitSysProperty>& props) const override {
        props.push_back({"Count", "Integer", TKitSysProperty::Kind::Value, "3", nullptr, nullptr});
        props.push_back({"Names", "TStrings", TKitSysProperty::Kind::Strings, "", &names, nullptr});
        props.push_back({"Parts", "TCollection", TKitSysProperty::Kind::Object, "", nullptr, &parts});
        props.push_back({"OnLog", "TNotifyEvent", TKitSysProperty::Kind::Unknown, "", nullptr, nullptr});
    }
    rtl::TStringList names;
    Parts parts;
};

TEST(kitSysObject, ListingOfStringsNestedObjectsAndCollections) {
    Probe p;
    rtl::TStringList out;
    p.GetProperties(out);
    EXPECT_EQ(lines(out), (std::vector<std::string>{"Count = 3", "Names = a,\"b c\"", "Parts.Item[0].Index = 0",
                                                    "Parts.Item[1].Index = 1", "OnLog = UNKNOWN"}));
    out.Clear();
    p.GetPropertiesTyped(out);
    EXPECT_EQ(out.Get(0), "Count: Integer = 3");
    EXPECT_EQ(out.Get(2), "Parts.Item[0].Index: Integer = 0");
    EXPECT_EQ(p.Name(), "Probe.lsi");
}

// The base answers of a system object, reached through the base class; a descendant's own
// answers take their place.
TEST(kitSysObject, BaseAnswersAndOverrides) {
    class Answering : public TKitSysDriveObject {
    public:
        using TKitSysDriveObject::TKitSysDriveObject;
        bool Available() const override { return false; }
        std::string Category() const override { return "Laufwerk"; }
    };
    TKitSysDriveObject plain(nullptr);
    Answering own(nullptr);
    const TKitSysObject& base = plain;
    EXPECT_TRUE(base.Available());
    EXPECT_EQ(base.Description(), "");
    EXPECT_EQ(base.Category(), "");
    const TKitSysObject& derived = own;
    EXPECT_FALSE(derived.Available());
    EXPECT_EQ(derived.Description(), "");
    EXPECT_EQ(derived.Category(), "Laufwerk");
}

}  // namespace
