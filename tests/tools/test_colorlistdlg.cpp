// The colour-list dialog: its colour list box with every option, and the listing on activation.
#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/ColorDialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "tools/ColorListDlg.h"

TEST(ColorListDlg, ListsItsLinesAsCustomColours) {
    gui::ScriptedPresenter presenter;
    gui::TApplication app;
    std::unique_ptr<TFormColorListDlg> f(gui::CreateForm<TFormColorListDlg>(nullptr));
    EXPECT_EQ(f->Caption(), "FormColorListDlg");
    EXPECT_EQ(f->Memo->Lines()->Count(), 0);  // "Memo" is cleared on creation
    EXPECT_EQ(f->clbColorList->Options(), kit::coDefaultColors | kit::coSystemColors |
                                              kit::coCustomColors | kit::coAllowAnyColor |
                                              kit::coAllowDialog);
    EXPECT_EQ(f->clbColorList->DlgOptions, gui::cdSolidColor | gui::cdAnyColor);

    f->ColorLines()->Add("Hellrot=8080FF");
    f->ColorLines()->Add("Dunkelblau=800000");
    f->FormActivate(f.get());
    ASSERT_EQ(f->Memo->Lines()->Count(), 2);
    EXPECT_EQ(f->Memo->Lines()->Get(0), "k: 0-->Hellrot=8080FF");
    EXPECT_EQ(f->Memo->Lines()->Get(1), "k: 1-->Dunkelblau=800000");
    const rtl::TStringList* custom = f->clbColorList->CustomColors();
    EXPECT_GE(custom->IndexOf("Hellrot=8080FF"), 0);
    EXPECT_GE(custom->IndexOf("Dunkelblau=800000"), 0);
}
