#include "canvas/mouse.h"

int x, y;

void OnCanvasLeftClick(LPARAM) {}
void OnCanvasRightClick(LPARAM) {}
void OnCanvasMouseMove(HWND, WPARAM, LPARAM) {}
