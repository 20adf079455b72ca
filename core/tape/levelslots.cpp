#include "core/tape/levelslots.h"

#include <algorithm>

#include "core/level/levelcheck.h"

int standardLevelOffset(unsigned level) {
    return kFirstStandardLevelOffset + kLevelBodySize * static_cast<int>(level);
}

unsigned previousStandardLevel(unsigned level) {
    return (level % kStandardLevelCount + kStandardLevelCount - 1) % kStandardLevelCount;
}

unsigned nextStandardLevel(unsigned level) {
    return (level % kStandardLevelCount + 1) % kStandardLevelCount;
}

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

LevelBodyBytes levelBodyOf(const std::uint8_t* levelFile) {
    LevelBodyBytes body;
    std::copy(levelFile + kLevelHeaderSize, levelFile + kLevelHeaderSize + kLevelBodySize,
              body.begin());
    return body;
}

void insertLevelBody(const std::uint8_t* levelFile, std::vector<std::uint8_t>& tape,
                     std::size_t offset) {
    const LevelBodyBytes body = levelBodyOf(levelFile);
    std::copy(body.begin(), body.end(), tape.begin() + static_cast<std::ptrdiff_t>(offset));
}

TapeSlots surveyTapeSlots(const std::uint8_t* tape, std::size_t tapeSize) {
    TapeSlots survey;
    survey.tapeSize = tapeSize;
    survey.slots.resize(kStandardLevelCount);
    for (unsigned n = 0; n < kStandardLevelCount; ++n) {
        if (!tapeHoldsBodyAt(tapeSize, static_cast<std::size_t>(standardLevelOffset(n))))
            continue;
        ++survey.within;
        const LevelFileBytes file = extractStandardLevel(tape, tapeSize, n);
        Level level;
        decodeLevel(file.data(), file.size(), level);
        SlotSurvey& slot = survey.slots[n];
        slot.fault = notALevelBecause(level);
        slot.content = slot.fault.empty() ? SlotContent::Level : SlotContent::NoLevel;
        survey.levels += slot.fault.empty();
    }
    return survey;
}

bool isGameTape(const TapeSlots& slots) {
    return slots.levels * 2 > slots.within;
}

std::string notGameTapeBecause(const TapeSlots& slots) {
    if (slots.within == 0)
        return "it is " + std::to_string(slots.tapeSize) +
               " bytes long, and its first level slot ends at byte " +
               std::to_string(bodyEndOffset(static_cast<std::size_t>(standardLevelOffset(0))));
    const std::string of = slots.within == kStandardLevelCount
                               ? "its " + std::to_string(slots.within) + " level slots"
                               : "the " + std::to_string(slots.within) + " level slots within it";
    if (slots.levels == 0)
        return "none of " + of + " holds a level";
    return "only " + std::to_string(slots.levels) + " of " + of + " hold a level";
}
