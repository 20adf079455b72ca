#pragma once
// Putting a saved level into a tape image of the game.
#include <windows.h>

INT_PTR CALLBACK ExportProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
int InsertLevel(int offset);
