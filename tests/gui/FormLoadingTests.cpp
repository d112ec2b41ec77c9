// Forms built in code inside the loading scope: csLoading while they are built, Loaded in
// creation order afterwards, OnCreate last.
#include <string>
#include <vector>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

namespace {

std::vector<std::string> g_trace;

template <class Base>
class Traced : public Base {
public:
    Traced(rtl::TComponent* owner, std::string name) : Base(owner) {
        this->SetName(std::move(name));
        loadingWhenBuilt = this->ComponentState().Contains(rtl::csLoading);
    }
    bool loadingWhenBuilt = false;

protected:
    void Loaded() override {
        Base::Loaded();
        g_trace.push_back("loaded " + this->Name());
    }
};

class TTracedForm : public Traced<TForm> {
public:
    explicit TTracedForm(rtl::TComponent* owner) : Traced<TForm>(owner, "form") {
        panel = new Traced<TPanel>(this, "panel");
        panel->SetParent(this);
        button = new Traced<TButton>(this, "button");
        button->SetParent(panel);
        OnCreate = [this](rtl::TObject*) {
            g_trace.push_back(std::string("create, loading ") +
                              (ComponentState().Contains(rtl::csLoading) ? "yes" : "no"));
        };
    }
    Traced<TPanel>* panel;
    Traced<TButton>* button;
};

}  // namespace

class guiFormLoading : public GuiFixture {};

TEST_F(guiFormLoading, BothCreateFormsBuildInsideTheLoadingScope) {
    for (int way = 0; way < 2; ++way) {
        g_trace.clear();
        TTracedForm* form = nullptr;
        if (way == 0) form = CreateForm<TTracedForm>(&app);
        else app.CreateForm(form);
        EXPECT_TRUE(form->loadingWhenBuilt);
        EXPECT_TRUE(form->panel->loadingWhenBuilt);
        EXPECT_TRUE(form->button->loadingWhenBuilt);
        EXPECT_EQ(g_trace, (std::vector<std::string>{"loaded form", "loaded panel", "loaded button",
                                                     "create, loading no"}))
            << "way " << way;
        EXPECT_TRUE(form->button->ComponentState().Empty());
    }
}
