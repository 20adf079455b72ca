#pragma once
// Helpers for tests that drive the editor's real windows inside the test program.
#include <windows.h>

#include <string>

#include "core/level/level.h"
#include "util/seams.h"

// Starts the editor (class, main window, status bar, images) the first time it is called.
void StartEditorOnce();

// What a test case starts from: the editor started, `calls` in place of the system calls (the
// case puts the real ones back), and a new empty folder for its files, which it returns.
std::string StartEditorWith(const SystemCalls& calls);

// Handles every message waiting for this thread's windows.
void PumpMessages();

// The status bar's text.
std::string StatusText();

// A new empty folder under the system's temporary folder, with a trailing backslash.
std::string MakeTempFolder();

// Whole-file helpers.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Whether two level records hold the same values in every slot.
bool sameLevel(const Level& a, const Level& b);
