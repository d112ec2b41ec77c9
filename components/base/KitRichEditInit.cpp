#include "components/base/KitRichEditInit.h"

#include "platform/gui/ClipboardFormats.h"

namespace kit {

std::uintptr_t KitRichEditLibrary = 0;
int KitRichEditVersion = -1;
unsigned CFEmbeddedObject = 0;
unsigned CFLinkSource = 0;
unsigned CFRtf = 0;
unsigned CFRtfNoObjs = 0;

namespace {

int InitCount = 0;

std::unique_ptr<TKitConversion> MakeConversion() { return std::make_unique<TKitConversion>(); }

const TKitConversionFormat RtfFormat = {&MakeConversion, "rtf", nullptr};
const TKitConversionFormat TextFormat = {&MakeConversion, "txt", &RtfFormat};

}  // namespace

long long TKitConversion::ConvertReadStream(rtl::TStream& Stream, void* Buffer, long long Count) {
    return Stream.Read(Buffer, Count);
}

long long TKitConversion::ConvertWriteStream(rtl::TStream& Stream, const void* Buffer,
                                             long long Count) {
    return Stream.Write(Buffer, Count);
}

const TKitConversionFormat* KitConversionFormats() { return &TextFormat; }

void KitRichEditInitialize() {
    if (InitCount++ > 0) return;
    if (KitRichEditLibrary == 0) {
        // Neither rich-edit library exists on this platform.
        KitRichEditVersion = -1;
    }
    CFEmbeddedObject = gui::RegisterClipboardFormat("Embedded Object");
    CFLinkSource = gui::RegisterClipboardFormat("Link Source");
    CFRtf = gui::RegisterClipboardFormat("Rich Text Format");
    CFRtfNoObjs = gui::RegisterClipboardFormat("Rich Text Format Without Objects");
}

void KitRichEditFinalize() {
    if (InitCount == 0 || --InitCount > 0) return;
    KitRichEditLibrary = 0;
    KitRichEditVersion = -1;
}

}  // namespace kit
