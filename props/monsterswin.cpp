#include "props/monsterswin.h"

HWND monsterswin;

void OpenMonsterOptionsWindow() {}
void RefreshMonsterOptionsWindow() {}
INT_PTR CALLBACK MonsterProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
