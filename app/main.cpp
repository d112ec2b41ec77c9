// The program's main block: creates the start-up windows and runs the message loop.
#include "components/base/kitapp.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/ProcessSetup.h"
#include "platform/sys/LocaleStore.h"
#include "tools/ColorListDlg.h"
#include "viewer/FakeEZNECFile.h"
#include "viewer/FeldorU.h"
#include "viewer/MessExport.h"
#include "viewer/ProgInfo.h"

namespace {

void ProgramMain() {
    sys::LoadFormatSettingsFromLocale();
    // The component library's units (rich-edit formats, container, theme manager, application
    // object with its timer pool, theme library) live until the process ends, after every
    // window that may hold a timer of the pool or a reference to one of the container's lists.
    kit::KitLibraryInitialize();
    gui::Application->Initialize();
    gui::Application->SetTitle("Feldor");
    TFormFeldor* main = nullptr;
    gui::Application->CreateForm(main);
    gui::Application->CreateForm(FormMessExport);
    gui::Application->CreateForm(FormProgInfo);
    TFormFakeEZNECFile* fake = nullptr;
    gui::Application->CreateForm(fake);
    TFormColorListDlg* colorList = nullptr;
    gui::Application->CreateForm(colorList);
    main->afterAllCreated();
    gui::Application->Run();
}

}  // namespace

int main(int argc, char** argv) {
    // A save that meets the file-size limit or a closed pipe fails with its message.
    rtl::SetUpProcess();
    return gui::RunApplication(argc, argv, ProgramMain);
}
