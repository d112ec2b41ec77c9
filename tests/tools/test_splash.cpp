// The start-up window: its defaults and texts, the title label's size and place, the display
// time, painting while it waits with input dropped, closing and releasing, and the title as the
// viewer shows it, pixel by pixel: gradient faces, 3D edges, window colour everywhere else.
// The title's font is the one the window names (Arial, whatever the system maps it to).
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>

#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "tools/SplashLib.h"

using namespace gdi;
using namespace kit;

namespace {

QRgb Rgb(TColor c) {
    const TColor v = ColorToRGB(c);
    return qRgb(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

void Settle() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 50) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    }
}

void PostDoubleClick(QWidget* w, QPoint p) {
    const QPointF g = w->mapToGlobal(QPointF(p));
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                           QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QCoreApplication::postEvent(w, new QMouseEvent(t, QPointF(p), g, Qt::LeftButton, held, Qt::NoModifier));
    }
}

}  // namespace

class Splash : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<gui::TApplication>();
        owner = std::make_unique<rtl::TComponent>(nullptr);
        TFormSplash::MaxDisplayTime = 0;
    }
    void TearDown() override {
        TFormSplash::MaxDisplayTime = -1;
        owner.reset();
        app.reset();
    }
    TFormSplash* Make() { return gui::CreateForm<TFormSplash>(owner.get()); }
    // As the viewer's start-up sets it, but left open for the checks.
    TFormSplash* StartUpSplash(TColor formColor) {
        TFormSplash* s = Make();
        s->TitleText = "Feldor";
        s->ShowLogo = s->ShowLoadLine = s->ShowBottomLine = true;
        s->DisplayTime = 2500;
        s->FontSize = 120;
        s->WidthFactor = 1.1;
        s->Borderless = true;
        s->FormColor = formColor;
        s->StayOpen = true;
        s->execute();
        Settle();
        return s;
    }
    gui::ScriptedPresenter presenter;
    std::unique_ptr<gui::TApplication> app;
    std::unique_ptr<rtl::TComponent> owner;
};

TEST_F(Splash, NewWindowHasItsDefaultsAndDesignSize) {
    TFormSplash* s = Make();
    EXPECT_EQ(s->ClientWidth(), 532);
    EXPECT_EQ(s->ClientHeight(), 273);
    EXPECT_EQ(s->DisplayTime, 0);
    EXPECT_EQ(s->GradientColor, 0xFF0000u);
    EXPECT_EQ(s->FormColor, clBtnFace);
    EXPECT_EQ(s->FontSize, 72);
    EXPECT_EQ(s->WidthFactor, 1.0);
    EXPECT_FALSE(s->Borderless || s->StayOpen || s->IsShowing || s->ShowLogo);
    EXPECT_FALSE(s->IMLogo->Picture()->Bitmap()->Empty());
    EXPECT_EQ(s->KitGraphicLabel->Transform(), TKitTransLabelTypes::tmRNoseDown);
    EXPECT_EQ(s->KitGraphicLabel->FillObject()->Style(), sfGradient);
    EXPECT_TRUE(s->KitGraphicLabel->Transparent());
    // The two lines' fonts are 13 and 16 pixels of character height (10 and 12 points), their
    // cells taller by the font's internal leading.
    struct Line { gui::TLabel* label; int height; int points; };
    for (const Line& l : {Line{s->LaBottomLine, 13, 10}, Line{s->LaLoad, 16, 12}}) {
        EXPECT_EQ(l.label->Font()->Height(), -l.height);
        EXPECT_EQ(l.label->Font()->Size(), l.points);
        TBitmap cell(10, 10);
        cell.Canvas()->Font()->Assign(*l.label->Font());
        EXPECT_GT(cell.Canvas()->TextHeight("Ag"), l.height);
    }
}

