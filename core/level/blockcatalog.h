#pragma once
// The 45 blocks a level cell can hold. A block's index here is also its image in the image list,
// the value of the selected block and the order in which the redraw and the palette try them.
#include <cstdint>

struct BlockInfo {
    std::int32_t buttonId; // push button in the blocks palette
    std::int32_t bitmapId; // bitmap resource; only the low 16 bits are used
    std::int32_t code;     // the byte a level cell holds for this block
    const char* name;
};

constexpr int kBlockCount = 45;
extern const BlockInfo block[kBlockCount];

// The catalogue index of the block with this code, or -1 for a code no block has.
int blockIndexOfCode(std::int32_t code);
