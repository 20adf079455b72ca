#pragma once
// The application shell: the main window and its class.
#include <windows.h>

#include "util/editorglobals.h"

int InitApplication();
HWND CreateTomkrinEditorWndClassWnd();
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
