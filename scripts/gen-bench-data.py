#!/usr/bin/env python3
"""Writes large near-field input files for the reader benchmarks (standard library only).

    gen-bench-data.py DIR [--eznec-points N] [--nec-points M] [--side S] [--magnetic]

writes into DIR (created when missing):
  bench_eznec_N.txt   an EZNEC-layout near-field text of N points (electric, or magnetic with
                      --magnetic), power line "Power = 100 watts";
  bench_4nec2_M.out   a NEC-2 report of M grid points: the power budget ("INPUT POWER"), the
                      electric block of M lines and the magnetic block of M lines (2 M points
                      for the reader), each block five lines below its title, as nec2c writes
                      it once the blank line under the electric title is put back.
A count of 0 skips that file. The points lie on a regular grid of S x S points (default 41)
with 0.5 m spacing, centred on the origin, in planes 0.5 m apart from z = 0.5 m upwards; the last
plane may be partial. The field values come from a smooth made-up formula (a wire 10 m above the
grid), the same for every run: the files are for timing, not for physics.
The output is not committed; benchmarks generate it when they run.
"""

import argparse
import math
import os
import sys

STEP = 0.5


def grid(count, side):
    """Yields count points (x, y, z): x fastest, then y, then z, as nec2c orders them."""
    half = (side - 1) * STEP / 2.0
    per_plane = side * side
    for i in range(count):
        plane, rest = divmod(i, per_plane)
        iy, ix = divmod(rest, side)
        yield (-half + ix * STEP, -half + iy * STEP, 0.5 + plane * STEP)


def field(x, y, z):
    """Made-up peak magnitudes and phases of E (V/m) and H (A/m) at (x, y, z)."""
    dz = 10.0 - z
    r = max(math.sqrt(x * x + y * y + dz * dz), 0.25)
    ex = 70.0 / r * (1.0 + 0.3 * math.cos(0.3 * x))
    ey = 8.0 * abs(x * y) / (r * r) + 1e-3
    ez = 30.0 * abs(x) / (r * r) + 1e-3
    hx = 0.002 * abs(y) / r + 1e-6
    hy = 0.45 / r
    hz = 0.08 * abs(y) / (r * r) + 1e-6
    ph = ((r * 17.0) % 360.0) - 180.0
    return (ex, ph, ey, -ph / 2.0, ez, ph / 3.0), (hx, ph / 4.0, hy, -ph, hz, ph / 5.0)


def write_eznec(path, count, side, magnetic):
    kind = "Magnetic Field (A/m, RMS)" if magnetic else "Electric Field (V/m, RMS)"
    letter = "H" if magnetic else "E"
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("Feldor benchmark file: %d near-field points\n\n" % count)
        f.write("Frequency = 14.15 MHz\nPower = 100 watts\n\n%s\n\n" % kind)
        f.write("X (m)     Y (m)     Z (m)       %sx           %sy           %sz           %s total\n"
                % (letter, letter, letter, letter))
        for x, y, z in grid(count, side):
            e, h = field(x, y, z)
            a, b, c = (h[0], h[2], h[4]) if magnetic else (e[0], e[2], e[4])
            a, b, c = a / math.sqrt(2.0), b / math.sqrt(2.0), c / math.sqrt(2.0)
            f.write("%9.3f %9.3f %9.3f   %10.4E   %10.4E   %10.4E   %10.4E\n"
                    % (x, y, z, a, b, c, math.sqrt(a * a + b * b + c * c)))


NEC_E_HEAD = """\
                             -------- NEAR ELECTRIC FIELDS --------

     ------- LOCATION -------     ------- EX ------    ------- EY ------    ------- EZ ------
      X         Y         Z       MAGNITUDE   PHASE    MAGNITUDE   PHASE    MAGNITUDE   PHASE
    METERS    METERS    METERS     VOLTS/M  DEGREES    VOLTS/M   DEGREES     VOLTS/M  DEGREES
"""
NEC_H_HEAD = """\
                                   -------- NEAR MAGNETIC FIELDS ---------

     ------- LOCATION -------     ------- HX ------    ------- HY ------    ------- HZ ------
      X         Y         Z       MAGNITUDE   PHASE    MAGNITUDE   PHASE    MAGNITUDE   PHASE
    METERS    METERS    METERS      AMPS/M  DEGREES      AMPS/M  DEGREES      AMPS/M  DEGREES
"""


def nec_line(x, y, z, v):
    return ("%10.4f%10.4f%10.4f  %11.4E %7.2f  %11.4E %7.2f  %11.4E %7.2f\n"
            % ((x, y, z) + tuple(v)))


def write_nec(path, count, side):
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n                               ---------------- COMMENTS ----------------\n")
        f.write("                               Feldor benchmark report: %d grid points\n\n\n" % count)
        f.write("                               ---------- POWER BUDGET ---------\n")
        f.write("                               INPUT POWER   =  1.0000E+02 Watts\n")
        f.write("                               RADIATED POWER=  1.0000E+02 Watts\n")
        f.write("                               STRUCTURE LOSS=  0.0000E+00 Watts\n")
        f.write("                               NETWORK LOSS  =  0.0000E+00 Watts\n")
        f.write("                               EFFICIENCY    =  100.00 Percent\n\n\n")
        f.write(NEC_E_HEAD)
        for x, y, z in grid(count, side):
            f.write(nec_line(x, y, z, field(x, y, z)[0]))
        f.write("\n\n\n  DATA CARD No:   5 NH\n\n\n")
        f.write(NEC_H_HEAD)
        for x, y, z in grid(count, side):
            f.write(nec_line(x, y, z, field(x, y, z)[1]))
        f.write("\n\n\n  DATA CARD No:   6 EN\n\n  TOTAL RUN TIME: 0 msec\n")


def main(argv):
    p = argparse.ArgumentParser(description="Writes near-field files for the reader benchmarks.")
    p.add_argument("dir", help="output directory")
    p.add_argument("--eznec-points", type=int, default=20000, metavar="N",
                   help="points of the EZNEC-layout file (default 20000; 0: none)")
    p.add_argument("--nec-points", type=int, default=20000, metavar="M",
                   help="grid points of the NEC-2 report, per block (default 20000; 0: none)")
    p.add_argument("--side", type=int, default=41, metavar="S",
                   help="points per grid row and column of a plane (default 41)")
    p.add_argument("--magnetic", action="store_true", help="EZNEC file of the magnetic field")
    a = p.parse_args(argv)
    if a.eznec_points < 0 or a.nec_points < 0 or a.side < 1:
        p.error("counts must not be negative and the side must be at least 1")
    os.makedirs(a.dir, exist_ok=True)
    if a.eznec_points:
        path = os.path.join(a.dir, "bench_eznec_%d.txt" % a.eznec_points)
        write_eznec(path, a.eznec_points, a.side, a.magnetic)
        print(path)
    if a.nec_points:
        path = os.path.join(a.dir, "bench_4nec2_%d.out" % a.nec_points)
        write_nec(path, a.nec_points, a.side)
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
