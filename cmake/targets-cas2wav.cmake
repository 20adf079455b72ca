# The cas2wav converter (tape image to .wav), its benchmark and its test under Wine. The editor
# starts cas2wav.exe by name.
tk_add_tool(cas2wav ${CMAKE_SOURCE_DIR}/tape/cas2wav.cpp tk_core)
if(WIN32)
    # Runs the real program under Wine; the script builds its own tape images.
    tk_add_wine_script_test(cas2wav_wine ${CMAKE_SOURCE_DIR}/tests/scripts/cas2wav_wine_test.sh
        $<TARGET_FILE:cas2wav>)
else()
    add_executable(cas2wav_bench ${CMAKE_SOURCE_DIR}/bench/cas2wav_bench.cpp)
    target_link_libraries(cas2wav_bench PRIVATE tk_core)
endif()
