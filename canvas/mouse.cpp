#include "canvas/mouse.h"

#include "util/statusbar.h"
#include "util/editorglobals.h"
#include "canvas/blockswin.h"
#include "core/editor/canvasstatus.h"
#include "canvas/draw.h"

int x, y;

namespace {

// The pointer position is never negative here, so the division floors. Positions beyond the
// 384 by 288 canvas give cells off the grid, which the drawing ignores.
int columnAt(LPARAM position) {
    return static_cast<int>(LOWORD(position)) / blockSize;
}
int rowAt(LPARAM position) {
    return static_cast<int>(HIWORD(position)) / blockSize;
}

} // namespace

void OnCanvasLeftClick(LPARAM position) {
    x = columnAt(position);
    y = rowAt(position);
    disegna(currentBlock, x, y);
    UpdateStatusBar(status, leftClickStatus(x, y).c_str());
}

void OnCanvasRightClick(LPARAM position) {
    const int col = columnAt(position);
    const int row = rowAt(position);
    disegnalinea(currentBlock, x, y, col, row);
    UpdateStatusBar(status, rightClickStatus(col, row).c_str());
}

// Dragging repeats the clicks at every reported position. The line comes first, so that with
// both buttons held it reaches the new position before that position becomes the anchor.
void OnCanvasMouseMove(HWND hwnd, WPARAM keys, LPARAM position) {
    if (keys & MK_RBUTTON)
        SendMessageA(hwnd, WM_RBUTTONDOWN, keys, position);
    if (keys & MK_LBUTTON)
        SendMessageA(hwnd, WM_LBUTTONDOWN, keys, position);
}
