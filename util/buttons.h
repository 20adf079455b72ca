#pragma once
#include <windows.h>

// Puts bitmap resource `bitmapId`, stretched to width × height, on a push button.
// Returns 1 when done, 0 when the bitmap cannot be loaded.
int SetButtonBitmap(HINSTANCE instance, int bitmapId, int width, int height, HWND button);
