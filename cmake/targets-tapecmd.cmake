# The Windows tests of the tape commands also run the real converter when it is built.
foreach(test_program win_tape_test win_modal_test)
    if(WIN32 AND TARGET cas2wav AND TARGET ${test_program})
        add_dependencies(${test_program} cas2wav)
    endif()
endforeach()
