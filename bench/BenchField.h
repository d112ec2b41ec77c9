// A synthetic field for the benchmarks: planes at z = z0, z0 + dz, ... (1, 2, ... m unless
// given) of a regular grid with a dipole-like E field falling off with the distance from the
// origin.
#pragma once

#include <cmath>

#include "viewer/FeldorVars.h"

inline void FillDipoleField(int planes, int nx, int ny, double x0, double y0, double step,
                            double z0 = 1, double dz = 1) {
    ClearFeld2Dim();
    for (int p = 0; p < planes; ++p) {
        const double z = z0 + p * dz;
        for (int j = 0; j < ny; ++j) {
            for (int i = 0; i < nx; ++i) {
                const double x = x0 + i * step;
                const double y = y0 + j * step;
                const double r2 = x * x + y * y + z * z;
                const double e = 400 / r2;
                AppendFieldPoint(x, y, z, e, e * x / std::sqrt(r2), e * y / std::sqrt(r2),
                                 e * z / std::sqrt(r2));
            }
        }
    }
    FeldorU::HasEPlanes = true;
    FeldorU::Power = 100;
}
