#!/usr/bin/env bash
# Installs what is missing, builds, and starts the phone book from build/app/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
. scripts/comum.sh
cmake --preset default >/dev/null
cmake --build build --parallel "$(nproc)" --target MarvessaFonelo
exec build/app/MarvessaFonelo
