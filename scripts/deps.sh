#!/usr/bin/env bash
# Installs the Debian packages Feldor needs to build, test and run (only those missing).
set -euo pipefail
pkgs=(build-essential cmake ninja-build qt6-base-dev libgl-dev libgtest-dev libgmock-dev
      libbenchmark-dev fonts-dejavu-core xvfb xauth nec2c)
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
