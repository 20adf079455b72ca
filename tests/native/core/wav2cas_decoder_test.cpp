#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <utility>

#include "core/audio/decoder/casdecoder.h"
#include "core/audio/report/decodereport.h"
#include "tests/native/support/wav2cas_testing.h"
#include "tests/native/support/wowflutter.h"

using namespace wav2cas_testing;

namespace {

std::vector<DecodedBlock> decode(const std::vector<float>& signal, double rate = kEncoderRate) {
    return decodeTape(signal, rate, DecodeOptions{});
}

SignalOptions fast() {
    SignalOptions options;
    options.doubleSpeed = true;
    return options;
}

void expectClean(const std::vector<DecodedBlock>& blocks, int baud) {
    for (const DecodedBlock& block : blocks) {
        EXPECT_EQ(block.baud, baud);
        EXPECT_TRUE(block.framingErrors.empty());
        EXPECT_FALSE(block.endsEarly());
    }
}

} // namespace

TEST(Wav2CasDecoder, OurOwnRecordingsGiveTheTapeImageBackAtBothRates) {
    const Bytes image = binaryFile(48);
    for (const SignalOptions& options : {SignalOptions{}, fast()}) {
        const std::vector<DecodedBlock> blocks = decode(encodeSignal(image, options));
        ASSERT_EQ(blocks.size(), 2u);
        EXPECT_EQ(tapeImage(blocks), image);
        expectClean(blocks, options.doubleSpeed ? 2400 : 1200);
        EXPECT_NEAR(blocks[0].speed, 1.0, 0.002);
    }
}

// A compact image keeps its markers wherever the blocks end; the decoded one has them at multiples
// of 8, with 0x00 bytes filling the gap, which is the form padded images have.
TEST(Wav2CasDecoder, MarkersGoToMultiplesOfEight) {
    Bytes image;
    appendTapeBlock(image, cas2wav_testing::fileHeader(kBasicFileId, "PROG"));
    appendTapeBlock(image, cas2wav_testing::countingBytes(5));
    const Bytes decoded = tapeImage(decode(encodeSignal(image)));
    Bytes expected;
    appendTapeBlock(expected, cas2wav_testing::fileHeader(kBasicFileId, "PROG"));
    expected.resize(24, 0x00);
    appendTapeBlock(expected, cas2wav_testing::countingBytes(5));
    EXPECT_EQ(decoded, expected);
}

