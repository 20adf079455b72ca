#pragma once
// Driving the controls of the editor's dialogs from a test, as a user would.
#include <windows.h>

#include <string>
#include <vector>

std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);

// Clicks the button (BM_CLICK, so automatic radio buttons mark themselves) and handles the
// messages that follow.
void Click(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);

// The control ids of the window's children in creation (template) order.
std::vector<int> ChildIds(HWND window);

// The file-name box of a common file dialog, or null when `dialog` is not one.
HWND FileNameBox(HWND dialog);

// Types `path` into the file dialog with this caption once it appears and chooses it, from a
// timer of this thread: call before the command that shows the dialog. After about 20 s without
// the dialog, any file dialog owned by `owner` is cancelled instead, so a test cannot hang.
void AnswerFileDialogLater(HWND owner, const std::string& caption, const std::string& path);
// Whether the last AnswerFileDialogLater found its dialog and typed the path.
bool FileDialogWasAnswered();
