// The limit table window: its contents against limits recomputed here from their definitions,
// the fallback and field-kind check boxes, and the popup menu's save and copy.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/DirectoryUtilsLib.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/WriteFaults.h"
#include "tools/Grenzwerttabelle.h"

namespace {

// ---- The limits, written out again from their definitions --------------------------------

constexpr double Z0 = 376.9911184307752;

struct Band {
    const char* Name;
    double Low, High;
};
const Band Bands[19] = {
    {"LW", 0.1357, 0.1378},  {"MW", 0.472, 0.479},     {"160m", 1.81, 2.0},
    {"80m", 3.5, 3.8},       {"60m", 5.3515, 5.3665},  {"40m", 7.0, 7.2},
    {"30m", 10.1, 10.15},    {"20m", 14.0, 14.35},     {"17m", 18.068, 18.168},
    {"15m", 21.0, 21.45},    {"12m", 24.89, 24.99},    {"10m", 28.0, 29.7},
    {"6m", 50, 51},          {"4m", 70, 70.03},        {"2m", 144, 146},
    {"70cm", 430, 440},      {"23cm", 1240, 1300},     {"13cm", 2320, 2450},
    {"9cm", 3400, 3475},
};

double PsE(double F)
{
    if (F >= 0.003 && F < 1) return 87;
    if (F >= 1 && F < 10) return 87 / std::sqrt(F);
    if (F >= 10 && F < 400) return 27.5;
    if (F >= 400 && F < 2000) return 1.375 * std::sqrt(F);
    if (F >= 2000 && F < 300000) return 61;
    return 0;
}

double PsH(double F)
{
    if (F >= 0.003 && F < 0.15) return 5;
    if (F >= 0.15 && F < 10) return 0.73 / F;
    if (F >= 10 && F < 400) return 0.073;
    if (F >= 400 && F < 2000) return 0.0037 * std::sqrt(F);
    if (F >= 2000 && F < 300000) return 0.16;
    return 0;
}

// C * (f / R)^E on [Lo, Hi) (the last piece of a curve closed); R = 0: the constant C.
struct Piece {
    double Lo, Hi, C, R, E;
};
const std::vector<Piece> Curves[8] = {
    {},
    {{1.85, 14, 0.3, 1.85, 0.94}, {14, 29, 2, 14, -0.95}, {29, 144, 1.0357971, 29, -0.30297},
     {144, 146, 0.6374136, 0, 0}},
    {{1.85, 3.65, 0.4, 1.85, 1.19}, {3.65, 14, 0.9, 3.65, 0.66}, {14, 18, 2.2, 0, 0},
     {18, 25, 2.2, 18, -1.6}, {25, 29, 1.3, 0, 0}, {29, 144, 1.3, 29, -0.30297},
     {144, 146, 0.8, 0, 0}},
    {{0.03, 0.63, 0.059, 0, 0}, {0.63, 0.79, 0.059, 0.63, 1.29}, {0.79, 1, 0.079, 0, 0},
     {1, 1.3, 0.079, 1, 1.084}, {1.3, 1.7, 0.105, 0, 0}, {1.7, 7, 0.105, 1.7, 1.51},
     {7, 22, 0.89, 0, 0}, {22, 79, 0.89, 22, -1.71}, {79, 100, 0.1, 0, 0}},
    {{29, 88, 7.1, 29, -0.052}, {88, 108, 6.7, 0, 0}, {108, 146, 6.7, 108, -0.97}},
    {{79, 144, 0.13, 79, 0.6}, {144, 200, 0.186, 144, 4.4}, {200, 240, 0.789, 200, -4.7},
     {240, 500, 0.335, 0, 0}, {500, 600, 0.335, 500, -3.8}, {600, 1100, 0.168, 600, 0.6}},
    {{850, 1200, 0.358, 0, 0}, {1200, 1800, 0.358, 1200, 5.7}, {1800, 2000, 3.61, 0, 0},
     {2000, 2500, 3.61, 2000, -3}},
    {{850, 1000, 0.299, 0, 0}},
};

double Threshold(double F, int Mode)
{
    const std::vector<Piece>& Curve = Curves[Mode];
    for (std::size_t I = 0; I < Curve.size(); ++I) {
        const Piece& P = Curve[I];
        const bool Last = I + 1 == Curve.size();
        if (F >= P.Lo && (F < P.Hi || (Last && F <= P.Hi)))
            return P.R == 0 ? P.C : P.C * std::pow(F / P.R, P.E);
    }
    return -99;
}

double FieldFromThreshold(double U, double F)
{
    const double A = 0.52, B = 520, AZ = A * Z0;
    double E = -99;
    if (F >= 0.025 && F < 0.3)
        E = (5.33 * U / F) / std::sqrt(std::pow(0.3 / (B * F), 2) + 1 / (AZ * AZ));
    else if (F >= 0.3 && F < 5.33)
        E = (5.33 * U / F) / std::sqrt(1 / (B * B) + 1 / (AZ * AZ));
    else if (F >= 5.33 && F < 16.9)
        E = std::min({B * U * std::pow(5.33 / F, 2.85), AZ * U * std::pow(5.33 / F, 2),
                      AZ * B / std::sqrt(AZ * AZ + B * B) * 5.33 * U / F});
    else if (F >= 16.9 && F < 200)
        E = std::min(19.6 * U, 0.052 * Z0 * U);
    else if (F >= 200 && F < 400)
        E = std::min(19.6 * U, 0.052 * Z0 * U) * std::pow(F / 200, 2.94);
    else if (F >= 400 && F < 1500)
        E = std::min(150 * U, 0.4 * Z0 * U);
    else if (F >= 1500 && F <= 2500)
        E = std::min(150 * U, 0.4 * Z0 * U) * std::pow(F / 1500, 3);
    return E / std::sqrt(2.0);
}

// The least value above 0 over about 801 samples of the band, both edges included; -99 if none.
template <class Fn>
double BandMinimum(int BandNo, Fn Value)
{
    const Band& B = Bands[BandNo - 1];
    const double Step = (B.High - B.Low) / 800;
    double Min = 1e9;
    bool Found = false;
    auto Take = [&](double F) {
        const double V = Value(F);
        if (V < Min && V > 0) {
            Min = V;
            Found = true;
        }
    };
    double F = B.Low;
    do {
        Take(F);
        F += Step;
    } while (F < B.High);
    Take(B.High);
    return Found ? Min : -99;
}

double PsMinimum(int BandNo, bool Magnetic)
{
    return BandMinimum(BandNo, [&](double F) { return Magnetic ? PsH(F) : PsE(F); });
}

double HsmMinimum(int BandNo, int Mode)
{
    if (Mode < 1 || Mode > 7) return -99;
    return BandMinimum(BandNo,
                       [&](double F) { return FieldFromThreshold(Threshold(F, Mode), F); });
}

// The mode whose limit applies: Mode itself, else the next along CW SSB AM TV GSM DTX FM.
int EffectiveMode(int Mode, int BandNo)
{
    auto Has = [&](int M) { return HsmMinimum(BandNo, M) > 0; };
    bool Any = false;
    for (int M = 1; M <= 7; ++M) Any = Any || Has(M);
    if (!Any) return -99;
    if (Has(Mode)) return Mode;
    const int Next[8] = {0, 2, 3, 5, 1, 6, 7, 4};
    for (int M = Next[Mode]; ; M = Next[M])
        if (Has(M)) return M;
}

// ---- Fixture -------------------------------------------------------------------------------

class LimitTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = rtl::FormatSettings();
        rtl::FormatSettings().DecimalSeparator = ',';
        rtl::FormatSettings().ThousandSeparator = '.';
        app = std::make_unique<gui::TApplication>();
        form.reset(gui::CreateForm<TFormGrenzwerttabelle>(nullptr));
    }
    void TearDown() override
    {
        form.reset();
        app.reset();
        rtl::FormatSettings() = saved;
    }

    std::string Cell(int Col, int Row) const { return form->StringGrid1->Cells(Col, Row); }

    rtl::TFormatSettings saved;
    gui::ScriptedPresenter presenter;
    std::unique_ptr<gui::TApplication> app;
    std::unique_ptr<TFormGrenzwerttabelle> form;
};

