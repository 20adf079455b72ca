// The browser tests' reference for painting: replays pointer events on the canvas through the
// canvas's pen of the core (the rules the Win32 editor's mouse messages follow), the core's level
// record and catalogue, and writes the level file that results.
//   replayedits EVENTS OUT.bin [BASE.bin]
// BASE.bin is the level the edits start from (File > New's level when none is given). EVENTS holds
// one event a line, cells given as column and row:
//   select NAME      the palette's block of that catalogue name becomes the selected one
//   ldown COL ROW    left button pressed: place the block, the cell becomes the anchor
//   rdown COL ROW    right button pressed: paint the line from the anchor
//   move COL ROW     the pointer moved with the buttons held: the line first, then the placement
//   lup / rup        a button released
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/editor/canvaspen.h"
#include "core/files/filebytes.h"
#include "core/level/blockcatalog.h"
#include "core/level/defaultlevel.h"
#include "core/level/levelcodec.h"

namespace {

struct Editor {
    Level level = makeDefaultLevel();
    int blockIndex = 0;
    CanvasPen pen;
    bool left = false;
    bool right = false;

    void click(CanvasButton button, int col, int row) {
        paintCells(level, pen.click(button, {col, row}), block[blockIndex].code);
    }
};

bool replay(std::istream& events, Editor& editor) {
    std::string line;
    int number = 0;
    while (std::getline(events, line)) {
        ++number;
        std::istringstream words(line);
        std::string what;
        if (!(words >> what))
            continue;
        int col = 0, row = 0;
        bool ok = true;
        if (what == "select") {
            std::string name;
            std::getline(words >> std::ws, name);
            ok = false;
            for (int k = 0; k < kBlockCount && !ok; ++k) {
                if (name == block[k].name) {
                    editor.blockIndex = k;
                    ok = true;
                }
            }
        } else if (what == "ldown" || what == "rdown" || what == "move") {
            ok = static_cast<bool>(words >> col >> row);
            if (ok && what == "ldown") {
                editor.left = true;
                editor.click(CanvasButton::Left, col, row);
            } else if (ok && what == "rdown") {
                editor.right = true;
                editor.click(CanvasButton::Right, col, row);
            } else if (ok) {
                for (const CanvasButton click : clicksOfMove(editor.left, editor.right))
                    editor.click(click, col, row);
            }
        } else if (what == "lup") {
            editor.left = false;
        } else if (what == "rup") {
            editor.right = false;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "replayedits: line %d: not an event: %s\n", number, line.c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: replayedits EVENTS OUT.bin [BASE.bin]\n");
        return 2;
    }
    Editor editor;
    if (argc == 4) {
        std::vector<std::uint8_t> base;
        std::string error;
        if (!readWholeFile(argv[3], base, error)) {
            std::fprintf(stderr, "replayedits: %s: %s\n", argv[3], error.c_str());
            return 1;
        }
        decodeLevel(base.data(), base.size(), editor.level);
    }
    std::ifstream events(argv[1]);
    if (!events) {
        std::fprintf(stderr, "replayedits: cannot read %s\n", argv[1]);
        return 1;
    }
    if (!replay(events, editor))
        return 1;
    const LevelFileBytes bytes = encodeLevel(editor.level);
    std::FILE* out = std::fopen(argv[2], "wb");
    const bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (!out || std::fclose(out) != 0 || !written) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
