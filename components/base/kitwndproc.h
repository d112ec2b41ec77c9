// Window-procedure hook component: placed on a form, it puts its own WndProc in front of the
// form's message handling, so that descendants see the form's messages, act on the ones they
// want and pass the rest on. Optionally it also hooks the application's main window.
#pragma once

#include <cstdint>
#include <memory>

#include "components/base/kitcomponent.h"
#include "platform/gui/Controls.h"

namespace gui {
class TCustomForm;
}

namespace kit {

class TKitWndProcComponent : public TKitCustomComponent {
public:
    // Does not hook: Loaded, Hook or Enabled going from False to True do.
    explicit TKitWndProcComponent(rtl::TComponent* AOwner);
    ~TKitWndProcComponent() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    bool HookAtDesignTime = false;
    bool HookMainWnd = false;
    bool HookFormNotClient = false;
    // 1 for an MDI child form, 2 for an MDI parent form, 0 otherwise (this platform has no MDI
    // forms, so always 0).
    std::uint8_t FormKind() const { return formKind_; }
    bool Hooked() const { return hook_ != nullptr; }

    // Sees the main window's messages while HookMainWnd is set; True when the message was
    // handled and must go no further. The base handles nothing.
    virtual bool MainWndHook(gui::TMessage& Message);
    virtual void Hook();
    virtual void Unhook();
    // Descendants handle what they want and call this for the rest, which goes to the window's
    // previous procedure.
    virtual void WndProc(gui::TMessage& Message);
    virtual void DesignUnhook();
    virtual void EnabledChanged() {}

    // False, changing nothing, without a window, when hooked already, or while designing with
    // HookAtDesignTime off.
    bool DoHook();
    bool DoUnhook();
    // The window to hook: the owner form, or nullptr without one.
    gui::TControl* HookWindow() const;
    gui::TCustomForm* OwnerForm() const;

protected:
    void Loaded() override;

private:
    bool designing() const { return ComponentState().Contains(rtl::csDesigning); }
    void callPrevious(gui::TMessage& Message);

    bool enabled_ = true;
    bool mainHookInstalled_ = false;
    bool unhooked_ = false;  // cleared at construction and by DoUnhook, not read otherwise
    std::uint8_t formKind_ = 0;
    std::unique_ptr<gui::TWindowHook> hook_;      // our procedure in front of the window's
    std::unique_ptr<gui::TWindowHook> mainHook_;  // the main-window hook
    const gui::TWndMethod* previous_ = nullptr;   // the previous procedure, during a message
    bool closing_ = false;                        // WM_DESTROY seen
};

}  // namespace kit