std::vector<std::string> Lines(const std::string& Text)
{
    std::vector<std::string> L;
    std::istringstream In(Text);
    std::string Line;
    while (std::getline(In, Line)) {
        if (!Line.empty() && Line.back() == '\r') Line.pop_back();
        L.push_back(Line);
    }
    return L;
}

std::string ReadFile(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
}

TEST_F(LimitTable, WindowLayout)
{
    EXPECT_EQ(form->Caption(), "Grenzwerte zur Berechnung der Anzeige nach BEMFV");
    EXPECT_EQ(form->ClientWidth(), 558);
    EXPECT_EQ(form->ClientHeight(), 450);
    EXPECT_EQ(form->BorderStyle(), gui::bsSingle);
    EXPECT_EQ(form->BorderIcons(), gui::biSystemMenu);
    EXPECT_EQ(form->Position(), gui::poScreenCenter);
    gui::TStringGrid* G = form->StringGrid1;
    EXPECT_EQ(G->ColCount(), 8);
    EXPECT_EQ(G->RowCount(), 21);
    EXPECT_EQ(G->FixedRows(), 2);
    EXPECT_EQ(G->FixedCols(), 1);
    EXPECT_EQ(G->ColWidths(7), 64);
    EXPECT_EQ(G->RowHeights(20), 18);
    // The grid and the check boxes lie inside the client area.
    for (gui::TControl* C : {static_cast<gui::TControl*>(G), static_cast<gui::TControl*>(form->CBAutoMode),
                             static_cast<gui::TControl*>(form->CBhFeld)}) {
        EXPECT_GE(C->Left(), 0);
        EXPECT_GE(C->Top(), 0);
        EXPECT_LE(C->Left() + C->Width(), 558);
        EXPECT_LE(C->Top() + C->Height(), 450);
    }
    EXPECT_EQ(form->CBAutoMode->Caption(),
              "Automatisch ungünstigere Betriebsart wählen, falls kein Grenzwert existiert.");
    EXPECT_FALSE(form->CBAutoMode->Checked());
    EXPECT_EQ(form->CBhFeld->Caption(), "mag. Feldstärken");
    EXPECT_FALSE(form->CBhFeld->Checked());
    ASSERT_EQ(form->PopupMenu->Items()->Count(), 2);
    EXPECT_EQ(form->PopupMenu->Items()->Items(0)->Caption(), "Speichern (*.txt)");
    EXPECT_EQ(form->PopupMenu->Items()->Items(1)->Caption(), "Kopieren");
}

