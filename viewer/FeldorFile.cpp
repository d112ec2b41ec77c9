// Main window: the field file (.fdr) with the point set, the powers, band and mode and the two
// overlay geometries, and its menu commands.
//
// Layout: the seven point arrays tx, ty, tz, tE, tEx, tEy, tEz as DoubleArray blocks; a value
// list of the tagged value stream with Power, PowerShow, the band and the mode item index; the
// ground and then the antenna point list. No header, no version, no checksum.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "foundation/FileStreamUtilsLib.h"
#include "platform/rtl/FileReplace.h"
#include "platform/rtl/TaggedStream.h"
#include "viewer/FeldorU.h"
#include "viewer/FileErrors.h"
#include "viewer/FileProgress.h"

using namespace FeldorU;

namespace {

constexpr const char* kFilter = "Alle Dateien (*.*)|*.*|FELDOR - Datei (*.fdr)|*.fdr";
constexpr int kFilterIndex = 2;
constexpr const char* kDefaultExt = "fdr";
constexpr const char* kOpenTitle = "Feldor-Datei öffnen";
constexpr const char* kEmptyFieldKept =
    "Das Feld enthält keine Punkte.\r\nDie vorhandene Datei %s wird nicht überschrieben.";

// A load that runs out of data or meets a value of the wrong kind.
constexpr const char* kNoFieldFile = "Die Datei ist unvollständig oder keine Feldor-Felddatei";

DoubleArray* const kPointArrays[7] = {&tx, &ty, &tz, &tE, &tEx, &tEy, &tEz};

void PumpMessages() {
    if (gui::Application) gui::Application->ProcessMessages();
}

// The progress window of one save or load. It is freed when the operation ends, also when it
// ends with an error (freeing removes it whatever the gauge shows).
class Progress {
public:
    Progress(TFormFeldor* owner, const char* caption)
        : form_(std::make_unique<TFormFileProgress>(owner)) {
        form_->SetCaption(caption);
        form_->Show();
        form_->FileGauge->SetProgress(0);
        form_->PaintNow();
    }
    void Gauge(int percent) { form_->FileGauge->SetProgress(percent); }
    // Full gauge, a short pause so that it can be seen, then the window closes.
    void Finish(bool pump) {
        Gauge(100);
        if (pump) PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        form_->Close();
        form_.reset();
    }

private:
    std::unique_ptr<TFormFileProgress> form_;
};

// Whether a stored height lies in Lo..Hi: the field type of that window has planes.
bool HasStoredHeightIn(double Lo, double Hi) {
    for (double z : tz)
        if (Lo <= z && z <= Hi) return true;
    return false;
}

struct LoadedData {
    DoubleArray arrays[7];
    double power = 0;
    double powerShow = 0;
    int band = -1;
    int mode = -1;
    TAntPoints boden;
    TAntPoints antenne;
};

}  // namespace

void TFormFeldor::SaveFDRDatei(const std::string& FileName) {
    // A field without points never replaces a file that exists: it would wipe its data.
    if (PointCount() == 0 && ::access(FileName.c_str(), F_OK) == 0)
        throw rtl::Exception(rtl::Format(kEmptyFieldKept, FileName));

    gui::TBusyScope busy;
    Progress progress(this, "Datei wird gespeichert....");
    PumpMessages();

    rtl::TReplacingFileStream file(FileName);
    for (int k = 0; k < 7; ++k) {
        WriteDoubleArray(file, *kPointArrays[k]);
        progress.Gauge((k + 1) * 10);
        PumpMessages();
    }
    {
        rtl::TWriter writer(file);
        writer.WriteListBegin();
        writer.WriteFloat(Power);
        writer.WriteFloat(PowerShow);
        writer.WriteInteger(CBBand->ItemIndex());
        writer.WriteInteger(CBMode->ItemIndex());
        writer.WriteListEnd();
        writer.FlushBuffer();
    }
    progress.Gauge(80);
    Boden->SaveToStream(file);
    Antenne->SaveToStream(file);
    file.Commit();
    progress.Finish(true);
    SaveTarget = FileName;
}

