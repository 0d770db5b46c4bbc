#!/usr/bin/env bash
# The Windows setup in a fresh Wine prefix on a real display (run through
# xvfb_run.sh), as a user and an administrator use it: a silent install for
# the current user, the phone book started from its Start-menu entry and a
# contact added in its window, the "Apps and features" entry, a setup and an
# uninstall refused while the program runs, a reinstall over it and a
# silent uninstall, which keep the contacts, their versions and the sync
# state and remove everything else.
# Usage: test_setup_windows.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
. "$(dirname "$0")/wine_comum.sh"

cmake --build "$build" --target setup >/dev/null
versao="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
setup="$build/MarvessaFonelo-$versao-setup.exe"
[ -f "$setup" ] || falha "no $(basename "$setup")"
echo "setup: $(basename "$setup"), $(stat -c %s "$setup") bytes"
# The setup's version resource carries the project's version.
versao_de() { strings -n 2 -el "$1" | grep -A1 -x ProductVersion | tail -n 1; }
[ "$(versao_de "$setup")" = "$versao" ] || falha "the setup's ProductVersion is not $versao"

wineboot -i >/dev/null 2>&1
wine "$setup" /S /ATALHO || falha "the silent install failed ($?)"

local_win="$(variavel_windows LOCALAPPDATA)\\Programs\\Marvessa Fonelo"
pasta="$(caminho_unix "$local_win")"
menu="$(caminho_unix "$(variavel_windows APPDATA)")/Microsoft/Windows/Start Menu/Programs"
area="$(caminho_unix "$(variavel_windows USERPROFILE)\\Desktop")"
[ -f "$pasta/MarvessaFonelo.exe" ] || falha "nothing installed in $local_win"
for exe in MarvessaFonelo MarvessaFoneloConverter; do
    [ "$(versao_de "$pasta/$exe.exe")" = "$versao" ] || falha "$exe's ProductVersion is not $versao"
done
for f in "$menu/Marvessa Fonelo.lnk" "$menu/Marvessa Fonelo Converter.lnk" \
    "$area/Marvessa Fonelo.lnk"; do
    [ -f "$f" ] || falha "no shortcut $f"
done
tr -d '\0' <"$menu/Marvessa Fonelo.lnk" | grep -aqF "$local_win\\MarvessaFonelo.exe" ||
    falha "the Start-menu entry does not point at the installed program"

# The per-user entry of "Apps and features", with its uninstaller.
chave='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\MarvessaFonelo'
entrada="$(wine reg query "$chave" 2>/dev/null | tr -d '\r')"
tem() { grep -qxF "    $1    $2" <<<"$entrada" || { echo "$entrada"; falha "$1 is not $2"; }; }
tem DisplayName 'REG_SZ    Marvessa Fonelo'
tem DisplayVersion "REG_SZ    $versao"
tem Publisher 'REG_SZ    Equipe Marvessa'
tem DisplayIcon "REG_SZ    $local_win\\MarvessaFonelo.exe,0"
tem InstallLocation "REG_SZ    $local_win"
tem UninstallString "REG_SZ    \"$local_win\\Desinstalar.exe\""
tem QuietUninstallString "REG_SZ    \"$local_win\\Desinstalar.exe\" /S"
kib=$(($(sed -n 's/^ *EstimatedSize *REG_DWORD *//p' <<<"$entrada")))
instalados=$(find "$pasta" -type f ! -name Desinstalar.exe -printf '%s\n' | awk '{s += $1} END {print s}')
[ "$kib" -eq $(((instalados + 1023) / 1024)) ] || falha "EstimatedSize $kib KiB is not the size"

# Started as the Start-menu entry starts it; a contact added in its window.
wine start /unix "$menu/Marvessa Fonelo.lnk" >/dev/null 2>&1
principal_aberta
w="$(janela '^Marvessa Fonelo$' 195x300)"
# A click on imgAdiciona, again until the dialog shows: Wine may show the
# window before it has placed it, and a click then lands elsewhere.
adicionar() {
    xdotool windowactivate --sync "$w" mousemove --window "$w" 25 181 click 1
    esperar 5 tem_janela '^Adicionar contato$' 162x130
}
esperar 20 adicionar || falha "the add dialog did not open"
d="$(janela '^Adicionar contato$' 162x130)"
# Wine's windows take typed keys, not keys sent to them.
xdotool windowactivate --sync "$d" type --delay 20 'Zelia Teste'
xdotool key Tab type --delay 20 '11 5555-0000'
xdotool key Tab type --delay 20 'zelia@exemplo.com'
xdotool mousemove --window "$d" 52 118 click 1 # lblSim
# The record as the program writes it.
printf 'Zelia Teste\x7f11 5555-0000\x7fzelia@exemplo.com\r\n\r\n\r\n' >"$tmp/contatos.txt"
esperar 10 cmp -s "$tmp/contatos.txt" "$pasta/contatos.txt" ||
    { od -c "$pasta/contatos.txt"; falha "the contact was not added"; }
esperar 10 sem_janela '^Adicionar contato$' 162x130 || falha "the add dialog did not close"

# While it runs, neither the setup nor the uninstaller changes anything.
wine "$setup" /S && falha "the setup went on while the program ran"
wine "$pasta/Desinstalar.exe" /S
# It goes on from a copy of itself in the temporary folder.
esperar 30 sh -c '! pgrep -f "[~]nsu" >/dev/null' || falha "the uninstaller did not end"
[ -f "$pasta/MarvessaFonelo.exe" ] && [ -f "$menu/Marvessa Fonelo.lnk" ] ||
    falha "the uninstaller removed files while the program ran"
fechar

# A reinstall over it keeps the contacts, their versions and the sync state.
[ -d "$pasta/contatos.historico" ] || falha "no earlier versions were kept"
printf 'estado' >"$pasta/contatos.sincronizacao"
guardados() { (cd "$pasta" && find contatos.* -type f -exec md5sum {} + | sort); }
antes="$(guardados)"
wine "$setup" /S || falha "the reinstall failed ($?)"
[ "$(guardados)" = "$antes" ] || falha "the reinstall changed the contacts"
wine "$setup" /S || falha "the reinstall failed ($?)"

# The silent uninstall leaves them and removes the rest: files, shortcuts and
# the "Apps and features" entry.
wine "$pasta/Desinstalar.exe" /S
wineserver -w
[ "$(guardados)" = "$antes" ] || falha "the uninstall changed the contacts"
resto="$(cd "$pasta" && ls -A | tr '\n' ' ')"
[ "$resto" = "contatos.historico contatos.sincronizacao contatos.txt " ] ||
    falha "the uninstall left: $resto"
for f in "$menu/Marvessa Fonelo.lnk" "$menu/Marvessa Fonelo Converter.lnk" \
    "$area/Marvessa Fonelo.lnk"; do
    [ ! -e "$f" ] || falha "the shortcut $f is still there"
done
wine reg query "$chave" >/dev/null 2>&1 && falha "the Apps and features entry is still there"

# A later setup goes where the last one went, where the contacts are: one
# installed into another folder is updated there.
wine "$setup" /S '/D=C:\Agenda' || falha "the install into C:\\Agenda failed ($?)"
wine "$setup" /S || falha "the reinstall failed ($?)"
[ -f "$WINEPREFIX/drive_c/Agenda/Desinstalar.exe" ] && [ ! -e "$pasta/MarvessaFonelo.exe" ] ||
    falha "the reinstall did not go where the last install went"
echo "1 passed, 0 failed"
