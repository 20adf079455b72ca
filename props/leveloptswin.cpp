#include "props/leveloptswin.h"

#include <string>

#include "util/statusbar.h"
#include "util/editorglobals.h"
#include "core/editor/leveloptions.h"
#include "core/level/level.h"
#include "res/dlg_levelopts_ids.h"
#include "res/resource.h"
#include "util/DlgUtil.h"
#include "util/toolwindow.h"

HWND leveloptswin;

namespace {

// Reads at most the title's width from the field; longer typing is cut here.
std::string readTitleField(HWND dialog) {
    char text[kTitleLength + 1] = "";
    GetDlgItemTextA(dialog, IDC_LEVEL_TITLE, text, sizeof text);
    return text;
}

LevelOptionsFields readFields(HWND dialog) {
    return {GetDlgItemHexText(dialog, IDC_LEVEL_START), GetDlgItemHexText(dialog, IDC_LEVEL_MAN_X),
            GetDlgItemHexText(dialog, IDC_LEVEL_MAN_Y), readTitleField(dialog)};
}

void fillFields(HWND dialog) {
    const LevelOptionsFields fields = levelOptionsFields(l);
    SetDlgItemTextA(dialog, IDC_LEVEL_START, fields.start.c_str());
    SetDlgItemTextA(dialog, IDC_LEVEL_MAN_X, fields.manX.c_str());
    SetDlgItemTextA(dialog, IDC_LEVEL_MAN_Y, fields.manY.c_str());
    SetDlgItemTextA(dialog, IDC_LEVEL_TITLE, fields.title.c_str());
}

void stepToNextLevel(HWND dialog) {
    SetDlgItemTextA(dialog, IDC_LEVEL_START,
                    nextLevelStart(GetDlgItemHexText(dialog, IDC_LEVEL_START)).c_str());
}

void setStandardLevel(HWND dialog) {
    const UINT n = GetDlgItemInt(dialog, IDC_LEVEL_STANDARD, nullptr, FALSE);
    SetDlgItemTextA(dialog, IDC_LEVEL_START, standardLevelStart(n).c_str());
}

void centreTitle(HWND dialog) {
    SetDlgItemTextA(dialog, IDC_LEVEL_TITLE, centredTitle(readTitleField(dialog)).c_str());
}

void saveOptions(HWND dialog) {
    const std::string shown = saveLevelOptions(readFields(dialog), l);
    SetDlgItemTextA(dialog, IDC_LEVEL_TITLE, shown.c_str());
    UpdateStatusBar(status, kLevelOptionsSavedStatus);
}

void onCommand(HWND dialog, WPARAM wParam) {
    // Only clicks count: the whole wParam must be the button's id.
    switch (wParam) {
    case IDC_LEVEL_NEXT:
        stepToNextLevel(dialog);
        break;
    case IDC_LEVEL_SET:
        setStandardLevel(dialog);
        break;
    case IDC_LEVEL_CENTER:
        centreTitle(dialog);
        break;
    case IDC_LEVEL_SAVE:
        saveOptions(dialog);
        break;
    default:
        break;
    }
}

} // namespace

void OpenLevelOptionsWindow() {
    OpenToolWindow(leveloptswin, IDD_LEVELOPTIONS, LevelOptionsProc);
}

void RefreshLevelOptionsWindow() {
    RefreshToolWindow(leveloptswin, fillFields);
}

// The fields are a copy of the level (see OnToolWindowMessage); the level changes only with Save.
// Every message also gets the default dialog handling.
INT_PTR CALLBACK LevelOptionsProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    if (!OnToolWindowMessage(dialog, msg, fillFields) && msg == WM_COMMAND)
        onCommand(dialog, wParam);
    return 0;
}
