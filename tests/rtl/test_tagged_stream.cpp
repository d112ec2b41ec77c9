// The tagged value stream: byte layout of every tag, round trips, and refusal of malformed data.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/rtl/TaggedStream.h"
#include "platform/rtl/SysUtils.h"

using namespace rtl;

namespace {

std::vector<std::uint8_t> Bytes(TMemoryStream& s) {
    return {s.Memory(), s.Memory() + s.Size()};
}

TMemoryStream StreamOf(const std::vector<std::uint8_t>& bytes) {
    TMemoryStream s;
    if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
    s.SetPosition(0);
    return s;
}

template <class F>
std::vector<std::uint8_t> Written(F&& f) {
    TMemoryStream s;
    {
        TWriter w(s);
        f(w);
        w.FlushBuffer();
    }
    return Bytes(s);
}

// The message of the EReadError that f raises ("" when it raises none).
template <class F>
std::string ReadErrorOf(F&& f) {
    try {
        f();
    } catch (const EReadError& e) {
        return e.Message;
    }
    return "";
}

}  // namespace

TEST(TaggedStream, IntegersTakeTheSmallestTag) {
    struct Case {
        std::int32_t value;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {0, {0x02, 0x00}},
        {-1, {0x02, 0xFF}},
        {127, {0x02, 0x7F}},
        {-128, {0x02, 0x80}},
        {128, {0x03, 0x80, 0x00}},
        {-129, {0x03, 0x7F, 0xFF}},
        {32767, {0x03, 0xFF, 0x7F}},
        {-32768, {0x03, 0x00, 0x80}},
        {32768, {0x04, 0x00, 0x80, 0x00, 0x00}},
        {-32769, {0x04, 0xFF, 0x7F, 0xFF, 0xFF}},
        {std::numeric_limits<std::int32_t>::max(), {0x04, 0xFF, 0xFF, 0xFF, 0x7F}},
        {std::numeric_limits<std::int32_t>::min(), {0x04, 0x00, 0x00, 0x00, 0x80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const auto bytes = Written([&](TWriter& w) { w.WriteInteger(c.value); });
        EXPECT_EQ(bytes, c.bytes);
        TMemoryStream s = StreamOf(bytes);
        TReader r(s);
        EXPECT_EQ(r.ReadInteger(), c.value);
    }
}

TEST(TaggedStream, FloatsAreTenByteExtendedValues) {
    EXPECT_EQ(Written([](TWriter& w) { w.WriteFloat(1.0); }),
              (std::vector<std::uint8_t>{0x05, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteFloat(750.0); }),
              (std::vector<std::uint8_t>{0x05, 0, 0, 0, 0, 0, 0, 0x80, 0xBB, 0x08, 0x40}));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteFloat(-0.0); }),
              (std::vector<std::uint8_t>{0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}));
}

TEST(TaggedStream, EveryDoubleRoundTripsExactly) {
    // A quiet NaN keeps its payload through the 80-bit format.
    const double nan = std::bit_cast<double>(std::uint64_t{0xFFF8000000012345});
    const double values[] = {
        nan,
        std::numeric_limits<double>::quiet_NaN(),
        0.0,
        -0.0,
        1.0,
        -2.5,
        0.1,
        1.7e308,
        std::numeric_limits<double>::max(),
        std::numeric_limits<double>::min(),
        std::numeric_limits<double>::denorm_min(),
        -std::numeric_limits<double>::denorm_min() * 12345,
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::nextafter(202.0, 1000.0),
    };
    TMemoryStream s;
    {
        TWriter w(s);
        for (double v : values) w.WriteFloat(v);
    }
    s.SetPosition(0);
    TReader r(s);
    for (double v : values) {
        const double back = static_cast<double>(r.ReadFloat());
        EXPECT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(v)) << v;
    }
}

TEST(TaggedStream, ExtendedValuesRoundTripAllTenBytes) {
    const long double values[] = {0.1L, 1.0L / 3.0L, -123456789.987654321L,
                                  std::numeric_limits<long double>::denorm_min()};
    TMemoryStream s;
    {
        TWriter w(s);
        for (long double v : values) w.WriteFloat(v);
    }
    EXPECT_EQ(s.Size(), 44);
    s.SetPosition(0);
    TReader r(s);
    for (long double v : values) EXPECT_EQ(r.ReadFloat(), v);
}

