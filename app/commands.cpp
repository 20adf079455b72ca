#include "app/commands.h"

#include "util/statusbar.h"
#include "app/tomkrineditor.h"
#include "canvas/blockswin.h"
#include "canvas/draw.h"
#include "level/tomkrinfile.h"
#include "props/leveloptswin.h"
#include "props/monsterswin.h"
#include "res/resource.h"
#include "res/versioninfo.h"
#include "tape/castowav.h"
#include "tape/exportdlg.h"
#include "util/fileutil.h"
#include "util/seams.h"

const char kAboutText[] = "Tomkrin Editor " TK_VERSION_TEXT " by the Tomkrin Editor project\r\n"
                          "Please send reports, comments and suggestions by e-mail to "
                          "tomkrin-editor@example.org";

namespace {

// The canvas shows only what was drawn since it was last erased, so a freshly loaded level is
// drawn on a clean canvas: cells the new level leaves empty must not keep the old blocks.
void showLoadedLevel() {
    InvalidateRect(hwndMain, nullptr, TRUE);
    UpdateWindow(hwndMain);
    disegnalivello(&l);
    RefreshLevelOptionsWindow();
    RefreshMonsterOptionsWindow();
}

void newLevel() {
    if (!caricaLivello("default.bin", &l)) {
        l = Level{};
        UpdateStatusBar(status, "default.bin not found: empty level.");
    }
    showLoadedLevel();
}

void openLevel(HWND hwnd) {
    if (!Apri(hwnd, filename, kFilenameCapacity, "Load Tomkrin Level", kLevelsFilter, kOpenDialog))
        return;
    if (!caricaLivello(filename, &l)) {
        UpdateStatusBar(status, "Level could not be loaded.");
        return;
    }
    showLoadedLevel();
    UpdateStatusBar(status, "Level loaded.");
}

void saveLevel(HWND hwnd) {
    if (!Apri(hwnd, filename, kFilenameCapacity, "Save Tomkrin Level", kLevelsFilter, kSaveDialog))
        return;
    UpdateStatusBar(status,
                    salvaLivello(&l, filename) ? "Level saved." : "Level could not be saved.");
}

void toggleDoubleSpeed() {
    HMENU menu = GetMenu(hwndMain);
    if (doubleSpeed) {
        CheckMenuItem(menu, CMD_DOUBLE_BAUD, MF_BYCOMMAND | MF_UNCHECKED);
        doubleSpeed = 0;
    } else {
        CheckMenuItem(menu, CMD_DOUBLE_BAUD, MF_BYCOMMAND | MF_CHECKED);
        doubleSpeed = 1;
    }
}

} // namespace

void MainWndProc_OnCommand(HWND hwnd, int id) {
    switch (id) {
    case CMD_NEW:
        newLevel();
        break;
    case CMD_OPEN:
        openLevel(hwnd);
        break;
    case CMD_SAVE:
        saveLevel(hwnd);
        break;
    case CMD_EXIT:
        PostMessageA(hwndMain, WM_CLOSE, 0, 0);
        break;
    case CMD_BLOCKS:
        OpenBlocksWindow();
        break;
    case CMD_LEVELOPTIONS:
        OpenLevelOptionsWindow();
        break;
    case CMD_MONSTERS:
        OpenMonsterOptionsWindow();
        break;
    case CMD_BIN_TO_CAS:
        DialogBoxParamA(hInst, MAKEINTRESOURCEA(IDD_EXPORT), hwndMain, ExportProc, 0);
        break;
    case CMD_MANUAL:
        systemCalls.shellExecute(nullptr, nullptr, "TOMKRIN.RTF", nullptr, nullptr, SW_SHOWNORMAL);
        break;
    case CMD_ABOUT:
        systemCalls.messageBox(hwndMain, kAboutText, "About Tomkrin Editor " TK_VERSION_TEXT,
                               MB_OK);
        break;
    case CMD_CAS_TO_WAV:
        CasToWav();
        break;
    case CMD_DOUBLE_BAUD:
        toggleDoubleSpeed();
        break;
    default:
        break;
    }
}
