#!/usr/bin/env bash
# Builds the Debian package: build/release/packages/kestrova_VERSION_ARCH.deb, with its library
# dependencies read from the program. Install it with `sudo apt install ./kestrova_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
rm -f build/release/packages/kestrova_*.deb
(cd build/release && cpack -G DEB >/dev/null)
ls build/release/packages/kestrova_*.deb
