#pragma once
// The block images, one per catalogue entry at the same index.
#include <windows.h>
#include <commctrl.h>

extern HIMAGELIST bmplist;

void InitBmpList();
