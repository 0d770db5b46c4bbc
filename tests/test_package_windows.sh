#!/usr/bin/env bash
# The Windows zip, unpacked into C:\ of a fresh Wine prefix where no Qt is
# installed, runs on a real display (run through xvfb_run.sh): the phone book
# makes its contatos.txt beside itself, shows its window, keeps its place in
# the registry and reads it back; the converter converts an old file there
# with one click on its button.
# Usage: test_package_windows.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
. "$(dirname "$0")/wine_comum.sh"

(cd "$build" && cpack -G ZIP -B "$tmp/pacote" >/dev/null)
zip="$(ls "$tmp"/pacote/MarvessaFonelo-*-win64.zip)"
echo "zip: $(basename "$zip"), $(stat -c %s "$zip") bytes"
wineboot -i >/dev/null 2>&1
unzip -q "$zip" -d "$WINEPREFIX/drive_c"
nome="$(basename "$zip" .zip)"
pasta="$WINEPREFIX/drive_c/$nome"
exe="C:\\$nome\\MarvessaFonelo.exe"
# Qt's own words in Portuguese travel with it.
for qm in qtbase_pt_BR.qm qt_pt_PT.qm; do
    [ -s "$pasta/translations/$qm" ] || falha "the zip has no translations/$qm"
done

chave='HKCU\Software\Marvessa Fonelo\Marvessa Fonelo\Posições'
# A value as wine reg finds it by its exact name (the console may print the
# accents otherwise).
valor_e() {
    wine reg query "$chave" /v "$1" 2>/dev/null | tr -d '\r' | grep -q "REG_SZ *$2\$" ||
        { wine reg query "$chave" 2>/dev/null; falha "$1 is not $2"; }
}
abrir() {
    wine "$exe" >/dev/null 2>&1 &
    pids+=($!)
    principal_aberta
}

# First run: the file is made beside the program, as two empty lines, and
# the window's first place (1024 x 768 screen) is stored on closing.
abrir
esperar 10 test -f "$pasta/contatos.txt" || falha "no contatos.txt beside the program"
bytes_sao "$pasta/contatos.txt" 0d0a0d0a || falha "contatos.txt is not two empty lines"
if command -v import >/dev/null; then
    import -window root "$build/windows-principal.png" 2>/dev/null || true
fi
fechar
valor_e 'Posição-Topo' 6490
valor_e 'Posição-Esquerda' 12420

# A stored place is read back.
wine reg add "$chave" /v 'Posição-Topo' /d 3000 /f >/dev/null 2>&1
wine reg add "$chave" /v 'Posição-Esquerda' /d 4500 /f >/dev/null 2>&1
abrir
w="$(janela '^Marvessa Fonelo$' 195x300)"
# Wine may show the window before it has placed it.
na_posicao() { xdotool getwindowgeometry "$w" | grep -q "Position: $1"; }
esperar 10 na_posicao 300,200 ||
    { xdotool getwindowgeometry "$w"; falha "the stored place was not read back"; }
fechar
valor_e 'Posição-Topo' 3000
valor_e 'Posição-Esquerda' 4500

# The converter, on an old file, with its one button.
printf '"Ana"\xa7"1"\xa7"a@x"\r\n' >"$pasta/contatos.txt"
wine "C:\\$nome\\MarvessaFoneloConverter.exe" >/dev/null 2>&1 &
pids+=($!)
esperar 30 tem_janela '^Marvessa Fonelo Converter$' 258x138 || falha "the converter showed no window"
c="$(janela '^Marvessa Fonelo Converter$' 258x138)"
xdotool mousemove --window "$c" 128 100 click 1
esperar 10 bytes_sao "$pasta/contatos.txt" 416e617f317f6140780d0a0d0a ||
    falha "the converter did not convert the file"
if command -v import >/dev/null; then
    import -window root "$build/windows-conversor.png" 2>/dev/null || true
fi
# Closed from the keyboard as a user does: Wine's windows take typed keys,
# not keys sent to them.
xdotool windowactivate --sync "$c" key --clearmodifiers alt+F4
esperar 10 sem_janela '^Marvessa Fonelo Converter$' 258x138 || falha "the converter did not close"
echo "1 passed, 0 failed"
