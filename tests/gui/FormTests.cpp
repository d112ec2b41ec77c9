// Forms: the close path, modal forms through the presenter, dialog keys, placement.
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <memory>

#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

namespace {

// A secondary window that records its close handlers.
struct ProbeForm : TForm {
    explicit ProbeForm(rtl::TComponent* owner, bool* destroyed = nullptr) : TForm(owner), destroyed_(destroyed) {
        OnCloseQuery = [this](rtl::TObject*, bool& canClose) {
            ++queries;
            canClose = allowClose;
        };
        OnClose = [this](rtl::TObject*, TCloseAction& action) {
            ++closes;
            defaultAction = action;
            action = answer;
        };
    }
    ~ProbeForm() override {
        if (destroyed_) *destroyed_ = true;
    }
    bool allowClose = true;
    TCloseAction answer = caHide;
    TCloseAction defaultAction = caNone;
    int queries = 0, closes = 0;
    bool* destroyed_;
};

void SendWindowClose(TCustomForm* f) {
    QCloseEvent e;
    QApplication::sendEvent(f->Widget(), &e);
}

}  // namespace

class guiForms : public GuiFixture {
protected:
    TForm* main = nullptr;
    void SetUp() override { app.CreateForm(main); }
};

TEST_F(guiForms, CloseRunsCloseQueryThenOnCloseWithHideAsDefault) {
    auto* f = CreateForm<ProbeForm>(&app);
    f->Show();
    f->allowClose = false;
    f->Close();
    EXPECT_EQ(f->queries, 1);
    EXPECT_EQ(f->closes, 0);  // vetoed: OnClose does not run
    EXPECT_TRUE(f->Visible());

    f->allowClose = true;
    f->Close();
    EXPECT_EQ(f->closes, 1);
    EXPECT_EQ(f->defaultAction, caHide);
    EXPECT_FALSE(f->Visible());
    EXPECT_FALSE(app.Terminated());

    f->Show();
    f->answer = caNone;
    f->Close();
    EXPECT_TRUE(f->Visible());

    f->answer = caMinimize;
    f->Close();
    EXPECT_TRUE(f->Visible());
    EXPECT_EQ(f->WindowState(), wsMinimized);
}

TEST_F(guiForms, CaFreeReleasesTheFormAfterTheHandler) {
    bool destroyed = false, onDestroy = false;
    auto* f = CreateForm<ProbeForm>(&app, &destroyed);
    f->OnDestroy = [&](rtl::TObject*) { onDestroy = true; };
    f->answer = caFree;
    f->Show();
    f->Close();
    EXPECT_FALSE(destroyed);  // freed from the event loop, not inside the close path
    EXPECT_TRUE(ProcessUntil([&] { return destroyed; }));
    EXPECT_TRUE(onDestroy);
    for (int i = 0; i < app.ComponentCount(); ++i) EXPECT_NE(app.Components(i), f);
}

TEST_F(guiForms, WindowManagerCloseRunsTheSamePath) {
    auto* f = CreateForm<ProbeForm>(&app);
    f->Show();
    f->allowClose = false;
    SendWindowClose(f);
    EXPECT_EQ(f->queries, 1);
    EXPECT_TRUE(f->Visible());
    f->allowClose = true;
    SendWindowClose(f);
    EXPECT_EQ(f->closes, 1);
    EXPECT_FALSE(f->Visible());
}

TEST_F(guiForms, ClosingTheMainFormEndsTheProgramUnlessRefused) {
    bool canClose = false;
    main->OnCloseQuery = [&](rtl::TObject*, bool& c) { c = canClose; };
    main->Show();
    SendWindowClose(main);
    EXPECT_FALSE(app.Terminated());
    canClose = true;
    SendWindowClose(main);
    EXPECT_TRUE(app.Terminated());
}

TEST_F(guiForms, ShowModalIsAnsweredByThePresenter) {
    auto* dlg = CreateForm<ProbeForm>(&app);
    dlg->SetCaption("Schnittebene");
    auto* edit = new TEdit(dlg);
    edit->SetParent(dlg);
    auto* ok = new TButton(dlg);
    ok->SetParent(dlg);
    ok->SetModalResult(mrOk);
    std::string readBack;
    dlg->OnShow = [&](rtl::TObject*) { edit->SetText("20"); };
    dlg->OnClose = [&](rtl::TObject*, TCloseAction&) { readBack = edit->Text(); };
    presenter.formHandler = [&](TCustomForm& f) {
        EXPECT_TRUE(f.Visible());
        EXPECT_EQ(edit->Text(), "20");  // OnShow ran
        edit->SetText("35");
        ok->Click();
        return mrNone;  // the button decided
    };
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_EQ(readBack, "35");
    EXPECT_FALSE(dlg->Visible());
    ASSERT_EQ(presenter.modalForms.size(), 1u);
    EXPECT_EQ(presenter.modalForms[0], "Schnittebene");

    // Close inside the modal run answers mrCancel and still runs OnClose.
    readBack.clear();
    presenter.formHandler = [&](TCustomForm& f) {
        f.Close();
        return mrNone;
    };
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    EXPECT_EQ(readBack, "20");

    // A refusing OnCloseQuery leaves no result.
    presenter.formHandler = nullptr;
    dlg->OnCloseQuery = [](rtl::TObject*, bool& c) { c = false; };
    EXPECT_EQ(dlg->ShowModal(), mrNone);

    dlg->Show();
    EXPECT_THROW(dlg->ShowModal(), rtl::EInvalidOperation);
}

