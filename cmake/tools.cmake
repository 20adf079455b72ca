# The command-line tools (cas2wav, wav2cas, tomkrin) are built alike; their folders use these.

# tk_add_tool(NAME MAIN_SOURCE LIBRARY): the native program, or on Windows a console program linked
# statically, so that it runs on its own with only the system's DLLs.
function(tk_add_tool name main library)
    add_executable(${name} ${main})
    target_link_libraries(${name} PRIVATE ${library})
endfunction()

# tk_add_wine_script_test(NAME SCRIPT ARGS...): the ctest test NAME runs
#   sh SCRIPT ARGS... WINE_RUN_SCRIPT WORK_FOLDER
# where the script drives the real Windows programs under Wine in a work folder of its own.
function(tk_add_wine_script_test name script)
    add_test(NAME ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
        COMMAND sh ${script} ${ARGN} ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh
            ${CMAKE_BINARY_DIR}/${name}_test)
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()
