// Stand-in until the synthetic file writer is built: an empty window.
#include "viewer/FakeEZNECFile.h"

TFormFakeEZNECFile::TFormFakeEZNECFile(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormFakeEZNECFile");
    SetCaption("Fake EZNEC Files");
}
