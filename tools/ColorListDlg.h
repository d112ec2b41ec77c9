// The colour-list dialog: created at start-up, never shown.
#pragma once

#include "platform/gui/Forms.h"

class TFormColorListDlg : public gui::TForm {
public:
    explicit TFormColorListDlg(rtl::TComponent* owner);
};
