# Cross build with MinGW-w64: the editor, and test programs that drive its real windows under Wine.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/res -I${CMAKE_SOURCE_DIR}")
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0501)

set(TK_WIN_LIBS comctl32 comdlg32 shell32 user32 gdi32 kernel32)

add_library(tk_app STATIC ${TK_WIN_SOURCES})
target_link_libraries(tk_app PUBLIC tk_core ${TK_WIN_LIBS})

# The resources are compiled once and linked into the editor and into every Windows test program,
# so the tests drive the same dialog templates, menus and bitmaps.
add_library(tk_resources OBJECT ${CMAKE_SOURCE_DIR}/res/tomkrin.rc)
file(GLOB TK_RESOURCE_DEPENDS CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/res/*.rc ${CMAKE_SOURCE_DIR}/res/*.h
    ${CMAKE_SOURCE_DIR}/res/*.ico ${CMAKE_SOURCE_DIR}/res/blocks/*.bmp)
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/tomkrin.rc PROPERTIES OBJECT_DEPENDS "${TK_RESOURCE_DEPENDS}")

add_executable(TomkrinEditor WIN32 ${CMAKE_SOURCE_DIR}/app/winmain.cpp $<TARGET_OBJECTS:tk_resources>)
target_link_libraries(TomkrinEditor PRIVATE tk_app)

# Files the editor looks for in its working folder.
foreach(shipped default.bin TOMKRIN.RTF)
    if(EXISTS ${CMAKE_SOURCE_DIR}/res/${shipped})
        configure_file(${CMAKE_SOURCE_DIR}/res/${shipped} ${CMAKE_BINARY_DIR}/${shipped} COPYONLY)
    endif()
endforeach()

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Each tests/win/*_test.cpp is one Windows test program and one ctest test: every Wine start costs
# seconds, so the cases of a program run in one start.
file(GLOB TK_WIN_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/support/*.cpp)
add_library(tk_win_test_support STATIC ${TK_WIN_TEST_SUPPORT})
target_link_libraries(tk_win_test_support PUBLIC tk_app GTest::gtest)
file(GLOB TK_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
foreach(test_source ${TK_WIN_TESTS})
    get_filename_component(test_name ${test_source} NAME_WE)
    add_executable(win_${test_name} ${test_source} $<TARGET_OBJECTS:tk_resources>)
    target_link_libraries(win_${test_name} PRIVATE tk_win_test_support)
    add_test(NAME win_${test_name} COMMAND win_${test_name})
    set_tests_properties(win_${test_name} PROPERTIES TIMEOUT 300)
endforeach()
