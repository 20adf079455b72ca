#pragma once
// The block images, one per catalogue entry at the same index.
#include <windows.h>
#include <commctrl.h>

extern HIMAGELIST bmplist;
// The images of bmplist side by side (image i at x = i × blockSize), drawn from it once; null
// when it could not be made, and then the cells are drawn from bmplist itself.
extern HDC blockStrip;

void InitBmpList();
