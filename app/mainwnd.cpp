#include "app/commands.h"
#include "app/tomkrineditor.h"
#include "canvas/draw.h"
#include "canvas/mouse.h"
#include "core/level/level.h"
#include "res/resource.h"

namespace {
const char kClassName[] = "TomkrinEditorWndClass";
constexpr DWORD kMainWindowStyle =
    WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
} // namespace

int InitApplication() {
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = hInst;
    wc.hIcon = LoadIconA(hInst, MAKEINTRESOURCEA(IDI_TOMKRIN));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(IDM_MAINMENU);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc))
        return 0;
    blockSize = 16;
    doubleSpeed = 0;
    return 1;
}

HWND CreateTomkrinEditorWndClassWnd() {
    return CreateWindowExA(0, kClassName, "TomkrinEditor", kMainWindowStyle, 40, 40, 392, 354,
                           nullptr, nullptr, hInst, nullptr);
}

// There is no paint handler: the level is drawn straight into the window on these messages, on
// edits and after New and Open.
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        SendMessageA(status, WM_SIZE, wParam, lParam);
        disegnalivello(&l);
        return 0;
    case WM_MOVE:
    case WM_SETFOCUS:
    case WM_SHOWWINDOW:
        disegnalivello(&l);
        return 0;
    case WM_HELP:
        SendMessageA(hwnd, WM_COMMAND, CMD_MANUAL, 0);
        return 0;
    case WM_COMMAND:
        MainWndProc_OnCommand(hwnd, LOWORD(wParam));
        return 0;
    case WM_MOUSEMOVE:
        OnCanvasMouseMove(hwnd, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        OnCanvasLeftClick(lParam);
        return 0;
    case WM_RBUTTONDOWN:
        OnCanvasRightClick(lParam);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}
