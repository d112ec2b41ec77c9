// Properties an object defines itself, written to the tagged value stream and read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Filer.h"
#include "platform/rtl/TaggedStream.h"

using namespace rtl;

namespace {

// A colour list (integers in a list), a caption (string) and raw data (binary); each is
// written only when it holds something.
class TSample : public TPersistent {
public:
    std::vector<int> colors;
    std::string caption;
    std::vector<std::uint8_t> data;

protected:
    void DefineProperties(TFiler* Filer) override {
        Filer->DefineProperty(
            "ColorList",
            [this](TReader& r) {
                colors.clear();
                r.ReadListBegin();
                while (!r.EndOfList()) colors.push_back(r.ReadInteger());
                r.ReadListEnd();
            },
            [this](TWriter& w) {
                w.WriteListBegin();
                for (int c : colors) w.WriteInteger(c);
                w.WriteListEnd();
            },
            !colors.empty());
        Filer->DefineProperty(
            "Caption", [this](TReader& r) { caption = r.ReadString(); },
            [this](TWriter& w) { w.WriteString(caption); }, !caption.empty());
        Filer->DefineBinaryProperty(
            "Data",
            [this](TStream& s) {
                data.resize(static_cast<std::size_t>(s.Size()));
                s.ReadBuffer(data.data(), s.Size());
            },
            [this](TStream& s) { s.WriteBuffer(data.data(), static_cast<long long>(data.size())); },
            !data.empty());
    }
};

}  // namespace

TEST(rtlFiler, DefinedPropertiesRoundTrip) {
    TSample a;
    a.colors = {0, 0xFF, -1, 0x123456};
    a.caption = "Grün";
    a.data = {0, 1, 0x80, 0xFF, 0, 10};
    TMemoryStream s;
    s.WriteBuffer("xy", 2);  // the properties start wherever the stream stands
    WriteDefinedProperties(a, s);
    const long long end = s.Position();
    s.WriteBuffer("z", 1);

    TSample b;
    b.colors = {7};  // replaced by the read
    s.SetPosition(2);
    ReadDefinedProperties(b, s);
    EXPECT_EQ(s.Position(), end);
    EXPECT_EQ(b.colors, a.colors);
    EXPECT_EQ(b.caption, "Grün");
    EXPECT_EQ(b.data, a.data);
}

TEST(rtlFiler, PropertiesWithoutDataAreNotWritten) {
    TSample a;
    a.caption = "x";
    TMemoryStream s;
    WriteDefinedProperties(a, s);
    // List begin, "Caption" (tag 6, length 7), "x", list end.
    const std::uint8_t expected[] = {1, 6, 7, 'C', 'a', 'p', 't', 'i', 'o', 'n', 6, 1, 'x', 0};
    ASSERT_EQ(s.Size(), static_cast<long long>(sizeof expected));
    EXPECT_EQ(std::vector<std::uint8_t>(s.Memory(), s.Memory() + s.Size()),
              std::vector<std::uint8_t>(std::begin(expected), std::end(expected)));

    TSample b;
    b.data = {1, 2};
    s.SetPosition(0);
    ReadDefinedProperties(b, s);
    EXPECT_EQ(b.caption, "x");
    EXPECT_EQ(b.data, (std::vector<std::uint8_t>{1, 2}));  // absent: left alone

    TPersistent plain;  // defines nothing: an empty list
    TMemoryStream e;
    WriteDefinedProperties(plain, e);
    EXPECT_EQ(e.Size(), 2);
}

TEST(rtlFiler, DamagedInputRaisesReadErrors) {
    TMemoryStream s;
    {
        TWriter w(s);
        w.WriteListBegin();
        w.WriteString("Unknown");
        w.WriteInteger(1);
        w.WriteListEnd();
    }
    TSample b;
    s.SetPosition(0);
    try {
        ReadDefinedProperties(b, s);
        ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message, "Eigenschaft Unknown existiert nicht");
    }

    // "Data" holding a string where binary data belongs, and a cut binary value.
    TMemoryStream t;
    {
        TWriter w(t);
        w.WriteListBegin();
        w.WriteString("data");
        w.WriteString("text");
        w.WriteListEnd();
    }
    t.SetPosition(0);
    try {
        ReadDefinedProperties(b, t);
        ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message, "Ungültiger Eigenschaftswert");
    }
    TSample a;
    a.data = {1, 2, 3, 4};
    TMemoryStream u;
    WriteDefinedProperties(a, u);
    u.SetSize(u.Size() - 3);
    u.SetPosition(0);
    try {
        ReadDefinedProperties(b, u);
        ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message, "Stream-Lesefehler");
    }
}
