#!/usr/bin/env bash
# The release archive, unpacked into a fresh folder, starts the phone book
# (which creates its contact file there) and the converter.
set -euo pipefail
build="$1"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
(cd "$build" && cpack -G TGZ -B "$tmp/pacote" >/dev/null)
arquivo=$(ls "$tmp"/pacote/MarvessaFonelo-*.tar.gz)
mkdir "$tmp/usuario"
tar -xzf "$arquivo" -C "$tmp/usuario"
pasta=$(ls -d "$tmp"/usuario/MarvessaFonelo-*)
for f in MarvessaFonelo MarvessaFoneloConverter README.md; do
    [ -e "$pasta/$f" ] || { echo "missing from the archive: $f"; exit 1; }
done
export QT_QPA_PLATFORM=offscreen HOME="$tmp" XDG_CONFIG_HOME="$tmp/config"
for programa in MarvessaFonelo MarvessaFoneloConverter; do
    "$pasta/$programa" >"$tmp/$programa.log" 2>&1 &
    pid=$!
    sleep 2
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "$programa did not stay up:"; cat "$tmp/$programa.log"; exit 1
    fi
    kill "$pid"; wait "$pid" 2>/dev/null || true
done
[ "$(od -An -tx1 "$pasta/contatos.txt" | tr -d ' \n')" = "0d0a0d0a" ] || {
    echo "the phone book did not create contatos.txt as two empty lines"; exit 1; }
echo "1 passed, 0 failed"
