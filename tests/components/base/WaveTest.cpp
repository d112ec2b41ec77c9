// The wave object: header checks, loading, assigning, stored forms.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "components/base/KitStreamUtils.h"
#include "components/base/KitWave.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/WriteFaults.h"

using namespace kit;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A PCM header: 44 bytes, followed by `samples` bytes of data.
Bytes Wave(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, int samples = 0) {
    Bytes b;
    auto put = [&](const void* p, std::size_t n) {
        const auto* c = static_cast<const std::uint8_t*>(p);
        b.insert(b.end(), c, c + n);
    };
    auto u32 = [&](std::uint32_t v) { put(&v, 4); };
    auto u16 = [&](std::uint16_t v) { put(&v, 2); };
    put("RIFF", 4);
    u32(36 + static_cast<std::uint32_t>(samples));
    put("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(channels);
    u32(rate);
    u32(rate * channels * bits / 8);
    u16(static_cast<std::uint16_t>(channels * bits / 8));
    u16(bits);
    put("data", 4);
    u32(static_cast<std::uint32_t>(samples));
    for (int i = 0; i < samples; ++i) b.push_back(static_cast<std::uint8_t>(i * 7));
    return b;
}

rtl::TMemoryStream Stream(const Bytes& b) {
    rtl::TMemoryStream s;
    if (!b.empty()) s.WriteBuffer(b.data(), static_cast<long long>(b.size()));
    s.SetPosition(0);
    return s;
}

Bytes Contents(const TKitWave& w) {
    return w.Data() ? Bytes(w.Data()->Memory(), w.Data()->Memory() + w.Data()->Size()) : Bytes{};
}

}  // namespace

TEST(KitGetWaveFormat, ReadsTheHeader) {
    auto s = Stream(Wave(2, 22050, 16));
    TKitWaveInfo info;
    ASSERT_TRUE(KitGetWaveFormat(&s, info));
    EXPECT_EQ(info.RiffSize, 36u);
    EXPECT_EQ(info.Channels, 2);
    EXPECT_EQ(info.SamplesPerSec, 22050u);
    EXPECT_EQ(info.BitsPerSample, 16);
    EXPECT_TRUE(info.IsPCM);
    EXPECT_EQ(s.Position(), 0);
    auto three = Stream(Wave(3, 8000, 8));
    ASSERT_TRUE(KitGetWaveFormat(&three, info));
    EXPECT_EQ(info.Channels, 0);

    for (int at : {0, 8, 12}) {  // "RIFF", "WAVE", "fmt " each checked
        Bytes b = Wave(1, 8000, 8);
        b[static_cast<std::size_t>(at)] = 'X';
        auto bad = Stream(b);
        EXPECT_FALSE(KitGetWaveFormat(&bad, info)) << at;
    }
    auto empty = Stream({});
    EXPECT_FALSE(KitGetWaveFormat(&empty, info));
    EXPECT_FALSE(KitGetWaveFormat(nullptr, info));
    Bytes cut = Wave(1, 8000, 8);
    cut.resize(30);
    auto shortHeader = Stream(cut);
    EXPECT_THROW(KitGetWaveFormat(&shortHeader, info), EErrorCheckingWave);
}

TEST(KitWave, LoadKeepsOldDataOnBadInput) {
    TKitWave w;
    int changes = 0;
    w.OnChange = [&](rtl::TObject*) { ++changes; };
    EXPECT_TRUE(w.IsEmpty());
    auto good = Stream(Wave(1, 8000, 8));
    w.LoadFromStream(good);
    EXPECT_EQ(w.GetSize(), 44);
    EXPECT_EQ(changes, 1);

    Bytes bad = Wave(1, 11025, 8, 10);
    std::memcpy(bad.data(), "RIFX", 4);
    auto badStream = Stream(bad);
    try {
        w.LoadFromStream(badStream);
        FAIL() << "no exception";
    } catch (const EInvalidWave& e) {
        EXPECT_EQ(e.Message, "TKitWave: Datei %s kann nicht geöffnet werden");
    }
    EXPECT_EQ(Contents(w), Wave(1, 8000, 8));
    EXPECT_EQ(changes, 1);

    auto empty = Stream({});
    w.LoadFromStream(empty);
    EXPECT_TRUE(w.IsEmpty());
    EXPECT_EQ(changes, 2);

    // A size beyond the stream is a read error, not a huge allocation.
    auto small = Stream(Wave(1, 8000, 8));
    EXPECT_THROW(w.LoadFromStreamSize(1LL << 40, small), rtl::EReadError);
}

TEST(KitWave, AssignAndFiles) {
    TKitWave a, b;
    auto s = Stream(Wave(1, 8000, 8, 100));
    a.LoadFromStream(s);
    b.Assign(&a);
    EXPECT_EQ(Contents(b), Contents(a));
    EXPECT_EQ(a.Data()->Position(), 0);
    b.Assign(nullptr);
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.Data(), nullptr);
    TKitWave never;
    b.Assign(&never);  // an empty data stream: still empty
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_NE(b.Data(), nullptr);

    const auto path = std::filesystem::temp_directory_path() / "kitwave_test.wav";
    a.SaveToFile(path.string());
    auto c = TKitWave::CreateFromFile(path.string());
    EXPECT_EQ(Contents(*c), Contents(a));
    std::filesystem::remove(path);
}

// A wave file that cannot be written whole leaves the old file as it was and names the fault.
TEST(KitWave, SaveThatCannotBeWrittenKeepsTheOldFile) {
    TKitWave a;
    auto s = Stream(Wave(1, 8000, 8, 20000));
    a.LoadFromStream(s);
    writefaults::FileKind kind;
    kind.name = "wave";
    kind.chosen = "klang.wav";
    kind.boxed = false;
    kind.save = [&](const std::string& file) {
        try {
            a.SaveToFile(file);
            return std::string();
        } catch (const rtl::Exception& e) {
            return e.Message;
        }
    };
    const auto dir = std::filesystem::temp_directory_path() / "kitwave_faults";
    writefaults::CheckWriteFaults(kind, dir.string());
    std::filesystem::remove_all(dir);
}

TEST(KitWave, RecordsAndStoredData) {
    TKitWave a;
    auto s = Stream(Wave(2, 44100, 16, 3000));
    a.LoadFromStream(s);
    for (bool compressed : {false, true}) {
        rtl::TMemoryStream rec;
        KitWriteWave(rec, a, compressed);
        KitWriteInteger(rec, 1234);
        rec.SetPosition(0);
        TKitWave b;
        KitReadWave(rec, b, compressed);
        EXPECT_EQ(Contents(b), Contents(a)) << compressed;
        EXPECT_EQ(KitReadInteger(rec), 1234);
    }
    // "Data": nothing for a wave never loaded, size 0 for an empty data stream.
    TKitWave never, emptied;
    emptied.Assign(&never);
    rtl::TMemoryStream none, zero, full;
    rtl::WriteDefinedProperties(never, none);
    rtl::WriteDefinedProperties(emptied, zero);
    rtl::WriteDefinedProperties(a, full);
    EXPECT_LT(none.Size(), zero.Size());
    full.SetPosition(0);
    TKitWave back;
    rtl::ReadDefinedProperties(back, full);
    EXPECT_EQ(Contents(back), Contents(a));
    zero.SetPosition(0);
    rtl::ReadDefinedProperties(back, zero);
    EXPECT_TRUE(back.IsEmpty());
}
