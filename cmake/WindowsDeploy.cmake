# The Windows program folder: beside qmxgui.exe exactly the DLLs it loads (checked under Wine with
# WINEDEBUG=+loaddll): Qt Core, Gui and Widgets, the windows platform plugin, the Vista style (Qt's
# default style on Windows), the JPEG plugin for the credits picture, and the mingw C++ runtime.
# Everything is stripped on install; no headers, import libraries or debug files go in.

set(QMX_DEPLOY_QT_DLLS Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll)
set(QMX_DEPLOY_QT_PLUGINS platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qjpeg.dll)

foreach(dll ${QMX_DEPLOY_QT_DLLS})
    install(FILES ${QMX_QT_WINDOWS_DIR}/bin/${dll} DESTINATION ${QMX_INSTALL_DIR})
endforeach()
foreach(plugin ${QMX_DEPLOY_QT_PLUGINS})
    get_filename_component(qmx_plugin_dir ${plugin} DIRECTORY)
    install(FILES ${QMX_QT_WINDOWS_DIR}/plugins/${plugin} DESTINATION ${QMX_INSTALL_DIR}/${qmx_plugin_dir})
endforeach()
install(FILES ${QMX_MINGW_RUNTIME_DLLS} DESTINATION ${QMX_INSTALL_DIR})

# CPACK_STRIP_FILES strips only the program; the DLLs are stripped here, in the install tree.
set(qmx_deployed_dlls ${QMX_DEPLOY_QT_DLLS} ${QMX_DEPLOY_QT_PLUGINS})
foreach(dll ${QMX_MINGW_RUNTIME_DLLS})
    get_filename_component(qmx_name ${dll} NAME)
    list(APPEND qmx_deployed_dlls ${qmx_name})
endforeach()
install(CODE "
    foreach(dll ${qmx_deployed_dlls})
        execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QMX_INSTALL_DIR}/\${dll}\"
            RESULT_VARIABLE rc)
        if(NOT rc EQUAL 0)
            message(FATAL_ERROR \"strip failed on \${dll}\")
        endif()
    endforeach()
")