// One hard case for each way a recording goes wrong; each must still decode byte for byte.
TEST(Wav2CasDecoder, PoorRecordingsDecodeExactly) {
    const Bytes image = binaryFile(40, 11);
    struct Case {
        const char* what;
        SignalOptions options;
        double rate;
        double speed;
        double snrDb; // 0 for no noise
        float gain;
        float offset;
    };
    const Case cases[] = {
        {"6 dB broadband SNR at 1200 baud", {}, kEncoderRate, 1.0, 6, 1, 0},
        {"10 dB broadband SNR at 2400 baud", fast(), kEncoderRate, 1.0, 10, 1, 0},
        {"10 % slow at 44.1 kHz, treble lost", {}, 44100, 0.90, 20, 1, 0},
        {"10 % fast at 2400 baud, 48 kHz", fast(), 48000, 1.10, 20, 1, 0},
        {"inverted", {false, true}, kEncoderRate, 1.0, 14, -1, 0},
        {"quiet (3 %) with a DC offset", {}, 22050, 1.0, 0, 0.03f, 0.2f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<float> signal = encodeSignal(image, c.options);
        if (c.rate != kEncoderRate || c.speed != 1.0) {
            signal = resample(signal, c.rate, c.speed);
            lowPass(signal, c.rate, 6000);
        }
        if (c.snrDb > 0)
            addNoise(signal, c.snrDb, 7);
        for (float& sample : signal)
            sample = sample * c.gain + c.offset;
        const std::vector<DecodedBlock> blocks = decode(signal, c.rate);
        EXPECT_EQ(tapeImage(blocks), image);
        expectClean(blocks, c.options.doubleSpeed ? 2400 : 1200);
        if (!blocks.empty()) {
            EXPECT_NEAR(blocks[0].speed, c.speed, 0.005);
        }
    }
}

// The level may fall along the recording, and the tape drift, without the decoder losing it.
TEST(Wav2CasDecoder, FollowsAFadingLevelAndADriftingSpeed) {
    const Bytes image = binaryFile(160, 5);
    const std::vector<float> steady = encodeSignal(image);
    std::vector<float> drifting;
    double at = 0;
    for (std::size_t i = 0; at + 1 < static_cast<double>(steady.size()); ++i) {
        const double progress = at / static_cast<double>(steady.size());
        const std::size_t k = static_cast<std::size_t>(at);
        const float gain = static_cast<float>(1.0 - 0.9 * progress);
        drifting.push_back(gain * steady[k]);
        at += 0.96 + 0.06 * progress; // from 4 % slow to 2 % fast
    }
    addNoise(drifting, 30, 9);
    EXPECT_EQ(tapeImage(decode(drifting)), image);
}

// One cycle of the low tone inside a lead-in reads as a start bit followed by ones; the decoder
// must go on along the tone to the real first byte rather than report a block (or stay there).
TEST(Wav2CasDecoder, AClickInTheLeadInIsNotABlock) {
    const Bytes image = binaryFile(8);
    std::vector<float> signal = encodeSignal(image);
    const std::size_t click = 10800 + 18 * 800; // a third of a second into the first lead-in
    const double pi = std::acos(-1.0);
    for (std::size_t i = 0; i < 36; ++i)
        signal[click + i] = static_cast<float>(0.9 * std::sin(2 * pi * i / 36));
    const std::vector<DecodedBlock> blocks = decode(signal);
    EXPECT_EQ(tapeImage(blocks), image);
    expectClean(blocks, 1200);
}

TEST(Wav2CasDecoder, ACutShowsWhereTheBlockEndsEarly) {
    const Bytes image = binaryFile(64);
    std::vector<float> signal = encodeSignal(image);
    // The data block's bytes last 11 bits of 36 samples each; cut in the 30th byte's fifth bit.
    const std::vector<DecodedBlock> whole = decode(signal);
    ASSERT_EQ(whole.size(), 2u);
    const std::size_t cut =
        static_cast<std::size_t>(whole[1].seconds * kEncoderRate) + 29 * 396 + 4 * 36 + 10;
    signal.resize(cut);
    std::vector<DecodedBlock> blocks = decode(signal);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[1].ending, BlockEnd::RecordingEnds);
    EXPECT_EQ(blocks[1].bytes, Bytes(image.begin() + 32, image.begin() + 32 + 29));
    // Silence after the cut: the signal stops in the middle of the byte.
    signal.resize(cut + 40000, 0.0f);
    blocks = decode(signal);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[1].ending, BlockEnd::MidByte);
    EXPECT_EQ(blocks[1].bytes.size(), 29u);
    EXPECT_NEAR(blocks[1].stopSeconds, cut / kEncoderRate, 0.001);
}

TEST(Wav2CasDecoder, NoiseAloneHoldsNoBlock) {
    std::vector<float> signal(5 * 44100, 0.0f);
    addNoise(signal, 0, 1);
    EXPECT_TRUE(decode(signal, 44100).empty());
    EXPECT_TRUE(decode(std::vector<float>(1000, 0.0f)).empty());
    EXPECT_TRUE(decode({}).empty());
}

// A deck's wow and flutter change pitch and timing together; at the edges of what worn tapes and
// slipping belts give, the bytes must still come back exact.
TEST(Wav2CasDecoder, HoldsOnThroughWowAndFlutter) {
    struct Case {
        const char* what;
        bool doubleSpeed;
        wowflutter::Wobble wow, flutter;
    };
    const Case cases[] = {
        {"1200 baud, 3 % wow at 2 Hz, 0.5 % flutter at 15 Hz", false, {0.03, 2}, {0.005, 15}},
        {"1200 baud, 3 % wow at 0.3 Hz, 0.5 % flutter at 5 Hz", false, {0.03, 0.3}, {0.005, 5}},
        {"2400 baud, 2 % wow at 2 Hz, 0.4 % flutter at 15 Hz", true, {0.02, 2}, {0.004, 15}},
        {"2400 baud, 2 % wow at 0.5 Hz, 0.4 % flutter at 10 Hz", true, {0.02, 0.5}, {0.004, 10}},
    };
    const Bytes image = binaryFile(320, 9);
    unsigned seed = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SignalOptions options;
        options.doubleSpeed = c.doubleSpeed;
        std::vector<float> signal = wowflutter::play(encodeSignal(image, options), kEncoderRate,
                                                     44100, 1.0, {c.wow, c.flutter}, ++seed);
        addNoise(signal, 20, seed);
        const std::vector<DecodedBlock> blocks = decode(signal, 44100);
        EXPECT_EQ(tapeImage(blocks), image);
        expectClean(blocks, c.doubleSpeed ? 2400 : 1200);
    }
}