void TFormFeldor::LoadFDRDatei(const std::string& FileName) {
    PumpMessages();
    gui::TBusyScope busy;
    Progress progress(this, "Datei wird geladen....");
    FeldorDir = rtl::ExtractFilePath(FileName);

    // Everything is read and checked before the viewer takes any of it: a file that is cut
    // short or not a field file leaves the viewer as it was, its field, measuring points and
    // save target included. Only then the viewer is reset and takes the file's data.
    auto data = std::make_unique<LoadedData>();
    try {
        rtl::TFileStream file(FileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        for (int k = 0; k < 7; ++k) {
            ReadDoubleArray(file, data->arrays[k]);
            if (data->arrays[k].Length() != data->arrays[0].Length())
                throw rtl::EReadError(rtl::msg::ReadError);
            progress.Gauge((k + 1) * 10);
        }
        {
            rtl::TReader reader(file);
            reader.ReadListBegin();
            data->power = static_cast<double>(reader.ReadFloat());
            data->powerShow = static_cast<double>(reader.ReadFloat());
            data->band = reader.ReadInteger();
            data->mode = reader.ReadInteger();
            reader.ReadListEnd();
            reader.FlushBuffer();
        }
        progress.Gauge(80);
        data->boden.LoadFromStream(file);
        data->antenne.LoadFromStream(file);
    } catch (rtl::EReadError& e) {
        // The value stream's and the block reader's texts say nothing a user can act on.
        if (e.Message == rtl::msg::ReadError || e.Message == rtl::msg::InvalidPropertyValue)
            e.Message = kNoFieldFile;
        NameFileInError(e, FileName);
        throw;
    } catch (rtl::Exception& e) {
        NameFileInError(e, FileName);
        throw;
    }

    InitApplication();
    for (int k = 0; k < 7; ++k) kPointArrays[k]->vec().swap(data->arrays[k].vec());
    PointSetChanged();
    Power = data->power;
    PowerShow = data->powerShow;
    CBBand->SetItemIndex(data->band);
    CBMode->SetItemIndex(data->mode);
    for (auto [from, to] : {std::pair{&data->boden, Boden.get()},
                            std::pair{&data->antenne, Antenne.get()}}) {
        for (int i = 0; i < from->Names.Length(); ++i) AppendString(to->Names, from->Names[i]);
        AppendDoubleArray(to->x, from->x);
        AppendDoubleArray(to->y, from->y);
        AppendDoubleArray(to->z, from->z);
    }
    data.reset();
    LoadedFile = FileName;
    progress.Finish(false);

    constructZPlane();
    PumpMessages();
    if (DebugMode) {
        static constexpr const char* labels[7] = {"x:  ", "y:  ", "z:  ", "E:  ",
                                                  "Ex: ", "Ey: ", "Ez: "};
        for (int k = 0; k < 7; ++k) addInfo(labels[k] + rtl::IntToStr(kPointArrays[k]->High()));
    }
    HasEPlanes = HasStoredHeightIn(EWindowLo, EWindowHi);
    HasHPlanes = HasStoredHeightIn(HWindowLo, HWindowHi);
    HasZPlanes = HasStoredHeightIn(ZWindowLo, ZWindowHi);
    afterLoading();
    DrawColorScale();
    DrawArrowInColorScale();
    FieldLoaded = true;
    UpdatePicture(this);
    whatLoaded();
}

void TFormFeldor::MIOeffnenClick(rtl::TObject*) {
    // The dialog is shared with the imports: title and proposed name are this command's own,
    // the proposed name the field file shown (none after an import).
    OpenDialog->Title = kOpenTitle;
    OpenDialog->InitialDir = FeldorDir;
    OpenDialog->Filter = kFilter;
    OpenDialog->FilterIndex = kFilterIndex;
    OpenDialog->DefaultExt = kDefaultExt;
    OpenDialog->FileName = LoadedFile;
    // A cancelled dialog, or a file that cannot be read, leaves the field shown, and its save
    // target, as they are.
    if (!OpenDialog->Execute()) return;
    const std::string fileName = OpenDialog->FileName;
    LoadFDRDatei(fileName);
    SaveTarget = fileName;
}

void TFormFeldor::MISaveClick(rtl::TObject* Sender) {
    if (!SaveTarget.empty())
        SaveFDRDatei(SaveTarget);
    else
        MISaveAsClick(Sender);
}

void TFormFeldor::MISaveAsClick(rtl::TObject*) {
    SaveDialog->InitialDir = FeldorDir;
    SaveDialog->Filter = kFilter;
    SaveDialog->FilterIndex = kFilterIndex;
    SaveDialog->DefaultExt = kDefaultExt;
    SaveDialog->FileName = LoadedFile;
    if (SaveDialog->Execute()) SaveFDRDatei(SaveDialog->FileName);
}