TEST_F(LimitTable, AllFourTablesAgreeWithTheLimits)
{
    const int Modes[6] = {1, 2, 3, 4, 5, 6};  // CW SSB AM FM TV GSM
    const char* const Heads[8] = {"Band", "PS", "CW", "SSB", "AM", "FM", "TV", "GSM"};
    for (const bool Magnetic : {false, true}) {
        for (const bool Auto : {false, true}) {
            SCOPED_TRACE(std::string(Magnetic ? "H" : "E") + (Auto ? ", fallback" : ""));
            // Each click refills the table.
            form->CBhFeld->SetChecked(Magnetic);
            form->CBAutoMode->SetChecked(Auto);
            for (int Col = 0; Col < 8; ++Col) EXPECT_EQ(Cell(Col, 0), Heads[Col]);
            EXPECT_EQ(Cell(0, 1), "");
            for (int Col = 1; Col < 8; ++Col) EXPECT_EQ(Cell(Col, 1), Magnetic ? "mA/m" : "V/m");

            for (int B = 1; B <= 19; ++B) {
                SCOPED_TRACE(Bands[B - 1].Name);
                const int Row = B + 1;
                EXPECT_EQ(Cell(0, Row), Bands[B - 1].Name);
                std::vector<double> Expected;
                Expected.push_back(PsMinimum(B, Magnetic) * (Magnetic ? 1000 : 1));
                for (const int M : Modes) {
                    const int Used = Auto ? EffectiveMode(M, B) : M;
                    Expected.push_back(HsmMinimum(B, Used) * (Magnetic ? 1000 / Z0 : 1));
                }
                for (int Col = 1; Col < 8; ++Col) {
                    SCOPED_TRACE(Heads[Col]);
                    const std::string Text = Cell(Col, Row);
                    const double V = Expected[static_cast<std::size_t>(Col - 1)];
                    if (V > 0) {
                        ASSERT_NE(Text, "---");
                        EXPECT_EQ(Text.find('.'), std::string::npos);  // decimal comma
                        EXPECT_NEAR(static_cast<double>(rtl::StrToFloat(Text)), V, 0.0051);
                        EXPECT_GE(Text.size(), 6u);  // "%6.2f"
                    } else {
                        EXPECT_EQ(Text, "---");
                    }
                }
            }
        }
    }
}

