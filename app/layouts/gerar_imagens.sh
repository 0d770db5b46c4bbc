#!/usr/bin/env bash
# Draws the pictures again, each at 1x and at 2x (name@2x, for screens of more
# pixels per point), and writes them into app/layouts/imagens (GIF, the main
# background as JPEG, the icon as ICO), converter/conversor.ico, and the
# packages' icons and the setup's picture into packaging/.
# Needs ImageMagick (convert) besides the build tools.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$raiz/build}"
cmake -S "$raiz" -B "$build" >/dev/null
cmake --build "$build" --target gerar_imagens >/dev/null
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
QT_QPA_PLATFORM=offscreen "$build/app/gerar_imagens" "$tmp" "$raiz/converter"
destino="$raiz/app/layouts/imagens"
mkdir -p "$destino"
for png in "$tmp"/*.png; do
    nome="$(basename "$png" .png)"
    if [ "${nome%@2x}" = fundo ]; then
        convert "$png" -strip -quality 92 "$destino/$nome.jpg"
    else
        convert "$png" -strip "$destino/$nome.gif"
    fi
done
cp "$tmp/marvessa.ico" "$destino/"
# The Linux menu entry's icons and the Windows setup's side picture (NSIS
# takes a BMP).
for lado in 48 256; do
    icones="$raiz/packaging/linux/icons/hicolor/${lado}x${lado}/apps"
    mkdir -p "$icones"
    convert "$tmp/pacotes/marvessa-fonelo-$lado.png" -strip "$icones/marvessa-fonelo.png"
done
convert "$tmp/pacotes/instalador.png" -strip BMP3:"$raiz/packaging/windows/instalador.bmp"
echo "pictures written to $destino"
