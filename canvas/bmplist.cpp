#include "canvas/bmplist.h"

#include "util/editorglobals.h"
#include "core/level/blockcatalog.h"

HIMAGELIST bmplist;
HDC blockStrip;

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

// Every image drawn once, side by side, into a bitmap of our own. Drawing a cell from it is a
// plain copy of the same pixels, many times faster than asking the image list each time.
void buildBlockStrip() {
    HDC screen = GetDC(nullptr);
    HBITMAP strip = CreateCompatibleBitmap(screen, blockSize * kBlockCount, blockSize);
    blockStrip = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!strip || !blockStrip) {
        if (blockStrip)
            DeleteDC(blockStrip);
        if (strip)
            DeleteObject(strip);
        blockStrip = nullptr;
        return;
    }
    SelectObject(blockStrip, strip);
    for (int i = 0; i < kBlockCount; ++i)
        ImageList_Draw(bmplist, i, blockStrip, i * blockSize, 0, ILD_NORMAL);
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
    buildBlockStrip();
}
