// The window that writes synthetic near-field files in the EZNEC layout.
#pragma once

#include <string>

#include "platform/gui/Forms.h"

class TFormFakeEZNECFile : public gui::TForm {
public:
    explicit TFormFakeEZNECFile(rtl::TComponent* owner);
    std::string InitialDir;
};
