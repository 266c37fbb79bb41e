#!/bin/sh
# Runs one Windows program under Wine: quiet, in a prefix of its own (made on
# first use), and without the Mono and Gecko installers a new prefix offers.
# CMake's cross build uses it as the emulator that ctest runs tests through.
# Each run starts Wine afresh unless a wineserver is kept running for the
# prefix (scripts/windows-cross.sh does that for the whole test run).
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEPREFIX="${WINEPREFIX:-${TMPDIR:-/tmp}/pavok-wine-$(id -u)}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec "${PAVOK_WINE:-/usr/lib/wine/wine64}" "$@"
