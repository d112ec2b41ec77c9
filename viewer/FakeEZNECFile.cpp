#include "viewer/FakeEZNECFile.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "foundation/DateTimeLib.h"
#include "foundation/DebugLib.h"
#include "foundation/DirectoryUtilsLib.h"
#include "foundation/FormatLib.h"
#include "foundation/StrUtilsLib.h"
#include "platform/rtl/FileReplace.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Set on every "Erzeugen": the header's frequency (MHz) and power (W), the maximum field value
// and its position, the antenna description, date and time.
double Frequenz = 0;
double Leistung = 0;
double MaxFeld = 0;
double MaxX = 0, MaxY = 0, MaxZ = 0;
std::string Antenne;
std::string Datum, Zeit;

// 120 pi: the magnetic values are the electric ones divided by the free-space impedance.
constexpr double Z0 = 120 * std::numbers::pi;

constexpr const char* kTitleLine = "                      EZNEC+ ver. 4.0";
constexpr const char* kBannerLine =
    "         --------------- NEAR-FIELD PATTERN DATA ---------------";
constexpr const char* kColumnsE =
    "X (m)      Y (m)      Z (m)       Ex Mag     Ey Mag     Ez Mag     Etot";
constexpr const char* kColumnsH =
    "X (m)      Y (m)      Z (m)       Hx Mag     Hy Mag     Hz Mag     Htot";
// Data columns: x, y, z and the x, y, z components and the total, 11 characters apart.
constexpr int kColumnWidth = 11;

// An edit's number: the conversion error for text that is no number, also for a value
// beyond the range of a double.
double EditNumber(const gui::TEdit* Edit) {
    const std::string S = Edit->Text();
    const double V = static_cast<double>(rtl::StrToFloat(S));
    if (!std::isfinite(V)) throw rtl::EConvertError(rtl::Format(rtl::msg::InvalidFloat, S));
    return V;
}

// The values of one axis as the generator runs them: the start first, then one step after the
// other until the value passes Stop. False when that takes more than Max values, or when a step
// no longer changes the value (the axis would never end).
bool AxisValues(double Start, double Stop, double Step, long long Max, std::vector<double>& Out) {
    Out.clear();
    double V = Start;
    for (;;) {
        if (static_cast<long long>(Out.size()) >= Max) return false;
        Out.push_back(V);
        const double Next = V + Step;
        if (Next > Stop) return true;
        if (!(Next > V)) return false;
        V = Next;
    }
}

std::string Fixed(double V) { return rtl::Format("%8.5f", V); }

// Item after item at multiples of kColumnWidth; an item that reaches the next column still gets
// one blank before it, so that the numbers stay apart.
void AppendDataLine(std::string& Text, const std::string* const Items[7]) {
    const std::size_t Begin = Text.size();
    for (int I = 0; I < 7; ++I) {
        const std::size_t Len = Text.size() - Begin;
        const std::size_t Col = static_cast<std::size_t>(I * kColumnWidth);
        if (Len < Col) {
            Text.append(Col - Len, ' ');
        } else if (I > 0) {
            Text += ' ';
        }
        Text += *Items[I];
    }
    Text += "\r\n";
}

template <class T>
T* Place(T* Control, gui::TWinControl* Parent, int Left, int Top, int Width, int Height) {
    Control->SetParent(Parent);
    Control->SetBounds(Left, Top, Width, Height);
    return Control;
}

gui::TLabel* MakeLabel(gui::TForm* Form, gui::TWinControl* Parent, const std::string& Caption,
                       int Left, int Top) {
    auto* L = new gui::TLabel(Form);
    L->SetCaption(Caption);
    L->SetParent(Parent);
    L->SetLeft(Left);
    L->SetTop(Top);
    return L;
}

gui::TEdit* MakeEdit(gui::TForm* Form, gui::TWinControl* Parent, const std::string& Text,
                     int Left, int Top, int Width) {
    auto* E = Place(new gui::TEdit(Form), Parent, Left, Top, Width, 21);
    E->SetText(Text);
    return E;
}

}  // namespace

