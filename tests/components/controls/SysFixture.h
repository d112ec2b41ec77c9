// Helpers of the system-component tests: the kernel's own figures and a temporary locale store.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/sys/LocaleStore.h"

namespace systest {

// The value of "key" in a "key : value" file such as /proc/cpuinfo (first match).
inline std::string procValue(const std::string& file, const std::string& key) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string k = line.substr(0, colon);
        while (!k.empty() && (k.back() == ' ' || k.back() == '\t')) k.pop_back();
        if (k != key) continue;
        std::string v = line.substr(colon + 1);
        v.erase(0, v.find_first_not_of(" \t"));
        return v;
    }
    return "";
}

inline bool cpuFlag(const std::string& flag) {
    const std::string flags = " " + procValue("/proc/cpuinfo", "flags") + " ";
    return flags.find(" " + flag + " ") != std::string::npos;
}

// Points the locale store at a fresh temporary directory for the test's lifetime.
class TempLocaleStore : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/kit_locale_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        dir_ = dir;
        sys::SetLocaleStoreDirectory(dir_);
    }
    void TearDown() override {
        sys::SetLocaleStoreDirectory("");
        std::system(("rm -rf '" + dir_ + "'").c_str());
    }
    std::string dir_;
};

}  // namespace systest
