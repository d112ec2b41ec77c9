// Builds the bundled example field file: imports the nec2c report of the 20 m dipole through the
// program's own 4nec2 import command (with the geometry files beside it), chooses the dipole's
// band and saves the result.
// Usage: make_example <report> <field file>
#include <cstdio>
#include <string>

#include "tests/support/HeadlessViewer.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_example <report> <field file>\n");
        return 2;
    }
    const std::string report = argv[1];
    const std::string target = argv[2];
    // Only the program name on the command line: the start-up would open a first argument as a
    // field file.
    rtl::SetCommandLine(1, argv);
    try {
        HeadlessViewer viewer;
        viewer.StartUp();
        TFormFeldor* form = viewer.form;
        gui::FileDialogResult chosen;
        chosen.accepted = true;
        chosen.files = {report};
        viewer.presenter->fileAnswers.push_back(chosen);
        form->MI4nec2open->Click();
        form->CBBand->SetItemIndex(form->CBBand->Items()->IndexOf("20m"));
        form->CBBandChange(form->CBBand);
        form->SaveFDRDatei(target);
        for (const auto& box : viewer.presenter->boxes)
            std::fprintf(stderr, "make_example: %s\n", box.text.c_str());
        if (!viewer.presenter->boxes.empty()) return 1;
        std::printf("%d points, power %g W -> %s\n", FeldorU::PointCount(), FeldorU::Power,
                    target.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_example: %s\n", e.what());
        return 1;
    }
    return 0;
}
