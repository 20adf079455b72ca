#pragma once
// Choosing a file through the system's open or save dialog.
#include <windows.h>

enum FileDialogKind { kOpenDialog = 1, kSaveDialog = 2 };

// Filter lists: pairs of description and pattern, each NUL-terminated, ending with an empty one.
extern const char kLevelsFilter[];
extern const char kTapeFilter[];

// Shows the dialog and leaves the chosen path in `path` (emptied first, so a cancelled dialog
// leaves it empty). Returns non-zero when a file was chosen.
int Apri(HWND owner, char* path, int capacity, const char* title, const char* filter, int kind);
