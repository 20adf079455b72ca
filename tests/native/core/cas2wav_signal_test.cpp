#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/audio/encoder/casencoder.h"
#include "tests/native/support/cas2wav_testing.h"

using namespace cas2wav_testing;

namespace {

struct Speed {
    bool doubleSpeed;
    std::size_t zeroCycle;
    std::size_t oneCycle;
    std::size_t longTone;
    std::size_t shortTone;
};

const Speed kSpeeds[] = {{false, 36, 18, 16000, 4000}, {true, 18, 9, 32000, 8000}};

constexpr std::size_t kSecond = 43200;

Bytes record(const Bytes& image, SignalOptions options) {
    MemorySink sink;
    EXPECT_TRUE(writeTapeRecording(image.data(), readTapeBlocks(image.data(), image.size()),
                                   options, sink));
    return sink.bytes;
}

Recording listenToWav(const Bytes& wav) {
    return listenTo(wav.data() + kWavHeaderSize, wav.size() - kWavHeaderSize);
}

std::uint32_t le32(const Bytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           std::uint32_t{bytes[at + 3]} << 24;
}

std::uint16_t le16(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// A binary file, then a data block with no header before it, then an ASCII file of two blocks and
// a stray block after it; markers at offsets that are not multiples of 8.
Bytes mixedTape() {
    Bytes image = {0xEE, 0xEE, 0xEE};
    appendTapeBlock(image, fileHeader(kBinaryFileId, "LEVEL "));
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<std::uint8_t>(i);
    appendTapeBlock(image, all);
    appendTapeBlock(image, countingBytes(5, 3));
    appendTapeBlock(image, fileHeader(kAsciiFileId, "TEXT  "));
    appendTapeBlock(image, {'1', '0', ' ', 'R', 'E', 'M'});
    appendTapeBlock(image, {'E', 'N', 'D', kAsciiEnd, 0, 0, 0});
    appendTapeBlock(image, countingBytes(11, 1));
    return image;
}

} // namespace

TEST(CasSignal, DemodulatedRecordingGivesBackEveryBlockWithItsLeadIn) {
    const Bytes image = mixedTape();
    const std::vector<TapeBlock> blocks = readTapeBlocks(image.data(), image.size());
    for (const Speed& speed : kSpeeds) {
        SCOPED_TRACE(speed.doubleSpeed ? "2400 baud" : "1200 baud");
        const Recording heard = listenToWav(record(image, {speed.doubleSpeed, false}));
        ASSERT_TRUE(heard.clean);
        ASSERT_EQ(heard.bursts.size(), blocks.size());
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            SCOPED_TRACE("block " + std::to_string(i));
            const bool isLong = blocks[i].leadIn == LeadIn::Long;
            EXPECT_EQ(heard.bursts[i].silenceBefore, (isLong ? 2 : 1) * kSecond);
            const DecodedBurst burst =
                decodeBurst(heard.bursts[i], speed.zeroCycle, speed.oneCycle);
            EXPECT_TRUE(burst.framed);
            EXPECT_EQ(burst.toneCycles, isLong ? speed.longTone : speed.shortTone);
            const Bytes payload(image.begin() + blocks[i].offset,
                                image.begin() + blocks[i].offset + blocks[i].size);
            EXPECT_EQ(burst.bytes, payload);
        }
        EXPECT_EQ(heard.trailingSilence, kSecond);
    }
}

