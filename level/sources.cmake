list(APPEND TK_CORE_SOURCES level/level.cpp level/levelcodec.cpp)
list(APPEND TK_WIN_SOURCES level/tomkrinfile.cpp)
list(APPEND TK_CORE_SOURCES level/leveltitle.cpp level/levelcheck.cpp)
