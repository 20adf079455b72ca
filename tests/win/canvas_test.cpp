// The canvas against the editor's real main window: clicks, lines, dragging, redraw, image list
// and the blocks palette. Pixels are read back from the window itself.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/tomkrineditor.h"
#include "core/level/blockcatalog.h"
#include "canvas/blockswin.h"
#include "canvas/bmplist.h"
#include "canvas/draw.h"
#include "canvas/mouse.h"
#include "core/level/level.h"
#include "level/tomkrinfile.h"
#include "res/resource.h"
#include "tests/win/support/editor.h"

namespace {

constexpr int kCell = 16;
constexpr int kKey = 2;
constexpr int kBrick = 1;
constexpr int kHeart = 39;
constexpr int kSquare = 44;

using Pixels = std::vector<COLORREF>; // one cell, row by row

// The pixels of a bitmap resource as the screen shows them.
Pixels resourcePixels(int bitmapId) {
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                                        IMAGE_BITMAP, kCell, kCell, LR_DEFAULTCOLOR));
    EXPECT_NE(bitmap, nullptr) << "bitmap " << bitmapId;
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    Pixels pixels;
    for (int py = 0; py < kCell; ++py)
        for (int px = 0; px < kCell; ++px)
            pixels.push_back(GetPixel(memory, px, py));
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return pixels;
}

const Pixels& blockPixels(int blockIndex) {
    static std::map<int, Pixels> cache;
    auto found = cache.find(blockIndex);
    if (found == cache.end())
        found = cache.emplace(blockIndex, resourcePixels(block[blockIndex].bitmapId)).first;
    return found->second;
}

// A copy of the main window's client area, taken at once.
class CanvasShot {
  public:
    CanvasShot() {
        RECT client;
        GetClientRect(hwndMain, &client);
        width_ = client.right;
        height_ = client.bottom;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(memory, section);
        HDC window = GetDC(hwndMain);
        BitBlt(memory, 0, 0, width_, height_, window, 0, 0, SRCCOPY);
        ReleaseDC(hwndMain, window);
        GdiFlush();
        const auto* quads = static_cast<const RGBQUAD*>(bits);
        for (int i = 0; i < width_ * height_; ++i)
            pixels_.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
        SelectObject(memory, previous);
        DeleteDC(memory);
        DeleteObject(section);
    }

    Pixels cell(int col, int row) const {
        Pixels cellPixels;
        for (int py = row * kCell; py < (row + 1) * kCell; ++py)
            for (int px = col * kCell; px < (col + 1) * kCell; ++px)
                cellPixels.push_back(pixels_[static_cast<size_t>(py * width_ + px)]);
        return cellPixels;
    }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};

const Pixels& blankCell() {
    static const Pixels blank(kCell * kCell, GetSysColor(COLOR_WINDOW));
    return blank;
}

using Cell = std::pair<int, int>;
using Picture = std::map<Cell, int>; // cell → block index shown there

// Every cell of the grid shows what the picture says, and every other cell is blank.
void expectCanvas(const Picture& picture) {
    CanvasShot shot;
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col) {
            auto found = picture.find({col, row});
            const Pixels& expected =
                found == picture.end() ? blankCell() : blockPixels(found->second);
            EXPECT_TRUE(shot.cell(col, row) == expected)
                << "cell (" << col << "," << row << ") should show "
                << (found == picture.end() ? "nothing" : block[found->second].name);
        }
}

LPARAM at(int px, int py) {
    return MAKELPARAM(px, py);
}

void leftClick(int px, int py) {
    SendMessageA(hwndMain, WM_LBUTTONDOWN, MK_LBUTTON, at(px, py));
}
void rightClick(int px, int py) {
    SendMessageA(hwndMain, WM_RBUTTONDOWN, MK_RBUTTON, at(px, py));
}
// The pixel in the middle of a cell.
int mid(int cellIndex) {
    return cellIndex * kCell + kCell / 2;
}

class Canvas : public testing::Test {
  protected:
    void SetUp() override {
        StartEditorOnce();
        static bool enlarged = false;
        if (!enlarged) {
            // Room for clicks beyond the 384 by 288 grid.
            SetWindowPos(hwndMain, nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOMOVE);
            enlarged = true;
        }
        if (blockwin)
            ShowWindow(blockwin, SW_HIDE);
        l = Level{};
        x = 0;
        y = 0;
        currentBlock = 0;
        InvalidateRect(hwndMain, nullptr, TRUE);
        UpdateWindow(hwndMain);
        PumpMessages();
    }
};

