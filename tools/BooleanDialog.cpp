#include "tools/BooleanDialog.h"

TFormBooleanDialog::TFormBooleanDialog(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormBooleanDialog");
    SetBorderStyle(gui::bsDialog);
    SetBorderIcons(gui::biSystemMenu);
    SetPosition(gui::poScreenCenter);
    SetClientWidth(438);
    SetClientHeight(127);

    LaFrage = new gui::TLabel(this);
    LaFrage->SetParent(this);
    LaFrage->SetName("LaFrage");
    LaFrage->SetAutoSize(false);
    LaFrage->SetWordWrap(true);
    LaFrage->SetBounds(8, 8, 425, 73);
    LaFrage->Font()->SetHeight(-13);

    ButYes = new gui::TButton(this);
    ButYes->SetParent(this);
    ButYes->SetName("ButYes");
    ButYes->SetBounds(136, 92, 75, 25);
    ButYes->SetCaption("&Ja");
    ButYes->SetModalResult(gui::mrYes);

    ButNo = new gui::TButton(this);
    ButNo->SetParent(this);
    ButNo->SetName("ButNo");
    ButNo->SetBounds(227, 92, 75, 25);
    ButNo->SetCaption("&Nein");
    ButNo->SetModalResult(gui::mrNo);
}
