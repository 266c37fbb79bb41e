#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite; works on a
# fresh clone and on an existing build directory.
# Usage: scripts/test.sh [cmake option ...]   (passed on to scripts/build.sh)
# Environment: as scripts/build.sh (BUILD_DIR, BUILD_TYPE, JOBS).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh "$@"
# The dialog's tests need no display.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure --timeout 300 -j"${JOBS:-2}"