TEST_F(Splash, EmptyTextsTakeTheWindowsOwnAndTheLabelGetsItsSize) {
    struct Case { int fontSize; double widthFactor; int w, h; };
    const Case cases[] = {{120, 1.1, 406, 200}, {72, 1.0, 226, 120}, {50, 1.5, 235, 83}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.fontSize);
        TFormSplash* s = Make();
        s->FontSize = k.fontSize;
        s->WidthFactor = k.widthFactor;
        s->ShowLoadLine = s->ShowBottomLine = true;
        s->StayOpen = true;
        s->execute();
        EXPECT_TRUE(s->IsShowing);
        EXPECT_EQ(s->FormStyle(), gui::fsStayOnTop);
        EXPECT_EQ(s->Caption(), "None Yet");
        EXPECT_EQ(s->KitGraphicLabel->Caption(), "None Yet");
        EXPECT_EQ(s->LaLoad->Caption(), "Laden von QX7WAV's ");
        EXPECT_EQ(s->LaBottomLine->Caption(), "Bugreports und Verbesserungsvorschläge sind erwünscht.");
        EXPECT_TRUE(s->LaLoad->Visible());
        EXPECT_FALSE(s->IMLogo->Visible());
        EXPECT_EQ(s->KitGraphicLabel->Font()->Size(), k.fontSize);
        EXPECT_FALSE(s->KitGraphicLabel->AutoSize());
        EXPECT_EQ(s->KitGraphicLabel->Width(), k.w);
        EXPECT_EQ(s->KitGraphicLabel->Height(), k.h);
        delete s;
    }
}

TEST_F(Splash, KeepsTheWindowAtLeastHalfASecond) {
    TFormSplash::MaxDisplayTime = -1;
    for (int asked : {0, 300}) {
        SCOPED_TRACE(asked);
        TFormSplash* s = Make();
        s->DisplayTime = asked;
        s->StayOpen = true;
        QElapsedTimer t;
        t.start();
        s->execute();
        EXPECT_GE(t.elapsed(), 500);
        EXPECT_LT(t.elapsed(), 2000);
        EXPECT_EQ(s->DisplayTime, 500);
        delete s;
    }
    TFormSplash::MaxDisplayTime = 0;
    TFormSplash* s = Make();
    s->DisplayTime = 2500;
    s->StayOpen = true;
    s->execute();
    EXPECT_EQ(s->DisplayTime, 2500);
}

TEST_F(Splash, PaintsWhileItWaitsAndDropsInput) {
    TFormSplash::MaxDisplayTime = 400;
    TFormSplash* s = Make();
    s->TitleText = "Feldor";
    s->FormColor = 0xA2D3F9;
    s->StayOpen = true;
    QImage during;
    // What the window shows 200 ms into its display time: its surface.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [s, &during] {
        during = QImage(s->ClientWidth(), s->ClientHeight(), QImage::Format_RGB32);
        for (int y = 0; y < during.height(); ++y)
            for (int x = 0; x < during.width(); ++x) during.setPixel(x, y, Rgb(s->Canvas()->Pixels(x, y)));
    });
    timer.start(200);
    // A double click that arrives during the display time is not handled.
    PostDoubleClick(s->ClientWidget(), QPoint(20, 150));
    s->execute();
    Settle();
    ASSERT_FALSE(during.isNull());
    // The title shows in the middle while the window waits.
    int title = 0;
    const TKitGraphicLabel* l = s->KitGraphicLabel;
    for (int y = l->Top(); y < l->Top() + l->Height(); ++y)
        for (int x = l->Left(); x < l->Left() + l->Width(); ++x) title += during.pixel(x, y) != Rgb(0xA2D3F9);
    EXPECT_GT(title, 1000);
    EXPECT_TRUE(s->Visible());
    EXPECT_TRUE(s->IsShowing);

    // Once it is left open, a double click on the logo closes and releases it.
    QPointer<QWidget> window = s->Widget();
    s->ShowLogo = true;
    s->IMLogo->SetVisible(true);
    PostDoubleClick(s->ClientWidget(), QPoint(s->IMLogo->Left() + 5, s->IMLogo->Top() + 5));
    Settle();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(owner->ComponentCount(), 0);
}

TEST_F(Splash, ClosesAndReleasesItselfUnlessStayOpen) {
    TFormSplash* s = Make();
    QPointer<QWidget> window = s->Widget();
    s->execute();
    EXPECT_FALSE(s->IsShowing);
    Settle();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(owner->ComponentCount(), 0);
}