TEST_F(Canvas, ImageListHoldsTheBlockPicturesInCatalogueOrder) {
    ASSERT_NE(bmplist, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(bmplist), 45);
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(bmplist, &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);

    // Every image drawn from the list is its block's own bitmap.
    HDC window = GetDC(hwndMain);
    for (int i = 0; i < kBlockCount; ++i)
        ImageList_Draw(bmplist, i, window, (i % kColumns) * kCell, (i / kColumns) * kCell,
                       ILD_NORMAL);
    ReleaseDC(hwndMain, window);
    Picture all;
    for (int i = 0; i < kBlockCount; ++i)
        all[{i % kColumns, i / kColumns}] = i;
    expectCanvas(all);
}

TEST_F(Canvas, MissingPicturesKeepTheImagesInPlace) {
    // A module without the block bitmaps: every picture is missing.
    HIMAGELIST images = bmplist;
    HDC strip = blockStrip;
    HINSTANCE program = hInst;
    hInst = GetModuleHandleA("kernel32.dll");
    InitBmpList();
    HIMAGELIST placeholders = bmplist;
    bmplist = images;
    blockStrip = strip;
    hInst = program;
    ASSERT_NE(placeholders, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(placeholders), 45);
    HDC window = GetDC(hwndMain);
    ImageList_Draw(placeholders, 44, window, 0, 0, ILD_NORMAL);
    ReleaseDC(hwndMain, window);
    ImageList_Destroy(placeholders);
    const Pixels cell = CanvasShot().cell(0, 0);
    EXPECT_TRUE(cell != blankCell()) << "a missing picture still shows as a square";
}

TEST_F(Canvas, LeftClickPlacesTheBlockAndMovesTheAnchor) {
    currentBlock = kKey;
    leftClick(40, 70);
    EXPECT_EQ(l.slots[43], 0x2D);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 4);
    EXPECT_EQ(StatusText(), "(0x02,0x04) = Monster(0x20,0x20)");

    // The key's pixels, read straight from the window at (32, 64).
    const Pixels& key = resourcePixels(407);
    HDC window = GetDC(hwndMain);
    int differing = 0;
    for (int py = 0; py < kCell; ++py)
        for (int px = 0; px < kCell; ++px)
            if (GetPixel(window, 32 + px, 64 + py) != key[static_cast<size_t>(py * kCell + px)])
                ++differing;
    ReleaseDC(hwndMain, window);
    EXPECT_EQ(differing, 0);
    expectCanvas({{{2, 4}, kKey}});
}

TEST_F(Canvas, RightClickPaintsALineFromTheAnchorWithoutItsEnd) {
    currentBlock = kKey;
    leftClick(40, 70);
    rightClick(100, 20);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 4);
    EXPECT_EQ(StatusText(), "(0x06,0x01), Monster(0x40,0x08)");
    expectCanvas({{{2, 4}, kKey},
                  {{3, 4}, kKey},
                  {{3, 3}, kKey},
                  {{4, 3}, kKey},
                  {{4, 2}, kKey},
                  {{5, 2}, kKey}});
    EXPECT_EQ(l.cell(6, 1), 0);
    EXPECT_EQ(l.cell(5, 2), 0x2D);
}

TEST_F(Canvas, RightClickBeforeAnyLeftClickStartsAtTheTopLeftCell) {
    currentBlock = kHeart;
    rightClick(mid(0), mid(3));
    expectCanvas({{{0, 0}, kHeart}, {{0, 1}, kHeart}, {{0, 2}, kHeart}});
    // On the anchor itself: nothing, but the text still follows the pointer.
    rightClick(mid(0), mid(0));
    EXPECT_EQ(StatusText(), "(0x00,0x00), Monster(0x10,0x00)");
}

