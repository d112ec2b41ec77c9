#include "viewer/FileProgress.h"

TFormFileProgress::TFormFileProgress(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormFileProgress");
    SetBorderStyle(gui::bsToolWindow);
    SetPosition(gui::poMainFormCenter);
    SetClientWidth(303);
    SetClientHeight(40);
    FileGauge = new gui::TGauge(this);
    FileGauge->SetName("FileGauge");
    FileGauge->SetParent(this);
    FileGauge->SetBounds(16, 8, 273, 25);
    FileGauge->SetMinValue(0);
    FileGauge->SetMaxValue(100);
    OnCloseQuery = [this](rtl::TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
}

void TFormFileProgress::FormCloseQuery(rtl::TObject*, bool& CanClose) {
    CanClose = FileGauge->Progress() >= 100;
}
