#!/bin/sh
# Runs one Windows program under Wine: quiet, in a prefix of its own (made on
# first use), and without the Mono and Gecko installers a new prefix offers.
# CMake's cross build uses it as the emulator that ctest runs tests through.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEPREFIX="${WINEPREFIX:-${TMPDIR:-/tmp}/pavok-wine-$(id -u)}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec "${PAVOK_WINE:-/usr/lib/wine/wine64}" "$@"
