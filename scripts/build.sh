#!/usr/bin/env bash
# Configures and builds Feldor into build/ (or $FELDOR_BUILD_DIR). $FELDOR_DEBUG_INFO (-g, -g1,
# -g0), when set, overrides the build type's debug information (.ci/run builds with -g1).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${FELDOR_BUILD_DIR:-build}
opts=()
[[ -n ${FELDOR_DEBUG_INFO:-} ]] && opts+=("-DFELDOR_DEBUG_INFO=$FELDOR_DEBUG_INFO")
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${opts[@]}" "$@" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
