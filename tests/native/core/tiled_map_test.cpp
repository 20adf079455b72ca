// Levels as Tiled maps: written and read back in both formats, every layer data encoding, and
// the maps that must be refused with one line saying where.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>

#include "core/level/blockcatalog.h"
#include "core/level/levelcodec.h"
#include "core/tiled/layerdata.h"
#include "core/tiled/mapfile.h"
#include "core/tiled/maptilesets.h"
#include "core/tape/demotape.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Every byte of the file different from its neighbours: cells of codes no block has (0x00 among
// them), title bytes that are not printable and a backslash, monsters at 0 and 255.
Level oddLevel() {
    LevelFileBytes file{};
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<std::uint8_t>(i * 37 + 11);
    file[0] = kBloadId;
    file[kLevelHeaderSize + kColumns * kRows] = '\\';
    Level level;
    decodeLevel(file.data(), file.size(), level);
    return level;
}

std::string levelFileOf(const Level& level) {
    const LevelFileBytes file = encodeLevel(level);
    return std::string(file.begin(), file.end());
}

class TiledMapTest : public ::testing::Test {
  protected:
    TilesetLoader loader() {
        return [this](const std::string& source, Bytes& bytes, std::string& why) {
            const auto found = files_.find(source);
            if (found == files_.end()) {
                why = "No such file or directory";
                return false;
            }
            bytes.assign(found->second.begin(), found->second.end());
            return true;
        };
    }
    // The level file a map gives, or "error: ..." for a refused one.
    std::string read(const std::string& map) {
        Level level;
        std::string error;
        if (!readLevelMap(reinterpret_cast<const std::uint8_t*>(map.data()), map.size(), loader(),
                          level, error))
            return "error: " + error;
        return levelFileOf(level);
    }
    std::string error(const std::string& map) {
        const std::string result = read(map);
        EXPECT_EQ(result.rfind("error: ", 0), 0u) << "the map was read";
        EXPECT_EQ(result.find('\n'), std::string::npos) << result;
        return result;
    }
    static std::string replaced(std::string text, const std::string& from, const std::string& to) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    }

    // The JSON map with `gid` at place `i` of the cells layer.
    static std::string withJsonCell(const std::string& json, std::size_t i,
                                    const nlohmann::json& gid) {
        nlohmann::json map = nlohmann::json::parse(json);
        map["layers"][0]["data"][i] = gid;
        return map.dump();
    }
    // The TMX map of `level` with its cells in Tiled's oldest form, a <tile gid=".."/> per tile,
    // and `gid` at place `i`.
    static std::string withTmxTile(const std::string& tmx, const Level& level, std::size_t i,
                                   const std::string& gid) {
        std::string tiles = "<data>";
        for (std::size_t k = 0; k < static_cast<std::size_t>(kColumns * kRows); ++k) {
            const int col = static_cast<int>(k % kColumns), row = static_cast<int>(k / kColumns);
            tiles += "<tile gid=\"" +
                     (k == i ? gid : std::to_string(exportedGid(level, col, row, {}))) + "\"/>";
        }
        const std::size_t open = tmx.find("<data encoding=\"csv\">");
        return std::string(tmx).replace(open, tmx.find("</data>") - open, tiles);
    }

    std::map<std::string, std::string> files_ = {{kBlockTilesetFile, blockTilesetTsx()}};
};

TEST_F(TiledMapTest, EveryDemoLevelAndOddBytesComeBackByteForByteInBothFormats) {
    std::vector<Level> levels;
    for (unsigned n = 0; n < kStandardLevelCount; ++n)
        levels.push_back(makeDemoLevel(n));
    levels.push_back(oddLevel());
    for (const Level& level : levels)
        for (const MapFormat format : {MapFormat::Tmx, MapFormat::Json})
            for (const bool embed : {false, true})
                EXPECT_EQ(read(writeLevelMap(level, format, embed)), levelFileOf(level));
    // The odd level's unknown codes are tiles of the map's own tileset, with their pictures.
    const std::vector<int> unknown = unknownCodesOf(oddLevel());
    EXPECT_FALSE(unknown.empty());
    for (const int code : unknown) {
        EXPECT_EQ(blockIndexOfCode(code), -1);
        EXPECT_NE(writeLevelMap(oddLevel(), MapFormat::Tmx, false).find(unknownTileImageName(code)),
                  std::string::npos);
    }
    EXPECT_NE(writeLevelMap(oddLevel(), MapFormat::Tmx, false).find("\\\\\\x"), std::string::npos);
}

