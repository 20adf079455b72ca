#include "core/levelsource/openedfile.h"

#include <cctype>
#include <memory>
#include <utility>

#include "core/audio/formats/recording.h"
#include "core/audio/formats/wavreader.h"
#include "core/files/bytesource.h"
#include "core/levelsource/filekind.h"
#include "core/levelsource/levelsource.h"
#include "core/tiled/maptilesets.h"

namespace {

bool namedWith(const std::string& name, const std::string& suffix) {
    const std::size_t length = suffix.size();
    if (name.size() < length)
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(name[name.size() - length + i])) != suffix[i])
            return false;
    return true;
}

bool namedWav(const std::string& name) {
    return namedWith(name, ".wav");
}

// A FLAC recording: named .flac, or starting as a FLAC file does.
bool isFlacFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    return namedWith(name, ".flac") || startsAsFlac(bytes);
}

std::string lastPart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool isRecordingFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    return namedWav(name) || isFlacFile(name, bytes) || startsAsWav(bytes);
}

TilesetLoader tilesetsFromFiles(std::vector<MapSideFile> files) {
    return [files = std::move(files)](const std::string& source, std::vector<std::uint8_t>& bytes,
                                      std::string& why) {
        const std::string name = lastPart(source);
        for (const MapSideFile& file : files) {
            if (lastPart(file.name) == name) {
                bytes = file.bytes;
                return true;
            }
        }
        if (name == kBlockTilesetFile) {
            const std::string tsx = blockTilesetTsx();
            bytes.assign(tsx.begin(), tsx.end());
            return true;
        }
        why = "it was not given with the map";
        return false;
    };
}

bool openEditorFile(const std::string& name, const std::vector<std::uint8_t>& bytes,
                    const TilesetLoader& tilesets, OpenedKind& kind, Level& level,
                    FileFailure& failure) {
    const FileKind fileKind = fileKindOf(name, bytes);
    if (fileKind == FileKind::TiledMap) {
        kind = OpenedKind::Map;
        return levelOfMap(name, bytes, tilesets, level, failure);
    }
    if (isRecordingFile(name, bytes)) {
        kind = OpenedKind::Recording;
        std::string problem;
        if (isFlacFile(name, bytes) && !namedWav(name)) {
            // Its header; the frames are checked as the decoder reads them.
            MemoryBytes source(bytes.data(), bytes.size());
            std::unique_ptr<RecordingStream> stream;
            problem = openRecording(source, stream);
        } else {
            WavRecording recording;
            problem = parseWav(bytes.data(), bytes.size(), recording);
        }
        if (problem.empty())
            return true;
        failure = {name, problem};
        return false;
    }
    if (fileKind == FileKind::TapeImage) {
        kind = OpenedKind::Tape;
        return true;
    }
    // Every length a level file must have, and no other kind of file forced in.
    const bool anyLength = false, force = false;
    std::vector<std::uint8_t> levelFile = bytes;
    bool picture = false;
    if (!takeLevelOutOfPicture(name, levelFile, force, picture, failure))
        return false;
    kind = picture ? OpenedKind::Picture : OpenedKind::LevelFile;
    return levelOfLevelFile(name, levelFile, anyLength, force, level, failure);
}