// Whatever a damaged stretch does to the reading of its block, the blocks before and after it
// come back exact: each block's lead-in sets the timing afresh.
TEST(Wav2CasDecoder, DamageStaysInsideItsBlock) {
    Bytes image = binaryFile(120, 4);
    appendTapeBlock(image, cas2wav_testing::fileHeader(kBinaryFileId, "SECOND"));
    appendTapeBlock(image, cas2wav_testing::countingBytes(96, 8));
    const std::vector<float> clean = encodeSignal(image);
    const std::vector<DecodedBlock> whole = decode(clean);
    ASSERT_EQ(whole.size(), 4u);
    // From the 40th byte of the first file's data block, a tenth of a second long.
    const auto from = static_cast<std::size_t>(whole[1].seconds * kEncoderRate) + 40 * 396;
    const std::size_t length = 4320;
    std::mt19937 random(5);
    std::normal_distribution<float> loud(0.0f, 1.5f);
    const std::vector<std::pair<const char*, std::function<void(std::vector<float>&)>>> damages = {
        {"a burst of loud noise",
         [&](std::vector<float>& s) {
             for (std::size_t i = from; i < from + length; ++i)
                 s[i] += loud(random);
         }},
        {"the tape jumps a third of a bit and then runs a fifth too fast",
         [&](std::vector<float>& s) {
             const std::vector<float> fast = resample(
                 std::vector<float>(clean.begin() + from + 12, clean.end()), kEncoderRate, 1.2);
             std::copy(fast.begin(), fast.begin() + length, s.begin() + from);
         }},
        {"a dropout",
         [&](std::vector<float>& s) {
             std::fill(s.begin() + from, s.begin() + from + length, 0.0f);
         }},
    };
    for (const auto& [what, damage] : damages) {
        SCOPED_TRACE(what);
        std::vector<float> signal = clean;
        damage(signal);
        addNoise(signal, 20, 3);
        const std::vector<DecodedBlock> blocks = decode(signal);
        ASSERT_EQ(blocks.size(), 4u);
        EXPECT_EQ(blocks[0].bytes, whole[0].bytes);
        ASSERT_GE(blocks[1].bytes.size(), 40u);
        EXPECT_EQ(Bytes(blocks[1].bytes.begin(), blocks[1].bytes.begin() + 40),
                  Bytes(whole[1].bytes.begin(), whole[1].bytes.begin() + 40));
        EXPECT_EQ(blocks[2].bytes, whole[2].bytes);
        EXPECT_EQ(blocks[3].bytes, whole[3].bytes);
        expectClean({blocks[2], blocks[3]}, 1200);
    }
}

