list(APPEND TK_CORE_SOURCES tape/casblocks.cpp)
list(APPEND TK_CORE_SOURCES tape/casencoder.cpp)
list(APPEND TK_CORE_SOURCES tape/wavheader.cpp)
list(APPEND TK_CORE_SOURCES tape/stagedfile.cpp)
list(APPEND TK_CORE_SOURCES tape/cas2wavargs.cpp)
list(APPEND TK_CORE_SOURCES tape/cas2wavtool.cpp)
# The Windows variant, tape/fileplatform_win32.cpp, is linked straight into cas2wav.exe
# (cmake/targets-cas2wav.cmake), which needs nothing else of the Win32 shell.
if(NOT WIN32)
    list(APPEND TK_CORE_SOURCES tape/fileplatform_posix.cpp)
endif()
list(APPEND TK_CORE_SOURCES tape/tapeoffsets.cpp)
list(APPEND TK_CORE_SOURCES tape/converterline.cpp)
list(APPEND TK_WIN_SOURCES tape/levelinsert.cpp)
list(APPEND TK_WIN_SOURCES tape/exportdlg.cpp)
list(APPEND TK_WIN_SOURCES tape/processwait.cpp)
list(APPEND TK_WIN_SOURCES tape/castowav.cpp)
# The tape directory, the standard level slots and whole-file reading, for tomkrin.
list(APPEND TK_CORE_SOURCES tape/tapedirectory.cpp tape/levelslots.cpp tape/filebytes.cpp)
