// The two parsers of where `tomkrin insert` and the page's Insert put a level, at their edges:
// the standard level number ("0" to "19", at most two digits) and the typed hexadecimal offset
// (at most 8 digits, with or without 0x).
#include <gtest/gtest.h>

#include "core/levelsource/levelinsertion.h"

namespace {

// What each parser makes of `text`: the number, or -1 when it refuses it.
long long levelOf(const std::string& text) {
    unsigned level = 0;
    return parseStandardLevelNumber(text, level) ? static_cast<long long>(level) : -1;
}

long long offsetOf(const std::string& text) {
    std::size_t offset = 0;
    return parseTypedOffset(text, offset) ? static_cast<long long>(offset) : -1;
}

} // namespace

TEST(InsertPlaceParsers, NineDigitsAreTooManyForEither) {
    EXPECT_EQ(levelOf("000000019"), -1);
    EXPECT_EQ(offsetOf("123456789"), -1);
    EXPECT_EQ(offsetOf("0x123456789"), -1);
    EXPECT_EQ(offsetOf("FFFFFFFF"), 0xFFFFFFFFLL) << "eight digits are the most";
}

TEST(InsertPlaceParsers, ZeroXAloneIsNoNumber) {
    EXPECT_EQ(levelOf("0x"), -1);
    EXPECT_EQ(offsetOf("0x"), -1);
    EXPECT_EQ(offsetOf("0X"), -1);
    EXPECT_EQ(offsetOf("0x0"), 0);
}

TEST(InsertPlaceParsers, ZeroZeroSevenIsNoLevelNumberButAnOffset) {
    EXPECT_EQ(levelOf("007"), -1);
    EXPECT_EQ(levelOf("07"), 7);
    EXPECT_EQ(offsetOf("007"), 7) << "all of an offset's digits count";
}

TEST(InsertPlaceParsers, MinusOneIsRefusedByBoth) {
    EXPECT_EQ(levelOf("-1"), -1);
    EXPECT_EQ(offsetOf("-1"), -1);
    EXPECT_EQ(levelOf("20"), -1);
    EXPECT_EQ(levelOf("19"), 19);
}
