#include "tools/ColorListDlg.h"

#include "foundation/MemoUtilsLib.h"
#include "platform/gui/ColorDialogs.h"
#include "platform/rtl/SysUtils.h"

TFormColorListDlg::TFormColorListDlg(rtl::TComponent* owner)
    : gui::TForm(owner), colorLines_(std::make_unique<rtl::TStringList>()) {
    SetName("FormColorListDlg");
    SetCaption("FormColorListDlg");
    SetBounds(Left(), Top(), 502, 407);

    ColorBox1 = new gui::TColorBox(this);
    ColorBox1->SetName("ColorBox1");
    ColorBox1->SetParent(this);
    ColorBox1->SetBounds(8, 8, 145, 22);

    clbColorList = new kit::TKitColorListBox(this);
    clbColorList->SetName("clbColorList");
    clbColorList->SetParent(this);
    clbColorList->SetBounds(8, 40, 220, 320);
    clbColorList->SetOptions(kit::coDefaultColors | kit::coSystemColors | kit::coCustomColors |
                             kit::coAllowAnyColor | kit::coAllowDialog);
    clbColorList->DlgOptions = gui::cdSolidColor | gui::cdAnyColor;
    clbColorList->OnClick = [this](rtl::TObject* s) { clbColorListClick(s); };

    Memo = new gui::TMemo(this);
    Memo->SetName("Memo");
    Memo->SetParent(this);
    Memo->SetBounds(240, 8, 240, 352);
    Memo->SetScrollBars(gui::ssVertical);
    Memo->Lines()->Add("Memo");

    OnCreate = [this](rtl::TObject* s) { FormCreate(s); };
    OnActivate = [this](rtl::TObject* s) { FormActivate(s); };
}

TFormColorListDlg::~TFormColorListDlg() = default;

void TFormColorListDlg::FormCreate(rtl::TObject*) { MemoClear(*Memo); }

void TFormColorListDlg::FormActivate(rtl::TObject*) { updateColorList(); }

void TFormColorListDlg::clbColorListClick(rtl::TObject*) {}

void TFormColorListDlg::updateColorList() {
    clbColorList->Items()->Clear();
    for (int i = 0; i < colorLines_->Count(); ++i) {
        MemoAdd(*Memo, "k: " + rtl::IntToStr(i) + "-->" + colorLines_->Get(i));
        clbColorList->CustomColors()->Add(colorLines_->Get(i));
    }
}
