// libFuzzer entry for container files: the input is written to a file and read as one (header,
// items by index, whole containers behind the signature); see fuzz/FuzzContainers.h.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz/FuzzContainers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = [] {
        const std::filesystem::path shm("/dev/shm");
        const auto dir = std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        return (dir / ("fuzz_kitcont_" + std::to_string(getpid()) + ".bml")).string();
    }();
    fuzzcont::FeedContainerFile(std::string_view(reinterpret_cast<const char*>(data), size), path);
    return 0;
}
