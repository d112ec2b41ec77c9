// The progress window of the readers and the field file.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "viewer/FileProgress.h"
#include "ViewerFixture.h"

// The caption names the file being read: the window widens so that a name of usual length
// is not cut, never beyond the screen's work area, and the gauge spans the window.
TEST_F(ViewerFixture, ProgressWindowWidensForItsCaption) {
    StartUp();
    const int workWidth = gui::Screen()->WorkAreaWidth();
    struct Case {
        const char* name;
        std::string caption;
        bool wider;
    };
    const Case cases[] = {
        {"field file", "Datei wird geladen....", false},
        {"usual name", "Datei big-4nec2-nahfeld-20m-dipol.csv wird geladen....", true},
        {"very long name", "Datei " + std::string(400, 'x') + ".txt wird geladen....", true},
    };
    int previous = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto progress = std::make_unique<TFormFileProgress>(nullptr);
        progress->SetCaption(c.caption);
        if (c.wider)
            EXPECT_GT(progress->ClientWidth(), previous);
        else
            EXPECT_EQ(progress->ClientWidth(), 303);
        EXPECT_LE(progress->Width(), workWidth);
        EXPECT_EQ(progress->FileGauge->Left(), 16);
        EXPECT_EQ(progress->FileGauge->Width(), progress->ClientWidth() - 30);
        previous = progress->ClientWidth();
    }
}
