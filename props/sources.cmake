list(APPEND TK_CORE_SOURCES props/centratesto.cpp props/monstertables.cpp props/defaultlevel.cpp)
list(APPEND TK_WIN_SOURCES props/leveloptswin.cpp props/monsterswin.cpp)
