#!/usr/bin/env bash
# The release notes of every kind describe the version being built, on top,
# with one date: the Debian changelog, the software-centre metadata and
# NEWS.md. A version raised without its notes fails here, not in a user's
# package manager.
# Usage: release-notes-test.sh VERSION METAINFO   (from the top of the sources)
set -uo pipefail

version="$1"
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

changelog=packaging/debian/changelog
metainfo="$2"

head -n 1 "$changelog" | grep -qF "pavok ($version) " ||
  fail "$changelog does not begin with an entry for $version: $(head -n 1 "$changelog")"
release="$(grep -m 1 '<release ' "$metainfo")"
[[ $release == *"version=\"$version\""* ]] || fail "$metainfo: the newest release is not $version: $release"
news="$(grep -m 1 '^## ' NEWS.md)"
[[ $news == "## $version "* ]] || fail "NEWS.md: the newest heading is not $version: $news"

# One date for the release: the metadata's, in the heading of NEWS.md and in
# the changelog entry's trailer.
date="$(sed -n 's/.* date="\([0-9-]*\)".*/\1/p' <<<"$release")"
[[ $news == *"($date)"* ]] || fail "NEWS.md dates $version otherwise than $metainfo ($date): $news"
trailer="$(grep -m 1 '^ -- ' "$changelog")"
[ "$(date -u -d "${trailer#*>  }" +%F 2>/dev/null)" = "$date" ] ||
  fail "$changelog dates $version otherwise than $metainfo ($date): $trailer"

[ "$failures" -eq 0 ] || exit 1
echo "release notes: $version of $date on top of $changelog, $metainfo and NEWS.md"
