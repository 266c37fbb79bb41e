#!/usr/bin/env bash
# Packs the Windows programs of a cross build into the two downloads: a
# portable zip and an NSIS installer, both holding pavok.exe, pavok-cli.exe
# (stripped, statically linked: no DLL beside them), README, COPYING and NEWS
# as Windows text files.
# Usage: scripts/windows-package.sh [build-dir]   (default: build-windows)
# Writes BUILD/package/pavok-VERSION-windows-x64.zip and
#        BUILD/package/pavok-VERSION-setup.exe
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build-windows}" && pwd)"
version="$(sed -n 's/.*kFileVersion = "\([^"]*\)".*/\1/p' "$root/res/Version.h")"
out="$build/package"
stage="$out/pavok-$version"

rm -rf "$out"
mkdir -p "$stage"
for program in pavok pavok-cli; do
  built="$(find "$build/app" "$build/ui" -name "$program.exe" -print -quit 2>/dev/null)"
  x86_64-w64-mingw32-strip -o "$stage/$program.exe" "${built:?$program.exe is not built in $build}"
done
# A program that needs a MinGW DLL would not start on a clean machine.
if x86_64-w64-mingw32-objdump -p "$stage"/*.exe | grep -iE 'DLL Name: (libstdc|libgcc|libwinpthread)'; then
  echo "windows-package: a program needs a MinGW DLL" >&2
  exit 1
fi
for text in README.md:README.txt COPYING:COPYING.txt NEWS.md:NEWS.txt; do
  sed 's/$/\r/' "$root/${text%%:*}" >"$stage/${text##*:}"
done

(cd "$out" && zip -q -9 -X -r "pavok-$version-windows-x64.zip" "pavok-$version")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" \
  -DICON="$root/res/windows/pavok.ico" -DOUTFILE="$out/pavok-$version-setup.exe" \
  "$root/packaging/windows/pavok.nsi" >&2
ls -l "$out"/*.zip "$out"/*.exe >&2
