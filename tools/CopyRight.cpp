#include "tools/CopyRight.h"

#include "foundation/MemoUtilsLib.h"

namespace {

// The ten paragraphs of the terms of use.
const char* const kTerms[] = {
    "Alle Rechte an diesem Programm und seinen Bestandteilen verbleiben beim Autor.",
    "Der Anwender erhält ein einfaches Nutzungsrecht zu den nachfolgenden Bedingungen.",
    "Das Programm ist ein Service des RAVK für seine Mitglieder und für die Mitglieder des "
    "befreundeten Amateurfunkverbandes.",
    "Das Nutzungsrecht ist auf die Mitglieder dieser beiden Vereinigungen beschränkt.",
    "Erlaubt ist ausschließlich die nichtkommerzielle Nutzung.",
    "Das Programm und seine Bestandteile, insbesondere die Hinweise auf den Autor und auf den "
    "Ausschluss der kommerziellen Nutzung, dürfen weder entfernt noch verändert werden.",
    "Die Aufnahme des Programms in kommerzielle Produkte, auch wenn sie kostenlos abgegeben "
    "werden, bedarf der schriftlichen Genehmigung des Autors.",
    "Die Verbreitung auf CDs oder auf jedem anderen Weg, auch über das Internet, ist untersagt.",
    "Unter diesen Bedingungen darf das vollständige und unveränderte Programm für den eigenen "
    "Amateurfunkbetrieb kopiert und weitergegeben werden, stets unter Angabe der Quelle.",
    "Der Autor haftet nicht für Schäden, die aus der Nutzung des Programms entstehen. Mit der "
    "Nutzung erkennt der Anwender diese Nutzungsrechte und den Haftungsausschluss an.",
};

}  // namespace

void MemoAddEmptyLine(gui::TMemo& Memo) { MemoAdd(Memo, ""); }

TFormCopyRight::TFormCopyRight(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormCopyRight");
    SetCaption("Nutzungsbedingungen");
    SetBorderStyle(gui::bsSingle);
    SetBorderIcons(gui::biSystemMenu);
    SetPosition(gui::poScreenCenter);
    SetClientWidth(359);
    SetClientHeight(454);

    Memo = new gui::TMemo(this);
    Memo->SetName("Memo");
    Memo->SetParent(this);
    Memo->SetAlign(gui::alClient);
    Memo->SetReadOnly(true);
    Memo->SetColor(gdi::clInfoBk);
    Memo->SetScrollBars(gui::ssVertical);
}

void TFormCopyRight::Execute() {
    SetCaption(CaptionText);
    Memo->Clear();
    const std::size_t count = std::size(kTerms);
    for (std::size_t i = 0; i < count; ++i) {
        MemoAdd(*Memo, kTerms[i]);
        if (i + 1 < count) MemoAddEmptyLine(*Memo);
    }
    ShowModal();
    Release();
}

void TFormCopyRight::ButCloseClick(rtl::TObject*) { Close(); }
