// File dialogs and message dialogs.
#include "platform/gui/Dialogs.h"

#include <algorithm>

#include "platform/gdi/Graphics.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"

namespace gui {

namespace {
// The window manager writes the caption in a bold sans face of 8 to 9 points (measured with 9,
// so that the caption fits either), after the window's icon and before its buttons.
constexpr int kTitleBarExtras = 110;

std::string ApplicationTitle() { return Application ? Application->Title() : std::string(); }

std::string DefaultExtension(std::string_view ext) {
    while (!ext.empty() && (ext.front() == '*' || ext.front() == '.')) ext.remove_prefix(1);
    return std::string(ext);
}
}  // namespace

int CaptionClientWidth(const std::string& Caption) {
    gdi::TBitmap probe;
    probe.SetSize(1, 1);
    gdi::TFont* font = probe.Canvas()->Font();
    font->SetName("Sans");
    font->SetSize(9);
    font->SetStyle(gdi::fsBold);
    return std::min(probe.Canvas()->TextWidth(Caption) + kTitleBarExtras, Screen()->WorkAreaWidth());
}

void ShowMessage(const std::string& Msg) {
    MessageBoxRequest r;
    r.caption = ApplicationTitle();
    r.text = Msg;
    r.type = TMsgDlgType::mtCustom;
    r.buttons = mbOK;
    CurrentPresenter().ShowMessageBox(r);
}

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int) {
    MessageBoxRequest r;
    switch (DlgType) {
    case TMsgDlgType::mtWarning: r.caption = "Warnung"; break;
    case TMsgDlgType::mtError: r.caption = "Fehler"; break;
    case TMsgDlgType::mtInformation: r.caption = "Informationen"; break;
    case TMsgDlgType::mtConfirmation: r.caption = "Bestätigen"; break;
    default: r.caption = ApplicationTitle(); break;
    }
    r.text = Msg;
    r.type = DlgType;
    r.buttons = Buttons;
    return CurrentPresenter().ShowMessageBox(r);
}

TOpenDialog::TOpenDialog(rtl::TComponent* owner) : TOpenDialog(owner, FileDialogRequest::Kind::Open) {}

TOpenDialog::TOpenDialog(rtl::TComponent* owner, FileDialogRequest::Kind kind)
    : rtl::TComponent(owner), kind_(kind), files_(std::make_unique<rtl::TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
    FileDialogRequest r;
    r.kind = kind_;
    r.title = Title;
    r.filter = Filter;
    r.filterIndex = FilterIndex;
    r.defaultExt = DefaultExt;
    r.initialDir = InitialDir;
    r.fileName = FileName;
    r.multiSelect = (Options & ofAllowMultiSelect) != 0;
    r.overwritePrompt = (Options & ofOverwritePrompt) != 0;
    FileDialogResult result = CurrentPresenter().ShowFileDialog(r);
    if (!result.accepted || result.files.empty()) return false;
    const std::string ext = DefaultExtension(DefaultExt);
    files_->Clear();
    for (std::string& f : result.files) {
        if (kind_ == FileDialogRequest::Kind::Save && !ext.empty() && rtl::ExtractFileExt(f).empty())
            f += "." + ext;
        files_->Add(f);
    }
    FileName = result.files.front();
    FilterIndex = result.filterIndex;
    return true;
}

TSaveDialog::TSaveDialog(rtl::TComponent* owner) : TOpenDialog(owner, FileDialogRequest::Kind::Save) {}

}  // namespace gui
