#include "core/levelsource/filekind.h"

#include "core/tape/casblocks.h"
#include "core/tiled/levelmap.h"

bool isTapeImage(const std::vector<std::uint8_t>& bytes) {
    return !findBlockMarkers(bytes.data(), bytes.size()).empty();
}

FileKind fileKindOf(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    if (isMapFileName(name))
        return FileKind::TiledMap;
    return isTapeImage(bytes) ? FileKind::TapeImage : FileKind::LevelFile;
}

bool checkTapeImage(const std::string& name, const std::vector<std::uint8_t>& bytes,
                    FileFailure& failure) {
    if (isTapeImage(bytes))
        return true;
    failure = {name, "not a tape image: it has no block marker"};
    return false;
}
