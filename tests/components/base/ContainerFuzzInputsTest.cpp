// The fuzz seeds and the saved findings of the container readers (fuzz/FuzzContainers.h): each
// is read or refused with an rtl::Exception, and what is read keeps its promises.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/FuzzContainers.h"

namespace {

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// Feeds every file of the seed and finding folders of one target; returns how many there were.
template <class Feed>
int FeedAll(const std::string& target, Feed feed) {
    int files = 0;
    for (const std::filesystem::path& dir :
         {std::filesystem::path(FELDOR_SOURCE_DIR) / "fuzz" / "seeds" / target,
          std::filesystem::path(FELDOR_TEST_DATA) / "fuzz" / target}) {
        if (!std::filesystem::is_directory(dir)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const std::string data = ReadAll(entry.path());
            EXPECT_NO_THROW(feed(data)) << entry.path();
            ++files;
        }
    }
    return files;
}

}  // namespace

TEST(KitContainerFuzzInputs, ContainerFiles) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "kitcont_fuzz_input.bml").string();
    EXPECT_GT(FeedAll("kitcont", [&](const std::string& d) { fuzzcont::FeedContainerFile(d, path); }), 0);
    std::filesystem::remove(path);
}

TEST(KitContainerFuzzInputs, ImageListStreams) {
    EXPECT_GT(FeedAll("imagelist", [](const std::string& d) { fuzzcont::FeedImageStreams(d); }), 0);
}

// The seeds are good files: each one is read whole.
TEST(KitContainerFuzzInputs, SeedsAreReadable) {
    const auto seeds = std::filesystem::path(FELDOR_SOURCE_DIR) / "fuzz" / "seeds" / "kitcont";
    for (const auto& entry : std::filesystem::directory_iterator(seeds)) {
        int count = -1;
        std::vector<int> offsets;
        const int kind = kit::KitReadContainerHeader(entry.path().string(), count, &offsets);
        ASSERT_LE(kind, kit::ckStringList) << entry.path();
        EXPECT_GT(count, 0) << entry.path();
        rtl::TFileStream f(entry.path().string(), rtl::fmOpenRead);
        f.SetPosition(9);
        std::unique_ptr<kit::TKitCustomContainer> list;
        switch (kind) {
            case kit::ckImageList: list = std::make_unique<kit::TKitImageList>(nullptr); break;
            case kit::ckBitmapList: list = std::make_unique<kit::TKitBitmapList>(nullptr); break;
            case kit::ckWaveList: list = std::make_unique<kit::TKitWaveList>(nullptr); break;
            default: list = std::make_unique<kit::TKitStringList>(nullptr); break;
        }
        ASSERT_NO_THROW(list->LoadFromStream(f, true)) << entry.path();
        EXPECT_EQ(list->Count(), count) << entry.path();
        EXPECT_EQ(f.Position(), f.Size()) << entry.path();
    }
}
