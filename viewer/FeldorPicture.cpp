// Main window: the map as pictures. The composed picture (colour map scaled to the image area,
// overlay and marks over it) goes to a BMP file or the clipboard; the three layers go unscaled
// to three BMP files, which replace their old files together.
#include <memory>
#include <string>

#include "foundation/BitMapToolsLib.h"
#include "foundation/DebugLib.h"
#include "foundation/FileLib.h"
#include "platform/gui/Clipbrd.h"
#include "platform/rtl/FileReplace.h"
#include "viewer/FeldorU.h"

namespace {

constexpr const char* kNothingSaved = "Es wurde keine Bilddatei gespeichert!";

// A copy of an image's picture (an image without a picture gives an empty bitmap).
std::unique_ptr<gdi::TBitmap> PictureCopy(gui::TImage* image) {
    auto bmp = std::make_unique<gdi::TBitmap>();
    if (const gdi::TBitmap* b = image->Picture()->Graphic()) bmp->Assign(*b);
    return bmp;
}

// The colour the screen leaves out of a layer: its bitmap's transparent colour when the image
// is transparent (white for the cleared overlay, black or white for the marks layer), else
// black.
gdi::TColor LayerBackground(gui::TImage* image) {
    const gdi::TBitmap* b = image->Picture()->Graphic();
    if (!image->Transparent() || !b || b->Empty()) return gdi::clBlack;
    return gdi::ColorToPixel(b->TransparentColor());
}

// Lays Layer over Below (both brought to a common size first) leaving out Background; an
// empty layer adds nothing.
std::unique_ptr<gdi::TBitmap> Over(gdi::TBitmap& Layer, gdi::TBitmap& Below,
                                   gdi::TColor Background) {
    if (Layer.Empty()) {
        auto copy = std::make_unique<gdi::TBitmap>();
        copy->Assign(Below);
        return copy;
    }
    EqualizeBitmapSizes(Layer, Below);
    return OverlayBitmapNew(Layer, Below, Background);
}

// The map as the screen shows it, at the size of the map image.
std::unique_ptr<gdi::TBitmap> ComposePicture(TFormFeldor& f) {
    auto map = PictureCopy(f.ImageFeld);
    auto ovl = PictureCopy(f.ImageOvl);
    auto play = PictureCopy(f.ImagePlay);
    const gdi::TColor ovlBackground = LayerBackground(f.ImageOvl);
    const gdi::TColor playBackground = LayerBackground(f.ImagePlay);

    const int w = f.ImageFeld->Width();
    const int h = f.ImageFeld->Height();
    auto black = ColoredBitmap(h, w, gdi::clBlack);
    // The map has one pixel per grid point: scaled up into the image area, aspect kept.
    auto fitted = FitBitmap(*map, w, h);
    auto c1 = OverlayBitmapNew(*fitted, *black, gdi::clBlack);
    auto c2 = Over(*ovl, *c1, ovlBackground);
    return Over(*play, *c2, playBackground);
}

}  // namespace

void TFormFeldor::MISavePictureClick(rtl::TObject*) {
    auto picture = ComposePicture(*this);
    SavePictureDialog->Filter = "Alle Dateien (*.*)|*.*|BitMap-Bild (*.bmp)|*.bmp";
    SavePictureDialog->FilterIndex = 2;
    SavePictureDialog->DefaultExt = ".bmp";
    SavePictureDialog->FileName = "Draufsicht.bmp";
    if (SavePictureDialog->Execute())
        picture->SaveToFile(SavePictureDialog->FileName);
    else
        msgWarning(kNothingSaved);
}

void TFormFeldor::MIClipPictureClick(rtl::TObject*) {
    auto picture = ComposePicture(*this);
    gui::Clipboard()->Assign(*picture);
}

// The dialog keeps whatever settings its last use left.
void TFormFeldor::MIEinzelbilderSpeichernClick(rtl::TObject*) {
    msgInfo("Info Einzelbilder");
    if (!SavePictureDialog->Execute()) {
        msgWarning(kNothingSaved);
        return;
    }
    const std::string base = FileNameWithoutExt(SavePictureDialog->FileName);
    // The three pictures replace their files together, once all three are written: a failure
    // leaves the three old files as they were.
    rtl::TReplacingFileStream feld(base + " Feld.bmp");
    rtl::TReplacingFileStream ovl(base + " Ovl.bmp");
    rtl::TReplacingFileStream mps(base + " MPs.bmp");
    PictureCopy(ImageFeld)->SaveToStream(feld);
    PictureCopy(ImageOvl)->SaveToStream(ovl);
    PictureCopy(ImagePlay)->SaveToStream(mps);
    rtl::TReplacingFileStream* const files[] = {&feld, &ovl, &mps};
    rtl::CommitTogether(files);
}
