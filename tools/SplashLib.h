// The start-up window: the program title in large decorative letters centred on a coloured
// window, an optional logo, a load line at the top and a bottom line, optionally without a
// title bar and with a blue frame. The caller sets the public fields and calls execute.
#pragma once

#include <string>

#include "components/controls/KitGraphicLabel.h"
#include "platform/gdi/Graphics.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TFormSplash : public gui::TForm {
public:
    explicit TFormSplash(rtl::TComponent* owner);

    kit::TKitGraphicLabel* KitGraphicLabel = nullptr;
    gui::TLabel* LaBottomLine = nullptr;
    gui::TImage* IMLogo = nullptr;
    gui::TLabel* LaLoad = nullptr;

    std::string TitleText;
    std::string BottomLine;
    std::string LoadLine;
    bool ShowLogo = false;
    bool ShowLoadLine = false;
    bool ShowBottomLine = false;
    int DisplayTime = 0;  // ms; execute keeps the window at least 500 ms
    gdi::TColor GradientColor = 0xFF0000;
    gdi::TColor FormColor = gdi::clBtnFace;
    int FontSize = 72;  // points
    double WidthFactor = 1.0;
    bool Borderless = false;
    bool StayOpen = false;
    bool IsShowing = false;

    // Sets the defaults of the fields above.
    void FormCreate(rtl::TObject* Sender);
    // Shows the window on top, paints it, keeps it for the display time (painting goes on,
    // input is dropped) and, unless StayOpen, hides and closes it; closing releases it, so the
    // caller must not use it afterwards.
    void execute();
    // The frame of a borderless window: blue, 5 pixels, inside a black 1-pixel outline.
    void Rahmen();
    // Hides and closes the window.
    void closeOnDblClick(rtl::TObject* Sender);
    void FormClose(rtl::TObject* Sender, gui::TCloseAction& Action);

    // Upper bound of the display time in ms (-1: none); the viewer's tests set it to 0.
    static int MaxDisplayTime;
};

// The logo picture of the start-up window, a resource of the program.
void LoadSplashLogo(gdi::TBitmap& Bitmap);
