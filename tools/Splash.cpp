// Stand-in until the component library exists: a plain window with the title for the display
// time; the gradient caption, logo and lines come with the graphic label.
#include "tools/Splash.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/gui/StdCtrls.h"

int TFormSplash::MaxDisplayTime = -1;

TFormSplash::TFormSplash(rtl::TComponent* owner) : gui::TForm(owner) {
    SetPosition(gui::poScreenCenter);
    SetBounds(0, 0, 420, 200);
}

void TFormSplash::execute() {
    if (Borderless) SetBorderStyle(gui::bsNone);
    auto* title = new gui::TLabel(this);
    title->SetParent(this);
    title->SetCaption(Title);
    title->Font()->SetSize(std::max(8, FontSize / 4));
    title->SetBounds(20, 40, ClientWidth() - 40, 80);
    title->SetAlignment(gui::taCenter);
    SetCaption(Title);
    Show();
    const int wait = MaxDisplayTime < 0 ? DisplayTime : std::min(DisplayTime, MaxDisplayTime);
    {
        gui::TBusyScope busy;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait);
        while (std::chrono::steady_clock::now() < end) {
            gui::Application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    if (!StayOpen) {
        Hide();
        Release();
    }
}
