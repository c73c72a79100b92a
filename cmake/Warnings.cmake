# Every target links qmx_warnings, so the warning policy lives in one place.
option(QMX_WERROR "Treat compiler warnings as errors" OFF)

add_library(qmx_warnings INTERFACE)
if(MSVC)
    # /W4 covers -Wall -Wextra and, with C4456-C4459 (a declaration hides another), -Wshadow; C4265 (virtual
    # functions without a virtual destructor) is off by default and stands for -Wnon-virtual-dtor;
    # /permissive- refuses the language extensions that -Wpedantic warns about.
    target_compile_options(qmx_warnings INTERFACE /W4 /w14265 /permissive-)
    if(QMX_WERROR)
        target_compile_options(qmx_warnings INTERFACE /WX)
    endif()
elseif(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(qmx_warnings INTERFACE -Wall -Wextra -Wshadow -Wpedantic
                                                 $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)
    if(QMX_WERROR)
        target_compile_options(qmx_warnings INTERFACE -Werror)
    endif()
endif()
