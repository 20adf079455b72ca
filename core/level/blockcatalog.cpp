#include "core/level/blockcatalog.h"

const BlockInfo block[kBlockCount] = {
    {402, 403, 0x20, "Air"},
    {404, 405, 0x3A, "Brick"},
    {406, 407, 0x2D, "Key"},
    {408, 409, 0x3C, "Cross"},
    {410, 411, 0x22, "Bush"},
    {414, 412, 0x7C, "Yellow library"},
    {415, 413, 0x3F, "Red library"},
    {424, 416, 0x60, "Falling1"},
    {425, 417, 0x61, "Falling2"},
    {426, 418, 0x62, "Falling3"},
    {427, 419, 0x63, "Falling4"},
    {428, 420, 0x64, "Falling5"},
    {429, 421, 0x65, "Falling6"},
    {430, 422, 0x66, "Falling7"},
    {431, 423, 0x67, "Falling8"},
    {437, 433, 0x5C, "Lever (OFF)"},
    {435, 434, 0x6C, "Ladder"},
    {440, 438, 0x5F, "Cyan tapis-roulant"},
    {441, 439, 0x6E, "Magenta tapis-roulant"},
    {442, 102, 0x78, "Safe1"},
    {444, 103, 0x79, "Safe2"},
    {443, 104, 0x7A, "Safe3"},
    {445, 105, 0x7B, "Safe4"},
    {446, 447, 0x29, "Yellow steel"},
    {448, 449, 0x5E, "Cyan steel"},
    {450, 106, 0x68, "Window1"},
    {451, 107, 0x69, "Window2"},
    {452, 108, 0x6A, "Window3"},
    {453, 109, 0x6B, "Window4"},
    {454, 110, 0x3D, "Upper stone"},
    {457, 455, 0x2A, "Moon1"},
    {458, 456, 0x2B, "Moon2"},
    {459, 111, 0x70, "Ceiling1"},
    {460, 112, 0x71, "Ceiling2"},
    {461, 113, 0x72, "Ceiling3"},
    {462, 114, 0x73, "Ceiling4"},
    {463, 115, 0x74, "Ceiling5"},
    {464, 117, 0x75, "Ceiling6"},
    {465, 116, 0x3B, "Red walk-through"},
    {470, 118, 0x81, "Heart"},
    {466, 119, 0x76, "Star1"},
    {467, 120, 0x77, "Star2"},
    {468, 121, 0x7D, "Star3"},
    {469, 122, 0x7E, "Star4"},
    {471, 123, 0x40, "Square"},
};

int blockIndexOfCode(std::int32_t code) {
    for (int k = 0; k < kBlockCount; ++k)
        if (block[k].code == code)
            return k;
    return -1;
}
