#!/usr/bin/env bash
# Makes the README's pictures from the built Linux program: step 1, the folder picker and
# step 2, driven with xdotool on a virtual display under a plain window manager (openbox, for
# the title bars), each cut to its window with its frame, into docs/.
# Run it again whenever a window changes.
set -euo pipefail
cd "$(dirname "$0")/.."

# A fixed sample folder, so that the pictures show the same paths on every machine.
sample=/tmp/quenbrook-screenshots

if [ "${1:-}" != --on-display ]; then
  scripts/setup-debian.sh xvfb xauth xdotool imagemagick openbox
  cmake --preset linux >/dev/null
  cmake --build build --target quenbrook
  rm -rf "$sample"
  mkdir -p "$sample"/Projects/{Atlas,Beacon,Cobalt} "$sample/home/Desktop"
  # The picker opens on the program's own folder: let that be the projects folder.
  cp build/quenbrook "$sample/Projects/quenbrook"
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-display
fi

docs="$PWD/docs"
mkdir -p "$docs"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export HOME="$sample/home" XDG_RUNTIME_DIR="$sample/run" LANG=C.UTF-8 QT_SCALE_FACTOR=1
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fail() {
  echo "screenshots: $*" >&2
  exit 1
}
window() { # window CAPTION: waits until it is shown, prints its id
  timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -1 ||
    fail "no window \"$1\""
}
click() { # click WINDOW X Y, in pixels from the window's top-left corner
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.3
}
shoot() { # shoot WINDOW NAME: the window with its frame, into docs/NAME.png
  sleep 0.5 # the window's first frame
  import -window "$1" -frame -strip -define png:exclude-chunks=date,time "$docs/$2.png"
  echo "screenshots: docs/$2.png ($(identify -format %wx%h "$docs/$2.png"))"
}

# A title bar with the whole caption and the close box; the program asks for no other box.
cat >"$sample/openbox.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <theme>
    <titleLayout>NLC</titleLayout>
    <font place="ActiveWindow"><name>DejaVu Sans</name><size>8</size><weight>Bold</weight></font>
    <font place="InactiveWindow"><name>DejaVu Sans</name><size>8</size><weight>Bold</weight></font>
  </theme>
</openbox_config>
EOF
openbox --config-file "$sample/openbox.xml" >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true' EXIT
sleep 1

cd "$sample/Projects"
./quenbrook &
program=$!

# Positions are the controls' centres, in pixels at 96 dpi (a twip is a fifteenth of one).
step1=$(window "Step 1 - Select or create a project folder")
shoot "$step1" step1
click "$step1" 266 36 # Browse

picker=$(window "Select Folder")
shoot "$picker" picker
# Type a new project folder into the path box, then Done.
click "$picker" 120 330
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 "$sample/Projects/Delta"
click "$picker" 210 374

step2=$(window "Step 2 - Create a shortcut to the project")
click "$step2" 156 29 # the shortcut's name
xdotool type --delay 20 "Delta"
shoot "$step2" step2
click "$step2" 182 146 # SKIP, which ends the program

timeout 20 tail --pid=$program -f /dev/null || fail "the program did not end after SKIP"
wait $program || fail "the program ended with status $?"
[ -d "$sample/Projects/Delta/Help Project" ] || fail "step 1 did not make the project folder"