TEST_F(LimitTable, FallbackFillsCellsWithoutALimit)
{
    // LW: only AM has thresholds; CW falls back along CW -> SSB -> AM.
    EXPECT_EQ(Cell(2, 2), "---");
    EXPECT_EQ(Cell(4, 2), "244,52");
    form->CBAutoMode->SetChecked(true);
    EXPECT_EQ(Cell(2, 2), "244,52");
    EXPECT_EQ(Cell(7, 2), "244,52");
    // 9cm: no mode has a threshold above 2500 MHz, so nothing to fall back to.
    for (int Col = 2; Col < 8; ++Col) EXPECT_EQ(Cell(Col, 20), "---");
    EXPECT_EQ(Cell(1, 20), " 61,00");

    // The magnetic person-protection value is the electric one's A/m times 1000.
    form->CBhFeld->SetChecked(true);
    EXPECT_EQ(Cell(1, 2), "5000,00");
    EXPECT_EQ(Cell(1, 20), "160,00");
}

TEST_F(LimitTable, SaveWritesThePaddedTable)
{
    char Pattern[] = "/tmp/feldor-limits-XXXXXX";
    const std::string Dir = mkdtemp(Pattern);
    const std::string Path = Dir + "/grenzwerte.txt";

    gui::FileDialogResult Answer;
    Answer.accepted = true;
    Answer.files = {Path};
    Answer.filterIndex = 2;
    presenter.fileAnswers.push_back(Answer);
    form->PMISave->Click();

    ASSERT_EQ(presenter.fileDialogs.size(), 1u);
    const gui::FileDialogRequest& Req = presenter.fileDialogs[0];
    EXPECT_EQ(Req.kind, gui::FileDialogRequest::Kind::Save);
    EXPECT_EQ(Req.filter, "Alle Dateien (*.*)|*.*|TextDateien (*.txt)|*.txt");
    EXPECT_EQ(Req.filterIndex, 2);
    EXPECT_EQ(Req.defaultExt, "txt");
    EXPECT_EQ(std::filesystem::path(Req.fileName).filename(), "Grenzwerte Export.txt");
    EXPECT_EQ(Req.fileName, GetDeskTopDir() + "Grenzwerte Export.txt");

    const std::string Text = ReadFile(Path);
    const std::vector<std::string> L = Lines(Text);
    ASSERT_EQ(L.size(), 21u);
    EXPECT_EQ(L[0], "     Band ;       PS ;       CW ;      SSB ;       AM ;       FM ;       TV ;      GSM ;");
    EXPECT_EQ(L[1], "          ;      V/m ;      V/m ;      V/m ;      V/m ;      V/m ;      V/m ;      V/m ;");
    EXPECT_EQ(L[2], "       LW ;    87,00 ;      --- ;      --- ;   244,52 ;      --- ;      --- ;      --- ;");
    EXPECT_EQ(L[20].substr(0, 11), "      9cm ;");
    EXPECT_NE(Text.find("\r\n"), std::string::npos);

    // Cancelled: nothing is written.
    std::filesystem::remove(Path);
    form->PMISave->Click();
    EXPECT_EQ(presenter.fileDialogs.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(Path));
    std::filesystem::remove_all(Dir);
}

// The saved table keeps an old file whole when it cannot be written, and the box says why.
TEST_F(LimitTable, SaveThatCannotBeWrittenKeepsTheOldFile)
{
    char Pattern[] = "/tmp/feldor-limits-XXXXXX";
    const std::string Dir = mkdtemp(Pattern);
    writefaults::FileKind Kind{
        .name = "limit table",
        .chosen = "Grenzwerte Export.txt",
        .save = [&](const std::string& File) {
            gui::FileDialogResult Answer;
            Answer.accepted = true;
            Answer.files = {File};
            Answer.filterIndex = 2;
            presenter.fileAnswers.push_back(Answer);
            const std::size_t First = presenter.boxes.size();
            gui::InvokeHandler(form.get(), [&] { form->PMISave->Click(); });
            return presenter.boxes.size() > First ? presenter.boxes.back().text : std::string();
        }};
    writefaults::CheckWriteFaults(Kind, Dir + "/faults");
    std::filesystem::remove_all(Dir);
}

TEST_F(LimitTable, CopyPutsTabSeparatedRowsOnTheClipboard)
{
    gui::Clipboard()->SetAsText("old");
    form->PMICopy->Click();
    const std::vector<std::string> L = Lines(gui::Clipboard()->AsText());
    ASSERT_EQ(L.size(), 21u);
    EXPECT_EQ(L[0], "Band\tPS\tCW\tSSB\tAM\tFM\tTV\tGSM");
    EXPECT_EQ(L[1], "\tV/m\tV/m\tV/m\tV/m\tV/m\tV/m\tV/m");
    EXPECT_EQ(L[2], "LW\t 87,00\t---\t---\t244,52\t---\t---\t---");
}

}  // namespace
