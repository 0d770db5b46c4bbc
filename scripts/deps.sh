#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, only those missing.
# Usage: scripts/deps.sh [run|test|fuzz|windows]
set -euo pipefail

# QtKeychain, and libsecret, which it loads to reach the Secret Service;
# Qt's own translations, for its dialogs in Portuguese.
comuns=(cmake ninja-build ccache lld g++ qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
        fonts-dejavu-core fonts-liberation qtkeychain-qt6-dev libsecret-1-0)
case "${1:-test}" in
    run) pacotes=("${comuns[@]}") ;;
    # Xvfb, a window manager, a tray and xdotool for the tests that need a
    # real display; ImageMagick for screenshots.
    # Radicale, the CardDAV server the sync tests start, and openssl for its
    # certificate (and curl to fill one for the screenshots); a session bus
    # and GNOME Keyring for the keychain's test; desktop-file-validate for
    # the menu entry; the accessibility bus and the client library screen
    # readers use, for the screen-reader test; poppler's pdftotext and
    # pdftoppm, which read the list to print back.
    test) pacotes=("${comuns[@]}" xvfb xauth openbox trayer xdotool x11-utils x11-xserver-utils imagemagick
                   radicale openssl dbus-daemon gnome-keyring curl desktop-file-utils
                   at-spi2-core python3-gi gir1.2-atspi-2.0 poppler-utils) ;;
    # clang with libFuzzer and the sanitizers' runtimes.
    fuzz) pacotes=("${comuns[@]}" clang libclang-rt-14-dev) ;;
    # MinGW-w64 for Windows x86-64, Debian's Qt host tools and Qt's
    # translations (shipped beside the program), NSIS for the
    # setup, Wine to run the result, and a real display for the tests that
    # need one; poppler's pdftotext, which the tests under Wine start on
    # this side.
    windows) pacotes=(cmake ninja-build ccache lld qt6-base-dev-tools qt6-translations-l10n g++-mingw-w64-x86-64-posix nsis
                      gcc-mingw-w64-x86-64-posix wine wine64 unzip xz-utils xvfb xauth openbox
                      trayer xdotool x11-utils x11-xserver-utils imagemagick poppler-utils) ;;
    *) echo "usage: $0 [run|test|fuzz|windows]" >&2; exit 2 ;;
esac

faltam=()
for p in "${pacotes[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        faltam+=("$p")
    fi
done
[ ${#faltam[@]} -eq 0 ] && exit 0

echo "Installing: ${faltam[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${faltam[@]}"
