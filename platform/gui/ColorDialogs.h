// The colour dialog; it is shown through the presenter (Presenter.h).
#pragma once

#include <memory>
#include <string>

#include "platform/gdi/Graphics.h"
#include "platform/rtl/Classes.h"

namespace gui {

enum TColorDialogOption : unsigned {
    cdFullOpen = 1u << 0, cdPreventFullOpen = 1u << 1, cdShowHelp = 1u << 2, cdSolidColor = 1u << 3,
    cdAnyColor = 1u << 4
};
using TColorDialogOptions = unsigned;

// CustomColors holds name=value lines: a name ending in a letter A to P names one of the 16 custom
// colour slots, the value is the colour in hexadecimal ($00BBGGRR digits, "FFFFFFFF" for an empty
// slot). When the dialog is confirmed, Color is the chosen colour and every slot is written back
// under its line's name (the prefix of the first line, else "Color", for slots without a line).
class TColorDialog : public rtl::TComponent {
public:
    explicit TColorDialog(rtl::TComponent* owner);
    ~TColorDialog() override;

    gdi::TColor Color = gdi::clBlack;
    TColorDialogOptions Options = 0;
    int HelpContext = 0;
    rtl::TStrings* CustomColors() const { return customColors_.get(); }

    virtual bool Execute();

private:
    std::unique_ptr<rtl::TStringList> customColors_;
};

}  // namespace gui
