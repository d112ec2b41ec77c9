// Unit ExposureLimitLib: field-strength limits after the German BEMFV rules. Person-protection
// limits ("PS") of the electric and magnetic field, interference thresholds of cardiac
// pacemakers ("HSM") per operating mode, the coupling model that turns a pacemaker threshold
// into a permissible electric field strength, and the scans for the least favourable value
// inside an amateur band. Pure functions; frequencies in MHz, E in V/m, H in A/m.
//
// No-value markers differ: the PS limits give 0, thresholds and scans -99, the coupling model
// -99 / sqrt 2 outside its range. Callers treat every value that is not above 0 as no limit.
#pragma once

// Field impedance of free space, 120 * pi ohms.
inline constexpr double FreeSpaceImpedance = 376.9911184307752;

// Person-protection limits; 0 outside 0.003 <= f < 300000 MHz.
double PsLimitE(double FreqMHz);
double PsLimitH(double FreqMHz);

// Pacemaker threshold curves of modes 1 to 7; -99 outside their segments.
double HsmThresholdCW(double FreqMHz);
double HsmThresholdSSB(double FreqMHz);
double HsmThresholdAM(double FreqMHz);
double HsmThresholdFM(double FreqMHz);
double HsmThresholdTV(double FreqMHz);
double HsmThresholdGSM(double FreqMHz);
double HsmThresholdDTX(double FreqMHz);

// Threshold of mode 1..7; mode 8 ("Alle") gives the smallest positive threshold of modes 1..7.
// -99 when there is none and for any other mode (0 "PS" included).
double HsmThreshold(double FreqMHz, int Mode);

// Permissible electric field strength (V/m, rms) for a pacemaker threshold at FreqMHz;
// -99 / sqrt 2 outside 0.025 <= f <= 2500 MHz, negative for a negative threshold.
double HsmFieldFromThreshold(double Threshold, double FreqMHz);

// Smallest person-protection limit inside band Band (about 801 samples, both edges included;
// the lowest frequency wins among equal values) of the electric (FieldKind 1) or magnetic
// (FieldKind 2) field. FAtMin receives the frequency of the minimum (-99 when none). -99 when
// nothing was found, for an invalid band and for any other FieldKind.
double PsBandMinimum(int Band, int FieldKind, double& FAtMin);
// Smallest pacemaker field limit (V/m) inside band Band for mode Mode (1 to 8); -99 when none.
double HsmBandMinimum(int Band, int Mode, double& FAtMin);
