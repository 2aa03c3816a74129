#!/usr/bin/env bash
# Installs what is missing, builds Quenbrook with its tests and runs every test.
# BUILD_DIR and CMAKE_ARGS choose another build, such as the sanitizer one CI runs as well.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build}
scripts/setup-debian.sh
# shellcheck disable=SC2086
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build"
# The Qt stories need no display: they run on Qt's offscreen platform.
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
