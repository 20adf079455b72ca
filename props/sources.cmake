list(APPEND TK_WIN_SOURCES props/leveloptswin.cpp props/monsterswin.cpp)
