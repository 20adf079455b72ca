#include <gtest/gtest.h>

#include <string>

#include "core/level/centratesto.h"

namespace {
std::string centred(const char* text) {
    char out[25];
    std::fill(out, out + sizeof out, '#');
    centratesto(text, out, 24);
    EXPECT_EQ(out[24], '\0');
    return std::string(out);
}
} // namespace

TEST(Centratesto, OddSurplusLeavesTheExtraSpaceOnTheRight) {
    EXPECT_EQ(centred("ABC"), std::string(10, ' ') + "ABC" + std::string(11, ' '));
    EXPECT_EQ(centred("ABCD"), std::string(10, ' ') + "ABCD" + std::string(10, ' '));
}

TEST(Centratesto, EmptyTextGivesOnlySpaces) {
    EXPECT_EQ(centred(""), std::string(24, ' '));
}

TEST(Centratesto, LongTextKeepsItsFirstCharacters) {
    EXPECT_EQ(centred("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), "ABCDEFGHIJKLMNOPQRSTUVWX");
}

TEST(Centratesto, FullWidthTextComesBackUnchanged) {
    // A title that Save filled up with spaces and that was shown again from the level.
    const std::string stored = std::string("LEVEL ONE") + std::string(15, ' ');
    EXPECT_EQ(centred(stored.c_str()), stored);
}
