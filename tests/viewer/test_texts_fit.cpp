// Every caption and value the fixed-size controls show fits them, measured with the font the
// platform gives the controls and the room their Qt style leaves for text.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTableView>

#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

int TextWidth(gui::TControl* c, const std::string& text) {
    // A windowless control has no widget: it draws with its own font on the parent's surface.
    const QFont font = c->Widget() ? c->Widget()->font() : gdi::FontToQFont(*c->Font());
    return QFontMetrics(font).horizontalAdvance(QString::fromStdString(text));
}

// The room QLineEdit draws its text in: the contents less its own 2-pixel margin on each side.
int EditRoom(QLineEdit* w) {
    QStyleOptionFrame opt;
    opt.initFrom(w);
    opt.rect = w->rect();
    opt.lineWidth = w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, w);
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    const QRect r = w->style()->subElementRect(QStyle::SE_LineEditContents, &opt, w);
    const QMargins m = w->textMargins();
    return r.width() - m.left() - m.right() - 2 * 2;
}

int ButtonRoom(QPushButton* w) {
    QStyleOptionButton opt;
    opt.initFrom(w);
    opt.rect = w->rect();
    return w->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, w).width();
}

int RadioRoom(QRadioButton* w) {
    QStyle* s = w->style();
    return w->width() - s->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, w) -
           s->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, w);
}

}  // namespace

class TextsFitTest : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        StartUp();
    }
    static void ExpectFits(const std::string& what, int width, int room) {
        EXPECT_LE(width, room) << what << ": " << width << " pixels in " << room;
    }
    void ExpectEditFits(gui::TCustomEdit* e, const std::string& text) {
        ExpectFits(text, TextWidth(e, text), EditRoom(static_cast<QLineEdit*>(e->Widget())));
    }
    void ExpectButtonFits(gui::TButton* b) {
        ExpectFits(b->Caption(), TextWidth(b, b->Caption()),
                   ButtonRoom(static_cast<QPushButton*>(b->Widget())));
    }
    void ExpectRadioItemsFit(gui::TRadioGroup* g) {
        for (QRadioButton* b : g->Widget()->findChildren<QRadioButton*>())
            ExpectFits(b->text().toStdString(),
                       QFontMetrics(b->font()).horizontalAdvance(b->text()), RadioRoom(b));
    }
    // A label ends before the control beside it (or the group's inner edge).
    void ExpectLabelFits(gui::TLabel* l, const std::string& text, int right) {
        ExpectFits(text, l->Left() + TextWidth(l, text), right - 2);
    }
};

TEST_F(TextsFitTest, LimitsAndTheirUnitsForEveryBandModeAndFieldType) {
    for (int type = 0; type <= 2; ++type) {
        form->RGFeldTyp->SetItemIndex(type);
        for (int band = 0; band < form->CBBand->Items()->Count(); ++band)
            for (int mode = 0; mode < form->CBMode->Items()->Count(); ++mode) {
                form->CBBand->SetItemIndex(band);
                form->CBMode->SetItemIndex(mode);
                form->CBBandChange(nullptr);
                ExpectEditFits(form->EditPS, form->EditPS->Text());
                ExpectEditFits(form->EditHsm, form->EditHsm->Text());
                ExpectLabelFits(form->LAPS, form->LAPS->Caption(), form->EditPS->Left());
                ExpectLabelFits(form->LAHSM, form->LAHSM->Caption(), form->EditHsm->Left());
                ExpectRadioItemsFit(form->RGBezug);
            }
    }
    // A pacemaker limit for H of five digits shows in full.
    form->RGFeldTyp->SetItemIndex(1);
    ExpectEditFits(form->EditHsm, "0,07300");
}

