#include "props/leveloptswin.h"

#include <string>

#include "util/statusbar.h"
#include "util/editorglobals.h"
#include "core/level/level.h"
#include "core/level/centratesto.h"
#include "res/resource.h"
#include "util/DlgUtil.h"
#include "util/toolwindow.h"

HWND leveloptswin;

namespace {

enum LevelOptionsControl {
    kStartAddressField = 702,
    kManStartXField = 704,
    kManStartYField = 705,
    kSaveButton = 707,
    kTitleField = 708,
    kNextLevelButton = 712,
    kSetStandardLevelButton = 713,
    kStandardLevelField = 714,
    kCenterButton = 716,
};

// Reads at most the title's width from the field; longer typing is cut here.
std::string readTitleField(HWND dialog) {
    char text[kTitleLength + 1] = "";
    GetDlgItemTextA(dialog, kTitleField, text, sizeof text);
    return text;
}

void fillFields(HWND dialog) {
    SetDlgItemHex(dialog, kStartAddressField, l.startAddress());
    SetDlgItemHex(dialog, kManStartXField, l.manStartX());
    SetDlgItemHex(dialog, kManStartYField, l.manStartY());
    std::string title;
    for (int i = 0; i < kTitleLength && (l.titleChar(i) & 0xFF) != 0; ++i)
        title += static_cast<char>(l.titleChar(i) & 0xFF);
    SetDlgItemTextA(dialog, kTitleField, title.c_str());
}

void stepToNextLevel(HWND dialog) {
    // Not cut to 16 bits here: the field shows the sum, Save keeps its low 16 bits.
    SetDlgItemHex(dialog, kStartAddressField,
                  GetDlgItemHex(dialog, kStartAddressField) + kLevelBodySize);
}

void setStandardLevel(HWND dialog) {
    UINT n = GetDlgItemInt(dialog, kStandardLevelField, nullptr, FALSE);
    if (n >= static_cast<UINT>(kStandardLevels))
        n = 0;
    SetDlgItemHex(dialog, kStartAddressField, standardLevelAddress(static_cast<int>(n)));
}

void centreTitle(HWND dialog) {
    char centred[kTitleLength + 1];
    centratesto(readTitleField(dialog).c_str(), centred, kTitleLength);
    SetDlgItemTextA(dialog, kTitleField, centred);
}

void saveOptions(HWND dialog) {
    l.startAddress() = GetDlgItemHex(dialog, kStartAddressField);
    l.endAddress() = (l.startAddress() + kEndAddressDistance) & 0xFFFF;
    l.execAddress() = 0;
    l.manStartX() = GetDlgItemHex(dialog, kManStartXField) & 0xFF;
    l.manStartY() = GetDlgItemHex(dialog, kManStartYField) & 0xFF;
    const std::string padded = readTitleField(dialog) + std::string(kTitleLength, ' ');
    for (int i = 0; i < kTitleLength; ++i)
        l.titleChar(i) = static_cast<signed char>(padded[static_cast<size_t>(i)]);
    // The field shows the padding too, so the user sees where the stored title ends.
    SetDlgItemTextA(dialog, kTitleField, padded.c_str());
    UpdateStatusBar(status, "Level options saved.");
}

void onCommand(HWND dialog, WPARAM wParam) {
    // Only clicks count: the whole wParam must be the button's id.
    switch (wParam) {
    case kNextLevelButton:
        stepToNextLevel(dialog);
        break;
    case kSetStandardLevelButton:
        setStandardLevel(dialog);
        break;
    case kCenterButton:
        centreTitle(dialog);
        break;
    case kSaveButton:
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
    if (leveloptswin)
        fillFields(leveloptswin);
}

// The fields are a copy of the level, taken whenever the window is shown or hidden; the level
// changes only with Save. Every message also gets the default dialog handling.
INT_PTR CALLBACK LevelOptionsProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_SHOWWINDOW:
        fillFields(dialog);
        break;
    case WM_COMMAND:
        onCommand(dialog, wParam);
        break;
    case WM_CLOSE:
        ShowWindow(dialog, SW_HIDE);
        break;
    default:
        break;
    }
    return 0;
}
