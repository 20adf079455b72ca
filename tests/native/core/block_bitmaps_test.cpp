#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/level/blockcatalog.h"
#include "core/picture/blockart.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kBlocksDir = std::string(TK_SOURCE_DIR) + "/res/blocks";
const std::string kArtFile = std::string(TK_SOURCE_DIR) + "/core/picture/art/blocks.txt";

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t u16At(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}
std::uint32_t u32At(const Bytes& b, std::size_t at) {
    return u16At(b, at) | u16At(b, at + 2) << 16;
}
std::int32_t s32At(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(u32At(b, at));
}

bool isTrueColourBitmap(int id) {
    return (id >= 111 && id <= 122) || id == 407 || id == 455 || id == 456;
}

std::vector<BlockArt> parseArtFile() {
    std::ifstream in(kArtFile);
    std::vector<BlockArt> blocks;
    std::string error;
    EXPECT_TRUE(in.is_open()) << kArtFile;
    EXPECT_TRUE(parseBlockArt(in, blocks, error)) << error;
    return blocks;
}

const BlockArt* artOf(const std::vector<BlockArt>& blocks, int bitmapId) {
    for (const BlockArt& art : blocks)
        if (art.bitmapId == bitmapId)
            return &art;
    return nullptr;
}

BlockArt pictureWithCorners(int bitmapId) {
    BlockArt art;
    art.bitmapId = bitmapId;
    art.pixels[0] = 0xF;   // top-left white
    art.pixels[255] = 0x8; // bottom-right medium red
    return art;
}

} // namespace

TEST(BlockBitmaps, OneFilePerCatalogueBitmapAndNoOthers) {
    std::set<std::string> expected, found;
    for (const BlockInfo& entry : block)
        expected.insert(blockBmpFileName(entry.bitmapId));
    for (const auto& file : std::filesystem::directory_iterator(kBlocksDir))
        if (file.path().extension() == ".bmp")
            found.insert(file.path().filename().string());
    EXPECT_EQ(found, expected);
}

TEST(BlockBitmaps, FilesAreSixteenSquareUncompressedBottomUpInTheirDepth) {
    int trueColour = 0;
    for (const BlockInfo& entry : block) {
        SCOPED_TRACE(entry.name);
        const Bytes file = readFile(kBlocksDir + "/" + blockBmpFileName(entry.bitmapId));
        ASSERT_GE(file.size(), 54u);
        const bool is24 = isTrueColourBitmap(entry.bitmapId);
        trueColour += is24;
        const std::uint32_t tableBytes = is24 ? 0 : 1024;
        EXPECT_EQ(file.size(), is24 ? 822u : 1334u);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(u32At(file, 2), file.size());
        EXPECT_EQ(u32At(file, 10), 54u + tableBytes);
        EXPECT_EQ(u32At(file, 14), 40u);
        EXPECT_EQ(s32At(file, 18), 16);
        EXPECT_EQ(s32At(file, 22), 16) << "positive height: rows stored bottom-up";
        EXPECT_EQ(u16At(file, 26), 1u);
        EXPECT_EQ(u16At(file, 28), is24 ? 24u : 8u);
        EXPECT_EQ(u32At(file, 30), 0u) << "BI_RGB";
        const std::uint32_t coloursUsed = u32At(file, 46);
        if (is24)
            EXPECT_EQ(coloursUsed, 0u);
        else
            EXPECT_TRUE(coloursUsed == 0 || coloursUsed == 256) << coloursUsed;
    }
    EXPECT_EQ(trueColour, 15);
}

TEST(BlockBitmaps, CommittedFilesAreWhatTheArtGivesNow) {
    const std::vector<BlockArt> blocks = parseArtFile();
    EXPECT_EQ(blocks.size(), static_cast<std::size_t>(kBlockCount));
    for (const BlockInfo& entry : block) {
        SCOPED_TRACE(entry.name);
        const BlockArt* art = artOf(blocks, entry.bitmapId);
        ASSERT_NE(art, nullptr) << "no picture for bitmap " << entry.bitmapId;
        EXPECT_EQ(art->name, entry.name);
        EXPECT_TRUE(readFile(kBlocksDir + "/" + blockBmpFileName(entry.bitmapId)) ==
                    encodeBlockBmp(*art))
            << "run scripts/gen-bitmaps.sh after editing core/picture/art/blocks.txt";
    }
}