TEST_F(guiForms, QtModalLoopRunsUntilAResultIsAccepted) {
    SetPresenter(nullptr);  // the real presenter; timers play the user
    auto* dlg = CreateForm<ProbeForm>(&app);
    auto* ok = new TButton(dlg);
    ok->SetParent(dlg);
    ok->SetModalResult(mrOk);
    dlg->allowClose = false;
    // The second click is scheduled only after the first was refused, so a loaded machine that
    // runs both timers late cannot reorder them.
    QTimer::singleShot(10, [&] {
        ok->Click();  // refused by OnCloseQuery: the loop goes on
        QTimer::singleShot(50, [&] {
            dlg->allowClose = true;
            ok->Click();
        });
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        dlg->allowClose = true;
        dlg->SetModalResult(mrAbort);
    });
    watchdog.start(30000);
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_EQ(dlg->queries, 2);
    EXPECT_FALSE(dlg->Visible());

    // The window manager's close button cancels a modal form.
    QTimer::singleShot(10, [&] { SendWindowClose(dlg); });
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    watchdog.stop();
    SetPresenter(&presenter);
}

TEST_F(guiForms, EnterAndEscapeClickDefaultAndCancelButtons) {
    auto* f = CreateForm<TForm>(&app);
    auto* ok = new TButton(f);
    ok->SetParent(f);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = new TButton(f);
    cancel->SetParent(f);
    cancel->SetCancel(true);
    int okClicks = 0, cancelClicks = 0;
    ok->OnClick = [&](rtl::TObject*) { ++okClicks; };
    cancel->OnClick = [&](rtl::TObject*) { ++cancelClicks; };
    f->Show();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(f->Widget(), &enter);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(f->Widget(), &escape);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(cancelClicks, 1);
    EXPECT_EQ(f->ModalResult(), mrOk);
}

TEST_F(guiForms, ClientAreaAndScreenCentredPosition) {
    auto* f = CreateForm<TForm>(&app);
    f->SetBounds(10, 20, 300, 200);
    const TFrameExtents e = f->FrameExtents();
    EXPECT_EQ(f->ClientWidth(), 300 - e.Left - e.Right);
    EXPECT_EQ(f->ClientHeight(), 200 - e.Top - e.Bottom);
    f->SetClientHeight(150);
    EXPECT_EQ(f->Height(), 150 + e.Top + e.Bottom);
    f->SetPosition(poScreenCenter);
    f->Show();
    // The frame is centred, also when it turned out other than estimated (the client area,
    // set last, stays).
    ProcessUntil([&] { return f->FrameExtentsMeasured(); });
    EXPECT_EQ(f->ClientHeight(), 150);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(f->Left(), screen.x() + (screen.width() - f->Width()) / 2);
    EXPECT_EQ(f->Top(), screen.y() + (screen.height() - f->Height()) / 2);
    EXPECT_EQ(f->Widget()->frameGeometry().topLeft(), QPoint(f->Left(), f->Top()));
}

TEST_F(guiForms, FreeingAFormFreesItsControlsWithoutRunningHandlers) {
    struct CountedEdit : TEdit {
        CountedEdit(rtl::TComponent* o, int* alive) : TEdit(o), alive_(alive) { ++*alive_; }
        ~CountedEdit() override { --*alive_; }
        int* alive_;
    };
    int alive = 0, exits = 0, changes = 0;
    auto* f = CreateForm<TForm>(&app);
    auto* panel = new TPanel(f);
    panel->SetParent(f);
    auto* edit = new CountedEdit(&app, &alive);  // owned elsewhere, parented on the form
    edit->SetParent(panel);
    edit->OnExit = [&](rtl::TObject*) { ++exits; };
    edit->OnChange = [&](rtl::TObject*) { ++changes; };
    f->Show();
    QApplication::setActiveWindow(f->Widget());
    edit->SetFocus();
    ProcessUntil([&] { return edit->Focused(); });
    const int before = app.ComponentCount();
    delete f;
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(exits, 0);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(app.ComponentCount(), before - 2);  // the form and the edit left the application
}

