// Times the redraw of a whole level in the editor's real main window: this program starts the
// editor's window, status bar and block images inside itself, fills the level so that every cell
// holds a block's code, and times disegnalivello from entry to return with the performance
// counter, beside the same cells drawn one by one by the image list into a memory bitmap (what the
// redraw saves by copying from its strip of block images). Prints the figures; judges nothing.
//   redraw_bench [RUNS]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/startup.h"
#include "app/tomkrineditor.h"
#include "core/level/blockcatalog.h"
#include "canvas/bmplist.h"
#include "canvas/draw.h"
#include "core/level/level.h"

namespace {

constexpr int kDefaultRuns = 200;
constexpr int kCells = kColumns * kRows;

void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct Timings {
    double median;
    double fastest;
    double slowest;
};

// Microseconds per redraw of `l`. The window's messages are handled between runs, outside the
// timed part, as the message loop would between two redraws.
Timings timeRedraws(int runs) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> micros;
    for (int i = 0; i < runs; ++i) {
        pumpMessages();
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        disegnalivello(&l);
        QueryPerformanceCounter(&end);
        micros.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                         static_cast<double>(frequency.QuadPart));
    }
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros.front(), micros.back()};
}

// The same 432 image draws as a redraw of `l`, into a bitmap as large as the window instead of
// the window: what the drawing costs without the window behind it.
Timings timeOffscreenDraws(int runs) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    RECT client;
    GetClientRect(hwndMain, &client);
    HDC window = GetDC(hwndMain);
    HDC memory = CreateCompatibleDC(window);
    HBITMAP bitmap = CreateCompatibleBitmap(window, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    std::vector<double> micros;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int row = 0; row < kRows; ++row)
            for (int col = 0; col < kColumns; ++col) {
                const int k = blockIndexOfCode(l.cell(col, row));
                if (k >= 0 && bmplist)
                    ImageList_Draw(bmplist, k, memory, col * blockSize, row * blockSize + 1,
                                   ILD_NORMAL);
            }
        QueryPerformanceCounter(&end);
        micros.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                         static_cast<double>(frequency.QuadPart));
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hwndMain, window);
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros.front(), micros.back()};
}

void report(const char* what, const Timings& t, bool perCell) {
    std::printf("%s: %.1f us median\n", what, t.median);
    std::printf("%s: %.1f us fastest\n", what, t.fastest);
    std::printf("%s: %.1f us slowest\n", what, t.slowest);
    if (perCell)
        std::printf("%s: %.3f us per cell\n", what, t.median / kCells);
}

void fillCells(int (*codeOf)(int col, int row)) {
    for (int col = 0; col < kColumns; ++col)
        for (int row = 0; row < kRows; ++row)
            l.cell(col, row) = codeOf(col, row);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(5, std::atoi(argv[1])) : kDefaultRuns;
    if (!StartEditor(GetModuleHandleA(nullptr)) || !hwndMain) {
        std::fprintf(stderr, "redraw_bench: the editor's main window could not be created\n");
        return 1;
    }
    pumpMessages();
    if (!bmplist)
        std::puts("note: the block images were not loaded, so nothing is drawn");
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::printf("%d redraws of the %d cells each in a %s main window; counter at %.1f MHz\n", runs,
                kCells, IsWindowVisible(hwndMain) ? "visible" : "hidden",
                static_cast<double>(frequency.QuadPart) / 1e6);

    // Every block in turn, column by column: each of the 45 codes fills 9 or 10 cells.
    fillCells([](int col, int row) { return block[(col * kRows + row) % kBlockCount].code; });
    const Timings all = timeRedraws(runs);
    const Timings offscreen = timeOffscreenDraws(runs);
    // Codes no block has: all the comparisons, no drawing.
    fillCells([](int, int) { return 0; });
    const Timings none = timeRedraws(runs);

    report("redraw, all 45 blocks", all, true);
    report("no block (nothing drawn)", none, false);
    report("image-list draws of the same cells, into a memory bitmap", offscreen, true);
    std::printf("image-list draws / redraw: %.0f times\n", offscreen.median / all.median);
    DestroyWindow(hwndMain);
    return 0;
}
