# The wav2cas decoder (cassette recording to tape image) and its test under Wine. The decoder
# itself is portable core code, listed in tape/sources.cmake.
tk_add_tool(wav2cas ${CMAKE_SOURCE_DIR}/tape/wav2cas.cpp tk_core)
if(WIN32)
    # A round trip through the real cas2wav.exe and wav2cas.exe under Wine.
    tk_add_wine_script_test(wav2cas_wine ${CMAKE_SOURCE_DIR}/tests/scripts/wav2cas_wine_test.sh
        $<TARGET_FILE:wav2cas> $<TARGET_FILE:cas2wav>)
endif()
if(NOT WIN32)
    # Recordings played on a deck whose speed wobbles, for scripts/bench-wav2cas.sh.
    add_executable(wowtape ${CMAKE_SOURCE_DIR}/bench/wowtape.cpp)
    target_link_libraries(wowtape PRIVATE tk_core)
endif()