TEST(TaggedStream, FloatReaderTakesIntegerTags) {
    TMemoryStream s = StreamOf({0x02, 0xFE,                    // -2
                                0x03, 0x00, 0x01,              // 256
                                0x04, 0x00, 0x00, 0x01, 0x00,  // 65536
                                0x13, 0, 0, 0, 0, 0x01, 0, 0, 0});  // 2^32 (tag 19)
    TReader r(s);
    EXPECT_EQ(r.ReadFloat(), -2.0L);
    EXPECT_EQ(r.ReadFloat(), 256.0L);
    EXPECT_EQ(r.ReadFloat(), 65536.0L);
    EXPECT_EQ(r.ReadFloat(), 4294967296.0L);
}

TEST(TaggedStream, StringTags) {
    // Short ASCII: tag 6 with a one-byte length.
    EXPECT_EQ(Written([](TWriter& w) { w.WriteString("ab"); }),
              (std::vector<std::uint8_t>{0x06, 0x02, 'a', 'b'}));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteString(""); }),
              (std::vector<std::uint8_t>{0x06, 0x00}));
    // 255 bytes still fit tag 6, 256 need tag 12.
    const auto b255 = Written([](TWriter& w) { w.WriteString(std::string(255, 'x')); });
    EXPECT_EQ(b255.size(), 257u);
    EXPECT_EQ(b255[0], 0x06);
    EXPECT_EQ(b255[1], 0xFF);
    const auto b300 = Written([](TWriter& w) { w.WriteString(std::string(300, 'y')); });
    ASSERT_EQ(b300.size(), 305u);
    EXPECT_EQ((std::vector<std::uint8_t>(b300.begin(), b300.begin() + 5)),
              (std::vector<std::uint8_t>{0x0C, 0x2C, 0x01, 0x00, 0x00}));
    // A character above 127: tag 20 with the UTF-8 bytes.
    EXPECT_EQ(Written([](TWriter& w) { w.WriteString("Mast-Fuß"); }),
              (std::vector<std::uint8_t>{0x14, 0x09, 0, 0, 0, 'M', 'a', 's', 't', '-', 'F', 'u',
                                         0xC3, 0x9F}));
}

TEST(TaggedStream, StringsRoundTrip) {
    const std::string texts[] = {"", "Dipol", std::string(255, 'a'), std::string(300, 'b'),
                                 "Größe Ä", std::string(5000, 'c') + "é"};
    TMemoryStream s;
    {
        TWriter w(s, 64);  // small buffer: long strings pass around it
        for (const auto& t : texts) w.WriteString(t);
    }
    s.SetPosition(0);
    TReader r(s, 64);
    for (const auto& t : texts) EXPECT_EQ(r.ReadString(), t);
    EXPECT_EQ(r.BytesLeft(), 0);
}

TEST(TaggedStream, ReadsWideAndAnsiStrings) {
    // Tag 18: UTF-16 code units ("Ä€" and a surrogate pair for U+1F600).
    TMemoryStream wide = StreamOf({0x12, 0x04, 0, 0, 0, 0xC4, 0x00, 0xAC, 0x20, 0x3D, 0xD8, 0x00,
                                   0xDE});
    TReader rw(wide);
    EXPECT_EQ(rw.ReadString(), "Ä€\xF0\x9F\x98\x80");
    // Tag 6 with Windows-1252 bytes (from files written by other programs) becomes UTF-8.
    TMemoryStream ansi = StreamOf({0x06, 0x03, 'F', 0xFC, 'r'});
    TReader ra(ansi);
    EXPECT_EQ(ra.ReadString(), "Für");
}

