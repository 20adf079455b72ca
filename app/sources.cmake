list(APPEND TK_WIN_SOURCES app/globals.cpp app/startup.cpp app/statusbar.cpp app/mainwnd.cpp
    app/commands.cpp)
