#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all, printing their figures.
#
#   bench/run.sh                      build into build-bench and run everything
#   CXX=clang++ BUILD_DIR=build-bench-clang bench/run.sh
#                                     the same with another compiler (CXX counts only when a
#                                     build folder is first configured)
#   STARTUP_RUNS=30 DIRLIST_REPS=9 bench/run.sh
#                                     more launches / repetitions
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

echo
if [ "$status" -eq 0 ]; then echo "all benchmarks met their goals"; else echo "a goal was missed or a benchmark failed"; fi
exit "$status"
