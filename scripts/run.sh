#!/usr/bin/env bash
# Installs what is missing, builds Quenbrook and opens it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh
cmake --preset linux >/dev/null
cmake --build build --target quenbrook

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Quenbrook is built (build/quenbrook), but this session has no graphical display" \
    "to show it on: DISPLAY and WAYLAND_DISPLAY are not set. Run this command again from a" \
    "desktop session, or over ssh -X." >&2
  exit 1
fi
exec build/quenbrook
