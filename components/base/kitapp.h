// The library-wide application object KitApplication and its timer pool.
//
// The pool runs any number of periodic handlers on one window timer of one hidden window: the
// window timer ticks every MinInterval ms, and an item of Interval ms fires on every
// (Interval / MinInterval)-th tick. Everything runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "components/base/kitcomponent.h"
#include "platform/gdi/Graphics.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Timers.h"
#include "platform/rtl/Classes.h"

namespace sys {
class TInstanceLock;
}

namespace kit {

class TKitTimerPool;

using TKitTimerInterval = std::uint16_t;  // 1..65535 ms
using TKitTimerPoolEvent = std::function<void(rtl::TObject* Sender, std::uint16_t Ident, int Counter)>;

// One periodic handler of a pool.
class TKitTimerItem : public rtl::TObject {
public:
    // Both Pool and List must be given (EInvalidOperation otherwise). The item does not add
    // itself to List; its destructor takes it out.
    TKitTimerItem(TKitTimerPool* Pool, rtl::TList* List, std::uint16_t ID);
    ~TKitTimerItem() override;

    // Firings after which the item disables itself; -1 means forever.
    int RepeatCount = -1;
    // Firings since the last change of Enabled.
    int Counter = 0;

    bool Enabled() const { return enabled_; }
    // Enabling is refused while RepeatCount is 0; a change resets Counter. The window timer is
    // neither started nor stopped.
    void SetEnabled(bool Value);
    std::uint16_t ID() const { return id_; }
    std::uint16_t Interval() const { return interval_; }
    // Ignored unless a whole multiple of the pool's MinInterval; 0 stands for MinInterval.
    void SetInterval(std::uint16_t Value);
    // Interval div MinInterval: the item fires on every Ticks-th pool tick.
    int Ticks() const { return ticks_; }
    rtl::TList* List() const { return list_; }
    TKitTimerPool* Pool() const { return pool_; }

    // Sender is the pool.
    rtl::TNotifyEvent OnTimer;

    // One firing of an enabled item.
    void Fire();

private:
    bool enabled_ = true;
    std::uint16_t id_;
    std::uint16_t interval_ = 1000;
    int ticks_ = 0;
    rtl::TList* list_;
    TKitTimerPool* pool_;
};

class TKitTimerPool : public TKitCustomComponent {
public:
    // MinInterval 1000.
    explicit TKitTimerPool(rtl::TComponent* AOwner);
    // The given MinInterval, stored directly.
    TKitTimerPool(rtl::TComponent* AOwner, TKitTimerInterval MinInterval);
    static TKitTimerPool* CreateEx(rtl::TComponent* AOwner, TKitTimerInterval MinInterval) {
        return new TKitTimerPool(AOwner, MinInterval);
    }
    ~TKitTimerPool() override;

    // The window timer is running.
    bool Active() const { return active_; }
    // The hidden window is inside a tick.
    bool InTick() const { return inTick_; }
    // Pool ticks; 1 whenever the window timer is started.
    int Counter() const { return counter_; }
    bool Removing() const { return removing_; }
    TKitTimerInterval MinInterval() const { return minInterval_; }
    // Takes effect only while the pool is loaded or designed.
    void SetMinInterval(TKitTimerInterval Value);

    // Fired for items without a handler of their own.
    TKitTimerPoolEvent OnTimer;

    // Adds an item and restarts the window timer; returns the item's index. Raises Exception
    // for an ID already present or an Interval that is not a whole multiple of MinInterval (or
    // below it).
    int Add(std::uint16_t ID, std::uint16_t Interval, rtl::TNotifyEvent Handler);
    void Remove(std::uint16_t ID);
    int IndexOf(std::uint16_t ID) const;
    TKitTimerItem* GetItem(std::uint16_t ID) const;
    int Count() const { return items_.Count(); }
    TKitTimerItem* Items(int Index) const { return static_cast<TKitTimerItem*>(items_.Items(Index)); }
    int EnabledCount() const;
    void Clear();

