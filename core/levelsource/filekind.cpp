#include "core/levelsource/filekind.h"

#include "core/tape/tapeimage.h"
#include "core/tiled/levelmap.h"

FileKind fileKindOf(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    if (isMapFileName(name))
        return FileKind::TiledMap;
    return isTapeImage(bytes) ? FileKind::TapeImage : FileKind::LevelFile;
}
