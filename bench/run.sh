#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all, printing their figures.
#
#   bench/run.sh                      build into build-bench and run everything
#   CXX=clang++ BUILD_DIR=build-bench-clang bench/run.sh
#                                     the same with another compiler (CXX counts only when a
#                                     build folder is first configured)
#   STARTUP_RUNS=30 DIRLIST_REPS=9 bench/run.sh
#                                     more launches / repetitions
#   WIN_BUILD_DIR=build-win-bench     where the Windows benchmarks are cross-built; they run
#                                     under wine when mingw-w64 and wine are installed
#
# Exits non-zero when a goal is missed or a benchmark fails; every benchmark still runs.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-bench}
case $build in /*) ;; *) build=$root/$build ;; esac
runs=${STARTUP_RUNS:-15}
reps=${DIRLIST_REPS:-5}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENBROOK_BENCH=ON \
  -DQUENBROOK_TESTS=OFF >/dev/null || exit 2
cmake --build "$build" || exit 2

status=0
run() {
  echo
  echo "== $*"
  "$@" || status=1
}

run "$build/bench/startup_bench" --runs "$runs" --platform offscreen
if command -v xvfb-run >/dev/null 2>&1; then
  # A real X server shows whether mapping and exposing the window change the picture.
  run xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bench/startup_bench" --runs "$runs" \
    --platform xcb
else
  echo
  echo "== xvfb-run not found: the start-up benchmark under X is skipped"
fi
run "$build/bench/dirlist_bench" --reps "$reps"

# The Windows build's benchmarks, cross-built with mingw-w64 and run under wine.
winbuild=${WIN_BUILD_DIR:-$root/build-win-bench}
case $winbuild in /*) ;; *) winbuild=$root/$winbuild ;; esac
if command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 && command -v wine >/dev/null 2>&1 &&
  command -v xvfb-run >/dev/null 2>&1; then
  echo
  echo "== building the Windows benchmarks in $winbuild"
  if cmake -S "$root" -B "$winbuild" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DQUENBROOK_BENCH=ON -DQUENBROOK_TESTS=OFF >/dev/null &&
    cmake --build "$winbuild"; then
    run "$root/bench/win32/startup.sh" "$winbuild" --runs "$runs"
    run "$root/bench/win32/dirlist.sh" "$winbuild" --reps "$reps"
  else
    echo "the Windows benchmarks did not build"
    status=1
  fi
else
  echo
  echo "== mingw-w64, wine or xvfb-run not found: the Windows benchmarks are skipped"
fi

echo
if [ "$status" -eq 0 ]; then echo "all benchmarks met their goals"; else echo "a goal was missed or a benchmark failed"; fi
exit "$status"