namespace {

// The recording of `image` damaged by `damage`, with noise at 20 dB, decoded; `whole` is the clean
// decode.
struct DamagedStretch {
    double from, to; // in bytes of the data block, from its first byte's start
};

// Every byte of `damaged` outside the stretches is the clean block's, at its offset, and the block
// is as long; every byte inside that is not is named (lost, in doubt or with a framing error) where
// the damage left nothing to read (noise may leave bytes that frame, read as they came).
void expectOnlyTheStretchesLost(const DecodedBlock& damaged, const DecodedBlock& whole,
                                const std::vector<DamagedStretch>& stretches,
                                bool nothingToRead = true) {
    auto inside = [&](std::size_t k) {
        for (const DamagedStretch& stretch : stretches)
            if (k + 1 >= static_cast<std::size_t>(stretch.from) &&
                k <= static_cast<std::size_t>(std::ceil(stretch.to)))
                return true;
        return false;
    };
    auto named = [&](std::size_t k) {
        for (const LostStretch& lost : damaged.lost)
            if ((k >= lost.first && k < lost.first + lost.count) ||
                (lost.doubtfulBefore && k + 1 == lost.first))
                return true;
        return std::find(damaged.framingErrors.begin(), damaged.framingErrors.end(), k) !=
               damaged.framingErrors.end();
    };
    ASSERT_EQ(damaged.bytes.size(), whole.bytes.size());
    for (std::size_t k = 0; k < whole.bytes.size(); ++k) {
        if (damaged.bytes[k] == whole.bytes[k])
            continue;
        EXPECT_TRUE(inside(k)) << "byte " << k << " is wrong outside the damage";
        EXPECT_TRUE(named(k) || !nothingToRead) << "byte " << k << " is wrong and not named";
    }
    for (const LostStretch& lost : damaged.lost) {
        EXPECT_TRUE(inside(lost.first)) << "lost from byte " << lost.first;
        EXPECT_TRUE(inside(lost.first + lost.count - 1));
    }
}

// Where the bytes of a clean decode's data block lie in its recording at the encoder's rate: the
// sample where byte `byte` (fractions too) starts, and how many bytes a stretch of milliseconds
// spans, for placing damage and naming what it covers.
struct BlockClock {
    double start;       // in samples
    double byteSamples; // one byte's length in samples
    std::size_t at(double byte) const {
        return static_cast<std::size_t>(start + byte * byteSamples);
    }
    double bytes(double milliseconds) const {
        return milliseconds * kEncoderRate / 1000 / byteSamples;
    }
};
BlockClock clockOf(const DecodedBlock& block) {
    return {block.seconds * kEncoderRate, 11 * kEncoderRate / block.baud};
}

} // namespace

// A dropout of 60 ms, a splice that cuts out 25 ms, a burst of loud noise, or a dropout and a
// splice in one block, at both rates and 20 dB: the reading resumes after each, every byte outside
// the damage comes back at its offset, and the block has the length its header announces.
TEST(Wav2CasDecoder, DamageInsideABlockCostsOnlyTheBytesItCovers) {
    const Bytes image = binaryFile(400, 6);
    unsigned seed = 20;
    for (const SignalOptions& options : {SignalOptions{}, fast()}) {
        SCOPED_TRACE(options.doubleSpeed ? "2400 baud" : "1200 baud");
        const std::vector<float> clean = encodeSignal(image, options);
        const std::vector<DecodedBlock> whole = decode(clean);
        ASSERT_EQ(whole.size(), 2u);
        const BlockClock clock = clockOf(whole[1]);
        const double ms = kEncoderRate / 1000;
        auto at = [&](double byte) { return clock.at(byte); };
        auto bytes = [&](double milliseconds) { return clock.bytes(milliseconds); };
        const struct {
            const char* what;
            std::function<void(std::vector<float>&)> damage;
            std::vector<DamagedStretch> stretches;
            bool nothingToRead;
        } cases[] = {
            {"a dropout of 60 ms",
             [&](std::vector<float>& s) { dropOut(s, at(150.4), std::lround(60 * ms)); },
             {{150.4, 150.4 + bytes(60)}},
             true},
            {"a splice that cuts out 25 ms",
             [&](std::vector<float>& s) { cutOut(s, at(200.7), std::lround(25 * ms)); },
             {{200.7, 200.7 + bytes(25)}},
             true},
            {"a burst of noise of 60 ms",
             [&](std::vector<float>& s) { burstOfNoise(s, at(150.4), std::lround(60 * ms), 8); },
             {{150.4, 150.4 + bytes(60)}},
             false},
            {"a dropout and a splice",
             [&](std::vector<float>& s) {
                 cutOut(s, at(300.2), std::lround(25 * ms));
                 dropOut(s, at(100.6), std::lround(60 * ms));
             },
             {{100.6, 100.6 + bytes(60)}, {300.2, 300.2 + bytes(25)}},
             true},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            std::vector<float> signal = clean;
            c.damage(signal);
            addNoise(signal, 20, ++seed);
            const std::vector<DecodedBlock> blocks = decode(signal);
            ASSERT_EQ(blocks.size(), 2u);
            EXPECT_EQ(blocks[0].bytes, whole[0].bytes);
            expectOnlyTheStretchesLost(blocks[1], whole[1], c.stretches, c.nothingToRead);
        }
    }
}

