# shellcheck shell=bash
# The one wine set-up, sourced by every script that runs the Windows build under wine:
#   source scripts/wine-env.sh     (with WINEPREFIX exported first to choose another prefix)
# The prefix is build-win/wineprefix, beside the Windows build, unless WINEPREFIX names another.
# No Mono or Gecko prompts, no debug output.
export WINEPREFIX=${WINEPREFIX:-$PWD/build-win/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Makes the prefix once; it needs a display (run it under xvfb-run).
qb_wine_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1 || true
  # Without a window manager, wine waits for each closed window as if one would answer.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  wineserver -w
}

# Ends the prefix's wine server: one left from another display would hand out windows there.
qb_wine_stop() {
  timeout 20 wineserver -k 2>/dev/null || true
  timeout 60 wineserver -w 2>/dev/null || true
}