TEST(TaggedStream, ListsAndEndOfList) {
    const auto bytes = Written([](TWriter& w) {
        w.WriteListBegin();
        w.WriteInteger(5);
        w.WriteString("x");
        w.WriteListEnd();
    });
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x01, 0x02, 0x05, 0x06, 0x01, 'x', 0x00}));
    TMemoryStream s = StreamOf(bytes);
    TReader r(s);
    r.ReadListBegin();
    EXPECT_FALSE(r.EndOfList());
    EXPECT_EQ(r.ReadInteger(), 5);
    EXPECT_EQ(r.ReadString(), "x");
    EXPECT_TRUE(r.EndOfList());
    r.ReadListEnd();
}

TEST(TaggedStream, ReaderLeavesTheStreamBehindTheLastValue) {
    TMemoryStream s = StreamOf({0x01, 0x02, 0x07, 0x00, 0xAA, 0xBB, 0xCC});
    {
        TReader r(s);
        r.ReadListBegin();
        EXPECT_EQ(r.ReadInteger(), 7);
        r.ReadListEnd();
    }  // the reader had fetched everything; it gives back what it did not use
    EXPECT_EQ(s.Position(), 4);
    std::uint8_t next = 0;
    s.ReadBuffer(&next, 1);
    EXPECT_EQ(next, 0xAA);

    // The writer's bytes follow what was in the stream before.
    TMemoryStream out = StreamOf({0x11});
    out.Seek(0, TSeekOrigin::soEnd);
    {
        TWriter w(out);
        w.WriteInteger(1);
    }
    EXPECT_EQ(Bytes(out), (std::vector<std::uint8_t>{0x11, 0x02, 0x01}));
}

TEST(TaggedStream, MalformedDataIsRefused) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        int kind;  // 0 integer, 1 float, 2 string, 3 list begin, 4 list end
        const char* message;
    };
    const Case cases[] = {
        {"empty stream", {}, 0, msg::ReadError},
        {"integer cut short", {0x04, 0x01, 0x02}, 0, msg::ReadError},
        {"float cut short", {0x05, 0, 0, 0, 0, 0, 0, 0, 0x80}, 1, msg::ReadError},
        {"string longer than the stream", {0x06, 0x05, 'a', 'b'}, 2, msg::ReadError},
        {"long string length beyond the end", {0x0C, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}, 2,
         msg::ReadError},
        {"negative length", {0x14, 0xFF, 0xFF, 0xFF, 0xFF}, 2, msg::ReadError},
        {"wide string beyond the end", {0x12, 0x02, 0, 0, 0, 'a', 0}, 2, msg::ReadError},
        {"unknown tag", {0x07, 0x00}, 0, msg::ReadError},
        {"unknown tag as float", {0xFF}, 1, msg::ReadError},
        {"string where an integer belongs", {0x06, 0x00}, 0, msg::InvalidPropertyValue},
        {"string where a float belongs", {0x06, 0x00}, 1, msg::InvalidPropertyValue},
        {"integer where a string belongs", {0x02, 0x00}, 2, msg::InvalidPropertyValue},
        {"no list begin", {0x02, 0x00}, 3, msg::InvalidPropertyValue},
        {"no list end", {0x02, 0x00}, 4, msg::InvalidPropertyValue},
        {"64-bit integer is no integer", {0x13, 0, 0, 0, 0, 0, 0, 0, 0}, 0,
         msg::InvalidPropertyValue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMemoryStream s = StreamOf(c.bytes);
        TReader r(s);
        const std::string message = ReadErrorOf([&] {
            switch (c.kind) {
                case 0: r.ReadInteger(); break;
                case 1: r.ReadFloat(); break;
                case 2: r.ReadString(); break;
                case 3: r.ReadListBegin(); break;
                default: r.ReadListEnd(); break;
            }
        });
        EXPECT_EQ(message, c.message);
    }
}

TEST(TaggedStream, WriteFailureReachesTheCaller) {
    // A stream that takes nothing.
    class FullStream : public TStream {
    public:
        long long Read(void*, long long) override { return 0; }
        long long Write(const void*, long long) override { return 0; }
        long long Seek(long long, TSeekOrigin) override { return 0; }
    } full;
    TWriter w(full);
    w.WriteInteger(1);
    EXPECT_THROW(w.FlushBuffer(), EWriteError);
}
