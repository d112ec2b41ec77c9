// The progress window of the near-field readers and of the field file: a small tool window
// centred on the main window with one gauge from 0 to 100.
#pragma once

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"

class TFormFileProgress : public gui::TForm {
public:
    explicit TFormFileProgress(rtl::TComponent* owner);

    gui::TGauge* FileGauge = nullptr;

    // A close request is granted only when the gauge stands at 100 or more; freeing the window
    // removes it whatever the gauge shows.
    void FormCloseQuery(rtl::TObject* Sender, bool& CanClose);

protected:
    // The window widens for a caption that its design width would cut (a file name), up to the
    // screen's work area; the gauge spans the wider window.
    void TextChanged() override;
};
