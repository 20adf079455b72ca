#include "canvas/bmplist.h"

#include "app/tomkrineditor.h"
#include "canvas/blockcatalog.h"

HIMAGELIST bmplist;

namespace {

constexpr int kImageListGrowth = 1;
constexpr COLORREF kMissingImageColor = RGB(255, 0, 255);

// Stands in for a block picture that cannot be loaded: a plain magenta square that nobody takes
// for a real block, appended so that every later block keeps its image index.
HBITMAP createMissingImage() {
    HDC screen = GetDC(nullptr);
    HBITMAP image = CreateCompatibleBitmap(screen, blockSize, blockSize);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, image);
    HBRUSH brush = CreateSolidBrush(kMissingImageColor);
    RECT square = {0, 0, blockSize, blockSize};
    FillRect(memory, &square, brush);
    DeleteObject(brush);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

HBITMAP loadBlockImage(int blockIndex) {
    const int resourceId = block[blockIndex].bitmapId & 0xFFFF;
    HANDLE image = LoadImageA(hInst, MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, blockSize,
                              blockSize, LR_DEFAULTCOLOR);
    if (!image)
        return createMissingImage();
    return static_cast<HBITMAP>(image);
}

} // namespace

void InitBmpList() {
    bmplist = ImageList_Create(blockSize, blockSize, ILC_COLOR24, kBlockCount, kImageListGrowth);
    if (!bmplist)
        return;
    // Appending in catalogue order makes image i the picture of block i.
    for (int i = 0; i < kBlockCount; ++i) {
        HBITMAP image = loadBlockImage(i);
        ImageList_Add(bmplist, image, nullptr);
        DeleteObject(image); // the image list keeps its own copy
    }
}
