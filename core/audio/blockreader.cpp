#include "core/audio/blockreader.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "core/audio/tapebyte.h"

namespace {

const double kTwoPi = 2.0 * std::acos(-1.0);
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
constexpr double kRealignRange = 0.25; // once the bit length fits the speed at the first byte
// How much of a start bit's measured offset moves the timing, and the bit length.
constexpr double kPhaseGain = 0.5;
constexpr double kLengthGain = 0.05;
// How much of the drift of the tones' phases along a byte moves the bit length: the speed of a
// deck with wow changes by a fraction of a per cent from byte to byte, faster than the start bits
// alone show it.
constexpr double kDriftGain = 0.5;
// The speed is measured again on this many bits of the lead-in before the first start bit.
constexpr int kLeadInBits = 32;
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
    return position + kTapeByteBits * detector_.bitLength() <= static_cast<double>(signal_.size());
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
        measureToneBefore(first);
        first = alignStartBit(first, kRealignRange);
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

// The tape's speed just before the first start bit, from how fast the phase of the lead-in tone
// turns from one bit to the next: the bit length then fits the first bytes, however the speed
// has wandered since the tone was first heard.
void BlockReader::measureToneBefore(double first) {
    const double bit = detector_.bitLength();
    std::complex<float> turn;
    std::complex<float> previous;
    for (int i = kLeadInBits + 1; i >= 1; --i) {
        const std::complex<float> mark = detector_.correlate(first - i * bit).mark;
        if (i <= kLeadInBits)
            turn += mark * std::conj(previous);
        previous = mark;
    }
    // Two cycles of the tone per bit: each bit turns the phase by 4 pi times the share by which the
    // tone is faster than the bit length assumes.
    const double faster = 1 + std::arg(turn) / (2 * kTwoPi);
    setBitLength(bit / faster);
}

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
    const double step = kAlignStep * detector_.bitLength();
    const int steps = static_cast<int>(range / kAlignStep);
    std::vector<double> score(2 * steps + 1);
    for (int k = -steps; k <= steps; ++k) {
        const double position = around + k * step;
        const BitEnergies before = detector_.measure(position - detector_.bitLength());
        const BitEnergies start = detector_.measure(position);
        score[k + steps] = (before.mark - before.space) + (start.space - start.mark);
    }
    const int best = static_cast<int>(std::max_element(score.begin(), score.end()) - score.begin());
    const double bestPosition = around + (best - steps) * step;
    if (best == 0 || best == 2 * steps)
        return bestPosition;
    // A parabola through the best score and its neighbours places the turn between the steps.
    const double left = score[best - 1];
    const double right = score[best + 1];
    const double curvature = left - 2 * score[best] + right;
    return curvature < 0 ? bestPosition + 0.5 * (left - right) / curvature * step : bestPosition;
}

