#!/usr/bin/env bash
# Builds Qt 6.4.2 for Windows x86-64 with MinGW-w64 (posix threads) from
# Debian 12's own qt6-base source package: Core, Gui, Widgets, Network and
# Test, the windows, offscreen and minimal platform plugins, the gif, ico and
# jpeg image plugins, the Windows styles. About half an hour on two cores.
# The result goes to the folder given (default build-windows/qt6-mingw) and
# its path is printed last; a folder already built is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
raiz="$PWD"
destino="$(realpath -m "${1:-build-windows/qt6-mingw}")"
if [ -f "$destino/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
    echo "$destino"
    exit 0
fi
scripts/deps.sh windows >&2
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

fonte="$destino-fonte"
mkdir -p "$fonte"
cd "$fonte"
if ! ls qt6-base_6.4.2+dfsg.orig.tar.xz >/dev/null 2>&1; then
    if ! apt-get source --download-only qt6-base >&2; then
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
        apt-get source --download-only qt6-base >&2
    fi
fi
[ -d qtbase-everywhere-src-6.4.2 ] || tar xJf qt6-base_6.4.2+dfsg.orig.tar.xz

# The compiler, as the toolchain file of the Qt folder chain-loads it.
cp "$raiz/cmake/mingw64.cmake" "$fonte/mingw64.cmake"
cmake -G Ninja -S qtbase-everywhere-src-6.4.2 -B build \
    -DCMAKE_TOOLCHAIN_FILE="$fonte/mingw64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$destino" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no \
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=ON \
    -DFEATURE_network=ON -DFEATURE_localserver=ON -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_freetype=ON \
    -DFEATURE_system_freetype=OFF -DFEATURE_fontconfig=OFF -DFEATURE_icu=OFF \
    -DFEATURE_vulkan=OFF >&2
cmake --build build --parallel "$(nproc)" >&2
cmake --install build >&2
cp "$fonte/mingw64.cmake" "$destino/"
find "$destino" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
# Relocatable: the toolchain file chain-loads mingw64.cmake from beside it.
sed -i 's|"[^"]*/mingw64.cmake"|"${CMAKE_CURRENT_LIST_DIR}/../../../mingw64.cmake"|' \
    "$destino/lib/cmake/Qt6/qt.toolchain.cmake"
rm -rf "$fonte"
echo "$destino"
