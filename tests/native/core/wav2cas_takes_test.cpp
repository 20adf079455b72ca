#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/audio/decoder/casdecoder.h"
#include "core/audio/report/decodereport.h"
#include "core/audio/report/takesreport.h"
#include "core/audio/decoder/takes.h"
#include "tests/native/support/wav2cas_testing.h"

using namespace wav2cas_testing;

namespace {

// How one take of a tape was recorded: its own noise draw, speed, sample rate and leading silence
// (which sets where the bits fall among the samples).
struct Take {
    double snrDb;
    unsigned seed;
    double speed;
    double rate;
    double silence; // seconds before the recording of the tape
};

std::vector<float> record(const std::vector<float>& tape, const Take& take) {
    std::vector<float> signal(static_cast<std::size_t>(take.silence * kEncoderRate), 0.0f);
    signal.insert(signal.end(), tape.begin(), tape.end());
    signal = resample(signal, take.rate, take.speed);
    addNoise(signal, take.snrDb, take.seed);
    return signal;
}

std::vector<DecodedBlock> decodeTake(const std::vector<float>& signal, double rate) {
    return decodeTape(signal, rate, DecodeOptions{});
}

// Whether the report of the takes calls the decode clean (wav2cas's exit status 0), and the report.
bool reportedClean(const CombinedTape& tape, std::string* report = nullptr) {
    std::ostringstream out;
    const bool clean = reportTakes(tape, {"a", "b", "c"}, false, out);
    if (report)
        *report = out.str();
    return clean;
}

// Three noisy takes of a file, each too noisy to be read exactly alone, read together exactly.
// `draw` picks the takes' noise.
void expectThreeTakesExact(const SignalOptions& options, double snrDb, unsigned draw = 0) {
    const Bytes image = randomBinaryFile(600, 11);
    const std::vector<float> tape = encodeSignal(image, options);
    const Take takes[] = {{snrDb, 101 + 1000 * draw, 1.00, 44100, 0.30},
                          {snrDb, 202 + 1000 * draw, 1.03, 48000, 0.1234},
                          {snrDb, 303 + 1000 * draw, 0.97, 44100, 0.71}};
    std::vector<std::vector<DecodedBlock>> decoded;
    int wrongAlone = 0;
    for (const Take& take : takes) {
        decoded.push_back(decodeTake(record(tape, take), take.rate));
        // No take alone is sure of the tape, and some read bytes wrong.
        std::ostringstream single;
        EXPECT_FALSE(reportDecode(decoded.back(), false, single)) << "take " << decoded.size();
        wrongAlone += tapeImage(decoded.back()) != image ? 1 : 0;
    }
    EXPECT_GE(wrongAlone, 2);
    const CombinedTape combined = combineTakes(decoded);
    std::string report;
    EXPECT_TRUE(reportedClean(combined, &report)) << report;
    EXPECT_EQ(tapeImage(combined.blocks), image) << report;
}

} // namespace

TEST(Wav2CasTakes, ThreeTakesTooNoisyAloneGiveTheExactTapeAt1200Baud) {
    expectThreeTakesExact({}, -2.5);
}

// The file header is read before the tones are learnt, by the bits' energies, over windows placed
// by a timing still settling, and its margins were too weak for three takes together to be sure of
// it: measured again where the learnt tones place its bytes, it is nearly as sure as the data.
TEST(Wav2CasTakes, ThreeTakesAreSureOfTheFileHeaderToo) {
    expectThreeTakesExact({}, -2.5, 6);
}

// A draw in which every take alone reads bytes wrong.
TEST(Wav2CasTakes, ThreeTakesTooNoisyAloneGiveTheExactTapeAt2400Baud) {
    SignalOptions options;
    options.doubleSpeed = true;
    expectThreeTakesExact(options, 1.0, 3);
}

namespace {

// What befalls one take of a tape: a dropout, a splice or a burst of noise, at a time in seconds.
enum class Fault { Dropout, Cut, Burst };
struct TakeDamage {
    Fault fault;
    double at;
};

// The takes of `tape` at 20 dB, each with its own speed, rate, leading silence and damage.
std::vector<std::vector<DecodedBlock>> damagedTakes(const std::vector<float>& tape,
                                                    const std::vector<TakeDamage>& damage) {
    const Take looks[] = {
        {20, 7, 1.00, 44100, 0.30}, {20, 8, 1.02, 48000, 0.55}, {20, 9, 0.98, 44100, 0.12}};
    std::vector<std::vector<DecodedBlock>> decoded;
    for (std::size_t k = 0; k < damage.size(); ++k) {
        std::vector<float> signal = tape;
        const auto at = static_cast<std::size_t>(damage[k].at * kEncoderRate);
        const auto ms = [](double m) { return static_cast<std::size_t>(m / 1000 * kEncoderRate); };
        switch (damage[k].fault) {
        case Fault::Dropout:
            dropOut(signal, at, ms(30));
            break;
        case Fault::Cut:
            cutOut(signal, at, ms(12));
            break;
        case Fault::Burst:
            burstOfNoise(signal, at, ms(40), 77);
            break;
        }
        decoded.push_back(decodeTake(record(signal, looks[k]), looks[k].rate));
    }
    return decoded;
}

} // namespace

