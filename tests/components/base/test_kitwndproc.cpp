// The window-procedure hook component on a form: what it sees, what it passes on, and that a
// freed component no longer sees anything.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "components/base/kitwndproc.h"
#include "platform/gui/Forms.h"

using namespace kit;

namespace {

// Records the messages it sees; swallows WM_USER + 1 on the main window when asked to.
class Spy : public TKitWndProcComponent {
public:
    Spy(rtl::TComponent* owner, std::shared_ptr<std::vector<unsigned>> log)
        : TKitWndProcComponent(owner), log_(std::move(log)) {}
    void WndProc(gui::TMessage& m) override {
        log_->push_back(m.Msg);
        TKitWndProcComponent::WndProc(m);
    }
    bool MainWndHook(gui::TMessage& m) override { return m.Msg == gui::WM_USER + 1; }
    int enabledChanges = 0;
    void EnabledChanged() override { ++enabledChanges; }

private:
    std::shared_ptr<std::vector<unsigned>> log_;
};

int count(const std::vector<unsigned>& v, unsigned msg) {
    int n = 0;
    for (unsigned m : v) n += m == msg;
    return n;
}

class kitWndProc : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<gui::TForm>(nullptr);
        // An older hook: it runs after the component's procedure, standing for the form's own
        // handling of what the component passes on.
        formSees = std::make_shared<std::vector<unsigned>>();
        formHook = std::make_unique<gui::TWindowHook>(form.get(), [this](gui::TMessage& m, const gui::TWndMethod& next) {
            formSees->push_back(m.Msg);
            next(m);
        });
    }
    void TearDown() override {
        formHook.reset();
        form.reset();
    }
    gui::TApplication app;
    std::unique_ptr<gui::TForm> form;
    std::shared_ptr<std::vector<unsigned>> formSees;
    std::unique_ptr<gui::TWindowHook> formHook;
};

TEST_F(kitWndProc, SeesResizesOnlyWhileHookedAndPassesThemOn) {
    auto seen = std::make_shared<std::vector<unsigned>>();
    auto* spy = new Spy(form.get(), seen);
    EXPECT_TRUE(spy->Enabled());
    EXPECT_FALSE(spy->Hooked());  // construction alone does not hook
    form->SetBounds(10, 10, 300, 200);
    EXPECT_EQ(count(*seen, gui::WM_SIZE), 0);

    spy->SetEnabled(true);  // its current value: nothing happens
    EXPECT_EQ(spy->enabledChanges, 0);
    EXPECT_FALSE(spy->Hooked());
    spy->SetEnabled(false);
    spy->SetEnabled(true);
    EXPECT_EQ(spy->enabledChanges, 2);
    EXPECT_TRUE(spy->Hooked());
    EXPECT_FALSE(spy->DoHook());  // hooked already

    formSees->clear();
    form->SetBounds(10, 10, 320, 240);
    EXPECT_EQ(count(*seen, gui::WM_SIZE), 1);
    EXPECT_EQ(count(*formSees, gui::WM_SIZE), 1);  // passed on

    delete spy;  // restores the form's procedure
    seen->clear();
    formSees->clear();
    form->SetBounds(10, 10, 340, 260);
    EXPECT_TRUE(seen->empty());
    EXPECT_EQ(count(*formSees, gui::WM_SIZE), 1);
}

TEST_F(kitWndProc, UnhookAndDisableStopTheMessages) {
    auto seen = std::make_shared<std::vector<unsigned>>();
    Spy* spy = new Spy(form.get(), seen);
    spy->Hook();
    EXPECT_TRUE(spy->Hooked());
    spy->Unhook();
    form->Perform(gui::WM_USER);
    EXPECT_TRUE(seen->empty());
    spy->SetEnabled(false);
    spy->Hook();  // not while disabled
    EXPECT_FALSE(spy->Hooked());
    form->Perform(gui::WM_USER);
    EXPECT_TRUE(seen->empty());
    EXPECT_EQ(count(*formSees, gui::WM_USER), 2);
}

TEST_F(kitWndProc, MessagesAfterDestroyStillReachTheForm) {
    auto seen = std::make_shared<std::vector<unsigned>>();
    auto* spy = new Spy(form.get(), seen);
    spy->Hook();
    form->Perform(gui::WM_DESTROY);
    form->Perform(gui::WM_NCDESTROY);
    EXPECT_EQ(count(*seen, gui::WM_DESTROY), 1);
    EXPECT_EQ(count(*formSees, gui::WM_DESTROY), 1);
    EXPECT_EQ(count(*formSees, gui::WM_NCDESTROY), 1);  // never dropped
}

TEST_F(kitWndProc, HooksAfterLoadingButNeverWithoutAnOwner) {
    auto seen = std::make_shared<std::vector<unsigned>>();
    Spy* spy = nullptr;
    {
        rtl::TLoadingScope scope;
        spy = new Spy(form.get(), seen);
        EXPECT_FALSE(spy->Hooked());
    }
    EXPECT_TRUE(spy->Hooked());

    Spy orphan(nullptr, seen);
    EXPECT_EQ(orphan.HookWindow(), nullptr);
    EXPECT_FALSE(orphan.DoHook());
    orphan.Hook();
    EXPECT_FALSE(orphan.Hooked());
    EXPECT_EQ(orphan.FormKind(), 0);
}

TEST_F(kitWndProc, MainWindowHook) {
    gui::TForm* mainForm = nullptr;
    app.CreateForm(mainForm);
    auto mainSees = std::make_shared<std::vector<unsigned>>();
    gui::TWindowHook older(mainForm, [&](gui::TMessage& m, const gui::TWndMethod& next) {
        mainSees->push_back(m.Msg);
        next(m);
    });
    auto seen = std::make_shared<std::vector<unsigned>>();
    auto* spy = new Spy(form.get(), seen);
    spy->HookMainWnd = true;
    spy->Hook();
    mainForm->Perform(gui::WM_USER + 1);  // handled by MainWndHook: goes no further
    mainForm->Perform(gui::WM_USER + 2);
    EXPECT_EQ(count(*mainSees, gui::WM_USER + 1), 0);
    EXPECT_EQ(count(*mainSees, gui::WM_USER + 2), 1);
    delete spy;
    mainForm->Perform(gui::WM_USER + 1);
    EXPECT_EQ(count(*mainSees, gui::WM_USER + 1), 1);

    // The base hook handles nothing: every main-window message goes on.
    TKitWndProcComponent plain(form.get());
    plain.HookMainWnd = true;
    plain.Hook();
    mainForm->Perform(gui::WM_USER + 1);
    EXPECT_EQ(count(*mainSees, gui::WM_USER + 1), 2);
}

// A form that places the component in its constructor, as a form description would.
class HookedForm : public gui::TForm {
public:
    explicit HookedForm(rtl::TComponent* owner) : gui::TForm(owner) {
        spy = new Spy(this, seen);
    }
    std::shared_ptr<std::vector<unsigned>> seen = std::make_shared<std::vector<unsigned>>();
    Spy* spy = nullptr;
};

TEST_F(kitWndProc, PlacedOnAFormItHooksOnceTheFormIsLoaded) {
    HookedForm* f = gui::CreateForm<HookedForm>(&app);
    EXPECT_TRUE(f->spy->Hooked());
    f->SetBounds(0, 0, 250, 150);
    EXPECT_EQ(count(*f->seen, gui::WM_SIZE), 1);
    delete f;  // the form frees the component with it
}

}  // namespace
