// The colour box: its standard colours, the choice by value, and each item drawn with its swatch.
#include <QAbstractItemView>
#include <QComboBox>
#include <QImage>

#include "GuiFixture.h"
#include "platform/gui/ColorBoxes.h"

using namespace gui;

class guiColorBox : public GuiFixture {};

TEST_F(guiColorBox, ChoosesByValueAndDrawsSwatches) {
    TForm* form = nullptr;
    app.CreateForm(form);
    form->Show();
    auto* box = new TColorBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 145, 22);
    ASSERT_EQ(box->Items()->Count(), 16);
    EXPECT_EQ(box->Selected(), gdi::clBlack);

    box->SetSelected(0x0000FF);
    EXPECT_EQ(box->Text(), "Red");
    EXPECT_EQ(box->Selected(), gdi::TColor(0x0000FF));
    box->SetSelected(0x123456);  // not in the list
    EXPECT_EQ(box->ItemIndex(), -1);

    box->SetDroppedDown(true);
    auto* qbox = static_cast<QComboBox*>(box->Widget());
    ASSERT_TRUE(ProcessUntil([&] { return box->DroppedDown(); }));
    QAbstractItemView* view = qbox->view();
    const QImage shot = view->viewport()->grab().toImage();
    for (const int i : {10, 12}) {  // "Lime", "Blue"
        const QRect r = view->visualRect(qbox->model()->index(i, 0));
        const QPoint inSwatch(r.left() + r.height(), r.center().y());
        EXPECT_EQ(QColor(shot.pixel(inSwatch)), QColor(i == 10 ? Qt::green : Qt::blue))
            << box->Items()->Get(i);
    }
    box->SetDroppedDown(false);
}
