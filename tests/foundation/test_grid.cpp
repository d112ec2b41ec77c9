// The sortable string grid and the grid export helpers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "foundation/BKStringGrid.h"
#include "foundation/StringGridUtilsLib.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"

namespace {

class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<gui::TApplication>();
        form = new gui::TForm(app.get());
        grid = new TBKStringGrid(form);
        grid->SetParent(form);
    }
    void TearDown() override { app.reset(); }

    // One data row per text, in column 1 (column 0 is the fixed row-number column, column 2
    // carries a tag that must travel with its row; blank for a blank text).
    void Fill(const std::vector<std::string>& texts) {
        grid->SetColCount(3);
        grid->SetRowCount(static_cast<int>(texts.size()) + 1);
        for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
            grid->SetCells(0, i + 1, std::to_string(i + 1));
            grid->SetCells(1, i + 1, texts[i]);
            grid->SetCells(2, i + 1, IsBlankText(texts[i]) ? texts[i] : "#" + texts[i]);
        }
    }
    std::vector<std::string> Column(int col) const {
        std::vector<std::string> v;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r) v.push_back(grid->Cells(col, r));
        return v;
    }

    gui::ScriptedPresenter presenter;
    std::unique_ptr<gui::TApplication> app;
    gui::TForm* form = nullptr;
    TBKStringGrid* grid = nullptr;
};

using Texts = std::vector<std::string>;

TEST_F(GridTest, Defaults) {
    EXPECT_FALSE(grid->CaseSensitive);
    EXPECT_FALSE(grid->SortByFixedCol);
    EXPECT_TRUE(grid->BlanksDown);
    EXPECT_TRUE(grid->Encryption);
    EXPECT_EQ(grid->Filename, "TBKStringGrid.txt");
    EXPECT_EQ(grid->EncryptionComponent().Key(), "kLpvuhes");
    grid->SetEncryptionKey("");
    EXPECT_EQ(grid->EncryptionComponent().Key(), "kLpvuhes");
    grid->SetEncryptionKey("geheim");
    EXPECT_EQ(grid->EncryptionComponent().Key(), "geheim");
}

TEST_F(GridTest, SortsAscendingAndDescendingWithBlanksDown) {
    int asc = 0, desc = 0;
    grid->OnSortedAsc = [&](rtl::TObject* s) { EXPECT_EQ(s, grid); ++asc; };
    grid->OnSortedDesc = [&](rtl::TObject*) { ++desc; };

    Fill({"b", "", "a", " "});
    grid->SortByColumn(1, 1);
    EXPECT_EQ(Column(1), (Texts{"a", "b", "", " "}) ) << "blank rows keep the sorted order";
    EXPECT_EQ(Column(2), (Texts{"#a", "#b", "", " "}));
    EXPECT_EQ(Column(0), (Texts{"1", "2", "3", "4"})) << "the fixed column stays";
    EXPECT_EQ(asc, 1);
    EXPECT_EQ(desc, 0);

    Fill({"b", "", "a", " "});
    grid->SortByColumn(1, 0);
    EXPECT_EQ(Column(1), (Texts{"b", "a", " ", ""}));
    EXPECT_EQ(desc, 1);

    // Without BlanksDown the blank rows stay where the sort puts them (first).
    grid->BlanksDown = false;
    Fill({"b", "", "a", " "});
    grid->SortByColumn(1, 1);
    EXPECT_EQ(Column(1), (Texts{"", " ", "a", "b"}));
}

TEST_F(GridTest, CompareTextOrCharacterCodes) {
    Fill({"a10", "a9", "A1"});
    grid->SortByColumn(1, 1);
    EXPECT_EQ(Column(1), (Texts{"A1", "a10", "a9"})) << "numbers compare as text";

    Fill({"c", "B", "a"});
    grid->SortByColumn(1, 1);
    EXPECT_EQ(Column(1), (Texts{"a", "B", "c"}));
    grid->CaseSensitive = true;
    Fill({"c", "B", "a"});
    grid->SortByColumn(1, 1);
    EXPECT_EQ(Column(1), (Texts{"B", "a", "c"}));
}

TEST_F(GridTest, LongerColumnsSortCompletely) {
    std::vector<std::string> texts;
    for (int i = 0; i < 200; ++i) texts.push_back(std::to_string((i * 7919) % 1000 + 1000));
    Fill(texts);
    grid->SortByColumn(1, 1);
    std::vector<std::string> sorted = texts;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(Column(1), sorted);
    for (int r = 1; r < grid->RowCount(); ++r)
        EXPECT_EQ(grid->Cells(2, r), "#" + grid->Cells(1, r));
}

