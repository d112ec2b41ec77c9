// Main window: mouse read-out and measuring points.
// Stand-in: the mouse read-out and measuring points commands are not built yet; their handlers are bound and do nothing.
#include "viewer/FeldorU.h"

void TFormFeldor::ImageFeldMouseMove(rtl::TObject*, gui::TShiftState, int, int) {}
void TFormFeldor::FormMouseMove(rtl::TObject*, gui::TShiftState, int, int) {}
void TFormFeldor::ImageOvlMouseDown(rtl::TObject*, gui::TMouseButton, gui::TShiftState, int, int) {}
void TFormFeldor::MessPktUpdate(rtl::TObject*) {}
