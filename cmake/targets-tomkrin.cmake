# tomkrin, the command line: native and Windows (tomkrin.exe, static, only system DLLs), its test
# under Wine and its benchmark. cmake/packages.cmake ships it.

# The PNG encoder (canvas/pngimage.cpp) and the decoder the tests read pictures back with are
# Debian's stb headers. They are copied into the build tree, so the MinGW trees take them from
# there without seeing any other header of the build machine.
set(TK_STB_DIR /usr/include/stb CACHE PATH "Folder of stb_image_write.h and stb_image.h")
foreach(header stb_image_write.h stb_image.h)
    configure_file(${TK_STB_DIR}/${header} ${CMAKE_BINARY_DIR}/stb/${header} COPYONLY)
endforeach()
target_include_directories(tk_core SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/stb)

# Argument handling and printing; every format rule is in the core.
file(GLOB TK_CLI_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cli/*.cpp)
list(REMOVE_ITEM TK_CLI_SOURCES ${CMAKE_SOURCE_DIR}/cli/main.cpp)
add_library(tk_cli STATIC ${TK_CLI_SOURCES})
target_link_libraries(tk_cli PUBLIC tk_core)
target_compile_definitions(tk_cli PRIVATE
    TK_VERSION="${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")

tk_add_tool(tomkrin ${CMAKE_SOURCE_DIR}/cli/main.cpp tk_cli)
if(WIN32)
    # A few commands of the real program under Wine; the script builds its own tape image.
    tk_add_wine_script_test(tomkrin_wine ${CMAKE_SOURCE_DIR}/tests/scripts/tomkrin_wine_test.sh
        $<TARGET_FILE:tomkrin>)
else()
    target_link_libraries(native_tests PRIVATE tk_cli)
    target_include_directories(native_tests SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/stb)

    add_executable(tomkrin_bench ${CMAKE_SOURCE_DIR}/bench/tomkrin_bench.cpp
        ${CMAKE_SOURCE_DIR}/tools/demotape.cpp)
    target_link_libraries(tomkrin_bench PRIVATE tk_cli)
    # Writes the demonstration tape of the README's pictures (docs/tomkrin-sheet.png).
    add_executable(mkdemotape ${CMAKE_SOURCE_DIR}/tools/mkdemotape.cpp
        ${CMAKE_SOURCE_DIR}/tools/demotape.cpp)
    target_link_libraries(mkdemotape PRIVATE tk_core)
endif()
