# Benchmarks: programs that print figures. They are built with every tree so they keep compiling,
# and run only by scripts/bench.sh, which measures them in a Release tree without sanitizers.
if(WIN32)
    # The redraw in the editor's real main window, started inside the benchmark program.
    add_executable(redraw_bench ${CMAKE_SOURCE_DIR}/bench/redraw_bench.cpp
        $<TARGET_OBJECTS:tk_resources>)
    target_link_libraries(redraw_bench PRIVATE tk_app)
    # Starts TomkrinEditor.exe from the same folder and waits for its window.
    add_executable(startup_bench ${CMAKE_SOURCE_DIR}/bench/startup_bench.cpp)
    target_link_libraries(startup_bench PRIVATE user32 kernel32)
    add_dependencies(startup_bench TomkrinEditor)
else()
    add_executable(level_bench ${CMAKE_SOURCE_DIR}/bench/level_bench.cpp)
    target_link_libraries(level_bench PRIVATE tk_core)
    add_executable(linetool_bench ${CMAKE_SOURCE_DIR}/bench/linetool_bench.cpp)
    target_link_libraries(linetool_bench PRIVATE tk_core)
endif()
