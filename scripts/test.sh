#!/usr/bin/env bash
# Installs what is missing, builds Quenbrook with its tests and runs every test, by the presets
# of CMakePresets.json: "linux" (Qt, on its offscreen platform) and "mingw" (the Windows build,
# cross-built and run under wine on a virtual display); the end-to-end tests run each built
# program on a virtual display of their own. Other presets may be named instead, such as the
# "linux-sanitize" build CI runs as well:
#   scripts/test.sh [PRESET...]
set -euo pipefail
cd "$(dirname "$0")/.."

presets=("$@")
((${#presets[@]})) || presets=(linux mingw)

# The end-to-end tests drive the built program on a virtual display with xdotool; on Linux a
# window manager draws the frames whose close boxes they click. The Qt stories run once more on
# Qt's Wayland platform, against a headless weston.
extra=(xvfb xauth xdotool x11-utils)
for preset in "${presets[@]}"; do
  case $preset in
    linux*) extra+=(openbox weston qt6-wayland qt6-translations-l10n) ;;
    mingw) extra+=(mingw-w64 wine wine64 locales) ;;
  esac
done
scripts/setup-debian.sh "${extra[@]}"
# Wine takes the user's language from LANG, for a locale the system has: the end-to-end tests in
# German and Arabic need those two.
if [[ " ${presets[*]} " == *" mingw "* ]] && ! locale -a | grep -qx 'ar_SA.utf8'; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo sed -i -E 's/^# *((de_DE|ar_SA)\.UTF-8 UTF-8)/\1/' /etc/locale.gen
  $sudo locale-gen >/dev/null
fi

for preset in "${presets[@]}"; do
  if [ "$preset" = mingw ]; then
    source scripts/wine-env.sh
    xvfb-run -a bash -c 'source scripts/wine-env.sh && qb_wine_prefix'
    qb_wine_stop
    xvfb-run -a -s "-screen 0 1280x1024x24" cmake --workflow --preset mingw
  else
    cmake --workflow --preset "$preset"
  fi
done
