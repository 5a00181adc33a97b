# glintdeck_library(<target> [LINKS <targets>...]): a static library of every .cpp in the
# calling folder. Includes are written from the repository root ("core/stat_kind.h").
function(glintdeck_library target)
    cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_LINKS})
endfunction()