// A fault inside a block's lead-in costs the block nothing; one in a 16-byte file header costs the
// bytes it covers, and the header keeps its length.
TEST(Wav2CasDecoder, AFaultInALeadInOrAFileHeaderLosesNoMoreThanItCovers) {
    const Bytes image = binaryFile(80, 3);
    const std::vector<float> clean = encodeSignal(image);
    const std::vector<DecodedBlock> whole = decode(clean);
    ASSERT_EQ(whole.size(), 2u);
    const double ms = kEncoderRate / 1000;
    const auto dataStart = static_cast<std::size_t>(whole[1].seconds * kEncoderRate);
    const auto headerStart = static_cast<std::size_t>(whole[0].seconds * kEncoderRate);
    const auto sixty = static_cast<std::size_t>(60 * ms);
    const std::pair<const char*, std::function<void(std::vector<float>&)>> leadInFaults[] = {
        {"a dropout in the lead-in, a tenth of a second before the first byte",
         [&](std::vector<float>& s) {
             dropOut(s, dataStart - static_cast<std::size_t>(100 * ms) - sixty, sixty);
         }},
        {"a burst of noise in the lead-in",
         [&](std::vector<float>& s) {
             burstOfNoise(s, dataStart - static_cast<std::size_t>(200 * ms) - sixty, sixty, 32);
         }},
        {"a click in the lead-in that sounds as a 0 bit, three bits before the first start bit",
         [&](std::vector<float>& s) {
             const auto bit = static_cast<std::size_t>(kEncoderRate / 1200);
             std::copy_n(s.begin() + static_cast<std::ptrdiff_t>(dataStart), bit,
                         s.begin() + static_cast<std::ptrdiff_t>(dataStart - 3 * bit));
         }},
        {"a click in the lead-in a byte before the first start bit: the low tone, a quarter turn "
         "out of phase, over the high one",
         [&](std::vector<float>& s) {
             const auto bit = static_cast<std::size_t>(kEncoderRate / 1200);
             const std::size_t at = dataStart - kTapeByteBits * bit;
             for (std::size_t n = 0; n < bit; ++n)
                 s[at + n] = 0.4f * s[at + n] + s[dataStart + n + bit / 4];
         }},
    };
    unsigned seed = 31;
    for (const auto& [what, damage] : leadInFaults) {
        SCOPED_TRACE(what);
        std::vector<float> signal = clean;
        damage(signal);
        addNoise(signal, 20, seed);
        seed += 2;
        const std::vector<DecodedBlock> blocks = decode(signal);
        EXPECT_EQ(tapeImage(blocks), image);
        expectClean(blocks, 1200);
    }
    {
        SCOPED_TRACE("a dropout of 30 ms in the file header");
        std::vector<float> signal = clean;
        dropOut(signal, headerStart + static_cast<std::size_t>(6.3 * 396),
                static_cast<std::size_t>(30 * ms));
        addNoise(signal, 20, 34);
        const std::vector<DecodedBlock> blocks = decode(signal);
        ASSERT_EQ(blocks.size(), 2u);
        expectOnlyTheStretchesLost(blocks[0], whole[0], {{6.3, 6.3 + 30 * ms / 396}});
        EXPECT_EQ(blocks[1].bytes, whole[1].bytes);
    }
}

namespace {

// Whether the report calls the decode clean (wav2cas's exit status 0), and the report.
bool reportedClean(const std::vector<DecodedBlock>& blocks, std::string* report = nullptr) {
    std::ostringstream out;
    const bool clean = reportDecode(blocks, false, out);
    if (report)
        *report = out.str();
    return clean;
}

} // namespace

