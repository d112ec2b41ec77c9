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
    for (int i = 1; i <= 60; ++i) {
        memo->Lines()->Add("Zeile " + std::to_string(i));
        EXPECT_EQ(edit->textCursor().block().text(), QString::fromStdString("Zeile " + std::to_string(i)));
        EXPECT_TRUE(lineOnView()) << i;
    }
    EXPECT_GT(bar->value(), 40);
    // A line inserted near the top is scrolled to as well.
    memo->Lines()->Insert(1, "eingefügt");
    EXPECT_EQ(edit->textCursor().block().text(), QStringLiteral("eingefügt"));
    EXPECT_TRUE(lineOnView());
    EXPECT_LE(bar->value(), 1);
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
