#include "components/controls/KitBuffer.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace kit {

namespace {
struct FreeBlock {
    void operator()(void* p) const { std::free(p); }
};
using Block = std::unique_ptr<void, FreeBlock>;

std::int32_t ReadInt32(rtl::TStream& s) {
    std::uint8_t b[4];
    s.ReadBuffer(b, 4);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                                     (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
}

void WriteInt32(rtl::TStream& s, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                               static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
    s.WriteBuffer(b, 4);
}

[[noreturn]] void ReadFailure() { throw rtl::EReadError(rtl::msg::ReadError); }

// The count must fit in what is left of the stream.
void CheckRemaining(rtl::TStream& s, std::int32_t count) {
    if (count < 0 || count > s.Size() - s.Position()) ReadFailure();
}
}  // namespace

void TKitBuffer::FreeItem(void* Item) {
    if (OnFreeItem) OnFreeItem(this, Item);
    else std::free(Item);
}

void TKitBuffer::SaveToStream(rtl::TStream& Stream) {
    const std::size_t len = std::strlen(KitBufferStreamHeader) + 1;
    WriteInt32(Stream, static_cast<std::int32_t>(len));
    Stream.WriteBuffer(KitBufferStreamHeader, static_cast<long long>(len));
    TPosition pos = nullptr;
    for (First(pos); !IsEnd(pos); Next(pos)) {
        void* item = Data(pos);
        int size = 0;
        if (OnGetItemSize) OnGetItemSize(this, item, size);
        if (size < 0) size = 0;
        WriteInt32(Stream, size);
        if (size > 0) Stream.WriteBuffer(item, size);
    }
}

void TKitBuffer::LoadFromStream(rtl::TStream& Stream) {
    const std::int32_t len = ReadInt32(Stream);
    CheckRemaining(Stream, len);
    std::string header(static_cast<std::size_t>(len), '\0');
    if (len > 0) Stream.ReadBuffer(header.data(), len);
    header.resize(std::strlen(header.c_str()));  // zero-terminated text
    if (header != KitBufferStreamHeader) return;

    std::vector<Block> blocks;
    while (Stream.Position() < Stream.Size()) {
        const std::int32_t size = ReadInt32(Stream);
        CheckRemaining(Stream, size);
        Block b(std::malloc(size > 0 ? static_cast<std::size_t>(size) : 1));
        if (!b) throw rtl::EOutOfMemory(rtl::msg::OutOfMemory);
        if (size > 0) Stream.ReadBuffer(b.get(), size);
        blocks.push_back(std::move(b));
    }
    Clear();
    for (Block& b : blocks) {
        void* item = b.release();
        if (!Add(item)) std::free(item);
    }
}

}  // namespace kit
