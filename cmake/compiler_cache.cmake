# Every tree compiles through ccache (found at configure time, so after scripts/install-deps has
# installed it), and one cache serves every checkout on the machine: paths under the checkout
# are hashed relative to it, the working directory is left out of the hash, and the compiler
# writes those paths relative into the objects too (debug information, __FILE__), so what a
# fresh clone in another folder takes from the cache is what it would have compiled itself.
# A tree of a commit that any checkout here has built compiles almost nothing.
find_program(GLINTDECK_CCACHE ccache)
if(GLINTDECK_CCACHE)
    # The mtime and ctime leniencies keep the fast lookup (direct mode) for headers written
    # moments before the compile, as the build's generated headers are; without them such a
    # file is preprocessed first to be looked up.
    set(launcher env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=true
        CCACHE_SLOPPINESS=include_file_mtime,include_file_ctime ${GLINTDECK_CCACHE})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
    set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
endif()
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=)
