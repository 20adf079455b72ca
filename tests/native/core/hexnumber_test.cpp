#include <gtest/gtest.h>

#include "core/editor/hexnumber.h"

TEST(HexNumber, ReadsAsStrtoulInBase16CutTo16Bits) {
    EXPECT_EQ(parseHex16("FF"), 255u);
    EXPECT_EQ(parseHex16("1e6"), 0x1E6u);
    EXPECT_EQ(parseHex16("0x1E6"), 0x1E6u);
    EXPECT_EQ(parseHex16("0X1e6"), 0x1E6u);
    EXPECT_EQ(parseHex16("1E6zz"), 0x1E6u);
    EXPECT_EQ(parseHex16("  \t CA00"), 0xCA00u);
    EXPECT_EQ(parseHex16("+10"), 0x10u);
    EXPECT_EQ(parseHex16(""), 0u);
    EXPECT_EQ(parseHex16("zz"), 0u);
    EXPECT_EQ(parseHex16("0x"), 0u);
    EXPECT_EQ(parseHex16("0xg"), 0u);
}

TEST(HexNumber, NegativeAndOversizedTexts) {
    EXPECT_EQ(parseHex16("-1"), 0xFFFFu);
    EXPECT_EQ(parseHex16("-0x10"), 0xFFF0u);
    EXPECT_EQ(parseHex16("15B8E"), 0x5B8Eu); // more than four digits keeps the low 16 bits
    EXPECT_EQ(parseHex16("100E6"), 0x00E6u);
    EXPECT_EQ(parseHex16("123456789"), 0xFFFFu); // past 32 bits strtoul gives 0xFFFFFFFF
    EXPECT_EQ(parseHex16("-123456789"), 0xFFFFu);
}

TEST(HexNumber, FormatsInUpperCaseWithoutPrefix) {
    EXPECT_EQ(formatHex(0xCA00), "CA00");
    EXPECT_EQ(formatHex(255), "FF");
    EXPECT_EQ(formatHex(0), "0");
    EXPECT_EQ(formatHex(0x100E6), "100E6");
}

TEST(HexNumber, WholeNumbersOnly) {
    for (const char* text : {"FF", "0x1e6", " CA00 ", "+10", "-1", "123456789"})
        EXPECT_TRUE(isHexNumber(text)) << text;
    for (const char* text : {"", " ", "ZZ", "GGGG", "1G", "0x", "0xg", "C A", "-"})
        EXPECT_FALSE(isHexNumber(text)) << text;
}
