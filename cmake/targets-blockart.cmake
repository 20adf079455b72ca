# The block pictures and the font as text art (res/art/*.txt) and their parsers. Built in every
# tree: the art texts are compiled in (tools/builtinart.h), so the level renderer of the portable
# core, and with it tomkrin, draws from the same pictures the editor's bitmaps are generated from.
file(READ ${CMAKE_SOURCE_DIR}/res/art/blocks.txt TK_BLOCK_ART_TEXT)
file(READ ${CMAKE_SOURCE_DIR}/res/art/font.txt TK_FONT_ART_TEXT)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/res/art/blocks.txt ${CMAKE_SOURCE_DIR}/res/art/font.txt)
configure_file(${CMAKE_SOURCE_DIR}/cmake/builtinart.cpp.in
    ${CMAKE_BINARY_DIR}/generated/builtinarttext.cpp @ONLY)

add_library(tk_blockart STATIC ${CMAKE_SOURCE_DIR}/tools/blockart.cpp ${CMAKE_SOURCE_DIR}/tools/arttext.cpp
    ${CMAKE_SOURCE_DIR}/tools/fontart.cpp ${CMAKE_SOURCE_DIR}/tools/builtinart.cpp
    ${CMAKE_BINARY_DIR}/generated/builtinarttext.cpp)
target_include_directories(tk_blockart PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tk_core PUBLIC tk_blockart)

# The block bitmap generator runs on the build machine only: it turns res/art/blocks.txt into the
# BMP files under res/blocks/ (scripts/gen-bitmaps.sh runs it). The native tests link its library to
# check that the committed bitmaps still match the pictures.
if(NOT WIN32)
    add_executable(bmpgen ${CMAKE_SOURCE_DIR}/tools/bmpgen.cpp)
    target_link_libraries(bmpgen PRIVATE tk_blockart)

    target_link_libraries(native_tests PRIVATE tk_blockart)
endif()
