#include "viewer/PleaseWait.h"

TFormPleaseWait::TFormPleaseWait(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormPleaseWait");
    SetCaption("Bitte warten......");
    SetBorderStyle(gui::bsToolWindow);
    SetPosition(gui::poMainFormCenter);
    SetWidth(306);
    SetHeight(115);
    LAWait = new gui::TLabel(this);
    LAWait->SetName("LAWait");
    LAWait->SetParent(this);
    LAWait->SetAutoSize(false);
    LAWait->SetAlignment(gui::taCenter);
    LAWait->SetLayout(gui::tlCenter);
    LAWait->SetAlign(gui::alClient);
    LAWait->SetCaption("Einen Moment  bitte....");
    OnClose = [this](rtl::TObject* s, gui::TCloseAction& a) { FormClose(s, a); };
}

void TFormPleaseWait::Execute() {
    Show();
    Update();
    if (gui::Application) gui::Application->ProcessMessages();
}

void TFormPleaseWait::FormClose(rtl::TObject*, gui::TCloseAction& Action) { Action = gui::caFree; }
