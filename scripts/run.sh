#!/usr/bin/env bash
# Installs what is missing, builds, and runs the programmer on the emulated
# adapter with a copy of the demo chip: the dialog when a display is
# available, otherwise a read with pavok-cli.
# Environment: PAVOK_DEMO_DELAY_US, the time each emulated request takes
# (default 10000: a read of the C16 chip lasts 0.6 s, a write 10 s).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh
scripts/build.sh
build_dir="$root/${BUILD_DIR:-build}"
delay=${PAVOK_DEMO_DELAY_US:-10000}

# The emulated chip works on a copy, so the demo image stays as it is.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/pavok-demo.XXXXXX")
cp res/demo/demo-c16.bin "$scratch/chip.bin"
cd "$scratch"
emulated=(--emulate --chip-image "$scratch/chip.bin" --emulated-delay-us "$delay")

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build_dir/app/pavok" ]; then
  echo "Starting the dialog on the emulated adapter; its chip is $scratch/chip.bin."
  echo "A chip read leaves temp.bin in $scratch."
  exec "$build_dir/app/pavok" "${emulated[@]}"
fi

if [ ! -x "$build_dir/app/pavok" ]; then
  echo "The dialog program was not built: reading the emulated chip with pavok-cli instead."
else
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): reading the emulated chip with pavok-cli instead."
fi
echo "\$ pavok-cli ${emulated[*]} read demo-read.bin   (in $scratch)"
"$build_dir/app/pavok-cli" "${emulated[@]}" read demo-read.bin
echo
ls -l "$scratch"
echo
echo "temp.bin, the dump every complete read leaves behind (first lines):"
od -A x -t x1z -N 96 temp.bin
if cmp -s demo-read.bin chip.bin; then
  echo "demo-read.bin holds the chip's 2048 bytes."
else
  echo "demo-read.bin differs from the chip." >&2
  exit 1
fi
