#!/usr/bin/env bash
# Installs the Debian packages Feldor needs to build, test and run (only those missing).
set -euo pipefail
pkgs=(build-essential cmake ninja-build qt6-base-dev libgl-dev libgtest-dev libgmock-dev
      libbenchmark-dev fonts-dejavu-core fonts-paratype qt6-translations-l10n
      xvfb xauth nec2c xdg-utils)
# fonts-paratype: PT Sans Narrow, the default user-interface font (no wider than the 8-point
# dialog font the window layouts were made for); qt6-translations-l10n: Qt's own texts in German;
# xdg-utils: xdg-open, which opens the help document and the web links with the desktop's
# programs.
# Fuzzing (scripts/fuzz.sh sets FELDOR_FUZZ=1): clang and its compiler runtime (libFuzzer).
if [[ ${FELDOR_FUZZ:-0} == 1 ]]; then pkgs+=(clang libclang-rt-dev); fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
