#include "app/startup.h"

#include <commctrl.h>

#include "util/statusbar.h"
#include "app/tomkrineditor.h"
#include "canvas/bmplist.h"
#include "res/resource.h"

HACCEL StartEditor(HINSTANCE instance) {
    hInst = instance;
    InitCommonControls();
    if (!InitApplication())
        return nullptr;
    HACCEL accelerators = LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(IDA_ACCELERATORS));
    hwndMain = CreateTomkrinEditorWndClassWnd();
    if (!hwndMain)
        return nullptr;
    status = CreateStatusBar(hwndMain);
    UpdateStatusBar(status, "");
    InitBmpList();
    return accelerators;
}

int RunMessageLoop(HACCEL accelerators) {
    MSG msg;
    // Accelerators go to the message's own window, so they act only while the main window has
    // the keyboard focus.
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(msg.hwnd, accelerators, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
