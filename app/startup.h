#pragma once
#include <windows.h>

// Start-up up to the message loop: class, main window, emptied status bar and block images.
// Returns the accelerator table, or null when the class or the window could not be created.
HACCEL StartEditor(HINSTANCE instance);

// The one message loop; returns the quit message's exit code.
int RunMessageLoop(HACCEL accelerators);
