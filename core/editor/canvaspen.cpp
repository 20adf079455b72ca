#include "core/editor/canvaspen.h"

std::vector<CanvasButton> clicksOfMove(bool left, bool right) {
    std::vector<CanvasButton> clicks;
    if (right)
        clicks.push_back(CanvasButton::Right);
    if (left)
        clicks.push_back(CanvasButton::Left);
    return clicks;
}

std::vector<GridCell> CanvasPen::click(CanvasButton button, GridCell at) {
    if (button == CanvasButton::Right)
        return lineCells(anchor.col, anchor.row, at.col, at.row);
    anchor = at;
    if (!isOnGrid(at.col, at.row))
        return {};
    return {at};
}

void paintCells(Level& level, const std::vector<GridCell>& cells, int code) {
    for (const GridCell& cell : cells)
        if (isOnGrid(cell.col, cell.row))
            level.cell(cell.col, cell.row) = code;
}
