// Block compression, stream records and the small helpers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "components/base/KitStreamUtils.h"
#include "components/base/kitprocs.h"

using namespace kit;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Compress(const Bytes& src) {
    Bytes out(src.size() + 6);
    out.resize(static_cast<std::size_t>(KitCompress(src.data(), out.data(), static_cast<int>(src.size()))));
    return out;
}

Bytes Decompress(const Bytes& block) {
    Bytes out(KitChunkSize);
    out.resize(static_cast<std::size_t>(
        KitDecompress(block.data(), out.data(), static_cast<int>(block.size()))));
    return out;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes StreamBytes(rtl::TMemoryStream& s) { return Bytes(s.Memory(), s.Memory() + s.Size()); }

}  // namespace

TEST(KitCompress, KnownBlocks) {
    EXPECT_EQ(Compress(Bytes(40, 'a')), (Bytes{0x40, 0x80, 0x00, 0x00, 0x00, 0x18, 0x61}));
    EXPECT_EQ(Compress(Text("abcd")), (Bytes{0x80, 'a', 'b', 'c', 'd'}));
    // Literals, then a copy item two bytes long in its control bit: "abcabcabc" = 3 literals and
    // a copy of distance 3, length 6.
    EXPECT_EQ(Compress(Text("abcabcabcabcabcabcabc")),
              (Bytes{0x40, 0x10, 0x00, 'a', 'b', 'c', 0x00, 0x3F}));
}

TEST(KitDecompress, KnownBlocks) {
    EXPECT_EQ(Decompress({0x40, 0x40, 0x00, 0x41, 0x00, 0x1F}), Bytes(19, 'A'));
    EXPECT_EQ(Decompress({0x80, 'x', 'y'}), Text("xy"));
    EXPECT_EQ(Decompress({0x40, 0x80, 0x00, 0x00, 0x0F, 0xEF, 0x07}), Bytes(4095, 7));
}

TEST(KitDecompress, RoundTripsVariedData) {
    std::mt19937 rng(5);
    std::vector<Bytes> inputs = {Bytes{}, Bytes{1}, Bytes(KitChunkSize, 0)};
    Bytes mixed;
    // Runs, repeats far and near, noise, and more than 16 items per group.
    for (int i = 0; mixed.size() < KitChunkSize - 100; ++i) {
        switch (i % 4) {
            case 0: mixed.insert(mixed.end(), 20 + rng() % 300, static_cast<std::uint8_t>(rng())); break;
            case 1: for (int k = 0; k < 40; ++k) mixed.push_back(static_cast<std::uint8_t>(rng() % 4)); break;
            case 2: for (int k = 0; k < 30; ++k) mixed.push_back(static_cast<std::uint8_t>(rng())); break;
            case 3: { const std::size_t back = 1 + rng() % std::min<std::size_t>(mixed.size(), 5000);
                      for (int k = 0; k < 25; ++k) mixed.push_back(mixed[mixed.size() - back]); } break;
        }
    }
    inputs.push_back(mixed);
    Bytes noise(KitChunkSize);
    for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
    inputs.push_back(noise);
    for (const Bytes& in : inputs) {
        const Bytes block = Compress(in);
        EXPECT_LE(block.size(), in.size() + 1);
        EXPECT_EQ(Decompress(block), in) << "size " << in.size();
    }
    EXPECT_EQ(Compress(noise)[0], 0x80);
    EXPECT_LT(Compress(mixed).size(), mixed.size() / 2);
}

