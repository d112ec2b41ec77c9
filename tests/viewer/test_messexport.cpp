// The measured-values window: the grid built from the points, deleting one point or all of
// them (with the marks on the map), and the saved text table.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/cStrings.h"
#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

class MessExportTest : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        StartUp();
        m = FormMessExport;
        // Marks at 10 pixels per metre, world (0, 50) in the top-left corner.
        ScreenScale = 10;
        ScreenOriginX = 0;
        ScreenOriginY = 50;
    }
    // Points k = 1, 2, 3 at (10 k, 40): pixel (100 k, 100).
    void AddThree() {
        for (int k = 1; k <= 3; ++k)
            m->add("E [V/m]", 10.0 * k, 40, 2, k, 10.0 * k, 20.0 * k);
        form->MessPktUpdate(nullptr);
    }
    gdi::TColor PlayPixel(int x, int y) { return form->ImagePlay->Canvas()->Pixels(x, y); }
    bool CrossAt(int x, int y) {
        return PlayPixel(x + 5, y + 5) == ColorMessPkt && PlayPixel(x - 5, y + 5) == ColorMessPkt;
    }
    std::vector<std::string> Row(int r) const {
        std::vector<std::string> cells;
        for (int c = 0; c < m->SGExport->ColCount(); ++c) cells.push_back(m->SGExport->Cells(c, r));
        return cells;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    TFormMessExport* m = nullptr;
};

TEST_F(MessExportTest, WindowAndEmptyList) {
    EXPECT_EQ(m->Caption(), "Messwert-Export");
    EXPECT_EQ(m->ClientWidth(), 441);
    EXPECT_EQ(m->ClientHeight(), 313);
    EXPECT_EQ(m->ButClear->Caption(), "Liste löschen");
    EXPECT_EQ(m->ButDelete->Caption(), "Eintrag löschen");
    EXPECT_EQ(m->ButSave->Caption(), "Liste Speichern");
    const TBKStringGrid& g = *m->SGExport;
    EXPECT_EQ(g.ColCount(), 8);
    EXPECT_EQ(g.FixedCols(), 0);
    EXPECT_EQ(g.DefaultColWidth(), 50);
    EXPECT_EQ(g.DefaultRowHeight(), 16);
    EXPECT_EQ(m->nof(), 0);
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(Row(0), (std::vector<std::string>{"MP", "x [m]", "y [m]", "z [m]", "Feld", "%gwPS",
                                                "%gwHSM", ""}));
    EXPECT_EQ(m->InitialDir, "");
}

TEST_F(MessExportTest, GridRowsFormatEveryPoint) {
    m->add("E [V/m]", 1.5, -12, 2, 44.63, 100, -45.1);
    m->add("H [A/m]", -0.5, 19.96, -20, 0.12345, 1234.56, 0.05);
    ASSERT_EQ(m->nof(), 2);
    EXPECT_EQ(m->SGExport->RowCount(), 3);
    EXPECT_EQ(Row(1), (std::vector<std::string>{"MP    1", "  1,5", "-12,0", "  2,0", "44,6300",
                                                "100,0", "-45,1", "E [V/m]  "}));
    EXPECT_EQ(Row(2), (std::vector<std::string>{"MP    2", " -0,5", " 20,0", "-20,0", "0,1235",
                                                "1234,6", "  0,1", "H [A/m]  "}));

    // The count is the shortest number array; the unit labels are not counted.
    AppendDouble(m->x, 7);
    m->Text.SetLength(1);
    m->UpdateGrid(nullptr);
    EXPECT_EQ(m->nof(), 2);
    EXPECT_EQ(m->SGExport->RowCount(), 3);
    EXPECT_EQ(m->SGExport->Cells(7, 2), "");
    EXPECT_EQ(m->SGExport->Cells(1, 2), " -0,5");
}

