#include "radio/CableLib.h"

#include <cmath>

#include "foundation/ArrayLib.h"
#include "foundation/cStrings.h"
#include "foundation/DebugLib.h"
#include "foundation/MathLib.h"
#include "platform/rtl/SysUtils.h"

namespace {

using Ext = long double;

constexpr int CableCount = 20;
constexpr int ColumnCount = 17;

constexpr double CableFreq[ColumnCount] = {0.1, 0.2, 0.5, 1,    2,    5,    10,    20,   50,
                                           100, 200, 500, 1000, 2000, 5000, 10000, 20000};

struct CableRow {
    const char* Name;
    double A[ColumnCount];  // dB per 100 m at CableFreq
};

constexpr CableRow Cables[CableCount] = {
    {"Aircom plus",
     {0.22, 0.24, 0.3, 0.4, 0.6, 1.1, 1.9, 2.2, 2.7, 3.3, 5.3, 9, 12.5, 20.7, 34.1, 56.4333,
      101.1}},
    {"Aircell 7",
     {0.21, 0.23, 0.29, 0.39, 0.59, 1, 1.5, 2.4, 4, 6, 9, 15.5, 24.5, 37, 57, 90.3333, 157}},
    {"H100",
     {0.234, 0.248, 0.29, 0.36, 0.5, 0.83, 1.3, 1.75, 2.9, 4.18, 6.05, 10, 14.95, 22, 31.5,
      47.3333, 79}},
    {"H2000",
     {0.186, 0.202, 0.25, 0.33, 0.49, 0.78, 1.2, 1.7, 2.8, 3.9, 5.6, 9, 13, 19, 21, 24.3333,
      31}},
    {"RG58",
     {0.871, 0.932, 1.115, 1.42, 2.03, 3.25, 4.7, 6.7, 10.5, 15, 21.9, 36.3, 54.5, 83.4, 144.7,
      246.8667, 451.2}},
    {"RG174",
     {1.69, 1.8, 2.13, 2.68, 3.78, 6.03, 8.8, 12.4, 19.5, 27.5, 39.6, 64.4, 94.1, 139, 232.9,
      389.4, 702.4}},
    {"RG213",
     {0.344, 0.368, 0.44, 0.56, 0.8, 1.28, 1.86, 2.66, 4.23, 6.12, 9.18, 16.17, 25.9, 42.3,
      79.7, 142.0333, 266.7}},
    {"RG220",
     {0.106, 0.112, 0.13, 0.16, 0.22, 0.38, 0.56, 0.83, 1.4, 2.18, 3.2, 5.5, 8.3, 12.5, 17,
      24.5, 39.5}},
    {"EcoFlex 10",
     {0.215, 0.23, 0.275, 0.35, 0.5, 0.8, 1.2, 1.73, 2.85, 4, 5.8, 9.8, 14.2, 21.2, 38, 66,
      122}},
    {"EcoFlex 15",
     {0.21, 0.22, 0.25, 0.3, 0.4, 0.6, 0.86, 1.38, 1.96, 2.81, 4.05, 6.7, 9.8, 14.7, 25.7,
      44.0333, 80.7}},
    {"RG218",
     {0.0055, 0.011, 0.0276, 0.0551, 0.1103, 0.2758, 0.5515, 1.103, 1.7634, 2.864, 3.7681,
      6.4804, 11.001, 20.0421, 47.1654, 92.371, 182.7821}},
    {"RG217",
     {0.0086, 0.0171, 0.0428, 0.0857, 0.1713, 0.4283, 0.8565, 1.713, 2.7803, 4.559, 6.0958,
      10.7061, 18.39, 25.7736, 47.9244, 84.8424, 158.6784}},
    {"RG214",
     {0.0142, 0.0284, 0.0709, 0.1418, 0.2836, 0.709, 1.418, 2.836, 4.4939, 7.257, 9.5481,
      16.4214, 27.877, 38.664, 71.025, 124.96, 232.83}},
    {"RG212",
     {0.0212, 0.0424, 0.1059, 0.2118, 0.4236, 1.059, 2.118, 4.236, 6.5756, 10.475, 13.4656,
      22.4372, 37.39, 50.3054, 89.0516, 153.6286, 282.7826}},
    {"RG11",
     {0.0133, 0.0266, 0.0665, 0.1331, 0.2661, 0.6653, 1.3305, 2.661, 4.2847, 6.991, 9.0924,
      15.3968, 25.904, 46.9184, 109.9618, 215.034, 425.1784}},
    {"RG59",
     {0.023, 0.046, 0.1151, 0.2302, 0.4604, 1.151, 2.302, 4.604, 7.0029, 11.001, 14.0361,
      23.1414, 38.317, 68.6681, 159.7214, 311.477, 614.9881}},
    {"RG400",
     {0.0326, 0.0652, 0.163, 0.326, 0.6519, 1.6298, 3.2595, 6.519, 9.99, 15.775, 21.8758,
      40.1781, 70.682, 86.4686, 133.8284, 212.7614, 370.6274}},
    {"RG142",
     {0.0309, 0.0618, 0.1545, 0.309, 0.6179, 1.5448, 3.0895, 6.179, 9.3211, 14.558, 18.6354,
      30.8678, 51.255, 68.6168, 120.7022, 207.5112, 381.1292}},
    {"H155",
     {0.26, 0.37, 0.59, 0.85, 1.22, 1.97, 2.83, 4.06, 6.56, 9.41, 13.51, 21.8, 31.3, 44.93,
      72.47, 104.05, 149.39}},
    {"RG213Foam",
     {0.07, 0.1, 0.17, 0.26, 0.39, 0.67, 1, 1.51, 2.58, 3.88, 5.84, 10.01, 15.06, 22.64, 38.82,
      58.37, 87.77}},
};

// Connector table as semicolon lists with comma decimals: frequencies in MHz, then the loss in
// dB of "BNC", "N" (also used for "SMA") and "PL".
const char* const ConnectorFreqList =
    " 1,8; 3,6; 7,0;  10;  14;  18;  21;24,5;  28;  50; 100; 144; 435;1296;2300;3400;5600";
const char* const ConnectorBncList =
    " 0,1; 0,1; 0,1; 0,1; 0,1; 0,1; 0,1; 0,1; 0,1; 0,1; 0,1;0,14; 0,2; 0,5; 0,7; 0,7; 0,7";
const char* const ConnectorNList =
    " 0,1; 0,1; 0,1; 0,1; 0,1; 0,1; 0,1; 0,1; 0,1; 0,1; 0,1;0,14;0,15;0,25;0,35;0,35;0,35";
const char* const ConnectorPlList =
    " 0,3; 0,3; 0,3; 0,3; 0,3; 0,3; 0,3; 0,3; 0,3; 0,3; 0,6;0,75;1,25; 2,3; 3,2; 3,2; 3,2";

// The lists are written with ',' as decimal separator, whatever the user's locale says.
DoubleArray CommaList(const char* List)
{
    rtl::TFormatSettings Comma;
    Comma.DecimalSeparator = ',';
    DoubleArray A;
    for (const std::string& Piece : StrSplitChar(List, ';'))
        AppendDouble(A, static_cast<double>(rtl::StrToFloat(Piece, Comma)));
    return A;
}

}  // namespace

