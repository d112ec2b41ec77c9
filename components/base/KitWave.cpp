#include "components/base/KitWave.h"

#include <cstring>
#include <vector>

#include "components/base/KitStreamUtils.h"
#include "platform/rtl/FileReplace.h"

namespace kit {

namespace {
constexpr const char* CannotOpen = "Datei %s kann nicht geöffnet werden";
constexpr unsigned ShareDenyRead = 0x0030;
}  // namespace

void KitStopSound() {}

bool KitGetWaveFormat(rtl::TStream* stream, TKitWaveInfo& info) {
    if (!stream || stream->Size() == 0) return false;
    auto read = [&](void* buf, long long n) {
        if (stream->Read(buf, n) != n) {
            stream->SetPosition(0);
            throw EErrorCheckingWave(std::string("GetWaveData: ") + CannotOpen);
        }
    };
    auto le16 = [](const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); };
    auto le32 = [](const std::uint8_t* p) {
        return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (static_cast<std::uint32_t>(p[3]) << 24);
    };
    stream->SetPosition(0);
    std::uint8_t b[14] = {};
    bool ok = false;
    read(b, 4);
    if (std::memcmp(b, "RIFF", 4) == 0) {
        read(b, 4);
        info.RiffSize = le32(b);
        read(b, 4);
        if (std::memcmp(b, "WAVE", 4) == 0) {
            read(b, 4);
            if (std::memcmp(b, "fmt ", 4) == 0) {
                read(b, 4);  // chunk size, not used
                read(b, 12);
                read(b + 12, 2);  // block align
                read(b + 12, 2);  // bits per sample
                const std::uint16_t channels = le16(b + 2);
                info.IsPCM = le16(b) == 1;
                info.Channels = channels == 1 || channels == 2 ? static_cast<std::uint8_t>(channels) : 0;
                info.SamplesPerSec = le32(b + 4);
                info.BitsPerSample = le16(b + 12);
                ok = true;
            }
        }
    }
    stream->SetPosition(0);
    return ok;
}

std::unique_ptr<TKitWave> TKitWave::CreateFromFile(const std::string& fileName) {
    auto w = std::make_unique<TKitWave>();
    w->LoadFromFile(fileName);
    return w;
}

TKitWave::~TKitWave() {
    if (data_) KitStopSound();
}

void TKitWave::SetData(std::unique_ptr<rtl::TMemoryStream> stream) {
    if (data_) KitStopSound();
    data_ = std::move(stream);
    if (data_) data_->SetPosition(0);
    Change();
}

void TKitWave::LoadFromStreamSize(long long count, rtl::TStream& stream) {
    if (stream.Size() == 0 || count <= 0) {
        SetData(nullptr);
        return;
    }
    // A size beyond what the stream holds is a damaged record: fail before allocating it.
    if (count > stream.Size() - stream.Position()) throw rtl::EReadError(rtl::msg::ReadError);
    auto fresh = std::make_unique<rtl::TMemoryStream>();
    std::vector<std::uint8_t> buf(static_cast<std::size_t>(count));
    stream.ReadBuffer(buf.data(), count);
    fresh->WriteBuffer(buf.data(), count);
    TKitWaveInfo info;
    if (!KitGetWaveFormat(fresh.get(), info))
        throw EInvalidWave(ClassName() + ": " + CannotOpen);
    SetData(std::move(fresh));
}

void TKitWave::LoadFromFile(const std::string& fileName) {
    rtl::TFileStream f(fileName, rtl::fmOpenRead | ShareDenyRead);
    LoadFromStreamSize(f.Size(), f);
}

void TKitWave::LoadFromStream(rtl::TStream& stream) {
    LoadFromStreamSize(stream.Size() - stream.Position(), stream);
}

void TKitWave::SaveToFile(const std::string& fileName) const {
    rtl::TReplacingFileStream f(fileName);
    SaveToStream(f);
    f.Commit();
}

void TKitWave::SaveToStream(rtl::TStream& stream) const {
    if (IsEmpty()) return;
    stream.WriteBuffer(data_->Memory(), data_->Size());
}

void TKitWave::WriteDataEx(rtl::TStream& stream, bool withSize) const {
    if (withSize) KitWriteInteger(stream, static_cast<int>(GetSize()));
    SaveToStream(stream);
}

void TKitWave::ReadData(rtl::TStream& stream) {
    const int size = KitReadInteger(stream);
    LoadFromStreamSize(size, stream);
}

void TKitWave::WriteCompressed(rtl::TStream& stream) const {
    rtl::TMemoryStream m;
    SaveToStream(m);
    m.SetPosition(0);
    KitCompressStream(m, stream, m.Size());
}

void TKitWave::ReadCompressed(rtl::TStream& stream) {
    rtl::TMemoryStream m;
    KitDecompressStream(stream, m);
    m.SetPosition(0);
    LoadFromStream(m);
}

void TKitWave::Assign(const rtl::TPersistent* Source) {
    if (!Source) {
        SetData(nullptr);
        return;
    }
    auto* w = dynamic_cast<const TKitWave*>(Source);
    if (!w) {
        TKitObject::Assign(Source);
        return;
    }
    if (w == this) return;
    auto copy = std::make_unique<rtl::TMemoryStream>();
    if (w->data_) {
        w->data_->SetPosition(0);
        copy->WriteBuffer(w->data_->Memory(), w->data_->Size());
        w->data_->SetPosition(0);
    }
    SetData(std::move(copy));
}

void TKitWave::DefineProperties(rtl::TFiler* Filer) {
    TKitObject::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Data", [this](rtl::TStream& s) { ReadData(s); }, [this](rtl::TStream& s) { WriteData(s); },
        data_ != nullptr);
}

}  // namespace kit
