#pragma once
// Level files on disk.
#include "core/level/level.h"

// Reads a level file into `level`. Returns 1 when the file was read (a short file loads with its
// missing values as 0); returns 0 and leaves `level` untouched when it cannot be opened or read.
int caricaLivello(const char* path, Level* level);

// Writes `level` as a 493-byte level file. The bytes go to a temporary file in the same folder
// that then replaces the target, so a failure never leaves a short or emptied file behind.
// Returns 1 only when all 493 bytes reached the file, else 0 with any old file untouched.
int salvaLivello(const Level* level, const char* path);
