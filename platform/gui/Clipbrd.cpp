// The clipboard over QClipboard.
#include "platform/gui/Clipbrd.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/gui/QtSupport.h"

namespace gui {

using namespace detail;

namespace {
QClipboard* Board() {
    EnsureQtApplication();
    return QGuiApplication::clipboard();
}
}  // namespace

std::string TClipboard::AsText() const { return SS(Board()->text()); }

void TClipboard::SetAsText(const std::string& text) { Board()->setText(QS(text)); }

void TClipboard::Assign(const gdi::TBitmap& bitmap) {
    Board()->setImage(bitmap.Image().convertToFormat(QImage::Format_RGB32));
}

void TClipboard::Assign(const gdi::TPicture& picture) {
    if (const gdi::TBitmap* b = picture.Graphic()) Assign(*b);
    else Clear();
}

bool TClipboard::HasText() const {
    const QMimeData* m = Board()->mimeData();
    return m && m->hasText();
}

bool TClipboard::HasBitmap() const {
    const QMimeData* m = Board()->mimeData();
    return m && m->hasImage();
}

bool TClipboard::GetBitmap(gdi::TBitmap& bitmap) const {
    const QImage img = Board()->image();
    if (img.isNull()) return false;
    bitmap.FromQImage(img);
    return true;
}

void TClipboard::Clear() { Board()->clear(); }

bool TClipboard::HasFormat(unsigned Format) const {
    switch (Format) {
    case CF_TEXT:
    case CF_OEMTEXT:
    case CF_UNICODETEXT: return HasText();
    case CF_BITMAP: return HasBitmap();
    default: return false;
    }
}

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}

}  // namespace gui
