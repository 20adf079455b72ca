# The packages, read after every targets file so that all the programs exist:
#   Windows trees: the release zip for players, the editor and the command-line tools, the files
#     the editor looks for beside it, a short README and the licence.
#   Native tree: the Debian package of the command-line tools, each with its man page, and the
#     changelog it shares with the editor's package (scripts/make-deb.sh builds both: this one
#     from the Release tree without sanitizers, build/release, into build/deb).
# Both carry the browser edition as its one file, tomkrin-web.html, which the web tree builds
# (scripts/build.sh, tk_build_web): the scripts that make the packages build it first.
set(TK_TOOLS cas2wav wav2cas tomkrin)
set(TK_WEB_PAGE ${CMAKE_SOURCE_DIR}/build/web/tomkrin-web.html CACHE FILEPATH
    "The browser edition's single file, built by the web tree (sh scripts/build-web.sh)")
install(CODE "if(NOT EXISTS \"${TK_WEB_PAGE}\")
    message(FATAL_ERROR \"No ${TK_WEB_PAGE}: build the browser edition first (sh scripts/build-web.sh)\")
endif()")
if(WIN32)
    install(TARGETS TomkrinEditor ${TK_TOOLS} RUNTIME DESTINATION .)
    install(FILES ${CMAKE_BINARY_DIR}/default.bin ${CMAKE_BINARY_DIR}/TOMKRIN.RTF
            DESTINATION . OPTIONAL)
    install(FILES ${CMAKE_SOURCE_DIR}/docs/README.txt ${TK_WEB_PAGE} DESTINATION .)
    install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(TK_PACKAGE_PLATFORM win64)
    else()
        set(TK_PACKAGE_PLATFORM win32)
    endif()
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_NAME TomkrinEditor)
    set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
    set(CPACK_PACKAGE_FILE_NAME "TomkrinEditor-${CPACK_PACKAGE_VERSION}-${TK_PACKAGE_PLATFORM}")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
    set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
    include(CPack)
endif()

if(NOT WIN32)
    set(TK_MAN_PAGES)
    foreach(tool ${TK_TOOLS} tomkrin-web)
        set(page ${tool}.1)
        add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
            COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/docs/man/${page}
                > ${CMAKE_BINARY_DIR}/man/${page}.gz
            DEPENDS ${CMAKE_SOURCE_DIR}/docs/man/${page}
            COMMENT "Compressing the man page ${page}")
        list(APPEND TK_MAN_PAGES ${CMAKE_BINARY_DIR}/man/${page}.gz)
    endforeach()
    # The package's version is the program's own (a native package): its changelog is
    # changelog.gz, shared with the editor's package built beside it (scripts/make-deb.sh).
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
        COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/packaging/changelog
            > ${CMAKE_BINARY_DIR}/doc/changelog.gz
        DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
        COMMENT "Compressing the changelog")
    add_custom_target(tk_man_pages ALL DEPENDS ${TK_MAN_PAGES} ${CMAKE_BINARY_DIR}/doc/changelog.gz)

    install(TARGETS ${TK_TOOLS} RUNTIME DESTINATION bin)
    install(FILES ${TK_MAN_PAGES} DESTINATION share/man/man1)
    install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION share/doc/tomkrin-tools
        RENAME copyright)
    install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION share/doc/tomkrin-tools)
    # The browser edition, and the command that opens it in the user's browser, which its entry
    # in the desktop's menu runs.
    install(FILES ${TK_WEB_PAGE} DESTINATION share/tomkrin)
    set(VERSION ${TK_VERSION})
    configure_file(${CMAKE_SOURCE_DIR}/packaging/tomkrin-web ${CMAKE_BINARY_DIR}/bin/tomkrin-web
        @ONLY)
    install(PROGRAMS ${CMAKE_BINARY_DIR}/bin/tomkrin-web DESTINATION bin)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/tomkrin-web.desktop DESTINATION share/applications)

    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGE_NAME tomkrin-tools)
    set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
    set(CPACK_PACKAGE_CONTACT "Tomkrin Editor project <tomkrin-editor@example.org>")
    set(CPACK_DEBIAN_PACKAGE_SOURCE tomkrin-editor)
    set(CPACK_STRIP_FILES ON)
    # CPack puts the summary on the first line of the description itself: the text below is the
    # long description only, lines of at most 80 characters.
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
        "command-line tools for the levels and tapes of the MSX game Tomkrin")
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "tomkrin reads the levels of the game out of its tape image, shows, checks and\n renders them as PNG pictures, and extracts and inserts them. cas2wav turns a\n tape image into a .wav recording that a real MSX loads, and wav2cas decodes a\n recording of a real cassette back into a tape image. tomkrin also exports a\n level as a map for the Tiled map editor and imports it back.\n\n The package also holds the level editor's browser edition, one page that\n tomkrin-web opens in the web browser, also from the desktop's menu.")
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    find_program(TK_DPKG_SHLIBDEPS dpkg-shlibdeps)
    # tomkrin-web opens the browser edition with xdg-open.
    if(TK_DPKG_SHLIBDEPS)
        set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
        set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
    else()
        set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1, xdg-utils")
    endif()
    set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
    include(CPack)
endif()

if(TK_ALL_CHECKS)
    # The packages as users get them, with the Windows tree this machine runs
    # (tk_runnable_windows_tree): the release zip unzipped and run, the editor worked as a person
    # works it from the zip, and the Debian packages (lintian, installing, the editor started).
    # Each starts Windows programs under Wine, so one at a time with the Windows trees' tests
    # (the Debian package's check only where it starts them).
    tk_add_check(package package sh scripts/test-package.sh)
    tk_add_check(e2e e2e sh scripts/test-e2e.sh)
    tk_add_check(deb deb sh scripts/test-deb.sh ${TK_VERSION})
    set_tests_properties(package e2e PROPERTIES RESOURCE_LOCK wine)
    # The Debian package's editor is the 32-bit program: only where that runs does its check
    # start Wine and need the turn. Elsewhere its packaging, lintian and apt's plans run beside
    # the Windows tests (scripts/wine-env.sh decides, as it does for the whole test command).
    execute_process(
        COMMAND sh -c ". '${CMAKE_SOURCE_DIR}/scripts/wine-env.sh' && tk_runs_win32"
        RESULT_VARIABLE tk_win32_missing OUTPUT_QUIET ERROR_QUIET)
    if(tk_win32_missing EQUAL 0)
        set_tests_properties(deb PROPERTIES RESOURCE_LOCK wine)
    endif()
    # The Wine prefixes of the Windows tree's tests and of e2e, made first and beside the other
    # checks: Wine's first start opens no window, so it needs no turn of the lock above.
    tk_add_check(wine-prefixes wine sh scripts/wine-prefixes.sh)
    set_tests_properties(wine-prefixes PROPERTIES FIXTURES_SETUP wine.prefixes COST 900)
    set_tests_properties(e2e PROPERTIES FIXTURES_REQUIRED wine.prefixes)
    # Long, and one at a time: started among the first, as web.browser is (web/CMakeLists.txt).
    set_tests_properties(package deb PROPERTIES COST 600)
    set_tests_properties(e2e PROPERTIES COST 500)
    # The zip's programs run in the Windows tree's own prefix, on its fixture's display and server.
    set_tests_properties(package PROPERTIES FIXTURES_REQUIRED "win32.wine;win64.wine")
endif()
