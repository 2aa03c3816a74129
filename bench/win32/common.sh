# shellcheck shell=bash
# Sourced by the Windows benchmarks' scripts. Gives them a display, a wine prefix of their
# own in the Windows build folder, and one wineserver kept running while the script lasts, so
# that starting it counts in no measurement. Expects $build, the Windows build folder; the
# script that sources it must pass its own path and arguments to qb_wine_session.

export LC_ALL=C  # a dot in $EPOCHREALTIME and in the figures

# Runs the calling script again under a virtual display of its own, unless it is inside one.
qb_wine_session() {
  if [ -z "${QB_BENCH_DISPLAY:-}" ]; then
    if ! command -v xvfb-run >/dev/null 2>&1; then
      echo "xvfb-run not found: the Windows benchmarks need a virtual display" >&2
      exit 2
    fi
    QB_BENCH_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
  fi

  # No Mono or Gecko prompts, no debug output. $build is the sourcing script's.
  # shellcheck disable=SC2154
  export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "making the wine prefix $WINEPREFIX (once) ..."
    wineboot -i >/dev/null 2>&1 || true
    # Without a window manager, wine waits for each closed window as if one would answer.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w
  fi
  # A server left over from an earlier session would hold a display that is gone.
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -p
  trap 'wineserver -k 2>/dev/null; wineserver -w' EXIT
}

# Prints the median of the numbers given.
qb_median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 }
    END { if (NR == 0) print 0; else if (NR % 2) print v[(NR + 1) / 2];
          else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

qb_minimum() {
  printf '%s\n' "$@" | sort -g | head -n 1
}

# Makes the new folder $1 with $2 empty subfolders: mixed-case names in no particular order,
# so that sorting ignoring case has real work to do, each unique even ignoring case.
qb_make_tree() {
  mkdir -- "$1" || return 1
  awk -v count="$2" 'BEGIN {
    srand(20240917)
    letters = "abcdefghijklmnopqrstuvwxyz"
    for (i = 0; i < count; i++) {
      name = ""
      n = 4 + int(rand() * 11)
      for (k = 0; k < n; k++) {
        c = substr(letters, 1 + int(rand() * 26), 1)
        name = name (rand() < 0.5 ? toupper(c) : c)
      }
      printf "%s %d_%d\n", name, int(rand() * 1000000000), i
    }
  }' | (cd -- "$1" && xargs -d '\n' mkdir --)
}

# A fresh folder for a benchmark's trees, under TMPDIR when set.
qb_scratch() {
  mktemp -d "${TMPDIR:-/tmp}/$1-XXXXXX"
}