// At the edge of what the decoder reads, noise turns a bit now and then, and a byte whose start
// and stop bits hold may come out wrong: no such decode may be called clean. Each draw either
// decodes exactly or is reported unclean; and some draws are wrong with every byte framed and
// nothing lost, which only the margins of their bits tell.
TEST(Wav2CasDecoder, NoDecodeNearTheEdgeIsCleanWithAWrongByte) {
    const Bytes image = randomBinaryFile(160, 4);
    const struct {
        bool doubleSpeed;
        double snrDb;
    } edges[] = {{false, 0}, {false, -1}, {true, 2}};
    int framedButWrong = 0;
    for (const auto& edge : edges) {
        SignalOptions options;
        options.doubleSpeed = edge.doubleSpeed;
        const std::vector<float> clean = encodeSignal(image, options);
        for (unsigned seed = 1; seed <= 4; ++seed) {
            SCOPED_TRACE(std::to_string(edge.doubleSpeed ? 2400 : 1200) + " baud, " +
                         std::to_string(edge.snrDb) + " dB, draw " + std::to_string(seed));
            std::vector<float> signal = clean;
            addNoise(signal, edge.snrDb, seed);
            const std::vector<DecodedBlock> blocks = decode(signal);
            const bool exact = tapeImage(blocks) == image;
            EXPECT_TRUE(exact || !reportedClean(blocks));
            bool framedWhole = blocks.size() == 2;
            for (const DecodedBlock& block : blocks)
                framedWhole = framedWhole && block.framingErrors.empty() && block.lost.empty();
            framedButWrong += !exact && framedWhole ? 1 : 0;
        }
    }
    EXPECT_GT(framedButWrong, 0);
}

