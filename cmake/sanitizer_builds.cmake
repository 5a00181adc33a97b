# The same tree built twice more, with ThreadSanitizer and with AddressSanitizer +
# UndefinedBehaviorSanitizer; tests/ registers their suites in this tree's CTest.
# The builds run one after another (and after this tree's tests) so a 2-core machine
# is not asked to compile three trees at once.
include(ExternalProject)

set(previous_step glintdeck_all_tests)
foreach(variant thread address)
    ExternalProject_Add(sanitize_${variant}
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${PROJECT_BINARY_DIR}/sanitize-${variant}
        CMAKE_GENERATOR Ninja
        CMAKE_ARGS
            -DCMAKE_BUILD_TYPE=Debug
            -DGLINTDECK_SANITIZE=${variant}
            -DGLINTDECK_WERROR=${GLINTDECK_WERROR}
            -DGLINTDECK_BENCHMARKS=OFF
            -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
        BUILD_ALWAYS ON
        INSTALL_COMMAND ""
        DEPENDS ${previous_step})
    set(previous_step sanitize_${variant})
endforeach()
