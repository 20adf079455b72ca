#pragma once
// Waiting for another program to end without freezing this program's windows.
#include <windows.h>

// Waits until `process` has ended, handling this thread's window messages meanwhile. The main
// window takes no input during the wait, so no command can start while one is waiting. Returns
// false when the wait was given up: the program is quitting (the quit message is posted again for
// the main loop) or the handle cannot be waited on.
bool WaitForProcessResponsively(HANDLE process);
