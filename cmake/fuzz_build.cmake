# The libFuzzer targets of fuzz/, built with clang in a tree of their own (build/fuzz: the main
# tree may use any compiler), and one test that runs each target briefly over its corpus. The
# build waits for the sanitizer trees, so a 2-core machine compiles one tree at a time.
find_program(GLINTDECK_CLANG_CXX NAMES clang++ clang++-14)
if(NOT GLINTDECK_CLANG_CXX)
    message(STATUS "clang++ not found: the fuzz targets are neither built nor run")
    return()
endif()

include(ExternalProject)
set(fuzz_after glintdeck_all_tests)
if(TARGET sanitize_address)
    set(fuzz_after sanitize_address)
endif()
ExternalProject_Add(fuzz_tree
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${PROJECT_BINARY_DIR}/fuzz
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
        -DCMAKE_CXX_COMPILER=${GLINTDECK_CLANG_CXX}
        -DGLINTDECK_FUZZ=ON
        -DGLINTDECK_WERROR=${GLINTDECK_WERROR}
        -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    DEPENDS ${fuzz_after})

# A few seconds per target: the corpus replayed, then new inputs tried. `make fuzz` runs longer.
add_test(NAME fuzz
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/run-fuzzers --fresh ${PROJECT_BINARY_DIR}/fuzz 4
                 ${PROJECT_BINARY_DIR}/fuzz-work)
set_tests_properties(fuzz PROPERTIES TIMEOUT 600)
