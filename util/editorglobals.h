#pragma once
// The editor's state that every window shares: handles, the cell size, the converter option, the
// shared path buffer and the level being edited. It lives for the whole run.
#include <windows.h>

#include "core/level/level.h"

extern HINSTANCE hInst;
extern HWND hwndMain;
extern HWND status;
extern int blockSize;           // edge of one canvas cell in pixels
extern int doubleSpeed;         // the converter is asked for the doubled baud rate
extern char filename[MAX_PATH]; // the path every file command fills through Apri

constexpr int kFilenameCapacity = MAX_PATH;

// The one level of the program. Static storage: all slots are 0 at start.
extern Level l;
