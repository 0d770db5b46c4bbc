#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer (the "asan"
# preset, in build-asan/) and runs every test there; any report fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake --preset asan >/dev/null
cmake --build --preset asan --parallel "$(nproc)"
ctest --preset asan --timeout 900