TEST_F(Canvas, ClicksOffTheGridPaintNothing) {
    currentBlock = kKey;
    const Level before = l;
    leftClick(400, 10);
    EXPECT_EQ(x, 25);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(StatusText(), "(0x19,0x00) = Monster(0xD8,0x00)");
    EXPECT_EQ(std::memcmp(&before, &l, sizeof l), 0);
    leftClick(384, 0);
    EXPECT_EQ(x, 24);
    expectCanvas({});

    // A line from the anchor off the grid is painted where it crosses the grid.
    leftClick(400, 10);
    rightClick(mid(20), mid(0));
    expectCanvas({{{20, 0}, kKey}, {{21, 0}, kKey}, {{22, 0}, kKey}, {{23, 0}, kKey}});

    // The last cell of the grid.
    leftClick(383, 287);
    EXPECT_EQ(StatusText(), "(0x17,0x11) = Monster(0xC8,0x88)");
    EXPECT_EQ(l.cell(23, 17), 0x2D);
}

TEST_F(Canvas, DraggingWithBothButtonsDrawsTheLineBeforeMovingTheAnchor) {
    currentBlock = kBrick;
    leftClick(mid(1), mid(1));
    SendMessageA(hwndMain, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, at(mid(5), mid(1)));
    // Had the left click come first, the line would have started and ended at (5, 1).
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 1);
    EXPECT_EQ(StatusText(), "(0x05,0x01) = Monster(0x38,0x08)");
    Picture stroke;
    for (int col = 1; col <= 5; ++col)
        stroke[{col, 1}] = kBrick;
    expectCanvas(stroke);

    // Right button alone: a line only, the anchor stays.
    SendMessageA(hwndMain, WM_MOUSEMOVE, MK_RBUTTON, at(mid(5), mid(4)));
    EXPECT_EQ(x, 5);
    EXPECT_EQ(StatusText(), "(0x05,0x04), Monster(0x38,0x20)");
    stroke[{5, 2}] = kBrick;
    stroke[{5, 3}] = kBrick;
    // No button: nothing at all.
    SendMessageA(hwndMain, WM_MOUSEMOVE, 0, at(mid(9), mid(9)));
    SendMessageA(hwndMain, WM_MOUSEMOVE, MK_SHIFT | MK_CONTROL, at(mid(9), mid(9)));
    EXPECT_EQ(l.cell(9, 9), 0);
    expectCanvas(stroke);
}

TEST_F(Canvas, RedrawShowsKnownCodesAndLeavesUnknownCellsAsTheyWere) {
    // An all-empty level draws nothing.
    disegnalivello(&l);
    expectCanvas({});

    // Something already on screen where the loaded level will hold unknown codes.
    disegna(kBrick, 3, 3);
    disegna(kBrick, 4, 3);
    Level level{};
    level.cell(0, 0) = 0x81;   // Heart
    level.cell(1, 0) = 0x20;   // Air
    level.cell(23, 17) = 0x40; // Square
    level.cell(10, 5) = 0x2D;  // Key
    level.cell(3, 3) = 0x21;   // no block has these
    level.cell(4, 3) = 0xFF;
    level.cell(5, 3) = 0x21;
    level.titleChar(0) = 'T';
    const std::string path = MakeTempFolder() + "level.bin";
    ASSERT_EQ(salvaLivello(&level, path.c_str()), 1);
    ASSERT_EQ(caricaLivello(path.c_str(), &l), 1);
    const Level loaded = l;

    disegnalivello(&l);
    EXPECT_EQ(std::memcmp(&loaded, &l, sizeof l), 0) << "the redraw changes no value";
    expectCanvas({{{0, 0}, kHeart},
                  {{1, 0}, 0},
                  {{23, 17}, kSquare},
                  {{10, 5}, kKey},
                  {{3, 3}, kBrick},
                  {{4, 3}, kBrick}});
}

TEST_F(Canvas, EveryBlockIsDrawnWithItsOwnPicture) {
    Picture picture;
    for (int k = 0; k < kBlockCount; ++k) {
        l.cell(k % kColumns, k / kColumns) = block[k].code;
        picture[{k % kColumns, k / kColumns}] = k;
    }
    disegnalivello(&l);
    expectCanvas(picture);
}

// The palette tests come last: the palette window may lie over the canvas.

void pressPaletteButton(int buttonId) {
    SendMessageA(GetDlgItem(blockwin, buttonId), BM_CLICK, 0, 0);
}

