#include "viewer/ProgInfo.h"

TFormProgInfo::TFormProgInfo(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormProgInfo");
    SetCaption("Info");
    SetBounds(30, 30, 360, 138);
    MeInfo = new gui::TMemo(this);
    MeInfo->SetParent(this);
    MeInfo->SetAlign(gui::alClient);
    MeInfo->SetScrollBars(gui::ssBoth);
    MeInfo->SetWordWrap(false);
    MeInfo->Lines()->Add("MeInfo");
    OnCreate = [this](rtl::TObject* s) { FormCreate(s); };
    OnClose = [this](rtl::TObject* s, gui::TCloseAction& a) { FormClose(s, a); };
}

void TFormProgInfo::addLine(const std::string& Text) { MeInfo->Lines()->Add(Text); }

void TFormProgInfo::clear(rtl::TObject*) { MeInfo->Lines()->Clear(); }

void TFormProgInfo::FormCreate(rtl::TObject*) { MeInfo->Lines()->Clear(); }

void TFormProgInfo::FormClose(rtl::TObject*, gui::TCloseAction& Action) { Action = gui::caHide; }
