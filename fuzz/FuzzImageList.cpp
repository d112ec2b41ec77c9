// libFuzzer entry for the item streams of image and bitmap lists (image item, image block,
// bitmap item, whole containers); see fuzz/FuzzContainers.h.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzContainers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzcont::FeedImageStreams(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