TEST_F(GridTest, FixedColumnOnlyWithSortByFixedCol) {
    Fill({"b", "a"});
    grid->SetCells(0, 1, "z");
    grid->SetCells(0, 2, "y");
    try {
        grid->SortByColumn(0, 1);
        FAIL() << "EWrongCol expected";
    } catch (const EWrongCol& e) {
        EXPECT_EQ(e.Message,
                  "You cannot sort by one of the fixed columns when the SortByFixedCol property "
                  "is set to false.");
    }
    EXPECT_EQ(Column(0), (Texts{"z", "y"}));
    EXPECT_EQ(Column(1), (Texts{"b", "a"}));

    grid->SortByFixedCol = true;
    grid->SortByColumn(0, 1);
    EXPECT_EQ(Column(0), (Texts{"y", "z"}));
    EXPECT_EQ(Column(1), (Texts{"a", "b"})) << "the rows move with the fixed column";
}

TEST_F(GridTest, UserEditIsReportedOnceWhenItChangedTheText) {
    std::vector<std::tuple<int, int, std::string>> changes;
    grid->OnUserChangedCell = [&](rtl::TObject*, int c, int r, const std::string& v) {
        changes.emplace_back(c, r, v);
    };
    Fill({"alt", "zwei"});
    grid->SetOptions(grid->Options() | gui::goEditing);
    form->Show();
    grid->SetCol(1);
    grid->SetRow(1);

    auto edit = [&](const std::string* newText) {
        grid->SetEditorMode(true);
        ASSERT_TRUE(grid->EditorMode());
        // The newest line edit: a closed editor may still wait for its deferred deletion.
        const auto editors = grid->Widget()->findChildren<QLineEdit*>();
        ASSERT_FALSE(editors.isEmpty());
        QLineEdit* editor = editors.last();
        if (newText) editor->setText(QString::fromStdString(*newText));
        // The user ends the edit with Enter.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(editor, &press);
        app->ProcessMessages();  // the editor closes through a queued call
        EXPECT_FALSE(grid->EditorMode());
    };
    const std::string neu = "neu";
    edit(&neu);
    EXPECT_EQ(grid->Cells(1, 1), "neu");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], std::make_tuple(1, 1, std::string("neu")));

    edit(nullptr);  // opened and closed without a change
    EXPECT_EQ(changes.size(), 1u);
}

TEST_F(GridTest, SaveToFilePadsCellsAndSkipsLastRows) {
    grid->SetColCount(2);
    grid->SetRowCount(4);
    StringGridClear(*grid);
    StringGridSetHeader(*grid, "Band;PS;ignored");
    grid->SetCells(0, 1, "80m");
    grid->SetCells(1, 1, "28,0");
    grid->SetCells(0, 2, "Länge");
    grid->SetCells(1, 2, "zehnstellig");
    grid->SetCells(0, 3, "Summe");
    grid->SetCells(1, 3, "x");

    const std::string file = std::filesystem::temp_directory_path() / "feldor_grid_test.txt";
    StringGridSaveToFile(*grid, file, 1);
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_EQ(ss.str(),
              "     Band ;       PS ;\r\n"
              "      80m ;     28,0 ;\r\n"
              "    Länge ;zehnstellig ;\r\n");
    std::filesystem::remove(file);

    EXPECT_THROW(StringGridSaveToFile(*grid, "/nonexistent-dir/grid.txt", 0), rtl::EStreamError);
}

TEST_F(GridTest, ClearEmptiesFixedCellsToo) {
    Fill({"a"});
    grid->SetCells(0, 0, "Nr");
    StringGridClear(*grid);
    for (int r = 0; r < grid->RowCount(); ++r)
        for (int c = 0; c < grid->ColCount(); ++c) EXPECT_EQ(grid->Cells(c, r), "");
}

TEST_F(GridTest, ClipboardTextIsTabSeparated) {
    grid->SetColCount(3);
    grid->SetRowCount(2);
    StringGridSetHeader(*grid, "A;B;C");
    grid->SetCells(0, 1, "1");
    grid->SetCells(2, 1, "3");
    StringGridCopyToClipboard(*grid);
    EXPECT_EQ(gui::Clipboard()->AsText(), "A\tB\tC\r\n1\t\t3\r\n");

    grid->SetColCount(1);
    StringGridCopyToClipboard(*grid);
    EXPECT_EQ(gui::Clipboard()->AsText(), "A\r\n1\r\n");
}

TEST(BlankText, ControlCharactersAndDeleteAreBlank) {
    EXPECT_TRUE(IsBlankText(""));
    EXPECT_TRUE(IsBlankText(" \t\x7F"));
    EXPECT_FALSE(IsBlankText(" a "));
    EXPECT_FALSE(IsBlankText("\xC3\xA4"));
}

}  // namespace
