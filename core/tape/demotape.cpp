#include "core/tape/demotape.h"

#include <algorithm>

#include "core/level/levelcodec.h"
#include "core/level/centratesto.h"
#include "core/level/defaultlevel.h"
#include "core/tape/casblocks.h"
#include "core/tape/tapebuilder.h"
#include "core/tape/levelslots.h"

namespace {

const char* const kTitles[kStandardLevelCount] = {
    "FIRST STEPS",    "THE LADDERS", "BRICK GARDEN", "MOONLIGHT",    "FALLING FLOORS",
    "THE SAFE",       "STEEL WORKS", "CONVEYORS",    "LIBRARY",      "STAR FIELD",
    "HEART OF STONE", "WINDOWS",     "CEILINGS",     "THE CROSSING", "BUSHES",
    "KEY MASTER",     "TWIN TOWERS", "UNDERGROUND",  "LAST LEVERS",  "WRAP AROUND",
};

// A small linear congruential generator: the same levels on every machine.
class Dice {
  public:
    explicit Dice(unsigned seed) : state_(seed * 2654435761u + 12345u) {}
    int below(int n) {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ >> 16) % static_cast<unsigned>(n));
    }

  private:
    unsigned state_;
};

constexpr int kAir = 0x20, kLadder = 0x6C, kKey = 0x2D, kHeart = 0x81;
const int kFloors[] = {0x3A, 0x29, 0x5E, 0x70, 0x60, 0x3D, 0x5F, 0x6E};
const int kDecor[] = {0x3C, 0x22, 0x7C, 0x3F, 0x2A, 0x2B, 0x76, 0x77, 0x7D, 0x7E, 0x40, 0x5C};

void setTitle(Level& level, const char* text) {
    char centred[kTitleLength + 1];
    centratesto(text, centred, kTitleLength);
    for (int i = 0; i < kTitleLength; ++i)
        level.titleChar(i) = static_cast<unsigned char>(centred[i]);
}

void putBlock2x2(Level& level, int col, int row, int firstCode) {
    level.cell(col, row) = firstCode;
    level.cell(col + 1, row) = firstCode + 1;
    level.cell(col, row + 1) = firstCode + 2;
    level.cell(col + 1, row + 1) = firstCode + 3;
}

void setMonster(Level& level, int k, int col0, int row0, int col1, int row1, int type, int colour) {
    level.monster(k, kMonsterStartX) = monsterX(col0);
    level.monster(k, kMonsterStartY) = monsterY(row0);
    level.monster(k, kMonsterEndX) = monsterX(col1);
    level.monster(k, kMonsterEndY) = monsterY(row1);
    level.monster(k, kMonsterDirection) = col0 == col1 ? 3 : 2;
    level.monster(k, kMonsterType) = type;
    level.monster(k, kMonsterColor) = colour;
}

// Platforms every four rows with gaps, ladders through them, things to pick up and monsters
// walking the platforms.
void paintPlatforms(Level& level, unsigned n, Dice& dice) {
    static const int kTypes[] = {0x09, 0x0B, 0x0D, 0x0F, 0x11, 0x13, 0x15, 0x17, 0x19, 0x1B};
    const int floor = kFloors[n % 8];
    int monster = 0;
    for (int row = 4; row < kRows - 1; row += 4) {
        const int gap = 3 + dice.below(kColumns - 8);
        for (int col = 1; col < kColumns - 1; ++col)
            if (col < gap || col > gap + 2)
                level.cell(col, row) = floor;
        const int ladder = gap > 6 ? gap - 2 - dice.below(3) : gap + 5 + dice.below(3);
        for (int r = row - 3; r <= row; ++r)
            level.cell(ladder, r) = kLadder;
        level.cell(1 + dice.below(kColumns - 2), row - 1) = kKey;
        if (monster < kMonsterCount - 1 && (n + row) % 3 != 0) {
            const int from = 2 + dice.below(4), to = kColumns - 3 - dice.below(4);
            setMonster(level, monster, from, row - 1, to, row - 1, kTypes[(n + row) % 10],
                       2 + (n + row) % 14);
            ++monster;
        }
    }
    if (n % 2 == 1)
        setMonster(level, kMonsterCount - 1, 20, 1, 20, 15, kTypes[n % 10], 15);
}

