// Builds the bundled example field file: imports the nec2c report of the 20 m dipole through the
// program's own 4nec2 import command (with the geometry files beside it) and saves the result.
// Usage: make_example <report> <field file>
#include <cstdio>
#include <string>

#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "platform/sys/LocaleStore.h"
#include "tools/ColorListDlg.h"
#include "tools/Splash.h"
#include "viewer/FakeEZNECFile.h"
#include "viewer/FeldorU.h"
#include "viewer/MessExport.h"
#include "viewer/ProgInfo.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_example <report> <field file>\n");
        return 2;
    }
    const std::string report = argv[1];
    const std::string target = argv[2];
    int code = 0;
    // Only the program name: afterAllCreated would open a first argument as a field file.
    gui::RunApplication(1, argv, [&] {
      try {
        // The program's own separators, whatever this machine's locale says.
        char dir[] = "/tmp/feldor-example-XXXXXX";
        sys::SetLocaleStoreDirectory(mkdtemp(dir));
        sys::SetLocaleSeparators({',', '.', ';', '.'});
        sys::LoadFormatSettingsFromLocale();
        FeldorU::ProgDirOverride = std::string(dir) + "/";
        TFormSplash::MaxDisplayTime = 0;
        gui::ScriptedPresenter presenter;
        gui::Application->SetTitle("Feldor");
        TFormFeldor* form = nullptr;
        gui::Application->CreateForm(form);
        gui::Application->CreateForm(FormMessExport);
        gui::Application->CreateForm(FormProgInfo);
        form->afterAllCreated();

        gui::FileDialogResult chosen;
        chosen.accepted = true;
        chosen.files = {report};
        presenter.fileAnswers.push_back(chosen);
        form->MI4nec2open->Click();
        form->CBBand->SetItemIndex(form->CBBand->Items()->IndexOf("20m"));  // the dipole's band
        form->CBBandChange(form->CBBand);
        form->SaveFDRDatei(target);
        std::printf("%d points, planes E %d H %d Z %d, power %g W -> %s\n", FeldorU::PointCount(),
                    FeldorU::HasEPlanes, FeldorU::HasHPlanes, FeldorU::HasZPlanes, FeldorU::Power,
                    target.c_str());
        for (const auto& box : presenter.boxes) std::printf("box: %s\n", box.text.c_str());
        if (!presenter.boxes.empty()) code = 1;
      } catch (const std::exception& e) {
        std::fprintf(stderr, "make_example: %s\n", e.what());
        code = 1;
      }
    });
    return code;
}
