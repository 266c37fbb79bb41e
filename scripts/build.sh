#!/usr/bin/env bash
# Configures and builds the project with Ninja.
# Usage: scripts/build.sh [cmake option ...]   e.g. -DPAVOK_BUILD_GUI=OFF
# Environment: BUILD_DIR (default build), BUILD_TYPE (default RelWithDebInfo),
# JOBS (parallel compile jobs, default 2).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build}
cache="$build_dir/CMakeCache.txt"
if [ -f "$cache" ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$cache"; then
  echo "$build_dir was configured with another generator; remove it or choose BUILD_DIR=..." >&2
  exit 2
fi

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@"
cmake --build "$build_dir" -- -j"${JOBS:-2}"
