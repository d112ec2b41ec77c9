#include "viewer/AntPoints.h"

#include "foundation/MathLib.h"
#include "platform/rtl/TaggedStream.h"

void TAntPoints::Add(const std::string& Name, double X, double Y, double Z) {
    AppendString(Names, Name);
    AppendDouble(x, X);
    AppendDouble(y, Y);
    AppendDouble(z, Z);
}

void TAntPoints::Clear() {
    ClearStringArray(Names);
    ClearDoubleArray(x);
    ClearDoubleArray(y);
    ClearDoubleArray(z);
}

int16_t TAntPoints::Trim() {
    const int lastIndex = Min4Int(Names.High(), x.High(), y.High(), z.High());
    if (lastIndex > MaxPoints - 1) rtl::RaiseRangeError();
    const auto last = static_cast<int16_t>(lastIndex);
    TruncateStrings(Names, last);
    TruncateDoubles(x, last);
    TruncateDoubles(y, last);
    TruncateDoubles(z, last);
    return static_cast<int16_t>(last + 1);
}

bool TAntPoints::SaveToStream(rtl::TStream& Stream) const {
    rtl::TWriter w(Stream);
    w.WriteListBegin();
    w.WriteInteger(Names.High());
    w.WriteInteger(x.High());
    w.WriteInteger(y.High());
    w.WriteInteger(z.High());
    for (const std::string& name : Names) w.WriteString(name);
    for (const DoubleArray* a : {&x, &y, &z})
        for (double v : *a) w.WriteFloat(v);
    w.WriteListEnd();
    w.FlushBuffer();
    return true;
}

bool TAntPoints::LoadFromStream(rtl::TStream& Stream) {
    rtl::TReader r(Stream);
    r.ReadListBegin();
    long long counts[4];
    long long total = 0;
    for (long long& c : counts) {
        const int high = r.ReadInteger();
        if (high < -1) throw rtl::EReadError(rtl::msg::ReadError);
        c = static_cast<long long>(high) + 1;
        total += c;
    }
    // Every value takes at least two bytes, the end tag one: a list that announces more than
    // the stream holds is refused before anything is read.
    if (2 * total + 1 > r.BytesLeft()) throw rtl::EReadError(rtl::msg::ReadError);

    StringArray names;
    DoubleArray xs, ys, zs;
    names.reserve(static_cast<int>(counts[0]));
    for (long long i = 0; i < counts[0]; ++i) names.push_back(r.ReadString());
    DoubleArray* targets[3] = {&xs, &ys, &zs};
    for (int k = 0; k < 3; ++k) {
        targets[k]->reserve(static_cast<int>(counts[k + 1]));
        for (long long i = 0; i < counts[k + 1]; ++i)
            targets[k]->push_back(static_cast<double>(r.ReadFloat()));
    }
    r.ReadListEnd();
    r.FlushBuffer();

    for (std::string& n : names) Names.push_back(std::move(n));
    AppendDoubleArray(x, xs);
    AppendDoubleArray(y, ys);
    AppendDoubleArray(z, zs);
    return true;
}
