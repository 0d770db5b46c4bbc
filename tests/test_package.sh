#!/usr/bin/env bash
# The release archive, unpacked into a fresh folder whose path has a space,
# carries a valid menu entry and its icons; the commands of its
# docs/release.md put the entry
# in place for one user, and it starts the phone book (which creates its
# contact file there); the converter starts too.
set -euo pipefail
build="$1"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
falha() { echo "FAIL: $*"; exit 1; }
(cd "$build" && cpack -G TGZ -B "$tmp/pacote" >/dev/null)
arquivo=$(ls "$tmp"/pacote/MarvessaFonelo-*.tar.gz)
mkdir "$tmp/meus programas"
tar -xzf "$arquivo" -C "$tmp/meus programas"
pasta=$(ls -d "$tmp"/meus\ programas/MarvessaFonelo-*)
for f in MarvessaFonelo MarvessaFoneloConverter README.md docs/release.md marvessa-fonelo.desktop \
    icons/hicolor/48x48/apps/marvessa-fonelo.png icons/hicolor/256x256/apps/marvessa-fonelo.png \
    icons/hicolor/scalable/apps/marvessa-fonelo.svg; do
    [ -e "$pasta/$f" ] || falha "missing from the archive: $f"
done
for lado in 48 256; do
    # A PNG's width and height, big-endian, from its 17th byte.
    [ "$(od -An -tx1 -j16 -N8 "$pasta/icons/hicolor/${lado}x$lado/apps/marvessa-fonelo.png" |
        tr -d ' \n')" = "$(printf '%08x%08x' "$lado" "$lado")" ] ||
        falha "the ${lado}x$lado icon is not that size"
done
desktop-file-validate "$pasta/marvessa-fonelo.desktop" || falha "the menu entry is not valid"

# The commands of the archive's own docs/release.md, as they stand there, in
# the unpacked folder.
export HOME="$tmp/casa" XDG_CONFIG_HOME="$tmp/casa/config" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
sed -n '/^    mkdir -p ~\/.local\/share\/applications/,/marvessa-fonelo.desktop$/s/^    //p' "$pasta/docs/release.md" \
    >"$tmp/menu.sh"
[ "$(wc -l <"$tmp/menu.sh")" -eq 4 ] || falha "docs/release.md's menu commands were not found"
(cd "$pasta" && bash -e "$tmp/menu.sh") || falha "docs/release.md's menu commands failed"
entrada="$HOME/.local/share/applications/marvessa-fonelo.desktop"
desktop-file-validate "$entrada" || falha "the installed menu entry is not valid"
for f in 48x48/apps/marvessa-fonelo.png 256x256/apps/marvessa-fonelo.png \
    scalable/apps/marvessa-fonelo.svg; do
    [ -f "$HOME/.local/share/icons/hicolor/$f" ] || falha "no icon $f in place"
done

# The phone book as the menu starts it (its command split as the desktop
# does), then the converter.
eval "set -- $(sed -n 's/^Exec=//p' "$entrada")"
[ "$1" = "$pasta/MarvessaFonelo" ] || falha "the menu entry starts $1"
for programa in "$1" "$pasta/MarvessaFoneloConverter"; do
    "$programa" >"$tmp/saida.log" 2>&1 &
    pid=$!
    sleep 2
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "$programa did not stay up:"; cat "$tmp/saida.log"; exit 1
    fi
    kill "$pid"; wait "$pid" 2>/dev/null || true
done
[ "$(od -An -tx1 "$pasta/contatos.txt" | tr -d ' \n')" = "0d0a0d0a" ] ||
    falha "the phone book did not create contatos.txt as two empty lines"
echo "1 passed, 0 failed"
