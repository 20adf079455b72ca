#include "util/statusbar.h"

#include <commctrl.h>

// The part index that simple mode draws, with the normal sunken border.
constexpr WPARAM kSimplePart = 255;

HWND CreateStatusBar(HWND parent) {
    HWND statusWindow =
        CreateStatusWindowA(WS_CHILD | WS_VISIBLE | WS_BORDER | SBARS_SIZEGRIP, "", parent, 0);
    if (!statusWindow)
        return nullptr;
    InitStatusBar(statusWindow);
    return statusWindow;
}

void InitStatusBar(HWND statusWindow) {
    SendMessageA(statusWindow, SB_SIMPLE, TRUE, 0);
    UpdateStatusBar(statusWindow, "InitStatusBar: done.");
}

LRESULT UpdateStatusBar(HWND statusWindow, const char* text) {
    return SendMessageA(statusWindow, SB_SETTEXTA, kSimplePart, reinterpret_cast<LPARAM>(text));
}
