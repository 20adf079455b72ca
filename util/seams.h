#pragma once
// The calls that show system dialogs or start other programs. They go through this table so
// that the tests can answer them without a person at the screen.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

struct SystemCalls {
    BOOL(WINAPI* getOpenFileName)(LPOPENFILENAMEA);
    BOOL(WINAPI* getSaveFileName)(LPOPENFILENAMEA);
    int(WINAPI* messageBox)(HWND, LPCSTR, LPCSTR, UINT);
    HINSTANCE(WINAPI* shellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    BOOL(WINAPI* shellExecuteEx)(SHELLEXECUTEINFOA*);
};

extern SystemCalls systemCalls;

// The real system calls, to restore after a test.
SystemCalls realSystemCalls();
