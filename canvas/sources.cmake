list(APPEND TK_CORE_SOURCES canvas/blockcatalog.cpp canvas/linetool.cpp canvas/canvasstatus.cpp)
list(APPEND TK_WIN_SOURCES canvas/bmplist.cpp canvas/draw.cpp canvas/mouse.cpp canvas/blockswin.cpp)
# Levels as pictures (tomkrin render); the block pictures come from tk_blockart.
list(APPEND TK_CORE_SOURCES canvas/rgbimage.cpp canvas/titletext.cpp canvas/levelrender.cpp
    canvas/contactsheet.cpp canvas/pngimage.cpp)