double CableAtt(int16_t CableIdx, double FreqMHz)
{
    if (CableIdx < 1 || CableIdx > CableCount) return NoValue;
    if (!InClosedRange(FreqMHz, CableFreq[0], CableFreq[ColumnCount - 1])) return NoValue;
    const double* A = Cables[CableIdx - 1].A;
    const double* F = CableFreq;

    // Half-open intervals, except the last one, which holds its upper end as well.
    int K = 0;
    for (int I = 1; I < ColumnCount; ++I) {
        const bool Inside = I < ColumnCount - 1 ? InHalfOpenRange(FreqMHz, F[I - 1], F[I])
                                                : InClosedRange(FreqMHz, F[I - 1], F[I]);
        if (Inside) K = I;
    }
    if (K == 0) return NoValue;

    const Ext LgF = Log10OrSentinel(FreqMHz);
    const Ext Lg0 = Log10OrSentinel(F[K - 1]);
    const Ext Lg1 = Log10OrSentinel(F[K]);
    const Ext Lo = A[K - 1];
    const Ext Hi = A[K];
    return static_cast<double>(Lo + (Hi - Lo) * (LgF - Lg0) / (Lg1 - Lg0));
}

std::string CableName(int16_t Index)
{
    if (Index < 1 || Index > CableCount) return "NV";
    return Cables[Index - 1].Name;
}

double ConnectorAtt(uint16_t ConnectorIdx, double FreqMHz)
{
    // Converted on every call: nothing is cached.
    const DoubleArray F = CommaList(ConnectorFreqList);
    const DoubleArray Bnc = CommaList(ConnectorBncList);
    const DoubleArray N = CommaList(ConnectorNList);
    const DoubleArray Pl = CommaList(ConnectorPlList);
    const DoubleArray Sma = CommaList(ConnectorNList);

    const int Last = F.High();
    int J = 0;
    for (int I = 0; I <= Last; ++I)
        if (F[I] < FreqMHz) J = I;
    if (J == Last) {
        msgWarning("Warnung (ConnectorAtt): Brauchbare Aussagen über Dämpfung von Konnektoren "
                   "sind bei Frequenzen über 5 GHz nicht möglich!");
        return NoValue;
    }

    const DoubleArray* Table = nullptr;
    switch (ConnectorIdx) {
        case 0: Table = &Bnc; break;
        case 1: Table = &N; break;
        case 2: Table = &Pl; break;
        case 3: Table = &Sma; break;
        default:
            msgWarning("Warnung (ConnectorAtt): ConnectorIDX nicht zwischen 0 und 3!");
            return NoValue;
    }
    const Ext T = (static_cast<Ext>(FreqMHz) - F[J]) / (static_cast<Ext>(F[J + 1]) - F[J]);
    const Ext Lo = (*Table)[J];
    const Ext Hi = (*Table)[J + 1];
    return static_cast<double>(Lo + (Hi - Lo) * T);
}

std::string ConnectorName(uint16_t Index)
{
    switch (Index) {
        case 1: return "BNC";
        case 2: return "N";
        case 3: return "PL";
        case 4: return "SMA";
        default: return "NV";
    }
}
