#!/usr/bin/env bash
# End-to-end: starts the built program on a virtual X display of its own and drives it with real
# mouse and key input, at the places its windows draw their controls.
#
#   tests/e2e/run.sh CASE PROGRAM
#
# PROGRAM is build/quenbrook (Qt, on the xcb platform under a small window manager, whose frame
# draws the close box) or build-win/Quenbrook.exe (run by wine, which draws its own frames, in the
# prefix WINEPREFIX names or else the one beside the program). CASE is one of:
#   typical       Browse, a new folder typed into the picker, Done; the skeleton is made; step 2:
#                 a name, Browse, a folder, Done, DONE, "Process complete" answered: exit 0 and
#                 the shortcut stands
#   cancel        Cancel in step 1: exit 0, nothing made
#   close-step1   step 1's close box: exit 0
#   close-boxes   Browse, a new folder typed, the picker's close box: the typed folder is taken and
#                 step 2 opens; step 2's close box: exit 0, no shortcut
#   completion    Browse, the start of folders that exist typed and given time to be completed,
#                 Done: the skeleton is made in the typed folder and in no other; step 2's Skip
#   gone-folder   the program's own folder removed while it runs; Browse still opens the picker
#   deep-folder   the program in a folder 3,900 letters deep; New Folder's "Query!" box fits the
#                 screen; Tab and Enter press its No: nothing is made
#   planted-dll   (wine) a DLL named as one the picker loads, given as a third argument, beside
#                 the program and preferred by wine: the picker opens and the DLL is not loaded
#   language-LL   the program in language LL (LANGUAGE on Linux; under wine the user's language,
#                 which wine takes from LANG): step 1 opens with its caption from po/LL.po, its
#                 screen is kept beside the program, and Alt+F4 ends it
# Every wait is bounded: a window that does not come or a program that does not end fails the test.
set -euo pipefail

case_name=$1
program=$(realpath "$2")
program_built=$program
wine=false
[[ $program == *.exe ]] && wine=true

work=$(mktemp -d "${TMPDIR:-/tmp}/quenbrook-e2e.XXXXXX")
pids=()
program_pid=""
cleanup() {
  local status=$?
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null || true
    status=1
  fi
  if $wine; then timeout 20 wineserver -k 2>/dev/null || true; fi
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($case_name): $*" >&2
  [ -s "$work/program.log" ] && tail -n 20 "$work/program.log" >&2
  # What wine was running then.
  if $wine; then pgrep -a -f '[.]exe|wineserver' >&2 || true; fi
  # The screen as it was, when ImageMagick is there to take it: beside the program under test,
  # in the build folder, never in the working folder.
  if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
    shot=$(dirname "$program_built")/e2e-$case_name.png
    import -window root "$shot" 2>/dev/null && echo "screen: $shot" >&2
  fi
  exit 1
}

# Runs "$@" every fifth of a second until it succeeds, for at most $limit seconds.
limit=20
poll() {
  local end=$((SECONDS + limit))
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.2
  done
}

# A display of our own, so nothing else on the machine sees or steals the input.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
has_display() { [ -s "$work/display" ]; }
limit=10 poll has_display || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY

if $wine; then
  # The prefix scripts/test.sh makes next to the program, unless another is named.
  export WINEPREFIX=${WINEPREFIX:-$(dirname "$program")/wineprefix}
  [ -d "$WINEPREFIX" ] || fail "no wine prefix $WINEPREFIX: scripts/test.sh makes it"
  # A wine server left from another display would put the windows there.
  timeout 20 wineserver -k 2>/dev/null || true
  timeout 60 wineserver -w 2>/dev/null || fail "the wine server of another display did not end"
  to_program_path() { echo "Z:${1//\//\\}"; }
  launch=(wine)
else
  # The window manager's own settings, not a user's.
  HOME=$work XDG_CONFIG_HOME=$work/config openbox --sm-disable >"$work/wm.log" 2>&1 &
  pids+=($!)
  wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
  limit=60 poll wm_ready || fail "openbox did not start"
  to_program_path() { echo "$1"; }
  # Under AddressSanitizer, only the system libraries' leaks are let pass.
  here=$(dirname "$(realpath "${BASH_SOURCE[0]}")")
  launch=(env QT_QPA_PLATFORM=xcb "LSAN_OPTIONS=suppressions=$here/lsan.supp:print_suppressions=0")
fi