// Each take loses a stretch at another place: every byte comes from the takes that hold it, and
// the tape comes out whole and sure, though each take alone lost bytes.
TEST(Wav2CasTakes, StretchesLostAtOtherPlacesComeFromTheOtherTakes) {
    SignalOptions options;
    options.doubleSpeed = true;
    const Bytes image = randomBinaryFile(2048, 21);
    const std::vector<std::vector<DecodedBlock>> takes =
        damagedTakes(encodeSignal(image, options),
                     {{Fault::Dropout, 5.0}, {Fault::Cut, 8.0}, {Fault::Burst, 11.0}});
    for (const std::vector<DecodedBlock>& take : takes) {
        std::ostringstream single;
        EXPECT_FALSE(reportDecode(take, false, single));
    }
    const CombinedTape combined = combineTakes(takes);
    std::string report;
    EXPECT_TRUE(reportedClean(combined, &report)) << report;
    EXPECT_EQ(tapeImage(combined.blocks), image) << report;
    EXPECT_NE(report.find("from takes 2, 3 only"), std::string::npos) << report;
}

// Two takes damaged at the same place: no take holds those bytes, so they are lost, reported and
// the decode not clean; every other byte is the tape's.
TEST(Wav2CasTakes, WhatNoTakeHoldsIsLost) {
    const Bytes image = randomBinaryFile(400, 22);
    const std::vector<std::vector<DecodedBlock>> takes =
        damagedTakes(encodeSignal(image), {{Fault::Dropout, 4.0}, {Fault::Dropout, 4.0}});
    const CombinedTape combined = combineTakes(takes);
    std::string report;
    EXPECT_FALSE(reportedClean(combined, &report));
    ASSERT_EQ(combined.blocks.size(), 2u);
    const DecodedBlock& data = combined.blocks[1];
    ASSERT_EQ(data.lost.size(), 1u) << report;
    EXPECT_NE(report.find("lost in a dropout"), std::string::npos) << report;
    Bytes expected = image;
    const std::size_t first = tapeImage(combined.blocks).size() - data.bytes.size();
    std::fill_n(expected.begin() + static_cast<std::ptrdiff_t>(first + data.lost[0].first),
                data.lost[0].count, 0x00);
    EXPECT_EQ(tapeImage(combined.blocks), expected) << report;
}

namespace {

// A block as a take's decode gives it: every bit told by `clear`, the margin of a clean take.
DecodedBlock heard(const Bytes& bytes, float clear = 1.0f) {
    DecodedBlock block;
    block.baud = 1200;
    block.bytes = bytes;
    block.endSeconds = bytes.size() * kTapeByteBits / 1200.0;
    for (const std::uint8_t value : bytes) {
        BitMargins& margins = block.margins.emplace_back();
        for (int i = 0; i < kTapeByteBits; ++i)
            margins[i] = tapeByteBit(value, i) ? clear : -clear;
    }
    return block;
}

const Bytes kHeader = cas2wav_testing::fileHeader(kBinaryFileId, "TOMKRN");

// The block lost `count` bytes from `first` (given as 0x00, their margins 0), to `damage`.
LostStretch& lose(DecodedBlock& block, std::size_t first, std::size_t count, Damage damage) {
    LostStretch lost;
    lost.first = first;
    lost.count = count;
    lost.damage = damage;
    std::fill_n(block.bytes.begin() + static_cast<std::ptrdiff_t>(first), count, 0x00);
    std::fill_n(block.margins.begin() + static_cast<std::ptrdiff_t>(first), count, BitMargins{});
    return block.lost.emplace_back(lost);
}

// The takes decode clean, to the file of kHeader and `data`; the report.
std::string expectCleanFile(const CombinedTape& tape, const Bytes& data) {
    std::string report;
    EXPECT_TRUE(reportedClean(tape, &report)) << report;
    Bytes image;
    appendTapeBlock(image, kHeader);
    appendTapeBlock(image, data);
    EXPECT_EQ(tapeImage(tape.blocks), image) << report;
    return report;
}

} // namespace

