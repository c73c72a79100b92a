# `cmake --install` makes a self-contained program folder: the program keeps its files beside itself.
# Linux: CPack turns it into a .tar.gz of that folder and a .deb that installs it under /opt/qmxgui2
# with a launcher that runs a per-user copy (settings stay writable and per user).
# Windows (the mingw build): CPack zips the folder with the Qt and mingw DLLs the program loads.

set(QMX_INSTALL_DIR ".")
install(TARGETS qmxgui RUNTIME DESTINATION ${QMX_INSTALL_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/language.qmxII ${CMAKE_SOURCE_DIR}/README.md
    DESTINATION ${QMX_INSTALL_DIR})
install(FILES ${CMAKE_BINARY_DIR}/help.chm DESTINATION ${QMX_INSTALL_DIR} OPTIONAL)
install(DIRECTORY ${CMAKE_BINARY_DIR}/help DESTINATION ${QMX_INSTALL_DIR} OPTIONAL)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/languages DESTINATION ${QMX_INSTALL_DIR} OPTIONAL)
file(WRITE ${CMAKE_BINARY_DIR}/VERSION "${PROJECT_VERSION}\n")
install(FILES ${CMAKE_BINARY_DIR}/VERSION DESTINATION ${QMX_INSTALL_DIR})

set(CPACK_PACKAGE_NAME "qmxgui2")
set(CPACK_PACKAGE_VENDOR "QMX GUI II developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Front end for the SDK's BSP, VIS and RAD map-compile tools")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "QMX GUI II developers <qmxgui2@users.noreply.invalid>")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

if(WIN32)
    include(WindowsDeploy)
    set(CPACK_GENERATOR "ZIP")
    set(CPACK_PACKAGE_FILE_NAME "qmxgui2-${PROJECT_VERSION}-windows-x86_64")
    set(CPACK_STRIP_FILES ON)
    include(CPack)
    return()
endif()

install(FILES
    ${CMAKE_SOURCE_DIR}/resources/desktop/qmxgui2.desktop
    ${CMAKE_SOURCE_DIR}/resources/desktop/qmxgui2.png
    DESTINATION ${QMX_INSTALL_DIR})
install(PROGRAMS ${CMAKE_SOURCE_DIR}/resources/desktop/qmxgui2-launcher DESTINATION ${QMX_INSTALL_DIR})

set(CPACK_GENERATOR "TGZ;DEB")
set(CPACK_PACKAGE_FILE_NAME "qmxgui2-${PROJECT_VERSION}-linux-x86_64")
set(CPACK_DEBIAN_FILE_NAME "qmxgui2_${PROJECT_VERSION}_amd64.deb")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libstdc++6, libc6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wine, xchm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/resources/desktop/postinst ${CMAKE_SOURCE_DIR}/resources/desktop/prerm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The .deb puts the program folder under /opt; the .tar.gz is the portable folder itself.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/CPackPerGenerator.cmake)
include(CPack)
