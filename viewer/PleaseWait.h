// The small window "Bitte warten......" that stands while the vertical section collects its
// samples.
#pragma once

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TFormPleaseWait : public gui::TForm {
public:
    explicit TFormPleaseWait(rtl::TComponent* owner);

    gui::TLabel* LAWait = nullptr;

    // Shows the window, paints it at once and lets pending messages through.
    void Execute();
    // Closing releases the window.
    void FormClose(rtl::TObject* Sender, gui::TCloseAction& Action);
};