TEST_F(TextsFitTest, PowerFieldsButtonsChoicesAndLabels) {
    for (gui::TCustomEdit* e : {static_cast<gui::TCustomEdit*>(form->EditPWRin),
                                static_cast<gui::TCustomEdit*>(form->EditPWRShow)})
        ExpectEditFits(e, "1000 W");
    for (gui::TButton* b : {form->ButToggleMinus, form->ButTooglePlus, form->ButZeigen,
                            form->ButHideOvl, form->But10, form->But100, form->But750,
                            FormMessExport->ButClear, FormMessExport->ButDelete,
                            FormMessExport->ButSave})
        ExpectButtonFits(b);
    ExpectRadioItemsFit(form->RGKomponente);
    ExpectRadioItemsFit(form->RGFeldTyp);
    for (gui::TComboBox* c : {form->CBBand, form->CBMode}) {
        QLineEdit* edit = static_cast<QComboBox*>(c->Widget())->lineEdit();
        ASSERT_NE(edit, nullptr);
        for (int i = 0; i < c->Items()->Count(); ++i)
            ExpectFits(c->Items()->Get(i), TextWidth(c, c->Items()->Get(i)), edit->width() - 4);
    }
    ExpectLabelFits(form->LABand, "Band", form->CBBand->Left());
    ExpectLabelFits(form->LAMode, "Mode", form->CBMode->Left());
    ExpectLabelFits(form->LAPWRin, "File", form->EditPWRin->Left());
    ExpectLabelFits(form->LAPWRShow, "Darst.", form->EditPWRShow->Left());
    ExpectLabelFits(form->laBoden, "Boden", form->laAntenne->Left());
    ExpectLabelFits(form->laAntenne, "Antenne", form->ButZeigen->Left());
    // The read-out lines at their longest within the group "Geometrie".
    const int inner = form->GBGeometrie->Width() - 4;
    for (const char* text : {"x-Intervall: -100,0 m ... 100,0 m",
                             "Koordinaten   x: -100,0 m   y: -100,0 m",
                             "Feldquadrat   x: -100,0 m   y: -100,0 m",
                             "Feldstärke    >100000,0 V/m", "Impedanz      1234,567 Ohm"})
        ExpectLabelFits(form->LAcoords, text, inner);
}

TEST_F(TextsFitTest, MeasuredValuesGridShowsItsHeadingsAndValuesInFull) {
    FormMessExport->add("E [V/m]", -10.5, -10.5, 10.5, 15.3809, 123.4, 99.9);
    FormMessExport->add("H [A/m]", 10, 10, 2, 0.0735, 267.3, 100.7);
    TBKStringGrid& g = *FormMessExport->SGExport;
    auto* view = static_cast<QTableView*>(g.Widget());
    QStyle* s = view->style();
    const int cellMargin = s->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const int headMargin = s->pixelMetric(QStyle::PM_HeaderMargin, nullptr, view);
    for (int c = 0; c < g.ColCount(); ++c) {
        const int width = view->columnWidth(c);
        EXPECT_EQ(width, 50);
        ExpectFits(g.Cells(c, 0), TextWidth(&g, g.Cells(c, 0)), width - 2 * headMargin);
        for (int r = 1; r < g.RowCount(); ++r)
            ExpectFits(g.Cells(c, r), TextWidth(&g, g.Cells(c, r)), width - 2 * cellMargin);
    }
    EXPECT_EQ(g.Cells(4, 1), "15,3809");
    EXPECT_EQ(g.Cells(6, 0), "%gwHSM");
}

TEST_F(TextsFitTest, LeftColumnFitsTheMainWindowsClientArea) {
    int bottom = 0;
    const std::initializer_list<gui::TControl*> column = {
        form->GBGeometrie, form->RGKomponente, form->RGFeldTyp, form->GBOverLay,
        form->GBLeistung,  form->GBGrenzwerte, form->GBSkala};
    for (gui::TControl* c : column) {
        EXPECT_GE(c->Top(), bottom) << c->Name();  // no overlap
        bottom = std::max(bottom, c->Top() + c->Height());
    }
    // A title bar and menu bar of 51 pixels (a common frame) leave 585 pixels of the 636.
    EXPECT_LE(bottom, 636 - 51);
    EXPECT_LE(form->PanelFeld->Top() + form->PanelFeld->Height(), 636 - 51);
    EXPECT_LE(form->PanelFeld->Left() + form->PanelFeld->Width(), 822 - 2);
}
