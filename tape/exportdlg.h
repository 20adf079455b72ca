#pragma once
// The "Select level to replace" dialog: puts a saved level into a tape image of the game, at a
// standard level's place or at a typed offset.
#include <windows.h>

#include "tape/levelinsert.h"

// Dialog procedure of template IDD_EXPORT, run modally by command 315. Returns 0 for every
// message; only WM_CLOSE ends the dialog.
INT_PTR CALLBACK ExportProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
