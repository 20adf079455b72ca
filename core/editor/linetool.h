#pragma once
// The cells the line tool paints between two cells of the canvas. Kept free of drawing so that the
// rounding of the slope can be checked on its own.
#include <vector>

struct GridCell {
    int col;
    int row;
    bool operator==(const GridCell& other) const { return col == other.col && row == other.row; }
};

// The grid cells a line from (col0, row0) towards (col1, row1) paints, in painting order with
// every repeated placement kept. Steps that fall outside the grid are left out: they paint nothing.
std::vector<GridCell> lineCells(int col0, int row0, int col1, int row1);

// True when the cell lies on the 24 by 18 grid.
bool isOnGrid(long long col, long long row);
