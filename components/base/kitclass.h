// Root of the library's property objects and their change protocol.
//
// A setter of a descendant stores a new value only when it differs and then calls Change;
// Change fires OnChange (with the object as Sender) unless the update lock is set. The owner
// wires OnChange to its own handler: a property object owning another assigns its GetChange,
// so that changes travel up chains of any depth to a control that repaints.
#pragma once

#include <string>

#include "platform/rtl/Classes.h"

namespace kit {

class TKitObject : public rtl::TPersistent {
public:
    // The virtual construction step: descendants set their defaults in their constructors, and
    // TKitObjectClass::Of<T>().Create() runs the whole chain of the referenced class.
    TKitObject() = default;
    ~TKitObject() override = default;
    TKitObject(const TKitObject&) = delete;
    TKitObject& operator=(const TKitObject&) = delete;

    rtl::TNotifyEvent OnChange;
    bool UpdateLock = false;

    // Event-handler form of Change, for sub-objects' OnChange; Sender is ignored.
    virtual void GetChange(rtl::TObject* Sender);
    // Fires OnChange unless locked. Descendants recompute derived data, then call this last.
    virtual void Change();
    // Short description for design tools; empty here.
    virtual void GetSummary(std::string& Text);

    // Not counted: a second BeginUpdate changes nothing and the first EndUpdate unlocks.
    void BeginUpdate() { UpdateLock = true; }
    // Unlocks; with Notify, calls Change once.
    void EndUpdate(bool Notify);

    // An OnChange handler bound to this object's GetChange.
    rtl::TNotifyEvent ChangeHandler() {
        return [this](rtl::TObject* sender) { GetChange(sender); };
    }
};

using TKitObjectClass = rtl::TClassRef<TKitObject>;

}  // namespace kit
