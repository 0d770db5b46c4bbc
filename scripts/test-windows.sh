#!/usr/bin/env bash
# Installs what is missing, cross-builds the "windows" preset (MinGW-w64) and
# its setup, and runs the whole test suite under Wine, in a fresh Wine prefix
# of the build tree. The Qt for Windows is MARVESSA_QT_WINDOWS when given,
# else the prebuilt copy in ../shared/qt6-mingw when there is one, else one
# that scripts/qt-windows.sh builds into build-windows/ (about half an hour,
# once).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh windows
if [ -z "${MARVESSA_QT_WINDOWS:-}" ]; then
    if [ -f ../shared/qt6-mingw/lib/cmake/Qt6/qt.toolchain.cmake ]; then
        MARVESSA_QT_WINDOWS="$(realpath ../shared/qt6-mingw)"
    else
        MARVESSA_QT_WINDOWS="$(scripts/qt-windows.sh | tail -n 1)"
    fi
fi
export MARVESSA_QT_WINDOWS
. scripts/comum.sh
cmake --preset windows -DMARVESSA_QT_WINDOWS="$MARVESSA_QT_WINDOWS" \
    -DMARVESSA_UNITY="$unidade" >/dev/null
# The setup too, which tests/test_setup_windows.sh installs.
etapa "Windows build" bash -c 'cmake --build --preset windows --parallel "$(nproc)" &&
    cmake --build --preset windows --target setup >/dev/null'

export WINEPREFIX="$PWD/build-windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX" "$WINEPREFIX-x11"
mkdir -p "$WINEPREFIX"
log="$(mktemp)"
trap 'rm -f "$log"; wineserver -k 2>/dev/null || true' EXIT
suite() {
    # One Wine server for the whole suite, instead of one started and
    # stopped with each program.
    wineserver -p
    wineboot -i >/dev/null 2>&1
    ctest --preset windows --timeout 600 --parallel "$paralelos" | tee "$log"
}
status=0
etapa "Windows tests (with Wine's start)" suite || status=$?
total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n 1)
skipped=$(grep -c 'Skipped\|\*\*\*Not Run' "$log" || true)
echo "Windows: ${total:-0} test programs run under Wine (${skipped} skipped)"
exit "$status"
