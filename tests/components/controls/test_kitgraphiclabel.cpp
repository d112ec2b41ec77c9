// The graphic label on a form: its defaults, which changes refresh and re-measure it, the
// assignment from another label, and the letters drawn pixel by pixel, plain and with their
// faces filled by a gradient. The font is named: DejaVu Sans.
#include <gtest/gtest.h>

#include <QImage>

#include <memory>
#include <string>

#include "components/controls/KitGraphicLabel.h"
#include "platform/gui/Forms.h"
#include "tests/gui/GuiFixture.h"

using namespace kit;
using namespace gdi;
using TT = TKitTransLabelTypes;

namespace {

constexpr TColor kFormColor = 0xA2D3F9;

QRgb Rgb(TColor c) {
    const TColor v = ColorToRGB(c);
    return qRgb(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

// Counts the refreshes that reach the label.
class CountingLabel : public TKitGraphicLabel {
public:
    explicit CountingLabel(rtl::TComponent* owner) : TKitGraphicLabel(owner) {}
    int refreshes = 0;
    void ContentChanged(rtl::TObject* Sender) override {
        ++refreshes;
        TKitGraphicLabel::ContentChanged(Sender);
    }
};

// An image list with one 8 x 8 red image at (0, 1).
class OneImage : public TKitImageList {
public:
    explicit OneImage(rtl::TComponent* owner) : TKitImageList(owner) {}
    bool HasImage(int l, int i) override { return l == 0 && i == 1; }
    void GetBitmap(int, int, TBitmap* b) override {
        b->SetSize(8, 8);
        b->Canvas()->Brush()->SetColor(clRed);
        b->Canvas()->FillRect(Rect(0, 0, 8, 8));
    }
};

}  // namespace

class kitGraphicLabel : public GuiFixture {
protected:
    gui::TForm* form = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 320, 200);
        form->SetColor(kFormColor);
        form->Show();
    }
    CountingLabel* Make(const std::string& caption, int l = 10, int t = 10, int w = 280, int h = 120) {
        auto* c = new CountingLabel(form);
        c->SetParent(form);
        c->SetBounds(l, t, w, h);
        c->Font()->SetName("DejaVu Sans");
        c->Font()->SetStyle({fsBold});
        c->Font()->SetSize(40);
        c->SetCaption(caption);
        return c;
    }
    // The title look of the start-up window: shrinking, tilted letters with a raised shadow
    // and a square gradient in the faces.
    static void TitleLook(TKitGraphicLabel* c) {
        c->SetTransform(TT::tmRNoseDown);
        c->FontFX()->SetStyle(tdRaisedShadow);
        c->FontFX()->SetLightDepth(1);
        c->FontFX()->SetShadowDepth(1);
        c->FillObject()->SetStyle(sfGradient);
        c->FillObject()->Gradient()->SetStyle(gstSquare);
        c->FillObject()->Gradient()->SetColor(0xFF0000);
        c->FillObject()->Gradient()->SetEndColor(clBlack);
        c->FillObject()->Gradient()->SetTwoColors(true);
        c->SetTransparent(true);
    }
    QImage Shot() {
        QCoreApplication::processEvents();
        return form->ClientWidget()->grab().toImage();
    }
    // The caption drawn the way the label draws it, on its own: the text picture (keyed on
    // the label's BrushBackColor, its letters in two colours) and the fill of the same size.
    static void Reference(TKitGraphicLabel* c, TBitmap& text, TBitmap& fill) {
        text.SetSize(c->Width(), c->Height());
        text.Canvas()->Brush()->SetColor(c->BrushBackColor());
        text.Canvas()->FillRect(Rect(0, 0, c->Width(), c->Height()));
        TKitTransformParams p;
        p.Transform = c->Transform();
        p.Factor = c->Factor();
        p.Attributes = c->Attributes();
        TFont letters(*c->Font());
        letters.SetQuality(fqNonAntialiased);
        text.Canvas()->Font()->Assign(letters);
        KitDrawTransformedText(*text.Canvas(), Rect(0, 0, c->Width(), c->Height()), letters,
                               *c->FontFX(), c->Caption(), p);
        fill.SetSize(c->Width(), c->Height());
        c->FillObject()->FillCanvas(*fill.Canvas(), Rect(0, 0, c->Width(), c->Height()), c->Font()->Color());
    }
};

