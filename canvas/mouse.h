#pragma once
// Mouse editing on the main window's canvas.
#include <windows.h>

extern int x, y; // the last left-clicked cell: the anchor of the line tool

void OnCanvasLeftClick(LPARAM position);
void OnCanvasRightClick(LPARAM position);
void OnCanvasMouseMove(HWND hwnd, WPARAM keys, LPARAM position);
