// The busy scope: user input is dropped while work pumps messages; close requests wait.
#include <QCloseEvent>
#include <QPushButton>
#include <QTimer>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtSupport.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

class guiBusy : public GuiFixture {
protected:
    TForm* main = nullptr;
    TButton* button = nullptr;
    int clicks = 0;
    void SetUp() override {
        app.CreateForm(main);
        button = new TButton(main);
        button->SetParent(main);
        button->OnClick = [this](rtl::TObject*) { ++clicks; };
        main->Show();
    }
    QWidget* ButtonWidget() const { return button->Widget(); }
};

TEST_F(guiBusy, InputIsDroppedOnlyWhileAScopeLives) {
    {
        TBusyScope outer;
        {
            TBusyScope inner;
            SendClick(ButtonWidget());
        }
        EXPECT_TRUE(TBusyScope::Active());
        SendClick(ButtonWidget());
        app.ProcessMessages();
    }
    EXPECT_FALSE(TBusyScope::Active());
    EXPECT_EQ(clicks, 0);
    SendClick(ButtonWidget());
    EXPECT_EQ(clicks, 1);
}

TEST_F(guiBusy, TimersRunWhileBusy) {
    TTimer timer(main);
    timer.SetInterval(5);
    int ticks = 0;
    timer.OnTimer = [&](rtl::TObject*) { ++ticks; };
    TBusyScope busy;
    EXPECT_TRUE(ProcessUntil([&] { return ticks >= 2; }));
}

TEST_F(guiBusy, CloseRequestIsDeliveredAfterTheOutermostScope) {
    auto* second = CreateForm<TForm>(&app);
    int queries = 0;
    second->OnCloseQuery = [&](rtl::TObject*, bool&) { ++queries; };
    second->Show();
    {
        TBusyScope outer;
        QCloseEvent first, again;
        QApplication::sendEvent(second->Widget(), &first);
        {
            TBusyScope inner;
            QApplication::sendEvent(second->Widget(), &again);  // the same request is kept once
        }
        app.ProcessMessages();
        EXPECT_EQ(queries, 0);
        QCloseEvent mainClose;
        QApplication::sendEvent(main->Widget(), &mainClose);
        ProcessFor(20);
        EXPECT_FALSE(app.Terminated());  // the main window stays while the work runs
        EXPECT_TRUE(second->Visible());
    }
    EXPECT_TRUE(ProcessUntil([&] { return app.Terminated(); }));
    EXPECT_EQ(queries, 1);
    EXPECT_FALSE(second->Visible());
}

TEST_F(guiBusy, ClosedFormIsSkippedWhenItIsGoneBeforeDelivery) {
    auto* second = CreateForm<TForm>(&app);
    second->Show();
    {
        TBusyScope busy;
        QCloseEvent e;
        QApplication::sendEvent(second->Widget(), &e);
        delete second;
    }
    ProcessFor(20);
    EXPECT_FALSE(app.Terminated());
}

TEST_F(guiBusy, WindowsOpenedModallyInsideTheScopeTakeInput) {
    auto* box = CreateForm<TForm>(&app);
    auto* answer = new TButton(box);
    answer->SetParent(box);
    int answered = 0;
    answer->OnClick = [&](rtl::TObject*) { ++answered; };
    box->Show();
    TBusyScope busy;
    {
        detail::ModalWindowGuard modal(box->Widget());  // as the presenter registers its boxes
        SendClick(answer->Widget());
        SendClick(ButtonWidget());
    }
    SendClick(answer->Widget());
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(clicks, 0);
}
