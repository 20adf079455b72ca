#include "util/buttons.h"

int SetButtonBitmap(HINSTANCE instance, int bitmapId, int width, int height, HWND button) {
    HANDLE bitmap = LoadImageA(instance, MAKEINTRESOURCEA(bitmapId & 0xFFFF), IMAGE_BITMAP, width,
                               height, LR_DEFAULTCOLOR);
    if (!bitmap)
        return 0;
    // The bitmap lives as long as the button.
    SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    return 1;
}
