#!/usr/bin/env bash
# Installs what is missing, builds, and starts Feldor on the bundled example field.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# Only the program is built here; scripts/test.sh builds the rest (tests, benchmarks).
dir=${FELDOR_BUILD_DIR:-build}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" --parallel "$(nproc)" --target feldor
example=samples/Beispiel.fdr
args=()
[ -f "$example" ] && args=("$PWD/$example")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Feldor needs a graphical display, and none is available (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "Run it from a desktop session, or under a virtual one: xvfb-run -a $dir/app/feldor ${args[*]}" >&2
  exit 1
fi
exec "$dir/app/feldor" "${args[@]}"
