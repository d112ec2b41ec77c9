#include "tools/DecimalSeperator.h"

#include <functional>
#include <memory>

#include "components/controls/kitsysinfo.h"
#include "foundation/DateTimeLib.h"
#include "foundation/FormatLib.h"
#include "foundation/StrUtilsLib.h"
#include "platform/gui/Controls.h"
#include "tools/SysLib.h"

namespace {

const gdi::TColor clLightGrey = 0xE0E0E0;
const gdi::TColor clNone = 0x00FFFF;     // yellow: neither convention
const gdi::TColor clGerman = 0x83E2AB;
const gdi::TColor clEnglish = 0x7E82FE;

// The unit's tick counter of the timer.
int Ticks = 0;

gui::TGroupBox* MakeGroup(gui::TForm* form, const char* caption, int left, int top, int width,
                          int height) {
    auto* g = new gui::TGroupBox(form);
    g->SetParent(form);
    g->SetCaption(caption);
    g->SetBounds(left, top, width, height);
    return g;
}

gui::TButton* MakeButton(gui::TWinControl* parent, const char* name, const char* caption,
                         int left, int top, int width, std::function<void()> action) {
    auto* b = new gui::TButton(parent->Owner());
    b->SetName(name);
    b->SetParent(parent);
    b->SetCaption(caption);
    b->SetBounds(left, top, width, 25);
    b->OnClick = [action](rtl::TObject*) { action(); };
    return b;
}

gui::TEdit* MakeReadOnly(gui::TWinControl* parent, const char* name, int left, int top, int width) {
    auto* e = new gui::TEdit(parent->Owner());
    e->SetName(name);
    e->SetParent(parent);
    e->SetBounds(left, top, width, 23);
    e->SetReadOnly(true);
    e->SetTabStop(false);
    return e;
}

// One separator group: the character label, two buttons and the code field.
struct SeparatorRow {
    gui::TLabel* label;
    gui::TButton* first;
    gui::TButton* second;
    gui::TEdit* code;
};

SeparatorRow MakeSeparatorGroup(gui::TForm* form, const char* caption, int top,
                                const char* labelName, const char* firstName,
                                const char* firstCaption, std::function<void()> firstAction,
                                const char* secondName, const char* secondCaption,
                                std::function<void()> secondAction, const char* codeName) {
    gui::TGroupBox* g = MakeGroup(form, caption, 8, top, 248, 56);
    auto* l = new gui::TLabel(form);
    l->SetName(labelName);
    l->SetParent(g);
    l->SetTransparent(true);
    l->Font()->SetHeight(-16);
    l->Font()->SetStyle(gdi::fsBold);
    l->SetBounds(14, 22, 16, 20);
    SeparatorRow row;
    row.label = l;
    row.first = MakeButton(g, firstName, firstCaption, 36, 20, 64, std::move(firstAction));
    row.second = MakeButton(g, secondName, secondCaption, 106, 20, 64, std::move(secondAction));
    row.code = MakeReadOnly(g, codeName, 184, 21, 48);
    row.code->SetColor(clLightGrey);
    row.code->SetHint("ASCii-Code des aktuellen Trennzeichens");
    row.code->SetAlignment(gui::taCenter);
    return row;
}

}  // namespace

int TFormDecimalSeperator::TickCount() { return Ticks; }

