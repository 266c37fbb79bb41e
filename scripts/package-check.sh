#!/usr/bin/env bash
# Builds the Debian package, installs it with apt-get, runs both installed
# programs from /usr/bin (the dialog on a virtual display) and removes the
# package again.
# Usage: scripts/package-check.sh [build-dir]   (default: build-package)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-package}"
start=$SECONDS
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -y -q "$@"; }
fail() { echo "package-check: $*" >&2; exit 1; }

"$root/scripts/install-deps.sh" dpkg-dev

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
if dpkg-query -W -f='${Status}' pavok 2>/dev/null | grep -q 'install ok installed'; then
  apt_get remove pavok >/dev/null
fi
(cd "$scratch" && apt_get install "./$(basename "$deb")")
installed=1

for file in /usr/bin/pavok /usr/bin/pavok-cli \
    /usr/share/applications/pavok.desktop \
    /usr/share/icons/hicolor/16x16/apps/pavok.png /usr/share/icons/hicolor/32x32/apps/pavok.png \
    /usr/share/icons/hicolor/256x256/apps/pavok.png /usr/share/icons/hicolor/scalable/apps/pavok.svg \
    /usr/lib/udev/rules.d/60-pavok.rules \
    /usr/share/man/man1/pavok-cli.1.gz /usr/share/man/man1/pavok.1.gz; do
  [ -f "$file" ] || fail "the package did not install $file"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate /usr/share/applications/pavok.desktop
fi

/usr/bin/pavok-cli --version
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
