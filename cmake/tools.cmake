# The command-line tools (cas2wav, wav2cas, tomkrin) are built alike, and the tests of every tree
# are defined alike; the folders use these.

# tk_add_tool(NAME MAIN_SOURCE LIBRARY): the native program, or on Windows a console program linked
# statically, so that it runs on its own with only the system's DLLs.
function(tk_add_tool name main library)
    add_executable(${name} ${main})
    target_link_libraries(${name} PRIVATE ${library})
endfunction()

# tk_add_check(NAME LABEL [IN FOLDER] COMMAND...): a check of the test command, run in FOLDER (the
# source tree when none is named) with TK_ROOT set; status 77 means skipped (the command says why).
# Every check has one label, which the test presets of CMakePresets.json select by.
function(tk_add_check name label)
    set(command ${ARGN})
    set(folder ${CMAKE_SOURCE_DIR})
    list(GET command 0 first)
    if(first STREQUAL "IN")
        list(GET command 1 folder)
        list(REMOVE_AT command 0 1)
    endif()
    add_test(NAME ${name} COMMAND ${command} WORKING_DIRECTORY ${folder})
    set_tests_properties(${name} PROPERTIES LABELS ${label} SKIP_RETURN_CODE 77 TIMEOUT 900
        ENVIRONMENT "TK_ROOT=${CMAKE_SOURCE_DIR}")
endfunction()

# The Windows trees: every test runs under Wine (cmake/wine-run.sh), named after its tree so that
# the tests of both trees can run in one ctest (the native tree's, cmake/othertrees.cmake), on
# the display and Wine server of the tree's fixture (cmake/wine-fixture.sh), one Wine test at a
# time in the whole run: they share the display and the tests' windows take the focus.
if(WIN32)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(TK_WINDOWS_TREE win64)
    else()
        set(TK_WINDOWS_TREE win32)
    endif()
endif()
function(tk_wine_test_properties name)
    set_tests_properties(${name} PROPERTIES LABELS wine SKIP_RETURN_CODE 77 TIMEOUT 300
        FIXTURES_REQUIRED ${TK_WINDOWS_TREE}.wine RESOURCE_LOCK wine)
endfunction()

# tk_add_wine_fixture(EXE): the fixture's two tests, EXE being a program of the tree that tells
# whether this machine runs the tree's programs.
function(tk_add_wine_fixture exe)
    set(fixture ${CMAKE_SOURCE_DIR}/cmake/wine-fixture.sh)
    add_test(NAME ${TK_WINDOWS_TREE}.wine-start
        COMMAND sh ${fixture} start ${CMAKE_BINARY_DIR} $<TARGET_FILE:${exe}>)
    add_test(NAME ${TK_WINDOWS_TREE}.wine-stop COMMAND sh ${fixture} stop ${CMAKE_BINARY_DIR})
    # In the run of every check its prefix is made before (wine.prefixes, cmake/packages.cmake).
    set_tests_properties(${TK_WINDOWS_TREE}.wine-start PROPERTIES LABELS wine SKIP_RETURN_CODE 77
        FIXTURES_SETUP ${TK_WINDOWS_TREE}.wine FIXTURES_REQUIRED wine.prefixes RESOURCE_LOCK wine)
    set_tests_properties(${TK_WINDOWS_TREE}.wine-stop PROPERTIES LABELS wine
        FIXTURES_CLEANUP ${TK_WINDOWS_TREE}.wine RESOURCE_LOCK wine)
endfunction()

# tk_add_wine_program_test(TARGET): the Windows test program TARGET as the test TREE.TARGET.
function(tk_add_wine_program_test target)
    add_test(NAME ${TK_WINDOWS_TREE}.${target} COMMAND ${target}
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    tk_wine_test_properties(${TK_WINDOWS_TREE}.${target})
endfunction()

# tk_add_wine_script_test(NAME SCRIPT ARGS...): the test TREE.NAME runs
#   sh SCRIPT ARGS... WINE_RUN_SCRIPT WORK_FOLDER
# where the script drives the real Windows programs under Wine in a work folder of its own.
function(tk_add_wine_script_test name script)
    add_test(NAME ${TK_WINDOWS_TREE}.${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
        COMMAND sh ${script} ${ARGN} ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh
            ${CMAKE_BINARY_DIR}/${name}_test)
    tk_wine_test_properties(${TK_WINDOWS_TREE}.${name})
endfunction()
