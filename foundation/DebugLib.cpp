#include "foundation/DebugLib.h"

#include "foundation/FormatLib.h"
#include "foundation/StrUtilsLib.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"

namespace {

// The platform's caption of a message dialog of that kind.
std::string BoxCaption(gui::TMsgDlgType Type)
{
    switch (Type) {
        case gui::TMsgDlgType::mtWarning: return "Warnung";
        case gui::TMsgDlgType::mtError: return "Fehler";
        case gui::TMsgDlgType::mtInformation: return "Informationen";
        default: return "";
    }
}

// A modal message box: icon and caption by kind, one "OK" button.
void ShowBox(gui::TMsgDlgType Type, const std::string& Text)
{
    gui::MessageBoxRequest Request;
    Request.caption = BoxCaption(Type);
    Request.text = Text;
    Request.type = Type;
    Request.buttons = gui::mbOK;
    gui::CurrentPresenter().ShowMessageBox(Request);
}

}  // namespace

void msgInfo(const std::string& Text) { ShowBox(gui::TMsgDlgType::mtInformation, Text); }

void msgWarning(const std::string& Text) { ShowBox(gui::TMsgDlgType::mtWarning, Text); }

void msgError(const std::string& Text) { ShowBox(gui::TMsgDlgType::mtError, Text); }

void msgFileNotFound(const std::string& FileName)
{
    msgError("Die Datei" + CRLFs(2) + FileName + CRLFs(2) + "konnte nicht gefunden werden!");
}

void NoFloatMessage(const std::string& S)
{
    msgWarning("\"" + S + "\" ist kein gültiger Gleitkommawert!");
}

void NotFinishedMessage(const std::string& RoutineName)
{
    msgWarning("An der Routine " + RoutineName + "muss noch gearbeitet werden");
}

void WarnWithDetail(const std::string& Text, const std::string& Detail)
{
    msgWarning(Detail.empty() ? Text : Detail + CRLFs(1) + Text);
}

void WarnNumber(int N, const std::string& Detail) { WarnWithDetail(IntStr(N), Detail); }

void DebugNop() {}
