#pragma once
// The tool windows (palette, level options, monster options) are made once, owned by the main
// window, and afterwards only hidden and shown again, so they keep their state between showings.
#include <windows.h>

// Creates the modeless dialog into `window` from the template when it does not exist yet (the
// template shows it), else shows it again. True when it was created just now.
bool OpenToolWindow(HWND& window, int templateId, DLGPROC procedure);
