// Test entry point (the test programs link GoogleTest without its main). Started as
// "sys_tests --locale-child <get|set|numbers> ..." the program is the second process of the
// cross-process locale tests: it works on the store named by FELDOR_CONFIG_DIR and prints.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/rtl/SysUtils.h"
#include "platform/sys/LocaleStore.h"

namespace {

int localeChild(int argc, char** argv) {
    const std::string op = argc > 2 ? argv[2] : "";
    if (op == "set" && argc > 4) return sys::SetLocaleValue(std::atoi(argv[3]), argv[4]) ? 0 : 2;
    if (op == "get" && argc > 3) {
        const auto v = sys::GetLocaleValue(std::atoi(argv[3]));
        std::printf("[%s]", v ? v->c_str() : "(none)");
        return 0;
    }
    if (op == "numbers") {
        sys::LoadFormatSettingsFromLocale();
        std::printf("%s", rtl::FloatToStr(1234.5L).c_str());
        return 0;
    }
    return 3;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--locale-child") == 0) return localeChild(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
