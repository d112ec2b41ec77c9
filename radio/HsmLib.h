// Unit HsmLib: whether an operating mode has a pacemaker limit in an amateur band, and the
// fallback from a mode without one to the next less favourable mode.
#pragma once

#include <cstdint>

// HsmBandMinimum(Band, Mode) > 0.
bool HasHsmLimit(int Mode, int Band);

// The mode whose pacemaker limit applies when Mode is chosen for band Band: Mode itself when it
// has a limit there, otherwise the first mode with one along the chain
// CW -> SSB -> AM -> TV -> GSM -> DTX -> FM -> CW. -99 when no mode 1 to 7 has a limit in the
// band, and for a Mode outside 1 to 8.
int16_t HsmEffectiveMode(int Mode, int Band);
