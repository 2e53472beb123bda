# Run-time settings of the sanitizer build, kept in one place: every test gets
# them from CTest, and build-asan/sanitizer-env.sh gives them to a test run by
# hand (`. build-asan/sanitizer-env.sh; build-asan/tests/tst_window`).

# Mesa's driver is unloaded before LeakSanitizer reports, which leaves its
# leaks without symbols, so that no suppression can match them. Preloading the
# driver keeps it mapped; the sanitizer's runtime then no longer comes first,
# which it would otherwise refuse.
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
# The quarantine of freed memory is kept at 64 MB rather than 256: it fills
# during the soak's warm-up, so the soak's memory check sees the program's
# growth, not the quarantine's.
set(VUDURE_SANITIZER_ENVIRONMENT
    "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1:quarantine_size_mb=64"
    "LSAN_OPTIONS=suppressions=${dir}/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1"
    "LD_PRELOAD=${preload}")

get_property(tests DIRECTORY PROPERTY TESTS)
foreach(test IN LISTS tests)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ${VUDURE_SANITIZER_ENVIRONMENT})
endforeach()

set(script "# Sourced by a shell: the sanitizer build's run-time settings.\n")
foreach(setting IN LISTS VUDURE_SANITIZER_ENVIRONMENT)
    string(REGEX REPLACE "^([A-Z_]+)=(.*)$" "export \\1='\\2'\n" line "${setting}")
    string(APPEND script "${line}")
endforeach()
file(WRITE ${PROJECT_BINARY_DIR}/sanitizer-env.sh "${script}")
