#!/usr/bin/env bash
# Runs a command on Qt's Wayland platform against a headless weston of its own, with its own
# runtime folder and socket, and stops weston after: on-weston.sh COMMAND [ARGUMENT...]
set -euo pipefail

runtime=$(mktemp -d "${TMPDIR:-/tmp}/quenbrook-weston.XXXXXX")
chmod 700 "$runtime"
weston_pid=""
cleanup() {
  if [ -n "$weston_pid" ]; then kill "$weston_pid" 2>/dev/null || true; fi
  if [ -n "$weston_pid" ]; then wait "$weston_pid" 2>/dev/null || true; fi
  rm -rf "$runtime"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$runtime
socket=wayland-quenbrook
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
  >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 600); do
  [ -S "$runtime/$socket" ] && break
  kill -0 "$weston_pid" 2>/dev/null || { cat "$runtime/weston.log" >&2; exit 1; }
  sleep 0.1
done
[ -S "$runtime/$socket" ] || { echo "weston did not start" >&2; exit 1; }

# A headless weston has no seat, and Qt's Wayland input method fails on a keyboard it lacks;
# the stories' keys go to the widgets directly.
status=0
# Under AddressSanitizer, only the system libraries' leaks are let pass.
here=$(dirname "$(realpath "${BASH_SOURCE[0]}")")
env -u DISPLAY WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland QT_IM_MODULE=none \
  "LSAN_OPTIONS=suppressions=$here/../e2e/lsan.supp:print_suppressions=0" "$@" || status=$?
exit "$status"
