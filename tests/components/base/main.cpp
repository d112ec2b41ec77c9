// Test program of the library's base: one Qt application for all tests, made before the first.
// A test that only draws would otherwise leave a plain GUI application behind (the drawing
// layer makes one for its fonts), in which the window tests that follow can make no window.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
