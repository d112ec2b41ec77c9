#include "radio/HsmLib.h"

#include <array>

#include "foundation/MathLib.h"
#include "radio/AfuLib.h"
#include "radio/ExposureLimitLib.h"

bool HasHsmLimit(int Mode, int Band)
{
    double FAtMin = 0;
    return HsmBandMinimum(Band, Mode, FAtMin) > 0;
}

int16_t HsmEffectiveMode(int Mode, int Band)
{
    // A mode outside 1 to 8 never has a limit, whatever the band.
    if (Mode < amCW || Mode > amAlle) return NoValueSmallInt;
    // Which single modes have a limit in the band; each is one band scan, done once here.
    std::array<bool, amAlle + 1> Has{};
    bool Any = false;
    for (int M = amCW; M <= amDTX; ++M) {
        Has[M] = HasHsmLimit(M, Band);
        Any = Any || Has[M];
    }
    if (!Any) return NoValueSmallInt;
    // "Alle" takes the smallest positive threshold of the single modes at each sample, so it
    // has a limit exactly when one of them has.
    Has[amAlle] = true;
    if (Has[Mode]) return static_cast<int16_t>(Mode);

    // Next less favourable mode of each single mode.
    constexpr std::array<int, amDTX + 1> Next{amPS, amSSB, amAM, amTV, amCW, amGSM, amDTX, amFM};
    int M = Next[Mode];
    while (!Has[M]) M = Next[M];  // ends within six steps: some mode has a limit
    return static_cast<int16_t>(M);
}
