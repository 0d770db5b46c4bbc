# Windows x86-64, cross-compiled with MinGW-w64 (posix threads) against a Qt 6
# built for it: the folder named by MARVESSA_QT_WINDOWS, a CMake cache entry
# or an environment variable (scripts/qt-windows.sh makes such a folder). The
# host tools (moc, rcc) are Debian's own, of the same version.
if(NOT MARVESSA_QT_WINDOWS)
    set(MARVESSA_QT_WINDOWS "$ENV{MARVESSA_QT_WINDOWS}")
endif()
if(NOT EXISTS "${MARVESSA_QT_WINDOWS}/lib/cmake/Qt6/qt.toolchain.cmake")
    message(FATAL_ERROR "MARVESSA_QT_WINDOWS must name a Qt 6 built for Windows "
                        "(scripts/qt-windows.sh builds one); it is '${MARVESSA_QT_WINDOWS}'")
endif()
get_filename_component(MARVESSA_QT_WINDOWS "${MARVESSA_QT_WINDOWS}" ABSOLUTE)
set(MARVESSA_QT_WINDOWS "${MARVESSA_QT_WINDOWS}" CACHE PATH "Qt 6 built for Windows x86-64")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MARVESSA_QT_WINDOWS)

set(QT_HOST_PATH "/usr" CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR "/usr/lib/x86_64-linux-gnu/cmake" CACHE PATH "")
include("${MARVESSA_QT_WINDOWS}/lib/cmake/Qt6/qt.toolchain.cmake")