// The canvas tests recognise a placed block by its pixels, so no two pictures may be alike and
// the key must stand out from the black of an empty cell.
TEST(BlockBitmaps, PicturesAreTellableApart) {
    const std::vector<BlockArt> blocks = parseArtFile();
    for (std::size_t i = 0; i < blocks.size(); ++i)
        for (std::size_t k = i + 1; k < blocks.size(); ++k)
            EXPECT_NE(blocks[i].pixels, blocks[k].pixels)
                << blocks[i].name << " looks like " << blocks[k].name;
    const BlockArt* key = artOf(blocks, 407);
    ASSERT_NE(key, nullptr);
    int lit = 0;
    for (std::uint8_t colour : key->pixels)
        lit += colour > 1;
    EXPECT_GE(lit, 256 / 3);
}

TEST(BlockArt, EncodesRowsBottomUpInMsxColours) {
    const Bytes indexed = encodeBlockBmp(pictureWithCorners(403));
    ASSERT_EQ(indexed.size(), 1334u);
    const Bytes white = {0xFF, 0xFF, 0xFF, 0x00}, red = {0x54, 0x55, 0xFC, 0x00};
    EXPECT_EQ(Bytes(indexed.begin() + 54 + 15 * 4, indexed.begin() + 54 + 16 * 4), white);
    EXPECT_EQ(Bytes(indexed.begin() + 54 + 8 * 4, indexed.begin() + 54 + 9 * 4), red);
    EXPECT_EQ(Bytes(indexed.begin() + 54 + 16 * 4, indexed.begin() + 1078), Bytes(960, 0));
    EXPECT_EQ(indexed[1078 + 15], 0x8) << "bottom row comes first";
    EXPECT_EQ(indexed[1078 + 15 * 16], 0xF) << "top row comes last";

    const Bytes direct = encodeBlockBmp(pictureWithCorners(407));
    ASSERT_EQ(direct.size(), 822u);
    EXPECT_EQ(Bytes(direct.begin() + 54 + 15 * 3, direct.begin() + 54 + 16 * 3),
              Bytes(red.begin(), red.begin() + 3));
    EXPECT_EQ(Bytes(direct.begin() + 54 + 15 * 48, direct.begin() + 54 + 15 * 48 + 3),
              Bytes(white.begin(), white.begin() + 3));
    EXPECT_EQ(direct[54 + 48], 0) << "transparent shows as black";
}

TEST(BlockArt, RejectsMalformedPicturesNamingTheLine) {
    const std::string row(16, '.');
    std::string grid;
    for (int i = 0; i < 16; ++i)
        grid += row + "\n";
    struct Case {
        std::string text, line;
    } cases[] = {
        {"# only a comment\n403\n" + grid, "line 2:"},                   // no name
        {"403 Air\n" + grid.substr(0, 17 * 3) + "...\n", "line 5:"},     // short row
        {"403 Air\n" + row + "\n..G" + row.substr(3) + "\n", "line 3:"}, // not a colour
        {"403 Air\n" + grid.substr(0, 17 * 15), "line 16:"},             // ends early
        {"403 Air\n" + grid + "\n403 Again\n" + grid, "line 19:"},       // drawn twice
        {"70000 Big\n" + grid, "line 1:"},                               // not a resource id
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text);
        std::vector<BlockArt> blocks;
        std::string error;
        EXPECT_FALSE(parseBlockArt(in, blocks, error)) << c.text;
        EXPECT_EQ(error.rfind(c.line, 0), 0u) << error;
    }

    std::istringstream good("\n# two pictures\n403 Air\n" + grid + "\r\n405 Brick  \n" + grid);
    std::vector<BlockArt> blocks;
    std::string error;
    ASSERT_TRUE(parseBlockArt(good, blocks, error)) << error;
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[1].bitmapId, 405);
    EXPECT_EQ(blocks[1].name, "Brick");
}