// A take that lost a block's lead-in gives nothing to it, a few unclear bytes one take heard in a
// lead-in tone that the others heard go on are left out, and a byte of noise one take read after a
// block is not the block's; every block of the tape is kept.
TEST(Wav2CasTakes, BlocksAreMatchedByTheirOrderAndBytes) {
    const Bytes data = binaryData(0xC000, 40);
    DecodedBlock glitch = heard({0xFF, 0x7F, 0xFE});
    glitch.ending = BlockEnd::NextTone;
    glitch.margins[1][kTapeByteBits - 1] = -0.2f; // a stop bit that is not 1
    glitch.framingErrors.push_back(1);
    Bytes noisyEnd = kHeader;
    noisyEnd.push_back(0x3C); // a byte of noise read after the block does not lengthen it
    const CombinedTape tape = combineTakes(
        {{heard(data)}, {glitch, heard(noisyEnd), heard(data)}, {heard(kHeader), heard(data)}});
    const std::string report = expectCleanFile(tape, data);
    ASSERT_EQ(tape.sources.size(), 2u);
    EXPECT_EQ(tape.sources[0].holders.size(), 2u);
    EXPECT_NE(report.find("not by take 1"), std::string::npos) << report;
    EXPECT_NE(report.find("left out as noise"), std::string::npos) << report;
}

// A take that could not follow the tape at a block (it runs too fast) heard there a block of bytes
// that mostly do not frame, where the other takes heard none: it is left out as noise, with a word.
TEST(Wav2CasTakes, ABlockOneTakeMisheardThroughoutWhereTheOthersHeardNoneIsLeftOut) {
    const Bytes data = binaryData(0xC000, 40);
    DecodedBlock misheard = heard(Bytes(75, 0x5B));
    misheard.ending = BlockEnd::MidByte;
    for (std::size_t j = 0; j < 75; j += 2) {
        misheard.margins[j][0] = 0.7f; // a start bit that is not 0
        misheard.framingErrors.push_back(j);
    }
    const CombinedTape tape = combineTakes({{heard(kHeader), heard(data)},
                                            {heard(kHeader), heard(data)},
                                            {misheard, heard(data, 0.9f)}});
    const std::string report = expectCleanFile(tape, data);
    EXPECT_NE(report.find("75 bytes heard as a block before block 1, most of them not framing"),
              std::string::npos)
        << report;
}

// A take that misheard a file header (every byte out of step) and lost the first bytes of the data
// block after it still has its place: the header is read where the others' is, the data block
// matched by its last bytes, counted from its end.
TEST(Wav2CasTakes, ATakeThatMisheardAHeaderAndLostADataBlocksStartKeepsItsPlace) {
    const Bytes data = binaryData(0xC000, 100);
    DecodedBlock misheard = heard(Bytes(30, 0x5B));
    for (std::size_t j = 0; j < 30; ++j) {
        misheard.margins[j][0] = 0.7f; // a start bit that is not 0
        misheard.framingErrors.push_back(j);
    }
    Bytes longer = data;
    longer.insert(longer.begin(), 2, 0x00);
    DecodedBlock lostStart = heard(longer);
    lose(lostStart, 0, 70, Damage::Jump);
    const CombinedTape tape = combineTakes({{heard(kHeader), heard(data)},
                                            {heard(kHeader, 0.9f), heard(data, 0.9f)},
                                            {misheard, lostStart}});
    expectCleanFile(tape, data);
    ASSERT_EQ(tape.sources.size(), 2u);
    EXPECT_EQ(tape.sources[1].holders.size(), 3u);
}

// A take whose bytes are off their places (a jump it counted wrong) reads bits clearly against a
// cleaner take: however the weights lean, those bytes are unsure, and the decode is not clean.
TEST(Wav2CasTakes, TakesThatReadABitClearlyAsDifferentValuesLeaveItUnsure) {
    const Bytes data = binaryData(0xC000, 40);
    Bytes shifted = data;
    shifted.insert(shifted.begin() + 20, 0x55);
    shifted.pop_back();
    const CombinedTape tape =
        combineTakes({{heard(kHeader), heard(data)}, {heard(kHeader, 0.8f), heard(shifted, 0.8f)}});
    std::string report;
    EXPECT_FALSE(reportedClean(tape, &report));
    EXPECT_NE(report.find("takes read a bit of it clearly as different values"), std::string::npos)
        << report;
}

