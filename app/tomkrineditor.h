#pragma once
// The application shell: its globals and the main window.
#include <windows.h>

extern HINSTANCE hInst;
extern HWND hwndMain;
extern HWND status;
extern int blockSize;           // edge of one canvas cell in pixels
extern int doubleSpeed;         // the converter is asked for the doubled baud rate
extern char filename[MAX_PATH]; // the path every file command fills through Apri

constexpr int kFilenameCapacity = MAX_PATH;

int InitApplication();
HWND CreateTomkrinEditorWndClassWnd();
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
