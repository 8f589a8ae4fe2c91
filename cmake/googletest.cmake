# GoogleTest: Debian's build natively; for Windows it is built from Debian's
# source in /usr/src/googletest with the cross compiler.
if(CMAKE_CROSSCOMPILING)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # Its sources are not ours to keep warning-free.
    target_compile_options(gtest PRIVATE -w)
    target_compile_options(gtest_main PRIVATE -w)
else()
    find_package(GTest REQUIRED)
endif()

# Every ctest entry has a time limit, so that a test that hangs fails on its
# own instead of stopping the run: the default fits a program that starts
# under Wine and runs for a few seconds; a test that plays, waits or makes a
# Wine prefix gets its own.
set(TUNELATHE_TEST_TIMEOUT 60)
function(tunelathe_test_timeout name)
    if(ARGC GREATER 1)
        set(seconds ${ARGV1})
    else()
        set(seconds ${TUNELATHE_TEST_TIMEOUT})
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${seconds})
endfunction()

# One ctest entry per test program: under Wine each process start is costly.
#   tunelathe_test(NAME SOURCES ... LIBS ... [ARGS ...] [TIMEOUT seconds])
function(tunelathe_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;ARGS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name} ${ARG_ARGS})
    tunelathe_test_timeout(${name} ${ARG_TIMEOUT})
endfunction()

# A GTK test program: each run gets a private X display. GTK keeps its own
# allocations until the process ends, which the leak checker would report.
function(tunelathe_gtk_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/cmake/with-display $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
    tunelathe_test_timeout(${name} 120)
endfunction()
