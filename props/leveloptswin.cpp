#include "props/leveloptswin.h"

#include <string>

#include "util/statusbar.h"
#include "util/editorglobals.h"
#include "core/level/level.h"
#include "core/level/centratesto.h"
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

void fillFields(HWND dialog) {
    SetDlgItemHex(dialog, IDC_LEVEL_START, l.startAddress());
    SetDlgItemHex(dialog, IDC_LEVEL_MAN_X, l.manStartX());
    SetDlgItemHex(dialog, IDC_LEVEL_MAN_Y, l.manStartY());
    std::string title;
    for (int i = 0; i < kTitleLength && (l.titleChar(i) & 0xFF) != 0; ++i)
        title += static_cast<char>(l.titleChar(i) & 0xFF);
    SetDlgItemTextA(dialog, IDC_LEVEL_TITLE, title.c_str());
}

void stepToNextLevel(HWND dialog) {
    // Not cut to 16 bits here: the field shows the sum, Save keeps its low 16 bits.
    SetDlgItemHex(dialog, IDC_LEVEL_START, GetDlgItemHex(dialog, IDC_LEVEL_START) + kLevelBodySize);
}

void setStandardLevel(HWND dialog) {
    UINT n = GetDlgItemInt(dialog, IDC_LEVEL_STANDARD, nullptr, FALSE);
    if (n >= kStandardLevelCount)
        n = 0;
    SetDlgItemHex(dialog, IDC_LEVEL_START, standardLevelAddress(static_cast<int>(n)));
}

void centreTitle(HWND dialog) {
    char centred[kTitleLength + 1];
    centratesto(readTitleField(dialog).c_str(), centred, kTitleLength);
    SetDlgItemTextA(dialog, IDC_LEVEL_TITLE, centred);
}

void saveOptions(HWND dialog) {
    l.startAddress() = GetDlgItemHex(dialog, IDC_LEVEL_START);
    l.endAddress() = headerEndAddress(l.startAddress());
    l.execAddress() = 0;
    l.manStartX() = GetDlgItemHex(dialog, IDC_LEVEL_MAN_X) & 0xFF;
    l.manStartY() = GetDlgItemHex(dialog, IDC_LEVEL_MAN_Y) & 0xFF;
    const std::string padded = readTitleField(dialog) + std::string(kTitleLength, ' ');
    for (int i = 0; i < kTitleLength; ++i)
        l.titleChar(i) = static_cast<signed char>(padded[static_cast<size_t>(i)]);
    // The field shows the padding too, so the user sees where the stored title ends.
    SetDlgItemTextA(dialog, IDC_LEVEL_TITLE, padded.c_str());
    UpdateStatusBar(status, "Level options saved.");
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
