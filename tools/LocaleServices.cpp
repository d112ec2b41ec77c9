// The yes/no question is a message box with "&Ja" and "&Nein" until the question dialog of the
// tool windows exists.
#include "tools/LocaleServices.h"

#include "platform/gui/Presenter.h"
#include "platform/sys/LocaleStore.h"

bool IsGermanNumberFormat() {
    const sys::LocaleSeparators s = sys::GetLocaleSeparators();
    return s.Decimal == ',' && s.Thousand == '.';
}

void SetGermanNumberFormat() {
    sys::LocaleSeparators s = sys::GetLocaleSeparators();
    s.Decimal = ',';
    s.Thousand = '.';
    sys::SetLocaleSeparators(s);
}

bool AskYesNo(const std::string& Text, const std::string& Caption) {
    gui::MessageBoxRequest r;
    r.caption = Caption;
    r.text = Text;
    r.type = gui::TMsgDlgType::mtConfirmation;
    r.buttons = gui::mbYes | gui::mbNo;
    return gui::CurrentPresenter().ShowMessageBox(r) == gui::mrYes;
}
