#include "core/audio/decoder/bittiming.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>

#include "core/audio/decoder/blockreaderparts.h"
#include "core/audio/decoder/fullturn.h"

// The position near `around` where the signal turns from a 1 bit to a 0 bit most clearly: the bit
// before it sounds the high tone and the bit from it the low one.
double alignStartBit(const BitDetector& detector, double around, double range) {
    const double step = kAlignStep * detector.bitLength();
    const int steps = static_cast<int>(range / kAlignStep);
    std::array<double, 2 * kMostAlignSteps + 1> score{};
    for (int k = -steps; k <= steps; ++k) {
        const double position = around + k * step;
        const BitEnergies before = detector.measure(position - detector.bitLength());
        const BitEnergies start = detector.measure(position);
        score[k + steps] = (before.mark - before.space) + (start.space - start.mark);
    }
    const auto first = score.begin();
    const int best = static_cast<int>(std::max_element(first, first + 2 * steps + 1) - first);
    const double bestPosition = around + (best - steps) * step;
    if (best == 0 || best == 2 * steps)
        return bestPosition;
    // A parabola through the best score and its neighbours places the turn between the steps.
    const double left = score[best - 1];
    const double right = score[best + 1];
    const double curvature = left - 2 * score[best] + right;
    return curvature < 0 ? bestPosition + 0.5 * (left - right) / curvature * step : bestPosition;
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

// The bit length that followed the start bit expected at `expected`, and where it is, as the
// reader follows the start bits when the tones' phases do not time the bytes.
double followStartBitOf(BitDetector& detector, double expected, double nominalBit) {
    const double offset = alignStartBit(detector, expected, kAlignRange) - expected;
    detector.setBitLength(std::clamp(detector.bitLength() + kLengthGain * offset / kTapeByteBits,
                                     nominalBit / kFastest, nominalBit / kSlowest));
    return expected + kPhaseGain * offset;
}

// The tape speed is followed within bounds: outside them the reader has lost its way, and the
// next block's lead-in sets the speed afresh.
void BlockReader::setBitLength(double samples) {
    detector_.setBitLength(std::clamp(samples, nominalBit_ / kFastest, nominalBit_ / kSlowest));
}

// The start bit expected at `expected`, aligned on the signal; half of the offset found moves the
// timing, and a little of it the bit length, which so follows the tape's speed.
double BlockReader::followStartBit(double expected) {
    return followStartBitOf(detector_, expected, nominalBit_);
}
