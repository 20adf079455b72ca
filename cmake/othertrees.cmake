# A template: the native tree configures it into its own folder (the top CMakeLists.txt).
# Read by ctest in the tree that runs every check (TK_ALL_CHECKS): the tests of the checkout's other
# trees, each defined in its own tree beside what it tests, join this tree's. Their names start with
# their tree (win32., win64., web., fuzz.), and their labels say what they check.
foreach(tree win32 win64 web fuzz)
    if(EXISTS "@TK_BUILD_ROOT@/${tree}/CTestTestfile.cmake")
        subdirs("@TK_BUILD_ROOT@/${tree}")
    else()
        add_test(${tree}.not-built sh -c
            "echo 'build/${tree} is not built: cmake --preset ${tree} && cmake --build --preset ${tree}'; exit 1")
        set_tests_properties(${tree}.not-built PROPERTIES LABELS ${tree})
    endif()
endforeach()
