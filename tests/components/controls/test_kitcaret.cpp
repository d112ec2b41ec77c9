// The edit's caret object: shapes, showing and hiding, and the system blink time around it.
#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "components/controls/KitCaret.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"

using namespace kit;

namespace {

struct Box : gui::TCustomControl {
    explicit Box(rtl::TComponent* owner) : gui::TCustomControl(owner) {}
    void Design() { SetDesigning(true); }
};

class kitCaret : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<gui::TForm>(nullptr);
        form->SetBounds(0, 0, 200, 100);
        box = new Box(form.get());
        box->SetParent(form.get());
        box->SetBounds(10, 10, 60, 30);
        box->SetColor(gdi::clWhite);
        gui::SetCaretBlinkTime(500);  // the system's setting
    }
    void TearDown() override {
        form.reset();
        gui::SetCaretBlinkTime(savedBlink);
    }
    gui::ScriptedPresenter presenter;
    gui::TApplication app;
    unsigned savedBlink = gui::GetCaretBlinkTime();
    std::unique_ptr<gui::TForm> form;
    Box* box = nullptr;
};

std::unique_ptr<gdi::TBitmap> Checker() {  // 2 x 2: white top-left, black elsewhere
    auto b = std::make_unique<gdi::TBitmap>(2, 2);
    b->Canvas()->Brush()->SetColor(gdi::clBlack);
    b->Canvas()->FillRect(gdi::Rect(0, 0, 2, 2));
    b->Canvas()->SetPixels(0, 0, gdi::clWhite);
    return b;
}

}  // namespace

TEST_F(kitCaret, Defaults) {
    TKitCaret c(box);
    EXPECT_EQ(c.BlinkRate(), 500);  // the system's, read at creation
    EXPECT_EQ(c.Width(), 2);
    EXPECT_EQ(c.Height(), 10);
    EXPECT_EQ(c.Style(), csDefault);
    EXPECT_EQ(c.CaretBmpMode(), cbBmpSize);
    EXPECT_TRUE(c.Bitmap()->Empty());
    EXPECT_FALSE(c.Created());
    EXPECT_FALSE(c.Visible());
}

TEST_F(kitCaret, BlinkTimeIsTheCaretsWhileShown) {
    auto c = std::make_unique<TKitCaret>(box);
    c->SetBlinkRate(530);
    c->SetLineHeight(14);
    c->Show();
    EXPECT_TRUE(c->Created());
    EXPECT_TRUE(c->Visible());
    EXPECT_EQ(gui::GetCaretOwner(), box);
    EXPECT_EQ(gui::GetCaretBlinkTime(), 530u);
    c->Hide();
    EXPECT_FALSE(c->Visible());
    EXPECT_EQ(gui::GetCaretBlinkTime(), 500u);
    c->Show();
    EXPECT_EQ(gui::GetCaretBlinkTime(), 530u);
    c->DestroyCaretShape();  // losing the focus
    EXPECT_EQ(gui::GetCaretOwner(), nullptr);
    EXPECT_EQ(gui::GetCaretBlinkTime(), 500u);
    c->CreateCaretShape();  // the focus again
    EXPECT_EQ(gui::GetCaretBlinkTime(), 530u);
    c.reset();
    EXPECT_EQ(gui::GetCaretOwner(), nullptr);
    EXPECT_EQ(gui::GetCaretBlinkTime(), 500u);
}

TEST_F(kitCaret, ShapesByStyle) {
    struct Case { TKitCaretStyles style; TKitCaretBitmap mode; gdi::TSize size; };
    const Case cases[] = {
        {csDefault, cbBmpSize, {1, 14}},  // a bar of the line height; Width and Height unused
        {csBlock, cbBmpSize, {8, 5}},     {csUnderBlock, cbBmpSize, {8, 5}},
        {csUnder, cbBmpSize, {8, 1}},     {csOver, cbBmpSize, {8, 1}},
        {csBitmap, cbBmpSize, {3, 7}},    // the bitmap's own size
        {csBitmap, cbTile, {8, 5}},       {csBitmap, cbStretch, {8, 5}},
    };
    gdi::TBitmap bmp(3, 7);
    for (const Case& k : cases) {
        TKitCaret c(box);
        c.SetLineHeight(14);
        c.SetWidth(8);
        c.SetHeight(5);
        c.SetStyle(k.style);
        c.SetCaretBmpMode(k.mode);
        c.SetBitmap(&bmp);
        c.CreateCaretShape();
        EXPECT_EQ(gui::GetCaretSize(), k.size) << int(k.style) << "/" << int(k.mode);
        EXPECT_EQ(gui::GetCaretOwner(), box);
    }
}

TEST_F(kitCaret, TiledBitmapCaretInvertsWhereTheBitmapIsWhite) {
    form->Show();
    TKitCaret c(box);
    c.SetBlinkRate(0);  // no blinking: the caret stays on
    c.SetStyle(csBitmap);
    c.SetCaretBmpMode(cbTile);
    c.SetWidth(4);
    c.SetHeight(4);
    auto checker = Checker();
    c.SetBitmap(checker.get());
    c.Show();
    gui::SetCaretPos(3, 2);
    const QImage shot = box->Widget()->grab().toImage();
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inCaret = x >= 3 && x < 7 && y >= 2 && y < 6;
            const bool white = inCaret && (x - 3) % 2 == 0 && (y - 2) % 2 == 0;
            EXPECT_EQ(shot.pixel(x, y) & 0xFFFFFF, white ? 0x000000u : 0xFFFFFFu) << x << "," << y;
        }
}

TEST_F(kitCaret, NothingWhileDesigning) {
    box->Design();
    TKitCaret c(box);
    c.SetBlinkRate(530);
    c.Show();
    EXPECT_FALSE(c.Visible());
    EXPECT_FALSE(c.Created());
    EXPECT_EQ(gui::GetCaretOwner(), nullptr);
    EXPECT_EQ(gui::GetCaretBlinkTime(), 500u);
}

TEST_F(kitCaret, AssignCopiesRateSizeAndStyle) {
    TKitCaret a(box), b(box);
    a.SetBlinkRate(530);
    a.SetWidth(7);
    a.SetHeight(9);
    a.SetStyle(csBlock);
    a.SetLineHeight(20);
    a.SetCaretBmpMode(cbTile);
    b.Assign(&a);
    EXPECT_EQ(b.BlinkRate(), 530);
    EXPECT_EQ(b.Width(), 7);
    EXPECT_EQ(b.Height(), 9);
    EXPECT_EQ(b.Style(), csBlock);
    EXPECT_EQ(b.LineHeight(), 0);
    EXPECT_EQ(b.CaretBmpMode(), cbBmpSize);
    gdi::TBitmap other;
    b.Assign(&other);  // not a caret: ignored
    EXPECT_EQ(b.BlinkRate(), 530);
}

TEST_F(kitCaret, AnEditThatLostTheCaretLeavesTheOthersAlone) {
    auto* second = new Box(form.get());
    second->SetParent(form.get());
    auto first = std::make_unique<TKitCaret>(box);
    TKitCaret next(second);
    next.SetBlinkRate(300);
    first->Show();
    next.CreateCaretShape();  // the other edit takes the caret
    next.Show();
    first.reset();            // the first edit goes away
    EXPECT_EQ(gui::GetCaretOwner(), second);
    EXPECT_EQ(gui::GetCaretBlinkTime(), 300u);
}
