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
