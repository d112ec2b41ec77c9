// Test program of the library's controls: one Qt application for all tests, made before the
// first (a test that only draws would otherwise leave a plain GUI application behind, the
// drawing layer's for its fonts, in which no window can be made). A test of the system
// components without a GUI application runs its checks in a fresh process of this program
// started with FELDOR_TESTS_WITHOUT_APPLICATION set: that process makes none.
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QApplication> app;
    if (qEnvironmentVariableIsEmpty("FELDOR_TESTS_WITHOUT_APPLICATION")) app = std::make_unique<QApplication>(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
