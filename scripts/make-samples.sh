#!/usr/bin/env bash
# Regenerates the nec2c reports of the repository from their decks, reproducibly:
#   samples/dipol20m.nec        -> samples/dipol20m.out            (example 20 m dipole)
#   tests/data/4nec2/e_and_h.nec -> tests/data/4nec2/e_and_h.out   (test fixture)
#                                  tests/data/4nec2/crlf.out       (the same with CR LF line ends)
#                                  tests/data/4nec2/unmended.out   (as nec2c writes it: no blank line under the electric title)
# nec2c (Debian package nec2c) writes the report; two steps follow:
#  - nec2c writes no blank line after the title "NEAR ELECTRIC FIELDS" (the classic NEC-2 report
#    has one, as nec2c has after "NEAR MAGNETIC FIELDS"); the blank line is put back after either
#    title wherever it is missing, so both blocks start five lines below their title;
#  - the timing figures (matrix fill and factor time, total run time) are set to 0, so that the
#    same deck always gives the same file.
# Everything else is nec2c's output as it stands, including the missing line end after the last
# line.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C
command -v nec2c >/dev/null || { echo "nec2c is not installed (apt-get install nec2c)" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# run_nec DECK REPORT [raw]: runs nec2c on DECK and writes the mended report to REPORT;
# with "raw" the missing blank line is left missing (the timing figures are still set to 0).
run_nec() {
  local deck=$1 report=$2 mend=1
  [ "${3:-}" = raw ] && mend=0
  nec2c -i "$deck" -o "$tmp/raw.out" >/dev/null
  awk -v mend="$mend" '
    # print a line end only between lines, so that the last line keeps its ending as nec2c wrote it
    function put(s) { if (started) printf "\n"; printf "%s", s; started = 1 }
    {
      line = $0
      if (after_title && line != "") put("")
      after_title = 0
      sub(/FILL: [0-9]+ msec  FACTOR: [0-9]+ msec/, "FILL: 0 msec  FACTOR: 0 msec", line)
      sub(/TOTAL RUN TIME: [0-9]+ msec/, "TOTAL RUN TIME: 0 msec", line)
      put(line)
      if (mend && (index(line, "NEAR ELECTRIC FIELDS") || index(line, "NEAR MAGNETIC FIELDS"))) after_title = 1
    }
    END { if (!started) exit 1 }
  ' "$tmp/raw.out" > "$tmp/fixed.out"
  if [ -z "$(tail -c 1 "$tmp/raw.out")" ]; then printf '\n' >> "$tmp/fixed.out"; fi
  mv "$tmp/fixed.out" "$report"
  echo "wrote $report ($(wc -l < "$report") lines)"
}

run_nec samples/dipol20m.nec samples/dipol20m.out
run_nec tests/data/4nec2/e_and_h.nec tests/data/4nec2/e_and_h.out
run_nec tests/data/4nec2/e_and_h.nec tests/data/4nec2/unmended.out raw

# every line, the last one included, ended by CR LF
awk '{ printf "%s\r\n", $0 }' tests/data/4nec2/e_and_h.out > tests/data/4nec2/crlf.out
echo "wrote tests/data/4nec2/crlf.out"

# The bundled example field file, imported from the report by the program's own import command.
bash scripts/build.sh >/dev/null
cmake --build "${FELDOR_BUILD_DIR:-build}" --target make_example >/dev/null
QT_QPA_PLATFORM=offscreen "${FELDOR_BUILD_DIR:-build}/make_example" samples/dipol20m.out samples/Beispiel.fdr