// A take that slipped a byte out of place unnoticed reads other values than two takes that agree,
// from the slip on: there it gives way to them, and the tape comes out whole and sure.
TEST(Wav2CasTakes, ATakeThatSlippedUnnoticedGivesWayToTakesThatAgree) {
    const Bytes data = binaryData(0xC000, 40);
    Bytes shifted = data;
    shifted.insert(shifted.begin() + 20, 0x55);
    shifted.pop_back();
    const CombinedTape tape = combineTakes({{heard(kHeader), heard(data, 0.7f)},
                                            {heard(kHeader), heard(shifted)},
                                            {heard(kHeader), heard(data, 0.7f)}});
    expectCleanFile(tape, data);
}

// A byte that only takes near their own damage hold keeps the doubt they had of it: here the byte
// before a jump in one take, which the other lost in a dropout.
TEST(Wav2CasTakes, WhatOnlyTakesBesideTheirDamageHoldKeepsTheirDoubt) {
    const Bytes data = binaryData(0xC000, 40);
    DecodedBlock jumped = heard(data);
    lose(jumped, 20, 3, Damage::Jump).doubtfulBefore = true;
    DecodedBlock dropped = heard(data);
    lose(dropped, 15, 7, Damage::Dropout);
    const CombinedTape tape = combineTakes({{heard(kHeader), jumped}, {heard(kHeader), dropped}});
    ASSERT_EQ(tape.blocks.size(), 2u);
    const DecodedBlock& block = tape.blocks[1];
    ASSERT_EQ(block.lost.size(), 1u);
    EXPECT_EQ(block.lost[0].first, 20u);
    EXPECT_EQ(block.lost[0].count, 2u);
    ASSERT_EQ(block.unsure.size(), 1u);
    EXPECT_EQ(block.unsure[0].first, 19u);
    EXPECT_EQ(block.unsure[0].doubt, Doubt::Beside);
}

// A take that counted a jump's bytes wrong, so that its block is longer than the others', still
// gives the bytes after its damage, placed back from the block's end where they agree with the
// other takes: here the bytes the other take lost in a dropout.
TEST(Wav2CasTakes, BytesAfterAJumpATakeCountedWrongArePlacedFromTheBlocksEnd) {
    const Bytes data = binaryData(0xC000, 60);
    Bytes longer = data;
    longer.insert(longer.begin() + 8, 4, 0x00);
    DecodedBlock jumped = heard(longer);
    lose(jumped, 5, 7, Damage::Jump);
    DecodedBlock dropped = heard(data);
    lose(dropped, 40, 6, Damage::Dropout);
    const CombinedTape tape = combineTakes({{heard(kHeader), jumped}, {heard(kHeader), dropped}});
    expectCleanFile(tape, data);
}

// Bytes a take read out of step (framing errors close together, as where its reading began a bit
// off the block's start) give way to the takes that read them in step, and a byte that does not
// frame, which takes read past where another heard the block end, is noise after it, left out and
// said so: the tape comes out whole and sure.
TEST(Wav2CasTakes, BytesReadOutOfStepOrPastTheBlocksEndAreNotTheBlocks) {
    const Bytes data = binaryData(0xC000, 40);
    Bytes offStep = data;
    for (std::size_t j = 0; j < 6; ++j)
        offStep[j] = static_cast<std::uint8_t>(offStep[j] >> 1 | offStep[j + 1] << 7);
    DecodedBlock early = heard(offStep);
    for (std::size_t j : {0u, 1u, 3u, 5u}) {
        early.margins[j][0] = 0.9f; // a start bit that is not 0
        early.framingErrors.push_back(j);
    }
    auto readOn = [&](float clear) {
        Bytes longer = data;
        longer.push_back(0x5A);
        DecodedBlock block = heard(longer, clear);
        block.margins.back()[kTapeByteBits - 1] = -0.4f; // a stop bit that is not 1
        block.framingErrors.push_back(data.size());
        return block;
    };
    // Past the 16 bytes a file header always has, a byte only unsure is that noise too.
    Bytes headerOn = kHeader;
    headerOn.push_back(0x40);
    const DecodedBlock faintAfter = heard(headerOn, 0.05f);
    DecodedBlock header = heard(headerOn);
    header.margins.back() = faintAfter.margins.back();
    const CombinedTape tape =
        combineTakes({{heard(kHeader), early}, {header, readOn(0.8f)}, {header, readOn(1.0f)}});
    std::string report;
    EXPECT_TRUE(reportedClean(tape, &report)) << report;
    EXPECT_NE(report.find("block 1: 1 byte some takes read on after its end"), std::string::npos)
        << report;
    Bytes image;
    appendTapeBlock(image, kHeader);
    appendTapeBlock(image, data);
    EXPECT_EQ(tapeImage(tape.blocks), image) << report;
}
