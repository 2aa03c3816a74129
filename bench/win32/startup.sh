#!/usr/bin/env bash
# Start-up under wine: the time from process creation to the first painted frame of step 1's
# window, for the program (startup_probe.exe) and for a bare Win32 window (bare_window.exe),
# launched in turn from Linux with one wineserver kept running. The working folder holds
# 100,000 folders, and the program is also launched from an empty one: start-up must not
# depend on either. The bare window with step 1's controls (bare_controls.exe) runs alongside,
# for comparison.
#
#   bench/win32/startup.sh BUILD_DIR [--runs N] [--folders N]
#
# BUILD_DIR is a Windows build with QUENBROOK_BENCH=ON. Exits 1 when the goal (ratio at most
# 1.2) is missed, 2 when a program fails.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: startup.sh BUILD_DIR [--runs N] [--folders N]}" && pwd)
# shellcheck source=bench/win32/common.sh
. "$here/common.sh"
qb_wine_session "$0" "$@"
shift
runs=15
folders=100000
while [ $# -ge 2 ]; do
  case $1 in
    --runs) runs=$2 ;;
    --folders) folders=$2 ;;
  esac
  shift 2
done

goal=1.2
bin=$build/bench/win32
scratch=$(qb_scratch quenbrook-startup-win) || exit 2
trap 'rm -rf -- "$scratch"; wineserver -k 2>/dev/null; wineserver -w' EXIT
echo "start-up under wine: making $folders folders in $scratch/big ..."
qb_make_tree "$scratch/big" "$folders" || exit 2
mkdir -- "$scratch/empty"

# The last is for comparison only: what step 1's three controls cost any program.
labels=("bare Win32 window, cwd 100k" "quenbrook,         cwd 100k" "quenbrook,         cwd empty"
  "bare + 3 controls, cwd 100k")
programs=("$bin/bare_window.exe" "$bin/startup_probe.exe" "$bin/startup_probe.exe"
  "$bin/bare_controls.exe")
places=("$scratch/big" "$scratch/big" "$scratch/empty" "$scratch/big")
count=${#labels[@]}
# Figures by variant and name ("0:frame_done"), each a space-separated list of ms.
declare -A figures

# Windows counts 100 ns ticks from 1601; Linux microseconds from 1970.
epoch_ticks=116444736000000000

# One launch of variant $1; records its figures when $2 is 1.
launch() {
  local k=$1 record=$2 out started line field name value created
  out=$(
    cd -- "${places[k]}" || exit 126
    echo "launched=${EPOCHREALTIME/./}"
    exec timeout 60 wine "${programs[k]}" 2>/dev/null
  )
  started=$(sed -n 's/^launched=\([0-9]*\)$/\1/p' <<<"$out")
  line=$(grep '^created=[0-9]* first_paint=[0-9]* frame_done=[0-9]*' <<<"$out")
  if [ -z "$line" ] || [ -z "$started" ]; then
    echo "${labels[k]}: no first frame: $out" >&2
    return 1
  fi
  [ "$record" = 1 ] || return 0
  created=${line#created=}
  created=${created%% *}
  # Times in ms from process creation; "from launch" counts from the start of wine on Linux.
  for field in $line; do
    name=${field%%=*}
    value=${field#*=}
    case $name in
      created) continue ;;
      cpu) value=$(awk -v c="$value" 'BEGIN { printf "%.1f", c / 1e4 }') ;;
      *) value=$(awk -v a="$value" -v c="$created" 'BEGIN { printf "%.2f", (a - c) / 1e4 }') ;;
    esac
    figures[$k:$name]+="$value "
  done
  value=$(awk -v a="${line#*frame_done=}" -v s="$started" -v e="$epoch_ticks" \
    'BEGIN { split(a, f, " "); printf "%.2f", (f[1] - e - s * 10) / 1e4 }')
  figures[$k:launch]+="$value "
}

# The median of one figure of variant $1.
med() {
  # shellcheck disable=SC2086
  qb_median ${figures[$1:$2]}
}

# One untimed launch each: wine's own processes start and the page cache warms.
for ((k = 0; k < count; k++)); do
  launch "$k" 0 || exit 2
done
for ((run = 0; run < runs; run++)); do
  # Alternating the order keeps a steady drift of the machine from favouring one program.
  for ((i = 0; i < count; i++)); do
    if ((run % 2)); then k=$((count - 1 - i)); else k=$i; fi
    launch "$k" 1 || exit 2
  done
done

echo
echo "start-up to first painted frame under wine ($(wine --version 2>/dev/null)),"\
  "$runs launches each"
printf '  %-29s %12s %12s %12s %14s %9s\n' "" "first paint" "frame done" "min frame" \
  "from launch" "CPU"
declare -a med_first med_done med_launch
for ((k = 0; k < count; k++)); do
  med_first[k]=$(med "$k" first_paint)
  med_done[k]=$(med "$k" frame_done)
  med_launch[k]=$(med "$k" launch)
  # shellcheck disable=SC2086
  printf '  %-29s %12.2f %12.2f %12.2f %14.2f %9.1f\n' "${labels[k]}" "${med_first[k]}" \
    "${med_done[k]}" "$(qb_minimum ${figures[$k:frame_done]})" "${med_launch[k]}" \
    "$(med "$k" cpu)"
done
echo "  (ms, medians; first paint and frame done count from process creation, \"from launch\""
echo "   from the start of wine on Linux; CPU is the process's own, as Windows reports it)"
# Where the time goes: each stage's end, from process creation.
for k in 0 3 1; do
  stages=""
  for name in main toolkit program started; do
    [ -n "${figures[$k:$name]:-}" ] && stages+=" $name $(med "$k" "$name"),"
  done
  printf '  %-29s stages ended at (ms):%s first paint %s\n' "${labels[k]}" "$stages" \
    "${med_first[k]}"
done
ratio=$(awk -v a="${med_done[1]}" -v b="${med_done[0]}" 'BEGIN { printf "%.3f", a / b }')
verdict=$(awk -v r="$ratio" -v g="$goal" 'BEGIN { print (r <= g ? "PASS" : "FAIL") }')
echo "  ratio quenbrook / bare (frame done, medians): $ratio  (goal <= $goal) $verdict"
awk -v a="${med_first[1]}" -v b="${med_first[0]}" \
  'BEGIN { printf "  ratio quenbrook / bare (first paint, medians): %.3f\n", a / b }'
awk -v a="${med_launch[1]}" -v b="${med_launch[0]}" \
  'BEGIN { printf "  ratio quenbrook / bare (from launch, medians): %.3f\n", a / b }'
awk -v a="${med_done[1]}" -v b="${med_done[2]}" \
  'BEGIN { printf "  quenbrook cwd 100k / cwd empty (frame done): %.3f\n", a / b }'
awk -v a="${med_done[1]}" -v b="${med_done[3]}" -v c="${med_done[0]}" 'BEGIN {
  printf "  for comparison: quenbrook / bare + 3 controls %.3f;", a / b
  printf " bare + 3 controls / bare %.3f\n", b / c }'
if [ -n "${QB_BENCH_RAW:-}" ]; then
  for ((k = 0; k < count; k++)); do
    echo "  raw frame done, ${labels[k]}: ${figures[$k:frame_done]}"
  done
fi
echo "start-up under wine: removing $scratch ..."
[ "$verdict" = PASS ]
