# The tape commands' test under Wine also runs the real converter when it is built.
if(WIN32 AND TARGET cas2wav AND TARGET win_tape_test)
    add_dependencies(win_tape_test cas2wav)
endif()
