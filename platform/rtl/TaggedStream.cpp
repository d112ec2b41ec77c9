#include "platform/rtl/TaggedStream.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cstring>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

static_assert(std::endian::native == std::endian::little, "the stream format is little-endian");
static_assert(LDBL_MANT_DIG == 64, "long double must be the x87 80-bit extended format");

namespace rtl {

namespace {

constexpr std::size_t kExtendedBytes = 10;

[[noreturn]] void ReadFailure() { throw EReadError(msg::ReadError); }
[[noreturn]] void WrongValue() { throw EReadError(msg::InvalidPropertyValue); }

bool KnownTag(std::uint8_t tag) {
    switch (static_cast<TValueType>(tag)) {
        case TValueType::vaNull:
        case TValueType::vaList:
        case TValueType::vaInt8:
        case TValueType::vaInt16:
        case TValueType::vaInt32:
        case TValueType::vaExtended:
        case TValueType::vaString:
        case TValueType::vaLString:
        case TValueType::vaWString:
        case TValueType::vaInt64:
        case TValueType::vaUTF8String:
            return true;
        case TValueType::vaBinary:  // read only through ReadBinary
            return false;
    }
    return false;
}

// UTF-16 code units to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::vector<std::uint16_t>& units) {
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

bool HasHighByte(std::string_view s) {
    return std::any_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) > 127; });
}

}  // namespace

// ---- TWriter -----------------------------------------------------------------------------

TWriter::TWriter(TStream& stream, int bufSize)
    : stream_(stream), buf_(static_cast<std::size_t>(std::max(bufSize, 16))) {}

TWriter::~TWriter() {
    try {
        FlushBuffer();
    } catch (...) {
        // A destructor cannot report; callers that care flush explicitly.
    }
}

void TWriter::FlushBuffer() {
    if (used_ == 0) return;
    const std::size_t n = used_;
    used_ = 0;
    stream_.WriteBuffer(buf_.data(), static_cast<long long>(n));
}

void TWriter::Put(const void* data, std::size_t count) {
    if (used_ + count > buf_.size()) {
        FlushBuffer();
        if (count > buf_.size()) {
            stream_.WriteBuffer(data, static_cast<long long>(count));
            return;
        }
    }
    std::memcpy(buf_.data() + used_, data, count);
    used_ += count;
}

void TWriter::WriteValue(TValueType type) {
    const auto tag = static_cast<std::uint8_t>(type);
    Put(&tag, 1);
}

void TWriter::WriteListBegin() { WriteValue(TValueType::vaList); }
void TWriter::WriteListEnd() { WriteValue(TValueType::vaNull); }

void TWriter::WriteInteger(std::int32_t value) {
    if (value >= -128 && value <= 127) {
        const auto v = static_cast<std::int8_t>(value);
        WriteValue(TValueType::vaInt8);
        Put(&v, 1);
    } else if (value >= -32768 && value <= 32767) {
        const auto v = static_cast<std::int16_t>(value);
        WriteValue(TValueType::vaInt16);
        Put(&v, 2);
    } else {
        WriteValue(TValueType::vaInt32);
        Put(&value, 4);
    }
}

void TWriter::WriteFloat(long double value) {
    // The 80-bit value occupies the first ten bytes of the long double object; the rest is
    // padding with no defined content.
    std::uint8_t bytes[sizeof(long double)];
    std::memcpy(bytes, &value, sizeof value);
    WriteValue(TValueType::vaExtended);
    Put(bytes, kExtendedBytes);
}

void TWriter::WriteString(std::string_view value) {
    const auto len = static_cast<std::uint32_t>(value.size());
    if (HasHighByte(value)) {
        WriteValue(TValueType::vaUTF8String);
        Put(&len, 4);
    } else if (value.size() <= 255) {
        const auto len8 = static_cast<std::uint8_t>(value.size());
        WriteValue(TValueType::vaString);
        Put(&len8, 1);
    } else {
        WriteValue(TValueType::vaLString);
        Put(&len, 4);
    }
    Put(value.data(), value.size());
}

void TWriter::WriteBinary(const void* data, std::size_t count) {
    if (count > 0x7FFFFFFF) throw EWriteError(msg::WriteError);
    const auto len = static_cast<std::uint32_t>(count);
    WriteValue(TValueType::vaBinary);
    Put(&len, 4);
    if (count > 0) Put(data, count);
}

// ---- TReader -----------------------------------------------------------------------------

TReader::TReader(TStream& stream, int bufSize)
    : stream_(stream), buf_(static_cast<std::size_t>(std::max(bufSize, 16))) {
    streamLeft_ = std::max(0LL, stream_.Size() - stream_.Position());
}

TReader::~TReader() {
    try {
        FlushBuffer();
    } catch (...) {
        // Repositioning is best effort here; callers that go on with the stream flush explicitly.
    }
}

long long TReader::BytesLeft() const { return static_cast<long long>(end_ - pos_) + streamLeft_; }

