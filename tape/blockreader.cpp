#include "tape/blockreader.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBitsPerByte = 11; // start bit, eight data bits, two stop bits
// A bit whose tones are this much weaker than the block's level is silence.
constexpr float kSilentShare = 0.15f;
// The lead-in is searched for its end in steps of a quarter bit.
constexpr double kScanStep = 0.25;
constexpr int kSilentSteps = 8;
constexpr int kLowSteps = 2;
// Start bit alignment: how far from the expected place, and in what steps, in bits.
constexpr double kFirstAlignRange = 0.6;
constexpr double kAlignRange = 0.35;
constexpr double kAlignStep = 1.0 / 16;
// How much of a start bit's measured offset moves the timing, and the bit length.
constexpr double kPhaseGain = 0.5;
constexpr double kLengthGain = 0.05;
// The tape speed is followed within these bounds of the nominal one.
constexpr double kSlowest = 0.85;
constexpr double kFastest = 1.15;
// How quickly the block's level follows the bytes, and the lead-in's tone during the search.
constexpr float kLevelFollow = 0.1f;
constexpr float kToneLevelFollow = 0.02f;
// A few bytes before a steady tone come back are a click in the lead-in, not a block.
constexpr std::size_t kGlitchBytes = 2;
constexpr int kLevelBits = 8;

} // namespace

bool BlockReader::fits(double position) const {
    return position + kBitsPerByte * detector_.bitLength() <= static_cast<double>(signal_.size());
}

bool BlockReader::read(const LeadInTone& tone, ReadBlock& block) {
    block = ReadBlock{};
    block.baud = tone.baud;
    block.speed = tone.speed;
    nominalBit_ = sampleRate_ / tone.baud;
    detector_.setBitLength(nominalBit_ / std::clamp(tone.speed, kSlowest, kFastest));
    level_ = 0;
    for (int i = 0; i < kLevelBits; ++i)
        level_ += detector_.measure(tone.inside + i * detector_.bitLength()).strongest();
    level_ /= kLevelBits;
    double from = tone.inside;
    while (true) {
        double first = 0;
        if (!findFirstStartBit(from, first)) {
            block.end = first;
            return false;
        }
        readBytes(first, block);
        if (block.ending != BlockEnd::NextTone || block.bytes.size() > kGlitchBytes)
            return true;
        // A false start bit in the lead-in: its "bytes" are ones, and the tone goes on. The search
        // goes on a bit after it, so it cannot find the same place again.
        from = std::max(block.end, first) + detector_.bitLength();
        const int baud = block.baud;
        const double speed = block.speed;
        block = ReadBlock{};
        block.baud = baud;
        block.speed = speed;
    }
}

// Walks along the lead-in tone to the first bit that sounds the low tone.
// Walks along the lead-in tone to the first bit that sounds the low tone. Noise can make one
// step look silent or low: silence must last a few steps, and the low tone two steps running.
bool BlockReader::findFirstStartBit(double from, double& at) {
    const double step = kScanStep * detector_.bitLength();
    int silentSteps = 0;
    int lowSteps = 0;
    for (double position = from; fits(position); position += step) {
        const BitEnergies bit = detector_.measure(position);
        const bool silent = bit.strongest() < kSilentShare * level_;
        silentSteps = silent ? silentSteps + 1 : 0;
        lowSteps = !silent && !bit.isOne() ? lowSteps + 1 : 0;
        if (silentSteps == kSilentSteps) {
            at = position;
            return false;
        }
        if (lowSteps == kLowSteps) {
            at = alignStartBit(position - step, kFirstAlignRange);
            return true;
        }
        if (!silent && bit.isOne())
            level_ += kToneLevelFollow * (bit.strongest() - level_);
    }
    at = static_cast<double>(signal_.size());
    return false;
}

