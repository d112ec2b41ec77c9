// Every input the fuzz targets found a fault with (tests/data/fuzz/<target>/) goes through the
// same command of a headless viewer as in the fuzz run: it either loads or ends in the error box
// (rtl::Exception), and the viewer imports a good file afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/FuzzViewer.h"

namespace {

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::filesystem::path> Findings(const char* target) {
    std::vector<std::filesystem::path> files;
    const std::filesystem::path dir = std::filesystem::path(FELDOR_TEST_DATA) / "fuzz" / target;
    if (!std::filesystem::is_directory(dir)) return files;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FuzzRegressions, EveryFindingLoadsOrFailsCleanlyAndTheViewerGoesOn) {
    fuzzviewer::HeadlessViewer viewer;
    int fed = 0;
    for (const auto& [target, name] : fuzzviewer::kTargets) {
        for (const auto& file : Findings(name)) {
            SCOPED_TRACE(file.string());
            const std::string bytes = ReadBytes(file);
            try {
                fuzzviewer::Feed(viewer, target, bytes);
            } catch (const rtl::Exception& e) {
                // The error box's text: a message, never an empty one.
                EXPECT_FALSE(std::string(e.what()).empty());
            } catch (const std::exception& e) {
                ADD_FAILURE() << "not an rtl::Exception: " << e.what();
            }
            ++fed;
            // Still usable: a good file imports with all its points.
            fuzzviewer::Feed(viewer, fuzzviewer::Target::Eznec, fuzzviewer::kSmallEznecField);
            EXPECT_EQ(FeldorU::PointCount(), 6);
            EXPECT_TRUE(FeldorU::FieldShown);
        }
    }
    EXPECT_GT(fed, 0) << "no findings under tests/data/fuzz";
}

}  // namespace
