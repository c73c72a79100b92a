# Qt for Windows in the mingw build: QMX_QT_WINDOWS names either an unpacked Qt tree or its .tar.xz
# (scripts/build-qt-windows makes one). A tarball is unpacked once into <build>/qt6-windows. Sets
# QMX_QT_WINDOWS_DIR to the usable tree, or leaves it empty when QMX_QT_WINDOWS is not set.
# A missing or damaged copy stops the configure with one line and leaves no half-unpacked tree.

set(QMX_QT_WINDOWS "$ENV{QMX_QT_WINDOWS}" CACHE STRING
    "Qt for Windows (mingw, DLLs): a qt6-windows folder or its .tar.xz; empty builds only the Qt-free layer")
set(QMX_QT_WINDOWS_DIR "")

# Files without which the tree cannot build or run the program.
set(QMX_QT_WINDOWS_REQUIRED
    lib/cmake/Qt6/Qt6Config.cmake
    lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake
    lib/cmake/Qt6Test/Qt6TestConfig.cmake
    lib/libQt6Core.a
    bin/Qt6Core.dll
    bin/Qt6Gui.dll
    bin/Qt6Widgets.dll
    bin/Qt6Test.dll
    plugins/platforms/qwindows.dll
    plugins/platforms/qoffscreen.dll
    plugins/styles/qwindowsvistastyle.dll)

function(qmx_qt_windows_fail text)
    message(FATAL_ERROR "Qt for Windows: ${text}")
endfunction()

# Sets missing_var to the first required file that dir lacks, or to "".
function(qmx_qt_windows_missing dir missing_var)
    foreach(file ${QMX_QT_WINDOWS_REQUIRED})
        if(NOT EXISTS "${dir}/${file}")
            set(${missing_var} "${file}" PARENT_SCOPE)
            return()
        endif()
    endforeach()
    set(${missing_var} "" PARENT_SCOPE)
endfunction()

if(QMX_QT_WINDOWS STREQUAL "")
    return()
endif()

get_filename_component(qmx_qt_source "${QMX_QT_WINDOWS}" ABSOLUTE BASE_DIR "${CMAKE_SOURCE_DIR}")
if(NOT EXISTS "${qmx_qt_source}")
    qmx_qt_windows_fail("${qmx_qt_source} does not exist (QMX_QT_WINDOWS)")
endif()

if(IS_DIRECTORY "${qmx_qt_source}")
    qmx_qt_windows_missing("${qmx_qt_source}" qmx_missing)
    if(qmx_missing)
        qmx_qt_windows_fail("${qmx_qt_source} is not a Qt for Windows tree: ${qmx_missing} is missing")
    endif()
    set(QMX_QT_WINDOWS_DIR "${qmx_qt_source}")
else()
    # Unpack into a scratch folder first and move it into place only once it is complete and
    # checked, so an interrupted or damaged unpack never leaves a tree that looks usable.
    set(qmx_qt_dir "${CMAKE_BINARY_DIR}/qt6-windows")
    set(qmx_qt_stamp "${CMAKE_BINARY_DIR}/qt6-windows.source")
    file(SIZE "${qmx_qt_source}" qmx_size)
    file(TIMESTAMP "${qmx_qt_source}" qmx_time "%Y-%m-%dT%H:%M:%S" UTC)
    set(qmx_stamp_text "${qmx_qt_source} ${qmx_size} ${qmx_time}")
    set(qmx_old_stamp "")
    if(EXISTS "${qmx_qt_stamp}")
        file(READ "${qmx_qt_stamp}" qmx_old_stamp)
    endif()
    if(NOT qmx_old_stamp STREQUAL qmx_stamp_text OR NOT EXISTS "${qmx_qt_dir}/lib/cmake/Qt6/Qt6Config.cmake")
        set(qmx_scratch "${CMAKE_BINARY_DIR}/qt6-windows.unpacking")
        file(REMOVE_RECURSE "${qmx_scratch}" "${qmx_qt_dir}" "${qmx_qt_stamp}")
        file(MAKE_DIRECTORY "${qmx_scratch}")
        message(STATUS "Unpacking Qt for Windows from ${qmx_qt_source}")
        execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${qmx_qt_source}"
            WORKING_DIRECTORY "${qmx_scratch}"
            RESULT_VARIABLE qmx_tar_result OUTPUT_QUIET ERROR_QUIET)
        # The tarball holds one folder, qt6-windows/.
        set(qmx_unpacked "${qmx_scratch}/qt6-windows")
        set(qmx_missing "")
        if(qmx_tar_result EQUAL 0)
            qmx_qt_windows_missing("${qmx_unpacked}" qmx_missing)
        endif()
        if(NOT qmx_tar_result EQUAL 0 OR qmx_missing)
            file(REMOVE_RECURSE "${qmx_scratch}")
            if(NOT qmx_tar_result EQUAL 0)
                qmx_qt_windows_fail("${qmx_qt_source} is damaged: it does not unpack")
            endif()
            qmx_qt_windows_fail("${qmx_qt_source} is damaged or not Qt for Windows: qt6-windows/${qmx_missing} is missing")
        endif()
        file(RENAME "${qmx_unpacked}" "${qmx_qt_dir}")
        file(REMOVE_RECURSE "${qmx_scratch}")
        file(WRITE "${qmx_qt_stamp}" "${qmx_stamp_text}")
    endif()
    set(QMX_QT_WINDOWS_DIR "${qmx_qt_dir}")
endif()

# The toolchain searches packages only below its root path; Debian's own moc, rcc and uic (the same
# Qt version) stand in for the host tools.
list(APPEND CMAKE_FIND_ROOT_PATH "${QMX_QT_WINDOWS_DIR}")
list(APPEND CMAKE_PREFIX_PATH "${QMX_QT_WINDOWS_DIR}")
set(QT_HOST_PATH "/usr" CACHE PATH "Host Qt for moc, rcc and uic")
set(QT_HOST_PATH_CMAKE_DIR "/usr/lib/x86_64-linux-gnu/cmake" CACHE PATH "Host Qt's CMake packages")
