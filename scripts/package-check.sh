#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian (any error or warning
# fails), installs it with apt-get, checks where its files landed, runs both
# installed programs from /usr/bin (the dialog on a virtual display) and
# removes the package again.
# Usage: scripts/package-check.sh [build-dir]   (default: build-package)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-package}"
start=$SECONDS
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -y -q "$@"; }
fail() { echo "package-check: $*" >&2; exit 1; }

"$root/scripts/install-deps.sh" dpkg-dev lintian

# Debian's own compiler and hardening flags, as a package build would use
# them (optimised at -O2, no debug information: the package is stripped).
flags="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g \
  dpkg-buildflags --get CPPFLAGS) $(DEB_CXXFLAGS_MAINT_STRIP=-g dpkg-buildflags --get CXXFLAGS)"
ldflags="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DPAVOK_BUILD_TESTS=OFF -DPAVOK_BUILD_BENCH=OFF
ninja -C "$build" -j2
rm -f "$build"/pavok_*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/pavok_*_*.deb)
[ -f "${debs[0]}" ] || fail "cpack made no pavok_*.deb"
deb="${debs[0]}"
echo "package-check: $(basename "$deb") built after $((SECONDS - start)) s" >&2
dpkg-deb --field "$deb" Package Version Architecture Depends

# What a distribution checks first. Overrides the package ships (none so far)
# are honoured; --info explains any tag that shows.
lintian --info --fail-on error,warning "$deb" || fail "lintian reports errors or warnings on $(basename "$deb")"
echo "package-check: lintian passed after $((SECONDS - start)) s" >&2

# Install from a directory apt's own user can read, after any earlier copy.
scratch="$(mktemp -d)"
installed=0
cleanup() {
  if [ "$installed" -eq 1 ]; then apt_get remove pavok >/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT
chmod 755 "$scratch"
cp "$deb" "$scratch/"
unpacked="$scratch/unpacked"
dpkg-deb -x "$deb" "$unpacked"
if dpkg-query -W -f='${Status}' pavok 2>/dev/null | grep -q 'install ok installed'; then
  apt_get remove pavok >/dev/null
fi
(cd "$scratch" && apt_get install "./$(basename "$deb")")
installed=1

app_id=org.example.pavok
for file in /usr/bin/pavok /usr/bin/pavok-cli \
    /usr/share/applications/$app_id.desktop /usr/share/metainfo/$app_id.metainfo.xml \
    /usr/share/icons/hicolor/16x16/apps/pavok.png /usr/share/icons/hicolor/32x32/apps/pavok.png \
    /usr/share/icons/hicolor/256x256/apps/pavok.png /usr/share/icons/hicolor/scalable/apps/pavok.svg \
    /usr/lib/udev/rules.d/60-pavok.rules \
    /usr/share/man/man1/pavok-cli.1.gz /usr/share/man/man1/pavok.1.gz \
    /usr/share/bash-completion/completions/pavok-cli \
    /usr/share/doc/pavok/copyright /usr/share/doc/pavok/changelog.gz; do
  [ -f "$file" ] || fail "the package did not install $file"
done
desktop-file-validate /usr/share/applications/$app_id.desktop
appstreamcli validate --no-net --strict --explain /usr/share/metainfo/$app_id.metainfo.xml
# The menu entry, metadata and icon as a software centre's indexer sees them together.
appstreamcli validate-tree --no-net --strict --explain "$unpacked"
# bash-completion finds the completion on its own, by the program's name.
# shellcheck disable=SC2016
loaded="$(bash -c 'source /usr/share/bash-completion/bash_completion && _completion_loader pavok-cli
                   complete -p pavok-cli')"
[[ $loaded == *"-F _pavok_cli "* ]] || fail "bash-completion does not load pavok-cli's completion: $loaded"

version="$(/usr/bin/pavok-cli --version)"
echo "$version"
[[ $version == *"GNU GPL version 3 or later"* ]] || fail "pavok-cli --version names no licence"
# A whole read on the emulated adapter, from a directory of our own (the read
# leaves temp.bin behind).
(cd "$scratch" && /usr/bin/pavok-cli --emulate --yes read chip.bin)
[ "$(stat -c %s "$scratch/chip.bin")" -eq 2048 ] || fail "pavok-cli read saved no 2048-byte image"

screenshot="$scratch/pavok.png"
xvfb-run -a /usr/bin/pavok --screenshot "$screenshot"
[ "$(head -c 8 "$screenshot" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
  fail "pavok --screenshot wrote no PNG image"

apt_get remove pavok
installed=0
[ ! -e /usr/bin/pavok-cli ] || fail "removing the package left /usr/bin/pavok-cli"
echo "package-check: done in $((SECONDS - start)) s" >&2
