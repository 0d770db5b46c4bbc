#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
. scripts/comum.sh
build="${BUILD_DIR:-build}"
cmake --preset default -B "$build" -DMARVESSA_UNITY="$unidade" >/dev/null
etapa "build" cmake --build "$build" --parallel "$(nproc)"
etapa "tests" ctest --test-dir "$build" --output-on-failure --timeout 600 --parallel "$paralelos"
