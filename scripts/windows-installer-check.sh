#!/usr/bin/env bash
# Tries the Windows installer under Wine, in the prefix WINEPREFIX names,
# for every user and for the current one: a silent install, the installed
# pavok-cli.exe --version, the Start-menu entry, the refusal to replace a
# newer version, and a silent uninstall that leaves nothing behind.
# Usage: scripts/windows-installer-check.sh pavok-VERSION-setup.exe
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
setup="$1"
version="$(basename "$setup" | sed 's/^pavok-\(.*\)-setup\.exe$/\1/')"
wine() { "$root/scripts/windows-wine.sh" "$@" </dev/null; }
fail() { echo "windows-installer-check: $*" >&2; exit 1; }
# Up to 30 s for a path to go away.
wait_gone() { for _ in $(seq 60); do [ -e "$1" ] || return 0; sleep 0.5; done; return 1; }
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Pavok'

# check MODE FOLDER START-MENU HIVE (FOLDER and START-MENU as Windows paths)
check() {
  local mode="$1" folder="$2" menu="$3" key="$4\\$uninstall_key"
  local unix_folder unix_shortcut
  wine "$setup" /S "/$mode" || fail "$mode: the silent install failed"
  unix_folder="$(winepath_u "$folder")"
  unix_shortcut="$(winepath_u "$menu\\Pavok.lnk")"
  [ -f "$unix_folder/pavok.exe" ] || fail "$mode: no pavok.exe in $unix_folder"
  [ -f "$unix_shortcut" ] || fail "$mode: no Start-menu entry"
  wine "$folder\\pavok-cli.exe" --version | grep -q "pavok-cli $version" ||
    fail "$mode: the installed pavok-cli.exe --version does not name $version"

  # Over a newer version the installer says so and changes nothing.
  wine reg add "$key" /v DisplayVersion /d 99.0.0.0 /f >/dev/null 2>&1
  local before status=0
  before="$(stat -c %Y "$unix_folder/pavok.exe")"
  wine "$setup" /S "/$mode" || status=$?
  [ "$status" -eq 2 ] || fail "$mode: installing over a newer version ended with $status, not 2"
  [ "$(stat -c %Y "$unix_folder/pavok.exe")" = "$before" ] || fail "$mode: the refused install changed pavok.exe"
  wine reg add "$key" /v DisplayVersion /d "$version" /f >/dev/null 2>&1

  # The uninstaller copies itself away and returns at once.
  wine "$folder\\uninstall.exe" /S || fail "$mode: the silent uninstall failed"
  wait_gone "$unix_folder" || fail "$mode: the uninstaller left $unix_folder"
  [ ! -e "$unix_shortcut" ] || fail "$mode: the uninstaller left the Start-menu entry"
  if wine reg query "$key" >/dev/null 2>&1; then fail "$mode: the uninstaller left its registry key"; fi
}

winepath_u() { "$root/scripts/windows-wine.sh" winepath -u "$1" 2>/dev/null; }

check AllUsers 'C:\Program Files\Pavok' 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs' HKLM
check CurrentUser 'C:\users\'"$(id -un)"'\AppData\Local\Programs\Pavok' \
  'C:\users\'"$(id -un)"'\AppData\Roaming\Microsoft\Windows\Start Menu\Programs' HKCU
echo "windows-installer-check: installed for all users and for one, ran, kept a newer version, uninstalled" >&2
