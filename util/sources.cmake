list(APPEND TK_CORE_SOURCES util/hexnumber.cpp)
list(APPEND TK_WIN_SOURCES util/seams.cpp util/fileutil.cpp util/DlgUtil.cpp util/buttons.cpp
    util/toolwindow.cpp)