TEST_F(kitGraphicLabel, NewLabelHasTheDocumentedDefaults) {
    auto* c = new TKitGraphicLabel(form);
    EXPECT_EQ(c->Transform(), TT::tmWave);
    EXPECT_EQ(c->Attributes(), TKitTransLabelAttr{taAutoToggled});
    EXPECT_EQ(c->Factor(), 5);
    EXPECT_EQ(c->PerspectiveDepth(), 5);
    EXPECT_EQ(c->Perspective(), tpBird);
    EXPECT_EQ(c->Toggle(), 0);
    EXPECT_EQ(c->Font()->Name(), "Arial");
    EXPECT_EQ(c->Font()->Size(), 24);
    EXPECT_EQ(c->FillObject()->Style(), sfNone);
    EXPECT_TRUE(c->FillObject()->IsEmptyFill());
    EXPECT_FALSE(c->Transparent());
    EXPECT_TRUE(c->ControlStyle().Contains(gui::csOpaque));
    EXPECT_FALSE(c->AutoSize());
    EXPECT_FALSE(c->InvertCaption());
    EXPECT_EQ(c->BrushBackColor(), clBtnFace);
}

TEST_F(kitGraphicLabel, ToggleAndDepthRefreshOnlyWhenTheirAttributeIsSet) {
    auto* c = Make("Feld");
    struct Case {
        const char* what;
        TKitTransLabelAttr attrs;
        void (*change)(TKitGraphicLabel*);
        int expected;
    };
    const Case cases[] = {
        {"toggle, not toggled", {taAutoToggled}, [](TKitGraphicLabel* l) { l->SetToggle(12); }, 0},
        {"toggle, toggled", {taToggled}, [](TKitGraphicLabel* l) { l->SetToggle(12); }, 1},
        {"depth, flat", {taAutoToggled}, [](TKitGraphicLabel* l) { l->SetPerspectiveDepth(9); }, 0},
        {"depth, perspective", {taPerspective}, [](TKitGraphicLabel* l) { l->SetPerspectiveDepth(9); }, 1},
        {"factor", {taAutoToggled}, [](TKitGraphicLabel* l) { l->SetFactor(30); }, 1},
        {"unchanged factor", {taAutoToggled}, [](TKitGraphicLabel* l) { l->SetFactor(5); }, 0},
        {"invert", {taAutoToggled}, [](TKitGraphicLabel* l) { l->SetInvertCaption(true); }, 1},
        {"fill style", {taAutoToggled}, [](TKitGraphicLabel* l) { l->FillObject()->SetStyle(sfGradient); }, 1},
        {"effect", {taAutoToggled}, [](TKitGraphicLabel* l) { l->FontFX()->SetStyle(tdRaised); }, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        c->SetAttributes(k.attrs);
        c->SetToggle(0);
        c->SetPerspectiveDepth(5);
        c->SetFactor(5);
        c->SetInvertCaption(false);
        c->FillObject()->SetStyle(sfNone);
        c->FontFX()->SetStyle(tdNone);
        c->refreshes = 0;
        k.change(c);
        EXPECT_EQ(c->refreshes, k.expected);
    }
}

TEST_F(kitGraphicLabel, AutoSizeTakesTheMeasuredRectanglePlusTheBevel) {
    auto* c = Make("Feldor", 10, 10, 50, 20);
    c->Bevel()->SetStyleOuter(bvRaised);
    c->Bevel()->SetWidthOuter(3);
    const int bevel = c->GetBevelExtent();
    ASSERT_GT(bevel, 0);
    // Without AutoSize the bounds stay.
    c->SetCaption("Feldor Feldor");
    EXPECT_EQ(c->Width(), 50);
    EXPECT_EQ(c->Height(), 20);

    c->SetAutoSize(true);
    TBitmap scratch(4, 4);
    TRect m = Rect(0, 0, 0, 0);
    TKitTransformParams p;
    KitCalcTransformedTextRect(*scratch.Canvas(), m, *c->Font(), *c->FontFX(), "Feldor Feldor", p);
    EXPECT_EQ(c->Width(), m.Right + 2 * bevel);
    EXPECT_EQ(c->Height(), m.Bottom + 2 * bevel);
    EXPECT_GT(c->Width(), 50);
    const int wide = c->Width();
    c->SetCaption("Fe");
    EXPECT_LT(c->Width(), wide);
    EXPECT_EQ(c->Left(), 10);
    EXPECT_EQ(c->Top(), 10);
}

TEST_F(kitGraphicLabel, AssignCopiesShapeAndFillButNotInversionOrKeyColour) {
    auto* src = Make("Quelle");
    TitleLook(src);
    src->SetFactor(17);
    src->SetToggle(4);
    src->SetPerspectiveDepth(8);
    src->SetPerspective(tpFrog);
    src->SetAttributes({taToggled, taPerspective});
    src->SetInvertCaption(true);
    src->SetBrushBackColor(clYellow);
    src->FontFX()->SetLightColor(clRed);
    src->Font()->SetSize(33);

    src->SetAutoSize(true);

    auto* dst = Make("Ziel", 10, 140, 100, 40);
    dst->SetAutoSize(true);
    int resized = 0;
    dst->OnBoundsChange = [&](rtl::TObject*, TKitBoundsChanges) { ++resized; };
    dst->Assign(src);
    // AutoSize is off while the parts are copied: one re-measure at the end, with everything.
    EXPECT_EQ(resized, 1);
    TBitmap scratch(4, 4);
    TRect m = Rect(0, 0, 0, 0);
    TKitTransformParams p;
    p.Transform = TT::tmRNoseDown;
    p.Factor = 17;
    p.Toggle = 4;
    p.PerspectiveDepth = 8;
    p.Perspective = tpFrog;
    p.Attributes = {taToggled, taPerspective};
    KitCalcTransformedTextRect(*scratch.Canvas(), m, *src->Font(), *src->FontFX(), "Ziel", p);
    EXPECT_EQ(dst->Width(), m.Right);
    EXPECT_EQ(dst->Height(), m.Bottom);
    EXPECT_EQ(dst->Transform(), TT::tmRNoseDown);
    EXPECT_EQ(dst->Factor(), 17);
    EXPECT_EQ(dst->Toggle(), 4);
    EXPECT_EQ(dst->PerspectiveDepth(), 8);
    EXPECT_EQ(dst->Perspective(), tpFrog);
    EXPECT_EQ(dst->Attributes(), (TKitTransLabelAttr{taToggled, taPerspective}));
    EXPECT_EQ(dst->FontFX()->Style(), tdRaisedShadow);
    EXPECT_EQ(dst->FontFX()->LightColor(), clRed);
    EXPECT_EQ(dst->Font()->Size(), 33);
    EXPECT_EQ(dst->FillObject()->Style(), sfGradient);
    EXPECT_EQ(dst->FillObject()->Gradient()->Style(), gstSquare);
    EXPECT_TRUE(dst->AutoSize());
    EXPECT_FALSE(dst->InvertCaption());
    EXPECT_EQ(dst->BrushBackColor(), clBtnFace);
    EXPECT_EQ(dst->Caption(), "Ziel");
}

TEST_F(kitGraphicLabel, PlainLettersAreTheTransformedTextOnTheLabelColour) {
    auto* c = Make("Wave");
    c->SetParentColor(false);
    c->SetColor(clWhite);
    c->Font()->SetColor(clNavy);
    const QImage img = Shot();
    TBitmap want(c->Width(), c->Height());
    want.Canvas()->Brush()->SetColor(clWhite);
    want.Canvas()->FillRect(Rect(0, 0, c->Width(), c->Height()));
    want.Canvas()->Font()->Assign(*c->Font());
    KitDrawTransformedText(*want.Canvas(), Rect(0, 0, c->Width(), c->Height()), *c->Font(),
                           *c->FontFX(), "Wave", TKitTransformParams{});
    int navy = 0;
    for (int y = 0; y < c->Height(); ++y)
        for (int x = 0; x < c->Width(); ++x) {
            const QRgb w = Rgb(want.Canvas()->Pixels(x, y));
            ASSERT_EQ(img.pixel(c->Left() + x, c->Top() + y), w) << x << "," << y;
            navy += w == Rgb(clNavy);
        }
    EXPECT_GT(navy, 100);
    // Outside the label the form keeps its colour.
    EXPECT_EQ(img.pixel(c->Left() + c->Width() + 2, c->Top() + 5), Rgb(kFormColor));
}

TEST_F(kitGraphicLabel, FilledFacesShowTheGradientEdgesKeepTheirColoursRestIsTheForm) {
    auto* c = Make("Feldor");
    TitleLook(c);
    // A system colour as the face colour: the keying works on the resolved value.
    c->Font()->SetColor(clWindowText);
    const QImage img = Shot();
    TBitmap text, fill;
    Reference(c, text, fill);
    const TColor face = ColorToRGB(clWindowText), key = ColorToRGB(clBtnFace);
    int faces = 0, edges = 0, distinctFill = 0;
    QRgb firstFill = 0;
    for (int y = 0; y < c->Height(); ++y)
        for (int x = 0; x < c->Width(); ++x) {
            const TColor t = ColorToRGB(text.Canvas()->Pixels(x, y));
            const QRgb got = img.pixel(c->Left() + x, c->Top() + y);
            QRgb want;
            if (t == face) {
                want = Rgb(fill.Canvas()->Pixels(x, y));
                if (faces++ == 0) firstFill = want;
                distinctFill += want != firstFill;
            } else if (t == key) {
                want = Rgb(kFormColor);
            } else {
                // Drawn without antialiasing: only the two 3D colours besides face and key.
                ASSERT_TRUE(t == ColorToRGB(clBtnHighlight) || t == ColorToRGB(clBtnShadow)) << x << "," << y;
                want = Rgb(t);
                ++edges;
            }
            ASSERT_EQ(got, want) << x << "," << y;
        }
    EXPECT_GT(faces, 500);
    EXPECT_GT(edges, 100);
    EXPECT_GT(distinctFill, 0);  // the faces carry more than one gradient step
}

TEST_F(kitGraphicLabel, EdgeInTheKeyColourBecomesTransparent) {
    auto* c = Make("Feldor");
    TitleLook(c);
    c->SetBrushBackColor(c->FontFX()->LightColor());
    const QImage img = Shot();
    TBitmap text, fill;
    Reference(c, text, fill);
    const TColor light = ColorToRGB(c->FontFX()->LightColor());
    int lit = 0;
    for (int y = 0; y < c->Height(); ++y)
        for (int x = 0; x < c->Width(); ++x)
            if (ColorToRGB(text.Canvas()->Pixels(x, y)) == light) {
                ++lit;
                ASSERT_EQ(img.pixel(c->Left() + x, c->Top() + y), Rgb(kFormColor)) << x << "," << y;
            }
    EXPECT_GT(lit, 50);
}

TEST_F(kitGraphicLabel, OneLetterTitleShowsOnlyTheBackground) {
    auto* c = Make("F");
    TitleLook(c);
    c->SetTransparent(false);
    c->SetParentColor(false);
    c->SetColor(clWhite);
    const QImage img = Shot();
    for (int y = 0; y < c->Height(); ++y)
        for (int x = 0; x < c->Width(); ++x)
            ASSERT_EQ(img.pixel(c->Left() + x, c->Top() + y), Rgb(clWhite)) << x << "," << y;
}

TEST_F(kitGraphicLabel, ImageOfTheListBecomesTheFillOfTheFaces) {
    auto* c = Make("Feldor");
    c->Font()->SetColor(clBlack);
    c->FillObject()->SetStyle(sfBitmapList);
    EXPECT_TRUE(c->FillObject()->IsEmptyFill());
    auto* list = new OneImage(form);
    c->SetImageList(list);
    c->SetImageIndex(1);
    ASSERT_FALSE(c->FillObject()->ListBitmap()->Empty());
    EXPECT_EQ(c->FillObject()->ListBitmap()->Canvas()->Pixels(3, 3), clRed);
    EXPECT_FALSE(c->FillObject()->IsEmptyFill());
    c->Invalidate();
    const QImage img = Shot();
    int red = 0, black = 0;
    for (int y = 0; y < c->Height(); ++y)
        for (int x = 0; x < c->Width(); ++x) {
            const QRgb p = img.pixel(c->Left() + x, c->Top() + y);
            red += p == Rgb(clRed);
            black += p == Rgb(clBlack);
        }
    EXPECT_GT(red, 500);
    EXPECT_EQ(black, 0);
    // No image at the new index: the list picture is emptied.
    c->SetImageIndex(2);
    EXPECT_TRUE(c->FillObject()->ListBitmap()->Empty());
    EXPECT_TRUE(c->FillObject()->IsEmptyFill());
}
