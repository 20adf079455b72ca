# The MinGW-w64 cross toolchain for the triple TK_TRIPLE set by the toolchain file that includes
# this one; the Windows programs it builds run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TK_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TK_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TK_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TK_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
