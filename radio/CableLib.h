// Unit CableLib: matched-line attenuation of 20 coaxial cable types and insertion loss of
// 4 connector types as functions of frequency. No state; every call works from the tables in
// the code.
#pragma once

#include <cstdint>
#include <string>

// Attenuation of cable CableIdx (1..20) at FreqMHz in dB per 100 m, interpolated linearly in
// the decimal logarithm of the frequency between the tabulated columns. -99 for a frequency
// outside 0.1 .. 20000 MHz, a NaN frequency or an index outside 1..20.
double CableAtt(int16_t CableIdx, double FreqMHz);
// Cable name of the table; "NV" for an index outside 1..20.
std::string CableName(int16_t Index);

// Insertion loss in dB of connector type ConnectorIdx (0 "BNC", 1 "N", 2 "PL", 3 "SMA"),
// interpolated linearly in the frequency; below 1.8 MHz the first segment is extended. Above
// 5600 MHz a warning box and -99; for an index outside 0..3 a warning box and -99 (the
// frequency test comes first).
double ConnectorAtt(uint16_t ConnectorIdx, double FreqMHz);
// 1 "BNC", 2 "N", 3 "PL", 4 "SMA"; "NV" for any other index.
std::string ConnectorName(uint16_t Index);