TEST(KitDecompress, DamagedBlocksRaiseReadError) {
    const std::vector<Bytes> damaged = {
        {},                                    // no header byte
        {0x40, 0x80},                          // control word cut short
        {0x40, 0x80, 0x00, 0x00},              // coded item cut short
        {0x40, 0x80, 0x00, 0x00, 0x00, 0x18},  // run without its value
        {0x40, 0x80, 0x00, 0x00, 0x21},        // copy from before the output's start
        {0x40, 0x40, 0x00, 0x41, 0x00, 0x2F},  // distance 2 after one byte
        {0x40, 0x80, 0x00, 0x00, 0x7F, 0xF0, 0x00},  // run past the output's end
        {0x40, 0x00, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0x80},  // lone control word
    };
    for (const Bytes& b : damaged) {
        Bytes out(KitChunkSize);
        EXPECT_THROW(KitDecompress(b.data(), out.data(), static_cast<int>(b.size())), rtl::EReadError)
            << testing::PrintToString(b);
    }
    // Output room is checked for stored blocks and literals alike.
    Bytes out(2);
    const Bytes stored = {0x80, 1, 2, 3};
    EXPECT_THROW(KitDecompress(stored.data(), out.data(), 4, 2), rtl::EReadError);
    const Bytes literals = {0x40, 0x00, 0x00, 1, 2, 3};
    EXPECT_THROW(KitDecompress(literals.data(), out.data(), 6, 2), rtl::EReadError);
}

