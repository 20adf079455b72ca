#include "canvas/blockswin.h"

#include "util/statusbar.h"
#include "util/editorglobals.h"
#include "core/level/blockcatalog.h"
#include "core/editor/canvasstatus.h"
#include "res/resource.h"
#include "util/buttons.h"
#include "util/toolwindow.h"

HWND blockwin;
int currentBlock;

namespace {

void giveButtonsTheirBitmaps() {
    for (int i = 0; i < kBlockCount; ++i)
        SetButtonBitmap(hInst, block[i].bitmapId, blockSize, blockSize,
                        GetDlgItem(blockwin, block[i].buttonId));
}

// Only a click names a button: the whole command must equal its id. Any other command, the
// cancel that closing the palette brings included, keeps the selection and shows it again.
void selectBlock(WPARAM command) {
    for (int i = 0; i < kBlockCount; ++i)
        if (command == static_cast<WPARAM>(block[i].buttonId))
            currentBlock = i;
    UpdateStatusBar(status, selectedBlockStatus(currentBlock).c_str());
}

} // namespace

// The palette is made once and then only shown and hidden, keeping the selection and the bitmaps.
void OpenBlocksWindow() {
    // The template shows the palette before its buttons get their bitmaps.
    if (OpenToolWindow(blockwin, IDD_BLOCKS, BlocksProc))
        giveButtonsTheirBitmaps();
}

INT_PTR CALLBACK BlocksProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    if (!OnToolWindowMessage(dialog, msg, nullptr) && msg == WM_COMMAND)
        selectBlock(wParam);
    return 0;
}
