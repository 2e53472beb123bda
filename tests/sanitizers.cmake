# Run-time settings of the sanitizer build, in one place: the test programs
# get them from CTest; build-asan/sanitizer-env.sh has them for a test run by
# hand, and for the scripts, which give them to the project's programs only.
#
# Mesa's driver is unloaded before LeakSanitizer reports, leaving its leaks
# without symbols that a suppression could match: preloading keeps it mapped
# (the sanitizer's runtime then no longer comes first, which it must be told).
find_file(VUDURE_MESA_DRIVER swrast_dri.so
    PATHS /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/dri /usr/lib64/dri /usr/lib/dri NO_DEFAULT_PATH)
find_file(VUDURE_MESA_GLX libGLX_mesa.so.0
    PATHS /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE} /usr/lib64 /usr/lib NO_DEFAULT_PATH)
set(preload "")
if(VUDURE_MESA_DRIVER AND VUDURE_MESA_GLX)
    set(preload "${VUDURE_MESA_DRIVER}:${VUDURE_MESA_GLX}")
else()
    message(WARNING "Mesa's swrast_dri.so or libGLX_mesa.so.0 not found: leaks inside the GL driver "
        "will show without symbols and may fail the GL tests.")
endif()

set(dir ${CMAKE_CURRENT_SOURCE_DIR})
set(VUDURE_SANITIZER_ENVIRONMENT
    "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1"
    "LSAN_OPTIONS=suppressions=${dir}/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1"
    "LD_PRELOAD=${preload}")

set(script "# Sourced by a shell: the sanitizer build's run-time settings.\n")
foreach(setting IN LISTS VUDURE_SANITIZER_ENVIRONMENT)
    string(REGEX REPLACE "^([A-Z_]+)=(.*)$" "export \\1='\\2'\n" line "${setting}")
    string(APPEND script "${line}")
endforeach()
set(env_script ${PROJECT_BINARY_DIR}/sanitizer-env.sh)
file(WRITE ${env_script} "${script}")

get_property(scripts GLOBAL PROPERTY VUDURE_SCRIPT_TESTS)
get_property(tests DIRECTORY PROPERTY TESTS)
foreach(test IN LISTS tests)
    if(test IN_LIST scripts)
        set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT VUDURE_SANITIZER_ENV=${env_script})
    elseif(NOT test STREQUAL subproject_build)
        set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ${VUDURE_SANITIZER_ENVIRONMENT})
    endif()
endforeach()
