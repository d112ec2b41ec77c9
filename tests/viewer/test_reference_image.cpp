// The main window showing the bundled example, grabbed and compared pixel for pixel with an image
// of a known-good build (letters smoothed in grey). Setting FELDOR_WRITE_REFERENCE to a
// file name writes the grab there instead (to make a new reference from a known-good build).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <cstdlib>
#include <string>

#include "ViewerFixture.h"

class ReferenceImageTest : public ViewerFixture {
protected:
    void TearDown() override {
        ViewerFixture::TearDown();
        if (flashTime_ >= 0) QApplication::setCursorFlashTime(flashTime_);
    }
    QImage GrabExample() {
        // The edit's text cursor stays on (it is on in the reference), however long start-up takes.
        flashTime_ = QApplication::cursorFlashTime();
        QApplication::setCursorFlashTime(0);
        // The mouse away from the map, whatever an earlier test left: the read-out shows its captions.
        QCursor::setPos(QPoint(-500, -500));
        StartUp();
        form->LoadFDRDatei(std::string(FELDOR_SOURCE_DIR) + "/samples/Beispiel.fdr");
        form->Show();
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        return form->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    int flashTime_ = -1;
};

TEST_F(ReferenceImageTest, MainWindowWithExampleMatchesTheReferencePixelForPixel) {
    const QImage grabbed = GrabExample();
    ASSERT_TRUE(presenter->boxes.empty());
    if (const char* out = std::getenv("FELDOR_WRITE_REFERENCE")) {
        ASSERT_TRUE(grabbed.save(QString::fromUtf8(out), "PNG"));
        GTEST_SKIP() << "reference written to " << out;
    }
    const QImage expected(QStringLiteral(FELDOR_TEST_DATA "/reference/main_window_example.png"));
    ASSERT_FALSE(expected.isNull()) << "fixture missing";
    const QImage want = expected.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(grabbed.size(), want.size());
    int differing = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if (grabbed.pixel(x, y) != want.pixel(x, y)) {
                if (differing++ == 0) {
                    firstX = x;
                    firstY = y;
                }
            }
    if (differing) grabbed.save(QStringLiteral("/tmp/feldor_reference_actual.png"), "PNG");
    EXPECT_EQ(differing, 0) << "first difference at " << firstX << "," << firstY
                            << " (grab saved as /tmp/feldor_reference_actual.png)";
}
