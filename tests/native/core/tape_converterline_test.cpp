#include <gtest/gtest.h>

#include <string>

#include "core/editor/converterline.h"

namespace {

constexpr std::size_t kPathBufferSize = 260;

} // namespace

TEST(ConverterLine, QuotesBothPathsAndAddsTheSwitchOnlyForDoubleSpeed) {
    EXPECT_EQ(converterParameters("C:\\tapes\\game.cas", false),
              "\"C:\\tapes\\game.cas\" \"C:\\tapes\\game.cas.wav\"");
    EXPECT_EQ(converterParameters("C:\\My Tapes\\game.cas", true),
              "\"C:\\My Tapes\\game.cas\" \"C:\\My Tapes\\game.cas.wav\" -2");
    EXPECT_EQ(audioPathFor("C:\\My Tapes\\game.cas"), "C:\\My Tapes\\game.cas.wav");
}

TEST(ConverterLine, RefusesPathsWhoseAudioNameWouldNotFitTheBuffer) {
    const std::string longest = "C:\\" + std::string(252, 'a'); // 255 characters
    EXPECT_TRUE(canConvertTapePath(longest, kPathBufferSize));
    EXPECT_EQ(audioPathFor(longest).size() + 1, kPathBufferSize);
    EXPECT_FALSE(canConvertTapePath(longest + "b", kPathBufferSize));
    EXPECT_FALSE(canConvertTapePath(std::string(259, 'a'), kPathBufferSize));
    EXPECT_FALSE(canConvertTapePath("", kPathBufferSize));
}

TEST(ConverterLine, RefusesPathsThatQuotingCannotKeepWhole) {
    EXPECT_FALSE(canConvertTapePath("C:\\tapes\\\"game\".cas", kPathBufferSize));
    // A closing quote after a backslash would be read as a quote inside the path.
    EXPECT_FALSE(canConvertTapePath("C:\\tapes\\", kPathBufferSize));
    EXPECT_TRUE(canConvertTapePath("C:\\tapes\\game.cas", kPathBufferSize));
}
