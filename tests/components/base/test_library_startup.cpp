// The component library's start-up as the program runs it before its first window.
#include <gtest/gtest.h>

#include "components/base/KitRichEditInit.h"
#include "components/base/KitXPStyles.h"
#include "components/base/kitapp.h"
#include "components/base/kitcont.h"
#include "platform/gui/ClipboardFormats.h"

using namespace kit;

namespace {

TEST(kitLibrary, StartUpBringsUpEveryUnit) {
    KitLibraryInitialize();
    EXPECT_NE(KitThemeManagerInstance, nullptr);
    EXPECT_NE(KitAppContainer, nullptr);
    EXPECT_TRUE(KitApplication.Assigned());
    EXPECT_FALSE(KitThemeLibraryLoaded);
    EXPECT_EQ(KitRichEditVersion, -1);
    const struct {
        unsigned format;
        const char* name;
    } formats[] = {{CFEmbeddedObject, "Embedded Object"},
                   {CFLinkSource, "Link Source"},
                   {CFRtf, "Rich Text Format"},
                   {CFRtfNoObjs, "Rich Text Format Without Objects"}};
    for (const auto& f : formats) {
        EXPECT_NE(f.format, 0u) << f.name;
        EXPECT_EQ(gui::GetClipboardFormatName(f.format), f.name);
    }
    // Balanced shut-down, so that the units' own tests later in this process start from nothing.
    KitThemeLibraryFree();
    KitAppFinalize();
    KitXPStylesFinalize();
    KitContFinalize();
    KitRichEditFinalize();
    EXPECT_EQ(KitThemeManagerInstance, nullptr);
}

}  // namespace
