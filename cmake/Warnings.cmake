# Every target links qmx_warnings, so the warning policy lives in one place.
option(QMX_WERROR "Treat compiler warnings as errors" OFF)
add_library(qmx_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(qmx_warnings INTERFACE -Wall -Wextra)
    if(QMX_WERROR)
        target_compile_options(qmx_warnings INTERFACE -Werror)
    endif()
endif()
