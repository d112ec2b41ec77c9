// The application object: error box, start-up error, message boxes, run and terminate.
#include <QPushButton>
#include <QTimer>

#include <regex>
#include <stdexcept>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

class guiApplication : public GuiFixture {};

TEST_F(guiApplication, ErrorBoxAppliesTheFullStopRule) {
    app.SetTitle("Feldor");
    struct Case {
        const char* message;
        const char* shown;
    } cases[] = {
        {"Fehler", "Fehler."},
        {"Fehler.", "Fehler."},
        {"Fehler!", "Fehler!"},   // '!' sorts below '.'
        {"", ""},
        {"abc:", "abc:."},        // ':' sorts above '.'
        {"Wert 5", "Wert 5."},
        {"Maß", "Maß."},          // a letter above ASCII counts as above '.'
        {"(x)", "(x)"},
    };
    for (const Case& c : cases) {
        presenter.boxes.clear();
        InvokeHandler(nullptr, [&] { throw rtl::EConvertError(c.message); });
        ASSERT_EQ(presenter.boxes.size(), 1u) << c.message;
        const MessageBoxRequest& box = presenter.boxes[0];
        EXPECT_EQ(box.text, c.shown) << c.message;
        EXPECT_EQ(box.caption, "Feldor");
        EXPECT_EQ(box.type, TMsgDlgType::mtError);
        EXPECT_EQ(box.buttons, static_cast<TMsgDlgButtons>(mbOK));
    }
}

TEST_F(guiApplication, StandardExceptionsShowTheirText) {
    EXPECT_FALSE(InvokeHandler(nullptr, [] { throw std::runtime_error("kaputt"); }));
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, "kaputt.");
}

TEST_F(guiApplication, AbortIsSilent) {
    EXPECT_FALSE(InvokeHandler(nullptr, [] { rtl::Abort(); }));
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_TRUE(InvokeHandler(nullptr, [] {}));
}

TEST_F(guiApplication, ExceptionInAHandlerIsShownAndTheProgramGoesOn) {
    TForm* form = CreateForm<TForm>(&app);
    auto* button = new TButton(form);
    button->SetParent(form);
    int clicks = 0;
    button->OnClick = [&](rtl::TObject*) {
        ++clicks;
        if (clicks == 1) throw rtl::Exception("Datei fehlt");
    };
    form->Show();
    auto* qb = static_cast<QPushButton*>(button->Widget());
    SendClick(qb);  // the handler throws: the box appears, nothing escapes into Qt
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, "Datei fehlt.");
    SendClick(qb);  // and the next click is handled normally
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(presenter.boxes.size(), 1u);
}

TEST_F(guiApplication, ExceptionInOnCreateIsShownAndCreationGoesOn) {
    struct ThrowingForm : TForm {
        explicit ThrowingForm(rtl::TComponent* o) : TForm(o) {
            OnCreate = [](rtl::TObject*) { throw rtl::Exception("Einstellungen fehlen"); };
        }
    };
    ThrowingForm* form = nullptr;
    app.CreateForm(form);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(app.MainForm(), form);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, "Einstellungen fehlen.");
    TForm* second = nullptr;
    app.CreateForm(second);
    EXPECT_EQ(app.MainForm(), form);  // the first created form stays the main form
}

TEST_F(guiApplication, StartupErrorBox) {
    ShowStartupError(rtl::EConvertError("'x' ist kein gültiger Gleitkommawert"));
    ASSERT_EQ(presenter.boxes.size(), 1u);
    const MessageBoxRequest& box = presenter.boxes[0];
    EXPECT_EQ(box.caption, "Anwendungsfehler");
    EXPECT_EQ(box.type, TMsgDlgType::mtError);
    const std::regex expected(
        "Exception EConvertError in Modul gui_tests bei [0-9A-Fa-f]{16}\\.\r\n"
        "'x' ist kein gültiger Gleitkommawert\\.\r\n");
    EXPECT_TRUE(std::regex_match(box.text, expected)) << box.text;

    presenter.boxes.clear();
    ShowStartupError(rtl::Exception("Ende."));
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_NE(presenter.boxes[0].text.find("\r\nEnde.\r\n"), std::string::npos) << presenter.boxes[0].text;
}

TEST_F(guiApplication, RunApplicationGivesExitCodeOneAfterAStartupError) {
    char name[] = "feldor";
    char* argv[] = {name, nullptr};
    int ran = 0;
    EXPECT_EQ(RunApplication(1, argv, [&] { ++ran; }), 0);
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_EQ(RunApplication(1, argv, [] { throw rtl::EFOpenError("Datei x.fdr kann nicht geöffnet werden."); }), 1);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].caption, "Anwendungsfehler");
    EXPECT_NE(presenter.boxes[0].text.find("Exception EFOpenError in Modul gui_tests bei "), std::string::npos)
        << presenter.boxes[0].text;
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(Application, &app);  // the inner application object is gone again
}

TEST_F(guiApplication, TerminateBeforeRunReturnsAtOnceWithoutShowing) {
    TForm* main = nullptr;
    app.CreateForm(main);
    app.Terminate();
    app.Run();
    EXPECT_TRUE(app.Terminated());
    EXPECT_FALSE(main->Visible());
}

TEST_F(guiApplication, RunEndsWhenTheMainFormCloses) {
    TForm* main = nullptr;
    app.CreateForm(main);
    bool shown = false, closed = false;
    main->OnShow = [&](rtl::TObject*) { shown = true; };
    main->OnClose = [&](rtl::TObject*, TCloseAction& a) {
        closed = true;
        EXPECT_EQ(a, caHide);
    };
    QTimer::singleShot(20, [&] { main->Close(); });
    QTimer watchdog;  // never let a fault hang the test run
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] { app.Terminate(); });
    watchdog.start(5000);
    app.Run();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(app.Terminated());
}

TEST_F(guiApplication, MessageBoxesGoThroughThePresenter) {
    app.SetTitle("Feldor");
    ShowMessage("Hallo");
    presenter.boxAnswers = {mrNo};
    EXPECT_EQ(MessageDlg("Sicher?", mtConfirmation, mbYes | mbNo, 0), mrNo);
    EXPECT_EQ(MessageDlg("Achtung", mtWarning, mbOK, 0), mrOk);
    EXPECT_EQ(MessageDlg("Weiter?", mtConfirmation, mbYes | mbNo, 0), mrYes);  // empty queue: first button
    presenter.boxAnswers = {IDCANCEL};
    EXPECT_EQ(app.MessageBox("Text", "Titel", MB_OKCANCEL | MB_ICONWARNING), IDCANCEL);

    ASSERT_EQ(presenter.boxes.size(), 5u);
    EXPECT_EQ(presenter.boxes[0].caption, "Feldor");
    EXPECT_EQ(presenter.boxes[0].type, TMsgDlgType::mtCustom);
    EXPECT_EQ(presenter.boxes[1].caption, "Bestätigen");
    EXPECT_EQ(presenter.boxes[1].buttons, static_cast<TMsgDlgButtons>(mbYes | mbNo));
    EXPECT_EQ(presenter.boxes[2].caption, "Warnung");
    EXPECT_EQ(presenter.boxes[4].caption, "Titel");
    EXPECT_EQ(presenter.boxes[4].type, TMsgDlgType::mtWarning);
    EXPECT_EQ(presenter.boxes[4].buttons, static_cast<TMsgDlgButtons>(mbOK | mbCancel));
}
