# tomkrin, the command line: native and Windows (tomkrin.exe, static, only system DLLs), its test
# under Wine, its benchmark, and the Debian package of the native tools.

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

if(WIN32)
    add_executable(tomkrin ${CMAKE_SOURCE_DIR}/cli/main.cpp
        ${CMAKE_SOURCE_DIR}/tape/fileplatform_win32.cpp)
    target_link_libraries(tomkrin PRIVATE tk_cli)
    target_link_options(tomkrin PRIVATE -static -static-libgcc -static-libstdc++)
    # Shipped in the release zip beside cas2wav.exe (cmake/targets-package.cmake makes the zip;
    # this file is read after it, so the rule is given here).
    install(TARGETS tomkrin RUNTIME DESTINATION .)
    # A few commands of the real program under Wine; the script builds its own tape image.
    add_test(NAME tomkrin_wine
        COMMAND sh ${CMAKE_SOURCE_DIR}/tests/scripts/tomkrin_wine_test.sh
            $<TARGET_FILE:tomkrin> ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh
            ${CMAKE_BINARY_DIR}/tomkrin_wine_test)
    set_tests_properties(tomkrin_wine PROPERTIES TIMEOUT 300)
else()
    add_executable(tomkrin ${CMAKE_SOURCE_DIR}/cli/main.cpp)
    target_link_libraries(tomkrin PRIVATE tk_cli)
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

# The Debian package of the native tools: tomkrin and cas2wav in /usr/bin with a man page each.
# scripts/make-deb.sh builds it from a Release tree without sanitizers (build/deb).
if(NOT WIN32)
    set(TK_MAN_PAGES)
    foreach(page tomkrin.1 cas2wav.1)
        add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
            COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/docs/man/${page}
                > ${CMAKE_BINARY_DIR}/man/${page}.gz
            DEPENDS ${CMAKE_SOURCE_DIR}/docs/man/${page}
            COMMENT "Compressing the man page ${page}")
        list(APPEND TK_MAN_PAGES ${CMAKE_BINARY_DIR}/man/${page}.gz)
    endforeach()
    add_custom_target(tk_man_pages ALL DEPENDS ${TK_MAN_PAGES})

    install(TARGETS tomkrin cas2wav RUNTIME DESTINATION bin)
    install(FILES ${TK_MAN_PAGES} DESTINATION share/man/man1)
    install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION share/doc/tomkrin-tools
        RENAME copyright)

    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGE_NAME tomkrin-tools)
    set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
    set(CPACK_PACKAGE_CONTACT "Tomkrin Editor developers <tomkrin@localhost>")
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
        "command-line tools for the levels and tapes of the MSX game Tomkrin")
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "command-line tools for the levels and tapes of the MSX game Tomkrin\n tomkrin reads the game's levels out of its tape image, shows, checks and renders\n them as PNG pictures, and extracts and inserts them; cas2wav turns a tape image\n into a .wav recording that a real MSX loads.")
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    find_program(TK_DPKG_SHLIBDEPS dpkg-shlibdeps)
    if(TK_DPKG_SHLIBDEPS)
        set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    else()
        set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
    endif()
    set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
    include(CPack)
endif()
