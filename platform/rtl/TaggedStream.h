// The tagged value stream: every value is a one-byte tag followed by its little-endian payload.
// Lists are framed by tag 1 (begin) and tag 0 (end). Integers take the smallest of tags 2, 3, 4
// (1, 2 or 4 bytes), floats tag 5 with the 10 bytes of an x87 80-bit extended value, strings tag 6
// (1-byte length), tag 12 (4-byte length) or tag 20 (4-byte length, UTF-8 bytes, used when the
// text holds a byte above 127), binary data tag 10 (4-byte length, raw bytes; only through
// WriteBinary/ReadBinary). The reader also takes tag 18 (UTF-16 text) and tag 19 (64-bit
// integer, as a float).
//
// Both classes buffer. A writer's bytes reach the stream with FlushBuffer (call it before the
// stream is used otherwise; the destructor flushes too but cannot report a failure). A reader
// fetches ahead; FlushBuffer (and the destructor) move the stream back to just behind the last
// value read, so the next part of the stream follows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Classes.h"

namespace rtl {

enum class TValueType : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaBinary = 10,
    vaLString = 12,
    vaWString = 18,
    vaInt64 = 19,
    vaUTF8String = 20,
};

class TWriter : public TObject {
public:
    explicit TWriter(TStream& stream, int bufSize = 4096);
    ~TWriter() override;
    TWriter(const TWriter&) = delete;
    TWriter& operator=(const TWriter&) = delete;

    void WriteListBegin();
    void WriteListEnd();
    void WriteInteger(std::int32_t value);
    // Widened to the 80-bit format without loss when it comes from a double.
    void WriteFloat(long double value);
    // Text is UTF-8; a byte above 127 makes it tag 20.
    void WriteString(std::string_view value);
    // Tag 10, a 4-byte length and the bytes as they are.
    void WriteBinary(const void* data, std::size_t count);
    // Writes the buffered bytes to the stream (rtl::EWriteError when it takes fewer).
    void FlushBuffer();

private:
    void WriteValue(TValueType type);
    void Put(const void* data, std::size_t count);

    TStream& stream_;
    std::vector<std::uint8_t> buf_;
    std::size_t used_ = 0;
};

// Every failure is rtl::EReadError: "Stream-Lesefehler" when the data ends inside a value, a
// length reaches beyond the stream's end or the tag is none of the format's; "Ungültiger
// Eigenschaftswert" when a known tag does not fit the value asked for.
class TReader : public TObject {
public:
    explicit TReader(TStream& stream, int bufSize = 4096);
    ~TReader() override;
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    void ReadListBegin();
    void ReadListEnd();
    // True when the next value is the end of a list (the tag is not consumed).
    bool EndOfList();
    // The tag of the next value, not consumed.
    TValueType NextValue();
    std::int32_t ReadInteger();
    // Tag 5, or any integer tag (19 included), converted.
    long double ReadFloat();
    // Tags 6 and 12 (bytes that are not valid UTF-8 are taken as Windows-1252), 18 and 20.
    std::string ReadString();
    // Tag 10 only (the other reads take it for an unknown tag).
    std::vector<std::uint8_t> ReadBinary();
    // Bytes that remain after the last value read, up to the stream's end.
    long long BytesLeft() const;
    // Moves the stream to just behind the last value read.
    void FlushBuffer();

private:
    TValueType ReadValue();
    void Get(void* data, std::size_t count);
    void Fill();
    std::int32_t ReadLength();

    TStream& stream_;
    std::vector<std::uint8_t> buf_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    long long streamLeft_ = 0;  // bytes in the stream behind the buffered ones
};

}  // namespace rtl
