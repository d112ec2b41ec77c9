#include "components/base/KitXPStyles.h"

namespace kit {

std::uintptr_t KitThemeLibrary = 0;
bool KitThemeLibraryLoaded = false;
TKitThemeFunctions KitThemeFunctions;
TKitXPThemeManager* KitThemeManagerInstance = nullptr;

namespace {
int InitCount = 0;
}  // namespace

TKitXPThemeManager::TKitXPThemeManager(rtl::TComponent* AOwner) : rtl::TComponent(AOwner) {}

void KitXPStylesInitialize() {
    if (InitCount++ > 0) return;
    KitThemeManagerInstance = new TKitXPThemeManager(nullptr);
}

void KitThemeLibraryLoad() {
    // The desktop offers no theme library with this interface: it counts as missing.
    KitThemeLibrary = 0;
    KitThemeLibraryLoaded = false;
    KitThemeFunctions = TKitThemeFunctions{};
}

void KitThemeLibraryFree() {
    KitThemeLibrary = 0;
    KitThemeLibraryLoaded = false;
    KitThemeFunctions = TKitThemeFunctions{};
}

void KitXPStylesFinalize() {
    if (InitCount == 0 || --InitCount > 0) return;
    delete KitThemeManagerInstance;
    KitThemeManagerInstance = nullptr;
}

}  // namespace kit
