// Base of the library's non-visual components (one change notification with an update lock,
// as the property objects have) and the ini control that holds the settings of an ini-file
// or registry storage.
#pragma once

#include <cstdint>
#include <string>

#include "components/base/kitprocs.h"
#include "platform/rtl/Classes.h"

namespace kit {

using TKitAboutVar = std::string;

class TKitCustomComponent : public rtl::TComponent {
public:
    explicit TKitCustomComponent(rtl::TComponent* AOwner);

    TKitAboutVar About;
    rtl::TNotifyEvent OnChange;
    bool UpdateLock = false;

    // Event-handler form of Change for the OnChange of owned objects; Sender is ignored.
    virtual void GetChange(rtl::TObject* Sender);
    // Fires OnChange unless the update lock is set.
    virtual void Change();
    // Not counted: one EndUpdate ends any number of BeginUpdate calls.
    void BeginUpdate() { UpdateLock = true; }
    void EndUpdate(bool DoChange);
    // An OnChange handler bound to this component's GetChange.
    rtl::TNotifyEvent ChangeHandler() {
        return [this](rtl::TObject* sender) { GetChange(sender); };
    }

protected:
    virtual void ReservedHook() {}
};

enum TKitRegRootKey { rpClassesRoot, rpCurrentUser, rpLocalMachine, rpUsers, rpCurrentConfig, rpDynData };
enum TKitIniTarget { itIniFile, itRegistry, itAuto };

// Keeps the settings of a storage and applies the rules of its setters; it stores nothing.
class TKitIniCtrl : public TKitCustomComponent {
public:
    explicit TKitIniCtrl(rtl::TComponent* AOwner);

    bool Common() const { return common_; }
    void SetCommon(bool v) { common_ = v; }
    bool NetUser() const { return netUser_; }
    // Becoming True takes the user name of the session into User.
    void SetNetUser(bool v);
    const std::string& IniFile() const { return iniFile_; }
    // A name without extension gets ".INI".
    void SetIniFile(const std::string& v);
    const std::string& User() const { return user_; }
    void SetUser(const std::string& v) { user_ = v; }
    TKitPathPrefix IniPrefix() const { return iniPrefix_; }
    void SetIniPrefix(TKitPathPrefix v) { iniPrefix_ = v; }
    TKitRegRootKey RegRoot() const { return regRoot_; }
    void SetRegRoot(TKitRegRootKey v) { regRoot_ = v; }
    const std::string& RegPath() const { return regPath_; }
    void SetRegPath(const std::string& v) { regPath_ = v; }
    bool AlphaCounter() const { return alphaCounter_; }
    // While set, MaxEntries is at most 26 (one letter per entry).
    void SetAlphaCounter(bool v);
    std::uint8_t MaxEntries() const { return maxEntries_; }
    void SetMaxEntries(std::uint8_t v);
    TKitIniTarget EffectiveTarget() const { return effectiveTarget_; }
    TKitIniTarget Target() const { return target_; }
    // itAuto resolves to itRegistry.
    void SetTarget(TKitIniTarget v);
    std::uint16_t EncKey() const { return encKey_; }
    void SetEncKey(std::uint16_t v) { encKey_ = v; }
    bool Encoded() const { return encoded_; }
    void SetEncoded(bool v) { encoded_ = v; }

    virtual std::string GetNetUserName();

private:
    bool common_ = true;
    bool netUser_ = false;
    std::string iniFile_;
    std::string user_;
    TKitPathPrefix iniPrefix_ = ppWindows;
    TKitRegRootKey regRoot_ = rpCurrentUser;
    std::string regPath_;
    bool alphaCounter_ = false;
    std::uint8_t maxEntries_ = 16;
    TKitIniTarget effectiveTarget_ = itRegistry;
    TKitIniTarget target_ = itAuto;
    std::uint16_t encKey_ = 38264;
    bool encoded_ = false;
};

}  // namespace kit
