# Writes the About pane's build header: the project version and the commit count of the
# checked-out branch (empty outside a git checkout). Run at every build; configure_file leaves
# the header untouched when the text is the same, so nothing recompiles needlessly.
# Inputs: SOURCE_DIR, TEMPLATE, OUTPUT, PROJECT_VERSION, GIT_EXECUTABLE (may be empty).
set(GLINTDECK_BUILD_NUMBER "")
if(GIT_EXECUTABLE)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-list --count HEAD
                    WORKING_DIRECTORY ${SOURCE_DIR}
                    OUTPUT_VARIABLE GLINTDECK_BUILD_NUMBER
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        set(GLINTDECK_BUILD_NUMBER "")
    endif()
endif()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
