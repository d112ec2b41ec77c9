// The yes/no question window: the question in a label, "&Ja" and "&Nein" below it.
#pragma once

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TFormBooleanDialog : public gui::TForm {
public:
    explicit TFormBooleanDialog(rtl::TComponent* owner);

    gui::TLabel* LaFrage = nullptr;
    gui::TButton* ButYes = nullptr;
    gui::TButton* ButNo = nullptr;
};
