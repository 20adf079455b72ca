#include "props/leveloptswin.h"

HWND leveloptswin;

void OpenLevelOptionsWindow() {}
void RefreshLevelOptionsWindow() {}
INT_PTR CALLBACK LevelOptionsProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
