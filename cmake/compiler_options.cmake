# Warnings and sanitizer flags shared by every target of this tree.
# Designated initializers that leave members at their defaults are how records are built here.
add_compile_options(-Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
if(GLINTDECK_WERROR)
    add_compile_options(-Werror)
endif()

# Optimised trees (the package, the bench) build as Debian builds its packages, with -O2: -O3
# made the program's code a quarter larger (1.6 MB against 1.3), and a program that stays
# running all day keeps nearly all of its code resident.
string(REPLACE "-O3" "-O2" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")

# The sanitizer trees keep only the line tables their reports need (-g1) and optimise for
# debugging (-Og), where the suites still run at a fair speed: the JSON-heavy tests compile in
# well under half the time they took with -O1 and full debug information.
if(GLINTDECK_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -Og -g1)
    add_link_options(-fsanitize=thread)
elseif(GLINTDECK_SANITIZE STREQUAL "address")
    # float-cast-overflow is not part of "undefined": a double too large for the integer it
    # becomes (a hand-edited interval turned into nanoseconds) must fail the suite too.
    add_compile_options(-fsanitize=address,undefined,float-cast-overflow
                        -fno-sanitize-recover=undefined,float-cast-overflow
                        -fno-omit-frame-pointer -Og -g1)
    add_link_options(-fsanitize=address,undefined,float-cast-overflow)
elseif(NOT GLINTDECK_SANITIZE STREQUAL "")
    message(FATAL_ERROR "GLINTDECK_SANITIZE must be empty, thread or address")
endif()

# The fuzz tree: every library instrumented for coverage, with AddressSanitizer and
# UndefinedBehaviorSanitizer, so that an overflow or an out-of-range read stops the run as a
# crash with the input that caused it.
if(GLINTDECK_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "GLINTDECK_FUZZ needs clang (libFuzzer); configure with "
                            "-DCMAKE_CXX_COMPILER=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer -O1 -g)
    add_link_options(-fsanitize=address,undefined)
endif()
