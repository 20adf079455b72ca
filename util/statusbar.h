#pragma once
// The one-part status bar along the main window's bottom edge: the program's short feedback.
#include <windows.h>

HWND CreateStatusBar(HWND parent);
void InitStatusBar(HWND statusWindow);
LRESULT UpdateStatusBar(HWND statusWindow, const char* text);
