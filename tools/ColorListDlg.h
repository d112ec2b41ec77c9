// The colour-list dialog: created at start-up, never shown. On activation it lists the lines of
// its private string list in the memo and hands them to the colour list box as custom colours.
#pragma once

#include <memory>

#include "components/controls/KitColorListBox.h"
#include "platform/gui/ColorBoxes.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TFormColorListDlg : public gui::TForm {
public:
    explicit TFormColorListDlg(rtl::TComponent* owner);
    ~TFormColorListDlg() override;

    gui::TColorBox* ColorBox1 = nullptr;
    kit::TKitColorListBox* clbColorList = nullptr;
    gui::TMemo* Memo = nullptr;

    void FormCreate(rtl::TObject* Sender);
    void FormActivate(rtl::TObject* Sender);
    void clbColorListClick(rtl::TObject* Sender);
    // Empties the colour list, then lists every line of the string list in the memo and adds
    // it to the custom colours.
    void updateColorList();

    // The private string list (nothing in the program fills it).
    rtl::TStringList* ColorLines() const { return colorLines_.get(); }

private:
    std::unique_ptr<rtl::TStringList> colorLines_;
};
