// Feeds any bytes to the Tiled map readers, as a TMX map and as a JSON map, with the same bytes
// standing for any tileset file the map names. Whatever the bytes, reading ends with a level or
// one line of error; a level that was read is written as a map in both formats, and those read
// back to the same level file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/level/levelcodec.h"
#include "core/tiled/mapfile.h"
#include "core/tiled/maptilesets.h"

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "map reader: %s: %s\n", what, detail.c_str());
    std::abort();
}

void checkWrittenBack(const Level& level) {
    const TilesetLoader blocks = [](const std::string& source, std::vector<std::uint8_t>& bytes,
                                    std::string& why) {
        if (source != kBlockTilesetFile) {
            why = "not the blocks' tileset";
            return false;
        }
        const std::string text = blockTilesetTsx();
        bytes.assign(text.begin(), text.end());
        return true;
    };
    const LevelFileBytes file = encodeLevel(level);
    for (const MapFormat format : {MapFormat::Tmx, MapFormat::Json}) {
        const std::string map = writeLevelMap(level, format, false);
        Level again;
        std::string error;
        if (!readLevelMap(reinterpret_cast<const std::uint8_t*>(map.data()), map.size(), blocks,
                          again, error))
            fail("a written map is refused", error);
        if (encodeLevel(again) != file)
            fail("a written map reads back as another level", "");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TilesetLoader itself = [&](const std::string&, std::vector<std::uint8_t>& bytes,
                                     std::string&) {
        bytes.assign(data, data + size);
        return true;
    };
    for (const MapFormat format : {MapFormat::Tmx, MapFormat::Json}) {
        Level level;
        std::string error;
        if (readLevelMapAs(format, data, size, itself, level, error)) {
            checkWrittenBack(level);
            continue;
        }
        if (error.empty() || error.find('\n') != std::string::npos)
            fail("a refusal is not one line", error);
    }
    return 0;
}
