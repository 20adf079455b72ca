#include <gtest/gtest.h>

#include <bitset>
#include <set>
#include <utility>
#include <vector>

#include "core/editor/canvaspen.h"
#include "core/editor/canvasstatus.h"
#include "core/editor/linetool.h"

namespace {

struct Repeat {
    int col;
    int row;
    int times;
};

std::vector<GridCell> expand(const std::vector<Repeat>& runs) {
    std::vector<GridCell> cells;
    for (const Repeat& run : runs)
        for (int i = 0; i < run.times; ++i)
            cells.push_back({run.col, run.row});
    return cells;
}

// Checks the cells a line paints, in order with repeats.
void expectLine(int col0, int row0, int col1, int row1, const std::vector<Repeat>& runs) {
    EXPECT_EQ(lineCells(col0, row0, col1, row1), expand(runs))
        << "line (" << col0 << "," << row0 << ")-(" << col1 << "," << row1 << ")";
}

using CellSet = std::set<std::pair<int, int>>;

CellSet asSet(const std::vector<GridCell>& cells) {
    CellSet set;
    for (const GridCell& cell : cells)
        set.insert({cell.col, cell.row});
    return set;
}

// Painted cells as a set, one bit per grid cell: the walk over all pairs compares many sets.
using CellBits = std::bitset<24 * 18>;

CellBits asBits(const std::vector<GridCell>& cells) {
    CellBits bits;
    for (const GridCell& cell : cells)
        bits.set(static_cast<std::size_t>(cell.col * 18 + cell.row));
    return bits;
}

// The same 24 steps with the row offset in exact rational arithmetic.
CellBits exactLineBits(int col0, int row0, int col1, int row1) {
    if (col0 > col1) {
        std::swap(col0, col1);
        std::swap(row0, row1);
    }
    const int dx = col1 - col0;
    CellBits bits;
    for (int i = 0; i < 24; ++i) {
        const int t = i * dx;
        const int col = col0 + t / 24;
        const int row = row0 + t * (row1 - row0) / (dx * 24);
        if (col < 24)
            bits.set(static_cast<std::size_t>(col * 18 + row));
    }
    return bits;
}

} // namespace

void PrintTo(const GridCell& cell, std::ostream* out) {
    *out << "(" << cell.col << "," << cell.row << ")";
}

TEST(LineTool, SlopedLinesPaintTheWorkedCellsInOrder) {
    expectLine(0, 0, 5, 2, {{0, 0, 5}, {1, 0, 5}, {2, 0, 2}, {2, 1, 3}, {3, 1, 5}, {4, 1, 4}});
    expectLine(2, 9, 7, 3,
               {{2, 9, 4},
                {2, 8, 1},
                {3, 8, 3},
                {3, 7, 2},
                {4, 7, 2},
                {4, 6, 3},
                {5, 6, 1},
                {5, 5, 4},
                {6, 4, 4}});
    // Step 12 lands on (3,4): the single-precision slope lies just below 5/3.
    expectLine(0, 0, 6, 10,
               {{0, 0, 3},
                {0, 1, 1},
                {1, 1, 1},
                {1, 2, 3},
                {2, 3, 2},
                {2, 4, 2},
                {3, 4, 1},
                {3, 5, 2},
                {3, 6, 1},
                {4, 6, 1},
                {4, 7, 3},
                {5, 8, 2},
                {5, 9, 2}});
    expectLine(10, 5, 4, 5, {{4, 5, 4}, {5, 5, 4}, {6, 5, 4}, {7, 5, 4}, {8, 5, 4}, {9, 5, 4}});
    const std::vector<Repeat> diagonal = {
        {0, 17, 2}, {1, 16, 1}, {2, 15, 1}, {3, 15, 1}, {4, 14, 1},  {5, 13, 1},
        {6, 13, 1}, {7, 12, 1}, {8, 11, 1}, {9, 10, 1}, {10, 10, 1}, {11, 9, 1},
        {12, 8, 1}, {13, 8, 1}, {14, 7, 1}, {15, 6, 1}, {16, 5, 1},  {17, 5, 1},
        {18, 4, 1}, {19, 3, 1}, {20, 3, 1}, {21, 2, 1}, {22, 1, 1}};
    expectLine(0, 17, 23, 0, diagonal);
}

TEST(LineTool, EndpointOrderDoesNotMatter) {
    EXPECT_EQ(lineCells(5, 2, 0, 0), lineCells(0, 0, 5, 2));
    EXPECT_EQ(lineCells(23, 0, 0, 17), lineCells(0, 17, 23, 0));
    EXPECT_EQ(lineCells(3, 8, 3, 4), lineCells(3, 4, 3, 8));
    // The far endpoint is never painted, whichever end it was given as.
    const CellSet reversed = asSet(lineCells(5, 2, 0, 0));
    EXPECT_EQ(reversed.count({5, 2}), 0u);
    EXPECT_EQ(reversed.count({0, 0}), 1u);
}

