#!/usr/bin/env bash
# Builds Kestrova (release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target kestrova
exec build/release/kestrova "$@"
