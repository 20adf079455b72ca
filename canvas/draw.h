#pragma once
// Placing blocks on the canvas: each placement stores the code in the current level `l` and draws
// at once. Redrawing draws the level it is given and changes nothing.
#include "core/level/level.h"

void disegna(int blockIndex, int col, int row);
void disegnalinea(int blockIndex, int col0, int row0, int col1, int row1);
void disegnalivello(const Level* level);
