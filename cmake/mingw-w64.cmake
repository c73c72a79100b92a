# Cross-compiles for 64-bit Windows with mingw-w64: the Qt-free OS layer, its tests and the stand-in
# tools always; with Qt for Windows (QMX_QT_WINDOWS, see QtWindows.cmake) the whole program too.
# Tests run under Wine in a prefix of their own inside the build tree, never the user's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_STRIP x86_64-w64-mingw32-strip CACHE FILEPATH "")
# QtWindows.cmake appends the Qt tree; packages are looked up only below these roots, so the host's
# own Qt is never taken for the Windows one.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The C++ runtime is linked per target: statically into the Qt-free programs (qmx_static_runtime), as
# DLLs into the Qt ones, which must share Qt's runtime.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= wine)
