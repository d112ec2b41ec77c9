// The clipboard's standard formats and the drag cursor on the screen.
#include <QCursor>
#include <QGuiApplication>

#include "platform/gdi/Graphics.h"
#include "platform/gui/Clipbrd.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

class guiClipboardFormats : public GuiFixture {};

TEST_F(guiClipboardFormats, TextFormatsFollowTheContent) {
    Clipboard()->SetAsText("ä µ");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_OEMTEXT));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));

    gdi::TBitmap bmp;
    bmp.SetSize(4, 3);
    Clipboard()->Assign(bmp);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));

    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_FALSE(Clipboard()->HasFormat(0xC123));
}

TEST_F(guiClipboardFormats, ScreenCursorShowsTheDragCursorAndComesBack) {
    const TCursor saved = Screen()->Cursor();
    Screen()->SetCursor(crDrag);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::DragMoveCursor);
    Screen()->SetCursor(saved);
    EXPECT_EQ(Screen()->Cursor(), saved);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
