// File dialogs and message dialogs; every one goes through the presenter (Presenter.h).
#pragma once

#include <memory>
#include <string>

#include "platform/gui/Presenter.h"
#include "platform/rtl/Classes.h"

namespace gui {

inline constexpr TMsgDlgType mtWarning = TMsgDlgType::mtWarning;
inline constexpr TMsgDlgType mtError = TMsgDlgType::mtError;
inline constexpr TMsgDlgType mtInformation = TMsgDlgType::mtInformation;
inline constexpr TMsgDlgType mtConfirmation = TMsgDlgType::mtConfirmation;
inline constexpr TMsgDlgType mtCustom = TMsgDlgType::mtCustom;

// The client width a window needs for the window manager to show Caption whole in its title
// bar, after the window's icon and before its buttons (at most the work area's width).
int CaptionClientWidth(const std::string& Caption);

// A box with the application title as caption, no icon and an OK button.
void ShowMessage(const std::string& Msg);
// A box captioned by its type ("Warnung", "Fehler", "Informationen", "Bestätigen"; the
// application title for mtCustom); returns the modal result of the pressed button.
int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);

enum TOpenOption : unsigned {
    ofReadOnly = 1u << 0, ofOverwritePrompt = 1u << 1, ofHideReadOnly = 1u << 2,
    ofNoChangeDir = 1u << 3, ofShowHelp = 1u << 4, ofNoValidate = 1u << 5,
    ofAllowMultiSelect = 1u << 6, ofExtensionDifferent = 1u << 7, ofPathMustExist = 1u << 8,
    ofFileMustExist = 1u << 9, ofCreatePrompt = 1u << 10, ofShareAware = 1u << 11,
    ofNoReadOnlyReturn = 1u << 12, ofNoTestFileCreate = 1u << 13, ofEnableSizing = 1u << 14
};
using TOpenOptions = unsigned;

// The dialog's settings are plain fields. Execute shows the dialog through the presenter; when
// it is confirmed, Files holds the chosen files (full paths), FileName the first of them and
// FilterIndex (1-based) the chosen filter, and Execute returns True. A cancelled dialog changes
// nothing and returns False.
class TOpenDialog : public rtl::TComponent {
public:
    explicit TOpenDialog(rtl::TComponent* owner);
    ~TOpenDialog() override;

    std::string Title;
    std::string Filter;       // "Text (*.txt)|*.txt|Alle Dateien (*.*)|*.*"
    int FilterIndex = 1;
    std::string DefaultExt;   // "txt" (a leading "." or "*." is ignored)
    std::string InitialDir;
    std::string FileName;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
    rtl::TStrings* Files() const { return files_.get(); }

    virtual bool Execute();

protected:
    TOpenDialog(rtl::TComponent* owner, FileDialogRequest::Kind kind);

private:
    FileDialogRequest::Kind kind_;
    std::unique_ptr<rtl::TStringList> files_;
};

// A save dialog. A chosen name without extension gets DefaultExt.
class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(rtl::TComponent* owner);
};

// The save dialog of pictures.
class TSavePictureDialog : public TSaveDialog {
public:
    explicit TSavePictureDialog(rtl::TComponent* owner) : TSaveDialog(owner) {}
};

}  // namespace gui
