#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "core/audio/decoder/decoderecordings.h"
#include "core/audio/report/decodelabels.h"
#include "core/audio/report/decodepicture.h"
#include "tests/native/support/wav2cas_testing.h"

using namespace wav2cas_testing;

namespace {

DecodeResult resultOf(const std::vector<float>& signal) {
    DecodeResult result;
    result.takes.emplace_back();
    result.takes[0].blocks = decodeTape(signal, kEncoderRate, DecodeOptions{});
    if (!result.takes[0].blocks.empty())
        layOutImage(result);
    return result;
}

// Where byte `byte` of the image's block `block` starts in the recording, in samples.
std::size_t sampleOf(const DecodeResult& result, std::size_t block, double byte) {
    const DecodedBlock& decoded = result.takes[0].blocks[block];
    return static_cast<std::size_t>(decoded.seconds * kEncoderRate +
                                    byte * 11 * kEncoderRate / decoded.baud);
}

// The lowest row of the picture with a problem's red in it; -1 for none.
int lowestRed(const RgbImage& picture) {
    for (int y = picture.height() - 1; y >= 0; --y)
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb pixel = picture.at(x, y);
            if (pixel.red == 220 && pixel.green == 20 && pixel.blue == 20)
                return y;
        }
    return -1;
}

bool covered(const DecodeResult& result, std::size_t offset) {
    for (const DecodeProblem& problem : result.problems)
        if (offset >= problem.offset && offset < problem.offset + problem.length)
            return true;
    return false;
}

} // namespace

// Damage of every kind, with and without a file header to tell the block's length: every byte of
// the image that differs from the tape's lies in a problem, and a block the image holds short
// has a problem up to its end; each problem lies inside its block, in bytes and in time. A clean
// recording has none.
TEST(Wav2CasResult, EveryWrongByteLiesInAProblem) {
    const Bytes withHeader = binaryFile(400, 6);
    // The data block alone: no header tells how many bytes a jump took.
    const Bytes alone(withHeader.begin() + 24, withHeader.end());
    const double ms = kEncoderRate / 1000;
    const struct {
        const char* what;
        const Bytes* image;
        std::function<void(std::vector<float>&, const DecodeResult&)> damage;
    } cases[] = {
        {"nothing", &withHeader, [](std::vector<float>&, const DecodeResult&) {}},
        {"a dropout", &withHeader,
         [&](std::vector<float>& s, const DecodeResult& r) {
             dropOut(s, sampleOf(r, 1, 150.4), std::lround(60 * ms));
         }},
        {"two splices", &withHeader,
         [&](std::vector<float>& s, const DecodeResult& r) {
             cutOut(s, sampleOf(r, 1, 300.2), std::lround(25 * ms));
             cutOut(s, sampleOf(r, 1, 100.6), std::lround(25 * ms));
         }},
        {"a burst of noise", &withHeader,
         [&](std::vector<float>& s, const DecodeResult& r) {
             burstOfNoise(s, sampleOf(r, 1, 150.4), std::lround(60 * ms), 8);
         }},
        {"a splice without a header", &alone,
         [&](std::vector<float>& s, const DecodeResult& r) {
             cutOut(s, sampleOf(r, 0, 200.7), std::lround(25 * ms));
         }},
        {"a cut", &withHeader,
         [&](std::vector<float>& s, const DecodeResult& r) { s.resize(sampleOf(r, 1, 250.5)); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<float> signal = encodeSignal(*c.image);
        c.damage(signal, resultOf(signal));
        addNoise(signal, 20, 7);
        const DecodeResult result = resultOf(signal);
        ASSERT_FALSE(result.blocks.empty());
        EXPECT_EQ(result.clean, result.problems.empty());
        if (std::string(c.what) == "nothing" || result.clean) {
            EXPECT_EQ(result.image, *c.image);
        }
        const Bytes& image = result.image;
        for (std::size_t i = 0; i < std::min(image.size(), c.image->size()); ++i) {
            if (image[i] != (*c.image)[i]) {
                EXPECT_TRUE(covered(result, i)) << "byte " << i << " of the image is wrong";
            }
        }
        const ImageBlock& last = result.blocks.back();
        if (last.offset + last.length < c.image->size()) {
            const DecodeProblem& end = result.problems.back();
            EXPECT_EQ(end.offset + end.length, last.offset + last.length);
        }
        for (const DecodeProblem& problem : result.problems) {
            const ImageBlock& block = result.blocks[problem.imageBlock];
            EXPECT_GE(problem.offset, block.offset);
            EXPECT_LE(problem.offset + problem.length, block.offset + block.length);
            EXPECT_LE(problem.start, problem.end);
            EXPECT_GE(problem.start, block.start - 0.1);
            EXPECT_LE(problem.end, block.end + 0.1);
        }
    }
}

// The label track: a line per block, named by its file, then one per problem in the report's
// words, start and end in seconds with six decimals and a tab between.
TEST(Wav2CasResult, LabelsMarkEveryBlockAndProblem) {
    const Bytes image = binaryFile(200, 4);
    std::vector<float> signal = encodeSignal(image);
    const DecodeResult clean = resultOf(signal);
    dropOut(signal, sampleOf(clean, 1, 100.5), std::lround(40 * kEncoderRate / 1000));
    const DecodeResult result = resultOf(signal);
    const std::string labels = decodeLabels(result);
    ASSERT_EQ(result.blocks.size(), 2u);
    ASSERT_EQ(result.problems.size(), 1u);
    char expected[512];
    std::snprintf(expected, sizeof expected,
                  "%.6f\t%.6f\tblock 1: header of \"TOMKRN\"\n"
                  "%.6f\t%.6f\tblock 2: \"TOMKRN\"\n"
                  "%.6f\t%.6f\tblock 2: bytes 100 to 104 lost in a dropout of 40 ms\n",
                  result.blocks[0].start, result.blocks[0].end, result.blocks[1].start,
                  result.blocks[1].end, result.problems[0].start, result.problems[0].end);
    EXPECT_EQ(labels, expected);
}

// The picture of two takes that lost the same bytes: a row per take, then a row of the image they
// gave together, below the second take's red, where those bytes are still lost.
TEST(Wav2CasResult, PictureOfTakesEndsWithTheImageTheyGaveTogether) {
    std::vector<float> signal = encodeSignal(binaryFile(200, 4));
    dropOut(signal, sampleOf(resultOf(signal), 1, 100.5), std::lround(40 * kEncoderRate / 1000));
    const DecodeResult one = resultOf(signal);
    DecodeResult two;
    two.takes = {one.takes[0], one.takes[0]};
    two.combined = combineTakes({one.takes[0].blocks, one.takes[0].blocks});
    layOutImage(two);
    ASSERT_EQ(two.problems.size(), 1u);
    const RgbImage single = decodePicture(one);
    const RgbImage both = decodePicture(two);
    EXPECT_GT(both.height(), 2 * single.height());
    EXPECT_GE(lowestRed(both), single.height() + lowestRed(single));
}
