// Main window: help, links, the terms of use and the tool launchers.
#include <memory>

#include "foundation/DebugLib.h"
#include "tools/CopyRight.h"
#include "tools/FormLib.h"
#include "tools/ShellLib.h"
#include "viewer/FakeEZNECFile.h"
#include "viewer/FeldorTools.h"
#include "viewer/FeldorU.h"

void TFormFeldor::MIHilfeClick(rtl::TObject*) { ShellOpenFile(FeldorU::ProgDir + "Hilfe.pdf"); }
void TFormFeldor::MICopyRightClick(rtl::TObject*) {
    auto* Form = new TFormCopyRight(this);
    Form->CaptionText = "Feldor: Nutzungsbedingungen";
    Form->Execute();
}
void TFormFeldor::MIRAVKClick(rtl::TObject*) { ShellOpen(FeldorTools::UrlRAVK); }
void TFormFeldor::MIEZNECClick(rtl::TObject*) { ShellOpen(FeldorTools::UrlEZNEC); }
void TFormFeldor::MINECWinProClick(rtl::TObject*) { ShellOpen(FeldorTools::UrlNECWinPro); }
void TFormFeldor::MI4Nec2Click(rtl::TObject*) { ShellOpen(FeldorTools::Url4Nec2); }
void TFormFeldor::MIMMANAClick(rtl::TObject*) { ShellOpen(FeldorTools::UrlMMANA); }
void TFormFeldor::MIFakeEZNECClick(rtl::TObject*) {
    std::unique_ptr<TFormFakeEZNECFile> Form(gui::CreateForm<TFormFakeEZNECFile>(nullptr));
    Form->InitialDir = FeldorU::EZNECDir;
    Form->ShowModal();
}
void TFormFeldor::MIDezimaltrennzeichenClick(rtl::TObject*) { ShowDecimalSeperator(); }
void TFormFeldor::MISysInfoClick(rtl::TObject*) { ShowSysInfo(); }
void TFormFeldor::MIZweidrahtleitungClick(rtl::TObject*) { ShowZweidrahtleitung(); }
void TFormFeldor::MISchwingkreisClick(rtl::TObject*) { ShowSchwingkreis(); }
void TFormFeldor::MIBEMFVGrenzwerteClick(rtl::TObject*) { ShowGrenzwerttabelle(); }
void TFormFeldor::MIKoaxRechnerClick(rtl::TObject*) { ShowKoaxCalc(); }

void TFormFeldor::MIOvrLayColorClick(rtl::TObject*) { NotFinishedMessage(""); }
void TFormFeldor::MITestFormsClick(rtl::TObject*) { DebugNop(); }
void TFormFeldor::MITestRoutinesClick(rtl::TObject*) { DebugNop(); }
void TFormFeldor::MITestDialogsClick(rtl::TObject*) { DebugNop(); }
