#!/usr/bin/env bash
# Runs a test program (or a command: Wine running a Windows one) on a real X
# display of its own: Xvfb with the openbox window manager and, where present,
# the trayer notification area; QT_QPA_PLATFORM is MARVESSA_QPA, else xcb.
# Exits 77 (skipped) when Xvfb, openbox or xdotool is missing; in CI
# (CI=true) that fails instead, so that these checks never silently stop
# running there.
set -u
prog="$1"
shift
for t in Xvfb openbox xdotool; do
    if ! command -v "$t" >/dev/null 2>&1; then
        if [ "${CI:-}" = true ]; then
            echo "FAIL: $t is not installed, and CI must run these checks"
            exit 1
        fi
        echo "SKIP: $t is not installed"
        exit 77
    fi
done

# The server picks a free display itself and says which once it is ready,
# so that tests run in parallel never take the same one.
numero="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numero" >/dev/null 2>&1 &
xvfb=$!
pids=("$xvfb")
limpar() { kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -f "$numero"; }
trap limpar EXIT
for _ in $(seq 200); do [ -s "$numero" ] && break; sleep 0.05; done
d="$(tr -dc 0-9 <"$numero")"
[ -n "$d" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$d"
openbox >/dev/null 2>&1 &
pids+=($!)
if command -v trayer >/dev/null 2>&1; then
    # trayer can die of an X error when an icon's window goes away while it
    # is being docked; the next check needs the notification area back.
    (
        while kill -0 "$xvfb" 2>/dev/null; do
            trayer --edge top --align right --widthtype pixel --width 120 --height 24 \
                >/dev/null 2>&1
            kill -0 "$xvfb" 2>/dev/null && echo "xvfb_run.sh: trayer ended; starting it again" >&2
            sleep 0.2
        done
    ) &
    pids+=($!)
    for _ in $(seq 200); do
        xwininfo -root -tree 2>/dev/null | grep -q '"panel" "trayer"' && break
        sleep 0.05
    done
fi
# Wait for the window manager to claim the screen.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
sleep 0.3
QT_QPA_PLATFORM="${MARVESSA_QPA:-xcb}" "$prog" "$@"
