# The cas2wav converter (tape image to .wav), its benchmark and its test under Wine.
if(WIN32)
    # A console program the editor starts by name; statically linked so it runs on its own.
    add_executable(cas2wav ${CMAKE_SOURCE_DIR}/tape/cas2wav.cpp
        ${CMAKE_SOURCE_DIR}/tape/fileplatform_win32.cpp)
    target_link_libraries(cas2wav PRIVATE tk_core)
    target_link_options(cas2wav PRIVATE -static -static-libgcc -static-libstdc++)
    # Runs the real program under Wine; the script builds its own tape images.
    add_test(NAME cas2wav_wine
        COMMAND sh ${CMAKE_SOURCE_DIR}/tests/scripts/cas2wav_wine_test.sh
            $<TARGET_FILE:cas2wav> ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh
            ${CMAKE_BINARY_DIR}/cas2wav_wine_test)
    set_tests_properties(cas2wav_wine PROPERTIES TIMEOUT 300)
else()
    add_executable(cas2wav ${CMAKE_SOURCE_DIR}/tape/cas2wav.cpp)
    target_link_libraries(cas2wav PRIVATE tk_core)
    add_executable(cas2wav_bench ${CMAKE_SOURCE_DIR}/bench/cas2wav_bench.cpp)
    target_link_libraries(cas2wav_bench PRIVATE tk_core)
endif()