TEST_F(Canvas, PaletteButtonsSelectTheBlock) {
    SendMessageA(hwndMain, WM_COMMAND, CMD_BLOCKS, 0);
    PumpMessages();
    ASSERT_NE(blockwin, nullptr);
    EXPECT_TRUE(IsWindowVisible(blockwin));
    EXPECT_EQ(currentBlock, 0) << "Air until a button is pressed";

    pressPaletteButton(406);
    EXPECT_EQ(currentBlock, kKey);
    EXPECT_EQ(StatusText(), "Key = 0x2D");
    pressPaletteButton(470);
    EXPECT_EQ(currentBlock, kHeart);
    EXPECT_EQ(StatusText(), "Heart = 0x81");
    pressPaletteButton(437);
    EXPECT_EQ(currentBlock, 15);
    EXPECT_EQ(StatusText(), "Lever (OFF) = 0x5C");

    // A notification other than a click names no button.
    SendMessageA(blockwin, WM_COMMAND, MAKEWPARAM(406, BN_SETFOCUS), 0);
    EXPECT_EQ(currentBlock, 15);
    EXPECT_EQ(StatusText(), "Lever (OFF) = 0x5C");

    // Every block has its button, with its bitmap on it.
    for (int i = 0; i < kBlockCount; ++i) {
        HWND button = GetDlgItem(blockwin, block[i].buttonId);
        ASSERT_NE(button, nullptr) << block[i].name;
        EXPECT_NE(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << block[i].name;
        pressPaletteButton(block[i].buttonId);
        EXPECT_EQ(currentBlock, i) << block[i].name;
    }
}

TEST_F(Canvas, PaletteButtonsStandInTheirPlaces) {
    SendMessageA(hwndMain, WM_COMMAND, CMD_BLOCKS, 0);
    PumpMessages();
    ASSERT_NE(blockwin, nullptr);
    // The first control in tab order is the key, then air and brick.
    HWND first = GetWindow(blockwin, GW_CHILD);
    EXPECT_EQ(GetDlgCtrlID(first), 406);
    EXPECT_EQ(GetDlgCtrlID(GetWindow(first, GW_HWNDNEXT)), 402);
    int buttons = 0;
    for (HWND child = first; child; child = GetWindow(child, GW_HWNDNEXT))
        ++buttons;
    EXPECT_EQ(buttons, 45);

    const struct {
        int id, x, y;
    } places[] = {{402, 4, 4},  {404, 4, 20},   {406, 176, 12},
                  {446, 52, 4}, {470, 248, 20}, {464, 388, 20}};
    for (const auto& place : places) {
        RECT expected = {place.x, place.y, place.x + 16, place.y + 16};
        MapDialogRect(blockwin, &expected);
        RECT actual;
        HWND button = GetDlgItem(blockwin, place.id);
        GetWindowRect(button, &actual);
        MapWindowPoints(nullptr, blockwin, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left) << place.id;
        EXPECT_EQ(actual.top, expected.top) << place.id;
        EXPECT_EQ(actual.right, expected.right) << place.id;
        EXPECT_EQ(actual.bottom, expected.bottom) << place.id;
    }
}

TEST_F(Canvas, PaletteIsMadeOnceAndOnlyHiddenByItsCloseBox) {
    SendMessageA(hwndMain, WM_COMMAND, CMD_BLOCKS, 0);
    PumpMessages();
    HWND palette = blockwin;
    ASSERT_NE(palette, nullptr);
    pressPaletteButton(470);
    leftClick(mid(1), mid(1)); // the status line now shows a cell

    SendMessageA(palette, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_TRUE(IsWindow(palette));
    EXPECT_FALSE(IsWindowVisible(palette));
    // The cancel command that closing brings keeps the block and shows it again.
    EXPECT_EQ(currentBlock, kHeart);
    EXPECT_EQ(StatusText(), "Heart = 0x81");

    leftClick(mid(1), mid(1));
    SendMessageA(palette, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(currentBlock, kHeart);
    EXPECT_EQ(StatusText(), "Heart = 0x81");

    SendMessageA(hwndMain, WM_COMMAND, CMD_BLOCKS, 0);
    PumpMessages();
    EXPECT_EQ(blockwin, palette);
    EXPECT_TRUE(IsWindowVisible(palette));
    EXPECT_EQ(currentBlock, kHeart);
    SendMessageA(hwndMain, WM_COMMAND, CMD_BLOCKS, 0);
    EXPECT_EQ(blockwin, palette);
}

} // namespace
