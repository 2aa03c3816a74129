#!/usr/bin/env bash
# The folder list under wine: opening folders of 10,000 and 100,000 subfolders in the Win32
# folder list against FindFirstFileW and a sort ignoring case, in one process (dirlist_bench.exe).
# The folders are made here, from Linux, and handed to the program as a Windows path.
#
#   bench/win32/dirlist.sh BUILD_DIR [--reps N] [--sizes N,N,...]
#
# BUILD_DIR is a Windows build with QUENBROOK_BENCH=ON. Exits 1 when the goal (ratio at most 2)
# is missed, 2 when the benchmark fails.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: dirlist.sh BUILD_DIR [--reps N] [--sizes N,N,...]}" && pwd)
# shellcheck source=bench/win32/common.sh
. "$here/common.sh"
qb_wine_session "$0" "$@"
shift
reps=5
sizes=10000,100000
while [ $# -ge 2 ]; do
  case $1 in
    --reps) reps=$2 ;;
    --sizes) sizes=$2 ;;
  esac
  shift 2
done

scratch=$(qb_scratch quenbrook-dirlist-win) || exit 2
trap 'rm -rf -- "$scratch"; wineserver -k 2>/dev/null; wineserver -w' EXIT
for size in ${sizes//,/ }; do
  echo "folder list under wine: making $size folders in $scratch/n$size ..."
  qb_make_tree "$scratch/n$size" "$size" || exit 2
done
root=$(winepath -w "$scratch" 2>/dev/null)
if [ -z "$root" ]; then
  echo "winepath gave no Windows path for $scratch" >&2
  exit 2
fi
# The list starts in the working folder; the scratch folder keeps that small.
(cd -- "$scratch" && wine "$build/bench/win32/dirlist_bench.exe" --root "$root" --reps "$reps" \
  --sizes "$sizes" 2> >(grep -v -e 'wine32 is missing' -e 'wine32:i386' >&2))
status=$?
echo "folder list under wine: removing $scratch ..."
exit "$status"