TEST(CasSignal, HeaderMatchesTheSamplesThatFollow) {
    const Bytes image = mixedTape();
    for (const Speed& speed : kSpeeds) {
        const Bytes wav = record(image, {speed.doubleSpeed, false});
        ASSERT_GT(wav.size(), kWavHeaderSize);
        const std::uint32_t dataSize = static_cast<std::uint32_t>(wav.size() - kWavHeaderSize);
        EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
        EXPECT_EQ(le32(wav, 4), dataSize + 36);
        EXPECT_EQ(std::memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
        EXPECT_EQ(le32(wav, 16), 16u);    // fmt chunk size
        EXPECT_EQ(le16(wav, 20), 1u);     // PCM
        EXPECT_EQ(le16(wav, 22), 1u);     // mono
        EXPECT_EQ(le32(wav, 24), 43200u); // sample rate
        EXPECT_EQ(le32(wav, 28), 43200u); // bytes per second
        EXPECT_EQ(le16(wav, 32), 1u);     // bytes per sample frame
        EXPECT_EQ(le16(wav, 34), 8u);     // bits per sample
        EXPECT_EQ(std::memcmp(wav.data() + 36, "data", 4), 0);
        EXPECT_EQ(le32(wav, 40), dataSize);
        const std::vector<TapeBlock> blocks = readTapeBlocks(image.data(), image.size());
        EXPECT_EQ(recordingSize(blocks, {speed.doubleSpeed, false}), dataSize);
    }
}

TEST(CasSignal, CyclesAreLoudSinesStartingUpwardsOrDownwardsWhenInverted) {
    Bytes image;
    appendTapeBlock(image, countingBytes(300));
    for (const Speed& speed : kSpeeds) {
        const Bytes normal = record(image, {speed.doubleSpeed, false});
        const Bytes inverted = record(image, {speed.doubleSpeed, true});
        ASSERT_EQ(normal.size(), inverted.size());
        int peak = 0;
        bool mirrored = true;
        for (std::size_t i = kWavHeaderSize; i < normal.size(); ++i) {
            mirrored = mirrored && normal[i] + inverted[i] == 256;
            peak = std::max(peak, std::abs(normal[i] - 128));
        }
        EXPECT_TRUE(mirrored);
        EXPECT_GE(peak, 100);
        EXPECT_LE(peak, 127);
        // The first tone cycle, right after 2 s of silence, rises.
        const std::size_t firstCycle = kWavHeaderSize + 2 * kSecond;
        EXPECT_EQ(normal[firstCycle], 128);
        EXPECT_GT(normal[firstCycle + 1], 128);
        EXPECT_LT(inverted[firstCycle + 1], 128);
    }
}

TEST(CasSignal, RecordingTooLongForAWavFileIsRefusedBeforeAnythingIsWritten) {
    // About 11 million bytes at 1200 baud overflow the 4 GB a .wav file can describe; the blocks
    // are never read, so no image is needed.
    const std::vector<TapeBlock> blocks = {{0, 6'000'000, LeadIn::Long},
                                           {0, 6'000'000, LeadIn::Short}};
    EXPECT_GT(recordingSize(blocks, {}), 0xFFFFFFFFull);
    MemorySink sink;
    const std::uint8_t unused = 0;
    EXPECT_FALSE(writeTapeRecording(&unused, blocks, {}, sink));
    EXPECT_TRUE(sink.bytes.empty());
}

TEST(CasSignal, LayoutTellsWhereEachBlockSounds) {
    const Bytes image = mixedTape();
    const std::vector<TapeBlock> blocks = readTapeBlocks(image.data(), image.size());
    for (const Speed& speed : kSpeeds) {
        SCOPED_TRACE(speed.doubleSpeed ? "2400 baud" : "1200 baud");
        const SignalOptions options{speed.doubleSpeed, false};
        const Bytes wav = record(image, options);
        const std::vector<RecordedBlock> layout = recordingLayout(blocks, options);
        ASSERT_EQ(layout.size(), blocks.size());
        std::uint64_t previousEnd = 0;
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            SCOPED_TRACE("block " + std::to_string(i));
            const RecordedBlock& at = layout[i];
            EXPECT_EQ(at.silence, previousEnd);
            const auto sample = [&](std::uint64_t k) { return wav[kWavHeaderSize + k]; };
            EXPECT_EQ(sample(at.tone - 1), 128); // still silent
            EXPECT_GT(sample(at.tone + 1), 128); // the tone's first cycle rises
            // The tone's cycles are 1 bits; the data starts with the 0 start bit, one long cycle.
            EXPECT_EQ(at.data - at.tone,
                      (blocks[i].leadIn == LeadIn::Long ? speed.longTone : speed.shortTone) *
                          speed.oneCycle);
            EXPECT_GT(sample(at.data + speed.oneCycle / 2 + 1), 128);
            EXPECT_EQ(at.end - at.data, blocks[i].size * 11 * speed.zeroCycle);
            previousEnd = at.end;
        }
        EXPECT_EQ(recordingSize(blocks, options), previousEnd + kSecond);
        EXPECT_EQ(wav.size(), kWavHeaderSize + previousEnd + kSecond);
    }
}
