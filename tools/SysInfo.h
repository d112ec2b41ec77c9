// The window "Systeminformationen": 42 information labels in five groups (paths, resources,
// software, system, lock keys). Not modal; released when it is closed.
#pragma once

#include <vector>

#include "components/controls/KitInformationLabel.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TFormSysInfo : public gui::TForm {
public:
    explicit TFormSysInfo(rtl::TComponent* owner);

    using TInformationLabel = kit::TKitInformationLabel;

    gui::TGroupBox *GBPfade = nullptr, *GBResourcen = nullptr, *GBSoftware = nullptr,
                   *GBSystem = nullptr, *GBTasten = nullptr;
    // Every label, group by group in the order of the window.
    std::vector<TInformationLabel*> Labels;

    void FormClose(rtl::TObject* Sender, gui::TCloseAction& Action);
};