# The picker opens in the program's folder: a copy in the temporary folder keeps whatever a
# faulty run makes there out of the build.
files=$work/files
app=$work/app
if [ "$case_name" = deep-folder ]; then
  for _ in $(seq 30); do app+=/$(printf 'deep%.0s' $(seq 32)); done
fi
mkdir -p "$files" "$app"
cp "$program" "$app/"
if [[ $case_name == language-* ]]; then
  language=${case_name#language-}
  cp -r "$(dirname "$program_built")/locale" "$app/" 2>/dev/null || true
  if $wine; then
    case $language in de) export LANG=de_DE.UTF-8 ;; ar) export LANG=ar_SA.UTF-8 ;; esac
  else
    # LANGUAGE with the messages' locale the plain C one, as gettext heeds it least (text in
    # UTF-8 still, for the window's caption as the tools read it).
    unset LC_ALL
    export LANGUAGE=$language LANG=C.UTF-8 LC_MESSAGES=C
  fi
fi
if [ "$case_name" = planted-dll ]; then
  cp "$3" "$app/"
  planted=$app/$(basename "$3")
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}$(basename "$3" .dll)=n,b"
fi
program=$app/$(basename "$program")
(cd "$files" && exec "${launch[@]}" "$program") >"$work/program.log" 2>&1 &
program_pid=$!

# Prints the id of the one visible window with this exact caption, once it is there.
window=""
find_window() {
  kill -0 "$program_pid" 2>/dev/null || fail "the program ended: $(cat "$work/program.log")"
  window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n1) && [ -n "$window" ]
}
# A window may still be placed after it shows; it is clicked once it stays where it is.
place=""
settled() {
  local now
  now=$(xwininfo -id "$window" 2>/dev/null | grep Absolute) || return 1
  [ "$now" = "$place" ] && return 0
  place=$now
  return 1
}
wait_window() {
  poll find_window "$1" || fail "no window \"$1\""
  poll settled || fail "window \"$1\" does not stay in place"
  echo "$window"
}
gone() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
wait_gone() { poll gone "$1" || fail "window \"$1\" still open"; }

# The client area's place inside the X window and its pixels per twip. Qt's X window is the
# client area itself; wine's holds the frame it draws around it, at 96 dots per inch.
geometry() { # window, client width and height in twips
  local size width height
  size=$(xwininfo -id "$1" | awk '/^  Width:/{w=$2} /^  Height:/{h=$2} END{print w, h}')
  read -r width height <<<"$size"
  if $wine; then
    scale_num=1 scale_den=15
    local client_width=$(($2 / 15)) client_height=$(($3 / 15))
    border=$(((width - client_width) / 2))
    origin_x=$border
    origin_y=$((height - client_height - border))
  else
    scale_num=$width scale_den=$2
    border=0 origin_x=0 origin_y=0
  fi
  window_width=$width
}

# With E2E_SHOTS set to a folder, the screen before each click goes there, to check what is hit.
shots=0
shot() {
  [ -n "${E2E_SHOTS:-}" ] || return 0
  shots=$((shots + 1))
  local X Y
  eval "$(xdotool getmouselocation --shell | grep -E '^[XY]=')"
  # The pointer, which the screen image leaves out, as a red ring.
  import -window root png:- | convert png:- -fill none -stroke red \
    -draw "circle $X,$Y $((X + 6)),$Y" "$E2E_SHOTS/$case_name-$shots-$1.png"
}

# Clicks the middle of a control given as in the window's table: left top width height.
click_control() { # window, client width and height in twips, left top width height
  geometry "$1" "$2" "$3"
  local x=$((origin_x + ($4 + $6 / 2) * scale_num / scale_den))
  local y=$((origin_y + ($5 + $7 / 2) * scale_num / scale_den))
  xdotool mousemove --window "$1" "$x" "$y"
  shot control
  xdotool click 1
}

