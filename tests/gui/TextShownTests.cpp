// What the user reads: menu lines, the newest memo line, values in narrow edits and grid cells,
// window captions, Qt's own texts, and the default font.
#include <QAction>
#include <QFontInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTextBlock>
#include <QWindow>

#include "platform/gui/Grids.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

class guiTextShown : public GuiFixture {
protected:
    TForm* form = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->Show();
    }
};

TEST_F(guiTextShown, MenuLineIsAPlainSeparator) {
    auto* menu = new TMainMenu(form);
    auto* file = new TMenuItem(form);
    file->SetCaption("&Datei");
    menu->Items()->Add(file);
    auto* line = new TMenuItem(form);
    line->SetCaption("-");
    file->Add(line);
    EXPECT_TRUE(line->Action()->isSeparator());
    EXPECT_TRUE(line->Action()->text().isEmpty());  // the style would draw "-" in the line
    EXPECT_EQ(line->Caption(), "-");
    // A caption set later makes it an ordinary item again.
    line->SetCaption("&Beenden");
    EXPECT_FALSE(line->Action()->isSeparator());
    EXPECT_EQ(line->Action()->text(), QStringLiteral("&Beenden"));
}

TEST_F(guiTextShown, MemoScrollsToTheLineItAdds) {
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    memo->SetBounds(0, 0, 200, 80);
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    memo->Show();
    auto* edit = static_cast<QPlainTextEdit*>(memo->Widget());
    QScrollBar* bar = edit->verticalScrollBar();
    const auto lineOnView = [edit] { return edit->viewport()->rect().contains(edit->cursorRect()); };
    // One line per turn of the event loop: each is scrolled to when the turn ends.
    for (int i = 1; i <= 60; ++i) {
        memo->Lines()->Add("Zeile " + std::to_string(i));
        QCoreApplication::processEvents();
        EXPECT_EQ(edit->textCursor().block().text(), QString::fromStdString("Zeile " + std::to_string(i)));
        EXPECT_TRUE(lineOnView()) << i;
    }
    EXPECT_GT(bar->value(), 40);
    // A line inserted near the top is scrolled to at once.
    memo->Lines()->Insert(1, "eingefügt");
    EXPECT_EQ(edit->textCursor().block().text(), QStringLiteral("eingefügt"));
    EXPECT_TRUE(lineOnView());
    EXPECT_LE(bar->value(), 1);
}

TEST_F(guiTextShown, MemoTakesTheLinesOfOneTurnInOneEdit) {
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    memo->SetBounds(0, 0, 200, 80);
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    memo->Show();
    int changes = 0;
    memo->OnChange = [&](rtl::TObject*) { ++changes; };
    auto* edit = static_cast<QPlainTextEdit*>(memo->Widget());
    int edits = 0;
    QObject::connect(edit->document(), &QTextDocument::contentsChanged, [&] { ++edits; });
    rtl::TStrings* lines = memo->Lines();
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        edits = 0;
        changes = 0;
        for (int i = 0; i < 500; ++i) lines->Add("Zeile " + std::to_string(round) + "." + std::to_string(i));
        // Every line can be read at once, and OnChange ran for each.
        EXPECT_EQ(changes, 500);
        ASSERT_EQ(lines->Count(), 500 * round);
        EXPECT_EQ(lines->Get(500 * round - 1), "Zeile " + std::to_string(round) + ".499");
        EXPECT_EQ(lines->Get(500 * (round - 1)), "Zeile " + std::to_string(round) + ".0");
        EXPECT_EQ(edits, 1);
        lines->Add("nach dem Lesen");
        lines->Delete(lines->Count() - 1);
        QCoreApplication::processEvents();
        EXPECT_EQ(edits, 3);  // the line added after the read went in before the deletion
        EXPECT_EQ(changes, 502);
    }
    // Lines of one turn go in together when the turn ends; the memo then shows the last one.
    edits = 0;
    for (int i = 0; i < 300; ++i) lines->Add("Ende " + std::to_string(i));
    EXPECT_EQ(edits, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(edit->textCursor().block().text(), QStringLiteral("Ende 299"));
    EXPECT_TRUE(edit->viewport()->rect().contains(edit->cursorRect()));
    EXPECT_GT(edit->verticalScrollBar()->value(), 1000);
    EXPECT_EQ(memo->Text().substr(memo->Text().size() - 10), "Ende 299\r\n");
    // Lines waiting for the turn's end go with a new text or a clearing.
    lines->Add("verworfen");
    memo->SetText("neu\r\n");
    QCoreApplication::processEvents();
    EXPECT_EQ(memo->Text(), "neu\r\n");
    lines->Add("auch verworfen");
    lines->Clear();
    QCoreApplication::processEvents();
    EXPECT_EQ(lines->Count(), 0);
    EXPECT_EQ(memo->Text(), "");
}

TEST_F(guiTextShown, ReadOnlyEditShowsAValueFromItsStart) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(0, 0, 30, 22);
    edit->SetAlignment(taRightJustify);
    edit->SetReadOnly(true);
    edit->Show();
    edit->SetText("0,07300 A/m");
    auto* line = static_cast<QLineEdit*>(edit->Widget());
    EXPECT_EQ(line->cursorPosition(), 0);  // the leading digits are on view, the end is clipped
    // An editable edit keeps the caret at the end, for typing on.
    edit->SetReadOnly(false);
    edit->SetText("123");
    EXPECT_EQ(line->cursorPosition(), 3);
}

TEST_F(guiTextShown, GridCellsAndHeadingsClipInsteadOfEliding) {
    auto* grid = new TStringGrid(form);
    grid->SetParent(form);
    auto* view = static_cast<QTableView*>(grid->Widget());
    EXPECT_EQ(view->textElideMode(), Qt::ElideNone);
    EXPECT_EQ(view->horizontalHeader()->textElideMode(), Qt::ElideNone);
    EXPECT_EQ(view->verticalHeader()->textElideMode(), Qt::ElideNone);
}

TEST_F(guiTextShown, UntitledWindowsAreCaptionedWithTheApplicationTitle) {
    app.SetTitle("Feldor");
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Feldor"));
}

TEST_F(guiTextShown, QtsOwnTextsAreGerman) {
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Suchen in:"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
}

TEST_F(guiTextShown, DefaultFontIsInstalledAndNoWiderThanTheLayoutsAssume) {
    // The layouts were made for a font of 6-pixel digits and letters 6 pixels wide on average.
    const QFont f = QApplication::font();
    EXPECT_EQ(QFontInfo(f).family(), QStringLiteral("PT Sans Narrow"));
    EXPECT_EQ(f.pixelSize(), 11);
    const QFontMetrics fm(f);
    EXPECT_LE(fm.horizontalAdvance(QStringLiteral("0123456789")), 60);
    EXPECT_LE(fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
              52 * 6);
}

TEST_F(guiTextShown, PaintNowPutsAJustShownWindowOnTheScreen) {
    auto* f = CreateForm<TForm>(&app);
    f->SetBorderStyle(bsToolWindow);
    f->Show();
    f->PaintNow();
    EXPECT_TRUE(f->Widget()->windowHandle()->isExposed());
    f->Hide();
    f->PaintNow();  // a hidden window waits for nothing
    EXPECT_FALSE(f->Visible());
}
