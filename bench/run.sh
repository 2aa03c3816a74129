#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them: start-up and the folder list, for the Qt
# build and, when mingw-w64 and wine are installed, for the Win32 build under wine. Each goal is
# printed as a ratio measured in this run. Exits 1 when a goal is missed, 2 when a step fails.
#
#   [BUILD_DIR=build-bench] [WIN_BUILD_DIR=build-win-bench] [RUNS=15] [REPS=5] bench/run.sh
set -uo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
inside() { case $1 in /*) echo "$1" ;; *) echo "$root/$1" ;; esac; }
build=$(inside "${BUILD_DIR:-build-bench}")
winbuild=$(inside "${WIN_BUILD_DIR:-build-win-bench}")
runs=${RUNS:-15}
reps=${REPS:-5}

# One virtual display for the whole run, for Qt's xcb platform and for wine.
if [ -z "${QB_BENCH_DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  QB_BENCH_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

configure() {
  cmake -S "$root" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENBROOK_BENCH=ON \
    -DQUENBROOK_TESTS=OFF "${@:2}" >/dev/null && cmake --build "$1" -j2 >/dev/null
}
configure "$build" || exit 2
windows=
if [ -n "${QB_BENCH_DISPLAY:-}" ] && command -v wine >/dev/null &&
  command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  configure "$winbuild" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" || exit 2
  windows=1
  # A prefix of the build's own; one server for the whole run, so its start counts in no figure.
  export WINEPREFIX=$winbuild/wineprefix
  # shellcheck source=../scripts/wine-env.sh
  source "$root/scripts/wine-env.sh"
  qb_wine_prefix
  qb_wine_stop
  wineserver -p
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quenbrook-bench-XXXXXX") || exit 2
trap '[ -n "$windows" ] && qb_wine_stop; rm -rf -- "$scratch"' EXIT
# Mixed-case names in no order, unique even ignoring case, so that the sort has real work.
for n in 10000 100000; do
  mkdir "$scratch/n$n" && awk -v count=$n 'BEGIN {
    srand(20240917); letters = "abcdefghijklmnopqrstuvwxyz"
    for (i = 0; i < count; i++) {
      name = ""; n = 4 + int(rand() * 11)
      for (k = 0; k < n; k++) {
        c = substr(letters, 1 + int(rand() * 26), 1); name = name (rand() < 0.5 ? toupper(c) : c)
      }
      printf "%s %d_%d\n", name, int(rand() * 1e9), i
    } }' | (cd "$scratch/n$n" && xargs -d '\n' mkdir --) || exit 2
done

status=0
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 }
  END { printf "%.1f", (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) / 1000 }'; }
# Prints the ratio $2 / $3 under label $1, against goal $4 when one is given.
verdict() {
  awk -v l="$1" -v a="$2" -v b="$3" -v g="${4:-}" 'BEGIN { r = a / b; printf "  %-40s %.2f", l, r
    if (g == "") { print ""; exit 0 }
    printf " (goal <= %s) %s\n", g, r <= g ? "PASS" : "FAIL"; exit r > g }' || status=1
}
# Keeps the worst exit status seen.
worst() { (($1 > status)) && status=$1; }

# Launches each program given once untimed, then $runs times in turn, the order flipping every
# round, from the 100,000-folder folder (start-up lists nothing). Sets ms[k], the median time
# in ms from launch (under wine: from Windows' creation of the process) to the first frame.
startup() {
  local runner=$1 count k r i out frame
  shift
  count=$#
  local -a programs=("$@") times=()
  for ((r = -1; r < runs; r++)); do
    for ((i = 0; i < count; i++)); do
      k=$((r % 2 ? count - 1 - i : i))
      # shellcheck disable=SC2086 # the runner is a command and its arguments
      out=$(cd "$scratch/n100000" && echo "start=${EPOCHREALTIME/./}" &&
        exec timeout 60 $runner "${programs[k]}" 2>/dev/null)
      [[ $out =~ frame_us=([0-9]+) ]] || { echo "no first frame from ${programs[k]}" >&2; exit 2; }
      frame=${BASH_REMATCH[1]}
      [[ $out =~ created_us=([0-9]+) ]] || [[ $out =~ start=([0-9]+) ]]
      ((r >= 0)) && times[k]+="$((frame - BASH_REMATCH[1])) "
    done
  done
  for ((k = 0; k < count; k++)); do
    # shellcheck disable=SC2086
    ms[k]=$(median ${times[k]})
  done
}

bin=$build/bench
platforms=offscreen
[ -n "${QB_BENCH_DISPLAY:-}" ] && platforms+=" xcb"
for platform in $platforms; do
  startup "env QT_QPA_PLATFORM=$platform" "$bin/startup_probe" "$bin/bare_window"
  echo "start-up, Qt $platform, to step 1's first frame ($runs launches, ms, medians):" \
    "quenbrook ${ms[0]}, bare window with 3 controls ${ms[1]}"
  verdict "quenbrook / bare window ($platform)" "${ms[0]}" "${ms[1]}" 1.3
done
# Under the display, the list is shown on it too.
QT_QPA_PLATFORM=${platforms##* } "$bin/dirlist" "$scratch" "$reps" 2>/dev/null || worst $?

if [ -n "$windows" ]; then
  bin=$winbuild/bench
  startup wine "$bin/startup_probe.exe" "$bin/bare_controls.exe" "$bin/bare_window.exe"
  echo "start-up, Win32 under wine ($(wine --version)), from process creation to step 1's" \
    "first frame ($runs launches, ms, medians): Quenbrook ${ms[0]}," \
    "3-control window ${ms[1]}, bare window ${ms[2]}"
  verdict "quenbrook / 3-control window (wine)" "${ms[0]}" "${ms[1]}" 1.2
  verdict "quenbrook / bare window (wine)" "${ms[0]}" "${ms[2]}"
  (cd "$scratch" && wine "$bin/dirlist.exe" "$(winepath -w "$scratch")" "$reps" 2>/dev/null) ||
    worst $?
else
  echo "wine, mingw-w64 or xvfb-run is missing: the Win32 benchmarks are skipped"
fi
exit "$status"
