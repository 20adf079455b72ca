#include "tape/processwait.h"

#include "util/editorglobals.h"

namespace {

// False when the quit message came, which the main loop must still see.
bool handleWaitingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

bool waitForEnd(HANDLE process) {
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0)
            return true;
        if (woken != WAIT_OBJECT_0 + 1 || !handleWaitingMessages())
            return false;
    }
}

} // namespace

bool WaitForProcessResponsively(HANDLE process) {
    const BOOL wasDisabled = EnableWindow(hwndMain, FALSE);
    const bool ended = waitForEnd(process);
    if (!wasDisabled)
        EnableWindow(hwndMain, TRUE);
    return ended;
}