namespace {

struct ByteBits {
    BitEnergies bits[kTapeByteBits];
    BitTones tones[kTapeByteBits];
    bool silent[kTapeByteBits];
    int soundingBits = 0;
    float soundingEnergy = 0; // the mean energy of the bits that sound
};

ByteBits measureByte(const BitDetector& detector, double start, float silence) {
    ByteBits byte;
    float sum = 0;
    for (int i = 0; i < kTapeByteBits; ++i) {
        byte.tones[i] = detector.correlate(start + i * detector.bitLength());
        byte.bits[i] = {energy(byte.tones[i].space), energy(byte.tones[i].mark)};
        byte.silent[i] = byte.bits[i].strongest() < silence;
        if (!byte.silent[i]) {
            sum += byte.bits[i].strongest();
            ++byte.soundingBits;
        }
    }
    byte.soundingEnergy = byte.soundingBits > 0 ? sum / static_cast<float>(byte.soundingBits) : 0;
    return byte;
}

// The first bit of the run of silent bits that ends the byte; kTapeByteBits when the last bit
// sounds.
int silentTail(const ByteBits& byte) {
    int first = kTapeByteBits;
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

// Whether the block ends at this byte, and how. A cut shows as a run of sounding bits from the
// start bit, then silence to the end of the byte; noise after a block sounds in a scattered bit or
// two.
bool endsHere(const ByteBits& byte, BlockEnd& ending, int& soundingBits) {
    soundingBits = silentTail(byte);
    if (soundingBits >= 2 && soundingBits < kTapeByteBits - 1 && mostlySounding(byte, soundingBits))
        ending = BlockEnd::MidByte;
    else if (2 * byte.soundingBits < kTapeByteBits)
        ending = BlockEnd::Silence;
    else if (allOnes(byte))
        ending = BlockEnd::NextTone;
    else
        return false;
    return true;
}

// How much longer the bits of the byte are than the bit length they were read with, as a share of
// it, from how the phase of each tone drifts from bit to bit: a bit of k cycles that starts later
// by d samples than its window is turned back by 2 pi k d / bitLength. The phases of the two tones
// differ by whatever the recording chain did to them, so each tone keeps its own phase and only the
// drift is shared. Noise turns a bit's phase at random, so only sounding bits count.
double phaseDrift(const ByteBits& byte) {
    double sumX[2] = {0, 0}, sumY[2] = {0, 0}, sumXX[2] = {0, 0}, sumXY[2] = {0, 0};
    int count[2] = {0, 0};
    double unwrapped[2] = {0, 0};
    for (int i = 0; i < kTapeByteBits; ++i) {
        if (byte.silent[i])
            continue;
        const int tone = byte.bits[i].isOne() ? 1 : 0;
        const std::complex<float> z = tone ? byte.tones[i].mark : byte.tones[i].space;
        double phase = std::arg(z);
        if (count[tone] > 0) {
            // The phase moves little from one bit of a tone to the next: keep it continuous.
            phase -= kTwoPi * std::nearbyint((phase - unwrapped[tone]) / kTwoPi);
        }
        unwrapped[tone] = phase;
        const double x = kTwoPi * (tone + 1) * i;
        sumX[tone] += x;
        sumY[tone] += unwrapped[tone];
        sumXX[tone] += x * x;
        sumXY[tone] += x * unwrapped[tone];
        ++count[tone];
    }
    double covariance = 0, variance = 0;
    for (int tone = 0; tone < 2; ++tone) {
        if (count[tone] < 2)
            continue;
        covariance += sumXY[tone] - sumX[tone] * sumY[tone] / count[tone];
        variance += sumXX[tone] - sumX[tone] * sumX[tone] / count[tone];
    }
    return variance > 0 ? -covariance / variance : 0;
}

void keepByte(const ByteBits& byte, double start, ReadBlock& block) {
    int value = 0;
    for (int i = 0; i < kTapeByteDataBits; ++i)
        value |= (byte.bits[kTapeByteFirstDataBit + i].isOne() ? 1 : 0) << i;
    const std::uint8_t read = static_cast<std::uint8_t>(value);
    bool framed = true;
    for (int i = 0; i < kTapeByteBits; ++i)
        framed = framed && byte.bits[i].isOne() == tapeByteBit(read, i);
    if (!framed)
        block.framingErrors.push_back(block.bytes.size());
    block.bytes.push_back(read);
    block.byteStarts.push_back(start);
}

} // namespace

// The recording stops within the byte expected at `start`: whether the block still sounds there.
void BlockReader::endAtRecordingEnd(double start, ReadBlock& block) const {
    const double size = static_cast<double>(signal_.size());
    const bool noRoom = start + detector_.bitLength() > size;
    const bool sounding = !noRoom && detector_.measure(start).strongest() >= kSilentShare * level_;
    block.end = start;
    block.ending = sounding || noRoom ? BlockEnd::RecordingEnds : BlockEnd::Silence;
}

// The tape speed is followed within bounds: outside them the reader has lost its way, and the
// next block's lead-in sets the speed afresh.
void BlockReader::setBitLength(double samples) {
    detector_.setBitLength(std::clamp(samples, nominalBit_ / kFastest, nominalBit_ / kSlowest));
}

// The start bit expected at `expected`, aligned on the signal; half of the offset found moves the
// timing, and a little of it the bit length, which so follows the tape's speed.
double BlockReader::followStartBit(double expected) {
    const double offset = alignStartBit(expected, kAlignRange) - expected;
    setBitLength(detector_.bitLength() + kLengthGain * offset / kTapeByteBits);
    return expected + kPhaseGain * offset;
}

void BlockReader::readBytes(double first, ReadBlock& block) {
    block.start = first;
    double start = first;
    while (true) {
        if (!fits(start)) {
            endAtRecordingEnd(start, block);
            return;
        }
        if (!block.bytes.empty())
            start = followStartBit(start);
        const ByteBits byte = measureByte(detector_, start, kSilentShare * level_);
        block.end = start;
        int soundingBits = 0;
        if (endsHere(byte, block.ending, soundingBits)) {
            block.stopsAt = start + soundingBits * detector_.bitLength();
            return;
        }
        keepByte(byte, start, block);
        level_ += kLevelFollow * (byte.soundingEnergy - level_);
        setBitLength(detector_.bitLength() * (1 + kDriftGain * phaseDrift(byte)));
        start += kTapeByteBits * detector_.bitLength();
        block.end = start;
    }
}
