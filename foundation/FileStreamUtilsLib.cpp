#include "foundation/FileStreamUtilsLib.h"

#include <bit>
#include <cstdint>

#include "platform/rtl/SysUtils.h"

static_assert(std::endian::native == std::endian::little, "the stream format is little-endian");
static_assert(sizeof(double) == 8);

void WriteDoubleArray(rtl::TStream& Stream, const DoubleArray& A)
{
    const std::int32_t High = A.High();
    Stream.WriteBuffer(&High, sizeof High);
    if (A.Length() > 0)
        Stream.WriteBuffer(A.data(), static_cast<long long>(A.Length()) * sizeof(double));
}

void ReadDoubleArray(rtl::TStream& Stream, DoubleArray& A)
{
    A.clear();
    std::int32_t High = 0;
    Stream.ReadBuffer(&High, sizeof High);
    const long long Count = static_cast<long long>(High) + 1;
    const long long Left = Stream.Size() - Stream.Position();
    if (Count < 0 || Count * static_cast<long long>(sizeof(double)) > Left)
        throw rtl::EReadError(rtl::msg::ReadError);
    if (Count == 0) return;
    A.SetLength(static_cast<int>(Count));
    try {
        Stream.ReadBuffer(A.data(), Count * static_cast<long long>(sizeof(double)));
    } catch (...) {
        A.clear();
        throw;
    }
}