TEST_F(TiledMapTest, ReadsEveryLayerDataFormatTiledWrites) {
    const Level level = oddLevel();
    const std::string tmx = writeLevelMap(level, MapFormat::Tmx, false);
    const std::string json = writeLevelMap(level, MapFormat::Json, false);
    const std::size_t open = tmx.find("<data encoding=\"csv\">");
    const std::size_t close = tmx.find("</data>");
    const std::size_t jsonOpen = json.find("\"data\": [");
    const std::size_t jsonClose = json.find(']', jsonOpen);
    ASSERT_TRUE(open != std::string::npos && close != std::string::npos &&
                jsonOpen != std::string::npos);
    std::vector<std::uint32_t> gids;
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col)
            gids.push_back(exportedGid(level, col, row, unknownCodesOf(level)));
    std::vector<std::string> compressions = {"", "zlib", "gzip"};
    if (layerDataReadsZstd())
        compressions.push_back("zstd");
    for (const std::string& compression : compressions) {
        std::string base64;
        ASSERT_TRUE(encodeLayerData(gids, compression, base64));
        const std::string attribute =
            compression.empty() ? "" : " compression=\"" + compression + "\"";
        std::string data = "<data encoding=\"base64\"" + attribute + ">\n   " + base64 + "\n  ";
        EXPECT_EQ(read(std::string(tmx).replace(open, close - open, data)), levelFileOf(level))
            << compression;
        data = "\"encoding\": \"base64\", \"compression\": \"" + compression + "\", \"data\": \"" +
               base64 + "\"";
        EXPECT_EQ(read(std::string(json).replace(jsonOpen, jsonClose + 1 - jsonOpen, data)),
                  levelFileOf(level))
            << compression;
    }
    // Tiled's oldest form, a <tile gid=".."/> per tile.
    std::string tiles = "<data>";
    for (const std::uint32_t gid : gids)
        tiles += "<tile gid=\"" + std::to_string(gid) + "\"/>";
    EXPECT_EQ(read(std::string(tmx).replace(open, close - open, tiles)), levelFileOf(level));
    if (!layerDataReadsZstd()) {
        const std::string zstd = "<data encoding=\"base64\" compression=\"zstd\">KLUv/QBYAQAA";
        EXPECT_NE(error(std::string(tmx).replace(open, close - open, zstd)).find("without zstd"),
                  std::string::npos);
    }
}

TEST_F(TiledMapTest, TakesCodesFromTilePropertiesAndMonstersFromTheirObjects) {
    const Level level = makeDemoLevel(3);
    const std::string tmx = writeLevelMap(level, MapFormat::Tmx, false);
    // A tileset whose first tile is the Brick reads every Air cell as Brick.
    files_[kBlockTilesetFile] = replaced(blockTilesetTsx(), "value=\"32\"", "value=\"58\"");
    Level expected = level;
    for (int col = 0; col < kColumns; ++col)
        for (int row = 0; row < kRows; ++row)
            if (expected.cell(col, row) == 0x20)
                expected.cell(col, row) = 0x3A;
    EXPECT_EQ(read(tmx), levelFileOf(expected));
    files_[kBlockTilesetFile] = blockTilesetTsx();

    // Dragging monster 1 right by a cell moves its start and end by 8; dragging its end point
    // down by two cells moves the end alone by 16.
    const std::string name = "name=\"monster 1\" x=\"";
    const std::size_t at = tmx.find(name) + name.size();
    const int x = std::stoi(tmx.substr(at));
    std::string moved =
        std::string(tmx).replace(at, std::to_string(x).size(), std::to_string(x + 16));
    expected = level;
    expected.monster(0, kMonsterStartX) += 8;
    expected.monster(0, kMonsterEndX) += 8;
    EXPECT_EQ(read(moved), levelFileOf(expected));
    const std::size_t points = moved.find("<polyline points=\"0,0 ") + 22;
    const std::size_t comma = moved.find(',', points);
    const int endY = std::stoi(moved.substr(comma + 1));
    moved.replace(comma + 1, std::to_string(endY).size(), std::to_string(endY + 32));
    expected.monster(0, kMonsterEndY) += 16;
    EXPECT_EQ(read(moved), levelFileOf(expected));
    // A title shorter than 24 characters is centred.
    const std::string title = "value=\"       MOONLIGHT        \"";
    ASSERT_NE(tmx.find(title), std::string::npos);
    expected = level;
    EXPECT_EQ(read(replaced(tmx, title, "value=\"MOONLIGHT\"")), levelFileOf(expected));
}