TEST_F(MessExportTest, DeleteRemovesTheSelectedPointAndRenumbers) {
    AddThree();
    ASSERT_TRUE(CrossAt(100, 100) && CrossAt(200, 100) && CrossAt(300, 100));

    m->SGExport->SetRow(2);
    m->ButDelete->Click();
    ASSERT_EQ(m->nof(), 2);
    EXPECT_DOUBLE_EQ(m->x[0], 10);
    EXPECT_DOUBLE_EQ(m->x[1], 30);
    EXPECT_DOUBLE_EQ(m->gwHSM[1], 60);
    EXPECT_EQ(m->Text.Length(), 2);
    EXPECT_EQ(m->SGExport->RowCount(), 3);
    EXPECT_EQ(m->SGExport->Cells(0, 2), "MP    2");
    EXPECT_EQ(m->SGExport->Cells(1, 2), " 30,0");
    // The map's marks follow: the second cross is gone, the former third is now MP 2.
    EXPECT_TRUE(CrossAt(100, 100));
    EXPECT_FALSE(CrossAt(200, 100));
    EXPECT_TRUE(CrossAt(300, 100));

    // The heading row removes nothing.
    m->SGExport->SetRow(0);
    m->ButDeleteClick(nullptr);
    EXPECT_EQ(m->nof(), 2);

    // The last row, then the one left.
    m->SGExport->SetRow(2);
    m->ButDeleteClick(nullptr);
    m->SGExport->SetRow(1);
    m->ButDeleteClick(nullptr);
    EXPECT_EQ(m->nof(), 0);
    EXPECT_EQ(m->SGExport->RowCount(), 1);
    EXPECT_FALSE(CrossAt(100, 100));
    // Deleting from the empty list does nothing.
    m->ButDeleteClick(nullptr);
    EXPECT_EQ(m->nof(), 0);
}

TEST_F(MessExportTest, ClearEmptiesListAndMarks) {
    AddThree();
    m->ButClear->Click();
    EXPECT_EQ(m->nof(), 0);
    EXPECT_EQ(m->Text.Length(), 0);
    EXPECT_EQ(m->SGExport->RowCount(), 1);
    EXPECT_EQ(m->SGExport->Cells(0, 0), "MP");
    for (int x : {100, 200, 300}) EXPECT_FALSE(CrossAt(x, 100));
    EXPECT_EQ(PlayPixel(105, 105), gdi::clBlack);

    // The reset empties the list as well.
    AddThree();
    form->InitApplication();
    EXPECT_EQ(m->nof(), 0);
    EXPECT_EQ(m->SGExport->RowCount(), 1);
}

TEST_F(MessExportTest, SaveWritesThePaddedSemicolonTable) {
    m->add("E [V/m]", 1.5, -12, 2, 44.63, 100, -45.1);
    const std::string path = dir + "/liste.txt";
    presenter->fileAnswers.push_back({true, {path}, 1});
    m->ButSave->Click();

    ASSERT_EQ(presenter->fileDialogs.size(), 1u);
    const gui::FileDialogRequest& r = presenter->fileDialogs[0];
    EXPECT_EQ(r.kind, gui::FileDialogRequest::Kind::Save);
    EXPECT_EQ(r.fileName, "Messwertliste.txt");
    EXPECT_EQ(r.filter, "Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*");
    EXPECT_EQ(r.initialDir, "");
    EXPECT_TRUE(presenter->boxes.empty());

    const std::string text = ReadFile(path);
    EXPECT_EQ(text,
              "       MP ;    x [m] ;    y [m] ;    z [m] ;     Feld ;    %gwPS ;   %gwHSM ;"
              "          ;\r\n"
              "  MP    1 ;      1,5 ;    -12,0 ;      2,0 ;  44,6300 ;    100,0 ;    -45,1 ;"
              "E [V/m]   ;\r\n");

    // Read back as a spreadsheet would: ';' separates the cells, numbers use ','.
    const std::string line2 = text.substr(text.find("\r\n") + 2);
    const StringArray cells = StrSplitChar(line2.substr(0, line2.size() - 2), ';');
    ASSERT_EQ(cells.Length(), 9);
    EXPECT_DOUBLE_EQ(static_cast<double>(rtl::StrToFloat(cells[1])), 1.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(rtl::StrToFloat(cells[4])), 44.63);
    EXPECT_DOUBLE_EQ(static_cast<double>(rtl::StrToFloat(cells[6])), -45.1);
}

TEST_F(MessExportTest, CancelledSaveWritesNothingAndAFailingOneReportsTheError) {
    m->add("E [V/m]", 1, 2, 3, 4, 5, 6);
    m->ButSaveClick(nullptr);  // no answer queued: cancelled
    EXPECT_TRUE(presenter->boxes.empty());
    for (const auto& e : std::filesystem::directory_iterator(dir))
        EXPECT_NE(e.path().extension(), ".txt") << e.path();

    presenter->fileAnswers.push_back({true, {dir + "/fehlt/liste.txt"}, 1});
    EXPECT_THROW(m->ButSaveClick(nullptr), rtl::Exception);
    EXPECT_FALSE(std::filesystem::exists(dir + "/fehlt"));
}

}  // namespace
