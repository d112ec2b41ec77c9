// Unit AfuLib: the 27 amateur bands (names and closed band edges in MHz), the operating modes,
// lookups between names, indices and frequencies, and the rescaling of a field strength from
// one transmitter power to another. Pure functions without state; nothing raises.
//
// Results that do not exist are -99 (NoValue); callers test for a value greater than 0.
#pragma once

#include <cstdint>
#include <string>

// Number of amateur bands (indices 1 .. AfuBandNumber).
inline constexpr int AfuBandNumber = 27;

// Operating modes, numbered 0 to 8. PS is person protection (no pacemaker mode); Alle is the
// least favourable of modes 1 to 7.
enum AfuMode : int16_t {
    amPS = 0,
    amCW = 1,
    amSSB = 2,
    amAM = 3,
    amFM = 4,
    amTV = 5,
    amGSM = 6,
    amDTX = 7,
    amAlle = 8,
};

// Band edges in MHz; -99 for an index outside 1..27.
double AfuBandLow(int Index);
double AfuBandHigh(int Index);
// (low + high) / 2; -99 for an invalid index.
double AfuBandCenter(int Index);
// Band name ("80m", "1,2cm" ...); "Fehler" for an index outside 1..27.
std::string AfuBandName(int Index);
// Index whose name equals Name without leading and trailing blanks (character 32 only; tabs
// stay), compared case-sensitively; -99 when none does.
int16_t AfuBandIndex(const std::string& Name);
// Index of the band whose closed interval contains FreqMHz; -99 when none does.
int16_t AfuBandOfFreq(double FreqMHz);
// Number of bands from band 1 up to FreqMHz: the highest band ending below FreqMHz, plus one
// when the next band contains FreqMHz; 1 when band 1 contains it; -99 below band 1.
int16_t AfuBandCount(double FreqMHz);

// Mode name for 0..8; "NV " for any other index.
std::string ModeName(int Index);
// Mode index 0..8 whose name equals Name without leading and trailing control characters and
// blanks (codes below 33), compared case-sensitively; -99 when none does.
int16_t ModeIndex(const std::string& Name);

// Field strength E computed for transmitter power POld, rescaled to power PNew:
// E * sqrt(PNew / POld). E above 1e300 (an overflow marker) and a POld that is not above 0
// (no power known) leave E unchanged.
double ScaleFieldStrength(double E, double POld, double PNew);
