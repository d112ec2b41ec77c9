// libFuzzer entry for the block decompressor: the input is read as a block-compressed record and
// as a single block (damaged data must end in rtl::EReadError), and compressing it must give
// back the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "components/base/KitStreamUtils.h"
#include "components/base/kitprocs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    rtl::TMemoryStream in, out;
    in.WriteBuffer(data, static_cast<long long>(size));
    in.SetPosition(0);
    try {
        kit::KitDecompressStream(in, out);
    } catch (const rtl::EReadError&) {
    }

    if (size <= static_cast<std::size_t>(kit::KitStoredBlockSize)) {
        std::vector<std::uint8_t> expanded(kit::KitChunkSize);
        try {
            kit::KitDecompress(data, expanded.data(), static_cast<int>(size));
        } catch (const rtl::EReadError&) {
        }
    }

    const int n = static_cast<int>(size < static_cast<std::size_t>(kit::KitChunkSize) ? size : kit::KitChunkSize);
    std::vector<std::uint8_t> block(static_cast<std::size_t>(n) + 6), back(kit::KitChunkSize);
    const int len = kit::KitCompress(data, block.data(), n);
    if (len > n + 1 || kit::KitDecompress(block.data(), back.data(), len) != n ||
        std::memcmp(back.data(), data, static_cast<std::size_t>(n)) != 0)
        std::abort();
    return 0;
}
