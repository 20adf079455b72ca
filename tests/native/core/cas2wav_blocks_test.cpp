#include <gtest/gtest.h>

#include <random>

#include "core/tape/casblocks.h"
#include "tests/native/support/cas2wav_testing.h"

using namespace cas2wav_testing;

namespace {

std::vector<LeadIn> leadInsOf(const Bytes& image) {
    std::vector<LeadIn> leadIns;
    for (const TapeBlock& block : readTapeBlocks(image.data(), image.size()))
        leadIns.push_back(block.leadIn);
    return leadIns;
}

constexpr LeadIn L = LeadIn::Long;
constexpr LeadIn S = LeadIn::Short;

} // namespace

TEST(CasBlocks, BlocksSpanFromMarkerToMarkerWhereverTheMarkersSit) {
    Bytes image = {0x01, 0x02, 0x03}; // not part of any block
    appendTapeBlock(image, countingBytes(5));
    appendTapeBlock(image, {});
    appendTapeBlock(image, countingBytes(13, 9));
    ASSERT_EQ(findBlockMarkers(image.data(), image.size()), (std::vector<std::size_t>{3, 16, 24}));

    const std::vector<TapeBlock> blocks = readTapeBlocks(image.data(), image.size());
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].offset, 11u);
    EXPECT_EQ(blocks[0].size, 5u);
    EXPECT_EQ(blocks[1].offset, 24u);
    EXPECT_EQ(blocks[1].size, 0u);
    EXPECT_EQ(blocks[2].offset, 32u);
    EXPECT_EQ(blocks[2].size, 13u); // runs to the end of the image
}

TEST(CasBlocks, PartialOrBrokenMarkersAreData) {
    Bytes image;
    appendTapeBlock(image, {0x1F, 0xA6, 0xDE, 0xBA, 0xCC, 0x13, 0x7D, 0x00, 0x1F, 0xA6});
    image.insert(image.end(), kBlockMarker.begin(), kBlockMarker.end() - 1); // cut at the end
    const std::vector<TapeBlock> blocks = readTapeBlocks(image.data(), image.size());
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].size, 17u);
}

TEST(CasBlocks, NoMarkerMeansNoBlocks) {
    const Bytes text = {'1', '0', ' ', 'P', 'R', 'I', 'N', 'T'};
    EXPECT_TRUE(readTapeBlocks(text.data(), text.size()).empty());
    EXPECT_TRUE(readTapeBlocks(nullptr, 0).empty());
}

TEST(CasBlocks, BinaryAndBasicFilesAreAHeaderAndOneDataBlock) {
    for (std::uint8_t id : {kBinaryFileId, kBasicFileId}) {
        Bytes image;
        appendTapeBlock(image, fileHeader(id));
        appendTapeBlock(image, countingBytes(40));
        appendTapeBlock(image, countingBytes(40)); // nothing announced it: a new file
        appendTapeBlock(image, fileHeader(id));
        appendTapeBlock(image, fileHeader(id)); // a header right after a header opens a new file
        appendTapeBlock(image, countingBytes(3));
        EXPECT_EQ(leadInsOf(image), (std::vector<LeadIn>{L, S, L, L, L, S})) << int(id);
    }
}

TEST(CasBlocks, AsciiFileBlocksContinueUpToTheOneHoldingTheEndByte) {
    Bytes image;
    appendTapeBlock(image, fileHeader(kAsciiFileId));
    appendTapeBlock(image, Bytes(256, 'A'));
    Bytes last(256, 'B');
    last[100] = kAsciiEnd;
    appendTapeBlock(image, last);
    appendTapeBlock(image, Bytes(256, 'C'));
    EXPECT_EQ(leadInsOf(image), (std::vector<LeadIn>{L, S, S, L}));
}

TEST(CasBlocks, AFileHeaderNeedsTenEqualIdBytes) {
    Bytes mixed = fileHeader(kBinaryFileId);
    mixed[9] = kBasicFileId;
    const Bytes tooShort(9, kBinaryFileId);
    for (const Bytes& notHeader : {mixed, tooShort}) {
        Bytes image;
        appendTapeBlock(image, notHeader);
        appendTapeBlock(image, countingBytes(8));
        EXPECT_EQ(leadInsOf(image), (std::vector<LeadIn>{L, L}));
    }
}

// The reader is fed whatever file the user picks: blocks must always lie inside the image and
// cover everything after the first marker.
TEST(CasBlocks, AnyBytesGiveBlocksInsideTheImage) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        Bytes image(random() % 300);
        for (auto& b : image)
            b = static_cast<std::uint8_t>(random() % 4 == 0 ? kBlockMarker[random() % 8]
                                                            : random());
        for (int m = random() % 4; m > 0 && !image.empty(); --m) {
            const std::size_t at = random() % image.size();
            image.insert(image.begin() + at, kBlockMarker.begin(), kBlockMarker.end());
        }
        std::size_t covered = 0;
        std::size_t expectedNext = 0;
        for (const TapeBlock& block : readTapeBlocks(image.data(), image.size())) {
            ASSERT_GE(block.offset, expectedNext + kBlockMarkerSize);
            ASSERT_LE(block.offset + block.size, image.size());
            expectedNext = block.offset + block.size;
            covered += block.size + kBlockMarkerSize;
        }
        const auto markers = findBlockMarkers(image.data(), image.size());
        EXPECT_EQ(covered, markers.empty() ? 0 : image.size() - markers.front());
    }
}
