#!/usr/bin/env bash
# Builds the Debian package: build/release/packages/kestrova_VERSION_ARCH.deb, with its library
# dependencies read from the program, and has lintian, Debian's package checker, look at it: an
# error or a warning fails the build. Prints the package's path last. Install it with
# `sudo apt install ./kestrova_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
rm -f build/release/packages/kestrova_*.deb
(cd build/release && cpack -G DEB >/dev/null)
deb=$(ls build/release/packages/kestrova_*.deb)
lintian --fail-on error,warning --display-info "$deb" >&2
echo "$deb"
