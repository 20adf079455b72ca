#include <algorithm>
#include <cmath>
#include <complex>

#include "core/audio/decoder/bittiming.h"
#include "core/audio/decoder/blockreaderparts.h"
#include "core/audio/decoder/bytepredicates.h"
#include "core/audio/decoder/fullturn.h"

// The end of the lead-in tone: where the first start bit lies, and the tape's speed just before it.

// The tape's speed just before the first start bit, from how fast the phase of the lead-in tone
// turns from one bit to the next: the bit length then fits the first bytes, however the speed
// has wandered since the tone was first heard. Bits lost in a dropout do not count.
void BlockReader::measureToneBefore(double first) {
    const double bit = detector_.bitLength();
    const float quiet = silence();
    std::complex<float> turn;
    std::complex<float> previous;
    bool previousSounds = false;
    int turns = 0;
    for (int i = kLeadInBits + 1; i >= 1; --i) {
        const std::complex<float> mark = detector_.correlate(first - i * bit).mark;
        const bool sounds = energy(mark) >= quiet;
        if (i <= kLeadInBits && sounds && previousSounds) {
            turn += mark * std::conj(previous);
            ++turns;
        }
        previous = mark;
        previousSounds = sounds;
    }
    if (2 * turns < kLeadInBits)
        return;
    // Two cycles of the tone per bit: each bit turns the phase by 4 pi times the share by which the
    // tone is faster than the bit length assumes.
    const double faster = 1 + std::arg(turn) / (2 * kTwoPi);
    setBitLength(bit / faster);
}

// Walks along the lead-in tone to the first bit that sounds the low tone. Noise can make one
// step look silent or low: silence must last a few steps, and the low tone two steps running. A
// dropout in the lead-in is passed when the tone comes back after it.
bool BlockReader::findFirstStartBit(double from, double& at) {
    const double step = kScanStep * detector_.bitLength();
    int silentSteps = 0;
    int lowSteps = 0;
    for (double position = from; fits(position); position += step) {
        signal_.release(
            static_cast<std::size_t>(std::max(0.0, position - kKeptBits * detector_.bitLength())));
        const BitEnergies bit = detector_.measure(position);
        const bool silent = bit.strongest() < silence();
        silentSteps = silent ? silentSteps + 1 : 0;
        lowSteps = !silent && !bit.isOne() ? lowSteps + 1 : 0;
        if (silentSteps == kSilentSteps) {
            double back = position;
            if (!leadInGoesOn(back)) {
                at = position;
                return false;
            }
            position = back - step;
            silentSteps = 0;
            continue;
        }
        if (lowSteps == kLowSteps) {
            at = alignStartBit(detector_, position - step, kFirstAlignRange);
            return true;
        }
        if (!silent && bit.isOne())
            level_ += kToneLevelFollow * (bit.strongest() - level_);
    }
    at = static_cast<double>(signal_.size());
    return false;
}

// Whether the lead-in tone comes back, steady, soon after the silence at `at`; `at` is then
// where it does.
bool BlockReader::leadInGoesOn(double& at) {
    const double bit = detector_.bitLength();
    const double limit = at + kLongestDamage * sampleRate_;
    for (double position = at; position < limit && fits(position); position += kScanStep * bit) {
        if (detector_.measure(position).strongest() < silence())
            continue;
        const double tone = position + 0.5 * bit; // clear of the edge of the silence
        for (int i = 0; i < kLeadInRun; ++i) {
            const BitEnergies next = detector_.measure(tone + i * bit);
            if (next.strongest() < silence() || !next.isOne())
                return false;
        }
        at = tone;
        return true;
    }
    return false;
}
