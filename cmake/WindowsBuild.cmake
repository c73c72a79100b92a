# The mingw build's run-time side: where the Windows programs find their DLLs under Wine, and which
# DLLs the program folder ships. Included after QtWindows.cmake.

# The mingw C++ runtime DLLs that the Qt programs load (Qt itself is built against them).
set(QMX_MINGW_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE qmx_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${qmx_dll}" OR NOT EXISTS "${qmx_dll}")
        message(FATAL_ERROR "mingw-w64: ${dll} not found beside ${CMAKE_CXX_COMPILER}")
    endif()
    list(APPEND QMX_MINGW_RUNTIME_DLLS "${qmx_dll}")
endforeach()

# Folders Wine searches for DLLs when the build's own programs run (tests, benchmark): the mingw
# runtime and Qt's bin/. Qt then finds its plugins beside bin/.
set(QMX_WINE_DLL_DIRS)
foreach(qmx_dll ${QMX_MINGW_RUNTIME_DLLS})
    get_filename_component(qmx_dir "${qmx_dll}" DIRECTORY)
    list(APPEND QMX_WINE_DLL_DIRS "${qmx_dir}")
endforeach()
if(QMX_QT_WINDOWS_DIR)
    list(APPEND QMX_WINE_DLL_DIRS "${QMX_QT_WINDOWS_DIR}/bin")
endif()
list(REMOVE_DUPLICATES QMX_WINE_DLL_DIRS)

set(QMX_TEST_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/wine/wine-run ${QMX_TEST_WINEPREFIX} ${QMX_WINE_DLL_DIRS} --)

# Qt-free programs carry their C++ runtime inside, so they run anywhere without DLLs beside them (the
# stand-in tools are copied into scratch SDK folders).
function(qmx_static_runtime target)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()
