#!/usr/bin/env bash
# Builds with clang, AddressSanitizer and UndefinedBehaviorSanitizer (the
# "asan" preset, in build-asan/, which also holds the fuzzers) and runs every
# test there; any report fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
scripts/deps.sh fuzz
. scripts/comum.sh
cmake --preset asan -DMARVESSA_UNITY="$unidade" >/dev/null
etapa "sanitizers' build" cmake --build --preset asan --parallel "$(nproc)"
etapa "sanitizers' tests" ctest --preset asan --timeout 900 --parallel "$paralelos"
