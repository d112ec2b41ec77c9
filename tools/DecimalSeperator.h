// The window "Dezimaltrennzeichen": the four separators of the locale with their character
// codes, buttons that set each of them or both number separators to the German or the US
// convention, a mark of the convention in force and data of the operating system. A one-second
// timer re-reads the separators, and every tenth tick the system data.
#pragma once

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TFormDecimalSeperator : public gui::TForm {
public:
    explicit TFormDecimalSeperator(rtl::TComponent* owner);

    gui::TLabel *LABDeciSep = nullptr, *LABTausiSep = nullptr, *LabListSep = nullptr,
                *LabCTausiSep = nullptr;
    gui::TButton *BUTKomma = nullptr, *BUTPUNKT = nullptr, *ButTKomma = nullptr,
                 *ButTPunkt = nullptr, *ButListkomma = nullptr, *ButListSemi = nullptr,
                 *ButCTKomma = nullptr, *ButCTPunkt = nullptr, *ButUSA = nullptr,
                 *ButDeutsch = nullptr;
    gui::TEdit *EditDeciSep = nullptr, *EditTausiSep = nullptr, *EditListSep = nullptr,
               *EditCTausiSep = nullptr;
    gui::TEdit *EditOSVersion = nullptr, *EditSpeed = nullptr, *EditBuild = nullptr,
               *EditUser = nullptr, *EditPCName = nullptr, *EditWinPath = nullptr,
               *EditWinSysPath = nullptr, *EditScreen = nullptr, *EditTempPath = nullptr;
    gui::TPanel* PanelCountry = nullptr;
    gui::TLabel* LaCountry = nullptr;
    gui::TTimer* Timer = nullptr;

    // The four separators into their labels and code fields, and the convention in force.
    void updatePunktKomma();
    // The operating-system data (blocks half a second for the processor clock, under the wait
    // cursor).
    void updateOS();
    void FormCreate(rtl::TObject* Sender);
    void TimerTimer(rtl::TObject* Sender);

    // Ticks since the system data was last read.
    static int TickCount();
};