TEST(LineTool, VerticalLinesStopAboveTheLowerEnd) {
    const std::vector<GridCell> down = {{3, 4}, {3, 5}, {3, 6}, {3, 7}};
    EXPECT_EQ(lineCells(3, 4, 3, 8), down);
    EXPECT_EQ(lineCells(3, 8, 3, 4), down);
    EXPECT_TRUE(lineCells(4, 7, 4, 7).empty());
    EXPECT_EQ(lineCells(4, 7, 4, 8), (std::vector<GridCell>{{4, 7}}));
}

TEST(LineTool, OneColumnApartPaintsTheOriginEveryStep) {
    expectLine(4, 7, 5, 7, {{4, 7, 24}});
}

TEST(LineTool, CellsOffTheGridAreLeftOut) {
    // A click on an enlarged window: more than 24 columns, so the steps skip some.
    const std::vector<GridCell> expected = {
        {0, 0},  {1, 0},  {2, 0},  {3, 0},  {5, 0},  {6, 0},  {7, 0},  {8, 0},  {10, 0}, {11, 0},
        {12, 0}, {13, 0}, {15, 1}, {16, 1}, {17, 1}, {18, 1}, {20, 1}, {21, 1}, {22, 1}, {23, 1}};
    std::vector<GridCell> painted = lineCells(0, 0, 30, 2);
    EXPECT_EQ(asSet(painted).size(), painted.size()) << "no step repeats a cell here";
    EXPECT_EQ(painted, expected);

    expectLine(25, 0, 20, 0, {{20, 0, 5}, {21, 0, 5}, {22, 0, 5}, {23, 0, 5}});
    EXPECT_EQ(lineCells(2, 4000, 2, 15), (std::vector<GridCell>{{2, 15}, {2, 16}, {2, 17}}));
    EXPECT_EQ(lineCells(2, -5, 2, 1), (std::vector<GridCell>{{2, 0}}));
    EXPECT_TRUE(lineCells(30, 0, 30, 10).empty());
}

TEST(LineTool, SinglePrecisionSlopeChangesExactly4768Pairs) {
    int pairs = 0;
    int differing = 0;
    for (int c0 = 0; c0 < 24; ++c0)
        for (int r0 = 0; r0 < 18; ++r0)
            for (int c1 = 0; c1 < 24; ++c1)
                for (int r1 = 0; r1 < 18; ++r1) {
                    if (c0 == c1)
                        continue;
                    ++pairs;
                    if (asBits(lineCells(c0, r0, c1, r1)) != exactLineBits(c0, r0, c1, r1))
                        ++differing;
                }
    EXPECT_EQ(pairs, 178848);
    EXPECT_EQ(differing, 4768);
}

TEST(CanvasStatus, CellTextsShowTheCellAndItsMonsterCoordinates) {
    EXPECT_EQ(leftClickStatus(2, 4), "(0x02,0x04) = Monster(0x20,0x20)");
    EXPECT_EQ(rightClickStatus(6, 1), "(0x06,0x01), Monster(0x40,0x08)");
    EXPECT_EQ(leftClickStatus(25, 0), "(0x19,0x00) = Monster(0xD8,0x00)");
    EXPECT_EQ(leftClickStatus(23, 17), "(0x17,0x11) = Monster(0xC8,0x88)");
    // Beyond the grid the monster values need three digits and more.
    EXPECT_EQ(leftClickStatus(40, 35), "(0x28,0x23) = Monster(0x150,0x118)");
    EXPECT_EQ(rightClickStatus(4095, 4095), "(0xFFF,0xFFF), Monster(0x8008,0x7FF8)");
}

TEST(CanvasStatus, BlockTextShowsNameAndCode) {
    EXPECT_EQ(selectedBlockStatus(0), "Air = 0x20");
    EXPECT_EQ(selectedBlockStatus(2), "Key = 0x2D");
    EXPECT_EQ(selectedBlockStatus(39), "Heart = 0x81");
    EXPECT_EQ(selectedBlockStatus(15), "Lever (OFF) = 0x5C");
}

// A stroke with both buttons held joins its positions: each move paints the line from the anchor
// first, then the cell, which becomes the anchor. A left click off the grid paints nothing but
// still moves the anchor; a right click never moves it.
TEST(CanvasPen, ClicksPaintAndMoveTheAnchorAsTheCanvasDoes) {
    Level level{};
    CanvasPen pen;
    paintCells(level, pen.click(CanvasButton::Left, {2, 3}), 0x3A);
    for (const CanvasButton click : clicksOfMove(true, true))
        paintCells(level, pen.click(click, {6, 3}), 0x3A);
    for (int col = 2; col <= 6; ++col)
        EXPECT_EQ(level.cell(col, 3), 0x3A) << col;
    EXPECT_EQ(pen.anchor, (GridCell{6, 3}));

    pen.click(CanvasButton::Right, {6, 9});
    EXPECT_EQ(pen.anchor, (GridCell{6, 3}));
    EXPECT_TRUE(pen.click(CanvasButton::Left, {30, -1}).empty());
    EXPECT_EQ(pen.anchor, (GridCell{30, -1}));
    EXPECT_EQ(clicksOfMove(true, false), std::vector<CanvasButton>{CanvasButton::Left});
}
