#include <gtest/gtest.h>

#include "core/tape/tapedirectory.h"
#include "tests/native/support/cas2wav_testing.h"

using namespace cas2wav_testing;

namespace {

std::vector<TapeDirectoryEntry> directoryOf(const Bytes& image) {
    return readTapeDirectory(image.data(), image.size());
}

TEST(TapeDirectory, NamesEachFileAndReadsTheAddressesOfBinaryFiles) {
    Bytes image = {0x01, 0x02}; // stray bytes before the first marker belong to no block
    appendTapeBlock(image, fileHeader(kBinaryFileId, "TKGAME"));
    appendTapeBlock(image, {0x00, 0xCA, 0xBE, 0xCB, 0x34, 0x12, 0x99});
    appendTapeBlock(image, fileHeader(kBasicFileId, "LOAD  "));
    appendTapeBlock(image, countingBytes(5));
    appendTapeBlock(image, fileHeader(kAsciiFileId, "NOTES"));
    appendTapeBlock(image, {'h', 'i', kAsciiEnd});
    const std::vector<TapeDirectoryEntry> entries = directoryOf(image);
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0].offset, 10u);
    EXPECT_EQ(entries[0].size, 16u);
    EXPECT_EQ(entries[0].kind, TapeBlockKind::Binary);
    EXPECT_EQ(entries[0].name, "TKGAME");
    ASSERT_TRUE(entries[0].hasAddresses);
    EXPECT_EQ(entries[0].addresses.load, 0xCA00u);
    EXPECT_EQ(entries[0].addresses.end, 0xCBBEu);
    EXPECT_EQ(entries[0].addresses.exec, 0x1234u);
    EXPECT_EQ(entries[1].kind, TapeBlockKind::Data);
    EXPECT_EQ(entries[1].size, 7u);
    EXPECT_EQ(entries[2].kind, TapeBlockKind::Basic);
    EXPECT_EQ(entries[2].name, "LOAD"); // the blanks that fill the name up are not part of it
    EXPECT_FALSE(entries[2].hasAddresses);
    EXPECT_EQ(entries[4].kind, TapeBlockKind::Ascii);
    EXPECT_EQ(entries[4].name, "NOTES");
    EXPECT_STREQ(tapeBlockKindName(entries[5].kind), "data");
}

TEST(TapeDirectory, BrokenFilesGiveWhatTheyHoldAndNoMore) {
    // A binary header with a cut name, followed by a data block too short for the addresses;
    // a binary header at the end with no data block; nine id bytes are no header.
    Bytes image;
    appendTapeBlock(image, fileHeader(kBinaryFileId, "AB"));
    appendTapeBlock(image, {0x00, 0xCA, 0xBE, 0xCB, 0x34});
    appendTapeBlock(image, Bytes(9, kBinaryFileId));
    appendTapeBlock(image, fileHeader(kBinaryFileId, "LAST"));
    const std::vector<TapeDirectoryEntry> entries = directoryOf(image);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, "AB");
    EXPECT_FALSE(entries[0].hasAddresses);
    EXPECT_EQ(entries[2].kind, TapeBlockKind::Data);
    EXPECT_TRUE(entries[2].name.empty());
    EXPECT_EQ(entries[3].kind, TapeBlockKind::Binary);
    EXPECT_FALSE(entries[3].hasAddresses);
    EXPECT_TRUE(directoryOf({}).empty());
    EXPECT_TRUE(directoryOf(Bytes(kBlockMarker.begin(), kBlockMarker.end() - 1)).empty());
}

} // namespace
