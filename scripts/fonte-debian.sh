#!/usr/bin/env bash
# Downloads a Debian source package into the current folder, adding deb-src
# entries for the archives already configured when there are none.
# Usage: scripts/fonte-debian.sh PACKAGE
set -euo pipefail
pacote="$1"
apt-get source --download-only "$pacote" >&2 && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# Source packages come from the same archives as the binary ones.
echo "Adding deb-src entries for the configured Debian archives" >&2
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        $sudo tee /etc/apt/sources.list.d/marvessa-deb-src.sources >/dev/null
fi
if [ -f /etc/apt/sources.list ]; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
        $sudo tee /etc/apt/sources.list.d/marvessa-deb-src.list >/dev/null
fi
$sudo apt-get update -qq
apt-get source --download-only "$pacote" >&2
