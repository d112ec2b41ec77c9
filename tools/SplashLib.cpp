#include "tools/SplashLib.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "foundation/GrafikToolsLib.h"
#include "foundation/MathLib.h"
#include "platform/rtl/Classes.h"

using namespace gdi;
using namespace kit;

int TFormSplash::MaxDisplayTime = -1;

namespace {

// The logo, a 24-bit bitmap file built into the program (tools/res/SplashLogo.bmp).
const unsigned char kLogo[] = {
#include "SplashLogoData.inc"
};

}  // namespace

void LoadSplashLogo(TBitmap& Bitmap) {
    rtl::TMemoryStream stream;
    stream.Write(kLogo, sizeof kLogo);
    stream.SetPosition(0);
    Bitmap.LoadFromStream(stream);
}

TFormSplash::TFormSplash(rtl::TComponent* owner) : gui::TForm(owner) {
    SetBorderStyle(gui::bsSingle);
    SetBorderIcons(gui::biSystemMenu);
    SetPosition(gui::poScreenCenter);
    SetClientWidth(532);
    SetClientHeight(273);
    SetColor(0xA2D3F9);
    const auto dbl = [this](rtl::TObject* s) { closeOnDblClick(s); };

    KitGraphicLabel = new TKitGraphicLabel(this);
    KitGraphicLabel->SetParent(this);
    KitGraphicLabel->SetBounds(64, 36, 406, 200);
    KitGraphicLabel->Font()->SetName("Arial");
    KitGraphicLabel->Font()->SetStyle({fsBold});
    KitGraphicLabel->SetTransform(TKitTransLabelTypes::tmRNoseDown);
    KitGraphicLabel->SetToggle(2);
    KitGraphicLabel->SetPerspectiveDepth(3);
    KitGraphicLabel->SetFactor(5);
    KitGraphicLabel->SetPerspective(tpBird);
    TKitFxCaption* fx = KitGraphicLabel->FontFX();
    fx->SetStyle(tdRaisedShadow);
    fx->SetLightDepth(1);
    fx->SetShadowDepth(1);
    fx->SetLightColor(clBtnHighlight);
    fx->SetShadowColor(clBtnShadow);
    fx->SetDisabledStyle(ds3d);
    TKitFillObject* fill = KitGraphicLabel->FillObject();
    fill->SetStyle(sfGradient);
    fill->Gradient()->SetStyle(gstSquare);
    fill->Gradient()->SetEndColor(clBlack);
    fill->Gradient()->SetColorCount(16);
    fill->Gradient()->SetTwoColors(true);
    fill->SetOptions({foFillInner, foGrUseBitmap});
    KitGraphicLabel->SetTransparent(true);
    KitGraphicLabel->SetBrushBackColor(clBtnFace);
    KitGraphicLabel->Bevel()->SetMode(bmCustom);
    KitGraphicLabel->SetAutoSize(true);
    KitGraphicLabel->OnDblClick = dbl;

    LaBottomLine = new gui::TLabel(this);
    LaBottomLine->SetParent(this);
    LaBottomLine->SetAutoSize(false);
    LaBottomLine->SetAlign(gui::alBottom);
    LaBottomLine->SetBounds(0, 253, 532, 20);
    LaBottomLine->SetAlignment(gui::taCenter);
    LaBottomLine->SetTransparent(true);
    LaBottomLine->Font()->SetHeight(-13);
    LaBottomLine->OnDblClick = dbl;

    IMLogo = new gui::TImage(this);
    IMLogo->SetParent(this);
    IMLogo->SetBounds(474, 6, 52, 52);
    IMLogo->SetProportional(true);
    IMLogo->SetStretch(true);
    TBitmap logo;
    LoadSplashLogo(logo);
    IMLogo->Picture()->Assign(&logo);
    IMLogo->OnDblClick = dbl;

    LaLoad = new gui::TLabel(this);
    LaLoad->SetParent(this);
    LaLoad->SetBounds(8, 8, 300, 20);
    LaLoad->SetTransparent(true);
    LaLoad->Font()->SetHeight(-16);
    LaLoad->Font()->SetStyle({fsBold});
    LaLoad->OnDblClick = dbl;

    OnDblClick = dbl;
    OnCreate = [this](rtl::TObject* s) { FormCreate(s); };
    OnClose = [this](rtl::TObject* s, gui::TCloseAction& a) { FormClose(s, a); };
    // The frame of a borderless window is part of every painting of the client area.
    OnPaint = [this](rtl::TObject*) {
        if (Borderless && IsShowing) Rahmen();
    };
}

