list(APPEND TK_CORE_SOURCES canvas/blockcatalog.cpp canvas/linetool.cpp canvas/canvasstatus.cpp)
list(APPEND TK_WIN_SOURCES canvas/bmplist.cpp canvas/draw.cpp canvas/mouse.cpp canvas/blockswin.cpp)
