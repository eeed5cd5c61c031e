# Shared settings for every target of the project.

# The same warnings everywhere, errors with TALVORA_WERROR; the core libraries that
# parse bytes also get -Wconversion (pass CORE).
function(talvora_warnings target)
    cmake_parse_arguments(ARG "CORE" "" "" ${ARGN})
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
    if(TALVORA_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    # GCC 12 inlining as deeply as -O3 does reports overlapping copies inside std::string's
    # own code ("x" + std::to_string(n)), at places that move whenever the inlined code
    # changes. The other builds keep -Wrestrict, and there it is right.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-Wno-restrict>)
    endif()
    if(ARG_CORE)
        target_compile_options(${target} PRIVATE -Wconversion -Wsign-conversion)
    endif()
endfunction()

# talvora_library(name CORE? SOURCES ... DEPS ...)
function(talvora_library name)
    cmake_parse_arguments(ARG "CORE" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    if(ARG_CORE)
        talvora_warnings(${name} CORE)
    else()
        talvora_warnings(${name})
    endif()
endfunction()

# talvora_test(name SOURCES ... DEPS ...): one GoogleTest executable, each
# test case registered with CTest.
function(talvora_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
    talvora_warnings(${name})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES TIMEOUT 120
                   ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TALVORA_TEST_TMP=${CMAKE_CURRENT_BINARY_DIR}")
endfunction()