// The position near `around` where the signal turns from a 1 bit to a 0 bit most clearly: the bit
// before it sounds the high tone and the bit from it the low one.
double BlockReader::alignStartBit(double around, double range) const {
    const double bit = detector_.bitLength();
    const int steps = static_cast<int>(range / kAlignStep);
    double best = -1e30;
    double scores[3] = {0, 0, 0};
    int bestStep = 0;
    std::vector<double> score(2 * steps + 1);
    for (int k = -steps; k <= steps; ++k) {
        const double position = around + k * kAlignStep * bit;
        const BitEnergies before = detector_.measure(position - bit);
        const BitEnergies start = detector_.measure(position);
        score[k + steps] = (before.mark - before.space) + (start.space - start.mark);
        if (score[k + steps] > best) {
            best = score[k + steps];
            bestStep = k;
        }
    }
    // A parabola through the best score and its neighbours places the turn between the steps.
    const int index = bestStep + steps;
    if (index == 0 || index == 2 * steps)
        return around + bestStep * kAlignStep * bit;
    scores[0] = score[index - 1];
    scores[1] = score[index];
    scores[2] = score[index + 1];
    const double curvature = scores[0] - 2 * scores[1] + scores[2];
    const double shift = curvature < 0 ? 0.5 * (scores[0] - scores[2]) / curvature : 0.0;
    return around + (bestStep + shift) * kAlignStep * bit;
}

namespace {

struct ByteBits {
    BitEnergies bits[kBitsPerByte];
    bool silent[kBitsPerByte];
};

// The first bit of the run of silent bits that ends the byte; kBitsPerByte when the last bit
// sounds.
int silentTail(const ByteBits& byte) {
    int first = kBitsPerByte;
    while (first > 0 && byte.silent[first - 1])
        --first;
    return first;
}

// Whether the start bit and the bits after it up to `end` sound, but for the odd one lost in noise.
bool mostlySounding(const ByteBits& byte, int end) {
    if (byte.silent[0])
        return false;
    int sounding = 0;
    for (int i = 0; i < end; ++i)
        sounding += byte.silent[i] ? 0 : 1;
    return 4 * sounding >= 3 * end;
}

bool allOnes(const ByteBits& byte) {
    for (const BitEnergies& bit : byte.bits)
        if (!bit.isOne())
            return false;
    return true;
}

} // namespace

void BlockReader::readBytes(double first, ReadBlock& block) {
    block.start = first;
    double expected = first;
    while (true) {
        double bit = detector_.bitLength();
        if (!fits(expected)) {
            // The recording stops within a byte: does the block still sound there?
            block.end = expected;
            const bool sounding = expected + bit <= static_cast<double>(signal_.size()) &&
                                  detector_.measure(expected).strongest() >= kSilentShare * level_;
            const bool noRoom = expected + bit > static_cast<double>(signal_.size());
            block.ending = sounding || noRoom ? BlockEnd::RecordingEnds : BlockEnd::Silence;
            return;
        }
        const bool firstByte = block.bytes.empty() && expected == first;
        double start = firstByte ? first : alignStartBit(expected, kAlignRange);
        if (!firstByte) {
            const double offset = start - expected;
            start = expected + kPhaseGain * offset;
            bit = std::clamp(bit + kLengthGain * offset / kBitsPerByte, nominalBit_ / kFastest,
                             nominalBit_ / kSlowest);
            detector_.setBitLength(bit);
        }
        ByteBits byte;
        float sounding = 0;
        int soundingBits = 0;
        for (int i = 0; i < kBitsPerByte; ++i) {
            byte.bits[i] = detector_.measure(start + i * bit);
            byte.silent[i] = byte.bits[i].strongest() < kSilentShare * level_;
            if (!byte.silent[i]) {
                sounding += byte.bits[i].strongest();
                ++soundingBits;
            }
        }
        block.end = start;
        // A cut shows as a run of sounding bits from the start bit, then silence to the end of
        // the byte; noise after a block sounds in a scattered bit or two.
        const int tail = silentTail(byte);
        if (tail >= 2 && tail < kBitsPerByte - 1 && mostlySounding(byte, tail)) {
            block.ending = BlockEnd::MidByte;
            block.stopsAt = start + tail * bit;
            return;
        }
        if (2 * soundingBits < kBitsPerByte) {
            block.ending = BlockEnd::Silence;
            return;
        }
        if (allOnes(byte)) {
            block.ending = BlockEnd::NextTone;
            return;
        }
        int value = 0;
        for (int i = 0; i < 8; ++i)
            value |= (byte.bits[1 + i].isOne() ? 1 : 0) << i;
        const bool framed = !byte.bits[0].isOne() && byte.bits[9].isOne() && byte.bits[10].isOne();
        if (!framed)
            block.framingErrors.push_back(block.bytes.size());
        block.bytes.push_back(static_cast<std::uint8_t>(value));
        block.byteStarts.push_back(start);
        level_ += kLevelFollow * (sounding / static_cast<float>(soundingBits) - level_);
        expected = start + kBitsPerByte * bit;
        block.end = expected;
    }
}
