#include "tape/exportdlg.h"

#include "res/dlg_export_ids.h"
#include "core/tape/levelslots.h"
#include "util/DlgUtil.h"
#include "util/seams.h"

namespace {

// An empty or unreadable level box reads as level 0.
unsigned readLevelNumber(HWND dialog) {
    return GetDlgItemInt(dialog, IDC_EXPORT_LEVEL, nullptr, FALSE);
}

void showLevelNumber(HWND dialog, unsigned level) {
    SetDlgItemInt(dialog, IDC_EXPORT_LEVEL, level, FALSE);
}

void insertAtStandardLevel(HWND dialog) {
    const unsigned level = readLevelNumber(dialog);
    if (!isStandardLevel(level)) {
        systemCalls.messageBox(dialog, "Chosen level must be in the range 0-19.",
                               "Level selection error", MB_OK);
        return;
    }
    InsertLevel(standardLevelOffset(level));
}

void insertAtAddress(HWND dialog) {
    InsertLevel(GetDlgItemHex(dialog, IDC_EXPORT_ADDRESS));
}

// Only clicks count: the whole wParam must be the button's id, so edit box notifications and the
// dialog manager's IDOK/IDCANCEL for Enter and Escape do nothing.
void onCommand(HWND dialog, WPARAM command) {
    switch (command) {
    case IDC_EXPORT_DOWN:
        showLevelNumber(dialog, previousStandardLevel(readLevelNumber(dialog)));
        break;
    case IDC_EXPORT_UP:
        showLevelNumber(dialog, nextStandardLevel(readLevelNumber(dialog)));
        break;
    case IDC_EXPORT_SELLEVEL:
        insertAtStandardLevel(dialog);
        break;
    case IDC_EXPORT_SETADDRESS:
        insertAtAddress(dialog);
        break;
    default:
        break;
    }
}

} // namespace

// The insertions belong to the dialog for as long as it is open, not only while one command runs:
// the file dialogs of an insertion run message loops of their own, and the commands that reach
// this dialog meanwhile (focus and edit notifications) must not take that away.
INT_PTR CALLBACK ExportProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        SetInsertLevelOwner(dialog);
        break;
    case WM_COMMAND:
        onCommand(dialog, wParam);
        break;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        break;
    case WM_DESTROY:
        SetInsertLevelOwner(nullptr);
        break;
    default:
        break;
    }
    return 0;
}