void TReader::FlushBuffer() {
    if (end_ > pos_) {
        const auto back = static_cast<long long>(end_ - pos_);
        stream_.Seek(-back, TSeekOrigin::soCurrent);
        streamLeft_ += back;
    }
    pos_ = end_ = 0;
}

void TReader::Fill() {
    const long long want = std::min(static_cast<long long>(buf_.size()), streamLeft_);
    if (want <= 0) ReadFailure();
    const long long got = stream_.Read(buf_.data(), want);
    if (got <= 0) ReadFailure();
    pos_ = 0;
    end_ = static_cast<std::size_t>(got);
    streamLeft_ -= got;
}

void TReader::Get(void* data, std::size_t count) {
    auto* out = static_cast<std::uint8_t*>(data);
    while (count > 0) {
        if (pos_ == end_) {
            if (count >= buf_.size()) {
                if (static_cast<long long>(count) > streamLeft_) ReadFailure();
                stream_.ReadBuffer(out, static_cast<long long>(count));
                streamLeft_ -= static_cast<long long>(count);
                return;
            }
            Fill();
        }
        const std::size_t n = std::min(count, end_ - pos_);
        std::memcpy(out, buf_.data() + pos_, n);
        pos_ += n;
        out += n;
        count -= n;
    }
}

TValueType TReader::NextValue() {
    if (pos_ == end_) Fill();
    const std::uint8_t tag = buf_[pos_];
    if (!KnownTag(tag)) ReadFailure();
    return static_cast<TValueType>(tag);
}

TValueType TReader::ReadValue() {
    const TValueType type = NextValue();
    ++pos_;
    return type;
}

bool TReader::EndOfList() { return NextValue() == TValueType::vaNull; }

void TReader::ReadListBegin() {
    if (ReadValue() != TValueType::vaList) WrongValue();
}

void TReader::ReadListEnd() {
    if (ReadValue() != TValueType::vaNull) WrongValue();
}

std::int32_t TReader::ReadInteger() {
    switch (ReadValue()) {
        case TValueType::vaInt8: {
            std::int8_t v;
            Get(&v, 1);
            return v;
        }
        case TValueType::vaInt16: {
            std::int16_t v;
            Get(&v, 2);
            return v;
        }
        case TValueType::vaInt32: {
            std::int32_t v;
            Get(&v, 4);
            return v;
        }
        default:
            WrongValue();
    }
}

long double TReader::ReadFloat() {
    switch (NextValue()) {
        case TValueType::vaExtended: {
            ++pos_;
            long double v = 0;
            std::uint8_t bytes[sizeof(long double)] = {};
            Get(bytes, kExtendedBytes);
            std::memcpy(&v, bytes, sizeof v);
            return v;
        }
        case TValueType::vaInt64: {
            ++pos_;
            std::int64_t v;
            Get(&v, 8);
            return static_cast<long double>(v);
        }
        case TValueType::vaInt8:
        case TValueType::vaInt16:
        case TValueType::vaInt32:
            return ReadInteger();
        default:
            ++pos_;
            WrongValue();
    }
}

std::int32_t TReader::ReadLength() {
    std::int32_t len;
    Get(&len, 4);
    if (len < 0) ReadFailure();
    return len;
}

std::string TReader::ReadString() {
    std::size_t len = 0;
    switch (ReadValue()) {
        case TValueType::vaString: {
            std::uint8_t len8;
            Get(&len8, 1);
            len = len8;
            break;
        }
        case TValueType::vaLString:
        case TValueType::vaUTF8String:
            len = static_cast<std::size_t>(ReadLength());
            break;
        case TValueType::vaWString: {
            const auto units = static_cast<std::size_t>(ReadLength());
            if (static_cast<long long>(units) * 2 > BytesLeft()) ReadFailure();
            std::vector<std::uint16_t> text(units);
            if (units > 0) Get(text.data(), units * 2);
            return Utf16ToUtf8(text);
        }
        default:
            WrongValue();
    }
    if (static_cast<long long>(len) > BytesLeft()) ReadFailure();
    std::string bytes(len, '\0');
    if (len > 0) Get(bytes.data(), len);
    return HasHighByte(bytes) ? DecodeTextBytes(bytes) : bytes;
}

std::vector<std::uint8_t> TReader::ReadBinary() {
    if (pos_ == end_) Fill();
    if (buf_[pos_] != static_cast<std::uint8_t>(TValueType::vaBinary)) {
        if (!KnownTag(buf_[pos_])) ReadFailure();
        ++pos_;
        WrongValue();
    }
    ++pos_;
    const auto len = static_cast<std::size_t>(ReadLength());
    if (static_cast<long long>(len) > BytesLeft()) ReadFailure();
    std::vector<std::uint8_t> bytes(len);
    if (len > 0) Get(bytes.data(), len);
    return bytes;
}

}  // namespace rtl