TFormDecimalSeperator::TFormDecimalSeperator(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormDecimalSeperator");
    SetCaption("Dezimaltrennzeichen");
    SetBorderIcons(gui::biSystemMenu);
    SetPosition(gui::poScreenCenter);
    SetClientWidth(576);
    SetClientHeight(330);

    auto d = MakeSeparatorGroup(
        this, "Dezimal Separator", 8, "LABDeciSep", "BUTKomma", "Komma",
        [this] { SetDecimalSeparator(','); updatePunktKomma(); }, "BUTPUNKT", "Punkt",
        [this] { SetDecimalSeparator('.'); updatePunktKomma(); }, "EditDeciSep");
    LABDeciSep = d.label, BUTKomma = d.first, BUTPUNKT = d.second, EditDeciSep = d.code;
    auto t = MakeSeparatorGroup(
        this, "Tausender Sep.", 70, "LABTausiSep", "ButTKomma", "Komma",
        [this] { SetThousandSeparator(','); updatePunktKomma(); }, "ButTPunkt", "Punkt",
        [this] { SetThousandSeparator('.'); updatePunktKomma(); }, "EditTausiSep");
    LABTausiSep = t.label, ButTKomma = t.first, ButTPunkt = t.second, EditTausiSep = t.code;
    auto l = MakeSeparatorGroup(
        this, "Listentrennzeichen", 132, "LabListSep", "ButListkomma", "Komma",
        [this] { SetListSeparator(','); updatePunktKomma(); }, "ButListSemi", "Semi",
        [this] { SetListSeparator(';'); updatePunktKomma(); }, "EditListSep");
    LabListSep = l.label, ButListkomma = l.first, ButListSemi = l.second, EditListSep = l.code;
    auto c = MakeSeparatorGroup(
        this, "Währungs Tausi-S.", 194, "LabCTausiSep", "ButCTKomma", "Komma",
        [this] { SetMonThousandSeparator(','); updatePunktKomma(); }, "ButCTPunkt", "Punkt",
        [this] { SetMonThousandSeparator('.'); updatePunktKomma(); }, "EditCTausiSep");
    LabCTausiSep = c.label, ButCTKomma = c.first, ButCTPunkt = c.second, EditCTausiSep = c.code;

    gui::TGroupBox* std = MakeGroup(this, "Standardeinstellungen", 8, 256, 248, 66);
    ButUSA = MakeButton(std, "ButUSA", "USA", 12, 22, 72,
                        [this] { SetEnglishNumberFormat(); updatePunktKomma(); });
    ButUSA->SetHint("Komma als Tausender-Trennzeichen\nPunkt als Dezimal-Trennzeichen.");
    ButDeutsch = MakeButton(std, "ButDeutsch", "Deutschland", 90, 22, 84,
                            [this] { SetGermanNumberFormat(); updatePunktKomma(); });
    ButDeutsch->SetHint("Punkt als Tausender-Trennzeichen\nKomma als Dezimal-Trennzeichen.");
    PanelCountry = new gui::TPanel(this);
    PanelCountry->SetParent(std);
    PanelCountry->SetBevelOuter(gui::bvLowered);
    PanelCountry->SetBounds(182, 18, 56, 34);
    LaCountry = new gui::TLabel(this);
    LaCountry->SetName("LaCountry");
    LaCountry->SetParent(PanelCountry);
    LaCountry->SetAutoSize(false);
    LaCountry->SetAlignment(gui::taCenter);
    LaCountry->SetLayout(gui::tlCenter);
    LaCountry->Font()->SetName("Arial");
    LaCountry->Font()->SetHeight(-16);
    LaCountry->Font()->SetStyle(gdi::fsBold);
    LaCountry->SetAlign(gui::alClient);

    gui::TGroupBox* os = MakeGroup(this, "Betriebssystem", 264, 8, 304, 314);
    os->SetHint("Zeigt Informationen und\nEinstellungen des Betriebssystems");
    const char* captions[] = {"Version", "CPU-Speed", "OSLang.",   "Benutzer", "PC Name",
                              "WinPath", "SysPath",   "Screen",    "TempPath"};
    const char* names[] = {"EditOSVersion", "EditSpeed",      "EditBuild",
                           "EditUser",      "EditPCName",     "EditWinPath",
                           "EditWinSysPath", "EditScreen",    "EditTempPath"};
    gui::TEdit** fields[] = {&EditOSVersion, &EditSpeed,      &EditBuild,
                             &EditUser,      &EditPCName,     &EditWinPath,
                             &EditWinSysPath, &EditScreen,    &EditTempPath};
    for (int i = 0; i < 9; ++i) {
        const int top = 24 + i * 31;
        auto* caption = new gui::TLabel(this);
        caption->SetParent(os);
        caption->SetTransparent(true);
        caption->SetAutoSize(false);
        caption->SetAlignment(gui::taRightJustify);
        caption->SetCaption(captions[i]);
        caption->SetBounds(8, top + 4, 60, 16);
        *fields[i] = MakeReadOnly(os, names[i], 74, top, 220);
    }

    Timer = new gui::TTimer(this);
    Timer->SetInterval(1000);
    Timer->OnTimer = [this](rtl::TObject* s) { TimerTimer(s); };

    OnCreate = [this](rtl::TObject* s) { FormCreate(s); };
}

void TFormDecimalSeperator::updatePunktKomma() {
    const struct {
        char sep;
        gui::TEdit* code;
        gui::TLabel* label;
    } rows[] = {{GetDecimalSep(), EditDeciSep, LABDeciSep},
                {GetThousandSep(), EditTausiSep, LABTausiSep},
                {GetListSep(), EditListSep, LabListSep},
                {GetCThousandSep(), EditCTausiSep, LabCTausiSep}};
    for (const auto& r : rows) {
        r.code->SetText(ByteStr(static_cast<unsigned char>(r.sep)));
        r.label->SetCaption(r.sep ? std::string(1, r.sep) : std::string());
    }
    LaCountry->SetColor(clNone);
    LaCountry->SetCaption("None");
    if (IsGermanNumberFormat()) {
        LaCountry->SetColor(clGerman);
        LaCountry->SetCaption("DL");
    }
    if (IsEnglishNumberFormat()) {
        LaCountry->SetColor(clEnglish);
        LaCountry->SetCaption("US");
    }
}

void TFormDecimalSeperator::updateOS() {
    gui::TWaitCursor wait;  // the processor's clock takes half a second
    auto info = std::make_unique<kit::TKitSysInfo>(nullptr);
    EditOSVersion->SetText(GetWinVersion());
    EditSpeed->SetText(FormatDouble("%8.3f MHz", GetCPUSpeed()));
    EditBuild->SetText(GetOSLanguage());
    EditUser->SetText(info->CurrentUser());
    EditPCName->SetText(info->Computername());
    EditWinPath->SetText(info->WinPath());
    EditWinSysPath->SetText(info->WinSysPath());
    EditScreen->SetText(std::to_string(info->ScreenWidth()) + "x" +
                        std::to_string(info->ScreenHeight()));
    EditTempPath->SetText(info->TempPath());
}

void TFormDecimalSeperator::FormCreate(rtl::TObject*) {
    const std::string title = gui::Application ? gui::Application->Title() : std::string();
    SetCaption(title + " " + "v1.0" + " " + "© " + NowYearString() + " RAVK");
    updatePunktKomma();
    updateOS();
    Ticks = 0;
}

void TFormDecimalSeperator::TimerTimer(rtl::TObject*) {
    updatePunktKomma();
    if (++Ticks == 10) {
        updateOS();
        Ticks = 0;
    }
}
