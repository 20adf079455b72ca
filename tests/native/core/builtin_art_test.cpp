#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "core/picture/builtinart.h"

namespace {

const std::string kArtDir = std::string(TK_SOURCE_DIR) + "/core/picture/art/";

TEST(BuiltInArt, IsTheArtOfTheFilesInTheSourceTree) {
    std::ifstream blocksFile(kArtDir + "blocks.txt");
    std::vector<BlockArt> blocks;
    std::string error;
    ASSERT_TRUE(parseBlockArt(blocksFile, blocks, error)) << error;
    ASSERT_EQ(builtInBlockArt().size(), blocks.size());
    for (std::size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(builtInBlockArt()[i].pixels, blocks[i].pixels) << blocks[i].name;

    std::ifstream fontFile(kArtDir + "font.txt");
    std::vector<FontGlyph> glyphs;
    ASSERT_TRUE(parseFontArt(fontFile, glyphs, error)) << error;
    ASSERT_EQ(builtInFont().size(), glyphs.size());
    std::set<int> codes;
    for (const FontGlyph& glyph : builtInFont())
        codes.insert(glyph.code);
    for (int code = 0x20; code <= 0x7E; ++code)
        EXPECT_EQ(codes.count(code), 1u) << "no glyph for " << static_cast<char>(code);
}

TEST(FontArt, MalformedTextNamesTheLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"41 A\n#####\n", "line 2: glyph ends early"},
        {"4 A\n", "line 1: expected \"<hex code> <character>\""},
        {"\n41 A\n#####\n#...x\n", "line 4: expected 5 of '#' and '.'"},
        {"20 space\n.....\n.....\n.....\n.....\n.....\n.....\n.....\n20 again\n",
         "line 9: code 20 drawn twice"},
    };
    for (const auto& [text, message] : cases) {
        std::istringstream in(text);
        std::vector<FontGlyph> glyphs;
        std::string error;
        EXPECT_FALSE(parseFontArt(in, glyphs, error)) << text;
        EXPECT_EQ(error, message);
    }
}

} // namespace