TEST_F(Splash, StartUpTitleHasGradientFacesAndNoFringe) {
    for (TColor formColor : {TColor(0xA2D3F9), clBtnFace}) {
        SCOPED_TRACE(formColor);
        TFormSplash* s = StartUpSplash(formColor);
        const QImage img = s->ClientWidget()->grab().toImage();
        TKitGraphicLabel* l = s->KitGraphicLabel;
        // The label lies in the middle of the window.
        EXPECT_LE(std::abs(2 * l->Left() + l->Width() - s->ClientWidth()), 1);
        EXPECT_LE(std::abs(2 * l->Top() + l->Height() - s->ClientHeight()), 42);

        // The letters as the label composes them: faces in the font colour, 3D copies in the
        // light and shadow colours, the rest in the key colour (two-colour letters).
        TBitmap text(l->Width(), l->Height()), fill(l->Width(), l->Height());
        text.Canvas()->Brush()->SetColor(l->BrushBackColor());
        text.Canvas()->FillRect(Rect(0, 0, l->Width(), l->Height()));
        TFont letters(*l->Font());
        letters.SetQuality(fqNonAntialiased);
        text.Canvas()->Font()->Assign(letters);
        TKitTransformParams p;
        p.Transform = l->Transform();
        KitDrawTransformedText(*text.Canvas(), Rect(0, 0, l->Width(), l->Height()), letters,
                               *l->FontFX(), "Feldor", p);
        l->FillObject()->FillCanvas(*fill.Canvas(), Rect(0, 0, l->Width(), l->Height()), l->Font()->Color());
        const TColor face = ColorToRGB(l->Font()->Color()), key = ColorToRGB(l->BrushBackColor());
        const QRgb window = Rgb(formColor), black = qRgb(0, 0, 0);
        // The other controls lie above the label where they overlap it.
        auto covered = [&](int x, int y) {
            for (gui::TControl* o : {static_cast<gui::TControl*>(s->LaLoad), static_cast<gui::TControl*>(s->LaBottomLine),
                                     static_cast<gui::TControl*>(s->IMLogo)})
                if (x >= o->Left() && x < o->Left() + o->Width() && y >= o->Top() && y < o->Top() + o->Height()) return true;
            return false;
        };
        int faces = 0, edges = 0, blue = 0;
        for (int y = 0; y < l->Height(); ++y)
            for (int x = 0; x < l->Width(); ++x) {
                const TColor t = ColorToRGB(text.Canvas()->Pixels(x, y));
                if (!img.valid(l->Left() + x, l->Top() + y) || covered(l->Left() + x, l->Top() + y)) continue;
                const QRgb got = img.pixel(l->Left() + x, l->Top() + y);
                if (t == face) {
                    ASSERT_EQ(got, Rgb(fill.Canvas()->Pixels(x, y))) << x << "," << y;
                    ++faces;
                    blue += qBlue(got) > 0x40 && qRed(got) == 0;
                } else if (t == key) {
                    ASSERT_EQ(got, window) << x << "," << y;
                } else {
                    // No blended pixels: the edges are the two 3D colours.
                    ASSERT_TRUE(t == ColorToRGB(clBtnHighlight) || t == ColorToRGB(clBtnShadow)) << x << "," << y;
                    ASSERT_EQ(got, Rgb(t)) << x << "," << y;
                    ASSERT_NE(got, black);
                    ++edges;
                }
            }
        EXPECT_GT(faces, 5000);
        EXPECT_GT(edges, 500);
        EXPECT_GT(blue, 100);  // the gradient starts blue
        // The blue frame inside a black outline of the borderless window.
        EXPECT_EQ(img.pixel(0, 100), black);
        EXPECT_EQ(img.pixel(3, 100), Rgb(0xFF0000));
        EXPECT_EQ(img.pixel(s->ClientWidth() - 3, 100), Rgb(0xFF0000));
        delete s;
    }
}

TEST_F(Splash, DoubleClickOnTheWindowOrAnyPartClosesAnOpenSplash) {
    for (int part = 0; part < 5; ++part) {
        SCOPED_TRACE(part);
        TFormSplash* s = Make();
        s->ShowLogo = s->ShowLoadLine = s->ShowBottomLine = true;
        s->StayOpen = true;
        s->execute();
        Settle();
        gui::TControl* const parts[] = {s->KitGraphicLabel, s->LaLoad, s->LaBottomLine, s->IMLogo, nullptr};
        QPoint at(30, 120);  // the window itself, beside the title
        if (gui::TControl* c = parts[part]) at = QPoint(c->Left() + c->Width() / 2, c->Top() + c->Height() / 2);
        if (part == 0) at = QPoint(s->KitGraphicLabel->Left() + 2, s->KitGraphicLabel->Top() + 2);
        QPointer<QWidget> window = s->Widget();
        PostDoubleClick(s->ClientWidget(), at);
        Settle();
        EXPECT_TRUE(window.isNull());
    }
    EXPECT_EQ(owner->ComponentCount(), 0);
}