void TFormSplash::FormCreate(rtl::TObject*) {
    TitleText.clear();
    BottomLine.clear();
    LoadLine.clear();
    ShowLogo = ShowLoadLine = ShowBottomLine = false;
    DisplayTime = 0;
    GradientColor = 0xFF0000;
    FormColor = clBtnFace;
    FontSize = 72;
    WidthFactor = 1.0;
    Borderless = StayOpen = IsShowing = false;
}

void TFormSplash::execute() {
    if (TitleText.empty()) TitleText = "None Yet";
    if (BottomLine.empty()) BottomLine = "Bugreports und Verbesserungsvorschläge sind erwünscht.";
    if (LoadLine.empty()) LoadLine = "Laden von QX7WAV's ";
    SetCaption(TitleText);
    KitGraphicLabel->SetCaption(TitleText);

    KitGraphicLabel->SetAutoSize(false);
    const int width = static_cast<int>(std::nearbyint(FontSize * 3.0L));
    const int height = static_cast<int>(std::nearbyint(FontSize * 5.0L / 3.0L));
    KitGraphicLabel->SetBounds(KitGraphicLabel->Left(), KitGraphicLabel->Top(), width, height);
    KitGraphicLabel->Font()->SetSize(FontSize);
    KitGraphicLabel->SetBounds(KitGraphicLabel->Left(), KitGraphicLabel->Top(),
                               FloorInt(KitGraphicLabel->Width() * static_cast<long double>(WidthFactor) + 10),
                               KitGraphicLabel->Height());
    KitGraphicLabel->SetBounds(FloorInt(Width() / 2.0L - KitGraphicLabel->Width() / 2.0L),
                               FloorInt(Height() / 2.0L - KitGraphicLabel->Height() / 2.0L),
                               KitGraphicLabel->Width(), KitGraphicLabel->Height());

    KitGraphicLabel->FillObject()->Gradient()->SetColor(GradientColor);
    SetColor(FormColor);

    LaBottomLine->SetCaption(BottomLine);
    LaLoad->SetCaption(LoadLine);
    IMLogo->SetVisible(ShowLogo);
    LaLoad->SetVisible(ShowLoadLine);
    LaBottomLine->SetVisible(ShowBottomLine);

    if (Borderless) {
        const int outer = Height();
        SetBorderStyle(gui::bsNone);
        SetClientHeight(outer - 40);
    }

    {
        // From the show to the end of the display time painting goes on and input is dropped.
        gui::TBusyScope busy;
        // Topmost before it is mapped, so that the window appears once, above all others.
        SetFormStyle(gui::fsStayOnTop);
        Show();
        IsShowing = true;
        BringToFront();
        if (Borderless) Rahmen();

        PaintNow();
        DisplayTime = std::max(DisplayTime, 500);
        const int wait = MaxDisplayTime < 0 ? DisplayTime : std::min(DisplayTime, MaxDisplayTime);
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait);
        while (std::chrono::steady_clock::now() < end) {
            gui::Application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    if (!StayOpen) {
        Hide();
        Close();
        IsShowing = false;
    }
}

void TFormSplash::Rahmen() {
    TCanvas* c = Canvas();
    PenFromString(c, "psSolid,5");
    CanvasFrameRect(c, FloorInt(5 / 2.0L), FloorInt(5 / 2.0L), Width() - CeilInt(5 / 2.0L),
                    Height() - CeilInt(5 / 2.0L), 0xFF0000);
    PenFromString(c, "psSolid,1");
    CanvasFrameRect(c, 0, 0, Width(), Height(), clBlack);
}

void TFormSplash::closeOnDblClick(rtl::TObject*) {
    Hide();
    Close();
}

void TFormSplash::FormClose(rtl::TObject*, gui::TCloseAction& Action) { Action = gui::caFree; }
