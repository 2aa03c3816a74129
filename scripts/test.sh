#!/usr/bin/env bash
# Installs what is missing, builds Quenbrook with its tests and runs every test: the Linux build
# (Qt, on its offscreen platform) and the Windows build (cross-built, run under wine on a
# virtual display); the end-to-end tests run each built program on a virtual display of their own.
# PLATFORMS picks "linux", "windows" or both; BUILD_DIR and CMAKE_ARGS choose another Linux
# build, such as the sanitizer one CI runs as well.
set -euo pipefail
cd "$(dirname "$0")/.."

platforms=${PLATFORMS:-linux windows}
# The end-to-end tests drive the built program on a virtual display with xdotool; on Linux a
# window manager draws the frames whose close boxes they click.
extra=()
if [[ $platforms == *linux* ]]; then
  extra+=(xvfb xdotool x11-utils openbox)
fi
if [[ $platforms == *windows* ]]; then
  extra+=(mingw-w64 wine wine64 xvfb xauth xdotool x11-utils)
fi
scripts/setup-debian.sh "${extra[@]}"

if [[ $platforms == *linux* ]]; then
  build=${BUILD_DIR:-build}
  # shellcheck disable=SC2086
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-} >/dev/null
  cmake --build "$build"
  ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
fi

if [[ $platforms == *windows* ]]; then
  cmake --preset mingw >/dev/null
  cmake --build build-win
  # The wine prefix lives in the build folder; no Mono or Gecko prompts while it is made.
  export WINEPREFIX="$PWD/build-win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -d "$WINEPREFIX" ]; then
    xvfb-run -a wineboot -i >/dev/null 2>&1 || true
    # Without a window manager, wine waits for each closed window as if one would answer.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  fi
  # A wine server left from another display would hand the tests windows of that display.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build-win --output-on-failure
fi
