#pragma once
// Placing blocks on the canvas: each placement stores the code in the level and draws at once.
#include "core/level/level.h"

void disegna(int blockIndex, int col, int row);
void disegnalinea(int blockIndex, int col0, int row0, int col1, int row1);
void disegnalivello(Level* level);