# Clicks the close box the frame draws at the top right of the window.
click_close_box() { # window, client width and height in twips
  geometry "$1" "$2" "$3"
  local x y
  if $wine; then
    local caption=$((origin_y - border))
    x=$((window_width - border - caption / 2 - 1))
    y=$((border + caption / 2))
    xdotool mousemove --window "$1" "$x" "$y"
    shot close
    xdotool click 1
    return
  fi
  # openbox draws each title-bar button as a small square window in the frame around the client;
  # the right-most one is the close box.
  local frame top
  frame=$(xwininfo -id "$1" -tree | awk '/Parent window id/{print $4}')
  top=$(xwininfo -id "$1" | awk '/Absolute upper-left Y/{print $4}')
  read -r x y < <(xwininfo -id "$frame" -tree | awk -v top="$top" '
    NF >= 2 && $(NF - 1) ~ /^[0-9]+x[0-9]+\+/ {
      split($(NF - 1), size, /[x+]/); split($NF, at, "+")
      w = size[1]; h = size[2]; ax = at[2]; ay = at[3]
      if (w == h && w >= 8 && w <= 40 && ay + h <= top && (best == "" || ax > best)) {
        best = ax; bx = ax + int(w / 2); by = ay + int(h / 2)
      }
    }
    END { if (best != "") print bx, by }') || true
  [ -n "$x" ] || fail "no close box in the frame of window $1"
  xdotool mousemove "$x" "$y"
  shot close
  xdotool click 1
}

# Replaces the whole text of a box the pointer has put the focus in.
type_text() {
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 20 "$1"
}

exit_status=""
ended() {
  kill -0 "$program_pid" 2>/dev/null && return 1
  exit_status=0
  wait "$program_pid" || exit_status=$?
  program_pid=""
}
expect_exit_0() {
  if ! poll ended; then
    local open
    open=$(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | paste -sd,) || true
    fail "the program did not end; windows open: ${open:-none}"
  fi
  [ "$exit_status" = 0 ] || fail "exit status $exit_status: $(cat "$work/program.log")"
}

# The windows, their client sizes and their controls, in twips.
step1="Step 1 - Select or create a project folder"
step1_size=(4680 1065)
step1_Browse=(3420 420 1155 255)
step1_Cancel=(3420 720 1155 255)
step2="Step 2 - Create a shortcut to the project"
step2_size=(4680 2625)
step2_Text1=(120 300 4455 285)
step2_Browse=(3420 1200 1155 255)
step2_Done=(1620 1860 675 675)
step2_Skip=(2400 1860 675 675)
picker="Select Folder"
picker_size=(3540 6045)
# The path box's first line: below it a scroll bar may be drawn.
picker_Path=(120 4680 3375 270)
picker_Done=(2820 5280 675 675)
picker_NewFolder=(120 5280 675 675)

# Opens the picker from the window, types folder into its path box and leaves it the given way.
pick() { # window, its size in twips (2), its Browse (4), folder, "Done" or "close"
  click_control "$1" "$2" "$3" "$4" "$5" "$6" "$7"
  local p
  p=$(wait_window "$picker")
  click_control "$p" "${picker_size[@]}" "${picker_Path[@]}"
  type_text "$(to_program_path "$8")"
  if [ "$9" = Done ]; then
    click_control "$p" "${picker_size[@]}" "${picker_Done[@]}"
  else
    click_close_box "$p" "${picker_size[@]}"
  fi
  wait_gone "$picker"
}

expect_skeleton() {
  for sub in Images Package "Help Project"; do
    [ -d "$1/$sub" ] || fail "no folder \"$sub\" in $1"
  done
}

# Program start, including wine's, may take a while on a busy machine.
first_window() { limit=90 wait_window "$step1"; }
first_window_named() { limit=90 wait_window "$1"; }

project="$files/Project One"
case $case_name in
  typical)
    w=$(first_window)
    pick "$w" "${step1_size[@]}" "${step1_Browse[@]}" "$project" Done
    s=$(wait_window "$step2")
    expect_skeleton "$project"
    click_control "$s" "${step2_size[@]}" "${step2_Text1[@]}"
    type_text "Project link"
    pick "$s" "${step2_size[@]}" "${step2_Browse[@]}" "$files" Done
    click_control "$s" "${step2_size[@]}" "${step2_Done[@]}"
    m=$(wait_window "Good news!")
    xdotool mousemove --window "$m" 10 10 key Return
    expect_exit_0
    if $wine; then
      link="$files/Project link.lnk"
      [ -f "$link" ] || fail "no shortcut $link"
      # The link keeps its target's path, in wide or in narrow letters.
      { strings -a -el "$link" && strings -a "$link"; } | grep -qF "$(to_program_path "$project")" ||
        fail "the shortcut does not lead to $project: $(strings -a -el "$link" | paste -sd' ')"
    else
      [ "$(readlink "$files/Project link")" = "$project" ] || fail "no link to $project"
    fi
    ;;
  cancel)
    w=$(first_window)
    if ! $wine; then # the desktop matches the window to its menu entry by its class
      xprop -id "$w" WM_CLASS | grep -q ', "org.quenbrook.Quenbrook"$' || fail "$(xprop -id "$w" WM_CLASS)"
    fi
    click_control "$w" "${step1_size[@]}" "${step1_Cancel[@]}"
    expect_exit_0
    [ -z "$(ls -A "$files")" ] || fail "Cancel left $(ls -A "$files")"
    [ "$(ls -A "$app")" = "$(basename "$program")" ] || fail "Cancel left $(ls -A "$app")"
    ;;
  close-step1)
    w=$(first_window)
    click_close_box "$w" "${step1_size[@]}"
    expect_exit_0
    ;;
  close-boxes)
    w=$(first_window)
    pick "$w" "${step1_size[@]}" "${step1_Browse[@]}" "$project" close
    s=$(wait_window "$step2")
    expect_skeleton "$project"
    click_close_box "$s" "${step2_size[@]}"
    expect_exit_0
    [ "$(ls -A "$files")" = "Project One" ] || fail "step 2's close box left $(ls -A "$files")"
    ;;
  completion)
    mkdir "$files/Proj" "$files/Proj-old" "$files/Proj-archive"
    w=$(first_window)
    click_control "$w" "${step1_size[@]}" "${step1_Browse[@]}"
    p=$(wait_window "$picker")
    click_control "$p" "${picker_size[@]}" "${picker_Path[@]}"
    type_text "$(to_program_path "$files/Proj")"
    sleep 1 # the folders offered come meanwhile
    shot offered
    click_control "$p" "${picker_size[@]}" "${picker_Done[@]}"
    wait_gone "$picker"
    s=$(wait_window "$step2")
    expect_skeleton "$files/Proj"
    for other in Proj-old Proj-archive; do
      [ -z "$(ls -A "$files/$other")" ] || fail "Done made folders in $other"
    done
    click_control "$s" "${step2_size[@]}" "${step2_Skip[@]}"
    expect_exit_0
    ;;
  gone-folder)
    w=$(first_window)
    rm -rf "$app"
    pick "$w" "${step1_size[@]}" "${step1_Browse[@]}" "$project" Done
    s=$(wait_window "$step2")
    expect_skeleton "$project"
    click_close_box "$s" "${step2_size[@]}"
    expect_exit_0
    ;;
  deep-folder)
    w=$(first_window)
    click_control "$w" "${step1_size[@]}" "${step1_Browse[@]}"
    p=$(wait_window "$picker")
    click_control "$p" "${picker_size[@]}" "${picker_NewFolder[@]}"
    i=$(wait_window "Create new folder")
    xdotool type --delay 20 New
    xdotool key Return
    q=$(wait_window "Query!")
    read -r top height < <(xwininfo -id "$q" | awk '/Absolute upper-left Y/{t=$4} /^  Height:/{h=$2} END{print t, h}')
    ((top >= 0 && top + height <= 1024)) || fail "the \"Query!\" box is $height px high at $top"
    shot query
    xdotool key Tab Return
    wait_gone "Query!"
    [ ! -e "$app/New" ] || fail "No made the folder"
    click_close_box "$p" "${picker_size[@]}"
    wait_gone "$picker"
    s=$(wait_window "$step2")
    click_close_box "$s" "${step2_size[@]}"
    expect_exit_0
    ;;
  planted-dll)
    w=$(first_window)
    pick "$w" "${step1_size[@]}" "${step1_Browse[@]}" "$project" close
    s=$(wait_window "$step2")
    click_close_box "$s" "${step2_size[@]}"
    expect_exit_0
    [ ! -e "$planted.ran" ] || fail "the program loaded $planted"
    ;;
  language-*)
    source_dir=$(dirname "$(realpath "${BASH_SOURCE[0]}")")/../..
    caption=$(sed -n '/^msgid "Step 1 - Select or create a project folder"$/{n;s/^msgstr "\(.*\)"$/\1/p}' \
      "$source_dir/po/$language.po")
    [ -n "$caption" ] || fail "po/$language.po has no caption for step 1"
    w=$(first_window_named "$caption")
    import -window root "$(dirname "$program_built")/e2e-$case_name.png" 2>/dev/null || true
    xdotool windowfocus --sync "$w" key alt+F4
    expect_exit_0
    ;;
  *)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac
echo "ok ($case_name)"
