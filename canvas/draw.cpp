#include "canvas/draw.h"

#include <windows.h>
#include <commctrl.h>

#include "util/editorglobals.h"
#include "core/level/blockcatalog.h"
#include "canvas/bmplist.h"
#include "core/editor/canvaspen.h"

namespace {

// Draws the block's image in the cell of the canvas.
void drawBlock(HDC dc, int blockIndex, int col, int row) {
    if (blockStrip)
        BitBlt(dc, col * blockSize, row * blockSize, blockSize, blockSize, blockStrip,
               blockIndex * blockSize, 0, SRCCOPY);
    else if (bmplist)
        ImageList_Draw(bmplist, blockIndex, dc, col * blockSize, row * blockSize, ILD_NORMAL);
}

// Stores the block's code in the cell of the current level and draws its image there. Cells off
// the grid are ignored.
void place(HDC dc, int blockIndex, int col, int row) {
    if (!isOnGrid(col, row))
        return;
    l.cell(col, row) = block[blockIndex].code;
    drawBlock(dc, blockIndex, col, row);
}

// The canvas has no picture of its own: every placement goes straight into the window.
class CanvasDC {
  public:
    CanvasDC() : dc_(GetDC(hwndMain)) {}
    ~CanvasDC() { ReleaseDC(hwndMain, dc_); }
    CanvasDC(const CanvasDC&) = delete;
    CanvasDC& operator=(const CanvasDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

} // namespace

void disegna(int blockIndex, int col, int row) {
    if (!isOnGrid(col, row))
        return;
    CanvasDC canvas;
    place(canvas.get(), blockIndex, col, row);
}

void disegnalinea(int blockIndex, int col0, int row0, int col1, int row1) {
    CanvasPen pen{{col0, row0}};
    const std::vector<GridCell> cells = pen.click(CanvasButton::Right, {col1, row1});
    if (cells.empty())
        return;
    CanvasDC canvas;
    for (const GridCell& cell : cells)
        place(canvas.get(), blockIndex, cell.col, cell.row);
}

// Row by row from the top; the level is only read. A cell whose code no block has is neither drawn
// nor cleared.
void disegnalivello(const Level* level) {
    CanvasDC canvas;
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kColumns; ++col) {
            const int k = blockIndexOfCode(level->cell(col, row));
            if (k >= 0)
                drawBlock(canvas.get(), k, col, row);
        }
    }
}