    // Stops the window timer and, when Enable and an item is enabled, starts it again
    // (EOutOfResources when it cannot be started).
    void UpdateTimer(bool Enable);
    // The hidden window's procedure: WM_TIMER runs one tick.
    void WndProc(gui::TMessage& Message);
    void Tick();

private:
    bool active_ = false;
    bool inTick_ = false;
    std::unique_ptr<gui::TUtilityWindow> window_;
    int counter_ = 0;
    TKitTimerInterval minInterval_ = 1000;
    rtl::TList items_;
    bool removing_ = false;
};

// Raised by the single-instance check of components. Kind 0: invalid owner or a second
// instance on a form; Kind 1: a second control of the kind in the project.
class KitEOneInstError : public rtl::Exception {
public:
    KitEOneInstError(const std::string& Name, int Kind);
    const char* ClassName() const noexcept override { return "KitEOneInstError"; }
};

class TKitApplication : public rtl::TComponent {
public:
    TKitApplication();
    ~TKitApplication() override;

    // Bit 0: bitmaps realise their palette only on screens of 9 or more bits per pixel.
    std::uint8_t Options = 0x36;
    std::unique_ptr<TKitIniCtrl> IniCtrl;
    // Bit 0 insert mode, bit 1 Shift, bit 2 Ctrl, bit 3 Alt.
    std::uint8_t KeyState() const { return keyState_; }
    rtl::TNotifyEvent OnKeyStateChange;
    std::unique_ptr<TKitTimerPool> TimerPool;
    TKitPathPrefix LogPathPrefix = ppProgram;
    const std::string& LogFileName() const { return logFileName_; }
    // Six custom check-box images side by side; none in this program.
    std::unique_ptr<gdi::TBitmap> CheckGlyphs;
    bool SecondInstance = false;
    int CheckHeight = 0;
    int CheckWidth = 0;

    // Takes the lowest free timer slot and adds an enabled item with its ID ($FD01..$FDFA);
    // 0 when no slot is free or the pool refused the item.
    std::uint16_t AddTimer(std::uint16_t Interval, rtl::TNotifyEvent Handler);
    // IDs outside $FD01..$FDFA are ignored.
    void RemoveTimer(std::uint16_t ID);
    TKitTimerItem* GetTimer(std::uint16_t ID) const;

    bool ThemesEnabled() const;
    void SetThemesEnabled(bool Value);
    void RefreshThemesEnabled();
    void SetKeyState(std::uint8_t Value);
    int CheckGlyphWidth() const;
    int CheckGlyphHeight() const;
    // An 8 x 8 checkerboard of Color and white, owned by the application object.
    gdi::TBitmap* GetPatternBitmap(gdi::TColor Color);
    void SetLogFileName(const std::string& Name);
    // The single-instance lock (the named mutex); null when it could not be made.
    sys::TInstanceLock* MutexHandle() const { return mutex_.get(); }

    static constexpr std::uint16_t FirstTimerID = 0xFD01;
    static constexpr int TimerSlots = 250;

private:
    bool themes_ = true;
    std::uint8_t keyState_ = 1;
    std::unique_ptr<gdi::TBitmap> pattern_;
    gdi::TColor patternColor_ = gdi::clNone;
    std::string logFileName_;
    std::unique_ptr<sys::TInstanceLock> mutex_;
    std::uint8_t slots_[TimerSlots] = {};
};

// The application object of the library. It is made by KitAppInitialize, or on first use when
// nothing initialised it, and freed by the balancing KitAppFinalize.
class TKitApplicationRef {
public:
    TKitApplication* operator->() const { return Get(); }
    TKitApplication& operator*() const { return *Get(); }
    TKitApplication* Get() const;
    // Whether the object exists now (does not make it).
    bool Assigned() const;
};
extern TKitApplicationRef KitApplication;

// Start-up and shut-down of the unit; counted, only the outermost pair does the work.
void KitAppInitialize();
void KitAppFinalize();

// The component library's start-up before the program's first window, in the order of its
// units' initialisation: the rich-edit library and its clipboard formats, the application-wide
// container, the theme-manager singleton, this application object, last the theme library.
// (The operating-system flags are set when the program is loaded.) What it makes lives until
// the process ends.
void KitLibraryInitialize();

// True when the theme library was loaded at start and reports themes active.
bool KitThemesActive();
// True when Owner is nil or not a form, or when Owner's components hold more than one object of
// class T (descendants included). AllowAbsentClass does not change the result.
bool KitOwnerIsForm(rtl::TComponent* Owner);
template <class T>
bool KitIsInvalidInstance(rtl::TComponent* Owner, bool /*AllowAbsentClass*/) {
    if (!KitOwnerIsForm(Owner)) return true;
    int found = 0;
    for (int i = 0; i < Owner->ComponentCount(); ++i)
        if (dynamic_cast<T*>(Owner->Components(i)) && ++found > 1) return true;
    return false;
}

}  // namespace kit
