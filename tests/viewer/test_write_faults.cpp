// Every file the viewer saves, through the table of write faults (full disk at several levels,
// a file-size limit, a read-only folder, a read-only file): the old file stays byte for byte,
// nothing is left beside it, and one error box names the file and the reason.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "tests/support/WriteFaults.h"
#include "viewer/FakeEZNECFile.h"
#include "viewer/Vertikal.h"
#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

class WriteFaultsTest : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        StartUp();
    }
    // Three E planes on a 21 x 31 grid, the first one shown on the map.
    void ShowField() {
        for (double z : {2.0, 5.0, 8.0})
            for (int j = -10; j <= 20; ++j)
                for (int i = -10; i <= 10; ++i) AppendFieldPoint(i, j, z, 1 + (i + 10) + 0.5 * (j + 10) + z, 1, 2, 3);
        ShowFirstEPlane();
        form->RGBezug->SetItemIndex(0);
    }
    void Choose(const std::string& path) { presenter->fileAnswers.push_back({true, {path}, 2}); }
    // Runs a command as the user's click does and returns the one error box it showed ("" for
    // none); an error escaping the command counts as well.
    template <class F>
    std::string ErrorShown(rtl::TObject* sender, F&& command) {
        const std::size_t first = presenter->boxes.size();
        gui::InvokeHandler(sender, std::forward<F>(command));
        std::vector<std::string> errors;
        for (std::size_t i = first; i < presenter->boxes.size(); ++i)
            if (presenter->boxes[i].type == gui::TMsgDlgType::mtError) errors.push_back(presenter->boxes[i].text);
        if (errors.size() > 1) return std::to_string(errors.size()) + " error boxes, the first: " + errors[0];
        return errors.empty() ? std::string() : errors[0];
    }
};

TEST_F(WriteFaultsTest, EveryFileTheViewerSavesKeepsItsOldFileAndNamesTheFault) {
    ShowField();
    FormMessExport->add("E [V/m]", 1.5, -2, 2, 44.63, 100, 45.1);
    form->MIVerticalClick(nullptr);
    TFormVertikal* section = nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* s = dynamic_cast<TFormVertikal*>(form->Components(i))) section = s;
    ASSERT_NE(section, nullptr);
    std::unique_ptr<TFormFakeEZNECFile> fake(gui::CreateForm<TFormFakeEZNECFile>(nullptr));
    fake->ButErzeugenClick(nullptr);

    const std::vector<writefaults::FileKind> kinds = {
        {.name = "field file",
         .chosen = "feld.fdr",
         .save = [&](const std::string& f) {
             Choose(f);
             return ErrorShown(form, [&] { form->MISaveAsClick(nullptr); });
         }},
        {.name = "Grafik speichern",
         .chosen = "Draufsicht.bmp",
         .save = [&](const std::string& f) {
             Choose(f);
             return ErrorShown(form, [&] { form->MISavePictureClick(nullptr); });
         }},
        {.name = "Einzelbilder",
         .chosen = "plan.bmp",
         .files = [](const std::string& c) {
             const std::string base = c.substr(0, c.size() - 4);
             return std::vector<std::string>{base + " Feld.bmp", base + " Ovl.bmp", base + " MPs.bmp"};
         },
         .save = [&](const std::string& f) {
             Choose(f);
             return ErrorShown(form, [&] { form->MIEinzelbilderSpeichernClick(nullptr); });
         }},
        {.name = "section picture",
         .chosen = "Seitenansicht.bmp",
         .save = [&](const std::string& f) {
             Choose(f);
             return ErrorShown(section, [&] { section->MISavePictureClick(nullptr); });
         }},
        {.name = "Liste Speichern",
         .chosen = "Messwertliste.txt",
         .save = [&](const std::string& f) {
             Choose(f);
             return ErrorShown(FormMessExport, [&] { FormMessExport->ButSave->Click(); });
         }},
        {.name = "Feldor.ini",
         .chosen = "Feldor.ini",
         .save = [&](const std::string& f) {
             const std::string saved = ProgDir;
             ProgDir = rtl::ExtractFilePath(f);
             gui::TCloseAction action = gui::caHide;
             const std::string shown = ErrorShown(form, [&] { form->FormClose(form, action); });
             ProgDir = saved;
             return shown;
         }},
        {.name = "Fake-EZNEC",
         .chosen = "E.txt",
         .save = [&](const std::string& f) {
             Choose(f);
             return ErrorShown(fake.get(), [&] { fake->ButSave->Click(); });
         }},
    };
    for (const writefaults::FileKind& kind : kinds) writefaults::CheckWriteFaults(kind, dir + "/" + kind.chosen + ".d");
}

}  // namespace
