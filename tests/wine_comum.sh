# Sourced by the tests that run the Windows release in a fresh Wine prefix on
# a real display (through xvfb_run.sh): the prefix in a temporary folder,
# with its own home (where Wine puts the desktop), cleaned up on exit, and
# the helpers that find and wait for the programs' windows.
tmp="$(mktemp -d)"
mkdir -p "$tmp/home/Desktop"
# Wine's menu builder would put the shortcuts into the real desktop's menus.
export HOME="$tmp/home" WINEPREFIX="$tmp/wine" WINEDEBUG=-all LANG=C.UTF-8 \
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WINEPATH
pids=()
limpar() {
    kill "${pids[@]}" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    rm -rf "$tmp"
}
trap limpar EXIT
# What was on the screen when a check failed: each window's title, place and
# size, and a picture of the screen where ImageMagick is installed.
falha() {
    echo "FAIL: $*"
    local w
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        echo "  window $w \"$(xdotool getwindowname "$w" 2>/dev/null)\":" \
            $(xdotool getwindowgeometry "$w" 2>/dev/null | tail -n 2 | tr -s ' ')
    done
    if command -v import >/dev/null 2>&1; then
        local foto="${TMPDIR:-/tmp}/falha-$(basename "$0" .sh)-$$.png"
        import -window root "$foto" 2>/dev/null && echo "  the screen: $foto"
    fi
    exit 1
}

# The window of a program by its title and size, or nothing.
janela() {
    local w
    for w in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
        xdotool getwindowgeometry "$w" | grep -q "Geometry: $2" && { echo "$w"; return; }
    done
}
tem_janela() { test -n "$(janela "$@")"; }
sem_janela() { test -z "$(janela "$@")"; }
bytes_sao() { test "$(od -An -tx1 "$1" | tr -d ' \n')" = "$2"; }
esperar() { # seconds, then a command that must come true
    local fim=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $fim ] || return 1
        sleep 0.2
    done
}
principal_aberta() {
    esperar 30 tem_janela '^Marvessa Fonelo$' 195x300 || falha "the phone book showed no window"
}
# With its own close button, as a user does (the place is saved then); a
# click while a notice is still up is taken by the notice, so it is tried
# again.
fechar() {
    local w fim=$((SECONDS + 20))
    while w="$(janela '^Marvessa Fonelo$' 195x300)"; [ -n "$w" ]; do
        [ $SECONDS -lt $fim ] || falha "the phone book did not close"
        xdotool mousemove --window "$w" 168 22 click 1
        esperar 2 sem_janela '^Marvessa Fonelo$' 195x300 || true
    done
    wineserver -w
}
# A Windows path as this side sees it.
caminho_unix() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
variavel_windows() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
