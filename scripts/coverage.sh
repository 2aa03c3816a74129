#!/usr/bin/env bash
# The Linux build's line coverage: builds and runs every test of the "coverage" preset, then
# reports, with gcovr, the lines of the program's own code that no test ran, folder by folder.
#   scripts/coverage.sh            (the report goes to build-coverage/coverage.txt too)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh gcovr xvfb xauth xdotool x11-utils openbox weston qt6-wayland
find build-coverage -name '*.gcda' -delete 2>/dev/null || true
cmake --workflow --preset coverage || true  # the report shows what ran, whatever failed
gcovr --root . --object-directory build-coverage --exclude 'tests/' --exclude 'bench/' \
  --exclude 'build-coverage/' --output build-coverage/coverage.txt \
  --sort-percentage --filter 'wizard/' --filter 'picker/' --filter 'shortcut/' \
  --filter 'platform/' "$@"
cat build-coverage/coverage.txt
