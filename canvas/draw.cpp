#include "canvas/draw.h"

void disegna(int, int, int) {}
void disegnalinea(int, int, int, int, int) {}
void disegnalivello(Level*) {}
