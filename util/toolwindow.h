#pragma once
// The tool windows (palette, level options, monster options) are made once, owned by the main
// window, and afterwards only hidden and shown again, so they keep their state between showings.
// The options windows show a copy of the level, taken again whenever they are shown or hidden.
#include <windows.h>

// Fills a tool window's fields from the level.
using FillToolWindow = void (*)(HWND window);

// Creates the modeless dialog into `window` from the template when it does not exist yet (the
// template shows it), else shows it again. True when it was created just now.
bool OpenToolWindow(HWND& window, int templateId, DLGPROC procedure);

// Refills the fields of `window` from the level when the window exists (after New and Open).
void RefreshToolWindow(HWND window, FillToolWindow fill);

// The messages every tool window answers alike: shown or hidden, it fills its fields again with
// `fill` (none for the palette); closed, it is only hidden. True when `msg` was one of them.
bool OnToolWindowMessage(HWND window, UINT msg, FillToolWindow fill);