TEST(KitCompressStream, RecordLayoutAndRoundTrip) {
    rtl::TMemoryStream src, dst, back;
    Bytes data(70000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>((i * i) >> 5);
    src.WriteBuffer(data.data(), static_cast<long long>(data.size()));
    src.SetPosition(0);
    KitCompressStream(src, dst, src.Size());

    // Walk the blocks: three chunks of 32781, 32781 and 4438 bytes.
    dst.SetPosition(0);
    const int total = KitReadInteger(dst);
    EXPECT_EQ(total, dst.Size() - 4);
    std::vector<int> chunks;
    while (dst.Position() < dst.Size()) {
        const int len = KitReadInteger(dst);
        Bytes block(static_cast<std::size_t>(len));
        dst.ReadBuffer(block.data(), len);
        chunks.push_back(static_cast<int>(Decompress(block).size()));
    }
    EXPECT_EQ(chunks, (std::vector<int>{32781, 32781, 4438}));

    dst.SetPosition(0);
    KitDecompressStream(dst, back);
    EXPECT_EQ(StreamBytes(back), data);
    EXPECT_EQ(dst.Position(), dst.Size());
}

TEST(KitCompressStream, EmptyAndTruncatedRecords) {
    rtl::TMemoryStream src, dst;
    KitCompressStream(src, dst, 0);
    EXPECT_EQ(StreamBytes(dst), (Bytes{0, 0, 0, 0}));

    // A record that ends inside a block, and one whose block length exceeds a stored block.
    rtl::TMemoryStream cut, out;
    const Bytes cutBytes = {20, 0, 0, 0, 16, 0, 0, 0, 0x80, 1, 2};
    cut.WriteBuffer(cutBytes.data(), static_cast<long long>(cutBytes.size()));
    cut.SetPosition(0);
    EXPECT_THROW(KitDecompressStream(cut, out), rtl::EReadError);
    rtl::TMemoryStream big;
    const Bytes bigBytes = {0, 0, 1, 0, 0, 0, 1, 0};
    big.WriteBuffer(bigBytes.data(), static_cast<long long>(bigBytes.size()));
    big.SetPosition(0);
    EXPECT_THROW(KitDecompressStream(big, out), rtl::EReadError);
}

TEST(KitStreamUtils, NumbersAndShortStrings) {
    rtl::TMemoryStream s;
    KitWriteInteger(s, -2);
    KitWriteByte(s, 0xAB);
    KitWriteShortString(s, "Feld");
    KitWriteShortString(s, std::string(300, 'x'));  // cut to 255
    EXPECT_EQ(s.Size(), 4 + 1 + 5 + 256);
    s.SetPosition(0);
    EXPECT_EQ(KitReadInteger(s), -2);
    EXPECT_EQ(KitReadByte(s), 0xAB);
    std::string a, b;
    KitReadShortString(s, a);
    KitReadShortString(s, b);
    EXPECT_EQ(a, "Feld");
    EXPECT_EQ(b, std::string(255, 'x'));
    // At the end: missing bytes read as 0; a short string's characters must be there.
    EXPECT_EQ(KitReadByte(s), 0);
    rtl::TMemoryStream part;
    const Bytes p = {0x34, 0x12};
    part.WriteBuffer(p.data(), 2);
    part.SetPosition(0);
    EXPECT_EQ(KitReadInteger(part), 0x1234);
    rtl::TMemoryStream shortStr;
    const Bytes q = {5, 'a', 'b'};
    shortStr.WriteBuffer(q.data(), 3);
    shortStr.SetPosition(0);
    EXPECT_THROW(KitReadShortString(shortStr, a), rtl::EReadError);
}

TEST(KitStreamUtils, StringListRecords) {
    for (const bool compressed : {false, true}) {
        rtl::TStringList lines, back;
        for (int i = 0; i < 200; ++i) lines.Add("Zeile " + std::to_string(i % 7));
        rtl::TMemoryStream s;
        KitWriteInteger(s, 99);
        KitWriteStrings(s, lines, compressed);
        KitWriteInteger(s, 77);  // what follows the record stays readable
        s.SetPosition(4);
        KitReadStrings(s, back, compressed);
        EXPECT_EQ(back.Text(), lines.Text());
        EXPECT_EQ(KitReadInteger(s), 77);
        if (!compressed) {
            s.SetPosition(4);
            EXPECT_EQ(KitReadInteger(s), static_cast<int>(lines.Text().size()));
        }
    }
}

TEST(KitProcs, RectAndNumberHelpers) {
    gdi::TRect r;
    KitFitRect(gdi::Rect(0, 0, 20, 10), gdi::Rect(5, 5, 55, 55), r);
    EXPECT_EQ(r, gdi::Rect(5, 5, 55, 30));
    KitFitRect(gdi::Rect(0, 0, 0, 10), gdi::Rect(5, 5, 55, 55), r);
    EXPECT_EQ(r, gdi::Rect(5, 5, 5, 5));
    int w = 0, h = 0;
    KitRectSize(gdi::Rect(2, 3, 12, 8), w, h);
    EXPECT_EQ(w, 10);
    EXPECT_EQ(h, 5);

    struct Case { gdi::TRect in; double angle; gdi::TRect out; };
    const Case cases[] = {
        {gdi::Rect(5, 5, 25, 15), 0, gdi::Rect(5, 5, 25, 15)},
        {gdi::Rect(0, 0, 20, 10), 90, gdi::Rect(0, 0, 10, 20)},
        {gdi::Rect(0, 0, 20, 10), 180, gdi::Rect(0, 0, 20, 10)},
        // hw 10, hh 5 at 45 degrees: 10.6066 rounds to 11, 3.5355 to 4.
        {gdi::Rect(0, 0, 20, 10), 45, gdi::Rect(0, 0, 22, 22)},
    };
    for (const Case& c : cases) {
        gdi::TRect t = c.in;
        KitRotatedBounds(t, c.angle);
        EXPECT_EQ(t, c.out) << c.angle;
    }

    EXPECT_EQ(KitMaxInt({3, -1, 7, 2}), 7);
    EXPECT_EQ(KitMinInt({3, -1, 7, 2}), -1);
    EXPECT_EQ(KitMaxInt({-5}), -5);
    EXPECT_EQ(KitMinExt({2.5L, -0.25L}), -0.25L);
    EXPECT_EQ(KitIntPower(2, 0), 1);
    EXPECT_EQ(KitIntPower(3, 4), 81);
    EXPECT_EQ(KitIntPower(5, -2), 1);
}

TEST(KitProcs, PrefixPaths) {
    EXPECT_EQ(KitGetPrefixPath(ppFixed, true), "");
    const std::string dir = KitGetPrefixPath(ppProgram, true);
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_EQ(KitGetPrefixPath(ppProgram, false), dir.substr(0, dir.size() - 1));
    EXPECT_EQ(dir, KitProgramDir());
}

// Every saved damaged input of the decompressor's fuzz run: expands or ends in a read error.
TEST(KitDecompressStream, FuzzRegressionInputs) {
    const std::filesystem::path dir = std::filesystem::path(FELDOR_TEST_DATA) / "fuzz" / "lzrw";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream f(entry.path(), std::ios::binary);
        const Bytes data((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        rtl::TMemoryStream in, out;
        in.WriteBuffer(data.data(), static_cast<long long>(data.size()));
        in.SetPosition(0);
        try {
            KitDecompressStream(in, out);
        } catch (const rtl::EReadError&) {
        }
        ++files;
    }
    EXPECT_GT(files, 0);
}
