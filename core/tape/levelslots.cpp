#include "core/tape/levelslots.h"

#include <algorithm>

#include "core/tape/tapeoffsets.h"

bool tapeHoldsBodyAt(std::size_t tapeSize, std::size_t offset) {
    return offset <= tapeSize && tapeSize - offset >= static_cast<std::size_t>(kLevelBodySize);
}

std::size_t bodyEndOffset(std::size_t offset) {
    return offset + kLevelBodySize;
}

LevelFileBytes extractStandardLevel(const std::uint8_t* tape, std::size_t tapeSize,
                                    unsigned level) {
    // The body goes through the level codec, so the header is laid out by the one rule that
    // writes every level file. Bytes the tape does not have stay 0.
    LevelFileBytes file{};
    const std::size_t offset = static_cast<std::size_t>(standardLevelOffset(level));
    const std::size_t available = offset < tapeSize ? tapeSize - offset : 0;
    const std::size_t count = std::min<std::size_t>(available, kLevelBodySize);
    std::copy(tape + offset, tape + offset + count, file.begin() + kLevelHeaderSize);
    Level decoded;
    decodeLevel(file.data(), file.size(), decoded);
    decoded.startAddress() = standardLevelAddress(static_cast<int>(level));
    decoded.endAddress() = headerEndAddress(decoded.startAddress());
    decoded.execAddress() = 0;
    return encodeLevel(decoded);
}

bool levelFileHoldsBody(std::size_t size) {
    return size >= kLevelFileSize;
}

void insertLevelBody(const std::uint8_t* levelFile, std::vector<std::uint8_t>& tape,
                     std::size_t offset) {
    const std::uint8_t* body = levelFile + kLevelHeaderSize;
    std::copy(body, body + kLevelBodySize, tape.begin() + static_cast<std::ptrdiff_t>(offset));
}
