#pragma once
// How the canvas paints under the mouse, apart from any window: a left click places the selected
// block in the cell and makes the cell the anchor; a right click paints the line from the anchor to
// the cell (linetool.h); moving with buttons held repeats their clicks at each new position, the
// line first, so that with both held the line reaches the new cell before it becomes the anchor.
// The Win32 canvas, the browser edition and the test that replays edits all paint by these rules.
#include <vector>

#include "core/editor/linetool.h"
#include "core/level/level.h"

enum class CanvasButton { Left, Right };

// The clicks a move with these buttons held repeats, in the order they are repeated.
std::vector<CanvasButton> clicksOfMove(bool left, bool right);

// The anchor of the line and the painting it gives each click.
struct CanvasPen {
    GridCell anchor{0, 0};

    // The cells a click paints, in painting order with repeats; a left click moves the anchor to
    // the clicked cell, on the grid or not.
    std::vector<GridCell> click(CanvasButton button, GridCell at);
};

// The cells take `code`; cells off the grid are left out.
void paintCells(Level& level, const std::vector<GridCell>& cells, int code);
