#include "components/base/kitwndproc.h"

#include "platform/gui/Forms.h"

namespace kit {

TKitWndProcComponent::TKitWndProcComponent(rtl::TComponent* AOwner) : TKitCustomComponent(AOwner) {
    formKind_ = 0;  // no MDI child or parent forms on this platform
}

TKitWndProcComponent::~TKitWndProcComponent() { DoUnhook(); }

gui::TCustomForm* TKitWndProcComponent::OwnerForm() const { return dynamic_cast<gui::TCustomForm*>(Owner()); }

gui::TControl* TKitWndProcComponent::HookWindow() const { return OwnerForm(); }

void TKitWndProcComponent::Loaded() {
    TKitCustomComponent::Loaded();
    if (!designing() || HookAtDesignTime) Hook();
}

void TKitWndProcComponent::SetEnabled(bool Value) {
    if (Value == enabled_) return;
    enabled_ = Value;
    if (!designing()) {
        if (Value)
            Hook();
        else
            Unhook();
    }
    EnabledChanged();
}

void TKitWndProcComponent::Hook() {
    if (enabled_ && !Hooked()) DoHook();
}

void TKitWndProcComponent::Unhook() { DoUnhook(); }

void TKitWndProcComponent::DesignUnhook() {
    if (designing() && !HookAtDesignTime) DoUnhook();
}

bool TKitWndProcComponent::DoHook() {
    gui::TControl* window = HookWindow();
    if (!window || Hooked() || (designing() && !HookAtDesignTime)) return false;
    try {
        closing_ = false;
        if (HookMainWnd && gui::Application && gui::Application->MainForm()) {
            mainHook_ = std::make_unique<gui::TWindowHook>(
                gui::Application->MainForm(), [this](gui::TMessage& m, const gui::TWndMethod& next) {
                    if (!MainWndHook(m)) next(m);
                });
            mainHookInstalled_ = true;
        }
        hook_ = std::make_unique<gui::TWindowHook>(window, [this](gui::TMessage& m, const gui::TWndMethod& next) {
            const gui::TWndMethod* outer = previous_;
            previous_ = &next;
            try {
                WndProc(m);
            } catch (...) {
                previous_ = outer;
                throw;
            }
            previous_ = outer;
        });
        return true;
    } catch (...) {
        DoUnhook();
        return false;
    }
}

bool TKitWndProcComponent::DoUnhook() {
    hook_.reset();  // the window's previous procedure is in front again
    mainHook_.reset();
    mainHookInstalled_ = false;
    unhooked_ = true;
    closing_ = false;
    return true;
}

bool TKitWndProcComponent::MainWndHook(gui::TMessage& /*Message*/) { return false; }

void TKitWndProcComponent::callPrevious(gui::TMessage& Message) {
    if (previous_) (*previous_)(Message);
}

void TKitWndProcComponent::WndProc(gui::TMessage& Message) {
    // Everything goes on to the previous procedure, also after WM_DESTROY: the window still
    // needs its own handling at the end of its life.
    if (Message.Msg == gui::WM_DESTROY && !closing_) {
        closing_ = true;
        if (formKind_ == 1) {
            gui::TMessage copy = Message;
            const gui::TWndMethod* prev = previous_;
            DoUnhook();
            if (prev) (*prev)(copy);
            Message.Result = copy.Result;
            return;
        }
    }
    callPrevious(Message);
}

}  // namespace kit
