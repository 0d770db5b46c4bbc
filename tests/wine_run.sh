#!/usr/bin/env bash
# ctest's emulator for the Windows build: runs a test program under Wine, in
# the build's own Wine prefix, with the Qt and MinGW-w64 DLLs on WINEPATH.
# QtTest writes its log to a file, shown afterwards: Wine's console output
# does not always reach ctest's pipe.
# Usage: wine_run.sh BUILD_DIR QT_DIR PROGRAM [ARGUMENTS...]
set -u
build="$1" qt="$2" prog="$3"
shift 3
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
# On a real display, a prefix of its own: Wine's desktop process, started
# once per prefix, draws only on the display it was started with.
[ -n "${DISPLAY:-}" ] && WINEPREFIX="$WINEPREFIX-x11"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
runtime="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
export WINEPATH="Z:$qt/bin;Z:$runtime;Z:/usr/x86_64-w64-mingw32/lib"
export QT_PLUGIN_PATH="Z:$qt/plugins"
# Wine keeps the QT_ variables from Windows programs, but passes WINEQT_...
# on without its prefix.
while IFS='=' read -r nome valor; do
    export "WINE$nome=$valor"
done < <(env | grep '^QT_')
log="$(mktemp)" saida="$(mktemp)"
trap 'rm -f "$log" "$saida"' EXIT
# Its own output to a file too, not to ctest's pipe: a console host Wine
# starts for a program's child can outlive the test (the Wine server is
# kept running for the whole suite), and ctest would wait for it.
wine "$prog" "$@" -o "Z:$log,txt" </dev/null >"$saida" 2>&1
rc=$?
# A program that wrote not even its log's first line never started: Wine
# can fail so at once while the prefix's server is shutting down. Once more.
if [ "$rc" -ne 0 ] && [ ! -s "$log" ]; then
    echo "wine_run: $(basename "$prog") did not start (exit $rc); starting it again" >&2
    sleep 2
    wine "$prog" "$@" -o "Z:$log,txt" </dev/null >"$saida" 2>&1
    rc=$?
fi
cat "$saida" "$log"
exit "$rc"
