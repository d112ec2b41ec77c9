// Start-up of the theme and rich-edit support on a platform that has neither library.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/base/KitRichEditInit.h"
#include "components/base/KitXPStyles.h"
#include "platform/gui/ClipboardFormats.h"

using namespace kit;

namespace {

TEST(kitXPStyles, NoThemeLibraryAndNoEntries) {
    KitXPStylesInitialize();
    ASSERT_NE(KitThemeManagerInstance, nullptr);
    EXPECT_EQ(KitThemeManagerInstance->Owner(), nullptr);
    TKitXPThemeManager* first = KitThemeManagerInstance;
    KitThemeLibraryLoad();
    EXPECT_FALSE(KitThemeLibraryLoaded);
    EXPECT_EQ(KitThemeLibrary, 0u);
    EXPECT_EQ(KitThemeFunctions.IsThemeActive, nullptr);
    EXPECT_EQ(KitThemeFunctions.SetThemeAppProperties, nullptr);
    EXPECT_EQ(KitThemeFunctions.OpenThemeData, nullptr);
    EXPECT_EQ(KitThemeFunctions.CloseThemeData, nullptr);
    EXPECT_EQ(KitThemeFunctions.DrawThemeBackground, nullptr);
    EXPECT_EQ(KitThemeFunctions.DrawThemeParentBackground, nullptr);
    EXPECT_EQ(KitThemeFunctions.GetThemeBackgroundContentRect, nullptr);

    // A nested start-up keeps the one singleton; it goes with the last shut-down.
    KitXPStylesInitialize();
    EXPECT_EQ(KitThemeManagerInstance, first);
    KitXPStylesFinalize();
    EXPECT_EQ(KitThemeManagerInstance, first);
    KitThemeLibraryFree();
    KitXPStylesFinalize();
    EXPECT_EQ(KitThemeManagerInstance, nullptr);
    KitXPStylesFinalize();  // unbalanced: nothing happens
    EXPECT_EQ(KitThemeManagerInstance, nullptr);
}

TEST(kitRichEdit, LibraryAbsentFormatsRegistered) {
    KitRichEditInitialize();
    EXPECT_EQ(KitRichEditLibrary, 0u);
    EXPECT_EQ(KitRichEditVersion, -1);
    const std::vector<std::pair<unsigned, std::string>> formats = {
        {CFEmbeddedObject, "Embedded Object"},
        {CFLinkSource, "Link Source"},
        {CFRtf, "Rich Text Format"},
        {CFRtfNoObjs, "Rich Text Format Without Objects"},
    };
    for (std::size_t i = 0; i < formats.size(); ++i) {
        SCOPED_TRACE(formats[i].second);
        EXPECT_GE(formats[i].first, 0xC000u);
        EXPECT_LE(formats[i].first, 0xFFFFu);
        EXPECT_EQ(gui::GetClipboardFormatName(formats[i].first), formats[i].second);
        // The same name, in any case, gives the same number.
        EXPECT_EQ(gui::RegisterClipboardFormat(formats[i].second), formats[i].first);
        for (std::size_t j = 0; j < i; ++j) EXPECT_NE(formats[i].first, formats[j].first);
    }
    EXPECT_EQ(gui::RegisterClipboardFormat("rich text format"), CFRtf);
    EXPECT_EQ(gui::RegisterClipboardFormat(""), 0u);
    EXPECT_EQ(gui::GetClipboardFormatName(0x8000), "");
    KitRichEditFinalize();
    EXPECT_EQ(KitRichEditVersion, -1);
}

TEST(kitRichEdit, ConversionsPassBytesThrough) {
    const TKitConversionFormat* f = KitConversionFormats();
    ASSERT_NE(f, nullptr);
    EXPECT_STREQ(f->Extension, "txt");
    ASSERT_NE(f->Next, nullptr);
    EXPECT_STREQ(f->Next->Extension, "rtf");
    EXPECT_EQ(f->Next->Next, nullptr);

    std::unique_ptr<TKitConversion> c = f->Next->ConversionClass();
    rtl::TMemoryStream s;
    const char text[] = "{\\rtf1 x}";
    EXPECT_EQ(c->ConvertWriteStream(s, text, 9), 9);
    s.SetPosition(0);
    char back[16] = {};
    EXPECT_EQ(c->ConvertReadStream(s, back, 16), 9);
    EXPECT_EQ(std::string(back, 9), "{\\rtf1 x}");
}

}  // namespace
