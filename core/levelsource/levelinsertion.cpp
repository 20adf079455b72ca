#include "core/levelsource/levelinsertion.h"

#include "core/levelsource/levelsource.h"
#include "core/tape/levelslots.h"
#include "core/tape/tapeimage.h"

BodyPlace standardLevelPlace(unsigned level) {
    return {static_cast<std::size_t>(standardLevelOffset(level)), true,
            "level " + std::to_string(level)};
}

BodyPlace typedOffsetPlace(std::size_t offset) {
    return {offset, false, "the level at " + std::to_string(offset)};
}

bool parseStandardLevelNumber(const std::string& text, unsigned& level) {
    constexpr std::size_t kMostLevelDigits = 2;
    if (text.empty() || text.size() > kMostLevelDigits ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    level = static_cast<unsigned>(std::stoul(text));
    return isStandardLevel(level);
}

const char* const kStandardLevelNumberRule = "the level is a number from 0 to 19";

bool parseTypedOffset(const std::string& text, std::size_t& offset) {
    constexpr std::size_t kMostOffsetDigits = 8;
    const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = prefixed ? text.substr(2) : text;
    if (digits.empty() || digits.size() > kMostOffsetDigits ||
        digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    offset = static_cast<std::size_t>(std::stoul(digits, nullptr, 16));
    return true;
}

const char* const kTypedOffsetRule = "the address is a hexadecimal byte offset of at most 8 digits";

bool insertLevelIntoTape(const std::string& levelName, const std::vector<std::uint8_t>& levelFile,
                         const std::string& tapeName, std::vector<std::uint8_t>& tape,
                         const BodyPlace& place, const ForeignTapes& foreign,
                         FileFailure& failure) {
    if (!checkLevelFile(levelName, levelFile, foreign.force, failure) ||
        !checkTapeImage(tapeName, tape, failure) ||
        (place.standardLevel && !checkGameTape(tapeName, tape, foreign, failure)) ||
        !checkTapeHoldsBody(tapeName, tape, place.offset, place.name, failure))
        return false;
    insertLevelBody(levelFile.data(), tape, place.offset);
    return true;
}
