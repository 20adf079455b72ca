#pragma once
// The level options window: title, man's start and load address of the level.
#include <windows.h>

extern HWND leveloptswin;

void OpenLevelOptionsWindow();
// Refills the fields from the level, when the window exists (after New and Open).
void RefreshLevelOptionsWindow();
INT_PTR CALLBACK LevelOptionsProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
