#include "core/picture/builtinart.h"

#include <sstream>

#include "core/level/blockcatalog.h"

// Generated at build time from the art texts (core/picture/builtinart.cpp.in).
extern const char kBuiltInBlockArtText[];
extern const char kBuiltInFontText[];

// The texts are checked by the tests against the files they come from; a parse that failed here
// would leave the lists empty and the pictures without blocks or glyphs, never a crash.
const std::vector<BlockArt>& builtInBlockArt() {
    static const std::vector<BlockArt> art = [] {
        std::vector<BlockArt> blocks;
        std::istringstream in(kBuiltInBlockArtText);
        std::string error;
        parseBlockArt(in, blocks, error);
        return blocks;
    }();
    return art;
}

const BlockArt* builtInBlockArtOfCode(std::int32_t code) {
    const int k = blockIndexOfCode(code);
    if (k < 0)
        return nullptr;
    // Only the low 16 bits of a bitmap id name the bitmap.
    for (const BlockArt& art : builtInBlockArt())
        if (art.bitmapId == (block[k].bitmapId & 0xFFFF))
            return &art;
    return nullptr;
}

const std::vector<FontGlyph>& builtInFont() {
    static const std::vector<FontGlyph> font = [] {
        std::vector<FontGlyph> glyphs;
        std::istringstream in(kBuiltInFontText);
        std::string error;
        parseFontArt(in, glyphs, error);
        return glyphs;
    }();
    return font;
}
