#pragma once
// The status line texts of the canvas and the palette.
#include <string>

// After a left click: the new anchor cell and its monster coordinates.
std::string leftClickStatus(int col, int row);

// After a right click: the clicked cell and its monster coordinates.
std::string rightClickStatus(int col, int row);

// After a palette command: the selected block's name and code.
std::string selectedBlockStatus(int blockIndex);
