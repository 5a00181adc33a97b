# glintdeck_default_time_limits(): every test of the calling folder without a limit of its own
# gets three minutes, so a hung test fails on its own and by name instead of running into CI's
# stop. The longest test, the fuzz run, takes about 70 s; the session tests set their own limit.
function(glintdeck_default_time_limits)
    get_property(tests DIRECTORY PROPERTY TESTS)
    foreach(test ${tests})
        get_test_property(${test} TIMEOUT timeout)
        if(NOT timeout)
            set_tests_properties(${test} PROPERTIES TIMEOUT 180)
        endif()
    endforeach()
endfunction()
