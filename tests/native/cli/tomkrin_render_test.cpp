// Pictures written by `tomkrin render`, read back from the PNG file.
#include "tests/native/support/tomkrin_testing.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include "core/level/blockcatalog.h"
#include "core/picture/levelrender.h"
#include "core/level/defaultlevel.h"
#include "core/picture/builtinart.h"

using namespace tomkrin_testing;

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    Rgb at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

Picture readPng(const std::string& path) {
    Picture picture;
    int channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 3);
    if (pixels) {
        picture.rgb.assign(pixels, pixels + picture.width * picture.height * 3);
        stbi_image_free(pixels);
    }
    return picture;
}

const BlockArt& artOf(int code) {
    const int bitmapId = block[blockIndexOfCode(code)].bitmapId;
    for (const BlockArt& art : builtInBlockArt())
        if (art.bitmapId == bitmapId)
            return art;
    throw std::runtime_error("no art for the block");
}

// Every pixel of cell (col, row) at `scale` is the block's art pixel in its MSX colour.
void expectCellShowsBlock(const Picture& picture, int col, int row, int code, int scale) {
    const BlockArt& art = artOf(code);
    int wrong = 0;
    for (int y = 0; y < kCellPixels * scale; ++y) {
        for (int x = 0; x < kCellPixels * scale; ++x) {
            const MsxColour& want =
                kMsxColours[art.pixels[(y / scale) * kBlockArtSide + x / scale]];
            const Rgb got =
                picture.at(col * kCellPixels * scale + x, row * kCellPixels * scale + y);
            wrong += got.red != want.red || got.green != want.green || got.blue != want.blue;
        }
    }
    EXPECT_EQ(wrong, 0) << "cell (" << col << ", " << row << ") code " << code;
}

class TomkrinRender : public TomkrinTest {};

bool isColour(Rgb got, Rgb want) {
    return got.red == want.red && got.green == want.green && got.blue == want.blue;
}

TEST_F(TomkrinRender, ALevelPictureShowsTheBlockArtTheMonsterPathAndTheTitleBand) {
    Level level = makeDefaultLevel();
    level.cell(5, 3) = 0x2D;   // Key
    level.cell(20, 12) = 0x81; // Heart
    level.cell(9, 9) = 0x00;   // no block: plain white
    // Monster 2 walks row 6 from column 4 to column 14.
    const int walk[kMonsterFields] = {
        monsterX(4), monsterY(6), monsterX(14), monsterY(6), 2, 0x09, 8};
    for (int field = 0; field < kMonsterFields; ++field)
        level.monster(1, field) = walk[field];
    const LevelFileBytes file = encodeLevel(level);
    const std::string input = write("level.bin", Bytes(file.begin(), file.end()));

    for (int scale : {1, 3}) {
        SCOPED_TRACE(scale);
        const std::string output = path("level" + std::to_string(scale) + ".png");
        ASSERT_EQ(run({"render", input, "-o", output, "--scale", std::to_string(scale)}), 0)
            << err_.str();
        const Picture picture = readPng(output);
        ASSERT_EQ(picture.width, 384 * scale);
        ASSERT_EQ(picture.height, (288 + kTitleBandHeight) * scale);
        expectCellShowsBlock(picture, 5, 3, 0x2D, scale);
        expectCellShowsBlock(picture, 20, 12, 0x81, scale);
        EXPECT_TRUE(isColour(picture.at(9 * 16 * scale + 5, 9 * 16 * scale + 5), {255, 255, 255}));
        // The path runs through the middle of row 6 between the two cells' centres.
        const int pathY = (6 * 16 + 8) * scale;
        for (int col = 6; col <= 13; ++col)
            EXPECT_TRUE(isColour(picture.at((col * 16 + 3) * scale, pathY), monsterPathColour(1)))
                << "column " << col;
        EXPECT_FALSE(isColour(picture.at((15 * 16 + 8) * scale, pathY), monsterPathColour(1)));
    }
}

TEST_F(TomkrinRender, ATapeRendersAsASheetOfItsTwentyLevels) {
    const std::string tape = write("game.cas", makeGameTape());
    ASSERT_EQ(run({"render", tape, "-o", path("sheet.png")}), 0) << err_.str();
    const Picture sheet = readPng(path("sheet.png"));
    EXPECT_EQ(sheet.width, 8 + 4 * (192 + 8));
    EXPECT_GT(sheet.height, 5 * 144);
    // Wrong command lines write nothing.
    EXPECT_EQ(run({"render", tape, "-o", path("x.png"), "--scale", "2"}), 2);
    EXPECT_EQ(run({"render", tape + ":3", "-o", path("x.png"), "--scale", "17"}), 2);
    EXPECT_EQ(run({"render", tape + ":20", "-o", path("x.png")}), 1);
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{"game.cas", "sheet.png"}));
}

} // namespace
