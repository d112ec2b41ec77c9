#include "components/base/kitapp.h"

#include <limits>

#include "components/base/KitRichEditInit.h"
#include "components/base/KitXPStyles.h"
#include "components/base/kitcont.h"
#include "components/base/kitprocs.h"
#include "platform/gdi/SystemBitmaps.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/InstanceLock.h"

namespace kit {

namespace {
const char* const NoTimersText = "Nicht genügend Timer verfügbar";
const char* const BadIntervalText = "Interval not compatible with MinInterval property!";

// Counters that restart at 0 instead of turning negative.
int NextCount(int c) { return c == std::numeric_limits<int>::max() ? 0 : c + 1; }
}  // namespace

// ---- TKitTimerItem ------------------------------------------------------------------------------
TKitTimerItem::TKitTimerItem(TKitTimerPool* Pool, rtl::TList* List, std::uint16_t ID)
    : id_(ID), list_(List), pool_(Pool) {
    if (!Pool || !List)
        throw rtl::EInvalidOperation(rtl::ClassNameOf(typeid(TKitTimerItem)) + ": Invalid Owner or List");
    ticks_ = interval_ / Pool->MinInterval();
}

TKitTimerItem::~TKitTimerItem() {
    enabled_ = false;
    OnTimer = nullptr;
    list_->Remove(this);
}

void TKitTimerItem::SetEnabled(bool Value) {
    if (Value == enabled_) return;
    if (Value && RepeatCount == 0) return;
    enabled_ = Value;
    Counter = 0;
}

void TKitTimerItem::SetInterval(std::uint16_t Value) {
    const TKitTimerInterval min = pool_->MinInterval();
    if (Value == 0) Value = min;
    if (Value == interval_ || Value % min != 0) return;
    interval_ = Value;
    ticks_ = Value / min;
    Counter = 0;
}

void TKitTimerItem::Fire() {
    Counter = NextCount(Counter);
    if (Counter == RepeatCount) enabled_ = false;
    if (OnTimer) {
        // The handler may remove this item: call a copy, and touch nothing afterwards.
        const rtl::TNotifyEvent handler = OnTimer;
        handler(pool_);
    } else if (pool_->OnTimer) {
        pool_->OnTimer(pool_, id_, Counter);
    }
}

// ---- TKitTimerPool ------------------------------------------------------------------------------
TKitTimerPool::TKitTimerPool(rtl::TComponent* AOwner) : TKitCustomComponent(AOwner) {}

TKitTimerPool::TKitTimerPool(rtl::TComponent* AOwner, TKitTimerInterval MinInterval)
    : TKitCustomComponent(AOwner) {
    minInterval_ = MinInterval == 0 ? 1 : MinInterval;
}

TKitTimerPool::~TKitTimerPool() {
    Clear();
    window_.reset();
}

void TKitTimerPool::SetMinInterval(TKitTimerInterval Value) {
    const auto state = ComponentState();
    if (!state.Contains(rtl::csLoading) && !state.Contains(rtl::csDesigning)) return;
    if (Value == 0) return;
    minInterval_ = Value;
}

int TKitTimerPool::Add(std::uint16_t ID, std::uint16_t Interval, rtl::TNotifyEvent Handler) {
    if (items_.Count() > 0 && IndexOf(ID) >= 0)
        throw rtl::Exception(rtl::Format("Timer ID %d is already in use!", static_cast<int>(ID)));
    if (Interval < minInterval_ || Interval % minInterval_ != 0) throw rtl::Exception(BadIntervalText);
    auto* item = new TKitTimerItem(this, &items_, ID);
    const int index = items_.Add(item);
    item->SetInterval(Interval);
    item->OnTimer = std::move(Handler);
    try {
        UpdateTimer(true);
    } catch (...) {
        Remove(ID);
        throw;
    }
    return index;
}

void TKitTimerPool::Remove(std::uint16_t ID) {
    removing_ = true;
    const int index = IndexOf(ID);
    if (index >= 0) {
        TKitTimerItem* item = Items(index);
        item->SetEnabled(false);
        item->OnTimer = nullptr;
        delete item;  // takes itself out of the list
        if (items_.Count() == 0) UpdateTimer(false);
    }
    removing_ = false;
}

int TKitTimerPool::IndexOf(std::uint16_t ID) const {
    for (int i = 0; i < items_.Count(); ++i)
        if (Items(i)->ID() == ID) return i;
    return -1;
}

TKitTimerItem* TKitTimerPool::GetItem(std::uint16_t ID) const {
    if (items_.Count() == 0) return nullptr;
    const int index = IndexOf(ID);
    return index < 0 ? nullptr : Items(index);
}

int TKitTimerPool::EnabledCount() const {
    int n = 0;
    for (int i = 0; i < items_.Count(); ++i) n += Items(i)->Enabled() ? 1 : 0;
    return n;
}

void TKitTimerPool::Clear() {
    UpdateTimer(false);
    for (int i = items_.Count() - 1; i >= 0; --i) delete Items(i);
}

void TKitTimerPool::UpdateTimer(bool Enable) {
    if (ComponentState().Contains(rtl::csDesigning)) return;
    if (!window_) window_ = std::make_unique<gui::TUtilityWindow>([this](gui::TMessage& m) { WndProc(m); });
    active_ = false;
    window_->KillTimer(1);
    if (Enable && EnabledCount() > 0) {
        if (!window_->SetTimer(1, minInterval_)) throw rtl::EOutOfResources(NoTimersText);
        counter_ = 1;
        active_ = true;
    }
}

void TKitTimerPool::WndProc(gui::TMessage& Message) {
    if (Message.Msg != gui::WM_TIMER) {
        gui::DefWindowProc(Message);
        return;
    }
    if (!inTick_) {
        inTick_ = true;
        try {
            Tick();
        } catch (...) {
            gui::HandleCurrentException(this);
        }
        inTick_ = false;
    }
    Message.Result = 0;
}

void TKitTimerPool::Tick() {
    if (removing_) return;
    for (int i = 0; i < items_.Count(); ++i) {
        TKitTimerItem* item = Items(i);
        if (!item->Enabled() || item->Ticks() <= 0 || counter_ % item->Ticks() != 0) continue;
        // A failing handler is shown and the tick goes on, so that the pool keeps its count
        // and the other items their firings.
        try {
            item->Fire();
        } catch (...) {
            gui::HandleCurrentException(this);
        }
    }
    counter_ = NextCount(counter_);
}

// ---- KitEOneInstError ---------------------------------------------------------------------------
KitEOneInstError::KitEOneInstError(const std::string& Name, int Kind)
    : rtl::Exception(Kind == 0 ? Name + ":\rInvalid owner (<>TForm) or second instance on a form"
                               : Name + ":\rAlready one " + Name + " control in this project!") {}

// ---- TKitApplication ----------------------------------------------------------------------------
TKitApplication::TKitApplication() : rtl::TComponent(nullptr) {
    IniCtrl = std::make_unique<TKitIniCtrl>(nullptr);
    SecondInstance = false;
    mutex_ = std::make_unique<sys::TInstanceLock>(rtl::UpperCase(rtl::ExtractFileName(rtl::ParamStr(0))));
    if (!mutex_->Valid()) mutex_.reset();
    else SecondInstance = mutex_->AlreadyExists();
    TimerPool.reset(TKitTimerPool::CreateEx(nullptr, 50));
    LogPathPrefix = ppProgram;
    SetLogFileName("");
    keyState_ = 1;
    gdi::TBitmap boxes;
    if (gdi::LoadSystemBitmap(gdi::OBM_CHECKBOXES, boxes)) {
        CheckWidth = boxes.Width() / 4;
        CheckHeight = boxes.Height() / 3;
    }
}

TKitApplication::~TKitApplication() {
    IniCtrl.reset();
    pattern_.reset();
    TimerPool.reset();
    mutex_.reset();
}

std::uint16_t TKitApplication::AddTimer(std::uint16_t Interval, rtl::TNotifyEvent Handler) {
    for (int k = 0; k < TimerSlots; ++k) {
        if (slots_[k]) continue;
        const auto id = static_cast<std::uint16_t>(FirstTimerID + k);
        if (TimerPool->Add(id, Interval, std::move(Handler)) < 0) return 0;
        slots_[k] = 1;
        return id;
    }
    return 0;
}

void TKitApplication::RemoveTimer(std::uint16_t ID) {
    if (ID < FirstTimerID) return;
    TimerPool->Remove(ID);
    if (ID < FirstTimerID + TimerSlots) slots_[ID - FirstTimerID] = 0;
}

TKitTimerItem* TKitApplication::GetTimer(std::uint16_t ID) const { return TimerPool->GetItem(ID); }

bool TKitApplication::ThemesEnabled() const { return themes_ && KitThemesActive(); }

void TKitApplication::SetThemesEnabled(bool Value) {
    if (Value == themes_) return;
    if (Value && !KitThemesActive()) return;
    themes_ = Value;
    // The theme functions run only with a loaded theme library; without one there is no themed
    // drawing to switch, and nothing to tell the windows.
    if (KitThemeLibraryLoaded && KitThemeFunctions.SetThemeAppProperties)
        KitThemeFunctions.SetThemeAppProperties(Value ? 3u : 0u);
}

void TKitApplication::RefreshThemesEnabled() { themes_ = KitThemesActive(); }

void TKitApplication::SetKeyState(std::uint8_t Value) {
    if (Value == keyState_) return;
    keyState_ = Value;
    if (OnKeyStateChange) OnKeyStateChange(this);
}

int TKitApplication::CheckGlyphWidth() const { return CheckGlyphs ? CheckGlyphs->Width() / 6 : 0; }
int TKitApplication::CheckGlyphHeight() const { return CheckGlyphs ? CheckGlyphs->Height() : 0; }

gdi::TBitmap* TKitApplication::GetPatternBitmap(gdi::TColor Color) {
    if (pattern_ && Color == patternColor_) return pattern_.get();
    if (!pattern_) {
        pattern_ = std::make_unique<gdi::TBitmap>(8, 8);
        pattern_->Canvas()->Brush()->SetColor(gdi::clWhite);
        pattern_->Canvas()->FillRect(gdi::Rect(0, 0, 8, 8));
    }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if ((x & 1) != (y & 1)) pattern_->Canvas()->SetPixels(x, y, Color);
    patternColor_ = Color;
    return pattern_.get();
}

void TKitApplication::SetLogFileName(const std::string& Name) {
    std::string name = Name;
    if (rtl::Trim(name).empty()) name = rtl::ChangeFileExt(rtl::ParamStr(0), ".LOG");
    else if (rtl::Trim(rtl::ExtractFileExt(name)).empty()) name += ".LOG";
    if (LogPathPrefix == ppFixed) logFileName_ = name;
    else logFileName_ = KitGetPrefixPath(LogPathPrefix, true) + rtl::ExtractFileName(name);
}

// ---- Unit start-up ------------------------------------------------------------------------------
namespace {
TKitApplication* theApplication = nullptr;
int initCount = 0;
}  // namespace

TKitApplicationRef KitApplication;

TKitApplication* TKitApplicationRef::Get() const {
    if (!theApplication) theApplication = new TKitApplication;
    return theApplication;
}

bool TKitApplicationRef::Assigned() const { return theApplication != nullptr; }

void KitAppInitialize() {
    if (initCount++ == 0 && !theApplication) theApplication = new TKitApplication;
}

void KitAppFinalize() {
    if (initCount == 0) return;
    if (--initCount == 0) {
        delete theApplication;
        theApplication = nullptr;
    }
}

void KitLibraryInitialize() {
    KitRichEditInitialize();
    KitContInitialize();
    KitXPStylesInitialize();
    KitAppInitialize();
    KitThemeLibraryLoad();
}

bool KitThemesActive() {
    return KitThemeLibraryLoaded && KitThemeFunctions.IsThemeActive && KitThemeFunctions.IsThemeActive();
}

bool KitOwnerIsForm(rtl::TComponent* Owner) { return dynamic_cast<gui::TForm*>(Owner) != nullptr; }

}  // namespace kit