TFormFakeEZNECFile::TFormFakeEZNECFile(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormFakeEZNECFile");
    SetCaption("Erzeuge Fake-EZNEC Files");
    SetBorderStyle(gui::bsSingle);
    SetBorderIcons(gui::biSystemMenu);
    SetLeft(100);
    SetTop(100);
    SetClientWidth(592);
    SetClientHeight(347);

    GBKoordinaten = Place(new gui::TGroupBox(this), this, 8, 8, 265, 121);
    GBKoordinaten->SetCaption("Koordinaten");
    MakeLabel(this, GBKoordinaten, "Start", 32, 18);
    MakeLabel(this, GBKoordinaten, "Stop", 112, 18);
    MakeLabel(this, GBKoordinaten, "Step", 192, 18);
    MakeLabel(this, GBKoordinaten, "X", 12, 39);
    MakeLabel(this, GBKoordinaten, "Y", 12, 67);
    MakeLabel(this, GBKoordinaten, "Z", 12, 95);
    EditStartX = MakeEdit(this, GBKoordinaten, "-10", 32, 36, 73);
    EditStopX = MakeEdit(this, GBKoordinaten, "10", 112, 36, 73);
    EditStepX = MakeEdit(this, GBKoordinaten, "5", 192, 36, 65);
    EditStartY = MakeEdit(this, GBKoordinaten, "-10", 32, 64, 73);
    EditStopY = MakeEdit(this, GBKoordinaten, "10", 112, 64, 73);
    EditStepY = MakeEdit(this, GBKoordinaten, "5", 192, 64, 65);
    EditStartZ = MakeEdit(this, GBKoordinaten, "2", 32, 92, 73);
    EditStopZ = MakeEdit(this, GBKoordinaten, "12", 112, 92, 73);
    EditStepZ = MakeEdit(this, GBKoordinaten, "5", 192, 92, 65);

    RGFeldTyp = Place(new gui::TRadioGroup(this), this, 284, 8, 105, 65);
    RGFeldTyp->SetCaption("FeldTyp");
    RGFeldTyp->Items()->Add("E-Feld");
    RGFeldTyp->Items()->Add("H-Feld");
    RGFeldTyp->SetItemIndex(0);

    MakeLabel(this, this, "Leistung [W]", 400, 12);
    EditLeistung = MakeEdit(this, this, "100", 400, 28, 81);
    MakeLabel(this, this, "Frequenz [MHz]", 496, 12);
    EditFrequenz = MakeEdit(this, this, "7,05", 496, 28, 88);

    ButErzeugen = Place(new gui::TButton(this), this, 400, 64, 81, 25);
    ButErzeugen->SetCaption("Erzeugen");
    ButErzeugen->OnClick = [this](rtl::TObject* S) { ButErzeugenClick(S); };
    ButSave = Place(new gui::TButton(this), this, 496, 64, 88, 25);
    ButSave->SetCaption("Speichern");
    ButSave->OnClick = [this](rtl::TObject* S) { ButSaveClick(S); };

    Memo = Place(new gui::TMemo(this), this, 8, 136, 576, 203);
    Memo->Font()->SetName("Courier New");
    Memo->SetScrollBars(gui::ssVertical);
    Memo->SetWordWrap(false);

    SaveDialog = new gui::TSaveDialog(this);

    OnCreate = [this](rtl::TObject* S) { FormCreate(S); };
}

void TFormFakeEZNECFile::FormCreate(rtl::TObject*) { InitialDir = GetDeskTopDir(); }

