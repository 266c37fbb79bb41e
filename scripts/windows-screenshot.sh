#!/usr/bin/env bash
# Photographs pavok.exe on the emulated adapter under Wine, on a virtual
# screen (Xvfb) inside a Wine desktop, which draws the window's caption and
# frame itself, and writes the dialog alone as a PNG file.
# Usage: scripts/windows-screenshot.sh PAVOK.EXE OUT.PNG   (in the Wine
# prefix WINEPREFIX names; its graphics driver becomes X11)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
exe="$1"
out="$2"
wine() { "$root/scripts/windows-wine.sh" "$@" </dev/null; }

if [ -z "${PAVOK_SCREENSHOT_INSIDE:-}" ]; then
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Screenshot /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Screenshot /d 800x600 /f >/dev/null 2>&1
  PAVOK_SCREENSHOT_INSIDE=1 exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

shot="$(mktemp --suffix=.png)"
trap 'rm -f "$shot"' EXIT
"$root/scripts/windows-wine.sh" "$exe" --emulate --language ru </dev/null >/dev/null 2>&1 &
program=$!
# Done once the dialog has been drawn and two pictures in a row agree.
previous=""
for _ in $(seq 60); do
  sleep 0.5
  import -window root "$shot"
  current="$(convert "$shot" -trim -format '%wx%h %#' info: 2>/dev/null)"
  if [ "${current%%x*}" -gt 600 ] && [ "$current" = "$previous" ]; then break; fi
  previous="$current"
done
kill "$program" 2>/dev/null || true
# The desktop's plain background goes; what stays is the dialog.
convert "$shot" -trim +repage -strip "$out"
echo "windows-screenshot: $(identify -format '%wx%h' "$out") written to $out" >&2