// A file header is checked against what a file's header holds: a header one of whose ten id
// bytes is wrong is no longer taken for a data block without a word, nor a name that does not
// print. The recordings are clean: the bytes are read as they are, and named as unsure.
TEST(Wav2CasDecoder, AFileHeaderThatDoesNotHoldTogetherIsUnsure) {
    Bytes wrongId = cas2wav_testing::fileHeader(kBinaryFileId, "TOMKRN");
    wrongId[4] = 0xD1;
    Bytes wrongName = cas2wav_testing::fileHeader(kBinaryFileId, "TOMKRN");
    wrongName[12] = 0x0D;
    const struct {
        const char* what;
        Bytes header;
        Bytes data;
        const char* line;
    } cases[] = {
        {"an id byte", wrongId, binaryData(0xC000, 24),
         "block 1: byte 4 unsure: the ten bytes that tell the kind of a file header do not agree"},
        {"a name byte", wrongName, binaryData(0xC000, 24),
         "block 1: byte 12 unsure: the file's name holds bytes that do not print"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes image;
        appendTapeBlock(image, c.header);
        appendTapeBlock(image, c.data);
        const std::vector<DecodedBlock> blocks = decode(encodeSignal(image));
        EXPECT_EQ(tapeImage(blocks), image);
        std::string report;
        EXPECT_FALSE(reportedClean(blocks, &report));
        EXPECT_NE(report.find(c.line), std::string::npos) << report;
    }
}

// A file header's ten id bytes are one byte ten times over: a copy that noise left faint, or turned
// by a bit told apart only narrowly, is what the sure copies say; a copy that reads a bit clearly
// otherwise is left as read, for the check above to name.
TEST(Wav2CasDecoder, AFaintIdByteOfAFileHeaderIsWhatItsCopiesSay) {
    DecodedBlock header;
    header.baud = 1200;
    header.bytes = cas2wav_testing::fileHeader(kBinaryFileId, "TOMKRN");
    for (const std::uint8_t byte : header.bytes) {
        BitMargins& margins = header.margins.emplace_back();
        for (int i = 0; i < kTapeByteBits; ++i)
            margins[i] = tapeByteBit(byte, i) ? 0.9f : -0.9f;
    }
    const int firstDataBit = kTapeByteFirstDataBit;
    header.margins[3][firstDataBit + 4] = 0.1f; // faint, but the right value
    header.unsure.push_back({3, 1, 0, Doubt::Faint});
    header.bytes[6] = 0xD1; // a bit turned by noise, narrowly
    header.margins[6][firstDataBit] = 0.2f;
    header.unsure.push_back({6, 1, 0, Doubt::Faint});
    header.bytes[8] = 0xD1; // read clearly otherwise
    header.margins[8][firstDataBit] = 0.9f;
    settleIdBytes(header);
    EXPECT_EQ(header.bytes[3], kBinaryFileId);
    EXPECT_EQ(header.bytes[6], kBinaryFileId);
    EXPECT_LT(header.margins[6][firstDataBit], -0.8f); // as sure as its copies
    EXPECT_EQ(header.bytes[8], 0xD1);
    EXPECT_TRUE(header.unsure.empty());
}

// A block that ends right after its last byte's stop bits, on a tape running 8 % slow at 2400
// baud (2205 baud), recorded to its end: the recording may stop a few samples before where the
// reader's timing puts the end of the last stop bit, and the last byte is read all the same.
TEST(Wav2CasDecoder, TheLastByteOfASlowTapeIsReadToTheRecordingsEnd) {
    SignalOptions options;
    options.doubleSpeed = true;
    Bytes image = randomBinaryFile(200, 8);
    image.back() = 0xE9;
    std::vector<float> signal = encodeSignal(image, options);
    // encodeSignal cut the first 1.75 s of silence and 6.17 s of the first lead-in.
    const std::vector<RecordedBlock> layout =
        recordingLayout(readTapeBlocks(image.data(), image.size()), options);
    signal.resize(static_cast<std::size_t>(layout.back().end - (1.75 + 6.17) * kEncoderRate));
    signal = resample(signal, 44100, 2205.0 / 2400);
    for (const std::ptrdiff_t missing : {0, 1, 3}) {
        SCOPED_TRACE(std::to_string(missing) + " samples short of the end");
        std::vector<float> ending(signal.begin(), signal.end() - missing);
        addNoise(ending, 30, 6);
        const std::vector<DecodedBlock> blocks = decode(ending, 44100);
        EXPECT_EQ(tapeImage(blocks), image);
        EXPECT_TRUE(reportedClean(blocks));
    }
}

// Splices whose only trace is where the reading takes up the tape again: a little before the byte
// where it failed (the count by its duration is none), or bytes that fail to frame while those
// after each frame on the same timing (a splice of a byte and a bit, whose bit the timing takes
// up).
// The file header's length gives them their bytes, and everything after them stays in place. On
// random bytes through the benchmark's band, at 44.1 kHz and 20 dB, with the draws that show it.
TEST(Wav2CasDecoder, ASpliceKeepsTheBytesAfterItInPlace) {
    const struct {
        const char* what;
        bool doubleSpeed;
        unsigned image;      // the seed of the file's bytes
        double cutMs, cutAt; // the splice, at a byte of the data block
        double dropoutMs;    // and a dropout at byte 50.6 before it
        unsigned noise;
        double settling; // bytes after the splice read out of step, each named, until the
                         // reading falls into step again
    } cases[] = {
        {"2400 baud, 12 ms cut out", true, 2, 12, 100 + 10 / 22.0, 0, 20, 0},
        {"1200 baud, a dropout of 60 ms and 10 ms cut out", false, 3, 10, 100, 60, 20, 0},
        {"1200 baud, 10 ms cut out: a byte and a bit", false, 11, 10, 100, 0, 20, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SignalOptions options;
        options.doubleSpeed = c.doubleSpeed;
        const Bytes image = randomBinaryFile(200, c.image);
        const std::vector<float> clean = encodeSignal(image, options);
        const std::vector<DecodedBlock> whole = decode(clean);
        ASSERT_EQ(whole.size(), 2u);
        const BlockClock clock = clockOf(whole[1]);
        const double ms = kEncoderRate / 1000;
        std::vector<float> signal = clean;
        cutOut(signal, clock.at(c.cutAt), std::lround(c.cutMs * ms));
        std::vector<DamagedStretch> stretches = {
            {c.cutAt, c.cutAt + clock.bytes(c.cutMs) + c.settling}};
        if (c.dropoutMs > 0) {
            dropOut(signal, clock.at(50.6), std::lround(c.dropoutMs * ms));
            stretches.insert(stretches.begin(), {50.6, 50.6 + clock.bytes(c.dropoutMs)});
        }
        signal = resample(signal, 44100, 1.0);
        bandLimit(signal, 44100);
        addNoise(signal, 20, c.noise);
        const std::vector<DecodedBlock> blocks = decode(signal, 44100);
        ASSERT_EQ(blocks.size(), 2u);
        expectOnlyTheStretchesLost(blocks[1], whole[1], stretches);
        EXPECT_FALSE(reportedClean(blocks));
    }
}
