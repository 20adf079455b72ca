#include "canvas/blockswin.h"

HWND blockwin;
int currentBlock;

void OpenBlocksWindow() {}
INT_PTR CALLBACK BlocksProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
