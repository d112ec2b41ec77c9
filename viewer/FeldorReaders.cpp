// TFormFeldor's near-field readers: the reader frame (progress window, message pumping with user
// input held back, the end) around the parsing in NearFieldReaders.cpp.
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "viewer/FeldorU.h"
#include "viewer/FileProgress.h"
#include "viewer/NearFieldReaders.h"

namespace {

using LoadFunction = void (*)(const std::string&, nearfield::ReaderContext&);

// While the file is read, the pumped messages paint and run timers, but user input to the
// program's windows waits (TBusyScope), so that no other command runs in the middle of the read
// and closing the main window takes effect afterwards. The progress window is closed and freed
// also when the reader fails; the error goes on to the caller. Into: the point set, powers and
// log lines the file is read into; without one, the viewer's point set, powers and script window.
void RunReaderFrame(TFormFeldor& form, const std::string& FileName, LoadFunction load,
                    FeldorU::FieldPoints* Into) {
    gui::TBusyScope busy;
    auto progress = std::make_unique<TFormFileProgress>(nullptr);
    progress->SetCaption("Datei " + rtl::ExtractFileName(FileName) + " wird geladen....");
    progress->Show();
    progress->FileGauge->SetProgress(0);
    progress->PaintNow();  // the reader pumps messages only now and then

    nearfield::ReaderContext ctx;
    gui::TGauge* gauge = progress->FileGauge;
    ctx.Progress = [gauge](int percent) { gauge->SetProgress(percent); };
    ctx.Pump = [] {
        if (gui::Application) gui::Application->ProcessMessages();
    };
    ctx.Info = [&form](const std::string& text) { form.addInfo(text); };
    if (Into) {
        ctx.Points = {&Into->tx, &Into->ty, &Into->tz, &Into->tE, &Into->tEx, &Into->tEy, &Into->tEz};
        ctx.Power = &Into->Power;
        ctx.PowerShow = &Into->PowerShow;
        ctx.Info = [Into](const std::string& text) { Into->Log.push_back(text); };
    }

    try {
        load(FileName, ctx);
    } catch (...) {
        try {
            progress->Close();
        } catch (...) {
        }
        throw;
    }
    std::this_thread::sleep_for(nearfield::FrameWait);
    progress->Close();
}

}  // namespace

void TFormFeldor::LadenFeld2Dim(const std::string& FileName, FeldorU::FieldPoints* Into) {
    RunReaderFrame(*this, FileName, nearfield::LoadEznec, Into);
}

void TFormFeldor::LadenFeld2DimNecWin(const std::string& FileName, FeldorU::FieldPoints* Into) {
    RunReaderFrame(*this, FileName, nearfield::LoadNecWin, Into);
}

void TFormFeldor::LadenFeld2Dim4nec2(const std::string& FileName, FeldorU::FieldPoints* Into) {
    RunReaderFrame(*this, FileName, nearfield::Load4nec2, Into);
}

void TFormFeldor::LadenFeld2DimMMAna(const std::string& FileName, FeldorU::FieldPoints* Into) {
    RunReaderFrame(*this, FileName, nearfield::LoadMMana, Into);
}
