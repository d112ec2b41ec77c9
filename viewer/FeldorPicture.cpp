// Main window: picture export.
// Stand-in: the picture export commands are not built yet; their handlers are bound and do nothing.
#include "viewer/FeldorU.h"

void TFormFeldor::MISavePictureClick(rtl::TObject*) {}
void TFormFeldor::MIClipPictureClick(rtl::TObject*) {}
void TFormFeldor::MIEinzelbilderSpeichernClick(rtl::TObject*) {}
