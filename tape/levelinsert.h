#pragma once
// Copying the body of a saved level file into a tape image of the game.
#include <windows.h>

// Asks for a level file and then for a tape image, and writes the level's 486-byte body into the
// image at `offset`, in place. A level file that cannot supply a whole body stops the insertion
// before the tape image is asked for; a tape image that cannot be written is reported, a cancelled
// tape choice ends quietly. Returns 1 when the body was written, 0 otherwise. `filename` holds the
// last chosen path afterwards.
int InsertLevel(int offset);

// The window that owns the insertion's message boxes; null means the main window.
void SetInsertLevelOwner(HWND owner);
