# MinGW-w64 for 64-bit Windows: the same sources, kept 64-bit clean.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TK_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
