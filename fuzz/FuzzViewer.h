// A headless viewer and the program's own entry points for every file it reads, shared by the
// fuzz targets and the regression test of their findings. Each Feed* runs what a user's command
// runs on a file with the given bytes; it returns normally or with an rtl::Exception (what the
// application object would show in its error box), anything else is a fault.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "platform/rtl/SysUtils.h"
#include "tests/support/HeadlessViewer.h"
#include "viewer/FeldorU.h"

namespace fuzzviewer {

enum class Target { Eznec, NecWin, FourNec2, MMana, Geometry, FieldFile, Ini };

struct TargetName {
    Target target;
    const char* name;  // folder of the target's findings under tests/data/fuzz
};
inline constexpr TargetName kTargets[] = {
    {Target::Eznec, "eznec"},       {Target::NecWin, "necwin"},        {Target::FourNec2, "4nec2"},
    {Target::MMana, "mmana"},       {Target::Geometry, "geometry"},    {Target::FieldFile, "fdr"},
    {Target::Ini, "ini"},
};

inline void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The viewer's start-up windows (see tests/support/HeadlessViewer.h), started with no
// command-line file, with folders for the fed files.
class HeadlessViewer : public ::HeadlessViewer {
public:
    HeadlessViewer() {
        std::filesystem::create_directories(dir + "/in");
        std::filesystem::create_directories(dir + "/geo");
        static char arg0[] = "feldor";
        static char* argv[] = {arg0, nullptr};
        rtl::SetCommandLine(1, argv);
        StartUp();
    }

    TFormFeldor& Form() { return *form; }
    gui::ScriptedPresenter& Presenter() { return *presenter; }
    const std::string& Dir() const { return dir; }
    std::string IniPath() const { return dir + "/Feldor.ini"; }

    // Forgets what the previous run asked and answered.
    void ResetPresenter() {
        presenter->boxAnswers.clear();
        presenter->fileAnswers.clear();
        presenter->boxes.clear();
        presenter->fileDialogs.clear();
        presenter->modalForms.clear();
    }
    // The next file dialog picks path.
    void ChooseFile(const std::string& path) {
        gui::FileDialogResult r;
        r.accepted = true;
        r.files = {path};
        presenter->fileAnswers.push_back(r);
    }
};

// A small EZNEC near-field file: the field the geometry files are imported with.
inline constexpr std::string_view kSmallEznecField =
    "EZNEC near field\n"
    "Frequency = 14 MHz\n"
    "Power = 100 W\n"
    "Electric Field\n"
    "X (m)  Y (m)  Z (m)  Ex  Ey  Ez  E\n"
    "-1.0 0.0 2.0 1.0 0.0 0.0 1.0\n"
    "0.0 0.0 2.0 2.0 0.0 0.0 2.0\n"
    "1.0 0.0 2.0 1.0 0.0 0.0 1.0\n"
    "-1.0 1.0 2.0 1.0 0.0 0.0 1.0\n"
    "0.0 1.0 2.0 3.0 0.0 0.0 3.0\n"
    "1.0 1.0 2.0 1.0 0.0 0.0 1.0\n";

// One of the four near-field imports: the menu command with the file chosen in its dialog.
inline void FeedNearField(HeadlessViewer& v, Target t, std::string_view bytes) {
    const std::string file = v.Dir() + "/in/nahfeld.txt";
    WriteFile(file, bytes);
    v.ChooseFile(file);
    TFormFeldor& f = v.Form();
    switch (t) {
        case Target::Eznec: f.MIEZNECOpenClick(nullptr); break;
        case Target::NecWin: f.MINecWinOpenClick(nullptr); break;
        case Target::FourNec2: f.MI4nec2openClick(nullptr); break;
        default: f.MIMMANAOpenClick(nullptr); break;
    }
}

// "Antenne.txt" and "Boden.txt" beside an EZNEC file that is imported, as the import command
// reads them, then the reload command on the same folder and "Zeigen" (the overlay).
inline void FeedGeometry(HeadlessViewer& v, std::string_view bytes) {
    const std::string geo = v.Dir() + "/geo/";
    WriteFile(geo + "Antenne.txt", bytes);
    WriteFile(geo + "Boden.txt", bytes);
    WriteFile(geo + "nahfeld.txt", kSmallEznecField);
    v.ChooseFile(geo + "nahfeld.txt");
    TFormFeldor& f = v.Form();
    try {
        f.MIEZNECOpenClick(nullptr);
    } catch (const rtl::Exception&) {
    }
    FeldorU::EZNECDir = geo;
    f.MINachladenClick(nullptr);
    f.UpdatePicture(&f);
    f.ButZeigenClick(nullptr);
}

// The field file through "&Öffnen", then "Zeigen" (its antenna and ground overlay).
inline void FeedFieldFile(HeadlessViewer& v, std::string_view bytes) {
    const std::string file = v.Dir() + "/in/feld.fdr";
    WriteFile(file, bytes);
    v.ChooseFile(file);
    v.Form().MIOeffnenClick(nullptr);
    v.Form().ButZeigenClick(nullptr);
}

// The settings file read at start-up, on the windows that exist (building them anew for every
// input made this the slowest target by far): the main window reads it as its FormCreate does,
// and afterAllCreated places and shows the windows by it. A start-up that fails runs once more
// without the file, so that the next input finds the windows as at a normal start.
inline void StartUpOnSettings(HeadlessViewer& v) {
    v.Form().ReadSettings();
    v.Form().afterAllCreated();
    gui::Application->ProcessMessages();
}

inline void FeedIni(HeadlessViewer& v, std::string_view bytes) {
    WriteFile(v.IniPath(), bytes);
    try {
        StartUpOnSettings(v);
    } catch (...) {
        std::filesystem::remove(v.IniPath());
        StartUpOnSettings(v);
        throw;
    }
    std::filesystem::remove(v.IniPath());
}

inline void Feed(HeadlessViewer& v, Target t, std::string_view bytes) {
    v.ResetPresenter();
    switch (t) {
        case Target::Eznec:
        case Target::NecWin:
        case Target::FourNec2:
        case Target::MMana: FeedNearField(v, t, bytes); break;
        case Target::Geometry: FeedGeometry(v, bytes); break;
        case Target::FieldFile: FeedFieldFile(v, bytes); break;
        case Target::Ini: FeedIni(v, bytes); break;
    }
}

}  // namespace fuzzviewer
