// The script window "Info": the viewer's log and trace lines.
#pragma once

#include <string>

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TFormProgInfo : public gui::TForm {
public:
    explicit TFormProgInfo(rtl::TComponent* owner);

    gui::TMemo* MeInfo = nullptr;

    // Appends Text as a new line.
    void addLine(const std::string& Text);
    void clear(rtl::TObject* Sender);
    void FormCreate(rtl::TObject* Sender);
    // Closing only hides the window.
    void FormClose(rtl::TObject* Sender, gui::TCloseAction& Action);
};
