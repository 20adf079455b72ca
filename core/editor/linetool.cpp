#include "core/editor/linetool.h"

#include <algorithm>
#include <cstdlib>

#include "core/level/level.h"

namespace {

// Every non-vertical line takes this many steps, whatever its length.
constexpr int kLineSteps = 24;

void addIfOnGrid(std::vector<GridCell>& cells, long long col, long long row) {
    if (isOnGrid(col, row))
        cells.push_back({static_cast<int>(col), static_cast<int>(row)});
}

// From the upper endpoint down to the row just above the lower one.
std::vector<GridCell> verticalCells(int col, int row0, int row1) {
    std::vector<GridCell> cells;
    const long long top = std::min(row0, row1);
    const long long bottom = std::max(row0, row1); // never painted
    // Rows off the grid paint nothing, so the walk can start and stop at its edges.
    const long long first = std::max(top, 0LL);
    const long long last = std::min(bottom - 1, static_cast<long long>(kRows - 1));
    for (long long row = first; row <= last; ++row)
        addIfOnGrid(cells, col, row);
    return cells;
}

// Always walks from the endpoint with the smaller column. The slope is kept in single precision,
// which decides a few cells of lines whose exact steps land on a whole row.
std::vector<GridCell> steppedCells(long long startCol, long long startRow, long long endCol,
                                   long long endRow) {
    std::vector<GridCell> cells;
    const long long dx = endCol - startCol;
    const float slope = static_cast<float>(static_cast<double>(endRow - startRow) / dx);
    for (long long i = 0; i < kLineSteps; ++i) {
        const long long t = i * dx;
        const long long colOffset = t / kLineSteps;
        const double rowStep = static_cast<double>(t) * static_cast<double>(slope) / kLineSteps;
        const long long rowOffset = static_cast<long long>(rowStep); // toward zero
        addIfOnGrid(cells, startCol + colOffset, startRow + rowOffset);
    }
    return cells;
}

} // namespace

bool isOnGrid(long long col, long long row) {
    return col >= 0 && col < kColumns && row >= 0 && row < kRows;
}

std::vector<GridCell> lineCells(int col0, int row0, int col1, int row1) {
    if (col0 == col1)
        return verticalCells(col0, row0, row1);
    if (col0 < col1)
        return steppedCells(col0, row0, col1, row1);
    return steppedCells(col1, row1, col0, row0);
}
