#include "canvas/mouse.h"

#include "util/statusbar.h"
#include "util/editorglobals.h"
#include "canvas/blockswin.h"
#include "core/editor/canvaspen.h"
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
    CanvasPen pen{{x, y}};
    for (const GridCell& cell :
         pen.click(CanvasButton::Left, {columnAt(position), rowAt(position)}))
        disegna(currentBlock, cell.col, cell.row);
    x = pen.anchor.col;
    y = pen.anchor.row;
    UpdateStatusBar(status, leftClickStatus(x, y).c_str());
}

void OnCanvasRightClick(LPARAM position) {
    const int col = columnAt(position);
    const int row = rowAt(position);
    disegnalinea(currentBlock, x, y, col, row);
    UpdateStatusBar(status, rightClickStatus(col, row).c_str());
}

// Dragging repeats the clicks at every reported position, as the messages of the buttons held.
void OnCanvasMouseMove(HWND hwnd, WPARAM keys, LPARAM position) {
    for (const CanvasButton click : clicksOfMove(keys & MK_LBUTTON, keys & MK_RBUTTON))
        SendMessageA(hwnd, click == CanvasButton::Right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, keys,
                     position);
}
