#include "tests/win/support/dialogdriver.h"

#include "tests/win/support/editor.h"

std::string ItemText(HWND dialog, int id) {
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void SetItemText(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextA(dialog, id, text.c_str());
    PumpMessages();
}

void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    PumpMessages();
}

bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::vector<int> ChildIds(HWND window) {
    std::vector<int> ids;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ids.push_back(GetDlgCtrlID(child));
    return ids;
}

namespace {

struct PendingAnswer {
    HWND owner = nullptr;
    std::string caption;
    std::string path;
    int ticks = 0;
    bool answered = false;
};
PendingAnswer pending;

BOOL CALLBACK findEdit(HWND window, LPARAM found) {
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, "Edit") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

} // namespace

// The file-name box: the Edit inside the combo box 0x47C of the explorer-style dialog, or the
// older plain box 0x480.
HWND FileNameBox(HWND dialog) {
    HWND combo = GetDlgItem(dialog, 0x47C);
    if (!combo)
        return GetDlgItem(dialog, 0x480);
    HWND edit = nullptr;
    EnumChildWindows(combo, findEdit, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

namespace {

BOOL CALLBACK cancelOwnedDialog(HWND window, LPARAM owner) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0 &&
        GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner))
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK answerTick(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA("#32770", pending.caption.c_str());
    HWND box = dialog ? FileNameBox(dialog) : nullptr;
    if (box) {
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pending.path.c_str()));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        pending.answered = true;
        KillTimer(nullptr, timer);
    } else if (++pending.ticks > 200) {
        EnumThreadWindows(GetCurrentThreadId(), cancelOwnedDialog,
                          reinterpret_cast<LPARAM>(pending.owner));
        KillTimer(nullptr, timer);
    }
}

} // namespace

void AnswerFileDialogLater(HWND owner, const std::string& caption, const std::string& path) {
    pending = PendingAnswer{owner, caption, path, 0, false};
    SetTimer(nullptr, 0, 100, answerTick);
}

bool FileDialogWasAnswered() {
    return pending.answered;
}
