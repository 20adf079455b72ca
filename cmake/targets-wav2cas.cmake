# The wav2cas decoder (cassette recording to tape image), its benchmark program and its test under
# Wine. The decoder itself is portable core code, listed in tape/sources.cmake.
if(WIN32)
    # A console program like cas2wav.exe, statically linked so it runs on its own.
    add_executable(wav2cas ${CMAKE_SOURCE_DIR}/tape/wav2cas.cpp
        ${CMAKE_SOURCE_DIR}/tape/fileplatform_win32.cpp)
    target_link_libraries(wav2cas PRIVATE tk_core)
    target_link_options(wav2cas PRIVATE -static -static-libgcc -static-libstdc++)
    # A round trip through the real cas2wav.exe and wav2cas.exe under Wine.
    add_test(NAME wav2cas_wine
        COMMAND sh ${CMAKE_SOURCE_DIR}/tests/scripts/wav2cas_wine_test.sh
            $<TARGET_FILE:wav2cas> $<TARGET_FILE:cas2wav> ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh
            ${CMAKE_BINARY_DIR}/wav2cas_wine_test)
    set_tests_properties(wav2cas_wine PROPERTIES TIMEOUT 300)
else()
    add_executable(wav2cas ${CMAKE_SOURCE_DIR}/tape/wav2cas.cpp)
    target_link_libraries(wav2cas PRIVATE tk_core)
endif()