void TFormFakeEZNECFile::ButErzeugenClick(rtl::TObject*) {
    const bool Electric = RGFeldTyp->ItemIndex() == 0;

    const std::string FreqText = EditFrequenz->Text();
    if (!IsFloatString(FreqText)) {
        msgWarning("Frequenz muss eine Gleitkommezahl sein!");
        return;
    }
    const double Freq = EditNumber(EditFrequenz);
    if (!IsFloatString(EditLeistung->Text())) {
        msgWarning("Leistung muss eine Gleikommazahl sein!");
        return;
    }
    const double Power = EditNumber(EditLeistung);

    Frequenz = Freq;
    Leistung = Power;
    MaxFeld = 100;
    MaxX = MaxY = MaxZ = 1;
    Antenne = "40m-Dipol";
    Datum = NowDateString();
    Zeit = NowTimeString();

    struct Axis {
        const char* Name;
        double Start, Stop, Step;
        std::vector<double> Values;
    } Axes[3] = {
        {"X", EditNumber(EditStartX), EditNumber(EditStopX), EditNumber(EditStepX), {}},
        {"Y", EditNumber(EditStartY), EditNumber(EditStopY), EditNumber(EditStepY), {}},
        {"Z", EditNumber(EditStartZ), EditNumber(EditStopZ), EditNumber(EditStepZ), {}},
    };
    for (const Axis& A : Axes) {
        if (!(A.Step > 0)) {
            msgWarning(
                rtl::Format("Die Schrittweite (Step) für %s muss größer als 0 sein!", A.Name));
            return;
        }
    }
    const std::string TooLarge = rtl::Format(
        "Das Gitter ergibt mehr als %d Datenzeilen! Bitte Start, Stop oder Step ändern.",
        static_cast<long long>(MaxDataLines));
    long long Lines = 1;
    for (Axis& A : Axes) {
        if (!AxisValues(A.Start, A.Stop, A.Step, MaxDataLines, A.Values) ||
            (Lines *= static_cast<long long>(A.Values.size())) > MaxDataLines) {
            msgWarning(TooLarge);
            return;
        }
    }

    // Header.
    std::string Text;
    auto Add = [&Text](const std::string& Line) {
        Text += Line;
        Text += "\r\n";
    };
    LongIntArray HeadCols{0, 40, 52};
    StringArray HeadItems{Antenne, Datum, Zeit};
    Add(kTitleLine);
    Add("");
    Add(ColumnLine(HeadCols, HeadItems));
    Add("");
    Add(kBannerLine);
    Add("");
    Add(rtl::Format("Frequency = %4.2f MHz", Frequenz));
    Add(rtl::Format("Power = %1.0f watts", Leistung));
    Add(rtl::Format(Electric ? "Max field = %6.4f V/m RMS" : "Max field = %6.4f A/m RMS", MaxFeld));
    Add(rtl::Format(" at X,Y,Z = %1.0f, %1.0f, %1.0f m", MaxX, MaxY, MaxZ));
    Add("");
    Add(Electric ? "Electric (E) Field (V/m RMS)" : "Magnetic (H) Field (A/m RMS)");
    Add("");
    Add(Electric ? kColumnsE : kColumnsH);

    // Data: x fastest, z slowest; a constant field along z.
    const double Scale = Electric ? 1.0 : 1.0 / Z0;
    const std::string Field[4] = {Fixed(0 * Scale), Fixed(0 * Scale), Fixed(1 * Scale),
                                  Fixed(1 * Scale)};
    std::vector<std::string> Texts[3];
    for (int K = 0; K < 3; ++K) {
        Texts[K].reserve(Axes[K].Values.size());
        for (double V : Axes[K].Values) Texts[K].push_back(Fixed(V));
    }
    Text.reserve(Text.size() + static_cast<std::size_t>(Lines) * 80);
    for (const std::string& Z : Texts[2]) {
        for (const std::string& Y : Texts[1]) {
            for (const std::string& X : Texts[0]) {
                const std::string* const Items[7] = {&X, &Y, &Z, &Field[0],
                                                     &Field[1], &Field[2], &Field[3]};
                AppendDataLine(Text, Items);
            }
        }
    }
    Memo->SetText(Text);
}

void TFormFakeEZNECFile::ButSaveClick(rtl::TObject*) {
    SaveDialog->DefaultExt = "txt";
    SaveDialog->Filter = "Alle Dateien (*.*)|*.*|TextDateien (*.txt)|*.txt";
    SaveDialog->InitialDir = InitialDir;
    SaveDialog->FileName = RGFeldTyp->ItemIndex() == 0 ? "E.txt" : "H.txt";
    if (SaveDialog->Execute()) rtl::SaveFileReplacing(SaveDialog->FileName, Memo->Lines()->Text());
}
