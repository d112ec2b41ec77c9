// File dialogs through the presenter, the boxes' width, the clipboard.
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <string>

#include "platform/gui/Clipbrd.h"
#include "platform/gui/Dialogs.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

class guiDialogs : public GuiFixture {};

TEST_F(guiDialogs, OpenDialogHandsOverItsSettingsAndTakesTheChoice) {
    TOpenDialog dlg(&app);
    dlg.Title = "EZNEC Nahfeld-Ausgabedatei laden";
    dlg.Filter = "Alle Dateien (*.*)|*.*|EZNEC - NF Ausgabedatei (*.txt)|*.txt";
    dlg.FilterIndex = 2;
    dlg.InitialDir = "/daten";
    dlg.Options = ofAllowMultiSelect;
    presenter.fileAnswers.push_back({true, {"/daten/e.txt", "/daten/h.txt"}, 2});
    ASSERT_TRUE(dlg.Execute());
    ASSERT_EQ(presenter.fileDialogs.size(), 1u);
    const FileDialogRequest& r = presenter.fileDialogs[0];
    EXPECT_EQ(r.kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(r.title, dlg.Title);
    EXPECT_EQ(r.filter, dlg.Filter);
    EXPECT_EQ(r.filterIndex, 2);
    EXPECT_EQ(r.initialDir, "/daten");
    EXPECT_TRUE(r.multiSelect);
    EXPECT_FALSE(r.overwritePrompt);
    EXPECT_EQ(dlg.FileName, "/daten/e.txt");
    ASSERT_EQ(dlg.Files()->Count(), 2);
    EXPECT_EQ(dlg.Files()->Get(1), "/daten/h.txt");

    // Cancelled: nothing changes.
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.FileName, "/daten/e.txt");
    EXPECT_EQ(dlg.Files()->Count(), 2);
}

TEST_F(guiDialogs, SaveDialogAddsTheDefaultExtension) {
    TSaveDialog dlg(&app);
    dlg.DefaultExt = ".bmp";
    dlg.FileName = "Draufsicht.bmp";
    dlg.Options = ofOverwritePrompt;
    presenter.fileAnswers.push_back({true, {"/tmp/bild"}, 1});
    presenter.fileAnswers.push_back({true, {"/tmp/bild.png"}, 1});
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(presenter.fileDialogs[0].kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(presenter.fileDialogs[0].fileName, "Draufsicht.bmp");
    EXPECT_TRUE(presenter.fileDialogs[0].overwritePrompt);
    EXPECT_EQ(dlg.FileName, "/tmp/bild.bmp");
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.FileName, "/tmp/bild.png");
}

TEST_F(guiDialogs, ClipboardTakesTextAndBitmaps) {
    Clipboard()->SetAsText("MP;x [m]\r\n");
    EXPECT_TRUE(Clipboard()->HasText());
    EXPECT_EQ(Clipboard()->AsText(), "MP;x [m]\r\n");
    gdi::TBitmap bmp(3, 2);
    bmp.Canvas()->SetPixels(2, 1, gdi::clRed);
    Clipboard()->Assign(bmp);
    ASSERT_TRUE(Clipboard()->HasBitmap());
    gdi::TBitmap back;
    ASSERT_TRUE(Clipboard()->GetBitmap(back));
    EXPECT_EQ(back.Width(), 3);
    EXPECT_EQ(back.Height(), 2);
    EXPECT_EQ(back.Canvas()->Pixels(2, 1), gdi::clRed);
}

TEST_F(guiDialogs, BoxIsAtLeastAsWideAsItsCaptionNeeds) {
    // The window manager shortens a caption that does not fit the title bar ("I… n").
    SetPresenter(nullptr);  // real boxes; a timer reads the shown box and answers it
    const struct {
        TMsgDlgType type;
        std::string caption;  // as the box shows it
        std::string text;
    } cases[] = {
        {mtInformation, "Informationen", "Info Einzelbilder"},
        {mtWarning, "Warnung", "OK?"},
        {mtCustom, "Feldor - Einstellungen", "Fertig."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        app.SetTitle("Feldor - Einstellungen");
        int width = 0;
        QString title;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            width = box->width();
            title = box->windowTitle();
            box->defaultButton()->click();
        });
        answer.start(10);
        MessageDlg(c.text, c.type, mbOK);
        answer.stop();
        EXPECT_EQ(title.toStdString(), c.caption);
        EXPECT_GE(width, CaptionClientWidth(c.caption));
    }
    SetPresenter(&presenter);
}
