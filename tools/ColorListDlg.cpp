// Stand-in until the colour list box exists: an empty window.
#include "tools/ColorListDlg.h"

TFormColorListDlg::TFormColorListDlg(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormColorListDlg");
    SetCaption("Farbliste");
}