void paintDecor(Level& level, unsigned n, Dice& dice) {
    for (int i = 0; i < 6; ++i) {
        const int col = 1 + dice.below(kColumns - 2), row = 1 + dice.below(kRows - 3);
        if (level.cell(col, row) == kAir)
            level.cell(col, row) = kDecor[(n + i) % 12];
    }
    putBlock2x2(level, 2 + n % 5, 1, n % 2 ? 0x78 : 0x68); // a safe or a window
    level.cell(kColumns - 3, 2) = kHeart;
    for (int i = 0; i < 4; ++i)
        level.cell(10 + i, kRows - 2) = 0x60 + (n + i) % 8; // falling floors, in stages
}

} // namespace

Level makeDemoLevel(unsigned n) {
    Level level = makeDefaultLevel();
    level.startAddress() = standardLevelAddress(static_cast<int>(n));
    level.endAddress() = headerEndAddress(level.startAddress());
    Dice dice(n + 1);
    paintPlatforms(level, n, dice);
    paintDecor(level, n, dice);
    setTitle(level, kTitles[n % kStandardLevelCount]);
    if (n == kStandardLevelCount - 1) {
        // The last level shows what `tomkrin check` warns about.
        setMonster(level, 3, 3, 2, 12, 9, 0x1D, 9);
        level.cell(6, 6) = 0x00;
    }
    return level;
}

namespace {

void appendWord(std::vector<std::uint8_t>& bytes, unsigned word) {
    bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(word >> 8));
}

// Stand-in program bytes, 0x20 to 0x7F: never a block marker, which starts with 0x1F.
void appendFiller(std::vector<std::uint8_t>& bytes, std::size_t count, unsigned seed) {
    Dice dice(seed);
    for (std::size_t i = 0; i < count; ++i)
        bytes.push_back(static_cast<std::uint8_t>(0x20 + dice.below(0x60)));
}

} // namespace

std::vector<std::uint8_t> makeDemoTape() {
    std::vector<std::uint8_t> tape;
    appendTapeBlock(tape, fileHeaderBlock(kBasicFileId, "LOADER"));
    std::vector<std::uint8_t> basic;
    appendFiller(basic, 120, 1);
    appendTapeBlock(tape, basic);
    appendTapeBlock(tape, fileHeaderBlock(kBinaryFileId, "TKGAME"));
    // The game's data block: addresses, code up to the levels, the levels, then more code.
    tape.insert(tape.end(), kBlockMarker.begin(), kBlockMarker.end());
    appendWord(tape, 0x8000);
    appendWord(tape, 0xF000);
    appendWord(tape, 0x8000);
    appendFiller(tape, static_cast<std::size_t>(kFirstStandardLevelOffset) - tape.size(), 2);
    for (unsigned n = 0; n < kStandardLevelCount; ++n) {
        const LevelFileBytes file = encodeLevel(makeDemoLevel(n));
        tape.insert(tape.end(), file.begin() + kLevelHeaderSize, file.end());
    }
    appendFiller(tape, 4000, 3);
    // Tape images keep every block marker at a multiple of 8, the block before it padded with
    // zeros: the blocks above come out so by their sizes, this one needs the padding.
    tape.resize((tape.size() + 7) / 8 * 8, 0);
    appendTapeBlock(tape, fileHeaderBlock(kBinaryFileId, "TKGFX "));
    std::vector<std::uint8_t> graphics;
    appendWord(graphics, 0x0000);
    appendWord(graphics, 0x3FFF);
    appendWord(graphics, 0x0000);
    appendFiller(graphics, kDemoTapeSize - tape.size() - kBlockMarkerSize - graphics.size(), 4);
    appendTapeBlock(tape, graphics);
    return tape;
}
