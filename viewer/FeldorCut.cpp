// Main window: cut line and vertical section.
// Stand-in: the cut line and vertical section commands are not built yet; their handlers are bound and do nothing.
#include "viewer/FeldorU.h"

void TFormFeldor::MISchnittDefinitionClick(rtl::TObject*) {}
void TFormFeldor::MIVerticalClick(rtl::TObject*) {}
void TFormFeldor::paintVerticalCut() {}
void TFormFeldor::DrawLine(const Vektor2&, const Vektor2&) {}
