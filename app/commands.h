#pragma once
// The menu and accelerator commands of the main window.
#include <windows.h>

void MainWndProc_OnCommand(HWND hwnd, int id);

// The About box's text: the editor, its version and maker, then where to send reports.
extern const char kAboutText[];
