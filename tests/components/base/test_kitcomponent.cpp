// Custom component base (change notification with an update lock) and the ini control's setters.
#include <gtest/gtest.h>

#include "components/base/kitcomponent.h"
#include "components/base/kitsysin.h"

using namespace kit;

namespace {

TEST(kitCustomComponent, UpdateLockAndChange) {
    TKitCustomComponent c(nullptr);
    int fired = 0;
    c.OnChange = [&](rtl::TObject* sender) {
        EXPECT_EQ(sender, &c);
        ++fired;
    };
    c.BeginUpdate();
    c.BeginUpdate();  // not counted
    c.Change();
    c.GetChange(nullptr);
    c.EndUpdate(false);
    EXPECT_EQ(fired, 0);
    EXPECT_FALSE(c.UpdateLock);
    c.BeginUpdate();
    c.Change();
    c.EndUpdate(true);
    EXPECT_EQ(fired, 1);
    c.ChangeHandler()(nullptr);
    EXPECT_EQ(fired, 2);
}

TEST(kitIniCtrl, DefaultsAndSetterRules) {
    TKitIniCtrl ini(nullptr);
    EXPECT_TRUE(ini.Common());
    EXPECT_EQ(ini.Target(), itAuto);
    EXPECT_EQ(ini.EffectiveTarget(), itRegistry);
    EXPECT_EQ(ini.EncKey(), 38264);
    EXPECT_EQ(ini.MaxEntries(), 16);
    EXPECT_EQ(ini.IniPrefix(), ppWindows);
    EXPECT_EQ(ini.RegRoot(), rpCurrentUser);

    ini.SetMaxEntries(30);
    ini.SetAlphaCounter(true);
    EXPECT_EQ(ini.MaxEntries(), 26);
    ini.SetMaxEntries(27);
    EXPECT_EQ(ini.MaxEntries(), 26);  // refused while letters count
    ini.SetMaxEntries(20);
    EXPECT_EQ(ini.MaxEntries(), 20);

    ini.SetIniFile("einstellungen");
    EXPECT_EQ(ini.IniFile(), "einstellungen.INI");
    ini.SetIniFile("/etc/feldor/a.cfg");
    EXPECT_EQ(ini.IniFile(), "/etc/feldor/a.cfg");

    ini.SetTarget(itIniFile);
    EXPECT_EQ(ini.EffectiveTarget(), itIniFile);
    ini.SetTarget(itAuto);
    EXPECT_EQ(ini.EffectiveTarget(), itRegistry);

    ini.SetNetUser(true);
    EXPECT_EQ(ini.User(), KitUserName());
    ini.SetUser("other");
    ini.SetNetUser(true);  // unchanged: the user stays
    EXPECT_EQ(ini.User(), "other");
}

}  // namespace
