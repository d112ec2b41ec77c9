// Access to the desktop's theme library and the theme-manager singleton.
//
// Themed drawing asks KitThemeLibraryLoaded first and calls a theme function only through its
// entry, never when the entry is null. This platform has no theme library: the library counts
// as absent, every entry stays null, and all drawing takes the classic path.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gdi/Graphics.h"
#include "platform/rtl/Classes.h"

namespace kit {

// An open theme of one window class ("EDIT", "BUTTON" ...).
using HTHEME = void*;

// Entries of the theme functions the library calls; null while the library or the function is
// missing.
struct TKitThemeFunctions {
    bool (*IsThemeActive)() = nullptr;
    void (*SetThemeAppProperties)(unsigned Flags) = nullptr;
    HTHEME (*OpenThemeData)(void* Window, const std::string& ClassList) = nullptr;
    long (*CloseThemeData)(HTHEME Theme) = nullptr;
    long (*DrawThemeBackground)(HTHEME Theme, gdi::TCanvas* Canvas, int PartId, int StateId,
                                const gdi::TRect& Rect, const gdi::TRect* Clip) = nullptr;
    long (*DrawThemeParentBackground)(void* Window, gdi::TCanvas* Canvas,
                                      const gdi::TRect* Rect) = nullptr;
    long (*GetThemeBackgroundContentRect)(HTHEME Theme, gdi::TCanvas* Canvas, int PartId,
                                          int StateId, const gdi::TRect& Bounds,
                                          gdi::TRect& Content) = nullptr;
};

// Module handle of the theme library; 0 when it is not loaded.
extern std::uintptr_t KitThemeLibrary;
// True when the theme library was loaded at start.
extern bool KitThemeLibraryLoaded;
extern TKitThemeFunctions KitThemeFunctions;

// The theme manager. Its window procedure reacts to window creation and theme changes through
// the application object; it has no owner and hooks no window, so it receives no messages.
class TKitXPThemeManager : public rtl::TComponent {
public:
    explicit TKitXPThemeManager(rtl::TComponent* AOwner);
};

// The singleton; null before start-up and after shut-down.
extern TKitXPThemeManager* KitThemeManagerInstance;

// Start-up of the unit: creates the theme-manager singleton. Counted: only the first call of a
// balanced pair does the work.
void KitXPStylesInitialize();
// Loads the theme library and looks up its functions; on this platform the library is absent.
void KitThemeLibraryLoad();
// Frees the theme library (when one is loaded) and sets the handle to 0.
void KitThemeLibraryFree();
// Shut-down: frees the singleton when the last KitXPStylesInitialize is balanced.
void KitXPStylesFinalize();

}  // namespace kit
