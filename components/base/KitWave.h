// The wave object: the image of a RIFF/WAVE file in memory, checked whenever it takes data.
// Nothing here plays a sound.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "components/base/kitclass.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

namespace kit {

class EInvalidWave : public rtl::Exception {
public:
    using rtl::Exception::Exception;
    const char* ClassName() const noexcept override { return "EInvalidWave"; }
};
class EErrorCheckingWave : public rtl::Exception {
public:
    using rtl::Exception::Exception;
    const char* ClassName() const noexcept override { return "EErrorCheckingWave"; }
};

struct TKitWaveInfo {
    std::uint32_t RiffSize = 0;
    std::uint32_t SamplesPerSec = 0;
    std::uint8_t Channels = 0;  // 1 mono, 2 stereo, 0 any other count
    bool IsPCM = false;
    std::uint16_t BitsPerSample = 0;
};

// Checks "RIFF", size, "WAVE", "fmt " and reads the format; the stream is set back to 0.
// False for a nil or empty stream or a mismatch; EErrorCheckingWave when the header ends early.
bool KitGetWaveFormat(rtl::TStream* stream, TKitWaveInfo& info);
// Stops a sound that is playing; no sound plays here, so there is nothing to stop.
void KitStopSound();

class TKitWave : public TKitObject {
public:
    TKitWave() = default;
    static std::unique_ptr<TKitWave> CreateFromFile(const std::string& fileName);
    ~TKitWave() override;

    void Assign(const rtl::TPersistent* Source) override;

    bool IsEmpty() const { return !data_ || data_->Size() == 0; }
    long long GetSize() const { return data_ ? data_->Size() : 0; }
    rtl::TMemoryStream* Data() const { return data_.get(); }
    // Adopts stream (nullptr empties) at position 0 and announces the change.
    void SetData(std::unique_ptr<rtl::TMemoryStream> stream);
    void Clear() { SetData(nullptr); }

    // Reads count bytes of stream as the new sound; count 0 or an empty stream empties the wave.
    // Data that is no RIFF/WAVE image raises EInvalidWave and keeps the old sound.
    void LoadFromStreamSize(long long count, rtl::TStream& stream);
    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(rtl::TStream& stream);
    void SaveToFile(const std::string& fileName) const;
    void SaveToStream(rtl::TStream& stream) const;
    void WriteDataEx(rtl::TStream& stream, bool withSize) const;
    void ReadData(rtl::TStream& stream);
    void WriteData(rtl::TStream& stream) const { WriteDataEx(stream, true); }

    // The two forms of the wave record.
    void WriteUncompressed(rtl::TStream& stream) const { WriteDataEx(stream, true); }
    void ReadUncompressed(rtl::TStream& stream) { ReadData(stream); }
    void WriteCompressed(rtl::TStream& stream) const;
    void ReadCompressed(rtl::TStream& stream);

protected:
    // "Data": binary, stored while the wave has a data stream.
    void DefineProperties(rtl::TFiler* Filer) override;

private:
    std::unique_ptr<rtl::TMemoryStream> data_;
};

}  // namespace kit
