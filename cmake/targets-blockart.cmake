# The block bitmap generator runs on the build machine only: it turns res/art/blocks.txt into the
# BMP files under res/blocks/ (scripts/gen-bitmaps.sh runs it). The native tests link its library to
# check that the committed bitmaps still match the pictures.
if(NOT WIN32)
    add_library(tk_blockart STATIC ${CMAKE_SOURCE_DIR}/tools/blockart.cpp)
    target_include_directories(tk_blockart PUBLIC ${CMAKE_SOURCE_DIR})

    add_executable(bmpgen ${CMAKE_SOURCE_DIR}/tools/bmpgen.cpp)
    target_link_libraries(bmpgen PRIVATE tk_blockart)

    target_link_libraries(native_tests PRIVATE tk_blockart)
endif()