TEST_F(TiledMapTest, RefusesBadMapsInOneLineSayingWhereTheFaultIs) {
    const Level level = makeDemoLevel(3);
    const std::string tmx = writeLevelMap(level, MapFormat::Tmx, false);
    const std::string json = writeLevelMap(level, MapFormat::Json, false);
    const std::pair<std::string, std::string> cases[] = {
        {replaced(tmx, "width=\"24\"", "width=\"30\""), "a map of 30 x 18 tiles"},
        {replaced(json, "\"height\": 18", "\"height\": 20"), "a map of 24 x 20 tiles"},
        {replaced(tmx, "infinite=\"0\"", "infinite=\"1\""), "an infinite map"},
        {replaced(tmx, "tilewidth=\"16\"", "tilewidth=\"32\""), "tiles of 32 x 16 pixels"},
        {replaced(tmx, "orthogonal", "isometric"), "an isometric map"},
        {replaced(tmx, "name=\"cells\"", "name=\"Tile Layer 1\""), "no tile layer named cells"},
        {replaced(json, "\"cells\"", "\"walls\""), "no tile layer named cells"},
        {replaced(tmx, "\n2,2,2", "\n2147483650,2,2"),
         "layer cells, row 0, column 0: a flipped or rotated tile"},
        {withJsonCell(json, 1, 1073741826),
         "layer cells, row 0, column 1: a flipped or rotated tile"},
        // A tile number above 32 bits, or no number, in Tiled's oldest form and in JSON's list.
        {withTmxTile(tmx, level, 29, "4294967298"),
         "layer cells, row 1, column 5: the tile data holds \"4294967298\" where a tile number"},
        {withTmxTile(tmx, level, 30, "x"),
         "layer cells, row 1, column 6: the tile data holds \"x\""},
        {withJsonCell(json, 29, 4294967298u),
         "layer cells, row 1, column 5: the tile data holds \"4294967298\" where a tile number"},
        {withJsonCell(json, 30, "2"), "layer cells, row 1, column 6: the tile data holds \"\\x222"},
        {replaced(tmx, "\n2,2,2", "\n2,2,99"), "layer cells, row 0, column 2: tile number 99"},
        {replaced(tmx, "2,2,2", "2,2"), "layer cells: 431 tiles"},
        {replaced(tmx, "name=\"monster 3\" x=\"", "name=\"monster 3\" x=\"-9"),
         "layer monsters, monster 3: its start lies at x = "},
        {replaced(tmx, "name=\"monster 2\"", "name=\"monster two\""),
         "layer monsters: no object named monster 2"},
        {replaced(tmx, "name=\"colour\"", "name=\"color\""),
         "layer monsters, monster 1: no int property colour"},
        {replaced(tmx, "name=\"monsters\"", "name=\"baddies\""), "no object layer named monsters"},
        {replaced(tmx, "name=\"manStartX\" type=\"int\" value=\"",
                  "name=\"manStartX\" type=\"int\" value=\"9"),
         "map: property manStartX is 9"},
        {replaced(tmx, "name=\"title\" type=\"string\" value=\"",
                  "name=\"title\" type=\"string\" value=\"\\q"),
         "map property title: a backslash at character 1"},
        {replaced(tmx, "tomkrin-blocks.tsx", "gone.tsx"),
         "tileset gone.tsx: cannot be read: No such file or directory"},
        {tmx.substr(0, tmx.size() / 2), "not a Tiled map: XML"},
        {json.substr(0, json.size() / 2), "not a Tiled map: JSON error at byte"},
        {"<tileset/>", "not a Tiled map: no <map> element"},
        {replaced(json, "\"height\": 18", "\"height\": 1e999"), "a JSON value out of range"},
        {replaced(tmx, "\n2,2,2", "\n2,x\n,2"),
         "layer cells: the CSV data holds \"x\\x0A,2,2,2,2,2\" where"},
        {"plain text", "not a Tiled map"},
    };
    for (const auto& [map, expected] : cases)
        EXPECT_NE(error(map).find(expected), std::string::npos) << expected;
    // A tile whose tileset gives it no code.
    files_[kBlockTilesetFile] =
        replaced(blockTilesetTsx(), "<property name=\"code\" type=\"int\" value=\"58\" />", "");
    EXPECT_NE(error(tmx).find("layer cells, row 0, column 0: tile 1 of tileset "
                              "tomkrin-blocks.tsx has no int property code"),
              std::string::npos);
}

} // namespace
