// Rich-text start-up: the rich-edit library and the rich-text clipboard formats, kept from
// start to end of the program, and the constant tables of the rich-text support. No control of
// the program uses them. This platform has no rich-edit library: it is reported absent.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/rtl/Classes.h"

namespace kit {

// Module handle of the rich-edit library; 0 when none is loaded.
extern std::uintptr_t KitRichEditLibrary;
// -1 no library; 1 the older library; 2 the newer one; 3 the newer one on the newer system.
extern int KitRichEditVersion;

// Clipboard formats registered at start (0 before).
extern unsigned CFEmbeddedObject;   // "Embedded Object"
extern unsigned CFLinkSource;       // "Link Source"
extern unsigned CFRtf;              // "Rich Text Format"
extern unsigned CFRtfNoObjs;        // "Rich Text Format Without Objects"

// A stream conversion: reads and writes the bytes unchanged.
class TKitConversion : public rtl::TObject {
public:
    virtual long long ConvertReadStream(rtl::TStream& Stream, void* Buffer, long long Count);
    virtual long long ConvertWriteStream(rtl::TStream& Stream, const void* Buffer,
                                         long long Count);
};

// Makes a conversion object of one class.
using TKitConversionClass = std::unique_ptr<TKitConversion> (*)();

// One entry of the list of conversions by file extension.
struct TKitConversionFormat {
    TKitConversionClass ConversionClass;
    const char* Extension;
    const TKitConversionFormat* Next;
};
// The list: "txt", then "rtf", both with TKitConversion.
const TKitConversionFormat* KitConversionFormats();

inline constexpr std::array<const char*, 11> KitURLPrefixes = {
    "http:", "ftp:", "telnet:", "gopher:", "prospero:", "nntp:", "wais:", "mailto:", "news:",
    "www.", "ftp."};
inline constexpr std::array<const char*, 8> KitUnderlineStyleNames = {
    "None", "Solid", "Word", "Dotted", "Dash", "DashDot", "DashDotDot", "Thick"};
inline constexpr std::array<const char*, 3> KitVerticalPositionNames = {"None", "Subscript",
                                                                       "Superscript"};

// Start-up, once: looks for the rich-edit library (absent here: handle 0, version -1) and
// registers the four clipboard formats. Counted: only the first call of a balanced pair works.
void KitRichEditInitialize();
// Shut-down, once: frees the library when one was loaded.
void KitRichEditFinalize();

}  // namespace kit
