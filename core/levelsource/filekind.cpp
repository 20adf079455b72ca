#include "core/levelsource/filekind.h"

#include <algorithm>
#include <cstring>

#include "core/level/hexdigit.h"
#include "core/level/levelcodec.h"
#include "core/picture/levelchunk.h"
#include "core/tape/tapeimage.h"
#include "core/tiled/levelmap.h"

namespace {

bool startsWith(const std::vector<std::uint8_t>& bytes, const char* text, std::size_t at = 0) {
    const std::size_t length = std::strlen(text);
    return bytes.size() >= at + length && std::memcmp(bytes.data() + at, text, length) == 0;
}

bool holdsText(const std::vector<std::uint8_t>& bytes, const std::string& text) {
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

// A Tiled map's text: XML with a <map> element, or JSON with the orientation every map states.
// Its first character, after a byte order mark and blanks, tells which.
bool isMapText(const std::vector<std::uint8_t>& bytes) {
    std::size_t first = startsWith(bytes, "\xEF\xBB\xBF") ? 3 : 0;
    while (first < bytes.size() && std::strchr(" \t\r\n", bytes[first]) && bytes[first] != 0)
        ++first;
    if (first == bytes.size())
        return false;
    if (bytes[first] == '<')
        return holdsText(bytes, "<map");
    return bytes[first] == '{' && holdsText(bytes, "\"orientation\"");
}

// What the bytes are, in a refusal's words, when a kind the tools know; empty otherwise.
std::string knownKindOf(const std::vector<std::uint8_t>& bytes) {
    if (startsAsPng(bytes))
        return "a PNG picture";
    if (isTapeImage(bytes))
        return "a tape image";
    if (startsAsWav(bytes))
        return "a WAV recording";
    if (startsAsFlac(bytes))
        return "a FLAC recording";
    if (isMapText(bytes))
        return "a Tiled map (a map is named .tmx, .tmj or .json)";
    return "";
}

} // namespace

bool startsAsWav(const std::vector<std::uint8_t>& bytes) {
    return startsWith(bytes, "RIFF") && startsWith(bytes, "WAVE", 8);
}

bool startsAsFlac(const std::vector<std::uint8_t>& bytes) {
    return startsWith(bytes, "fLaC");
}

FileKind fileKindOf(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    if (isMapFileName(name))
        return FileKind::TiledMap;
    return isTapeImage(bytes) ? FileKind::TapeImage : FileKind::LevelFile;
}

bool checkLevelFileKind(const std::string& name, const std::vector<std::uint8_t>& bytes, bool force,
                        FileFailure& failure) {
    if (force || bytes.empty())
        return true;
    const std::string kind = knownKindOf(bytes);
    if (!kind.empty()) {
        failure = {name, "not a level file: it is " + kind};
        return false;
    }
    if (bytes[0] == kBloadId)
        return true;
    failure = {name, "not a level file: it starts with " + hexText(bytes[0]) +
                         ", a level file with " + hexText(kBloadId)};
    return false;
}
