#!/usr/bin/env bash
# Cross-builds Pavok for 64-bit Windows with MinGW-w64: the native dialog
# pavok.exe, pavok-cli.exe and their tests. Packs the two downloads (the
# portable zip and the installer, scripts/windows-package.sh), then runs the
# tests under Wine, tries the installer there and photographs the dialog
# for the README (docs/screenshot-windows.png), and measures its start.
# Usage: scripts/windows-cross.sh [build-dir]   (default: build-windows)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-windows}"
start=$SECONDS

"$root/scripts/install-deps.sh" mingw-w64 wine64 nsis zip fonts-wine imagemagick

# Optimised at -O2 with assertions kept: the tests should still assert, and
# GCC 12 at -O3 reports false -Wrestrict errors on string concatenation.
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O2 \
  -DPAVOK_BUILD_GUI=OFF -DPAVOK_BUILD_BENCH=OFF -DPAVOK_BUILD_TESTS=ON
ninja -C "$build" -j2
echo "windows-cross: built in $((SECONDS - start)) s" >&2
"$root/scripts/windows-package.sh" "$build"

# A Wine prefix of our own, thrown away afterwards. One wineserver and the
# prefix's services start before the tests, quietly: otherwise each test
# would start its own, and ctest would wait for them to hand back its output.
WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/pavok-wine.XXXXXX")"
export WINEPREFIX WINEDEBUG=-all
wineserver=/usr/lib/wine/wineserver
stop_wine() {
  "$wineserver" -k >/dev/null 2>&1 || true
  "$wineserver" -w >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
trap stop_wine EXIT
"$wineserver" -p >/dev/null 2>&1 </dev/null
"$root/scripts/windows-wine.sh" wineboot --init >/dev/null 2>&1 </dev/null
# The dialog tests need no screen: Wine's null graphics driver runs them
# in process without an X server, quickly. The prefix's desktop starts
# again to take it.
"$root/scripts/windows-wine.sh" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
"$wineserver" -k >/dev/null 2>&1 || true
"$wineserver" -w >/dev/null 2>&1 || true
"$wineserver" -p >/dev/null 2>&1 </dev/null
"$root/scripts/windows-wine.sh" wineboot >/dev/null 2>&1 </dev/null
echo "windows-cross: Wine prefix ready after $((SECONDS - start)) s" >&2

(cd "$build" && ctest --output-on-failure --timeout 120)
"$root/scripts/windows-installer-check.sh" "$build"/package/pavok-*-setup.exe
# The README's picture of the dialog, as the build makes it.
"$root/scripts/windows-screenshot.sh" "$build/ui/win32/pavok.exe" "$root/docs/screenshot-windows.png"
# Speed: the dialog's start under Wine on that screen, and the download's size.
xvfb-run -a -s "-screen 0 800x600x24" "$root/scripts/windows-wine.sh" "$build/pavok_first_frame.exe" \
  "$("$root/scripts/windows-wine.sh" winepath -w "$build/ui/win32/pavok.exe" 2>/dev/null)" </dev/null 2>/dev/null
du -k "$build"/package/*.zip | awk '{printf "portable zip: %d KiB\n", $1}'
echo "windows-cross: done in $((SECONDS - start)) s" >&2
