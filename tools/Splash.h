// The splash window shown while the main window starts.
#pragma once

#include <string>

#include "platform/gui/Forms.h"

class TFormSplash : public gui::TForm {
public:
    explicit TFormSplash(rtl::TComponent* owner);

    std::string Title;
    std::string BottomLine;
    std::string LoadLine;
    bool ShowLogo = false;
    bool ShowLoadLine = false;
    bool ShowBottomLine = false;
    int DisplayTime = 2500;  // ms
    int FontSize = 120;
    double WidthFactor = 1.0;
    bool Borderless = false;
    bool StayOpen = false;

    // Shows the window, keeps it for DisplayTime (painting goes on, input is held back), then
    // closes and releases it unless StayOpen.
    void execute();

    // Upper bound of the display time in ms (-1: none); tests set it to 0.
    static int MaxDisplayTime;
};
