#!/usr/bin/env bash
# Installs what is missing, builds, and starts the phone book from build/app/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target MarvessaFonelo
exec build/app/MarvessaFonelo
