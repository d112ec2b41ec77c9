#include "tools/FormLib.h"

#include <memory>

#include "platform/gui/Controls.h"
#include "platform/gui/Dialogs.h"
#include "tools/BooleanDialog.h"
#include "tools/DecimalSeperator.h"
#include "tools/KoaxCalc.h"
#include "tools/SysInfo.h"
#include "tools/Grenzwerttabelle.h"
#include "tools/Schwingkreis.h"
#include "tools/Zweidrahtleitung.h"

namespace {

// A tool window built under the wait cursor: some measure the processor's clock as they open.
// A modal one is shown after the cursor is back.
template <class Form>
Form* BuildWindow()
{
    gui::TWaitCursor wait;
    return gui::CreateForm<Form>(nullptr);
}

}  // namespace

bool ExecuteTextSaveDialog(std::string& FileName)
{
    gui::TSaveDialog Dialog(nullptr);
    Dialog.DefaultExt = "txt";
    Dialog.Filter = "Alle Dateien (*.*)|*.*|TextDateien (*.txt)|*.txt";
    Dialog.FilterIndex = 2;
    Dialog.FileName = FileName;
    const bool Confirmed = Dialog.Execute();
    FileName = Dialog.FileName;
    return Confirmed;
}

void ShowGrenzwerttabelle()
{
    std::unique_ptr<TFormGrenzwerttabelle> Form(BuildWindow<TFormGrenzwerttabelle>());
    Form->ShowModal();
}

bool AskYesNo(const std::string& Caption, const std::string& Question)
{
    std::unique_ptr<TFormBooleanDialog> Dialog(gui::CreateForm<TFormBooleanDialog>(nullptr));
    Dialog->SetCaption(Caption.empty() ? "Frage" : Caption);
    Dialog->LaFrage->SetCaption(Question);
    return Dialog->ShowModal() == gui::mrYes;
}

void ShowSchwingkreis()
{
    std::unique_ptr<TFormSchwingkreis> Form(BuildWindow<TFormSchwingkreis>());
    Form->ShowModal();
}

void ShowZweidrahtleitung()
{
    std::unique_ptr<TFormZweidrahtleitung> Form(BuildWindow<TFormZweidrahtleitung>());
    Form->ShowModal();
}

void ShowDecimalSeperator()
{
    std::unique_ptr<TFormDecimalSeperator> Form(BuildWindow<TFormDecimalSeperator>());
    Form->ShowModal();
}

void ShowSysInfo()
{
    static gui::TFormCascade cascade;
    gui::TWaitCursor wait;
    auto* form = gui::CreateForm<TFormSysInfo>(nullptr);
    cascade.Place(form);
    form->Show();
}

void ShowKoaxCalc()
{
    static gui::TFormCascade cascade;
    gui::TWaitCursor wait;
    auto* form = gui::CreateForm<TFormKoaxCalc>(nullptr);
    cascade.Place(form);
    form->Show();
}