TEST_F(guiForms, BoundsFromOutsideAreHeldWithinTheWindowSystemsRange) {
    // Positions come from the settings file as they stand; the extremes of int must not
    // overflow the window system's rectangles.
    main->SetBounds(2147483647, -2147483647 - 1, 2147483647, 300);
    EXPECT_EQ(main->Left(), 16777215);
    EXPECT_EQ(main->Top(), -16777215);
    EXPECT_EQ(main->Width(), 16777215);
    main->SetBounds(10, 20, 300, 200);
    EXPECT_EQ(main->Left(), 10);
    EXPECT_EQ(main->Top(), 20);
    EXPECT_EQ(main->Width(), 300);
}

namespace {

QWindow* NativeOf(TCustomForm* f) {
    f->ClientWidget()->window()->winId();
    return f->ClientWidget()->window()->windowHandle();
}

// An owned window stays linked to its owner through a change of its frame, a show, and is
// let go when the owner dies.
TEST_F(guiForms, PopupParentLinksTheNativeWindowsUntilTheParentDies) {
    auto* owner = new TForm(nullptr);
    TForm tool(nullptr);
    tool.SetPopupParent(owner);
    EXPECT_EQ(NativeOf(&tool)->transientParent(), NativeOf(owner));
    tool.SetBorderStyle(bsToolWindow);
    owner->Show();
    tool.Show();
    EXPECT_EQ(NativeOf(&tool)->transientParent(), NativeOf(owner));
    EXPECT_EQ(tool.PopupParent(), owner);

    delete owner;
    EXPECT_EQ(tool.PopupParent(), nullptr);
    EXPECT_EQ(NativeOf(&tool)->transientParent(), nullptr);
    tool.SetBorderStyle(bsSingle);  // nothing left to link
    EXPECT_EQ(NativeOf(&tool)->transientParent(), nullptr);
}

// Windows of one kind cascade while the last one is shown; a closed last one starts anew.
TEST_F(guiForms, CascadePlacesEachNewWindowBelowAndRightOfTheLast) {
    const gdi::TRect work = Screen()->WorkAreaRect();
    TFormCascade cascade;
    auto make = [&] {
        auto* f = new TForm(nullptr);
        f->SetBounds(0, 0, 200, 100);
        f->SetPosition(poScreenCenter);
        cascade.Place(f);
        f->Show();
        return f;
    };
    std::unique_ptr<TForm> a(make());
    const int ax = a->Left(), ay = a->Top();
    EXPECT_NEAR(ax + 100, work.Left + work.Width() / 2, 1);
    std::unique_ptr<TForm> b(make());
    const int step = b->Left() - ax;
    EXPECT_GE(step, 20);
    EXPECT_EQ(b->Top() - ay, step);
    EXPECT_EQ(cascade.Last(), b.get());

    // Past the bottom edge it begins again at the work area's top left.
    b->SetBounds(b->Left(), work.Bottom - 110, 200, 100);
    std::unique_ptr<TForm> c(make());
    EXPECT_EQ(c->Left(), work.Left);
    EXPECT_EQ(c->Top(), work.Top);

    c.reset();  // the last one is gone: the next keeps its own position
    EXPECT_EQ(cascade.Last(), nullptr);
    std::unique_ptr<TForm> d(make());
    EXPECT_NEAR(d->Left() + 100, work.Left + work.Width() / 2, 1);
}

}  // namespace

TEST_F(guiForms, ActivateRunsWhenAnotherFormWasActiveNotAfterABox) {
    SetPresenter(nullptr);  // real boxes and a real modal loop; timers play the user
    auto* f = CreateForm<TForm>(&app);
    int activations = 0, deactivations = 0;
    f->OnActivate = [&](rtl::TObject*) { ++activations; };
    f->OnDeactivate = [&](rtl::TObject*) { ++deactivations; };
    auto settle = [&] {
        EXPECT_TRUE(ProcessUntil([&] { return f->Active(); }));
        ProcessFor(30);
    };
    f->Show();
    settle();
    EXPECT_EQ(activations, 1);

    // A message box over the form, answered once it has the activation: no events.
    bool answered = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isActiveWindow()) return;
        answered = true;
        box->defaultButton()->click();
    });
    answer.start(20);
    ShowMessage("Hinweis");
    answer.stop();
    EXPECT_TRUE(answered);
    settle();
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(deactivations, 0);

    // Another of the program's forms, modal, and back: one event each way.
    auto* other = CreateForm<TForm>(&app);
    int otherActivations = 0;
    other->OnActivate = [&](rtl::TObject*) { ++otherActivations; };
    QTimer::singleShot(0, [&] {
        ProcessUntil([&] { return other->Active(); });
        other->SetModalResult(mrOk);
    });
    EXPECT_EQ(other->ShowModal(), mrOk);
    settle();
    EXPECT_EQ(otherActivations, 1);
    EXPECT_EQ(deactivations, 1);
    EXPECT_EQ(activations, 2);
    SetPresenter(&presenter);
}
