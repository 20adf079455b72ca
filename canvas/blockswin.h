#pragma once
// The blocks palette: one bitmap button per block; a click selects the block to paint.
#include <windows.h>

extern HWND blockwin;
extern int currentBlock; // catalogue index of the selected block

void OpenBlocksWindow();
INT_PTR CALLBACK BlocksProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
