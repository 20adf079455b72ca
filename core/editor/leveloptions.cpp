#include "core/editor/leveloptions.h"

#include "core/editor/hexnumber.h"
#include "core/level/centratesto.h"
#include "core/level/leveltitle.h"

namespace {

std::string hexField(int value) {
    return formatHex(static_cast<std::uint32_t>(value));
}

// The window reads at most the title's width from its field; longer typing is cut there.
std::string titleWithin(const std::string& title) {
    return title.substr(0, kTitleLength);
}

} // namespace

LevelOptionsFields levelOptionsFields(const Level& level) {
    LevelOptionsFields fields;
    fields.start = hexField(level.startAddress());
    fields.manX = hexField(level.manStartX());
    fields.manY = hexField(level.manStartY());
    fields.title = storedTitle(level);
    return fields;
}

std::string nextLevelStart(const std::string& start) {
    return formatHex(parseHex16(start.c_str()) + kLevelBodySize);
}

std::string standardLevelStart(unsigned level) {
    if (level >= kStandardLevelCount)
        level = 0;
    return hexField(standardLevelAddress(static_cast<int>(level)));
}

std::string centredTitle(const std::string& title) {
    char centred[kTitleLength + 1];
    centratesto(titleWithin(title).c_str(), centred, kTitleLength);
    return centred;
}

std::string saveLevelOptions(const LevelOptionsFields& fields, Level& level) {
    level.startAddress() = static_cast<std::int32_t>(parseHex16(fields.start.c_str()));
    level.endAddress() = headerEndAddress(level.startAddress());
    level.execAddress() = 0;
    level.manStartX() = static_cast<std::int32_t>(parseHex16(fields.manX.c_str()) & 0xFF);
    level.manStartY() = static_cast<std::int32_t>(parseHex16(fields.manY.c_str()) & 0xFF);
    const std::string padded = titleWithin(fields.title) + std::string(kTitleLength, ' ');
    for (int i = 0; i < kTitleLength; ++i)
        level.titleChar(i) = static_cast<signed char>(padded[static_cast<std::size_t>(i)]);
    return padded;
}

const char* const kLevelOptionsSavedStatus = "Level options saved.";
