#!/usr/bin/env bash
# Builds Kestrova and runs every test. With --sanitize, the same tests built with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=debug
if [ "${1:-}" = "--sanitize" ]; then
    preset=sanitize
fi
scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
