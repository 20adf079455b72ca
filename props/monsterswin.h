#pragma once
// The monster options window: the four monsters of the level.
#include <windows.h>

extern HWND monsterswin;

void OpenMonsterOptionsWindow();
// Refills the fields from the level, when the window exists (after New and Open).
void RefreshMonsterOptionsWindow();
INT_PTR CALLBACK MonsterProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
