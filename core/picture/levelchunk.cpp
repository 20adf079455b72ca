#include "core/picture/levelchunk.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

#include "core/picture/levelrender.h"
#include "core/picture/pngimage.h"

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// A chunk: its data's length, its type, the data, the CRC of the type and the data.
constexpr std::size_t kLengthSize = 4, kTypeSize = 4, kCrcSize = 4;
constexpr std::size_t kChunkOverhead = kLengthSize + kTypeSize + kCrcSize;

std::uint32_t bigEndian(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

void putBigEndian(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

std::uint32_t chunkCrc(const std::uint8_t* typeAndData, std::size_t size) {
    return static_cast<std::uint32_t>(
        crc32(crc32(0L, Z_NULL, 0), typeAndData, static_cast<uInt>(size)));
}

bool isType(const std::uint8_t* type, const char* name) {
    return std::memcmp(type, name, kTypeSize) == 0;
}

// Whether the chunk whose length field is at `at`, of `length` data bytes, lies whole within the
// `size` bytes of the file (the sums kept from wrapping where size_t has 32 bits).
bool chunkFits(std::size_t size, std::size_t at, std::size_t length) {
    const std::size_t left = size - at;
    return left >= kChunkOverhead && length <= left - kChunkOverhead;
}

// Calls `visit(at, type, length)` for each chunk after the signature, `at` the offset of its length
// field, until `visit` returns false or the chunk visited runs past the end of the bytes.
template <typename Visit> void walkChunks(const std::vector<std::uint8_t>& png, Visit visit) {
    std::size_t at = sizeof kSignature;
    while (png.size() - at >= kLengthSize + kTypeSize) {
        const std::size_t length = bigEndian(&png[at]);
        if (!visit(at, &png[at + kLengthSize], length) || !chunkFits(png.size(), at, length))
            return;
        at += kChunkOverhead + length;
    }
}

} // namespace

bool startsAsPng(const std::vector<std::uint8_t>& bytes) {
    return bytes.size() >= sizeof kSignature &&
           std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin());
}

std::vector<std::uint8_t> withLevelChunk(std::vector<std::uint8_t> png,
                                         const LevelFileBytes& levelFile) {
    if (!startsAsPng(png))
        return png;
    std::size_t iend = 0;
    walkChunks(png, [&](std::size_t at, const std::uint8_t* type, std::size_t) {
        if (isType(type, "IEND"))
            iend = at;
        return iend == 0;
    });
    if (iend == 0)
        return png;
    std::vector<std::uint8_t> chunk(kChunkOverhead + levelFile.size());
    putBigEndian(chunk.data(), static_cast<std::uint32_t>(levelFile.size()));
    std::memcpy(&chunk[kLengthSize], kLevelChunkType, kTypeSize);
    std::copy(levelFile.begin(), levelFile.end(), chunk.begin() + kLengthSize + kTypeSize);
    putBigEndian(&chunk[kLengthSize + kTypeSize + levelFile.size()],
                 chunkCrc(&chunk[kLengthSize], kTypeSize + levelFile.size()));
    png.insert(png.begin() + static_cast<std::ptrdiff_t>(iend), chunk.begin(), chunk.end());
    return png;
}

std::vector<std::uint8_t> levelPicturePng(const Level& level, int scale) {
    const std::vector<std::uint8_t> png = encodePng(renderLevel(level, scale));
    return png.empty() ? png : withLevelChunk(png, encodeLevel(level));
}

LevelChunk findLevelChunk(const std::vector<std::uint8_t>& png, LevelFileBytes& levelFile,
                          std::string& damage) {
    if (!startsAsPng(png))
        return LevelChunk::Absent;
    LevelChunk found = LevelChunk::Absent;
    walkChunks(png, [&](std::size_t at, const std::uint8_t* type, std::size_t length) {
        if (!isType(type, kLevelChunkType))
            return !isType(type, "IEND");
        found = LevelChunk::Damaged;
        const std::uint8_t* data = &png[at + kLengthSize + kTypeSize];
        if (!chunkFits(png.size(), at, length))
            damage = "its level chunk is cut short";
        else if (length != kLevelFileSize)
            damage = "its level chunk holds " + std::to_string(length) +
                     " bytes, a level file has " + std::to_string(kLevelFileSize);
        else if (bigEndian(data + length) != chunkCrc(type, kTypeSize + length))
            damage = "its level chunk fails its CRC check";
        else {
            std::copy(data, data + length, levelFile.begin());
            found = LevelChunk::Found;
        }
        return false;
    });
    return found;
}
