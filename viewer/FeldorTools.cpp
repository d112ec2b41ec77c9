// Main window: help, links and tool launchers.
// Stand-in: the web links, the terms-of-use window and the coax, separator and system-information
// launchers are not built yet; their handlers are bound and do nothing. Help, the synthetic-file
// command, the limit table, the two calculators, the overlay colour item and the test menu are
// complete.
#include <memory>

#include "foundation/DebugLib.h"
#include "tools/FormLib.h"
#include "tools/ShellLib.h"
#include "viewer/FakeEZNECFile.h"
#include "viewer/FeldorU.h"

void TFormFeldor::MIHilfeClick(rtl::TObject*) { ShellOpenFile(FeldorU::ProgDir + "Hilfe.pdf"); }
void TFormFeldor::MICopyRightClick(rtl::TObject*) {}
void TFormFeldor::MIRAVKClick(rtl::TObject*) {}
void TFormFeldor::MIEZNECClick(rtl::TObject*) {}
void TFormFeldor::MINECWinProClick(rtl::TObject*) {}
void TFormFeldor::MI4Nec2Click(rtl::TObject*) {}
void TFormFeldor::MIMMANAClick(rtl::TObject*) {}
void TFormFeldor::MIFakeEZNECClick(rtl::TObject*) {
    std::unique_ptr<TFormFakeEZNECFile> Form(gui::CreateForm<TFormFakeEZNECFile>(nullptr));
    Form->InitialDir = FeldorU::EZNECDir;
    Form->ShowModal();
}
void TFormFeldor::MIDezimaltrennzeichenClick(rtl::TObject*) {}
void TFormFeldor::MISysInfoClick(rtl::TObject*) {}
void TFormFeldor::MIZweidrahtleitungClick(rtl::TObject*) { ShowZweidrahtleitung(); }
void TFormFeldor::MISchwingkreisClick(rtl::TObject*) { ShowSchwingkreis(); }
void TFormFeldor::MIBEMFVGrenzwerteClick(rtl::TObject*) { ShowGrenzwerttabelle(); }
void TFormFeldor::MIKoaxRechnerClick(rtl::TObject*) {}

void TFormFeldor::MIOvrLayColorClick(rtl::TObject*) { NotFinishedMessage(""); }
void TFormFeldor::MITestFormsClick(rtl::TObject*) { DebugNop(); }
void TFormFeldor::MITestRoutinesClick(rtl::TObject*) { DebugNop(); }
void TFormFeldor::MITestDialogsClick(rtl::TObject*) { DebugNop(); }
