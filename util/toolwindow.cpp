#include "util/toolwindow.h"

#include "util/editorglobals.h"

bool OpenToolWindow(HWND& window, int templateId, DLGPROC procedure) {
    if (window) {
        ShowWindow(window, SW_SHOW);
        return false;
    }
    // A failed creation leaves the handle null, so the next command tries again.
    window = CreateDialogParamA(hInst, MAKEINTRESOURCEA(templateId), hwndMain, procedure, 0);
    return window != nullptr;
}

void RefreshToolWindow(HWND window, FillToolWindow fill) {
    if (window)
        fill(window);
}

bool OnToolWindowMessage(HWND window, UINT msg, FillToolWindow fill) {
    switch (msg) {
    case WM_SHOWWINDOW:
        if (fill)
            fill(window);
        return true;
    case WM_CLOSE:
        ShowWindow(window, SW_HIDE);
        return true;
    default:
        return false;
    }
}
