#include "tape/exportdlg.h"

INT_PTR CALLBACK ExportProc(HWND dialog, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_CLOSE)
        EndDialog(dialog, 0);
    return 0;
}
int InsertLevel(int) { return 0; }
